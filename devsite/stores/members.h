#pragma once

// The site's members: who may sign in, and the ids the relay is keyed by.
// Names and passwords are UTF-8; the site converts the client's GB2312 form
// fields before they get here.

#include <mutex>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace qirelo::devsite {

struct Member {
    std::string id;
    std::string name;
    std::string password;

    bool operator==(const Member&) const = default;
};

// A registration the site refuses; the message is shown to the person.
class RegistrationError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The member every fresh companion knows, for the one-key login and the demo.
Member demo_member();

class Members {
public:
    Members();

    std::optional<Member> find_by_id(const std::string& id) const;
    std::optional<Member> check_login(const std::string& name, const std::string& password) const;

    // Adds a member with the next free id. Raises RegistrationError when the
    // name is taken or either text is not one the client could log in with.
    Member add(const std::string& name, const std::string& password);

    std::vector<Member> all() const;
    // Replaces every member (loading the data file; reset). The demo member stays.
    void replace_all(std::vector<Member> members);

private:
    mutable std::mutex mutex_;
    std::vector<Member> members_;
};

} // namespace qirelo::devsite
