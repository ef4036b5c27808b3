// The machine's own opener and on-line check: natively the Linux ones
// (xdg-open, the network interfaces), under Wine the Win32 ones (the real
// registry, shell32 and Winsock).

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>

#ifdef _WIN32
#include <windows.h>

#include <algorithm>

#include "platform/shell/html_opener.h"
#include "platform/win32/shell.h"
#include "tests/platform/shell/win32_html_class.h"
#else
#include <arpa/inet.h>
#include <net/if.h>
#include <netinet/in.h>

#include "platform/linux/shell.h"
#endif

namespace qirelo::platform {
namespace {

namespace fs = std::filesystem;

#ifdef _WIN32

using win32::RegistryRoot;
using win32::Win32OnlineCheck;
using win32::Win32RegistryKeys;
using win32::Win32Shell;

// A scratch branch under the current user, removed again at the end.
struct ScratchKey {
    std::string path = "Software\\QireloTest\\shell_" + std::to_string(::GetCurrentProcessId());
    ScratchKey() = default;
    ~ScratchKey() { ::RegDeleteTreeA(HKEY_CURRENT_USER, path.c_str()); }

    void set(const std::string& key, const std::string& value, DWORD type = REG_SZ,
             const char* name = nullptr) const {
        HKEY handle = nullptr;
        ASSERT_EQ(::RegCreateKeyExA(HKEY_CURRENT_USER, (path + "\\" + key).c_str(), 0, nullptr, 0,
                                    KEY_WRITE, nullptr, &handle, nullptr),
                  ERROR_SUCCESS);
        ::RegSetValueExA(handle, name, 0, type, reinterpret_cast<const BYTE*>(value.data()),
                         static_cast<DWORD>(value.size() + (type == REG_DWORD ? 0 : 1)));
        ::RegCloseKey(handle);
    }
    void set_dword(const std::string& key, const char* name, DWORD value) const {
        set(key, std::string(reinterpret_cast<const char*>(&value), sizeof value), REG_DWORD, name);
    }
    Win32RegistryKeys keys() const { return Win32RegistryKeys(RegistryRoot::CurrentUser, path); }
};

TEST(Win32RegistryKeys, DefaultValuesSubkeysInListedOrderAndExpandedStrings) {
    ScratchKey scratch;
    scratch.set(".html", "qirelo.test.html");
    scratch.set("qirelo.test.html\\shell\\print\\command", "C:\\print.exe %1");
    scratch.set("qirelo.test.html\\shell\\OpenNew\\command", "%SystemRoot%\\b.exe %1",
                REG_EXPAND_SZ);
    scratch.set_dword("qirelo.test.html", nullptr, 7);
    Win32RegistryKeys keys = scratch.keys();

    EXPECT_EQ(keys.default_value(".html"), "qirelo.test.html");
    EXPECT_TRUE(keys.key_exists("qirelo.test.html"));
    EXPECT_FALSE(keys.key_exists("qirelo.no.such.class"));
    EXPECT_EQ(keys.default_value("qirelo.test.html"), std::nullopt); // a number, not text
    EXPECT_EQ(keys.default_value("qirelo.no.such.class"), std::nullopt);
    EXPECT_EQ(keys.subkey_names("qirelo.test.html\\shell"),
              (std::vector<std::string>{"OpenNew", "print"})); // the registry sorts them
    EXPECT_EQ(keys.subkey_names("nothing here"), std::vector<std::string>{});

    char windows[MAX_PATH];
    ::GetEnvironmentVariableA("SystemRoot", windows, MAX_PATH);
    EXPECT_EQ(keys.default_value("qirelo.test.html\\shell\\OpenNew\\command"),
              std::string(windows) + "\\b.exe %1");
    EXPECT_EQ(shell::FindHtmlOpener(keys), std::string(windows) + "\\b.exe %1");
}

TEST(Win32RegistryKeys, FourByteValues) {
    ScratchKey scratch;
    scratch.set_dword("ras", "Remote Connection", 0x01020304);
    scratch.set("ras", "text", REG_SZ, "Text");
    Win32RegistryKeys keys = scratch.keys();
    EXPECT_EQ(keys.four_byte_value("ras", "Remote Connection"), 0x01020304u);
    EXPECT_EQ(keys.four_byte_value("ras", "Missing"), std::nullopt);
    EXPECT_EQ(keys.four_byte_value("ras", "Text"), std::nullopt); // five bytes
    EXPECT_EQ(keys.four_byte_value("no such key", "Remote Connection"), std::nullopt);
}

TEST(Win32Shell, TheHtmlOpenerOfTheClassesBranch) {
    const std::string command = R"("C:\windows\system32\winebrowser.exe" "%1")";
    const testing::HtmlClass registration(command);
    if (!registration.made) {
        GTEST_SKIP() << "the machine has its own .html class: " << Win32Shell().html_open_command();
    }
    EXPECT_EQ(Win32Shell().html_open_command(), command);
}

TEST(Win32Shell, ProgramFilesByPathOrByTheSystemSearch) {
    Win32Shell shell;
    char system[MAX_PATH];
    ::GetSystemDirectoryA(system, MAX_PATH);
    EXPECT_TRUE(shell.program_file_exists(std::string(system) + "\\notepad.exe"));
    EXPECT_TRUE(shell.program_file_exists("notepad.exe"));
    EXPECT_TRUE(shell.program_file_exists("notepad"));
    EXPECT_FALSE(shell.program_file_exists(std::string(system) + "\\no_such_qirelo.exe"));
    EXPECT_FALSE(shell.program_file_exists("no_such_qirelo.exe"));
    EXPECT_FALSE(shell.program_file_exists(system)); // a folder
    EXPECT_FALSE(shell.program_file_exists(""));
}

// Waits for a file that a started program writes, as long as a slow start
// under Wine can take.
bool AppearsSoon(const fs::path& path) {
    for (int i = 0; i < 600 && !fs::exists(path); ++i) {
        ::Sleep(50);
    }
    return fs::exists(path);
}

TEST(Win32Shell, ShellExecuteRunsTheProgramWithItsParameters) {
    const fs::path made = fs::temp_directory_path() /
                          ("qirelo_shell_made_" + std::to_string(::GetCurrentProcessId()));
    Win32Shell().shell_execute("cmd.exe", "/c mkdir \"" + made.string() + "\"");
    EXPECT_TRUE(AppearsSoon(made));
    fs::remove_all(made);
}

TEST(Win32Shell, ShellExecuteOpensADocumentWithoutParameters) {
    const fs::path folder = fs::temp_directory_path() /
                            ("qirelo_shell_open_" + std::to_string(::GetCurrentProcessId()));
    fs::create_directories(folder);
    const fs::path script = folder / "open me.bat";
    std::ofstream(script) << "@echo opened> \"" << (folder / "opened.txt").string() << "\"\r\n";
    Win32Shell().shell_execute(script.string(), "");
    EXPECT_TRUE(AppearsSoon(folder / "opened.txt"));
    ::Sleep(200); // let the script close the file before it goes
    std::error_code ignored;
    fs::remove_all(folder, ignored);
}

TEST(Win32OnlineCheck, TheDialUpValueDecidesWhenPresent) {
    ScratchKey scratch;
    scratch.set_dword("RemoteAccess", "Remote Connection", 1);
    EXPECT_TRUE(Win32OnlineCheck(
                    Win32RegistryKeys(RegistryRoot::CurrentUser, scratch.path + "\\RemoteAccess"))
                    .is_online());
    scratch.set_dword("RemoteAccess", "Remote Connection", 0);
    EXPECT_FALSE(Win32OnlineCheck(
                     Win32RegistryKeys(RegistryRoot::CurrentUser, scratch.path + "\\RemoteAccess"))
                     .is_online());
}

TEST(Win32OnlineCheck, WithoutTheValueTheLocalHostsLastAddressDecides) {
    ScratchKey scratch;
    const std::optional<std::string> address = Win32OnlineCheck::last_local_address();
    const bool online =
        Win32OnlineCheck(Win32RegistryKeys(RegistryRoot::CurrentUser, scratch.path + "\\absent"))
            .is_online();
    EXPECT_EQ(online, address.has_value() && *address != "127.0.0.1") << address.value_or("(none)");
    if (address) {
        EXPECT_EQ(std::count(address->begin(), address->end(), '.'), 3) << *address;
    }
}

#else

using native::InterfaceOnlineCheck;
using native::XdgShell;

struct TempFolder {
    fs::path path = fs::temp_directory_path() /
                    ("qirelo_shell_test_" + std::to_string(std::rand()) + "_" +
                     std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
    TempFolder() { fs::create_directories(path); }
    ~TempFolder() {
        std::error_code ignored;
        fs::remove_all(path, ignored);
    }
};

std::string ReadWhole(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Puts a stand-in xdg-open first on PATH for the test's run.
struct StandInXdgOpen {
    TempFolder folder;
    std::string saved_path = std::getenv("PATH") ? std::getenv("PATH") : "";
    fs::path record = folder.path / "arguments";

    StandInXdgOpen() {
        const fs::path script = folder.path / "xdg-open";
        std::ofstream(script) << "#!/bin/sh\nfor a in \"$@\"; do printf '[%s]' \"$a\"; done > "
                              << record.string() << ".part\nmv " << record.string() << ".part "
                              << record.string() << "\n";
        fs::permissions(script, fs::perms::owner_all);
        ::setenv("PATH", (folder.path.string() + ":" + saved_path).c_str(), 1);
    }
    ~StandInXdgOpen() { ::setenv("PATH", saved_path.c_str(), 1); }

    std::string arguments() const {
        for (int i = 0; i < 500 && !fs::exists(record); ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return ReadWhole(record);
    }
};

TEST(XdgShell, OpensTheUrlAsOneArgumentOfXdgOpen) {
    StandInXdgOpen xdg_open;
    XdgShell shell;
    EXPECT_EQ(shell.html_open_command(), "");
    shell.shell_execute("http://127.0.0.1:12860/setup/?a=1&b=$(id) `id`;x", "");
    EXPECT_EQ(xdg_open.arguments(), "[http://127.0.0.1:12860/setup/?a=1&b=$(id) `id`;x]");
}

TEST(XdgShell, AProgramGetsTheParametersAsOneArgument) {
    StandInXdgOpen xdg_open;
    XdgShell shell;
    shell.shell_execute((xdg_open.folder.path / "xdg-open").string(), "http://host/a b");
    EXPECT_EQ(xdg_open.arguments(), "[http://host/a b]");
}

TEST(XdgShell, ProgramFilesByPathOrOnThePath) {
    XdgShell shell;
    EXPECT_TRUE(shell.program_file_exists("/bin/sh"));
    EXPECT_TRUE(shell.program_file_exists("sh"));
    EXPECT_FALSE(shell.program_file_exists("/bin"));
    EXPECT_FALSE(shell.program_file_exists("/bin/no_such_qirelo"));
    EXPECT_FALSE(shell.program_file_exists("no_such_qirelo"));
    EXPECT_FALSE(shell.program_file_exists(""));
}

struct InterfaceEntry {
    sockaddr_storage address{};
    ifaddrs entry{};

    InterfaceEntry(int family, const char* text, unsigned flags) {
        entry.ifa_flags = flags;
        entry.ifa_addr = reinterpret_cast<sockaddr*>(&address);
        address.ss_family = static_cast<sa_family_t>(family);
        void* bytes =
            family == AF_INET
                ? static_cast<void*>(&reinterpret_cast<sockaddr_in*>(&address)->sin_addr)
                : static_cast<void*>(&reinterpret_cast<sockaddr_in6*>(&address)->sin6_addr);
        EXPECT_EQ(::inet_pton(family, text, bytes), 1) << text;
    }
};

TEST(InterfaceOnlineCheck, AnUpInterfaceWithAnAddressBeyondItsOwnLinkCounts) {
    EXPECT_TRUE(native::CountsAsOnline(InterfaceEntry(AF_INET, "192.168.1.20", IFF_UP).entry));
    EXPECT_TRUE(native::CountsAsOnline(InterfaceEntry(AF_INET6, "2001:db8::1", IFF_UP).entry));
    EXPECT_TRUE(native::CountsAsOnline(InterfaceEntry(AF_INET, "169.255.0.1", IFF_UP).entry));
    EXPECT_TRUE(native::CountsAsOnline(InterfaceEntry(AF_INET6, "fec0::1", IFF_UP).entry));
}

TEST(InterfaceOnlineCheck, LoopbackDownLinkLocalAndAddresslessEntriesDoNot) {
    EXPECT_FALSE(
        native::CountsAsOnline(InterfaceEntry(AF_INET, "127.0.0.1", IFF_UP | IFF_LOOPBACK).entry));
    EXPECT_FALSE(native::CountsAsOnline(InterfaceEntry(AF_INET, "192.168.1.20", 0).entry));
    EXPECT_FALSE(native::CountsAsOnline(InterfaceEntry(AF_INET, "169.254.3.4", IFF_UP).entry));
    EXPECT_FALSE(native::CountsAsOnline(InterfaceEntry(AF_INET6, "fe80::1", IFF_UP).entry));
    EXPECT_FALSE(native::CountsAsOnline(InterfaceEntry(AF_INET6, "febf::1", IFF_UP).entry));
    InterfaceEntry packet(AF_INET, "10.0.0.1", IFF_UP);
    packet.address.ss_family = AF_PACKET; // the link layer's own entry
    EXPECT_FALSE(native::CountsAsOnline(packet.entry));
    packet.entry.ifa_addr = nullptr;
    EXPECT_FALSE(native::CountsAsOnline(packet.entry));
}

#endif

} // namespace
} // namespace qirelo::platform
