#include "app/translations.h"
#include "cli/command_line.h"
#include "cli/command_line_recorder.h"
#include "cli/input_sources.h"
#include "cli/remote_client.h"
#include "session/app_paths.h"
#include "session/device_controls.h"
#include "session/program_identity.h"
#include "session/recorder_core.h"
#include "session/termination_signals.h"
#include "ui/colour_scheme.h"
#include "ui/desktop_notifications.h"
#include "ui/global_shortcuts.h"
#include "ui/main_window.h"
#include "ui/media_player_control.h"
#include "ui/remote_control.h"
#include "ui/ui_services.h"

#include <QApplication>
#include <QCoreApplication>
#include <QTimer>

#include <cstdio>
#include <exception>

#include <unistd.h>

namespace {

// The last line of defence: an error that escapes a handler ends that command and is shown;
// the window stays usable.
class TavrinApplication : public QApplication {
public:
    using QApplication::QApplication;
    bool notify(QObject *receiver, QEvent *event) override
    {
        try {
            return QApplication::notify(receiver, event);
        } catch (const std::exception &e) {
            ui::errorBox(e);
        } catch (...) {
            ui::errorBox(QStringLiteral("Unexpected error"));
        }
        return false;
    }
};

// Prints what the command line asked for (help, the version) or got wrong; its exit code.
int answer(const CommandLine &commandLine)
{
    std::fputs(qPrintable(commandLine.message), *commandLine.exitCode == 0 ? stdout : stderr);
    return *commandLine.exitCode;
}

// Whether the arguments ask for a mode without a window: its mistakes are answered at once,
// since no display may be there to open.
bool asksForWindowlessMode(const QStringList &arguments)
{
    for (const QString &a : arguments.mid(1))
        if (a == QLatin1String("--record") || a == QLatin1String("--list-sources") || a == QLatin1String("--remote")
            || a.startsWith(QLatin1String("--remote=")))
            return true;
    return false;
}

// --list-sources: every input the recorder offers, one per line.
int listSources()
{
    std::unique_ptr<engine::IEngineFactory> factory = engine::createEngineFactory();
    std::unique_ptr<engine::IAudioRecord2> recorder = factory->createRecorder(QStringLiteral("AudioRecord1"));
    MixerLines inputs(*recorder);
    if (inputs.highestDevice() < 0) {
        std::fprintf(stderr, "%s: no input can be listed: the sound server cannot be reached\n",
                     qPrintable(commandName));
        return 1;
    }
    for (const InputSource &s : inputSources(inputs))
        std::fprintf(stdout, "%s\t%s%s\n", qPrintable(s.name), qPrintable(s.description),
                     s.isDefault ? "\tdefault" : "");
    return 0;
}

// --record: one run of the recorder core, without a window.
int recordWithoutWindow(QCoreApplication &app, const RecordRequest &request)
{
    // Ctrl+C, SIGTERM and SIGHUP end the recording as Stop does.
    TerminationSignals termination;
    std::unique_ptr<engine::IEngineFactory> factory = engine::createEngineFactory();
    RecorderCore core(*factory, AppPaths::forApplication());
    CommandLineRecorder recorder(core, request, stdout, stderr, ::isatty(STDERR_FILENO) == 1);
    QObject::connect(&termination, &TerminationSignals::requested, &recorder, &CommandLineRecorder::stop);
    // SIGUSR1, and Enter on a terminal, add a marker.
    termination.watchUserSignal();
    QObject::connect(&termination, &TerminationSignals::userSignal, &recorder, &CommandLineRecorder::addMarker);
    if (::isatty(STDIN_FILENO) == 1)
        recorder.takeMarkersFromTerminal();
    QObject::connect(&recorder, &CommandLineRecorder::finished, &app, &QCoreApplication::exit);
    QTimer::singleShot(0, &recorder, &CommandLineRecorder::start);
    return app.exec();
}

// The catalogues of the program in the running executable's folder (or its install).
QString translationsDir()
{
    return AppPaths::forProgramDir(QCoreApplication::applicationDirPath()).translationsDir;
}

// The answers without a window (--help, --version, a mistake) and the modes without one: no
// display is opened. The command line is read again in the user's language.
int runWithoutWindow(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(ui::applicationTitle);
    installTranslations(translationsDir());
    const CommandLine commandLine = readCommandLine(QCoreApplication::arguments());
    if (commandLine.exitCode)
        return answer(commandLine);
    switch (commandLine.mode) {
    case CommandLine::Mode::ListSources:
        return listSources();
    case CommandLine::Mode::Remote:
        return callRemote(commandLine.remoteCommand, commandLine.markerName, stdout, stderr);
    case CommandLine::Mode::Record:
        return recordWithoutWindow(app, commandLine.record);
    case CommandLine::Mode::Window:
        break;
    }
    return 0;
}

}  // namespace

