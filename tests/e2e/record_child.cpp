// Starts a WAV recording in the given folder and records until it is killed; prints the
// recording's path once capture runs.
#include "ui/main_window.h"
#include "ui/ui_services.h"

#include <QApplication>
#include <QTimer>

#include <cstdio>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (argc < 2)
        return 2;
    const QString folder = QString::fromLocal8Bit(argv[1]);
    ui::Hooks hooks;
    hooks.box = [](const ui::Box &b) {
        std::fprintf(stderr, "box: %s\n", qPrintable(b.text));
        return true;
    };
    ui::setHooks(hooks);
    auto factory = engine::createEngineFactory();
    MainWindow form(*factory, AppPaths::besideProgram(folder));
    form.CreateSecondaryWindows();
    form.TimerTip->stop();
    form.show();
    form.CurrentSettings.savePath = folder + QStringLiteral("/rec/");
    form.CurrentSettings.saveFormat = QStringLiteral(".wav");
    form.ApplyOutputFormat();
    form.StartRecording();
    if (!form.Recording)
        return 1;
    std::printf("%s\n", qPrintable(form.CurrentRecordingName));
    std::fflush(stdout);
    return app.exec();
}
