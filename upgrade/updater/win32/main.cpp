// QireloUpdater.exe: started by Qirelo.exe as it closes for an upgrade; puts
// the downloaded files in place and starts the program again.

#include <windows.h>

#include <shellapi.h>

#include <string>
#include <vector>

#include "text/utf.h"
#include "upgrade/updater/run_updater.h"
#include "upgrade/updater/win32/win32_updater_system.h"

namespace {

using namespace qirelo;
using namespace qirelo::upgrade::updater;

std::vector<std::string> arguments_after_program_name() {
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> arguments;
    for (int i = 1; wide && i < count; ++i) {
        const std::wstring argument(wide[i]);
        arguments.push_back(
            text::utf8_from_utf16(std::u16string(argument.begin(), argument.end())));
    }
    LocalFree(wide);
    return arguments;
}

void show_box(const std::string& text, UINT icon) {
    const std::u16string utf16 = text::utf16_from_utf8(text);
    const std::wstring wide(utf16.begin(), utf16.end());
    MessageBoxW(nullptr, wide.c_str(), L"Qirelo Updater", MB_OK | icon);
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    const std::vector<std::string> arguments = arguments_after_program_name();
    if (arguments.empty()) {
        show_box("Qirelo Updater puts a downloaded new version of Qirelo in place and starts "
                 "Qirelo again. Qirelo starts it by itself after an upgrade; there is no need "
                 "to run it by hand.",
                 MB_ICONINFORMATION);
        return 0;
    }
    try {
        Win32UpdaterSystem system;
        run_updater(parse_updater_command(arguments), system);
        return 0;
    } catch (const BadUpdaterCommand& error) {
        show_box(std::string("Qirelo Updater was started with a command line it cannot use; "
                             "nothing was changed.\n\n") +
                     error.what(),
                 MB_ICONERROR);
        return 2;
    }
}
