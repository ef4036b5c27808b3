// qirelo-updater for real on Linux files: written out from the bytes the
// client carries, it waits for a running program, replaces it and starts the
// new version with the restart parameters, in folders with blanks.

#include <gtest/gtest.h>

#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "platform/profile/os_profile.h"
#include "upgrade/updater/stored_updater.h"

extern char** environ;

namespace {

using namespace qirelo::upgrade::updater;
namespace fs = std::filesystem;

const std::string kBuild = qirelo::platform::OsMachine().executable_directory();

std::string read_file(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return "<missing>";
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void write_file(const std::string& path, const std::string& contents) {
    std::ofstream(path, std::ios::binary) << contents;
}

pid_t start(const std::string& path, const std::vector<std::string>& arguments) {
    std::vector<char*> argv{const_cast<char*>(path.c_str())};
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    pid_t child = 0;
    EXPECT_EQ(posix_spawn(&child, path.c_str(), nullptr, nullptr, argv.data(), environ), 0);
    return child;
}

int exit_code(pid_t child) {
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

class UpdaterOnLinux : public testing::Test {
protected:
    void SetUp() override {
        const std::string base =
            (fs::temp_directory_path() / "qirelo updater ").string() + std::to_string(getpid());
        folder = base + " program/";
        updater_folder = base + " temp/";
        fs::create_directories(folder);
        fs::create_directories(updater_folder);
        program = folder + "qirelo";
        fs::copy_file(kBuild + "updater_test_program_old", program);
    }
    void TearDown() override {
        fs::remove_all(folder);
        fs::remove_all(updater_folder);
    }

    std::string restarted_report() {
        for (int i = 0; i < 200 && !fs::exists(folder + "ran.txt"); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        return read_file(folder + "ran.txt");
    }

    std::string folder;
    std::string updater_folder;
    std::string program;
};

TEST_F(UpdaterOnLinux, ReplacesARunningProgramOnlyOnceItEndsThenStartsTheNewOne) {
    const std::string updater = updater_folder + "qirelo-updater";
    write_stored_updater(updater);
    fs::copy_file(kBuild + "updater_test_program_new", program + ".uTMP");
    write_file(folder + "data.txt", "old data");
    write_file(folder + "data.txt.uTMP", "new data");

    const pid_t held = start(program, {"/hold"});
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    const pid_t run = start(updater, {program, "+/afterupgrade0"});
    // Halfway through the program's run the updater still waits, touching nothing.
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    int status = 0;
    EXPECT_EQ(waitpid(run, &status, WNOHANG), 0);
    EXPECT_EQ(read_file(folder + "data.txt"), "old data");
    EXPECT_EQ(exit_code(held), 0);
    EXPECT_EQ(exit_code(run), 0);

    EXPECT_EQ(restarted_report(), "new\n/afterupgrade");
    EXPECT_FALSE(fs::exists(program + ".uTMP"));
    EXPECT_EQ(read_file(folder + "data.txt"), "new data");
    EXPECT_FALSE(fs::exists(folder + "data.txt.uTMP"));
}

TEST_F(UpdaterOnLinux, ATargetThatCannotBeReplacedKeepsTheOldOneAndItsDownload) {
    fs::create_directory(folder + "data"); // rename(2) cannot put a file there
    write_file(folder + "data/inside", "old");
    write_file(folder + "data.uTMP", "new data");

    const pid_t run =
        start(kBuild + "../../../upgrade/updater/qirelo-updater", {program, "+/after", "upgrade0"});
    EXPECT_EQ(exit_code(run), 0);

    EXPECT_EQ(read_file(folder + "data/inside"), "old");
    EXPECT_EQ(read_file(folder + "data.uTMP"), "new data");
    EXPECT_EQ(restarted_report(), "old\n/after upgrade");
}

TEST(QireloExecutable, CarriesTheUpdaterItWritesOut) {
    const std::string built = read_file(kBuild + "../../../upgrade/updater/qirelo-updater");
    ASSERT_GT(built.size(), 1024u);
    const auto own = stored_updater();
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(own.data()), own.size()), built);

    const std::string client = read_file(kBuild + "../../../app/linux/qirelo");
    ASSERT_GT(client.size(), built.size());
    EXPECT_NE(std::search(client.begin(), client.end(), built.begin(), built.end()), client.end());
}

TEST(StoredUpdater, AFolderThatCannotHoldItIsReported) {
    EXPECT_THROW(write_stored_updater("/nonexistent folder/qirelo-updater"), StoredUpdaterError);
}

} // namespace
