#include "app/relay/recording_actions.h"

namespace qirelo::app::relay {

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

} // namespace qirelo::app::relay