int main(int argc, char *argv[])
{
    // --help, --version and the modes without a window are answered before the window
    // system is reached, so that they work on a terminal without a display. For the window,
    // anything the program does not know may be one of Qt's own options (-platform, -style,
    // ...), which QApplication takes first.
    QStringList rawArguments;
    for (int i = 0; i < argc; ++i)
        rawArguments.append(QString::fromLocal8Bit(argv[i]));
    const CommandLine early = readCommandLine(rawArguments);
    if (early.exitCode == 0 || (early.exitCode && asksForWindowlessMode(rawArguments))
        || (!early.exitCode && early.mode != CommandLine::Mode::Window))
        return runWithoutWindow(argc, argv);

    TavrinApplication app(argc, argv);
    QApplication::setApplicationName(ui::applicationTitle);
    QApplication::setApplicationDisplayName(ui::applicationTitle);
    installTranslations(translationsDir());
    // Dark where the desktop prefers it and the platform theme did not follow.
    ui::followDesktopColourScheme();
    // The menu entry's name, so that the desktop matches the window to it.
    QApplication::setDesktopFileName(QStringLiteral("org.example.TavrinSoundRecorder"));

    // A mistake is told and ends the program here, before any window or sound server.
    const CommandLine commandLine = readCommandLine(QCoreApplication::arguments());
    if (commandLine.exitCode)
        return answer(commandLine);

    // A logout, a shutdown or Ctrl+C ends the program as closing its window does; the handlers
    // are in place before anything that takes time.
    TerminationSignals termination;
    MainWindow *shown = nullptr;
    QObject::connect(&termination, &TerminationSignals::requested, &app, [&shown] {
        // Never a question, never the tray: the run ends as Stop ends it.
        if (shown)
            shown->quitNow();
        QApplication::quit();
    });

    // The recorder itself, then the window that shows it; the core outlives the window.
    std::unique_ptr<engine::IEngineFactory> factory = engine::createEngineFactory();
    RecorderCore core(*factory, AppPaths::forApplication());
    MainWindow window(core);
    shown = &window;
    window.createSecondaryWindows();
    // Other programs may drive the window over the session bus; the first window keeps the
    // name, and without a bus there is no remote control.
    RemoteControl remoteControl(window);
    remoteControl.registerOnSessionBus();
    // The desktop's players and media keys, its notifications and its global shortcuts; each
    // does nothing where the desktop lacks the service.
    MediaPlayerControl mediaPlayer(window);
    mediaPlayer.registerOnBus();
    DesktopNotifications notifications(window, core);
    GlobalShortcuts globalShortcuts(window);
    window.setGlobalShortcuts(&globalShortcuts);
    globalShortcuts.start();
    window.show();
    // A file named on the command line opens once the window is on the screen, as Open would.
    if (!commandLine.fileToOpen.isEmpty())
        QTimer::singleShot(0, &window, [&window, &commandLine] {
            openFromCommandLine(window, commandLine.fileToOpen);
        });
    // What a crash left behind is repaired while the window is already usable.
    core.startRecovery();
    const int status = app.exec();
    shown = nullptr;
    return status;
}
