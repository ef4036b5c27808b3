// The updater's steps on an in-memory machine: the bounded wait, the one-step
// replacements, the program started again, the external setup road.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>

#include "upgrade/updater/fake/fake_updater_system.h"
#include "upgrade/updater/run_updater.h"

namespace {

using namespace qirelo::upgrade::updater;
using namespace std::chrono_literals;

const std::string kFolder = "C:\\Program Files\\Qirelo\\";
const std::string kProgram = kFolder + "Qirelo.exe";

UpdaterCommand command(UpgradeMethod method = UpgradeMethod::self_upgrade) {
    return {kProgram, "/afterupgrade", method};
}

class RunUpdater : public testing::Test {
protected:
    std::string contents(const std::string& path) const {
        const FakeUpdaterSystem::File* file = machine.find(path);
        return file ? file->contents : "<missing>";
    }
    bool exists(const std::string& path) const { return machine.find(path) != nullptr; }

    FakeUpdaterSystem machine;
};

TEST_F(RunUpdater, WaitsForTheProgramThenReplacesEachDownloadAndRestarts) {
    machine.add_file(kProgram, "old program");
    machine.add_file(kFolder + "data.txt", "old data");
    machine.add_file(kFolder + "data.txt.uTMP", "new data");
    machine.add_file(kFolder + "Qirelo.exe.uTMP", "new program");
    machine.add_file(kFolder + "extra.dll.uTMP", "new dll");
    machine.hold_until(kProgram, 1500ms);

    run_updater(command(), machine);

    EXPECT_GE(machine.elapsed(), 1500ms);
    EXPECT_TRUE(machine.waited_at_lowest_priority());
    EXPECT_TRUE(machine.priority_restored());
    EXPECT_EQ(contents(kProgram), "new program");
    EXPECT_EQ(contents(kFolder + "data.txt"), "new data");
    EXPECT_EQ(contents(kFolder + "extra.dll"), "new dll");
    EXPECT_EQ(machine.find(kFolder + "data.txt")->mark, FileMark::archive);
    for (const std::string& path : machine.paths())
        EXPECT_FALSE(path.ends_with(".uTMP")) << path;
    ASSERT_EQ(machine.starts().size(), 1u);
    EXPECT_EQ(machine.starts()[0].path, kProgram);
    EXPECT_EQ(machine.starts()[0].params, "/afterupgrade");
    EXPECT_EQ(machine.starts()[0].contents, "new program");
}

TEST_F(RunUpdater, AProgramThatNeverEndsIsStartedAsItIsAfterTwoMinutes) {
    machine.add_file(kProgram, "old program");
    machine.add_file(kFolder + "Qirelo.exe.uTMP", "new program");
    machine.add_file(kFolder + "data.txt.uTMP", "new data");
    machine.hold_forever(kProgram);

    run_updater(command(), machine);

    EXPECT_GE(machine.elapsed(), kProgramEndBound);
    EXPECT_LT(machine.elapsed(), kProgramEndBound + 10ms);
    EXPECT_EQ(contents(kProgram), "old program");
    EXPECT_EQ(contents(kFolder + "Qirelo.exe.uTMP"), "new program");
    EXPECT_EQ(contents(kFolder + "data.txt.uTMP"), "new data");
    EXPECT_FALSE(exists(kFolder + "data.txt"));
    ASSERT_EQ(machine.starts().size(), 1u);
    EXPECT_EQ(machine.starts()[0].contents, "old program");
    EXPECT_EQ(machine.starts()[0].params, "/afterupgrade");
    EXPECT_TRUE(machine.priority_restored());
}

TEST_F(RunUpdater, AFailedReplacementKeepsTheOldFileAndTheDownload) {
    machine.add_file(kProgram, "old program");
    machine.add_file(kFolder + "Qirelo.exe.uTMP", "new program");
    machine.add_file(kFolder + "locked.dll", "old dll");
    machine.add_file(kFolder + "locked.dll.uTMP", "new dll");
    machine.add_file(kFolder + "after.txt.uTMP", "new text");
    machine.fail_replacing(kFolder + "locked.dll");
    machine.fail_replacing(kProgram);

    run_updater(command(), machine);

    EXPECT_EQ(contents(kProgram), "old program");
    EXPECT_EQ(contents(kFolder + "Qirelo.exe.uTMP"), "new program");
    EXPECT_EQ(contents(kFolder + "locked.dll"), "old dll");
    EXPECT_EQ(contents(kFolder + "locked.dll.uTMP"), "new dll");
    EXPECT_EQ(contents(kFolder + "after.txt"), "new text"); // the others go on
    ASSERT_EQ(machine.starts().size(), 1u);
    EXPECT_EQ(machine.starts()[0].contents, "old program");
}

TEST_F(RunUpdater, TouchesOnlyPlainNamesOfTheProgramsFolder) {
    machine.add_file(kProgram, "old program");
    machine.add_file(kFolder + "CON.uTMP", "device");
    machine.add_file(kFolder + ".uTMP", "no name");
    machine.add_file(kFolder + "...uTMP", "dots");
    machine.add_file(kFolder + "trailing .uTMP", "blank");
    machine.add_file(kFolder + "ok.txt.utmp", "any case of the suffix");
    machine.add_file("C:\\Other\\x.txt.uTMP", "elsewhere");

    run_updater(command(), machine);

    EXPECT_EQ(contents(kFolder + "CON.uTMP"), "device");
    EXPECT_EQ(contents(kFolder + ".uTMP"), "no name");
    EXPECT_EQ(contents(kFolder + "...uTMP"), "dots");
    EXPECT_EQ(contents(kFolder + "trailing .uTMP"), "blank");
    EXPECT_EQ(contents(kFolder + "ok.txt"), "any case of the suffix");
    EXPECT_EQ(contents("C:\\Other\\x.txt.uTMP"), "elsewhere");
    for (const std::string& path : machine.touched())
        EXPECT_TRUE(path.starts_with(kFolder)) << path;
}

TEST_F(RunUpdater, TheFirstDownloadedProgramReplacesTheProgramUnderItsListedName) {
    // The folder lists the program in its own letter case; the command may not.
    machine.add_file(kFolder + "QIRELO.EXE", "old program");
    machine.add_file(kFolder + "QireloSetup2.exe.uTMP", "new program");
    machine.add_file(kFolder + "tool.exe.uTMP", "new tool");

    run_updater(command(), machine);

    EXPECT_EQ(contents(kFolder + "QIRELO.EXE"), "new program");
    EXPECT_EQ(machine.find(kFolder + "QIRELO.EXE")->path, kFolder + "QIRELO.EXE");
    EXPECT_FALSE(exists(kFolder + "QireloSetup2.exe"));
    EXPECT_EQ(contents(kFolder + "tool.exe"), "new tool");
    EXPECT_EQ(machine.starts().at(0).contents, "new program");
}

TEST_F(RunUpdater, AMissingProgramIsNotWaitedFor) {
    machine.add_file(kFolder + "Qirelo.exe.uTMP", "new program");

    run_updater(command(), machine);

    EXPECT_FALSE(machine.waited_at_lowest_priority());
    EXPECT_EQ(contents(kProgram), "new program");
    EXPECT_EQ(machine.starts().at(0).params, "/afterupgrade");
}

TEST_F(RunUpdater, ExternalSetupRunsFirstThenIsDeletedThenTheProgramStarts) {
    machine.add_file(kProgram, "old program");
    machine.add_file(kFolder + "setup.exe.uTMP", "setup");
    machine.hold_until(kFolder + "setup.exe", 5min); // a user reading its pages

    run_updater(command(UpgradeMethod::external_setup), machine);

    ASSERT_EQ(machine.starts().size(), 2u);
    EXPECT_EQ(machine.starts()[0].path, kFolder + "setup.exe");
    EXPECT_EQ(machine.starts()[0].params, "/afterupgrade");
    EXPECT_EQ(machine.starts()[1].path, kProgram);
    EXPECT_EQ(machine.starts()[1].contents, "old program");
    EXPECT_GE(machine.elapsed(), 5min);
    EXPECT_FALSE(exists(kFolder + "setup.exe"));
}

TEST_F(RunUpdater, ExternalSetupThatCannotBePutInPlaceLeavesTheProgramToStart) {
    machine.add_file(kProgram, "old program");
    machine.add_file(kFolder + "setup.exe.uTMP", "setup");
    machine.fail_replacing(kFolder + "setup.exe");

    run_updater(command(UpgradeMethod::external_setup), machine);

    ASSERT_EQ(machine.starts().size(), 1u);
    EXPECT_EQ(machine.starts()[0].path, kProgram);
    EXPECT_EQ(contents(kFolder + "setup.exe.uTMP"), "setup");
}

TEST_F(RunUpdater, APathWithoutAFolderIsRefused) {
    machine.add_file("Qirelo.exe", "program");
    EXPECT_THROW(run_updater({"Qirelo.exe", "/afterupgrade"}, machine), BadUpdaterCommand);
    EXPECT_TRUE(machine.starts().empty());
}

} // namespace
