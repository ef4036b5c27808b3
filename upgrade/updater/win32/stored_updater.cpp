#include "upgrade/updater/stored_updater.h"

#include <windows.h>

#include "text/utf.h"

namespace qirelo::upgrade::updater {

std::span<const std::byte> stored_updater() {
    HMODULE self = GetModuleHandleW(nullptr);
    HRSRC resource = FindResourceW(self, L"UPDATER", L"UPDATER");
    HGLOBAL loaded = resource ? LoadResource(self, resource) : nullptr;
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    if (!bytes)
        throw StoredUpdaterError("this program carries no UPDATER resource");
    return {static_cast<const std::byte*>(bytes), SizeofResource(self, resource)};
}

void write_stored_updater(const std::string& path) {
    const std::span<const std::byte> bytes = stored_updater();
    const std::u16string utf16 = text::utf16_from_utf8(path);
    const std::wstring wide(utf16.begin(), utf16.end());
    HANDLE file = CreateFileW(wide.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_TEMPORARY, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        throw StoredUpdaterError("cannot create the updater at " + path + " (error " +
                                 std::to_string(GetLastError()) + ")");
    DWORD written = 0;
    const BOOL wrote =
        WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    if (!wrote || written != bytes.size()) {
        DeleteFileW(wide.c_str());
        throw StoredUpdaterError("cannot write the updater at " + path);
    }
}

} // namespace qirelo::upgrade::updater
