// qirelo-tool version-compare, info-file and split-command, run in-process.

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tests/tools/tool_run.h"

namespace qirelo::tools {
namespace {

namespace fs = std::filesystem;
using testing::tool;
using testing::ToolRun;

struct InfoFile {
    fs::path path = fs::temp_directory_path() /
                    ("qirelo_info_file_test_" + std::to_string(std::rand()) + ".inf");
    explicit InfoFile(const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }
    ~InfoFile() { fs::remove(path); }
    std::string name() const { return path.string(); }
};

TEST(ToolVersionCompare, PrintsOneZeroOrMinusOne) {
    EXPECT_EQ(tool({"version-compare", "2013.8.10", "2013.8.9.0"}).out, "1\n");
    EXPECT_EQ(tool({"version-compare", "2013.08.09", "2013.8.9.0"}).out, "0\n");
    EXPECT_EQ(tool({"version-compare", "2013.8.9.0", "2013.8.9.0b"}).out, "-1\n");
    EXPECT_EQ(tool({"version-compare", "", "2013.8.9.0"}).out, "-1\n");
    const ToolRun run = tool({"version-compare", "1", "1"});
    EXPECT_EQ(run.status, kExitOk);
    EXPECT_EQ(run.err, "");
}

TEST(ToolVersionCompare, NeedsExactlyTwoVersions) {
    EXPECT_EQ(tool({"version-compare", "1"}).status, kExitUsage);
    EXPECT_EQ(tool({"version-compare", "1", "2", "3"}).status, kExitUsage);
    EXPECT_EQ(tool({"version-compare", "1", "2", "3"}).out, "");
}

TEST(ToolInfoFile, PrintsEveryValueInOrderWithControlBytesEscaped) {
    const InfoFile file("#VERSION=2013.9.1.0\r\n"
                        "#date=08/10/2013\r\n"
                        "#method=2\r\n"
                        "#message={\xD0\xC2\xB0\xE6\\new\tline\r\nsecond\x01}\r\n"
                        "#url0=http://127.0.0.1:12860/setup/\r\n"
                        "#url1=http://127.0.0.1:12860/setup/b\r\n"
                        "#url2=http://127.0.0.1:12860/setup/c");
    const ToolRun run = tool({"info-file", file.name()});
    EXPECT_EQ(run.status, kExitOk) << run.err;
    EXPECT_EQ(run.out, "version 2013.9.1.0\n"
                       "date 08/10/2013\n"
                       "method 2\n"
                       "message \xD0\xC2\xB0\xE6\\\\new\\tline\\r\\nsecond\\x01\n"
                       "url http://127.0.0.1:12860/setup/\n"
                       "url http://127.0.0.1:12860/setup/c\n" // after #url0= comes #url2=
                       "newer true\n");
}

TEST(ToolInfoFile, AnEmptyFileHasNoValuesAndIsNotNewer) {
    const InfoFile file("");
    EXPECT_EQ(tool({"info-file", file.name()}).out,
              "version \ndate \nmethod 0\nmessage \nnewer false\n");
}

TEST(ToolInfoFile, NewerByTheGivenVersionOrDate) {
    const InfoFile file("#version=2013.8.10\n#date=08/10/2013\n#url=http://host/setup/\n");
    const auto newer = [&](std::vector<std::string> args) {
        args.insert(args.begin(), "info-file");
        args.push_back(file.name());
        const std::string out = tool(args).out;
        return out.substr(out.rfind("newer "));
    };
    EXPECT_EQ(newer({}), "newer true\n"); // against the client's 2013.8.9.0
    EXPECT_EQ(newer({"--version", "2013.8.10.0"}), "newer false\n");
    EXPECT_EQ(newer({"--version", "2013.8.9.9"}), "newer true\n");
    EXPECT_EQ(newer({"--date", "08/09/2013"}), "newer true\n");
    EXPECT_EQ(newer({"--date", "08/10/2013"}), "newer false\n");
    EXPECT_EQ(newer({"--date", "01/01/2014"}), "newer false\n");
}

TEST(ToolInfoFile, AnUnreadableServerDateIsToday) {
    const InfoFile file("#date=13/01/2013\n");
    const auto newer = [&](const std::string& own) {
        const std::string out = tool({"info-file", "--date", own, file.name()}).out;
        return out.substr(out.rfind("newer "));
    };
    EXPECT_EQ(newer("08/09/2013"), "newer true\n");
    EXPECT_EQ(newer("12/31/9999"), "newer false\n");
}

TEST(ToolInfoFile, AFileThatCannotBeReadFailsWithOneLine) {
    const fs::path missing = fs::temp_directory_path() / "qirelo_no_such_file.inf";
    const ToolRun run = tool({"info-file", missing.string()});
    EXPECT_EQ(run.status, kExitFailed);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "qirelo-tool info-file: cannot read " + missing.string() + "\n");
    EXPECT_EQ(tool({"info-file", fs::temp_directory_path().string()}).status, kExitFailed);
}

TEST(ToolInfoFile, UsageErrors) {
    const InfoFile file("#version=1\n");
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"info-file"},
          {"info-file", file.name(), file.name()},
          {"info-file", "--version"},
          {"info-file", "--version", "1", "--date", "08/09/2013", file.name()},
          {"info-file", "--version", "1", "--version", "2", file.name()},
          {"info-file", "--verbose", file.name()}}) {
        const ToolRun run = tool(args);
        EXPECT_EQ(run.status, kExitUsage) << args.size();
        EXPECT_EQ(run.out, "");
        EXPECT_NE(run.err, "");
    }
}

