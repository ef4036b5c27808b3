// qirelo-tool sendkeys, run in-process: the documented lines, in order.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/tools/tool_run.h"

namespace qirelo::tools {
namespace {

using testing::ToolRun;

ToolRun sendkeys(std::vector<std::string> args) {
    args.insert(args.begin(), "sendkeys");
    return testing::tool(args);
}

TEST(ToolSendKeys, EscapePrintsItsTwoEventsWithDrainsAndFalse) {
    const ToolRun run = sendkeys({"FK_ESC"});
    EXPECT_EQ(run.status, kExitOk);
    EXPECT_EQ(run.out, "MapVirtualKeyA vk=0x1B type=0 -> 0x01\n"
                       "keybd_event vk=0x1B scan=0x01 flags=0\n"
                       "drain\n"
                       "keybd_event vk=0x1B scan=0x01 flags=2\n"
                       "drain\n"
                       "result=false\n");
    EXPECT_EQ(run.err, "");
}

TEST(ToolSendKeys, TextWithoutWaitShowsTheLayoutAndNoDrain) {
    const ToolRun run = sendkeys({"--no-wait", "A"});
    EXPECT_EQ(run.out, "VkKeyScanA char=0x41 -> 0x0141\n"
                       "MapVirtualKeyA vk=0x10 type=0 -> 0x2A\n"
                       "keybd_event vk=0x10 scan=0x2A flags=0\n"
                       "MapVirtualKeyA vk=0x41 type=0 -> 0x1E\n"
                       "keybd_event vk=0x41 scan=0x1E flags=0\n"
                       "keybd_event vk=0x41 scan=0x1E flags=2\n"
                       "MapVirtualKeyA vk=0x10 type=0 -> 0x2A\n"
                       "keybd_event vk=0x10 scan=0x2A flags=2\n"
                       "result=true\n");
}

TEST(ToolSendKeys, StringsShareOneSenderSoHeldKeysCarryOver) {
    const ToolRun run = sendkeys(
        {"--no-wait", "FK_NUMLOCK", "FK_Shift", "FK_Shift", "FK_IME", "FK_ClearText", "\xB0"});
    EXPECT_EQ(run.out, "GetKeyState vk=0x90 -> 0x0000\n"
                       "GetKeyboardState\n"
                       "SetKeyboardState 0x90 on\n"
                       "result=false\n"
                       "MapVirtualKeyA vk=0x10 type=0 -> 0x2A\n"
                       "keybd_event vk=0x10 scan=0x2A flags=0\n"
                       "result=false\n"
                       "MapVirtualKeyA vk=0x10 type=0 -> 0x2A\n"
                       "keybd_event vk=0x10 scan=0x2A flags=2\n"
                       "result=false\n"
                       "ActivateKeyboardLayout 1 0\n"
                       "result=false\n"
                       "ClearFocusedEdit\n"
                       "result=false\n"
                       "VkKeyScanA char=0xB0 -> 0xFFFF\n"
                       "MessageBox \"Invalid KeyName\" \"SendKeys\"\n"
                       "result=true\n");
}

TEST(ToolSendKeys, DoubleDashLetsAStringBeginWithDashes) {
    const ToolRun run = sendkeys({"--", "--"});
    EXPECT_EQ(run.status, kExitOk);
    EXPECT_NE(run.out.find("VkKeyScanA char=0x2D -> 0x00BD\n"), std::string::npos);
    EXPECT_TRUE(run.out.ends_with("result=true\n"));
}

TEST(ToolSendKeys, UsageErrorsExitTwo) {
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{}, {"--no-wait"}, {"--wait", "x"}}) {
        const ToolRun run = sendkeys(args);
        EXPECT_EQ(run.status, kExitUsage);
        EXPECT_EQ(run.out, "");
        EXPECT_NE(run.err.find("qirelo-tool sendkeys"), std::string::npos);
    }
}

TEST(ToolSendKeys, HelpDocumentsTheLineFormat) {
    const ToolRun run = sendkeys({"--help"});
    EXPECT_EQ(run.status, kExitOk);
    for (const char* line :
         {"keybd_event vk=0x1B scan=0x01 flags=0", "drain",
          "MessageBox \"Invalid KeyName\" \"SendKeys\"", "SetKeyboardState 0x90 on",
          "ActivateKeyboardLayout 1 0", "result=true"}) {
        EXPECT_NE(run.out.find(line), std::string::npos) << line;
    }
}

} // namespace
} // namespace qirelo::tools
