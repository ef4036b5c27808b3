#include <windows.h>

#include <vector>

#include "platform/win32/shell.h"

namespace qirelo::platform::win32 {

namespace {

HKEY RootKey(RegistryRoot root) {
    switch (root) {
    case RegistryRoot::ClassesRoot:
        return HKEY_CLASSES_ROOT;
    case RegistryRoot::CurrentUser:
        return HKEY_CURRENT_USER;
    case RegistryRoot::LocalMachine:
        return HKEY_LOCAL_MACHINE;
    }
    return HKEY_CLASSES_ROOT;
}

// An open key for reading, closed when it goes.
class OpenKey {
public:
    OpenKey(RegistryRoot root, const std::string& path) {
        if (::RegOpenKeyExA(RootKey(root), path.c_str(), 0, KEY_READ, &key_) != ERROR_SUCCESS) {
            key_ = nullptr;
        }
    }
    ~OpenKey() {
        if (key_ != nullptr) {
            ::RegCloseKey(key_);
        }
    }
    OpenKey(const OpenKey&) = delete;
    OpenKey& operator=(const OpenKey&) = delete;

    explicit operator bool() const { return key_ != nullptr; }
    HKEY get() const { return key_; }

private:
    HKEY key_ = nullptr;
};

std::string ExpandEnvironment(const std::string& text) {
    const DWORD needed = ::ExpandEnvironmentStringsA(text.c_str(), nullptr, 0);
    if (needed == 0) {
        return text;
    }
    std::vector<char> expanded(needed);
    const DWORD written = ::ExpandEnvironmentStringsA(text.c_str(), expanded.data(), needed);
    return written == 0 || written > needed ? text : std::string(expanded.data());
}

} // namespace

Win32RegistryKeys::Win32RegistryKeys(RegistryRoot root, std::string base)
    : root_(root), base_(std::move(base)) {}

std::string Win32RegistryKeys::full_path(const std::string& path) const {
    if (base_.empty()) {
        return path;
    }
    return path.empty() ? base_ : base_ + "\\" + path;
}

bool Win32RegistryKeys::key_exists(const std::string& path) {
    return static_cast<bool>(OpenKey(root_, full_path(path)));
}

std::optional<std::string> Win32RegistryKeys::default_value(const std::string& path) {
    const OpenKey key(root_, full_path(path));
    if (!key) {
        return std::nullopt;
    }
    DWORD type = 0;
    DWORD size = 0;
    if (::RegQueryValueExA(key.get(), nullptr, nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ)) {
        return std::nullopt;
    }
    std::vector<char> data(size + 1, '\0');
    if (::RegQueryValueExA(key.get(), nullptr, nullptr, &type, reinterpret_cast<BYTE*>(data.data()),
                           &size) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    std::string value(data.data()); // up to the stored terminator, if any
    return type == REG_EXPAND_SZ ? ExpandEnvironment(value) : value;
}

std::vector<std::string> Win32RegistryKeys::subkey_names(const std::string& path) {
    std::vector<std::string> names;
    const OpenKey key(root_, full_path(path));
    if (!key) {
        return names;
    }
    for (DWORD index = 0;; ++index) {
        char name[256]; // the longest key name the registry allows, and its terminator
        DWORD length = sizeof name;
        if (::RegEnumKeyExA(key.get(), index, name, &length, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS) {
            return names;
        }
        names.emplace_back(name, length);
    }
}

std::optional<std::uint32_t> Win32RegistryKeys::four_byte_value(const std::string& path,
                                                                const std::string& name) {
    const OpenKey key(root_, full_path(path));
    if (!key) {
        return std::nullopt;
    }
    BYTE data[4] = {};
    DWORD size = sizeof data;
    if (::RegQueryValueExA(key.get(), name.c_str(), nullptr, nullptr, data, &size) !=
            ERROR_SUCCESS ||
        size != sizeof data) {
        return std::nullopt;
    }
    return static_cast<std::uint32_t>(data[0] | data[1] << 8 | data[2] << 16 |
                                      static_cast<std::uint32_t>(data[3]) << 24);
}

} // namespace qirelo::platform::win32
