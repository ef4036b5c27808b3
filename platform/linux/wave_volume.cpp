#include <alsa/asoundlib.h>

#include <cmath>
#include <memory>

#include "platform/linux/system.h"

namespace qirelo::platform::native {
namespace {

struct MixerCloser {
    void operator()(snd_mixer_t* mixer) const { snd_mixer_close(mixer); }
};
using Mixer = std::unique_ptr<snd_mixer_t, MixerCloser>;

// ALSA reports a missing device through its error handler: keep it quiet.
void silent_errors(const char*, int, const char*, int, const char*, ...) {}

Mixer open_default_mixer() {
    snd_lib_error_set_handler(silent_errors);
    snd_mixer_t* raw = nullptr;
    if (snd_mixer_open(&raw, 0) < 0)
        return nullptr;
    Mixer mixer(raw);
    if (snd_mixer_attach(raw, "default") < 0 ||
        snd_mixer_selem_register(raw, nullptr, nullptr) < 0 || snd_mixer_load(raw) < 0)
        return nullptr;
    return mixer;
}

snd_mixer_elem_t* playback_element(snd_mixer_t* mixer) {
    for (snd_mixer_elem_t* e = snd_mixer_first_elem(mixer); e; e = snd_mixer_elem_next(e))
        if (snd_mixer_selem_is_active(e) && snd_mixer_selem_has_playback_volume(e))
            return e;
    return nullptr;
}

} // namespace

long MixerValueOfChannel(std::uint16_t channel, long min, long max) {
    if (max <= min)
        return min;
    const double share = channel / 65535.0;
    return min + std::lround(share * static_cast<double>(max - min));
}

std::uint16_t ChannelOfMixerValue(long value, long min, long max) {
    if (max <= min)
        return 0;
    if (value <= min)
        return 0;
    if (value >= max)
        return 0xFFFF;
    const double share = static_cast<double>(value - min) / static_cast<double>(max - min);
    return static_cast<std::uint16_t>(std::lround(share * 65535.0));
}

std::optional<system::VolumeWord> AlsaWaveVolume::volume() {
    Mixer mixer = open_default_mixer();
    snd_mixer_elem_t* element = mixer ? playback_element(mixer.get()) : nullptr;
    if (!element)
        return std::nullopt;
    long min = 0, max = 0, left = 0, right = 0;
    snd_mixer_selem_get_playback_volume_range(element, &min, &max);
    snd_mixer_selem_get_playback_volume(element, SND_MIXER_SCHN_FRONT_LEFT, &left);
    if (snd_mixer_selem_get_playback_volume(element, SND_MIXER_SCHN_FRONT_RIGHT, &right) < 0)
        right = left; // a mono element
    return static_cast<system::VolumeWord>(ChannelOfMixerValue(left, min, max)) |
           static_cast<system::VolumeWord>(ChannelOfMixerValue(right, min, max)) << 16;
}

void AlsaWaveVolume::set_volume(system::VolumeWord word) {
    Mixer mixer = open_default_mixer();
    snd_mixer_elem_t* element = mixer ? playback_element(mixer.get()) : nullptr;
    if (!element)
        return;
    long min = 0, max = 0;
    snd_mixer_selem_get_playback_volume_range(element, &min, &max);
    const auto left = static_cast<std::uint16_t>(word & 0xFFFF);
    const auto right = static_cast<std::uint16_t>(word >> 16);
    snd_mixer_selem_set_playback_volume(element, SND_MIXER_SCHN_FRONT_LEFT,
                                        MixerValueOfChannel(left, min, max));
    if (!snd_mixer_selem_is_playback_mono(element))
        snd_mixer_selem_set_playback_volume(element, SND_MIXER_SCHN_FRONT_RIGHT,
                                            MixerValueOfChannel(right, min, max));
}

} // namespace qirelo::platform::native
