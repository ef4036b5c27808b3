#pragma once

// The program's folder as a download sees it: each listed file waits there
// under its own name plus ".uTMP" until the updater puts it in place.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qirelo::upgrade {

// The folder of `programPath`, up to and including its last separator.
std::string FolderOf(const std::string& programPath);

// The name after the folder.
std::string NameOf(const std::string& path);

// True when the names are the same but for the letter case of ASCII letters.
bool SameNameIgnoringCase(std::string_view a, std::string_view b);

// True for a name ending in ".uTMP" in any letter case.
bool IsDownloadName(std::string_view name);

// The size of the file at `path`; nullopt when there is no such file.
std::optional<std::int64_t> LocalFileSize(const std::string& path);

// Deletes every ".uTMP" file of `folder` except those named in `keep`
// (full paths); what cannot be deleted is left.
void DeleteDownloads(const std::string& folder, const std::vector<std::string>& keep = {});

// The ".uTMP" files of `folder`, as full paths.
std::vector<std::string> DownloadsIn(const std::string& folder);

} // namespace qirelo::upgrade
