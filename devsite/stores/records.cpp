#include "devsite/stores/records.h"

#include <algorithm>
#include <cctype>

namespace qirelo::devsite {

bool is_member_id(std::string_view id) {
    return !id.empty() && id.size() <= 32 && std::all_of(id.begin(), id.end(), [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '_';
    });
}

void check_record(std::string_view record) {
    if (record.find_first_of("\r\n") != record.npos)
        throw RecordError("a record is one line: it must not contain a line break");
    if (record.find('|') == record.npos)
        throw RecordError("a record is \"stamp|command\": it must contain a \"|\"");
    if (record.size() > 1024)
        throw RecordError("a record is at most 1024 bytes");
}

void Records::set(const std::string& member_id, const std::string& record) {
    if (!is_member_id(member_id))
        throw RecordError("a member id is 1 to 32 letters, digits, '-' or '_'");
    check_record(record);
    std::lock_guard lock(mutex_);
    records_[member_id] = record;
}

std::optional<std::string> Records::get(const std::string& member_id) const {
    std::lock_guard lock(mutex_);
    auto found = records_.find(member_id);
    if (found == records_.end())
        return std::nullopt;
    return found->second;
}

std::map<std::string, std::string> Records::all() const {
    std::lock_guard lock(mutex_);
    return records_;
}

void Records::replace_all(std::map<std::string, std::string> records) {
    std::lock_guard lock(mutex_);
    records_ = std::move(records);
}

} // namespace qirelo::devsite
