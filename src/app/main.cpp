#include "session/app_paths.h"
#include "session/termination_signals.h"
#include "ui/main_window.h"
#include "ui/ui_services.h"

#include <QApplication>

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

}  // namespace

int main(int argc, char *argv[])
{
    TavrinApplication app(argc, argv);
    QApplication::setApplicationName(ui::applicationTitle);
    QApplication::setApplicationDisplayName(ui::applicationTitle);
    QApplication::setDesktopFileName(QStringLiteral("tavrin-sound-recorder"));

    std::unique_ptr<engine::IEngineFactory> factory = engine::createEngineFactory();
    MainWindow window(*factory, AppPaths::forApplication());
    window.createSecondaryWindows();
    window.show();
    // A logout, a shutdown or Ctrl+C ends the program as closing its window does.
    TerminationSignals termination;
    QObject::connect(&termination, &TerminationSignals::requested, &window, [&window] {
        window.close();
        QApplication::quit();
    });
    return app.exec();
}
