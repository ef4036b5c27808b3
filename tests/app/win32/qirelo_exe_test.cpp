// Qirelo.exe itself: a GUI-subsystem program with its icon and the version
// resource 2013.8.9.0 that opens its main window and ends when it is closed.

#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "platform/profile/os_profile.h"
#include "tests/http/support/script_server.h"
#include "tests/platform/shell/win32_html_class.h"
#include "tests/platform/shell/win32_recording_browser.h"

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
    char window_class[64] = {};
    GetClassNameA(window, window_class, sizeof window_class);
    // A message box may bear the same caption.
    if (owner == wanted->process && IsWindowVisible(window) &&
        std::wstring(title) == L"Qirelo在线客户端" && std::string(window_class) != "#32770") {
        wanted->window = window;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK count_window(HWND, LPARAM count) {
    ++*reinterpret_cast<int*>(count);
    return TRUE;
}

// Qirelo.exe started from the test, its standard output on a pipe (the fake
// power-off reports there), its main window found; closed and reaped at the end.
class RunningProgram {
public:
    RunningProgram() {
        SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
        HANDLE write_end = nullptr;
        if (!CreatePipe(&output_, &write_end, &inherit, 0))
            return;
        SetHandleInformation(output_, HANDLE_FLAG_INHERIT, 0);
        std::wstring command = L"\"" + program_path() + L"\"";
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdOutput = write_end;
        startup.hStdError = write_end;
        started_ = CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                  nullptr, &startup, &process_);
        CloseHandle(write_end);
        FoundWindow found{process_.dwProcessId};
        for (int i = 0; started_ && i < 400 && !found.window; ++i) {
            Sleep(50);
            EnumWindows(find_main_window, reinterpret_cast<LPARAM>(&found));
        }
        window_ = found.window;
        Sleep(500); // let it finish showing
    }
    ~RunningProgram() {
        if (process_.hProcess) {
            if (WaitForSingleObject(process_.hProcess, 0) != WAIT_OBJECT_0)
                TerminateProcess(process_.hProcess, 1);
            CloseHandle(process_.hThread);
            CloseHandle(process_.hProcess);
        }
        if (output_)
            CloseHandle(output_);
    }
    RunningProgram(const RunningProgram&) = delete;
    RunningProgram& operator=(const RunningProgram&) = delete;

    HWND window() const { return window_; }
    HANDLE process() const { return process_.hProcess; }

    // Reads the program's output until `wanted` shows or `seconds` pass.
    std::string output_until(const std::string& wanted, int seconds) {
        for (int i = 0; i < seconds * 20 && text_.find(wanted) == std::string::npos; ++i) {
            DWORD available = 0;
            if (PeekNamedPipe(output_, nullptr, 0, nullptr, &available, nullptr) && available) {
                std::string chunk(available, '\0');
                DWORD read = 0;
                ReadFile(output_, chunk.data(), available, &read, nullptr);
                text_.append(chunk.data(), read);
            } else {
                Sleep(50);
            }
        }
        return text_;
    }

    // Asks the window to close; true when the program ended with exit code 0.
    bool close() {
        PostMessageW(window_, WM_CLOSE, 0, 0);
        if (WaitForSingleObject(process_.hProcess, 15000) != WAIT_OBJECT_0)
            return false;
        DWORD exit_code = 1;
        GetExitCodeProcess(process_.hProcess, &exit_code);
        return exit_code == 0;
    }

private:
    HANDLE output_ = nullptr;
    PROCESS_INFORMATION process_{};
    bool started_ = false;
    HWND window_ = nullptr;
    std::string text_;
};

BOOL CALLBACK find_button(HWND window, LPARAM data) {
    auto* wanted = reinterpret_cast<std::pair<std::wstring, HWND>*>(data);
    wchar_t text[64] = {};
    GetWindowTextW(window, text, 64);
    if (wanted->first == text) {
        wanted->second = window;
        return FALSE;
    }
    return TRUE;
}

