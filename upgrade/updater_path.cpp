#include "upgrade/updater_path.h"

#include <filesystem>
#include <system_error>

#include "platform/profile/os_profile.h"

namespace qirelo::upgrade {
namespace {

#ifdef _WIN32
constexpr const char* kUpdaterFileName = "QireloUpdater.exe";
#else
constexpr const char* kUpdaterFileName = "qirelo-updater";
#endif

} // namespace

std::string DefaultUpdaterPath() {
    std::error_code error;
    std::filesystem::path folder = std::filesystem::temp_directory_path(error);
    if (error || !std::filesystem::is_directory(folder, error)) {
        folder = platform::OsMachine().executable_directory();
    }
    return (folder / kUpdaterFileName).string();
}

} // namespace qirelo::upgrade
