#include "session/app_paths.h"
#include "session/recorder_core.h"
#include "session/termination_signals.h"
#include "ui/command_line.h"
#include "ui/main_window.h"
#include "ui/ui_services.h"

#include <QApplication>
#include <QTimer>

#include <cstdio>
#include <exception>

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

}  // namespace

int main(int argc, char *argv[])
{
    // --help and --version are answered before the window system is reached, so that they
    // work on a terminal without a display. Anything the program does not know may be one
    // of Qt's own options (-platform, -style, ...), which QApplication takes first.
    QStringList rawArguments;
    for (int i = 0; i < argc; ++i)
        rawArguments.append(QString::fromLocal8Bit(argv[i]));
    if (const CommandLine early = readCommandLine(rawArguments); early.exitCode == 0)
        return answer(early);

    TavrinApplication app(argc, argv);
    QApplication::setApplicationName(ui::applicationTitle);
    QApplication::setApplicationDisplayName(ui::applicationTitle);
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
        if (shown)
            shown->close();
        QApplication::quit();
    });

    // The recorder itself, then the window that shows it; the core outlives the window.
    std::unique_ptr<engine::IEngineFactory> factory = engine::createEngineFactory();
    RecorderCore core(*factory, AppPaths::forApplication());
    MainWindow window(core);
    shown = &window;
    window.createSecondaryWindows();
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
