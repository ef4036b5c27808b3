#pragma once

// Registers a class for .html files in the classes branch for a test's run,
// where the machine has none (the build's Wine prefix has none), and removes
// it again. `made` is false when the machine has its own: leave it alone.

#include <windows.h>

#include <string>

namespace qirelo::testing {

class HtmlClass {
public:
    explicit HtmlClass(const std::string& open_command) {
        HKEY existing = nullptr;
        if (::RegOpenKeyExA(HKEY_CLASSES_ROOT, ".html", 0, KEY_READ, &existing) == ERROR_SUCCESS) {
            ::RegCloseKey(existing);
            return;
        }
        made = set(".html", kClass) &&
               set(std::string(kClass) + "\\shell\\open\\command", open_command);
    }
    ~HtmlClass() {
        if (made) {
            ::RegDeleteTreeA(HKEY_CLASSES_ROOT, ".html");
            ::RegDeleteTreeA(HKEY_CLASSES_ROOT, kClass);
        }
    }
    HtmlClass(const HtmlClass&) = delete;
    HtmlClass& operator=(const HtmlClass&) = delete;

    bool made = false;

private:
    static constexpr const char* kClass = "qirelo.test.htmlfile";

    static bool set(const std::string& key, const std::string& value) {
        HKEY handle = nullptr;
        if (::RegCreateKeyExA(HKEY_CLASSES_ROOT, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr,
                              &handle, nullptr) != ERROR_SUCCESS) {
            return false;
        }
        const bool written =
            ::RegSetValueExA(handle, nullptr, 0, REG_SZ,
                             reinterpret_cast<const BYTE*>(value.c_str()),
                             static_cast<DWORD>(value.size() + 1)) == ERROR_SUCCESS;
        ::RegCloseKey(handle);
        return written;
    }
};

} // namespace qirelo::testing
