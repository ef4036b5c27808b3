#include "devsite/update/update_store.h"

#include <cstdio>

namespace qirelo::devsite {

void UpdateStore::put_file(const std::string& name, UpdateFile file) {
    std::lock_guard lock(mutex_);
    files_[name] = std::move(file);
}

bool UpdateStore::remove_file(const std::string& name) {
    std::lock_guard lock(mutex_);
    return files_.erase(name) > 0;
}

std::optional<UpdateFile> UpdateStore::file(const std::string& name) const {
    std::lock_guard lock(mutex_);
    auto found = files_.find(name);
    return found == files_.end() ? std::nullopt : std::optional(found->second);
}

std::map<std::string, UpdateFile> UpdateStore::files() const {
    std::lock_guard lock(mutex_);
    return files_;
}

void UpdateStore::set_rule(const std::string& name, PathRule rule) {
    std::lock_guard lock(mutex_);
    rules_[name] = std::move(rule);
}

bool UpdateStore::remove_rule(const std::string& name) {
    std::lock_guard lock(mutex_);
    return rules_.erase(name) > 0;
}

std::optional<PathRule> UpdateStore::rule(const std::string& name) const {
    std::lock_guard lock(mutex_);
    auto found = rules_.find(name);
    return found == rules_.end() ? std::nullopt : std::optional(found->second);
}

std::map<std::string, PathRule> UpdateStore::rules() const {
    std::lock_guard lock(mutex_);
    return rules_;
}

void UpdateStore::reset() {
    std::lock_guard lock(mutex_);
    files_.clear();
    rules_.clear();
}

std::string http_date(std::chrono::system_clock::time_point when) {
    using namespace std::chrono;
    static constexpr const char* kWeekdays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    static constexpr const char* kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                              "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    const auto day = floor<days>(when);
    const year_month_day date{day};
    const hh_mm_ss time{floor<seconds>(when - day)};
    char text[40];
    std::snprintf(text, sizeof text, "%s, %02u %s %04d %02d:%02d:%02d GMT",
                  kWeekdays[weekday{day}.c_encoding()], static_cast<unsigned>(date.day()),
                  kMonths[static_cast<unsigned>(date.month()) - 1], static_cast<int>(date.year()),
                  static_cast<int>(time.hours().count()), static_cast<int>(time.minutes().count()),
                  static_cast<int>(time.seconds().count()));
    return text;
}

} // namespace qirelo::devsite
