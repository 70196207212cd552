// The program's command line, in Qt's conventions. Without a mode it opens the window (with
// one file to open at start-up); --record, --list-sources and --remote work without a
// display; --help and --version answer at once. Qt's own options (-platform, -style, ...) are
// taken by QApplication before the window's arguments are read.
#pragma once

#include <QString>
#include <QStringList>
#include <QTime>

#include <optional>

struct RecordRequest {
    QString output;              // as typed: a file, an existing folder, or "" for the stored ones
    int durationSeconds = 0;     // 0: until interrupted
    QString source;              // "" for the default input
    int splitSeconds = 0;        // 0: one file
    std::optional<int> onSoundDb;   // start on sound above this level (dBFS)
    std::optional<int> quietSeconds;
    std::optional<QTime> at;     // start at this time, today or tomorrow
    bool monitor = false;        // listen to the input while recording
    bool separate = false;       // each side of the mix in a file of its own too
};

struct CommandLine {
    enum class Mode { Window, Record, ListSources, Remote };
    Mode mode = Mode::Window;
    QString fileToOpen;           // the window's: absolute path of the file named; "" when none
    RecordRequest record;         // --record's
    QString remoteCommand;        // --remote's: "record", "pause", "stop", "marker" or "status"
    QString markerName;           // --remote marker's name; "" for "Marker n"
    std::optional<int> exitCode;  // set: print `message` and end at once (--help, --version, a mistake)
    QString message;              // for stdout when exitCode is 0, else for stderr
};

// The exit status of a usage error.
inline constexpr int kUsageError = 2;

// Reads the arguments as QCoreApplication::arguments() gives them, the program first.
CommandLine readCommandLine(const QStringList &arguments);
