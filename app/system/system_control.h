#pragma once

// The group "系统控制" of the program tab: the wave volume slider, mute, and
// the shutdown button with its fifteen-step countdown that ends in powering
// the PC off. The state of the countdown is told by the button's caption.

#include <cstdint>

#include "platform/system/power.h"
#include "platform/system/wave_volume.h"
#include "ui/action.h"
#include "ui/button.h"
#include "ui/page_control.h"
#include "ui/progress.h"
#include "ui/timer.h"
#include "ui/track_bar.h"

namespace qirelo::app::system {

// The window's controls that the group works with.
struct SystemControls {
    ui::TrackBar& TrackBar1; // level 0..255
    ui::CheckBox& cb1;       // "静音"
    ui::BitBtn& BitBtn1;     // "立即关机(15秒后)"
    ui::ProgressBar& pb1;    // 0..15, step 1
    ui::Timer& Timer2;       // 1000 ms, one step at a time
    ui::Action& act_gj;      // "关机"
    ui::PageControl& pag1;
    ui::TabSheet& tb3;
};

// The countdown's number of one-second steps; the last one powers off.
inline constexpr int kCountdownSteps = 15;

// Both channels at level × 256: 255 gives 0xFF00 in each, not 0xFFFF.
platform::system::VolumeWord VolumeWordForLevel(int level);
// The high byte of the left channel; the right channel is ignored.
int LevelOfVolumeWord(platform::system::VolumeWord word);

class SystemControl {
public:
    SystemControl(SystemControls panel, platform::system::WaveVolume& wave,
                  platform::system::Power& power);

    // Every change of the slider's value, by the user or by code: the device
    // takes the level, muted or not.
    void TrackBar1Change();
    // Step 2 of tb3Show: the slider takes the device's level, which writes it
    // back to both channels when it moved. Without a device it stays as it is.
    void ReadVolume();
    void cb1Click();
    // At rest: starts the countdown with its first step. Counting (or at the
    // end): cancels, back to rest.
    void BitBtn1Click();
    // One countdown step; the fifteenth executes act_gj.
    void Timer2Timer();
    // Enables the shutdown privilege and powers off; stops silently when the
    // token cannot be opened or the privilege not enabled.
    void act_gjExecute();

private:
    SystemControls panel_;
    platform::system::WaveVolume& wave_;
    platform::system::Power& power_;
};

} // namespace qirelo::app::system
