#include "upgrade/download_folder.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "upgrade/updater/run_updater.h"

namespace qirelo::upgrade {
namespace {

namespace fs = std::filesystem;

char LowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

} // namespace

std::string FolderOf(const std::string& programPath) {
    const std::size_t last = programPath.find_last_of("\\/");
    return last == std::string::npos ? std::string() : programPath.substr(0, last + 1);
}

std::string NameOf(const std::string& path) {
    return path.substr(FolderOf(path).size());
}

bool SameNameIgnoringCase(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](char x, char y) { return LowerAscii(x) == LowerAscii(y); });
}

bool IsDownloadName(std::string_view name) {
    const std::string_view suffix = updater::kDownloadSuffix;
    return name.size() >= suffix.size() &&
           SameNameIgnoringCase(name.substr(name.size() - suffix.size()), suffix);
}

std::optional<std::int64_t> LocalFileSize(const std::string& path) {
    std::error_code error;
    const auto size = fs::file_size(fs::path(path), error);
    if (error) {
        return std::nullopt;
    }
    return static_cast<std::int64_t>(size);
}

std::vector<std::string> DownloadsIn(const std::string& folder) {
    std::vector<std::string> downloads;
    std::error_code error;
    for (fs::directory_iterator entry(fs::path(folder), error), end; !error && entry != end;
         entry.increment(error)) {
        const std::string name = entry->path().filename().string();
        if (IsDownloadName(name) && !entry->is_directory(error)) {
            downloads.push_back(folder + name);
        }
    }
    return downloads;
}

void DeleteDownloads(const std::string& folder, const std::vector<std::string>& keep) {
    for (const std::string& path : DownloadsIn(folder)) {
        if (std::find(keep.begin(), keep.end(), path) == keep.end()) {
            std::error_code ignored; // a file held open elsewhere stays
            fs::permissions(fs::path(path), fs::perms::owner_write, fs::perm_options::add, ignored);
            fs::remove(fs::path(path), ignored);
        }
    }
}

} // namespace qirelo::upgrade