TEST(QireloExe, OpensItsMainWindowAndEndsWhenItIsClosed) {
    RunningProgram program;
    ASSERT_NE(program.window(), nullptr) << "no main window within 20 s";

    int children = 0;
    EnumChildWindows(program.window(), count_window, reinterpret_cast<LPARAM>(&children));
    EXPECT_GT(children, 30);
    HWND status = FindWindowExW(program.window(), nullptr, STATUSCLASSNAMEW, nullptr);
    ASSERT_NE(status, nullptr);
    // Another process's status bar writes the panel's text into a buffer of
    // that process.
    void* remote = VirtualAllocEx(program.process(), nullptr, 256, MEM_COMMIT, PAGE_READWRITE);
    ASSERT_NE(remote, nullptr);
    SendMessageW(status, SB_GETTEXTW, 0, reinterpret_cast<LPARAM>(remote));
    wchar_t text[128] = {};
    ReadProcessMemory(program.process(), remote, text, sizeof text - sizeof(wchar_t), nullptr);
    VirtualFreeEx(program.process(), remote, 0, MEM_RELEASE);
    EXPECT_STREQ(text, L"版本2013.8.9.0");

    EXPECT_TRUE(program.close()) << "the program did not end cleanly after its window closed";
}

// The countdown runs on the program's own timer, fifteen one-second steps,
// and ends in the power-off (the fake one, which only reports).
TEST(QireloExe, ShutdownButtonRunsTheCountdownToThePowerOff) {
    SetEnvironmentVariableA("QIRELO_FAKE_POWER", "1");
    RunningProgram program;
    SetEnvironmentVariableA("QIRELO_FAKE_POWER", nullptr);
    ASSERT_NE(program.window(), nullptr) << "no main window within 20 s";
    std::pair<std::wstring, HWND> button{L"立即关机(15秒后)", nullptr};
    EnumChildWindows(program.window(), find_button, reinterpret_cast<LPARAM>(&button));
    ASSERT_NE(button.second, nullptr);

    PostMessageW(button.second, BM_CLICK, 0, 0);
    Sleep(3000);
    wchar_t caption[64] = {};
    GetWindowTextW(button.second, caption, 64);
    EXPECT_STRNE(caption, L"立即关机(15秒后)") << "the caption does not count down";
    EXPECT_EQ(program.output_until("power-off requested", 8), "") << "power-off before 11 s";
    EXPECT_NE(program.output_until("power-off requested", 12).find("power-off requested"),
              std::string::npos)
        << "no power-off within 23 s of the click";
    EXPECT_TRUE(program.close());
}

// --- The version check at start-up and on the button, against a loopback
// update server, the page going to a recording browser.

struct FoundBox {
    DWORD process;
    std::wstring caption;
    HWND window = nullptr;
};

BOOL CALLBACK find_box(HWND window, LPARAM data) {
    auto* wanted = reinterpret_cast<FoundBox*>(data);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    wchar_t title[64] = {};
    GetWindowTextW(window, title, 64);
    char window_class[64] = {};
    GetClassNameA(window, window_class, sizeof window_class);
    if (owner == wanted->process && IsWindowVisible(window) && wanted->caption == title &&
        std::string(window_class) == "#32770") {
        wanted->window = window;
        return FALSE;
    }
    return TRUE;
}

// The program's message box with `caption`, waiting up to `seconds`.
HWND message_box(HANDLE process, const std::wstring& caption, int seconds) {
    FoundBox found{GetProcessId(process), caption};
    for (int i = 0; i < seconds * 20 && !found.window; ++i) {
        EnumWindows(find_box, reinterpret_cast<LPARAM>(&found));
        if (!found.window)
            Sleep(50);
    }
    return found.window;
}

std::wstring box_text(HWND box) {
    wchar_t text[256] = {};
    GetDlgItemTextW(box, 0xFFFF, text, 256); // the box's static text
    return text;
}

