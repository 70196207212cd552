// Records through the recording session, without a window, into the given folder in the
// given format (".wav" unless one is named), with the part's journal in that folder, until it
// is killed; prints the recording's path once capture runs. SIGTERM, SIGINT and SIGHUP end
// the recording as Stop does, and the program with status 0.
#include "session/recorded_files.h"
#include "session/recording_session.h"
#include "session/termination_signals.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc < 2)
        return 2;
    const QString folder = QString::fromLocal8Bit(argv[1]);
    auto factory = engine::createEngineFactory();
    RecordedFiles files(*factory);
    RecordingSession recording(*factory, files);
    QObject::connect(&recording, &RecordingSession::failed,
                     [](const QString &text) { std::fprintf(stderr, "failed: %s\n", qPrintable(text)); });
    RecordingSettings settings;
    settings.savePath = folder + QStringLiteral("/rec/");
    settings.saveFormat = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QStringLiteral(".wav");
    settings.mp3Frequency = 44100;
    settings.mp3Bitrate = 128;
    settings.wavFrequency = 44100;
    settings.wavChannels = 2;
    settings.wavBitsPerSample = 16;
    settings.wmaProfile = 38;
    recording.setSettings(settings);
    recording.setJournalFolder(folder);
    TerminationSignals termination;
    QObject::connect(&termination, &TerminationSignals::requested, [&recording] {
        recording.stop();
        QCoreApplication::quit();
    });
    recording.record();
    if (!recording.isActive())
        return 1;
    std::printf("%s\n", qPrintable(recording.partPath()));
    std::fflush(stdout);
    return app.exec();
}
