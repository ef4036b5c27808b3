#pragma once

// What the update server serves below the site's "/setup/" folder besides
// the info file, as tests set it through the control API: program files
// (uploaded bytes, or generated ones of any size), and per path a behaviour
// (an error status, Basic authentication, a redirect, a cut-off body, a stall
// before the header, chunked or no length).

#include <chrono>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

namespace qirelo::devsite {

// A program file. Without uploaded bytes it is generated: byte i is i mod 251,
// so a file of any size costs no memory and a test can rebuild its content.
struct UpdateFile {
    std::shared_ptr<const std::string> bytes;
    std::uint64_t size = 0;
    std::string last_modified; // the Last-Modified header's text, sent as it is

    char byte_at(std::uint64_t index) const {
        return bytes ? (*bytes)[index] : static_cast<char>(index % 251);
    }
};

enum class BodyLength { announced, chunked, none };

struct PathRule {
    std::optional<int> status;                 // answered instead of the file
    std::optional<std::string> user, password; // Basic credentials asked for
    std::string realm = "Qirelo";
    std::optional<std::string> redirect; // Location
    int redirect_status = 302;
    std::optional<std::uint64_t> cut;   // body bytes sent before closing
    std::chrono::milliseconds stall{0}; // before the status line
    BodyLength length = BodyLength::announced;
};

class UpdateStore {
public:
    // Names are the paths below "/setup/", as requested (decoded).
    void put_file(const std::string& name, UpdateFile file);
    bool remove_file(const std::string& name);
    std::optional<UpdateFile> file(const std::string& name) const;
    std::map<std::string, UpdateFile> files() const;

    void set_rule(const std::string& name, PathRule rule);
    bool remove_rule(const std::string& name);
    std::optional<PathRule> rule(const std::string& name) const;
    std::map<std::string, PathRule> rules() const;

    void reset();

private:
    mutable std::mutex mutex_;
    std::map<std::string, UpdateFile> files_;
    std::map<std::string, PathRule> rules_;
};

// An HTTP date ("Sun, 06 Nov 1994 08:49:37 GMT") of a moment.
std::string http_date(std::chrono::system_clock::time_point when);

} // namespace qirelo::devsite
