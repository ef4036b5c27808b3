#include "upgrade/updater/win32/win32_updater_system.h"

#include <windows.h>

#include "text/utf.h"

namespace qirelo::upgrade::updater {

namespace {

std::wstring wide(const std::string& utf8) {
    const std::u16string utf16 = text::utf16_from_utf8(utf8);
    return std::wstring(utf16.begin(), utf16.end());
}

std::string narrow(const wchar_t* text) {
    const std::wstring utf16(text);
    return text::utf8_from_utf16(std::u16string(utf16.begin(), utf16.end()));
}

DWORD attributes_of(FileMark mark) {
    switch (mark) {
    case FileMark::normal:
        return FILE_ATTRIBUTE_NORMAL;
    case FileMark::archive:
        return FILE_ATTRIBUTE_ARCHIVE;
    case FileMark::hidden_archive:
        return FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE;
    }
    return FILE_ATTRIBUTE_NORMAL;
}

void serve_message_queue() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

} // namespace

Win32UpdaterSystem::Win32UpdaterSystem() : priority_(ThreadPriorityControl::ForCurrentThread()) {}

bool Win32UpdaterSystem::file_exists(const std::string& path) {
    const DWORD attributes = GetFileAttributesW(wide(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string Win32UpdaterSystem::listed_name(const std::string& path) {
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(wide(path).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return path.substr(path.find_last_of(path_separators()) + 1);
    FindClose(search);
    return narrow(found.cFileName);
}

std::vector<std::string> Win32UpdaterSystem::file_names(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(wide(folder + "*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            names.push_back(narrow(found.cFileName));
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return names;
}

bool Win32UpdaterSystem::is_released(const std::string& path) {
    HANDLE file = CreateFileW(wide(path).c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        CloseHandle(file);
        return true;
    }
    // Only another process's hold is worth waiting for; a file that cannot
    // be opened for any other reason will not change by waiting.
    const DWORD error = GetLastError();
    return error != ERROR_SHARING_VIOLATION && error != ERROR_LOCK_VIOLATION;
}

void Win32UpdaterSystem::pause() {
    Sleep(1);
    serve_message_queue();
}

std::chrono::steady_clock::time_point Win32UpdaterSystem::now() {
    return std::chrono::steady_clock::now();
}

void Win32UpdaterSystem::set_waiting_priority(bool lowest) {
    priority_->Set(lowest ? TThreadPriority::tpLowest : TThreadPriority::tpNormal);
}

bool Win32UpdaterSystem::replace_file(const std::string& source, const std::string& target) {
    return MoveFileExW(wide(source).c_str(), wide(target).c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

void Win32UpdaterSystem::mark_file(const std::string& path, FileMark mark) {
    SetFileAttributesW(wide(path).c_str(), attributes_of(mark));
}

bool Win32UpdaterSystem::delete_file(const std::string& path) {
    return DeleteFileW(wide(path).c_str()) != 0;
}

bool Win32UpdaterSystem::start_program(const std::string& path, const std::string& params) {
    const std::wstring application = wide(path);
    std::wstring command_line = L"\"" + application + L"\" " + wide(params);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(application.c_str(), command_line.data(), nullptr, nullptr, FALSE, 0,
                        nullptr, nullptr, &startup, &process))
        return false;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

} // namespace qirelo::upgrade::updater
