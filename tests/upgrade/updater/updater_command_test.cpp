// The updater's command line as the restarting program writes it, read back
// whether or not the path was quoted.

#include <gtest/gtest.h>

#include "upgrade/updater/updater_command.h"

namespace {

using namespace qirelo::upgrade::updater;

TEST(UpdaterCommand, SplitsPathParametersAndMethodDigit) {
    const UpdaterCommand self =
        parse_updater_command({"C:\\Qirelo\\Qirelo.exe", "+/afterupgrade0"});
    EXPECT_EQ(self.program_path, "C:\\Qirelo\\Qirelo.exe");
    EXPECT_EQ(self.restart_params, "/afterupgrade");
    EXPECT_EQ(self.method, UpgradeMethod::self_upgrade);

    const UpdaterCommand setup =
        parse_updater_command({"C:\\Qirelo\\Qirelo.exe", "+/afterupgrade1"});
    EXPECT_EQ(setup.restart_params, "/afterupgrade");
    EXPECT_EQ(setup.method, UpgradeMethod::external_setup);
}

TEST(UpdaterCommand, BlanksInPathAndParametersSurviveQuotedOrNot) {
    // Unquoted, the system splits the path at its blanks; quoted, it does not.
    const UpdaterCommand split = parse_updater_command(
        {"C:\\Program", "Files\\Qirelo", "x\\Qirelo.exe", "+/after", "upgrade", "now1"});
    const UpdaterCommand quoted = parse_updater_command(
        {"C:\\Program Files\\Qirelo x\\Qirelo.exe", "+/after", "upgrade", "now1"});
    for (const UpdaterCommand& command : {split, quoted}) {
        EXPECT_EQ(command.program_path, "C:\\Program Files\\Qirelo x\\Qirelo.exe");
        EXPECT_EQ(command.restart_params, "/after upgrade now");
        EXPECT_EQ(command.method, UpgradeMethod::external_setup);
    }
}

TEST(UpdaterCommand, EmptyAndBlankParameters) {
    const UpdaterCommand empty = parse_updater_command({"/opt/qirelo/qirelo", "+0"});
    EXPECT_EQ(empty.program_path, "/opt/qirelo/qirelo");
    EXPECT_EQ(empty.restart_params, "");
    EXPECT_EQ(empty.method, UpgradeMethod::self_upgrade);

    // A stored empty value is one blank: "PATH + 1" arrives as three arguments.
    const UpdaterCommand blank = parse_updater_command({"C:\\Q\\Q.exe", "+", "1"});
    EXPECT_EQ(blank.restart_params, " ");
    EXPECT_EQ(blank.method, UpgradeMethod::external_setup);

    const UpdaterCommand no_digit = parse_updater_command({"C:\\Q\\Q.exe", "+"});
    EXPECT_EQ(no_digit.restart_params, "");
    EXPECT_EQ(no_digit.method, UpgradeMethod::self_upgrade);
}

TEST(UpdaterCommand, AnyDigitButOneMeansSelfUpgrade) {
    for (const char* last : {"+p0", "+p2", "+p9", "+px", "+p "})
        EXPECT_EQ(parse_updater_command({"C:\\Q\\Q.exe", last}).method, UpgradeMethod::self_upgrade)
            << last;
}

TEST(UpdaterCommand, PlusInsideAFolderNameDoesNotEndThePath) {
    const UpdaterCommand command =
        parse_updater_command({"C:\\Tools\\Notepad++\\a+b\\Q.exe", "+/afterupgrade+x0"});
    EXPECT_EQ(command.program_path, "C:\\Tools\\Notepad++\\a+b\\Q.exe");
    EXPECT_EQ(command.restart_params, "/afterupgrade+x");
}

TEST(UpdaterCommand, GarbageIsRefused) {
    EXPECT_THROW(parse_updater_command({}), BadUpdaterCommand);
    EXPECT_THROW(parse_updater_command({"C:\\Q\\Q.exe"}), BadUpdaterCommand);
    EXPECT_THROW(parse_updater_command({"C:\\Q\\Q.exe/afterupgrade0"}), BadUpdaterCommand);
    EXPECT_THROW(parse_updater_command({"+/afterupgrade0"}), BadUpdaterCommand);
    EXPECT_THROW(parse_updater_command({"", "+/afterupgrade0"}), BadUpdaterCommand);
}

} // namespace
