#include "app/relay/recording_actions.h"
#include "app/relay/relay_command.h"
#include "app/relay/relay_record.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace qirelo::app::relay {
namespace {

using Lines = std::vector<std::string>;

class CommandTableTest : public ::testing::Test {
protected:
    Lines Run(const std::string& text, int trackBar1 = 128, const std::string& editUrl = "") {
        lines.clear();
        RecordingActions actions(sink, trackBar1, editUrl);
        RecordingPacer pacer(sink, nullptr);
        CarryOut(ParseRelayCommand(text), "site.test", actions, pacer);
        return lines;
    }

    Lines lines;
    LineSink sink = [this](const std::string& line) { lines.push_back(line); };
};

TEST_F(CommandTableTest, AOpensThePlayPageWithTheFirstDotMadePlay) {
    EXPECT_EQ(Run("A321.5"), (Lines{"SendKeys FK_ESC", "ShowTab tb1",
                                    "Navigate http://site.test/m0321/play5.html"}));
    EXPECT_EQ(Run("A3.2.1")[2], "Navigate http://site.test/m03/play2.1.html");
    EXPECT_EQ(Run("A321")[2], "Navigate http://site.test/m0321.html");
}

TEST_F(CommandTableTest, BOpensThePlayWebPageWithTheFirstDotZeroDashMadeAPlayParameter) {
    EXPECT_EQ(Run("B321.0-5"), (Lines{"SendKeys FK_ESC", "ShowTab tb1",
                                      "Navigate http://site.test/m/play_web.asp?id=321&play=5"}));
    EXPECT_EQ(Run("B7.0-1.0-2")[2], "Navigate http://site.test/m/play_web.asp?id=7&play=1.0-2");
    EXPECT_EQ(Run("B7.1")[2], "Navigate http://site.test/m/play_web.asp?id=7.1");
}

TEST_F(CommandTableTest, LaterLettersLookAtThePayloadOfAAndB) {
    EXPECT_EQ(Run("AB12"),
              (Lines{"SendKeys FK_ESC", "ShowTab tb1", "Navigate http://site.test/m0B12.html",
                     "SendKeys FK_ESC", "ShowTab tb1",
                     "Navigate http://site.test/m/play_web.asp?id=12"}));
    // An id that begins with a digit matches nothing later; one with a letter does.
    EXPECT_EQ(Run("A5F").size(), 3u);
    EXPECT_EQ(Run("AF").back(), "SendKeys  ");
}

TEST_F(CommandTableTest, ERestoresTheVolumeThroughTheSliderAndClicksTheShutdownButton) {
    EXPECT_EQ(Run("E", 77), (Lines{"SendKeys  ", "SendKeys FK_ESC", "ShowTab tb3", "TrackBar1 255",
                                   "TrackBar1 77", "ClickBitBtn1"}));
    // Both slider lines even when it already stands at the top.
    EXPECT_EQ(Run("E", 255)[3], "TrackBar1 255");
    EXPECT_EQ(Run("E", 255)[4], "TrackBar1 255");
}

TEST_F(CommandTableTest, FSendsASpace) {
    EXPECT_EQ(Run("F"), Lines{"SendKeys  "});
}

TEST_F(CommandTableTest, GSendsPacedArrowStepsAndPausesAfterTheLastToo) {
    EXPECT_EQ(Run("G-3"), (Lines{"SendKeys FK_LEFT", "Sleep 1000", "SendKeys FK_LEFT", "Sleep 1000",
                                 "SendKeys FK_LEFT", "Sleep 1000"}));
    EXPECT_EQ(Run("G+1"), (Lines{"SendKeys FK_RIGHT", "Sleep 1000"}));
    EXPECT_EQ(Run("Gx2")[0], "SendKeys FK_RIGHT");
    EXPECT_TRUE(Run("G-0").empty());
}

TEST_F(CommandTableTest, HStepsOnceInFullScreen) {
    EXPECT_EQ(Run("H-"), (Lines{"SendKeys FK_ESC", "Action2", "SendKeys FK_LEFT", "Action1"}));
    EXPECT_EQ(Run("H")[2], "SendKeys FK_RIGHT");
}

TEST_F(CommandTableTest, DStepsUpOrDownWithoutPausesAndClicksOnAPlayWebPage) {
    EXPECT_EQ(Run("D+2"), (Lines{"SendKeys FK_UP", "SendKeys FK_UP"}));
    EXPECT_EQ(Run("D-1"), (Lines{"SendKeys FK_DOWN"}));
    EXPECT_TRUE(Run("D-0").empty());
    EXPECT_EQ(Run("D-0", 128, "http://site.test/m/play_web.asp?id=3"), Lines{"Action3"});
    EXPECT_EQ(Run("D+1", 128, "http://site.test/m0321/play5.html"), Lines{"SendKeys FK_UP"});
}

TEST_F(CommandTableTest, AMissingOrNonDigitCountRejectsTheWholeCommandBeforeAnyStep) {
    for (const char* text : {"G-", "G", "G-x", "D+", "D-/", "AG-x", "BD"}) {
        EXPECT_THROW(ParseRelayCommand(text), EBadRelayRecord) << text;
    }
}

TEST_F(CommandTableTest, UnknownAndEmptyCommandsDoNothing) {
    EXPECT_TRUE(Run("").empty());
    EXPECT_TRUE(Run("Z9").empty());
    EXPECT_TRUE(Run("a321.5").empty());
}

} // namespace
} // namespace qirelo::app::relay
