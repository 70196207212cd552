#include "cli/command_line.h"

#include "session/program_identity.h"
#include "session/save_format.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace {

CommandLine finish(int exitCode, const QString &message)
{
    CommandLine c;
    c.exitCode = exitCode;
    c.message = message.endsWith(QLatin1Char('\n')) ? message : message + QLatin1Char('\n');
    return c;
}

CommandLine mistake(const QString &text)
{
    //: %1 is the command's name, %2 what is wrong with the command line.
    return finish(kUsageError, QCoreApplication::translate("CommandLine", "%1: %2\nTry '%1 --help' for more information.")
                                   .arg(commandName, text));
}

// A whole number in [lowest, highest], or nothing.
std::optional<int> wholeNumber(const QString &text, int lowest, int highest)
{
    bool ok = false;
    const int n = text.trimmed().toInt(&ok);
    if (!ok || n < lowest || n > highest)
        return std::nullopt;
    return n;
}

// Both looked up where they are used, in the language in force then.
//: The usage lines of --help; %1 is the command's name. Option names (--record, -d, ...) and
//: the remote commands (record, pause, stop, status, marker) are typed as they are: keep them.
const char *const kUsage = QT_TRANSLATE_NOOP("CommandLine",
    "Usage: %1 [options] [file]\n"
    "       %1 --record [-d SECONDS] [-s NAME] [--split SECONDS] [--on-sound DBFS [--quiet SECONDS]]\n"
    "                   [--at HH:MM] [--monitor] [--separate] [output]\n"
    "       %1 --list-sources\n"
    "       %1 --remote record|pause|stop|status\n"
    "       %1 --remote marker [name]");

//: The end of --help: what the exit status says. 0, 1 and 2 are the statuses themselves.
const char *const kExitStatus = QT_TRANSLATE_NOOP("CommandLine",
    "\nExit status: 0 when everything recorded was written (or the window was closed); 1 when a\n"
    "recording could not start or ended in a failure, or the remote control found no running\n"
    "recorder or was refused; 2 for a usage error.\n");

}  // namespace

