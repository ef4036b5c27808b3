// The whole road under Wine: the class registered for .html files in the
// real registry, its command cut into the program, the program's file
// looked for, and ShellExecuteA handing it the page as its one argument.

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "platform/win32/shell.h"
#include "tests/platform/shell/win32_html_class.h"
#include "tests/platform/shell/win32_recording_browser.h"
#include "upgrade/browser/open_url_in_browser.h"

namespace qirelo::upgrade {
namespace {

TEST(OpenUrlInBrowserOnWindows, TheRegisteredProgramGetsThePage) {
    const testing::RecordingBrowser browser;
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