// An update server on loopback whose info file announces `version`; the
// program started while it runs asks it.
class UpdateServer {
public:
    explicit UpdateServer(const std::string& version)
        : info_("#version=" + version + "\r\n#method=2\r\n#url=http://127.0.0.1:12860/setup/\r\n"),
          server_([this](qirelo::http::testing::Peer& peer) {
              while (peer.read_request()) {
                  peer.send(qirelo::http::testing::response("HTTP/1.1 200 OK\r\n", info_));
              }
          }) {
        const std::string host = "127.0.0.1:" + std::to_string(server_.port());
        SetEnvironmentVariableA("QIRELO_SITE_HOST", host.c_str());
    }
    ~UpdateServer() { SetEnvironmentVariableA("QIRELO_SITE_HOST", nullptr); }
    UpdateServer(const UpdateServer&) = delete;
    UpdateServer& operator=(const UpdateServer&) = delete;

    std::wstring download_page() const {
        const std::string page = "127.0.0.1:" + std::to_string(server_.port()) + "/setup";
        return std::wstring(page.begin(), page.end());
    }
    int requests() const { return static_cast<int>(server_.requests().size()); }

private:
    std::string info_;
    qirelo::http::testing::ScriptServer server_;
};

TEST(QireloExe, ANewerVersionAtStartIsToldAndTheProgramEndsAfterOk) {
    const qirelo::testing::RecordingBrowser browser;
    const qirelo::testing::HtmlClass html("\"" + browser.program.string() + "\" \"%1\"");
    UpdateServer server("2099.1.1.0");
    RunningProgram program;
    ASSERT_NE(program.window(), nullptr) << "no main window within 20 s";

    const HWND box = message_box(program.process(), L"Qirelo在线客户端", 20);
    ASSERT_NE(box, nullptr) << "no new-version box";
    EXPECT_EQ(box_text(box),
              L"新版本已发布，请下载安装后再使用\n\r\n\r安装网址(已打开)" + server.download_page());
    if (html.made) {
        EXPECT_EQ(browser.arguments(), "[http://127.0.0.1:12860/setup/]\r\n");
    }

    PostMessageW(box, WM_COMMAND, IDOK, 0);
    ASSERT_EQ(WaitForSingleObject(program.process(), 15000), WAIT_OBJECT_0)
        << "the program did not end after the box";
    DWORD exit_code = 1;
    GetExitCodeProcess(program.process(), &exit_code);
    EXPECT_EQ(exit_code, 0u);
}

TEST(QireloExe, TheSameVersionStartsSilentlyAndTheButtonSaysSo) {
    UpdateServer server("2013.8.9.0");
    RunningProgram program;
    ASSERT_NE(program.window(), nullptr) << "no main window within 20 s";
    EXPECT_EQ(message_box(program.process(), L"Qirelo在线客户端", 2), nullptr);
    EXPECT_EQ(server.requests(), 1);

    std::pair<std::wstring, HWND> button{L"检查版本", nullptr};
    EnumChildWindows(program.window(), find_button, reinterpret_cast<LPARAM>(&button));
    ASSERT_NE(button.second, nullptr);
    PostMessageW(button.second, BM_CLICK, 0, 0);
    const HWND box = message_box(program.process(), L"升级提示", 20);
    ASSERT_NE(box, nullptr) << "no answer to the button";
    EXPECT_EQ(box_text(box), L"当前已是最新版本！");
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    Sleep(500);
    EXPECT_EQ(WaitForSingleObject(program.process(), 0), static_cast<DWORD>(WAIT_TIMEOUT))
        << "the program ended after the button's box";
    EXPECT_TRUE(program.close());
}

TEST(QireloExe, AnUnreachableUpdateServerLeavesTheStartSilent) {
    std::string refused;
    {
        qirelo::http::testing::ScriptServer gone(qirelo::http::testing::serve({}));
        refused = "127.0.0.1:" + std::to_string(gone.port());
    }
    SetEnvironmentVariableA("QIRELO_SITE_HOST", refused.c_str());
    RunningProgram program;
    SetEnvironmentVariableA("QIRELO_SITE_HOST", nullptr);
    ASSERT_NE(program.window(), nullptr) << "no main window within 20 s";
    EXPECT_EQ(message_box(program.process(), L"Qirelo在线客户端", 3), nullptr);
    EXPECT_TRUE(program.close());
}

} // namespace
