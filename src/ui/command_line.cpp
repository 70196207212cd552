#include "ui/command_line.h"

#include "ui/about_dialog.h"
#include "ui/main_window.h"
#include "ui/ui_services.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>

namespace {

const QString kCommandName = QStringLiteral("tavrin-sound-recorder");

CommandLine finish(int exitCode, const QString &message)
{
    CommandLine c;
    c.exitCode = exitCode;
    c.message = message.endsWith(QLatin1Char('\n')) ? message : message + QLatin1Char('\n');
    return c;
}

CommandLine mistake(const QString &text)
{
    return finish(1, QStringLiteral("%1: %2\nTry '%1 --help' for more information.").arg(kCommandName, text));
}

}  // namespace

CommandLine readCommandLine(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Records sound into MP3, WAV, WMA, FLAC, Ogg Vorbis and Opus files, plays them back "
                       "and edits their tags."));
    // Not addHelpOption: its --help-all would list Qt's options, which parse() cannot print.
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Displays help on commandline options."));
    parser.addOption(help);
    const QCommandLineOption version = parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("file"),
                                 QStringLiteral("A sound file to open at start-up, as File / Open does."),
                                 QStringLiteral("[file]"));

    if (!parser.parse(arguments))
        return mistake(parser.errorText());
    if (parser.isSet(help)) {
        // Qt names the program by how it was started, or "<executable_name>" before the
        // application object exists; the usage line names the command as it is typed.
        QString text = parser.helpText();
        text.replace(0, text.indexOf(QLatin1Char('\n')),
                     QStringLiteral("Usage: %1 [options] [file]").arg(kCommandName));
        return finish(0, text);
    }
    if (parser.isSet(version)) {
        const QString number = versionText.startsWith(QLatin1Char('v')) ? versionText.mid(1) : versionText;
        return finish(0, kCommandName + QLatin1Char(' ') + number);
    }
    const QStringList files = parser.positionalArguments();
    if (files.size() > 1)
        return mistake(QStringLiteral("Only one file can be opened at a time; %1 were named.").arg(files.size()));
    CommandLine c;
    if (!files.isEmpty() && !files.first().isEmpty())
        c.fileToOpen = QDir::cleanPath(QFileInfo(files.first()).absoluteFilePath());
    return c;
}

void openFromCommandLine(MainWindow &window, const QString &path)
{
    ui::runCommand([&] { window.openFile(path); });
}
