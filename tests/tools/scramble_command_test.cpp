// qirelo-tool scramble and unscramble, run in-process.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/tools/tool_run.h"

namespace qirelo::tools {
namespace {

using testing::tool;
using testing::ToolRun;

std::string scrambled(const std::string& password, const std::string& key) {
    const ToolRun run = tool({"scramble", password, key});
    EXPECT_EQ(run.status, kExitOk) << run.err;
    EXPECT_TRUE(run.out.ends_with('\n'));
    return run.out.substr(0, run.out.size() - 1);
}

TEST(ToolScramble, PrintsUpperCaseHexSeedFirstAndALineBreak) {
    const std::string password = "\xC3\xDC\xC2\xEB"
                                 "42"; // GB2312 bytes go in raw
    const std::string text = scrambled(password, "PC-01");
    EXPECT_EQ(text.size(), 2 + 2 * password.size());
    EXPECT_EQ(text.find_first_not_of("0123456789ABCDEF"), std::string::npos) << text;
}

TEST(ToolUnscramble, WritesThePasswordBytesRawWithoutALineBreak) {
    const std::string password = "\xC3\xDC\xC2\xEB"
                                 "42";
    for (const std::string key : {"PC-01", ""}) {
        const ToolRun run = tool({"unscramble", scrambled(password, key), key});
        EXPECT_EQ(run.status, kExitOk);
        EXPECT_EQ(run.out, password) << "key '" << key << "'";
        EXPECT_EQ(run.err, "");
    }
}

TEST(ToolUnscramble, KnownTextUnderItsKey) {
    EXPECT_EQ(tool({"unscramble", "101A1713", "KL"}).out, "AAA");
    EXPECT_EQ(tool({"unscramble", "7F", "KL"}).out, ""); // an empty password
}

TEST(ToolUnscramble, DamagedTextIsAConversionErrorOnStderr) {
    const ToolRun run = tool({"unscramble", "101AZZ", "KL"});
    EXPECT_EQ(run.status, kExitFailed);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "EConvertError: '$ZZ' is not a valid integer value\n");
}

TEST(ToolScrambleAndUnscramble, NeedExactlyTwoArguments) {
    for (const std::string command : {"scramble", "unscramble"}) {
        EXPECT_EQ(tool({command, "only"}).status, kExitUsage);
        EXPECT_EQ(tool({command, "a", "b", "c"}).status, kExitUsage);
        const ToolRun help = tool({command, "--help"});
        EXPECT_EQ(help.status, kExitOk);
        EXPECT_TRUE(help.out.starts_with("usage: qirelo-tool " + command));
    }
}

} // namespace
} // namespace qirelo::tools
