// Starting the updater at a restart, on the real system: the updater is named
// as the program to run and the paths reach it whole, blanks and all, as the
// two arguments the updater reads (PROGRAM and +PARAMETERS).

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

#include "platform/profile/os_profile.h"
#include "upgrade/restart_process.h"

namespace qirelo::upgrade {
namespace {

namespace fs = std::filesystem;
using ::testing::EndsWith;

#ifdef _WIN32
constexpr const char* kTestProgram = "updater_test_program_new.exe";
constexpr const char* kProgram = "C:\\Program Files\\Qirelo Client\\Qirelo.exe";
#else
constexpr const char* kTestProgram = "updater_test_program_new";
constexpr const char* kProgram = "/opt/Qirelo Client/qirelo";
#endif

std::string ReadWhenThere(const fs::path& path) {
    for (int i = 0; i < 500 && !fs::exists(path); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), {}};
}

TEST(RestartProcess, TheUpdaterGetsTheProgramAndTheParametersWhole) {
    const std::string build = platform::OsMachine().executable_directory();
    // A folder with a blank: unquoted, "...\restart test" would be searched for.
    const fs::path folder = fs::temp_directory_path() / "qirelo restart test";
    fs::remove_all(folder);
    fs::create_directories(folder);
    const fs::path updater = folder / kTestProgram;
    fs::copy_file(build + kTestProgram, updater);

    ASSERT_TRUE(StartUpdaterProcess(updater.string(), kProgram, "/afterupgrade0"));

    EXPECT_EQ(ReadWhenThere(folder / "ran.txt"),
              std::string("new\n") + kProgram + "\n+/afterupgrade0");
    EXPECT_FALSE(StartUpdaterProcess((folder / "none here").string(), kProgram, "/x"));
    fs::remove_all(folder);
}

TEST(RestartProcess, TheProgramKnowsItsOwnPath) {
    const std::string own = OwnProgramPath();
    EXPECT_TRUE(fs::exists(own)) << own;
    EXPECT_THAT(own, EndsWith(
#ifdef _WIN32
                         "upgrade_restart_process_test.exe"
#else
                         "upgrade_restart_process_test"
#endif
                         ));
    EXPECT_EQ(platform::OsMachine().executable_directory() + fs::path(own).filename().string(),
              own);
}

} // namespace
} // namespace qirelo::upgrade
