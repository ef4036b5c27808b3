// Qirelo.exe itself: a GUI-subsystem program with its icon and the version
// resource 2013.8.9.0 that opens its main window and ends when it is closed.

#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/profile/os_profile.h"

namespace {

std::wstring program_path() {
    const std::string here = qirelo::platform::OsMachine().executable_directory();
    const std::string path = here + "..\\..\\app\\Qirelo.exe";
    return std::wstring(path.begin(), path.end());
}

std::vector<char> file_bytes(const std::wstring& path) {
    std::vector<char> bytes;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return bytes;
    bytes.resize(GetFileSize(file, nullptr));
    DWORD read = 0;
    ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    CloseHandle(file);
    return bytes;
}

TEST(QireloExe, IsAWindowsGuiProgram) {
    const std::vector<char> bytes = file_bytes(program_path());
    ASSERT_GT(bytes.size(), 0x200u);
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(bytes.data());
    ASSERT_EQ(dos->e_magic, IMAGE_DOS_SIGNATURE);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(bytes.data() + dos->e_lfanew);
    ASSERT_EQ(nt->Signature, IMAGE_NT_SIGNATURE);
    EXPECT_EQ(nt->OptionalHeader.Subsystem, IMAGE_SUBSYSTEM_WINDOWS_GUI);
}

TEST(QireloExe, CarriesVersion2013_8_9_0AndAnIcon) {
    const std::wstring path = program_path();
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
    ASSERT_GT(size, 0u);
    std::vector<char> info(size);
    ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, size, info.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(HIWORD(fixed->dwFileVersionMS), 2013);
    EXPECT_EQ(LOWORD(fixed->dwFileVersionMS), 8);
    EXPECT_EQ(HIWORD(fixed->dwFileVersionLS), 9);
    EXPECT_EQ(LOWORD(fixed->dwFileVersionLS), 0);

    HMODULE module = LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(module, nullptr);
    EXPECT_NE(FindResourceW(module, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(14)),
              nullptr); // RT_GROUP_ICON
    FreeLibrary(module);
}

struct FoundWindow {
    DWORD process;
    HWND window = nullptr;
};

// Window enumeration calls back with the system's calling convention, which a
// lambda does not have in a 32-bit build.
BOOL CALLBACK find_main_window(HWND window, LPARAM data) {
    auto* wanted = reinterpret_cast<FoundWindow*>(data);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    wchar_t title[64] = {};
    GetWindowTextW(window, title, 64);
    if (owner == wanted->process && IsWindowVisible(window) &&
        std::wstring(title) == L"Qirelo在线客户端") {
        wanted->window = window;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK count_window(HWND, LPARAM count) {
    ++*reinterpret_cast<int*>(count);
    return TRUE;
}

TEST(QireloExe, OpensItsMainWindowAndEndsWhenItIsClosed) {
    std::wstring command = L"\"" + program_path() + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    ASSERT_TRUE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                               nullptr, &startup, &process));

    FoundWindow found{process.dwProcessId};
    for (int i = 0; i < 400 && !found.window; ++i) {
        Sleep(50);
        EnumWindows(find_main_window, reinterpret_cast<LPARAM>(&found));
    }
    ASSERT_NE(found.window, nullptr) << "no main window within 20 s";
    Sleep(500); // let it finish showing

    int children = 0;
    EnumChildWindows(found.window, count_window, reinterpret_cast<LPARAM>(&children));
    EXPECT_GT(children, 30);
    HWND status = FindWindowExW(found.window, nullptr, STATUSCLASSNAMEW, nullptr);
    ASSERT_NE(status, nullptr);
    // Another process's status bar writes the panel's text into a buffer of
    // that process.
    void* remote = VirtualAllocEx(process.hProcess, nullptr, 256, MEM_COMMIT, PAGE_READWRITE);
    ASSERT_NE(remote, nullptr);
    SendMessageW(status, SB_GETTEXTW, 0, reinterpret_cast<LPARAM>(remote));
    wchar_t text[128] = {};
    ReadProcessMemory(process.hProcess, remote, text, sizeof text - sizeof(wchar_t), nullptr);
    VirtualFreeEx(process.hProcess, remote, 0, MEM_RELEASE);
    EXPECT_STREQ(text, L"版本2013.8.9.0");

    PostMessageW(found.window, WM_CLOSE, 0, 0);
    const DWORD waited = WaitForSingleObject(process.hProcess, 15000);
    EXPECT_EQ(waited, WAIT_OBJECT_0) << "the program did not end after its window closed";
    if (waited != WAIT_OBJECT_0)
        TerminateProcess(process.hProcess, 1);
    DWORD exit_code = 1;
    GetExitCodeProcess(process.hProcess, &exit_code);
    EXPECT_EQ(exit_code, 0u);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
}

} // namespace
