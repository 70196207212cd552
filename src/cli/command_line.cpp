#include "cli/command_line.h"

#include "session/program_identity.h"
#include "session/save_format.h"

#include <QCommandLineParser>
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
    return finish(kUsageError,
                  QStringLiteral("%1: %2\nTry '%1 --help' for more information.").arg(commandName, text));
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

const QString kUsage = QStringLiteral(
    "Usage: %1 [options] [file]\n"
    "       %1 --record [-d SECONDS] [-s NAME] [--split SECONDS] [--on-sound DBFS [--quiet SECONDS]]\n"
    "                   [--at HH:MM] [--monitor] [--separate] [output]\n"
    "       %1 --list-sources\n"
    "       %1 --remote record|pause|stop|status\n"
    "       %1 --remote marker [name]");

const QString kExitStatus = QStringLiteral(
    "\nExit status: 0 when everything recorded was written (or the window was closed); 1 when a\n"
    "recording could not start or ended in a failure, or the remote control found no running\n"
    "recorder or was refused; 2 for a usage error.\n");

}  // namespace

CommandLine readCommandLine(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Records sound into MP3, WAV, WMA, FLAC, Ogg Vorbis and Opus files, plays them back "
                       "and edits their tags. Without --record, --list-sources or --remote it opens its window."));
    // Not addHelpOption: its --help-all would list Qt's options, which parse() cannot print.
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Displays help on commandline options."));
    parser.addOption(help);
    const QCommandLineOption version = parser.addVersionOption();
    const QCommandLineOption record(
        QStringLiteral("record"),
        QStringLiteral("Records without a window into [output]: a file (the format from its extension, .mp3, "
                       ".wav, .wma, .flac, .ogg or .opus, with the stored settings of that format, never "
                       "written over) or an existing folder (the next \"Untitled n\" in the stored format); "
                       "without it, the stored save folder and format. Ctrl+C stops it; Enter (on a "
                       "terminal) or SIGUSR1 adds a marker. The path of every file written is printed at "
                       "the end."));
    const QCommandLineOption duration({QStringLiteral("d"), QStringLiteral("duration")},
                                      QStringLiteral("With --record: stops after that many seconds."),
                                      QStringLiteral("seconds"));
    const QCommandLineOption source({QStringLiteral("s"), QStringLiteral("source")},
                                    QStringLiteral("With --record: the input, as --list-sources names it (the "
                                                   "default input without it)."),
                                    QStringLiteral("name"));
    const QCommandLineOption split(QStringLiteral("split"),
                                   QStringLiteral("With --record: a new file every that many seconds."),
                                   QStringLiteral("seconds"));
    const QCommandLineOption onSound(QStringLiteral("on-sound"),
                                     QStringLiteral("With --record: writing starts when the sound is louder than "
                                                    "this level, -60 to 0 dBFS."),
                                     QStringLiteral("dbfs"));
    const QCommandLineOption quiet(QStringLiteral("quiet"),
                                   QStringLiteral("With --on-sound: that many seconds of quiet (1 to 60; the stored "
                                                  "value without it) pause the recording until the next sound."),
                                   QStringLiteral("seconds"));
    const QCommandLineOption at(QStringLiteral("at"),
                                QStringLiteral("With --record: starts at that time, today or tomorrow if it has "
                                               "passed."),
                                QStringLiteral("HH:MM"));
    const QCommandLineOption monitor(QStringLiteral("monitor"),
                                     QStringLiteral("With --record: plays what is recorded on the default output "
                                                    "device too (refused with a warning for an input that would "
                                                    "play back into it)."));
    const QCommandLineOption separate(
        QStringLiteral("separate"),
        QStringLiteral("With --record and \"Microphone + computer sound\": also writes each side to a file of its "
                       "own beside the mix, \"<output> (microphone)\" and \"<output> (computer)\" (the stored "
                       "choice without it)."));
    const QCommandLineOption listSources(
        QStringLiteral("list-sources"),
        QStringLiteral("Prints every input --source takes: its name, a tab, its description, and \"default\" "
                       "for the default input."));
    const QCommandLineOption remote(QStringLiteral("remote"),
                                    QStringLiteral("Tells the running recorder's window to record, pause or stop, "
                                                   "to add a marker (marker [name]), or prints its state, elapsed "
                                                   "time and file (status)."),
                                    QStringLiteral("command"));
    parser.addOptions({record, duration, source, split, onSound, quiet, at, monitor, separate, listSources, remote});
    parser.addPositionalArgument(QStringLiteral("file"),
                                 QStringLiteral("A sound file to open at start-up, as File / Open does; with "
                                                "--record, where to record."),
                                 QStringLiteral("[file]"));

    if (!parser.parse(arguments))
        return mistake(parser.errorText());
    if (parser.isSet(help)) {
        // Qt names the program by how it was started, or "<executable_name>" before the
        // application object exists; the usage lines name the command as it is typed.
        QString text = parser.helpText();
        text.replace(0, text.indexOf(QLatin1Char('\n')), kUsage.arg(commandName));
        return finish(0, text + kExitStatus);
    }
    if (parser.isSet(version)) {
        const QString number = versionText.startsWith(QLatin1Char('v')) ? versionText.mid(1) : versionText;
        return finish(0, commandName + QLatin1Char(' ') + number);
    }

    const int modes = int(parser.isSet(record)) + int(parser.isSet(listSources)) + int(parser.isSet(remote));
    if (modes > 1)
        return mistake(QStringLiteral("--record, --list-sources and --remote cannot be combined."));
    const QStringList positional = parser.positionalArguments();
    CommandLine c;
    if (!parser.isSet(record)) {
        for (const QCommandLineOption &o : {duration, source, split, onSound, quiet, at, monitor, separate})
            if (parser.isSet(o))
                return mistake(QStringLiteral("--%1 is an option of --record.").arg(o.names().last()));
    }
    if (parser.isSet(listSources) || parser.isSet(remote)) {
        // Only a marker takes an argument: its name.
        const bool named = parser.isSet(remote) && parser.value(remote) == QLatin1String("marker");
        if (positional.size() > (named ? 1 : 0))
            return mistake(QStringLiteral("Unexpected argument '%1'.").arg(positional.last()));
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
            return mistake(QStringLiteral("Unknown remote command '%1'; it is record, pause, stop, marker or status.")
                               .arg(c.remoteCommand));
        return c;
    }

    if (positional.size() > 1)
        return mistake(QStringLiteral("Only one file can be named at a time; %1 were named.").arg(positional.size()));
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
            return mistake(QStringLiteral("%1 has no extension the recorder writes (.mp3, .wav, .wma, .flac, .ogg "
                                          "or .opus).")
                               .arg(named));
    }
    if (parser.isSet(duration)) {
        const std::optional<int> n = wholeNumber(parser.value(duration), 1, 366 * 24 * 3600);
        if (!n)
            return mistake(QStringLiteral("Bad --duration '%1': a whole number of seconds, at least 1.")
                               .arg(parser.value(duration)));
        r.durationSeconds = *n;
    }
    r.source = parser.value(source);
    r.monitor = parser.isSet(monitor);
    r.separate = parser.isSet(separate);
    if (parser.isSet(split)) {
        const std::optional<int> n = wholeNumber(parser.value(split), 1, 366 * 24 * 3600);
        if (!n)
            return mistake(
                QStringLiteral("Bad --split '%1': a whole number of seconds, at least 1.").arg(parser.value(split)));
        r.splitSeconds = *n;
    }
    if (parser.isSet(onSound)) {
        r.onSoundDb = wholeNumber(parser.value(onSound), -60, 0);
        if (!r.onSoundDb)
            return mistake(
                QStringLiteral("Bad --on-sound '%1': a level from -60 to 0 dBFS.").arg(parser.value(onSound)));
    }
    if (parser.isSet(quiet)) {
        if (!parser.isSet(onSound))
            return mistake(QStringLiteral("--quiet is an option of --on-sound."));
        r.quietSeconds = wholeNumber(parser.value(quiet), 1, 60);
        if (!r.quietSeconds)
            return mistake(
                QStringLiteral("Bad --quiet '%1': from 1 to 60 seconds.").arg(parser.value(quiet)));
    }
    if (parser.isSet(at)) {
        const QTime time = QTime::fromString(parser.value(at).trimmed(), QStringLiteral("H:mm"));
        if (!time.isValid())
            return mistake(QStringLiteral("Bad --at '%1': a time as HH:MM.").arg(parser.value(at)));
        r.at = time;
    }
    return c;
}
