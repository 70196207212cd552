// The recorder core without a window, on the fake engine: the typed settings' round trip
// through setup.ini, the transport status the windows show, the files it keeps busy, and
// crash recovery at start-up.
#include "fakes/fake_engine.h"
#include "session/ini_file.h"
#include "session/part_journal.h"
#include "session/recorder_core.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <fcntl.h>
#include <unistd.h>

namespace {

struct Core {
    QTemporaryDir dir;
    fake::FakeEngine engine;
    std::unique_ptr<RecorderCore> core;

    QString path(const QString &name) const { return dir.filePath(name); }
    void start() { core = std::make_unique<RecorderCore>(engine, AppPaths::besideProgram(dir.path())); }
};

}  // namespace

class TestRecorderCore : public QObject {
    Q_OBJECT

private slots:
    // Everything the program keeps in setup.ini goes through ProgramSettings, and comes back
    // as it went in; the stored settings are in force from start-up.
    void settingsRoundTrip()
    {
        Core c;
        ProgramSettings settings(c.path("setup.ini"), c.path("Recording/"));
        QCOMPARE(settings.recording().savePath, c.path("Recording/"));
        QCOMPARE(settings.storedTimeLimit(), -1);
        QCOMPARE(settings.mp3Position(), 5);
        QCOMPARE(settings.wavPosition(), 15);
        QVERIFY(settings.showsTips());
        RecordingSettings s = settings.recording();
        s.saveFormat = ".flac";
        s.savePath = "/music/rec/";
        s.timeLimitSeconds = 90;
        s.flacFrequency = 48000;
        s.prerecordSeconds = 5;
        settings.storeRecording(s, 3, 7);
        settings.storeMixLevels({40, 70});
        settings.storeTips(4, false);
        const QByteArray written = [&] {
            QFile f(c.path("setup.ini"));
            return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
        }();
        settings.storeMixLevels({40, 70});   // no change: no write
        QCOMPARE(QFile(c.path("setup.ini")).size(), qint64(written.size()));

        const RecordingSettings back = settings.recording();
        QCOMPARE(back.saveFormat, QString(".flac"));
        QCOMPARE(back.savePath, QString("/music/rec/"));
        QCOMPARE(back.timeLimitSeconds, 90);
        QCOMPARE(back.flacFrequency, 48000);
        QCOMPARE(back.prerecordSeconds, 5);
        QCOMPARE(settings.storedTimeLimit(), 90);
        QCOMPARE(settings.mp3Position(), 3);
        QCOMPARE(settings.wavPosition(), 7);
        QVERIFY(settings.mixLevels() == (ProgramSettings::MixLevels{40, 70}));
        QCOMPARE(settings.tipNumber(), 4);
        QVERIFY(!settings.showsTips());

        c.start();
        QCOMPARE(c.core->recording().settings().timeLimitSeconds, 90);
        QCOMPARE(c.engine.recorder()->GetMicrophoneMixLevel(), 40);
        QCOMPARE(c.engine.recorder()->GetComputerMixLevel(), 70);
        QVERIFY(!c.core->separateSides());
        c.core->setSeparateSides(true);   // in force and stored at once
        QVERIFY(c.core->recording().settings().separateSides);
        QVERIFY(settings.recording().separateSides);
    }

