#pragma once

// The relay's command records: for each member the latest "stamp|command".

#include <map>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace qirelo::devsite {

// A record or member id the relay refuses; the message says why.
class RecordError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Member ids travel in the relay's path and the site's cookie: letters,
// digits, '-' and '_' only, 1 to 32 of them.
bool is_member_id(std::string_view id);

// A record must hold a "|" (the client reads the stamp before it) and no line
// break (a record is one line; the client's number conversion fails on one).
void check_record(std::string_view record);

class Records {
public:
    // Raises RecordError for a bad id or record.
    void set(const std::string& member_id, const std::string& record);
    std::optional<std::string> get(const std::string& member_id) const;

    std::map<std::string, std::string> all() const;
    void replace_all(std::map<std::string, std::string> records);

private:
    mutable std::mutex mutex_;
    std::map<std::string, std::string> records_;
};

} // namespace qirelo::devsite
