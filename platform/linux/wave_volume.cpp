#include <alsa/asoundlib.h>

#include <algorithm>
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

constexpr long long kChannelFull = 0xFFFF;

// The width of the mixer's range, wide enough for the products below.
long long span(long min, long max) {
    return static_cast<long long>(max) - static_cast<long long>(min);
}

std::uint16_t left_of(system::VolumeWord word) {
    return static_cast<std::uint16_t>(word & 0xFFFF);
}
std::uint16_t right_of(system::VolumeWord word) {
    return static_cast<std::uint16_t>(word >> 16);
}

} // namespace

long MixerValueOfChannel(std::uint16_t channel, long min, long max) {
    if (max <= min)
        return min;
    // channel × range / full, rounded half up, in integers.
    const long long twice = 2 * static_cast<long long>(channel) * span(min, max) + kChannelFull;
    return min + static_cast<long>(twice / (2 * kChannelFull));
}

std::uint16_t ChannelOfMixerValue(long value, long min, long max) {
    if (max <= min || value <= min)
        return 0;
    if (value >= max)
        return 0xFFFF;
    // The highest channel that MixerValueOfChannel rounds to `value` (or,
    // for a value no channel sets, to the value below it).
    const long long steps = static_cast<long long>(value) - min;
    const long long highest = ((2 * steps + 1) * kChannelFull - 1) / (2 * span(min, max));
    return static_cast<std::uint16_t>(std::min(highest, kChannelFull));
}

MixerChannels MixerChannelsOfWord(system::VolumeWord word, MixerRange range) {
    return {MixerValueOfChannel(left_of(word), range.min, range.max),
            MixerValueOfChannel(right_of(word), range.min, range.max)};
}

system::VolumeWord WordOfMixerChannels(MixerChannels channels, MixerRange range) {
    return static_cast<system::VolumeWord>(
               ChannelOfMixerValue(channels.left, range.min, range.max)) |
           static_cast<system::VolumeWord>(
               ChannelOfMixerValue(channels.right, range.min, range.max))
               << 16;
}

void MixerReadBack::written(system::VolumeWord word, MixerChannels held, MixerRange range) {
    last_ = Written{word, held, range};
}

system::VolumeWord MixerReadBack::read(MixerChannels now, MixerRange range) const {
    if (last_ && last_->held == now && last_->range == range)
        return last_->word;
    return WordOfMixerChannels(now, range);
}

namespace {

MixerRange range_of(snd_mixer_elem_t* element) {
    MixerRange range;
    snd_mixer_selem_get_playback_volume_range(element, &range.min, &range.max);
    return range;
}

MixerChannels channels_of(snd_mixer_elem_t* element) {
    MixerChannels now;
    snd_mixer_selem_get_playback_volume(element, SND_MIXER_SCHN_FRONT_LEFT, &now.left);
    if (snd_mixer_selem_is_playback_mono(element) ||
        snd_mixer_selem_get_playback_volume(element, SND_MIXER_SCHN_FRONT_RIGHT, &now.right) < 0)
        now.right = now.left;
    return now;
}

} // namespace

std::optional<system::VolumeWord> AlsaWaveVolume::volume() {
    Mixer mixer = open_default_mixer();
    snd_mixer_elem_t* element = mixer ? playback_element(mixer.get()) : nullptr;
    if (!element)
        return std::nullopt;
    return read_back_.read(channels_of(element), range_of(element));
}

void AlsaWaveVolume::set_volume(system::VolumeWord word) {
    Mixer mixer = open_default_mixer();
    snd_mixer_elem_t* element = mixer ? playback_element(mixer.get()) : nullptr;
    if (!element)
        return;
    const MixerRange range = range_of(element);
    const MixerChannels wanted = MixerChannelsOfWord(word, range);
    snd_mixer_selem_set_playback_volume(element, SND_MIXER_SCHN_FRONT_LEFT, wanted.left);
    if (!snd_mixer_selem_is_playback_mono(element))
        snd_mixer_selem_set_playback_volume(element, SND_MIXER_SCHN_FRONT_RIGHT, wanted.right);
    // What the mixer reports now, which a driver may have rounded further.
    read_back_.written(word, channels_of(element), range);
}

} // namespace qirelo::platform::native
