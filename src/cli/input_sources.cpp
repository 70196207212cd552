#include "cli/input_sources.h"

#include "session/device_controls.h"

std::vector<InputSource> inputSources(MixerLines &inputs)
{
    // A recorder that has not been told otherwise holds the server's default input.
    const int highest = inputs.highestDevice();
    const int chosen = inputs.device();
    const QString chosenId = inputs.deviceId();
    std::vector<InputSource> sources;
    for (int i = 0; i <= highest; ++i) {
        inputs.setDevice(i);
        if (!inputs.deviceAvailable())
            continue;
        InputSource s;
        s.description = inputs.deviceName();
        s.id = inputs.deviceId();
        // An input device goes by its server name; an application and the mix by their labels.
        const bool labelled = s.id.startsWith(QLatin1String("sink-input:")) || s.id.startsWith(QLatin1String("mix:"));
        s.name = labelled || s.id.isEmpty() ? s.description : s.id;
        s.isDefault = i == chosen && !chosenId.isEmpty();
        s.index = i;
        sources.push_back(s);
    }
    if (chosen >= 0)
        inputs.setDevice(chosen);
    return sources;
}

std::optional<InputSource> findInputSource(MixerLines &inputs, const QString &name)
{
    for (const InputSource &s : inputSources(inputs))
        if (s.name == name || s.description == name || (!s.id.isEmpty() && s.id == name))
            return s;
    return std::nullopt;
}
