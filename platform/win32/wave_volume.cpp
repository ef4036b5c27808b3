#include <windows.h>
// mmsystem.h needs the types of windows.h first.
#include <mmsystem.h>

#include "platform/win32/system.h"

namespace qirelo::platform::win32 {

namespace {
// Device id 0, the first wave-out device, passed where a handle may stand.
const HWAVEOUT kFirstDevice = nullptr;
} // namespace

std::optional<system::VolumeWord> Win32WaveVolume::volume() {
    DWORD word = 0;
    if (::waveOutGetVolume(kFirstDevice, &word) != MMSYSERR_NOERROR) {
        return std::nullopt;
    }
    return static_cast<system::VolumeWord>(word);
}

void Win32WaveVolume::set_volume(system::VolumeWord word) {
    ::waveOutSetVolume(kFirstDevice, word);
}

} // namespace qirelo::platform::win32
