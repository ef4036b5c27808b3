#pragma once

// A "browser" for tests under Wine: a batch file that writes the arguments
// it was given to a file, to be registered as the .html opener (HtmlClass).

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace qirelo::testing {

struct RecordingBrowser {
    std::filesystem::path folder = std::filesystem::temp_directory_path() /
                                   ("qirelo_browser_" + std::to_string(::GetCurrentProcessId()));
    std::filesystem::path program = folder / "record url.bat";
    std::filesystem::path record = folder / "arguments.txt";

    RecordingBrowser() {
        std::filesystem::create_directories(folder);
        std::ofstream(program) << "@echo [%*]> \"" << record.string() << "\"\r\n";
    }
    ~RecordingBrowser() {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }
    RecordingBrowser(const RecordingBrowser&) = delete;
    RecordingBrowser& operator=(const RecordingBrowser&) = delete;

    // The script's one line, once it is whole (the file shows up before the
    // shell has written into it), waiting up to `seconds`; empty when the
    // browser was not started.
    std::string arguments(int seconds = 30) const {
        std::string text;
        for (int i = 0; i < seconds * 20 && !text.ends_with('\n'); ++i) {
            ::Sleep(50);
            std::ifstream in(record, std::ios::binary);
            text.assign(std::istreambuf_iterator<char>(in), {});
        }
        return text;
    }
};

} // namespace qirelo::testing
