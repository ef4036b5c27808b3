// Stands in for the program being upgraded, built as an old and a new
// version. "/hold": keeps its own file as a running program does (on Windows
// open without write sharing) for a second and a half. Otherwise: writes its
// version and its arguments, one a line, to "ran.txt" in its folder.

#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <thread>

#ifdef _WIN32
#include <windows.h>
#endif

#include "platform/profile/os_profile.h"

namespace {

void hold_own_file_a_moment() {
#ifdef _WIN32
    wchar_t own[MAX_PATH];
    GetModuleFileNameW(nullptr, own, MAX_PATH);
    // Again while the test's own look at the file is in the way.
    HANDLE file = INVALID_HANDLE_VALUE;
    for (int i = 0; i < 100 && file == INVALID_HANDLE_VALUE; ++i, Sleep(10))
        file = CreateFileW(own, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
#endif
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
#ifdef _WIN32
    CloseHandle(file);
#endif
}

} // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::string(argv[1]) == "/hold") {
        hold_own_file_a_moment();
        return 0;
    }
    const std::string folder = qirelo::platform::OsMachine().executable_directory();
    {
        std::ofstream report(folder + "ran.part", std::ios::binary);
        report << TEST_PROGRAM_VERSION;
        for (int i = 1; i < argc; ++i)
            report << '\n' << argv[i];
    }
    // Whole or not at all: the test reads it as soon as it appears.
    std::rename((folder + "ran.part").c_str(), (folder + "ran.txt").c_str());
    return 0;
}
