#pragma once

// A peer that only records which properties its control told it about.

#include <algorithm>
#include <memory>
#include <vector>

#include "ui/control.h"

namespace qirelo::ui::testing {

class RecordingPeer final : public ControlPeer {
public:
    explicit RecordingPeer(std::vector<Property>& log) : log_(log) {}
    void changed(Property what) override { log_.push_back(what); }

    static std::vector<Property>& attach(Control& control, std::vector<Property>& log) {
        control.attach_peer(std::make_unique<RecordingPeer>(log));
        return log;
    }

private:
    std::vector<Property>& log_;
};

inline long count(const std::vector<Property>& log, Property what) {
    return std::count(log.begin(), log.end(), what);
}

} // namespace qirelo::ui::testing
