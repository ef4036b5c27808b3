#include "app/system/system_control.h"

#include <string>

#include "app/system/captions.h"

namespace qirelo::app::system {

platform::system::VolumeWord VolumeWordForLevel(int level) {
    const auto channel = static_cast<platform::system::VolumeWord>(level & 0xFF) << 8;
    return channel | (channel << 16);
}

int LevelOfVolumeWord(platform::system::VolumeWord word) {
    return static_cast<int>((word >> 8) & 0xFF);
}

SystemControl::SystemControl(SystemControls panel, platform::system::WaveVolume& wave,
                             platform::system::Power& power)
    : panel_(panel), wave_(wave), power_(power) {}

void SystemControl::TrackBar1Change() {
    wave_.set_volume(VolumeWordForLevel(panel_.TrackBar1.position()));
}

void SystemControl::ReadVolume() {
    if (const auto word = wave_.volume()) {
        panel_.TrackBar1.set_position(LevelOfVolumeWord(*word));
    }
}

void SystemControl::cb1Click() {
    const bool muted = panel_.cb1.checked();
    if (muted) {
        wave_.set_volume(0);
    } else {
        TrackBar1Change();
    }
    panel_.TrackBar1.set_enabled(!muted);
}

void SystemControl::BitBtn1Click() {
    if (panel_.BitBtn1.caption().starts_with(ShutdownIdlePrefix())) {
        Timer2Timer();
        panel_.Timer2.set_enabled(true);
        return;
    }
    panel_.Timer2.set_enabled(false);
    panel_.pb1.set_position(0);
    panel_.BitBtn1.set_caption(ShutdownIdleCaption());
}

void SystemControl::Timer2Timer() {
    panel_.Timer2.set_enabled(false);
    panel_.pb1.step_it();
    const int position = panel_.pb1.position();
    panel_.BitBtn1.set_caption(std::to_string(kCountdownSteps - position) +
                               ShutdownCountdownSuffix());
    if (position < kCountdownSteps) {
        panel_.Timer2.set_enabled(true);
    } else {
        panel_.act_gj.execute();
    }
}

void SystemControl::act_gjExecute() {
    const auto token = power_.open_process_token();
    if (!token || !token->enable_shutdown_privilege()) {
        return;
    }
    panel_.pag1.set_active_page(&panel_.tb3);
    power_.power_off();
}

} // namespace qirelo::app::system
