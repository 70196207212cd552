// Grabs the main window, each of its tabs and its dialogs into PNG files, on the real engine:
// `grab_screens <folder> [file to list...]`. Run by scripts/screenshots under a virtual
// display; the pictures show how the program looks, for the README and for review.
#include "session/recorded_files.h"
#include "ui/main_window.h"
#include "ui/ui_services.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QTabWidget>
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

}  // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (argc < 2)
        return 2;
    const QDir out(QString::fromLocal8Bit(argv[1]));
    ui::Hooks hooks;
    hooks.box = [](const ui::Box &b) {
        std::fprintf(stderr, "box: %s\n", qPrintable(b.text));
        return true;
    };
    ui::setHooks(hooks);
    auto factory = engine::createEngineFactory();
    MainWindow window(*factory, AppPaths::besideProgram(out.absolutePath()));
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
    window.showTab(0);
    grabNextDialog(out.filePath(QStringLiteral("options.png")));
    window.showOptions();
    grabNextDialog(out.filePath(QStringLiteral("equalizer.png")));
    window.showEqualizer();
    grabNextDialog(out.filePath(QStringLiteral("about.png")));
    window.showAbout();
    return 0;
}
