// Handing the download page to the user's browser, over the recording shell.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/fake/shell.h"
#include "upgrade/browser/open_url_in_browser.h"

namespace qirelo::upgrade {
namespace {

using Lines = std::vector<std::string>;

struct Browser {
    platform::fake::CallLog calls;
    platform::fake::FakeShell shell{calls};

    Lines open(const std::string& url, bool expect_opened = true) {
        EXPECT_EQ(OpenUrlInBrowser(url, shell), expect_opened) << url;
        return calls.effects();
    }
};

constexpr const char* kFirefox = R"(C:\Program Files\Mozilla Firefox\firefox.exe)";

TEST(OpenUrlInBrowser, TheRegisteredBrowserGetsTheUrlAsItsOnlyArgument) {
    Browser browser;
    browser.shell.html_command = std::string("\"") + kFirefox + "\" -osint -url \"%1\"";
    browser.shell.existing_programs = {kFirefox};
    EXPECT_EQ(browser.open("http://127.0.0.1:12860/setup/"),
              Lines{std::string("ShellExecuteA open \"") + kFirefox +
                    "\" \"http://127.0.0.1:12860/setup/\""});
}

TEST(OpenUrlInBrowser, WithoutARegisteredBrowserTheShellOpensTheUrl) {
    Browser browser;
    EXPECT_EQ(browser.open("https://host/setup/"),
              Lines{R"(ShellExecuteA open "https://host/setup/" "")"});
}

TEST(OpenUrlInBrowser, AnAddressWithoutSchemeIsAWebAddress) {
    Browser browser;
    EXPECT_EQ(browser.open("host/setup/"), Lines{R"(ShellExecuteA open "http://host/setup/" "")"});
    browser.calls.clear();
    EXPECT_EQ(browser.open("  HTTPS://host/  "), Lines{R"(ShellExecuteA open "HTTPS://host/" "")"});
}

TEST(OpenUrlInBrowser, OtherSchemesAreNeverOpened) {
    Browser browser;
    browser.shell.html_command = "C:\\b.exe %1";
    browser.shell.existing_programs = {"C:\\b.exe"};
    for (const char* url : {"file:///C:/Windows/System32/calc.exe", "FILE://server/share/x.exe",
                            "ftp://host/setup.exe", "ms-settings://x", "\\\\server\\share://x"}) {
        EXPECT_FALSE(OpenUrlInBrowser(url, browser.shell)) << url;
    }
    EXPECT_EQ(browser.calls.effects(), Lines{});
}

TEST(OpenUrlInBrowser, AProgramPathGetsTheSchemeAndStaysABrowserAddress) {
    Browser browser;
    EXPECT_EQ(browser.open(R"(C:\Windows\calc.exe)"),
              Lines{R"(ShellExecuteA open "http://C:\Windows\calc.exe" "")"});
}

TEST(OpenUrlInBrowser, BlanksAndQuotesCannotAddArgumentsOfTheirOwn) {
    Browser browser;
    browser.shell.html_command = "C:\\b.exe %1";
    browser.shell.existing_programs = {"C:\\b.exe"};
    EXPECT_EQ(browser.open("http://host/a b\" --flag\t\x01"),
              Lines{R"(ShellExecuteA open "C:\b.exe" "http://host/a%20b%22%20--flag%09%01")"});
    // GB2312 bytes and ready-made escapes stay as they are.
    browser.calls.clear();
    EXPECT_EQ(browser.open("http://host/\xCF\xC2%20x"),
              Lines{"ShellExecuteA open \"C:\\b.exe\" \"http://host/\xCF\xC2%20x\""});
}

TEST(OpenUrlInBrowser, RundllIsNotGivenTheUrlAlone) {
    for (const char* command :
         {"rundll32.exe url.dll,FileProtocolHandler %1",
          R"(C:\WINDOWS\system32\rundll32.exe url.dll,FileProtocolHandler %1)",
          R"("C:\WINDOWS\system32\RUNDLL32" url.dll,FileProtocolHandler %1)"}) {
        Browser browser;
        browser.shell.html_command = command;
        browser.shell.existing_programs = {"rundll32.exe", R"(C:\WINDOWS\system32\rundll32.exe)",
                                           R"(C:\WINDOWS\system32\RUNDLL32)"};
        EXPECT_EQ(browser.open("http://host/setup/"),
                  Lines{R"(ShellExecuteA open "http://host/setup/" "")"})
            << command;
    }
}

TEST(OpenUrlInBrowser, AMissingProgramFileIsNotUsed) {
    Browser browser;
    browser.shell.html_command = R"("C:\Old Browser\gone.exe" "%1")";
    EXPECT_EQ(browser.open("http://host/setup/"),
              Lines{R"(ShellExecuteA open "http://host/setup/" "")"});
    const Lines lines = browser.calls.lines();
    EXPECT_NE(std::find(lines.begin(), lines.end(),
                        R"(program file exists "C:\Old Browser\gone.exe" -> no)"),
              lines.end());
}

} // namespace
} // namespace qirelo::upgrade
