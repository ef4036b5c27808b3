#include "platform/fake/call_log.h"

#include <cstdio>

namespace qirelo::platform::fake {

void CallLog::record(std::string line, bool query) {
    calls_.push_back({std::move(line), query});
    if (on_call) {
        on_call(calls_.back());
    }
}

std::vector<std::string> CallLog::lines() const {
    std::vector<std::string> all;
    for (const Call& call : calls_) {
        all.push_back(call.line);
    }
    return all;
}

std::vector<std::string> CallLog::effects() const {
    std::vector<std::string> changes;
    for (const Call& call : calls_) {
        if (!call.query) {
            changes.push_back(call.line);
        }
    }
    return changes;
}

std::string hex(unsigned value, int digits) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%0*X", digits, value);
    return text;
}

} // namespace qirelo::platform::fake