CommandLine readCommandLine(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QCoreApplication::translate(
        "CommandLine",
        "Records sound into MP3, WAV, WMA, FLAC, Ogg Vorbis and Opus files, plays them back "
        "and edits their tags. Without --record, --list-sources or --remote it opens its window."));
    // Not addHelpOption: its --help-all would list Qt's options, which parse() cannot print.
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QCoreApplication::translate("CommandLine", "Displays help on commandline options."));
    parser.addOption(help);
    const QCommandLineOption version = parser.addVersionOption();
    // The option names are typed as they are; their descriptions and the names of the values
    // they take (<seconds>) are worded for the reader.
    const QCommandLineOption record(
        QStringLiteral("record"),
        //: "Untitled n" is how the recordings' files are named: keep it as it is.
        QCoreApplication::translate("CommandLine",
                                    "Records without a window into [output]: a file (the format from its extension, "
                                    ".mp3, .wav, .wma, .flac, .ogg or .opus, with the stored settings of that format, "
                                    "never written over) or an existing folder (the next \"Untitled n\" in the stored "
                                    "format); without it, the stored save folder and format. Ctrl+C stops it; Enter "
                                    "(on a terminal) or SIGUSR1 adds a marker. The path of every file written is "
                                    "printed at the end."));
    //: In --help, the value an option takes: a number of seconds ("--duration <seconds>").
    const QString seconds = QCoreApplication::translate("CommandLine", "seconds");
    const QCommandLineOption duration({QStringLiteral("d"), QStringLiteral("duration")},
                                      QCoreApplication::translate("CommandLine",
                                                                  "With --record: stops after that many seconds."),
                                      seconds);
    const QCommandLineOption source(
        {QStringLiteral("s"), QStringLiteral("source")},
        //: "mix:microphone+computer" and "sink-input:" are typed as they are: keep them.
        QCoreApplication::translate("CommandLine",
                                    "With --record: the input, as --list-sources names it or by an id that is "
                                    "the same in every language, \"mix:microphone+computer\" or "
                                    "\"sink-input:<application>\" (the default input without it)."),
        //: In --help, the value --source takes: the name of an input.
        QCoreApplication::translate("CommandLine", "name"));
    const QCommandLineOption split(QStringLiteral("split"),
                                   QCoreApplication::translate("CommandLine",
                                                               "With --record: a new file every that many seconds."),
                                   seconds);
    const QCommandLineOption onSound(
        QStringLiteral("on-sound"),
        QCoreApplication::translate("CommandLine",
                                    "With --record: writing starts when the sound is louder than this level, -60 to "
                                    "0 dBFS."),
        //: In --help, the value --on-sound takes: a level in dBFS (decibels below full scale).
        QCoreApplication::translate("CommandLine", "dbfs"));
    const QCommandLineOption quiet(
        QStringLiteral("quiet"),
        QCoreApplication::translate("CommandLine",
                                    "With --on-sound: that many seconds of quiet (1 to 60; the stored value without "
                                    "it) pause the recording until the next sound."),
        seconds);
    const QCommandLineOption at(
        QStringLiteral("at"),
        QCoreApplication::translate("CommandLine",
                                    "With --record: starts at that time, today or tomorrow if it has passed."),
        //: In --help, the value --at takes: a time of day as hours and minutes ("14:30").
        QCoreApplication::translate("CommandLine", "HH:MM"));
    const QCommandLineOption monitor(
        QStringLiteral("monitor"),
        QCoreApplication::translate("CommandLine",
                                    "With --record: plays what is recorded on the default output device too "
                                    "(refused with a warning for an input that would play back into it)."));
    const QCommandLineOption separate(
        QStringLiteral("separate"),
        //: "<output> (microphone)" and "<output> (computer)" are the names of the files written: keep them
        //: as they are.
        QCoreApplication::translate("CommandLine",
                                    "With --record and \"Microphone + computer sound\": also writes each side to a "
                                    "file of its own beside the mix, \"<output> (microphone)\" and \"<output> "
                                    "(computer)\" (the stored choice without it)."));
    const QCommandLineOption listSources(
        QStringLiteral("list-sources"),
        //: "default" is printed as it is: keep it.
        QCoreApplication::translate("CommandLine",
                                    "Prints every input --source takes: its name, a tab, its description, and "
                                    "\"default\" for the default input."));
    const QCommandLineOption remote(
        QStringLiteral("remote"),
        //: record, pause, stop, marker and status are typed as they are: keep them.
        QCoreApplication::translate("CommandLine",
                                    "Tells the running recorder's window to record, pause or stop, to add a marker "
                                    "(marker [name]), or prints its state, elapsed time and file (status)."),
        //: In --help, the value --remote takes: what the window is told to do.
        QCoreApplication::translate("CommandLine", "command"));
    parser.addOptions({record, duration, source, split, onSound, quiet, at, monitor, separate, listSources, remote});
    parser.addPositionalArgument(
        //: In --help, the name of the one argument: a sound file.
        QCoreApplication::translate("CommandLine", "file"),
        QCoreApplication::translate("CommandLine",
                                    "A sound file to open at start-up, as File / Open does; with --record, where to "
                                    "record."),
        //: In --help's usage line, the one argument, which may be left out.
        QCoreApplication::translate("CommandLine", "[file]"));

    if (!parser.parse(arguments))
        return mistake(parser.errorText());
    if (parser.isSet(help)) {
        // Qt names the program by how it was started, or "<executable_name>" before the
        // application object exists; the usage lines name the command as it is typed.
        QString text = parser.helpText();
        const QString usage = QCoreApplication::translate("CommandLine", kUsage).arg(commandName);
        text.replace(0, text.indexOf(QLatin1Char('\n')), usage);
        return finish(0, text + QCoreApplication::translate("CommandLine", kExitStatus));
    }
    if (parser.isSet(version)) {
        const QString number = versionText.startsWith(QLatin1Char('v')) ? versionText.mid(1) : versionText;
        return finish(0, commandName + QLatin1Char(' ') + number);
    }

    const int modes = int(parser.isSet(record)) + int(parser.isSet(listSources)) + int(parser.isSet(remote));
    if (modes > 1)
        return mistake(
            QCoreApplication::translate("CommandLine", "--record, --list-sources and --remote cannot be combined."));
    const QStringList positional = parser.positionalArguments();
    CommandLine c;
    if (!parser.isSet(record)) {
        for (const QCommandLineOption &o : {duration, source, split, onSound, quiet, at, monitor, separate})
            if (parser.isSet(o))
                //: %1 is an option's name ("duration").
                return mistake(QCoreApplication::translate("CommandLine", "--%1 is an option of --record.")
                                   .arg(o.names().last()));
    }
    if (parser.isSet(listSources) || parser.isSet(remote)) {
        // Only a marker takes an argument: its name.
        const bool named = parser.isSet(remote) && parser.value(remote) == QLatin1String("marker");
        if (positional.size() > (named ? 1 : 0))
            return mistake(
                QCoreApplication::translate("CommandLine", "Unexpected argument '%1'.").arg(positional.last()));
        if (parser.isSet(listSources)) {
            c.mode = CommandLine::Mode::ListSources;
            return c;
        }
        c.mode = CommandLine::Mode::Remote;
        c.remoteCommand = parser.value(remote);
        c.markerName = positional.value(0);
        static const QStringList commands = {QStringLiteral("record"), QStringLiteral("pause"), QStringLiteral("stop"),
                                             QStringLiteral("marker"), QStringLiteral("status")};
        if (!commands.contains(c.remoteCommand))
            //: record, pause, stop, marker and status are typed as they are: keep them.
            return mistake(QCoreApplication::translate(
                               "CommandLine", "Unknown remote command '%1'; it is record, pause, stop, marker or status.")
                               .arg(c.remoteCommand));
        return c;
    }

    if (positional.size() > 1)
        return mistake(QCoreApplication::translate("CommandLine", "Only one file can be named at a time; %1 were named.")
                           .arg(positional.size()));
    const QString named = positional.isEmpty() ? QString() : positional.first();
    if (!parser.isSet(record)) {
        if (!named.isEmpty())
            c.fileToOpen = QDir::cleanPath(QFileInfo(named).absoluteFilePath());
        return c;
    }

    c.mode = CommandLine::Mode::Record;
    RecordRequest &r = c.record;
    if (!named.isEmpty()) {
        r.output = QDir::cleanPath(QFileInfo(named).absoluteFilePath());
        if (!QFileInfo(r.output).isDir() && !saveFormatOfExtension(QLatin1Char('.') + QFileInfo(r.output).suffix()))
            return mistake(QCoreApplication::translate("CommandLine",
                                                       "%1 has no extension the recorder writes (.mp3, .wav, .wma, "
                                                       ".flac, .ogg or .opus).")
                               .arg(named));
    }
    if (parser.isSet(duration)) {
        const std::optional<int> n = wholeNumber(parser.value(duration), 1, 366 * 24 * 3600);
        if (!n)
            return mistake(QCoreApplication::translate("CommandLine",
                                                       "Bad --duration '%1': a whole number of seconds, at least 1.")
                               .arg(parser.value(duration)));
        r.durationSeconds = *n;
    }
    r.source = parser.value(source);
    r.monitor = parser.isSet(monitor);
    r.separate = parser.isSet(separate);
    if (parser.isSet(split)) {
        const std::optional<int> n = wholeNumber(parser.value(split), 1, 366 * 24 * 3600);
        if (!n)
            return mistake(QCoreApplication::translate("CommandLine",
                                                       "Bad --split '%1': a whole number of seconds, at least 1.")
                               .arg(parser.value(split)));
        r.splitSeconds = *n;
    }
    if (parser.isSet(onSound)) {
        r.onSoundDb = wholeNumber(parser.value(onSound), -60, 0);
        if (!r.onSoundDb)
            return mistake(QCoreApplication::translate("CommandLine", "Bad --on-sound '%1': a level from -60 to 0 dBFS.")
                               .arg(parser.value(onSound)));
    }
    if (parser.isSet(quiet)) {
        if (!parser.isSet(onSound))
            return mistake(QCoreApplication::translate("CommandLine", "--quiet is an option of --on-sound."));
        r.quietSeconds = wholeNumber(parser.value(quiet), 1, 60);
        if (!r.quietSeconds)
            return mistake(QCoreApplication::translate("CommandLine", "Bad --quiet '%1': from 1 to 60 seconds.")
                               .arg(parser.value(quiet)));
    }
    if (parser.isSet(at)) {
        const QTime time = QTime::fromString(parser.value(at).trimmed(), QStringLiteral("H:mm"));
        if (!time.isValid())
            return mistake(
                QCoreApplication::translate("CommandLine", "Bad --at '%1': a time as HH:MM.").arg(parser.value(at)));
        r.at = time;
    }
    return c;
}
