#include "devsite/stores/members.h"

#include "platform/profile/codepage.h"

#include <algorithm>

namespace qirelo::devsite {
namespace {

// The client's login button wants more than 3 bytes of each in code page
// 936, and the site's own forms keep to 20.
void check_credential(const std::string& text, const char* what) {
    std::string gb2312;
    try {
        gb2312 = platform::strict_gb_from_utf8(text);
    } catch (const platform::CodePageError&) {
        throw RegistrationError(std::string(what) + "含有无法用GB2312表示的字符");
    }
    if (gb2312.size() < 4 || gb2312.size() > 20)
        throw RegistrationError(std::string(what) + "须为4到20个字节（一个汉字算两个字节）");
    if (std::any_of(text.begin(), text.end(),
                    [](char c) { return static_cast<unsigned char>(c) < 0x20; }))
        throw RegistrationError(std::string(what) + "不能含有控制字符");
}

} // namespace

Member demo_member() {
    return {"10001", "demo", "qirelo"};
}

Members::Members() : members_{demo_member()} {}

std::optional<Member> Members::find_by_id(const std::string& id) const {
    std::lock_guard lock(mutex_);
    for (const auto& member : members_)
        if (member.id == id)
            return member;
    return std::nullopt;
}

std::optional<Member> Members::check_login(const std::string& name,
                                           const std::string& password) const {
    std::lock_guard lock(mutex_);
    for (const auto& member : members_)
        if (member.name == name && member.password == password)
            return member;
    return std::nullopt;
}

Member Members::add(const std::string& name, const std::string& password) {
    check_credential(name, "会员名");
    check_credential(password, "密码");
    std::lock_guard lock(mutex_);
    long long highest = 0;
    for (const auto& member : members_) {
        if (member.name == name)
            throw RegistrationError("会员名“" + name + "”已被注册");
        if (!member.id.empty() &&
            std::all_of(member.id.begin(), member.id.end(),
                        [](char c) { return c >= '0' && c <= '9'; }) &&
            member.id.size() < 18)
            highest = std::max(highest, std::stoll(member.id));
    }
    Member member{std::to_string(highest + 1), name, password};
    members_.push_back(member);
    return member;
}

std::vector<Member> Members::all() const {
    std::lock_guard lock(mutex_);
    return members_;
}

void Members::replace_all(std::vector<Member> members) {
    std::lock_guard lock(mutex_);
    members_ = std::move(members);
    auto demo = demo_member();
    if (std::none_of(members_.begin(), members_.end(),
                     [&](const Member& m) { return m.id == demo.id; }))
        members_.insert(members_.begin(), demo);
}

} // namespace qirelo::devsite
