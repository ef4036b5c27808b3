// The whole road under Wine: the class registered for .html files in the
// real registry, its command cut into the program, the program's file
// looked for, and ShellExecuteA handing it the page as its one argument.

#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/win32/shell.h"
#include "tests/platform/shell/win32_html_class.h"
#include "upgrade/browser/open_url_in_browser.h"

namespace qirelo::upgrade {
namespace {

namespace fs = std::filesystem;

// A "browser" that writes the arguments it was given to a file.
struct RecordingBrowser {
    fs::path folder =
        fs::temp_directory_path() / ("qirelo_browser_" + std::to_string(::GetCurrentProcessId()));
    fs::path program = folder / "record url.bat";
    fs::path record = folder / "arguments.txt";

    RecordingBrowser() {
        fs::create_directories(folder);
        std::ofstream(program) << "@echo [%*]> \"" << record.string() << "\"\r\n";
    }
    ~RecordingBrowser() {
        std::error_code ignored;
        fs::remove_all(folder, ignored);
    }

    // The script's one line, once it is whole: the file shows up before the
    // shell has written into it.
    std::string arguments() const {
        std::string text;
        for (int i = 0; i < 600 && !text.ends_with('\n'); ++i) {
            ::Sleep(50);
            std::ifstream in(record, std::ios::binary);
            text.assign(std::istreambuf_iterator<char>(in), {});
        }
        return text;
    }
};

TEST(OpenUrlInBrowserOnWindows, TheRegisteredProgramGetsThePage) {
    const RecordingBrowser browser;
    const testing::HtmlClass html("\"" + browser.program.string() + "\" -new \"%1\"");
    if (!html.made) {
        GTEST_SKIP() << "the machine has its own .html class";
    }
    platform::win32::Win32Shell shell;
    EXPECT_TRUE(OpenUrlInBrowser("127.0.0.1:12860/setup/", shell));
    EXPECT_EQ(browser.arguments(), "[http://127.0.0.1:12860/setup/]\r\n");
}

} // namespace
} // namespace qirelo::upgrade
