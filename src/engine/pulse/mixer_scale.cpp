#include "engine/pulse/mixer_scale.h"

#include <algorithm>
#include <cmath>

namespace engine::pulse {

pa_volume_t paVolumeFromLine(int volume)
{
    const qint64 v = std::clamp(volume, 0, 65535);
    return pa_volume_t((v * PA_VOLUME_NORM + 65535 / 2) / 65535);
}

int lineVolumeFromPa(pa_volume_t volume)
{
    const qint64 v = std::min<qint64>(volume, PA_VOLUME_NORM);
    return int((v * 65535 + PA_VOLUME_NORM / 2) / PA_VOLUME_NORM);
}

int lineVolume(const pa_cvolume &volume)
{
    if (!pa_cvolume_valid(&volume))
        return 0;
    return lineVolumeFromPa(pa_cvolume_max(&volume));
}

pa_cvolume withLineVolume(const pa_cvolume &volume, int line)
{
    pa_cvolume out = volume;
    const pa_volume_t target = paVolumeFromLine(line);
    if (pa_cvolume_max(&out) == PA_VOLUME_MUTED)
        pa_cvolume_set(&out, out.channels, target);   // nothing to keep the balance of
    else
        pa_cvolume_scale(&out, target);
    return out;
}

bool balanceAvailable(const pa_channel_map &map)
{
    return pa_channel_map_valid(&map) && pa_channel_map_can_balance(&map);
}

short lineBalance(const pa_cvolume &volume, const pa_channel_map &map)
{
    if (!balanceAvailable(map) || !pa_cvolume_compatible_with_channel_map(&volume, &map))
        return 50;
    const float b = pa_cvolume_get_balance(&volume, &map);
    return short(std::clamp(std::lround((double(b) + 1.0) * 50.0), 0L, 100L));
}

pa_cvolume withLineBalance(const pa_cvolume &volume, const pa_channel_map &map, short balance)
{
    pa_cvolume out = volume;
    if (!balanceAvailable(map) || !pa_cvolume_compatible_with_channel_map(&out, &map))
        return out;
    const float b = float(std::clamp<int>(balance, 0, 100) - 50) / 50.0f;
    pa_cvolume_set_balance(&out, &map, b);
    return out;
}

pa_cvolume makeVolume(const pa_channel_map &map, int line, short balance)
{
    pa_cvolume out;
    pa_cvolume_set(&out, map.channels, paVolumeFromLine(line));
    return withLineBalance(out, map, balance);
}

int knobFromLineVolume(int line)
{
    return int(std::lround(std::clamp(line, 0, 65535) * 100.0 / 65535.0));
}

int lineVolumeFromKnob(int knob)
{
    return int(std::lround(std::clamp(knob, 0, 100) * 65535.0 / 100.0));
}

}  // namespace engine::pulse
