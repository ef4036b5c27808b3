#include "app/relay/recording_relay.h"

namespace qirelo::relay {

void RecordingActions::SetTrackBar1Position(int position) {
    trackBar1_ = position;
    sink_("TrackBar1 " + std::to_string(position));
}

void RecordingPacer::Sleep(int milliseconds) {
    sink_("Sleep " + std::to_string(milliseconds));
    if (inner_) {
        inner_->Sleep(milliseconds);
    }
}

void RecordingPacer::CheckStop() {
    if (inner_) {
        inner_->CheckStop();
    }
}

} // namespace qirelo::relay
