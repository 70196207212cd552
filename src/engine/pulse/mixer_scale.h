// The mixer's scales on PulseAudio volumes.
//   line volume 0..65535  <->  0..100 % (PA_VOLUME_MUTED..PA_VOLUME_NORM), linear in the
//                              server's volume units; louder than 100 % reads as 65535
//   balance 0..100        <->  pa_cvolume_set_balance -1..+1 (50 = centre)
//   the player's knob 0..100 is the line volume in per cent of 65535
#pragma once

#include <pulse/pulseaudio.h>

#include <QtGlobal>

namespace engine::pulse {

pa_volume_t paVolumeFromLine(int volume);
int lineVolumeFromPa(pa_volume_t volume);

// Line volume of a channel set: its loudest channel (balance then is a separate matter).
int lineVolume(const pa_cvolume &volume);
// The same set at another line volume, the balance between channels kept.
pa_cvolume withLineVolume(const pa_cvolume &volume, int lineVolume);

bool balanceAvailable(const pa_channel_map &map);
short lineBalance(const pa_cvolume &volume, const pa_channel_map &map);   // 50 without balance
pa_cvolume withLineBalance(const pa_cvolume &volume, const pa_channel_map &map, short balance);

// A channel set for `map` at a line volume and balance (the player's kept line).
pa_cvolume makeVolume(const pa_channel_map &map, int lineVolume, short balance);

int knobFromLineVolume(int lineVolume);
int lineVolumeFromKnob(int knob);

}  // namespace engine::pulse