    // What panel 0 and the transport block show, and who owns the display, as the sessions
    // go through their states; a file being recorded is kept from renaming and deleting, and
    // one being played from tag writes.
    void transportStatusAndBusyFiles()
    {
        Core c;
        c.start();
        RecorderCore &core = *c.core;
        // Panel 0's text, and the state word the remote control reports.
        const auto status = [&core] { return core.transportStatus().text + " | " + core.stateName(); };
        QCOMPARE(status(), QString("Stop | Stopped"));
        QVERIFY(!core.recordingOwnsDisplay());

        c.engine.addFile(c.path("song.wav"), 44100 * 60);
        core.openFile(c.path("song.wav"));
        core.play(0);
        QCOMPARE(status(), QString("Playing... | Playing"));
        QCOMPARE(core.currentFile(), c.path("song.wav"));
        QVERIFY(core.transportStatus().look == RecorderCore::Look::Playing);
        QVERIFY(!core.tagsMayBeWritten(c.path("song.wav")));
        core.setSpectrumFrames(2048);
        c.engine.player()->emitTimer(44100);
        QCOMPARE(c.engine.log.count("player.GetSnapshotArray(2048)"), 1);

        core.record();   // both run: the recording comes first and owns the display
        QCOMPARE(status(), QString("Recording... | Recording"));
        QCOMPARE(core.currentFile(), core.recording().partPath());
        QVERIFY(core.recordingOwnsDisplay());
        core.setSpectrumFrames(2048);
        c.engine.log.clear();
        c.engine.player()->emitTimer(88200);
        QCOMPARE(c.engine.log.count("player.GetSnapshotArray("), 0);

        const QString part = core.recording().partPath();
        QCOMPARE(core.files().count(), 1);
        core.pause();
        QCOMPARE(status(), QString("Pause | Paused"));
        QVERIFY(core.transportStatus().look == RecorderCore::Look::Paused);
        core.stop();
        QCOMPARE(status(), QString("Stop | Stopped"));
        QCOMPARE(core.files().count(), 2);   // the song and the part
        QVERIFY(core.tagsMayBeWritten(c.path("song.wav")));

        QCOMPARE(core.files().at(1).path, part);
        // A run that waits for its lost device has listed its part, and goes on with it.
        core.record();
        c.engine.recorder()->emitDeviceError("gone");
        QCOMPARE(status(), QString("Waiting for device... | WaitingForDevice"));
        const int row = core.files().count() - 1;
        QVERIFY(core.files().at(row).path != part);
        QVERIFY_THROWS_EXCEPTION(std::runtime_error, core.renameFile(row, "x"));
        QVERIFY_THROWS_EXCEPTION(std::runtime_error, core.deleteFile(row));
        QCOMPARE(core.renameFile(1, "take2"), QString());   // an earlier part is free
        core.stop();

        QDateTime now(QDate(2026, 12, 8), QTime(6, 30));
        core.recording().setClock([&now] { return now; });
        core.recording().schedule(now.addSecs(3723), 0);
        QCOMPARE(status(), QString("Recording in 01:02:03 | Scheduled"));
        core.stop();
        core.recording().setSettings([&] {
            RecordingSettings s = core.recording().settings();
            s.prerecordSeconds = 3;
            return s;
        }());
        QCOMPARE(status(), QString("Listening | Listening"));
        QVERIFY(!core.recordingOwnsDisplay());
    }

    // "Listen to the input": in force at once, refused with the engine's reason, kept for the
    // next start, and ended by a device chosen later that would play back into the output.
    void monitoring()
    {
        Core c;
        c.start();
        RecorderCore &core = *c.core;
        QCOMPARE(core.setMonitoring(true), QString());
        QVERIFY(core.monitoring() && c.engine.recorder()->GetMonitor());
        core.shutDown();
        QVERIFY(ProgramSettings(c.path("setup.ini"), QString()).monitoring());

        c.core.reset();
        c.start();   // the next start listens again
        QVERIFY(c.core->monitoring() && c.engine.recorder()->GetMonitor());
        QSignalSpy ended(c.core.get(), &RecorderCore::monitoringEnded);
        c.engine.recorder()->monitorRefusal = "It would play back into itself";
        c.core->devicesChosen();
        QCOMPARE(ended.value(0).value(0).toString(), QString("It would play back into itself"));
        QVERIFY(!c.core->monitoring());
        QCOMPARE(c.core->setMonitoring(true), QString("It would play back into itself"));
        QVERIFY(!c.core->monitoring());
    }

    // At start-up the core repairs what a crash left, without any window, and lists it.
    void recoveryAtStartUp()
    {
        Core c;
        const QString recording = c.path("Recording/Untitled1.wav");
        QVERIFY(QDir().mkpath(c.path("Recording")));
        QFile file(recording);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write("RIFF") == 4);
        file.close();
        c.engine.addFile(recording, 44100 * 3);
        const int fd = ::open(QFile::encodeName(recording).constData(), O_RDWR | O_CLOEXEC);
        std::unique_ptr<PartJournal> journal = PartJournal::open(c.dir.path(), recording, fd, ".wav");
        ::close(fd);
        QVERIFY(journal);
        journal->keep();
        journal.reset();

        c.start();
        QSignalSpy recovered(c.core.get(), &RecorderCore::recovered);
        c.core->startRecovery();
        QTRY_COMPARE(recovered.count(), 1);
        const RecoveryReport report = recovered[0][0].value<RecoveryReport>();
        QCOMPARE(report.said, QStringList({"Recovered Untitled1.wav (00:03) from a recording that was interrupted."}));
        QCOMPARE(c.core->files().count(), 1);
        QCOMPARE(c.core->files().at(0).path, recording);
    }
};

QTEST_GUILESS_MAIN(TestRecorderCore)
#include "tst_recorder_core.moc"
