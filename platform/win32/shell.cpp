#include <windows.h>
// shellapi.h needs the types of windows.h first.
#include <shellapi.h>

#include "platform/shell/html_opener.h"
#include "platform/shell/os_shell.h"
#include "platform/win32/shell.h"

namespace qirelo::platform::win32 {

std::string Win32Shell::html_open_command() {
    Win32RegistryKeys classes_root(RegistryRoot::ClassesRoot);
    return shell::FindHtmlOpener(classes_root);
}

bool Win32Shell::program_file_exists(const std::string& program) {
    if (program.empty()) {
        return false;
    }
    if (program.find_first_of("\\/:") != std::string::npos) {
        const DWORD attributes = ::GetFileAttributesA(program.c_str());
        return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
    }
    char found[MAX_PATH];
    return ::SearchPathA(nullptr, program.c_str(), ".exe", MAX_PATH, found, nullptr) != 0;
}

void Win32Shell::shell_execute(const std::string& file, const std::string& parameters) {
    ::ShellExecuteA(::GetDesktopWindow(), "open", file.c_str(),
                    parameters.empty() ? nullptr : parameters.c_str(), nullptr, SW_SHOWNORMAL);
}

} // namespace qirelo::platform::win32

namespace qirelo::platform::shell {

std::unique_ptr<Shell> MakeOsShell() {
    return std::make_unique<win32::Win32Shell>();
}

std::unique_ptr<OnlineCheck> MakeOsOnlineCheck() {
    return std::make_unique<win32::Win32OnlineCheck>();
}

} // namespace qirelo::platform::shell
