#pragma once

// The record that the recording fakes of the platform boundary keep: one line
// per platform call, in the order of the calls, shared by fakes that a test
// wants to see interleaved (keyboard and pointer, volume and power).

#include <functional>
#include <string>
#include <vector>

namespace qirelo::platform::fake {

class CallLog {
public:
    struct Call {
        std::string line;
        bool query = false; // asks the platform something, changes nothing
    };

    void record(std::string line, bool query = false);

    const std::vector<Call>& calls() const { return calls_; }
    std::vector<std::string> lines() const;   // every call
    std::vector<std::string> effects() const; // the calls that change something
    void clear() { calls_.clear(); }

    // Runs at every call, after it is recorded: lets a test look at the world
    // at the moment of a call, or a tool print the calls as they come.
    std::function<void(const Call&)> on_call;

private:
    std::vector<Call> calls_;
};

// "0x1B": two upper-case hexadecimal digits at least.
std::string hex(unsigned value, int digits = 2);

} // namespace qirelo::platform::fake
