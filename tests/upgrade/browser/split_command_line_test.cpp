// Cutting registered shell commands into program and arguments.

#include <gtest/gtest.h>

#include <string>

#include "upgrade/browser/split_command_line.h"

namespace qirelo::upgrade {
namespace {

struct Split {
    const char* command;
    const char* program;
    const char* arguments;
};

void ExpectSplits(std::initializer_list<Split> cases) {
    for (const Split& expected : cases) {
        const CommandLineParts parts = SplitCommandLine(expected.command);
        EXPECT_EQ(parts.program, expected.program) << expected.command;
        EXPECT_EQ(parts.arguments, expected.arguments) << expected.command;
    }
}

TEST(SplitCommandLine, QuotedProgramEndsAtItsClosingQuote) {
    ExpectSplits({
        {R"("C:\Program Files\Internet Explorer\iexplore.exe" -nohome)",
         R"(C:\Program Files\Internet Explorer\iexplore.exe)", "-nohome"},
        // The first two quotes of the arguments go, a third stays.
        {R"("C:\Program Files\Mozilla Firefox\firefox.exe" -osint -url "%1")",
         R"(C:\Program Files\Mozilla Firefox\firefox.exe)", "-osint -url %1"},
        {R"("C:\a b\x.exe" "%1" "two")", R"(C:\a b\x.exe)", R"(%1 "two")"},
        {R"(  "C:\a b\x.exe"  )", R"(C:\a b\x.exe)", ""},
        {R"("C:\a b\x.exe")", R"(C:\a b\x.exe)", ""},
        // Without a blank after the closing quote its next character is lost.
        {R"("C:\x.exe"-a)", R"(C:\x.exe)", "a"},
    });
}

TEST(SplitCommandLine, QuotesFurtherOnLeaveTheTextBeforeThemAsTheProgram) {
    ExpectSplits({
        {R"(C:\Programs\browser.exe "%1")", R"(C:\Programs\browser.exe)", "%1"},
        {R"(C:\Programs\browser.exe -url "%1")", R"(C:\Programs\browser.exe -url)", "%1"},
    });
}

TEST(SplitCommandLine, UnquotedProgramEndsAtTheFirstSeparatorInOrder) {
    ExpectSplits({
        {R"(C:\Program Files\Opera\opera.exe %1)", R"(C:\Program Files\Opera\opera.exe)", "%1"},
        {R"(C:\Browser\b.exe -new %1)", R"(C:\Browser\b.exe)", "-new %1"},
        {R"(C:\Browser\b.exe /dde)", R"(C:\Browser\b.exe)", "/dde"},
        {R"(C:\Browser\b.exe \\server\share)", R"(C:\Browser\b.exe)", R"(\\server\share)"},
        // " -" is tried before " %", wherever the two stand.
        {R"(C:\Browser\b.exe %1 -x)", R"(C:\Browser\b.exe %1)", "-x"},
        {R"(C:\Browser\b.exe,%1)", R"(C:\Browser\b.exe)", "%1"}, // "," itself is dropped
        {R"(C:\Browser\b.exe)", R"(C:\Browser\b.exe)", ""},
        {"browser", "browser", ""},
        {"", "", ""},
        {"   ", "", ""},
    });
}

TEST(SplitCommandLine, ACutThatWouldLoseTheExtensionIsTakenBack) {
    ExpectSplits({
        {R"(C:\Program Files\My -Browser\browser.exe %1)",
         R"(C:\Program Files\My -Browser\browser.exe)", "%1"},
        {R"(C:\My Programs,old\browser.exe %1)", R"(C:\My Programs,old\browser.exe)", "%1"},
        // Without an extension before the cut there is nothing to lose.
        {R"(C:\Tools\browser -new)", R"(C:\Tools\browser)", "-new"},
    });
}

TEST(SplitCommandLine, RundllRunsTheDll) {
    ExpectSplits({
        {"rundll32.exe url.dll,FileProtocolHandler %1", "rundll32.exe",
         "url.dll,FileProtocolHandler %1"},
        {R"(C:\WINDOWS\system32\RUNDLL32.EXE url.dll,FileProtocolHandler %1)",
         R"(C:\WINDOWS\system32\RUNDLL32.EXE)", "url.dll,FileProtocolHandler %1"},
        // A DLL named without rundll is left as cut.
        {R"(C:\x\viewer.exe shim.dll,Open %1)", R"(C:\x\viewer.exe shim.dll)", "Open %1"},
    });
}

} // namespace
} // namespace qirelo::upgrade
