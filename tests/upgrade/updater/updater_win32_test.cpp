// QireloUpdater.exe for real, under Wine: written out from the resource it is
// stored in, it waits for a program that holds its own file, replaces it and
// starts the new version with the restart parameters, in folders with blanks.

#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/profile/os_profile.h"
#include "upgrade/updater/stored_updater.h"

namespace {

using namespace qirelo::upgrade::updater;

const std::string kBuild = qirelo::platform::OsMachine().executable_directory();

std::wstring wide(const std::string& ascii) {
    return std::wstring(ascii.begin(), ascii.end());
}

std::string read_file(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return "<missing>";
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void write_file(const std::string& path, const std::string& contents) {
    std::ofstream(path, std::ios::binary) << contents;
}

bool exists(const std::string& path) {
    return GetFileAttributesW(wide(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Whether a process takes the file within a few seconds.
bool becomes_held(const std::string& path) {
    for (int i = 0; i < 200; ++i) {
        HANDLE file =
            CreateFileW(wide(path).c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE && GetLastError() == ERROR_SHARING_VIOLATION)
            return true;
        if (file != INVALID_HANDLE_VALUE)
            CloseHandle(file);
        Sleep(20);
    }
    return false;
}

class UpdaterOnWine : public testing::Test {
protected:
    void SetUp() override {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        const std::string base =
            std::string(temp) + "qirelo updater " + std::to_string(GetCurrentProcessId());
        folder = base + " program\\";
        updater_folder = base + " temp\\";
        CreateDirectoryA(folder.c_str(), nullptr);
        CreateDirectoryA(updater_folder.c_str(), nullptr);
        program = folder + "Program.exe";
        CopyFileA((kBuild + "updater_test_program_old.exe").c_str(), program.c_str(), FALSE);
    }

    void TearDown() override {
        for (const std::string& dir : {folder, updater_folder}) {
            WIN32_FIND_DATAA found;
            HANDLE search = FindFirstFileA((dir + "*").c_str(), &found);
            while (search != INVALID_HANDLE_VALUE) {
                SetFileAttributesA((dir + found.cFileName).c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA((dir + found.cFileName).c_str());
                if (!FindNextFileA(search, &found))
                    break;
            }
            FindClose(search);
            RemoveDirectoryA(dir.c_str());
        }
    }

    PROCESS_INFORMATION start(const std::string& application, const std::string& arguments) {
        std::wstring command = L"\"" + wide(application) + L"\" " + wide(arguments);
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process{};
        EXPECT_TRUE(CreateProcessW(wide(application).c_str(), command.data(), nullptr, nullptr,
                                   FALSE, 0, nullptr, nullptr, &startup, &process));
        CloseHandle(process.hThread);
        return process;
    }

    // Runs the updater to its end; its exit code.
    DWORD run_updater(const std::string& updater, const std::string& arguments) {
        PROCESS_INFORMATION process = start(updater, arguments);
        EXPECT_EQ(WaitForSingleObject(process.hProcess, 60000), WAIT_OBJECT_0);
        DWORD code = 99;
        GetExitCodeProcess(process.hProcess, &code);
        CloseHandle(process.hProcess);
        return code;
    }

    // What the restarted program reported: its version and arguments.
    std::string restarted_report() {
        for (int i = 0; i < 200 && !exists(folder + "ran.txt"); ++i)
            Sleep(50);
        return read_file(folder + "ran.txt");
    }

    std::string folder;
    std::string updater_folder;
    std::string program;
};

TEST_F(UpdaterOnWine, ReplacesAHeldProgramOnlyOnceItEndsThenStartsTheNewOne) {
    const std::string updater = updater_folder + "QireloUpdater.exe";
    write_stored_updater(updater);
    CopyFileA((kBuild + "updater_test_program_new.exe").c_str(), (program + ".uTMP").c_str(),
              FALSE);
    write_file(folder + "data.txt", "old data");
    write_file(folder + "data.txt.uTMP", "new data");

    PROCESS_INFORMATION held = start(program, "/hold");
    ASSERT_TRUE(becomes_held(program));
    EXPECT_EQ(run_updater(updater, "\"" + program + "\" +/afterupgrade0"), 0u);

    EXPECT_EQ(WaitForSingleObject(held.hProcess, 0), WAIT_OBJECT_0)
        << "the updater ended before the program it waits for";
    CloseHandle(held.hProcess);
    EXPECT_EQ(restarted_report(), "new\n/afterupgrade");
    EXPECT_FALSE(exists(program + ".uTMP"));
    EXPECT_EQ(read_file(folder + "data.txt"), "new data");
    EXPECT_FALSE(exists(folder + "data.txt.uTMP"));
}

TEST_F(UpdaterOnWine, ATargetThatCannotBeReplacedKeepsTheOldFileAndItsDownload) {
    write_file(folder + "data.txt", "old data");
    write_file(folder + "data.txt.uTMP", "new data");
    // Held open by someone who lets no one delete or rename it.
    HANDLE data = CreateFileA((folder + "data.txt").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(data, INVALID_HANDLE_VALUE);

    // The path unquoted, as the restarting program always wrote it.
    EXPECT_EQ(run_updater(kBuild + "..\\..\\..\\upgrade\\updater\\QireloUpdater.exe",
                          program + " +/afterupgrade0"),
              0u);
    CloseHandle(data);

    EXPECT_EQ(read_file(folder + "data.txt"), "old data");
    EXPECT_EQ(read_file(folder + "data.txt.uTMP"), "new data");
    EXPECT_EQ(restarted_report(), "old\n/afterupgrade");
}

TEST(QireloExe, CarriesTheUpdaterAsItsUpdaterResource) {
    const std::string built = read_file(kBuild + "..\\..\\..\\upgrade\\updater\\QireloUpdater.exe");
    ASSERT_GT(built.size(), 1024u);

    HMODULE qirelo = LoadLibraryExW(wide(kBuild + "..\\..\\..\\app\\Qirelo.exe").c_str(), nullptr,
                                    LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(qirelo, nullptr);
    HRSRC resource = FindResourceW(qirelo, L"UPDATER", L"UPDATER");
    ASSERT_NE(resource, nullptr);
    const char* bytes = static_cast<const char*>(LockResource(LoadResource(qirelo, resource)));
    EXPECT_EQ(std::string(bytes, SizeofResource(qirelo, resource)), built);
    FreeLibrary(qirelo);

    const auto own = stored_updater();
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(own.data()), own.size()), built);

    // It opens no console window when it starts.
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(built.data());
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(built.data() + dos->e_lfanew);
    EXPECT_EQ(nt->OptionalHeader.Subsystem, IMAGE_SUBSYSTEM_WINDOWS_GUI);
}

TEST(StoredUpdater, AFolderThatCannotHoldItIsReported) {
    EXPECT_THROW(write_stored_updater("Z:\\no such folder\\at all\\QireloUpdater.exe"),
                 StoredUpdaterError);
}

} // namespace
