#include "devsite/stores/data_file.h"

#include "devsite/http/http_request.h"
#include "devsite/http/text_codec.h"
#include "devsite/stores/records.h"

#include <fstream>
#include <sstream>

namespace qirelo::devsite {
namespace {

constexpr std::string_view kFirstLine = "qirelo-devsite data 1";

// Fields are percent-encoded, so no tab or line break of a value can cut a line.
std::vector<std::string> split_fields(const std::string& line) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (;;) {
        auto tab = line.find('\t', start);
        fields.push_back(percent_decode(std::string_view(line).substr(start, tab - start), false));
        if (tab == std::string::npos)
            return fields;
        start = tab + 1;
    }
}

} // namespace

std::string serialize_data(const SiteData& data) {
    std::string text = std::string(kFirstLine) + "\n";
    for (const auto& member : data.members)
        text += "member\t" + percent_encode(member.id) + "\t" + percent_encode(member.name) + "\t" +
                percent_encode(member.password) + "\n";
    for (const auto& [id, record] : data.records)
        text += "record\t" + percent_encode(id) + "\t" + percent_encode(record) + "\n";
    return text;
}

SiteData parse_data(const std::string& text) {
    std::istringstream lines(text);
    std::string line;
    // A file edited on Windows may end its lines with CRLF.
    auto next_line = [&] {
        if (!std::getline(lines, line))
            return false;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        return true;
    };
    if (!next_line() || line != kFirstLine)
        throw DataFileError("not a qirelo-devsite data file (first line)");
    SiteData data;
    for (int number = 2; next_line(); ++number) {
        if (line.empty())
            continue;
        try {
            auto fields = split_fields(line);
            if (fields[0] == "member" && fields.size() == 4 && is_member_id(fields[1]))
                data.members.push_back({fields[1], fields[2], fields[3]});
            else if (fields[0] == "record" && fields.size() == 3 && is_member_id(fields[1])) {
                check_record(fields[2]);
                data.records[fields[1]] = fields[2];
            } else
                throw DataFileError("");
        } catch (const std::runtime_error&) {
            throw DataFileError("data file line " + std::to_string(number) + " is malformed");
        }
    }
    return data;
}

SiteData DataFile::load() const {
    std::error_code error;
    if (!std::filesystem::exists(path_, error))
        return {};
    std::ifstream file(path_, std::ios::binary);
    std::ostringstream text;
    if (!file || !(text << file.rdbuf()))
        throw DataFileError("cannot read the data file " + path_.string());
    return parse_data(text.str());
}

void DataFile::save(const SiteData& data) {
    std::lock_guard lock(mutex_);
    auto temporary = path_;
    temporary += ".tmp";
    {
        std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
        file << serialize_data(data);
        file.flush();
        if (!file)
            throw DataFileError("cannot write " + temporary.string());
    }
    std::error_code error;
    std::filesystem::rename(temporary, path_, error);
    if (error)
        throw DataFileError("cannot replace " + path_.string() + ": " + error.message());
}

} // namespace qirelo::devsite
