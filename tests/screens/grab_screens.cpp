// Grabs the main window, each of its tabs and its dialogs into PNG files, on the real engine:
//   grab_screens <folder> [file to list...]
//   grab_screens --playing <picture.png> <file>   the main window 2.5 seconds into playing
//                                                 the file, its spectrum moving (the README's)
// Run by scripts/screenshots under a virtual display; the pictures show how the program
// looks, for the README and for review.
#include "app/translations.h"
#include "session/recorded_files.h"
#include "ui/colour_scheme.h"
#include "ui/main_window.h"
#include "ui/ui_services.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QEventLoop>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

namespace {

void save(QWidget *w, const QString &path)
{
    QApplication::processEvents();
    if (!w->grab().save(path))
        std::fprintf(stderr, "cannot save %s\n", qPrintable(path));
    else
        std::printf("%s\n", qPrintable(path));
}

// Grabs the first dialog that opens modally, then closes it.
void grabNextDialog(const QString &path)
{
    QTimer::singleShot(300, [path] {
        for (QWidget *w : QApplication::topLevelWidgets()) {
            auto *d = qobject_cast<QDialog *>(w);
            if (d && d->isVisible()) {
                save(d, path);
                d->reject();
                return;
            }
        }
    });
}

// The main window playing a file, grabbed once its spectrum and meters have something to show.
int grabPlaying(const QString &picture, const QString &file)
{
    auto factory = engine::createEngineFactory();
    QTemporaryDir programDir;
    RecorderCore core(*factory, AppPaths::besideProgram(programDir.path()));
    MainWindow window(core);
    window.setTipOfTheDayOffered(false);
    window.createSecondaryWindows();
    window.show();
    window.openFile(file);
    window.showTab(0);
    window.play();
    if (!window.playback().isActive()) {
        std::fprintf(stderr, "cannot play %s\n", qPrintable(file));
        return 1;
    }
    QEventLoop wait;
    QTimer::singleShot(2500, &wait, &QEventLoop::quit);
    wait.exec();
    const bool saved = window.grab().save(picture);
    window.stop();
    if (!saved) {
        std::fprintf(stderr, "cannot save %s\n", qPrintable(picture));
        return 1;
    }
    std::printf("%s\n", qPrintable(picture));
    return 0;
}

}  // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    installTranslations(QStringLiteral(TAVRIN_TRANSLATIONS_DIR));
    // scripts/screenshots --dark: the program under a dark palette, as a dark desktop gives it.
    if (qEnvironmentVariableIntValue("TAVRIN_DARK") == 1)
        QApplication::setPalette(ui::darkPalette());
    if (argc < 2)
        return 2;
    const QDir out(QString::fromLocal8Bit(argv[1]));
    ui::Hooks hooks;
    hooks.box = [](const ui::Box &b) {
        std::fprintf(stderr, "box: %s\n", qPrintable(b.text));
        return true;
    };
    ui::setHooks(hooks);
    if (out.path() == QLatin1String("--playing"))
        return argc == 4 ? grabPlaying(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3])) : 2;
    auto factory = engine::createEngineFactory();
    RecorderCore core(*factory, AppPaths::besideProgram(out.absolutePath()));
    MainWindow window(core);
    window.setTipOfTheDayOffered(false);
    window.createSecondaryWindows();
    window.show();
    for (int i = 2; i < argc; ++i)
        window.openFile(QString::fromLocal8Bit(argv[i]));
    auto *pages = window.findChild<QTabWidget *>(QStringLiteral("pages"));
    const char *names[] = {"record-sound", "recording-controls", "playback-controls", "file-info"};
    for (int tab = 0; tab < pages->count(); ++tab) {
        window.showTab(tab);
        QApplication::processEvents();
        save(&window, out.filePath(QStringLiteral("main-%1.png").arg(QLatin1String(names[tab]))));
    }
    // Recording Controls with "Microphone + computer sound" chosen: its two levels.
    if (auto *inputs = window.findChild<QComboBox *>(QStringLiteral("inputDeviceList"))) {
        const int mix = inputs->count() - 1;   // the mix is the list's last entry
        if (mix >= 0) {
            window.showTab(1);
            inputs->setCurrentIndex(mix);
            emit inputs->activated(mix);
            save(&window, out.filePath(QStringLiteral("main-recording-controls-mix.png")));
        }
    }
    window.showTab(0);
    grabNextDialog(out.filePath(QStringLiteral("schedule.png")));
    window.scheduleRecording();
    grabNextDialog(out.filePath(QStringLiteral("options.png")));
    window.showOptions();
    grabNextDialog(out.filePath(QStringLiteral("equalizer.png")));
    window.showEqualizer();
    grabNextDialog(out.filePath(QStringLiteral("about.png")));
    window.showAbout();
    return 0;
}
