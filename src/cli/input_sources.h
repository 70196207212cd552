// The inputs a recording can take, as the command line names them: the list the window's
// "Recording Controls" offers.
#pragma once

#include <QString>

#include <optional>
#include <vector>

class MixerLines;

struct InputSource {
    QString name;          // what --source takes: a device's server name, "Sound of <application>",
                           // "Microphone + computer sound"
    QString description;   // as the window lists it
    QString id;            // the same in every language: the server name, "sink-input:<application>",
                           // "mix:microphone+computer"
    bool isDefault = false;
    int index = -1;        // in the input list
};

// Every input offered now; the current device stays chosen.
std::vector<InputSource> inputSources(MixerLines &inputs);

// The input `name` names, by its name, its description or its id; nothing when none does.
std::optional<InputSource> findInputSource(MixerLines &inputs, const QString &name);
