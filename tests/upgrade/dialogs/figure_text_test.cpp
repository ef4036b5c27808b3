#include <gtest/gtest.h>

#include "upgrade/dialogs/figure_text.h"

namespace qirelo::upgrade {
namespace {

TEST(FigureText, PutsTheFiguresInTheirConversions) {
    EXPECT_EQ(FormatFigures("%d:%.2d:%.2d", {1, 2, 5}), "1:02:05");
    EXPECT_EQ(FormatFigures("%.1f Kb", {1.25}), "1.2 Kb");
    EXPECT_EQ(FormatFigures("%d of %d", {12, 300}), "12 of 300");
    EXPECT_EQ(FormatFigures("100%% %d", {7}), "100% 7");
}

TEST(FigureText, LeavesWhatItCannotFillAsItStands) {
    EXPECT_EQ(FormatFigures("%d and %d", {3}), "3 and %d");
    EXPECT_EQ(FormatFigures("%s %n %x %d", {4}), "%s %n %x 4");
    EXPECT_EQ(FormatFigures("%.123f", {1}), "%.123f");
    EXPECT_EQ(FormatFigures("end %", {1}), "end %");
}

} // namespace
} // namespace qirelo::upgrade