TEST(ToolSplitCommand, PrintsProgramAndArgs) {
    EXPECT_EQ(tool({"split-command", R"("C:\Program Files\IE\iexplore.exe" -nohome "%1")"}).out,
              "program C:\\Program Files\\IE\\iexplore.exe\nargs -nohome %1\n");
    EXPECT_EQ(tool({"split-command", R"(C:\Opera\opera.exe %1)"}).out,
              "program C:\\Opera\\opera.exe\nargs %1\n");
    EXPECT_EQ(tool({"split-command", "rundll32.exe url.dll,FileProtocolHandler %1"}).out,
              "program rundll32.exe\nargs url.dll,FileProtocolHandler %1\n");
    EXPECT_EQ(tool({"split-command", ""}).out, "program \nargs \n");
    EXPECT_EQ(tool({"split-command"}).status, kExitUsage);
    EXPECT_EQ(tool({"split-command", "a", "b"}).status, kExitUsage);
}

TEST(ToolOpenUrl, PrintsTheShellCallOrNotOpened) {
    // No registered .html program here (Linux, or the build's Wine prefix).
    ToolRun run = tool({"open-url", "--dry-run", "127.0.0.1:12860/setup/"});
    EXPECT_EQ(run.status, kExitOk) << run.err;
    EXPECT_EQ(run.out, "ShellExecuteA open \"http://127.0.0.1:12860/setup/\" \"\"\n");
    run = tool({"open-url", "--dry-run", "https://host/a b"});
    EXPECT_EQ(run.out, "ShellExecuteA open \"https://host/a%20b\" \"\"\n");
    for (const std::string url : {"file:///C:/Windows/notepad.exe", "ftp://host/x"}) {
        run = tool({"open-url", url}); // not a dry run: nothing may start
        EXPECT_EQ(run.status, kExitFailed) << url;
        EXPECT_EQ(run.out, "not opened\n");
    }
    EXPECT_EQ(tool({"open-url"}).status, kExitUsage);
    EXPECT_EQ(tool({"open-url", "--dry-run"}).status, kExitUsage);
    EXPECT_EQ(tool({"open-url", "--now", "host"}).status, kExitUsage);
    EXPECT_EQ(tool({"open-url", "a", "b"}).status, kExitUsage);
}

TEST(ToolInfoCommands, DocumentTheirOutputInHelp) {
    for (const std::string command :
         {"version-compare", "info-file", "split-command", "open-url"}) {
        const ToolRun help = tool({command, "--help"});
        EXPECT_EQ(help.status, kExitOk);
        EXPECT_TRUE(help.out.starts_with("usage: qirelo-tool " + command)) << help.out;
        EXPECT_NE(tool({"--help"}).out.find("  " + command + " "), std::string::npos);
    }
}

} // namespace
} // namespace qirelo::tools
