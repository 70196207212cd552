#include "session_fixture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>
#include <unistd.h>

using State = RecordingSession::State;

static quint64 inodeOf(const QString &path)
{
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? quint64(st.st_ino) : 0;
}

class TestRecordingSession : public QObject {
    Q_OBJECT

private slots:
    void aPartRecordsInTheWritersFormat()
    {
        SessionFixture f;
        f.recording.record();
        const QString file = f.path("rec/Untitled1.mp3");
        QCOMPARE(f.recording.state(), State::Recording);
        // The recorder captures in the written file's format, in 200 ms blocks.
        QVERIFY(f.engine.log.indexOf("writer.Create(" + file + ",0)") >= 0);
        QVERIFY(f.engine.log.indexOf("recorder.SetFormat(2,44100)") >= 0);
        QCOMPARE(f.recorder()->blockSize(), qint64(8820));
        QVERIFY(f.recorder()->isRunning());
        QCOMPARE(f.partsStarted, QStringList({file}));
        QCOMPARE(f.formats, QStringList({"MPEG 1.0 layer-3: 128 kbps, 44100 Hz, Stereo"}));
        QCOMPARE(f.files.currentFile(), file);
        QCOMPARE(f.recording.partPath(), file);
    }

    void stateTableEventByEvent()
    {
        SessionFixture f;
        RecordingClock clock(f);
        fake::CallLog &log = f.engine.log;

        f.recording.record();
        clock.run(1);

        log.clear();
        f.recording.record();   // Record while recording: nothing
        QCOMPARE(log.calls, QStringList());

        f.recording.pause();
        QCOMPARE(f.recording.state(), State::Paused);
        QCOMPARE(log.matching("recorder."), QStringList({"recorder.Stop()", "recorder.SetRecordFlag(false)"}));

        // A block that was still on its way when the pause stopped capture is written.
        log.clear();
        f.recorder()->emitBlock();
        f.settle();
        QCOMPARE(log.count("writer.WriteArray("), 1);
        // A tick that was on its way shows nothing.
        f.elapsedMs = -1;
        f.recorder()->emitTimer(44100, 1, 1);
        QCOMPARE(f.elapsedMs, qint64(-1));

        log.clear();
        f.recording.pause();    // Pause while paused: nothing
        QCOMPARE(log.calls, QStringList());

        f.recording.record();   // Record after Pause resumes the same file
        QCOMPARE(f.recording.state(), State::Recording);
        QCOMPARE(log.count("writer.Create("), 0);
        QCOMPARE(log.count("recorder.Start()"), 1);
        clock.run(1);

        f.recording.pause();
        log.clear();
        f.recording.stop();     // Stop while paused finalises and lists
        QCOMPARE(f.recording.state(), State::Idle);
        QVERIFY(log.indexOf("writer.GetNumSamples()") < log.indexOf("writer.Close()"));
        QCOMPARE(f.rows(), QStringList({"Untitled1.mp3 00:02"}));
        QCOMPARE(f.runsEnded, 1);
        QCOMPARE(f.recording.lastPartFrames(), qint64(44100 * 2 + 8820));
        QCOMPARE(f.recording.lastPartRate(), 44100);

        log.clear();
        f.recording.stop();     // Stop with nothing running: nothing
        QCOMPARE(log.calls, QStringList());
        QCOMPARE(f.failures, QStringList());
    }

    void naming_data()
    {
        QTest::addColumn<QStringList>("existing");
        QTest::addColumn<QString>("format");
        QTest::addColumn<QString>("expected");
        QTest::newRow("first") << QStringList{} << ".mp3" << "Untitled1.mp3";
        QTest::newRow("gap is filled") << QStringList{"Untitled1.mp3", "Untitled3.mp3"} << ".mp3" << "Untitled2.mp3";
        QTest::newRow("other extension is free") << QStringList{"Untitled1.mp3", "Untitled3.mp3"} << ".wav" << "Untitled1.wav";
        QTest::newRow("typed extension kept") << QStringList{"Untitled1.mp3"} << ".MP3" << "Untitled1.MP3";
        QTest::newRow("new format") << QStringList{"Untitled1.mp3"} << ".flac" << "Untitled1.flac";
        // A format the program does not write is recorded as MP3, and named so.
        QTest::newRow("unknown format") << QStringList{} << ".aac" << "Untitled1.mp3";
        // Any directory entry takes its name, a link to nowhere included; nothing is followed.
        QTest::newRow("dangling link") << QStringList{"Untitled1.wav->nowhere/target.wav"} << ".wav" << "Untitled2.wav";
    }
    void naming()
    {
        QFETCH(QStringList, existing);
        QFETCH(QString, format);
        QFETCH(QString, expected);
        SessionFixture f;
        f.settings([&](RecordingSettings &s) { s.saveFormat = format; });
        QDir().mkpath(f.path("rec"));
        for (const QString &entry : existing) {
            const QStringList link = entry.split("->");
            if (link.size() == 2) {
                QVERIFY(QFile::link(f.path(link[1]), f.path("rec/" + link[0])));
                continue;
            }
            QFile file(f.path("rec/" + entry));
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        f.recording.record();
        QCOMPARE(f.recording.partPath(), f.path("rec/" + expected));
        QVERIFY(!QFileInfo::exists(f.path("nowhere/target.wav")));
    }

    void saveFolderForms_data()
    {
        QTest::addColumn<QString>("folder");   // relative to the test folder; "" = none set
        QTest::addColumn<QString>("file");     // what the recording writes, or "" for none
        QTest::addColumn<QString>("error");
        QTest::newRow("no trailing slash") << "rec" << "rec/Untitled1.mp3" << "";
        QTest::newRow("trailing slash") << "rec/" << "rec/Untitled1.mp3" << "";
        QTest::newRow("missing parents are made") << "a/b/c/" << "a/b/c/Untitled1.mp3" << "";
        QTest::newRow("none set") << "" << "" << "No folder is set for recordings. Choose one in Options";
        QTest::newRow("not creatable") << "plainfile/sub/" << "" << "Cannot create %1";
    }
    void saveFolderForms()
    {
        QFETCH(QString, folder);
        QFETCH(QString, file);
        QFETCH(QString, error);
        SessionFixture f;
        QFile blocker(f.path("plainfile"));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        const QString savePath = folder.isEmpty() ? QString() : f.path(folder);
        f.settings([&](RecordingSettings &s) { s.savePath = savePath; });
        f.recording.record();
        QCOMPARE(f.failures, error.isEmpty() ? QStringList() : QStringList{error.arg(savePath)});
        QCOMPARE(f.recording.isActive(), !file.isEmpty());
        if (!file.isEmpty())
            QCOMPARE(f.recording.partPath(), f.path(file));
        else
            QCOMPARE(f.engine.log.count("recorder.Start()"), 0);
        QVERIFY(!QFileInfo::exists(f.path("recUntitled1.mp3")));
    }

    void aFolderNameThatIsNotUtf8IsRefused()
    {
        // Such a name decodes with U+FFFD; creating it would make a folder the user never named.
        SessionFixture f;
        const QByteArray parent = QFile::encodeName(f.path("caf")) + "\xe9";
        QVERIFY(::mkdir(parent.constData(), 0755) == 0);
        const QString savePath = QFile::decodeName(parent + "/rec/");
        QVERIFY(savePath.contains(QChar(QChar::ReplacementCharacter)));
        f.settings([&](RecordingSettings &s) { s.savePath = savePath; });
        f.recording.record();
        QCOMPARE(f.failures.size(), 1);
        QVERIFY2(f.failures[0].contains("not valid UTF-8"), qPrintable(f.failures[0]));
        QVERIFY(!f.recording.isActive());
        QVERIFY(!QFileInfo::exists(savePath));   // no look-alike folder was made
        QCOMPARE(::rmdir(parent.constData()), 0);   // QTemporaryDir cannot name it
    }

    void captureThatDoesNotStartLeavesNothingBehind()
    {
        SessionFixture f;
        QSignalSpy states(&f.recording, &RecordingSession::stateChanged);
        f.recorder()->startError = 3;
        f.recorder()->startErrorText = "No sound server answers";
        f.recording.record();
        QCOMPARE(f.failures, QStringList({"No sound server answers"}));
        QCOMPARE(f.recording.state(), State::Idle);
        QCOMPARE(states.count(), 0);
        QCOMPARE(f.files.count(), 0);
        QCOMPARE(f.runsEnded, 0);
        QCOMPARE(f.partsStarted, QStringList());
        QVERIFY(!QFileInfo::exists(f.path("rec/Untitled1.mp3")));

        // The next try that works gets the first name again.
        f.recorder()->startError = 0;
        f.recording.record();
        QCOMPARE(f.recording.state(), State::Recording);
        QCOMPARE(f.recording.partPath(), f.path("rec/Untitled1.mp3"));
    }

    void aResumeThatFailsKeepsWhatWasRecorded()
    {
        SessionFixture f;
        RecordingClock clock(f);
        f.recording.record();
        clock.run(1);
        f.recording.pause();
        f.recorder()->startError = 3;
        f.recorder()->startErrorText = "The recording device is not available";
        f.recording.record();
        QCOMPARE(f.recording.state(), State::Idle);
        QCOMPARE(f.rows(), QStringList({"Untitled1.mp3 00:01"}));
        QCOMPARE(f.failures, QStringList({"The recording was stopped: The recording device is not available"}));
    }

    void rewriteQuestion_data()
    {
        QTest::addColumn<bool>("answer");
        QTest::newRow("yes") << true;
        QTest::newRow("no") << false;
    }
    void rewriteQuestion()
    {
        // A new part's file that already holds sound (another program may have written there
        // between the name's reservation and the start) is written over only when allowed.
        QFETCH(bool, answer);
        SessionFixture f;
        f.engine.addFile(f.path("rec/Untitled1.mp3"), 44100);
        QFile::remove(f.path("rec/Untitled1.mp3"));
        f.answers.push_back(answer);
        f.recording.record();
        QCOMPARE(f.questions, 1);
        QCOMPARE(f.recording.isActive(), answer);
        QCOMPARE(f.engine.log.count("writer.Create("), answer ? 1 : 0);
        if (!answer)
            QCOMPARE(f.rows(), QStringList({"Untitled1.mp3 00:01"}));   // listed as it is
    }

    void timeLimitStopsAtTheFirstTickThatShowsIt()
    {
        SessionFixture f;
        f.settings([](RecordingSettings &s) { s.timeLimitSeconds = 90; });
        RecordingClock clock(f);
        f.recording.record();
        clock.run(89.8);
        QVERIFY(f.recording.isActive());
        QCOMPARE(f.elapsedSeconds(), 89);
        clock.run(0.2);   // the tick that shows 1:30
        QVERIFY(!f.recording.isActive());
        QCOMPARE(f.rows(), QStringList({"Untitled1.mp3 01:30"}));
        QCOMPARE(f.runsEnded, 1);
    }

    void split_data()
    {
        QTest::addColumn<int>("split");
        QTest::addColumn<int>("limit");
        QTest::addColumn<double>("seconds");
        QTest::addColumn<QStringList>("listed");
        QTest::addColumn<bool>("stillRecording");
        QTest::newRow("every 60 s, no limit")
            << 60 << 0 << 185.0 << QStringList{"Untitled1.mp3 01:00", "Untitled2.mp3 01:00", "Untitled3.mp3 01:00"} << true;
        QTest::newRow("every 60 s, limit 150 s")
            << 60 << 150 << 200.0 << QStringList{"Untitled1.mp3 01:00", "Untitled2.mp3 01:00", "Untitled3.mp3 00:30"} << false;
        QTest::newRow("interval 0 never splits") << 0 << 0 << 130.0 << QStringList{} << true;
    }
    void split()
    {
        QFETCH(int, split);
        QFETCH(int, limit);
        QFETCH(double, seconds);
        QFETCH(QStringList, listed);
        QFETCH(bool, stillRecording);
        SessionFixture f;
        f.settings([&](RecordingSettings &s) {
            s.splitEnabled = true;
            s.splitSeconds = split;
            s.timeLimitSeconds = limit;
        });
        RecordingClock clock(f);
        f.recording.record();
        clock.run(seconds);
        QCOMPARE(f.rows(), listed);
        QCOMPARE(f.recording.isActive(), stillRecording);
        if (stillRecording)
            QCOMPARE(f.elapsedSeconds(), int(seconds));   // the time runs on over all parts
    }

    // A marker goes where capture was when it was asked for, into the part that holds that
    // moment: while recording, while paused (the next frame written), after a split.
    void markersGoWhereCaptureWas()
    {
        SessionFixture f;
        f.settings([](RecordingSettings &s) {
            s.splitEnabled = true;
            s.splitSeconds = 3;
        });
        QVERIFY_THROWS_EXCEPTION(std::runtime_error, f.recording.addMarker());
        RecordingClock clock(f);
        f.recording.record();
        clock.run(1);
        QCOMPARE(f.recording.addMarker("a"), QString("a at 00:00:01"));
        clock.run(1);
        f.recording.pause();
        QCOMPARE(f.recording.addMarker(), QString("Marker 2 at 00:00:02"));
        f.recording.record();
        clock.run(2);   // the split at 3 s, 1 s into the second part
        f.settle();
        QCOMPARE(f.recording.addMarker("line\nbreak=s"), QString("line breaks at 00:00:01"));
        f.recording.stop();
        f.settle();
        const auto markers = [&f](const QString &name) {
            QStringList out;
            for (const engine::FileMarker &m : f.engine.files.value(f.path("rec/" + name)).markers)
                out << QStringLiteral("%1 %2").arg(m.frame).arg(m.name);
            return out;
        };
        QCOMPARE(markers("Untitled1.mp3"), QStringList({"44100 a", "88200 Marker 2"}));
        QCOMPARE(markers("Untitled2.mp3"), QStringList({"44100 line breaks"}));

        // A file holds at most 999; the next one is refused and the recording goes on.
        f.recording.record();
        clock.run(0.2);
        for (int i = 0; i < RecordingSession::kMaxMarkers; ++i)
            f.recording.addMarker();
        QVERIFY_THROWS_EXCEPTION(std::runtime_error, f.recording.addMarker());
        QVERIFY(f.recording.state() == RecordingSession::State::Recording);
        f.recording.stop();
        f.settle();
        QCOMPARE(f.engine.files.value(f.path("rec/Untitled3.mp3")).markers.size(), size_t(999));
        try {
            f.recording.addMarker();
            QFAIL("a marker was taken while nothing is recorded");
        } catch (const std::runtime_error &e) {
            QCOMPARE(QString(e.what()), QString("Not recording"));
        }
    }

    void elapsedTimeCarriesAcrossAPause()
    {
        SessionFixture f;
        f.settings([](RecordingSettings &s) {
            s.timeLimitSeconds = 15;
            s.splitEnabled = true;
            s.splitSeconds = 12;
        });
        RecordingClock clock(f);
        f.recording.record();
        clock.run(10);
        f.recording.pause();
        QCOMPARE(f.elapsedSeconds(), 10);
        f.recording.record();
        clock.run(0.2);
        QCOMPARE(f.elapsedMs, qint64(10200));
        clock.run(1.8);   // 12 s in this part: the split
        QCOMPARE(f.rows(), QStringList({"Untitled1.mp3 00:12"}));
        clock.run(3);     // 15 s in all: the limit
        QVERIFY(!f.recording.isActive());
        QCOMPARE(f.rows(), QStringList({"Untitled1.mp3 00:12", "Untitled2.mp3 00:03"}));
    }

    void ticksGiveTimeLevelsAndSnapshots()
    {
        SessionFixture f;
        QSignalSpy snapshots(&f.recording, &RecordingSession::snapshotReady);
        f.recording.record();
        f.recorder()->emitTimer(44100 * 65 + 4410, 33, 77);
        QCOMPARE(f.elapsedMs, qint64(65100));
        QCOMPARE(f.levelLeft, 33);
        QCOMPARE(f.levelRight, 77);
        QCOMPARE(snapshots.count(), 0);   // nobody looks at the spectrum
        f.recording.setSnapshotFrames(2048);
        f.recorder()->emitTimer(44100 * 66, 33, 77);
        QCOMPARE(snapshots.count(), 1);
        QCOMPARE(f.engine.log.count("recorder.GetSnapshotArray(2048)"), 1);
    }

    void failures_data()
    {
        QTest::addColumn<bool>("writeFails");   // else the device is lost
        QTest::newRow("write fails") << true;
        QTest::newRow("device lost") << false;
    }
    void failures()
    {
        QFETCH(bool, writeFails);
        SessionFixture f;
        f.settings([](RecordingSettings &s) { s.resumeAfterDeviceLoss = false; });
        RecordingClock clock(f);
        f.recording.record();
        clock.run(2);
        const QString reason = writeFails ? "Cannot write " + f.path("rec/Untitled1.mp3") + ": No space left on device"
                                          : QString("The input device was removed");
        if (writeFails) {
            f.engine.file("writer")->failNextWrite = reason;
            clock.run(1);
        } else {
            f.recorder()->emitDeviceError(reason);
        }
        // Everything written so far is kept, finished as Stop finishes it.
        QVERIFY(!f.recording.isActive());
        QCOMPARE(f.rows(), QStringList({"Untitled1.mp3 00:02"}));
        QCOMPARE(f.failures, QStringList({"The recording was stopped: " + reason}));
        QCOMPARE(f.runsEnded, 1);
    }

    void aLostDeviceIsWaitedFor_data()
    {
        QTest::addColumn<int>("comesBackAfter");   // seconds; -1 = never
        QTest::addColumn<bool>("stopWhileWaiting");
        QTest::newRow("comes back") << 30 << false;
        QTest::newRow("stop ends the wait") << -1 << true;
        QTest::newRow("gone for good") << -1 << false;
    }
    void aLostDeviceIsWaitedFor()
    {
        QFETCH(int, comesBackAfter);
        QFETCH(bool, stopWhileWaiting);
        SessionFixture f;
        QDateTime now = QDateTime::currentDateTime();
        f.recording.setClock([&now] { return now; });
        QSignalSpy notices(&f.recording, &RecordingSession::notice);
        RecordingClock clock(f);
        f.recording.record();
        clock.run(2);
        f.engine.inputs.devices[0].available = false;
        f.recorder()->emitDeviceError("The recording device is no longer available");
        // The part is finished and listed as at a Stop, the window told, the run waits.
        QCOMPARE(f.recording.state(), State::WaitingForDevice);
        QCOMPARE(f.rows(), QStringList({"Untitled1.mp3 00:02"}));
        QCOMPARE(notices.count(), 1);
        QVERIFY(notices.last().at(0).toString().contains("Untitled1.mp3 is kept and listed"));
        QCOMPARE(f.failures, QStringList());
        f.recording.record();   // Record while waiting: nothing
        QCOMPARE(f.recording.state(), State::WaitingForDevice);

        if (stopWhileWaiting) {
            f.recording.stop();
            QCOMPARE(f.recording.state(), State::Idle);
            QCOMPARE(f.runsEnded, 1);
            QCOMPARE(f.rows().size(), 1);
            return;
        }
        if (comesBackAfter < 0) {
            now = now.addSecs(RecordingSession::kDeviceWaitSeconds + 1);
            QTRY_COMPARE_WITH_TIMEOUT(f.recording.state(), State::Idle, 3000);
            QCOMPARE(f.failures.size(), 1);
            QVERIFY(f.failures[0].contains("did not come back within 10 minutes"));
            QCOMPARE(f.runsEnded, 1);
            return;
        }
        now = now.addSecs(comesBackAfter);
        f.engine.inputs.devices[0].available = true;
        QTRY_COMPARE_WITH_TIMEOUT(f.recording.state(), State::Recording, 3000);
        // It goes on in a new part, named as a split names it; the run's time goes on too.
        QCOMPARE(f.recording.partPath(), f.path("rec/Untitled2.mp3"));
        QCOMPARE(notices.count(), 2);
        QVERIFY2(notices.last().at(0).toString().contains("went on at " + now.time().toString("HH:mm:ss")),
                 qPrintable(notices.last().at(0).toString()));
        clock.run(1);
        QCOMPARE(f.elapsedSeconds(), 3);
        f.recording.stop();
        QCOMPARE(f.rows(), QStringList({"Untitled1.mp3 00:02", "Untitled2.mp3 00:01"}));
        QCOMPARE(f.runsEnded, 1);
    }

    void aNextPartThatDoesNotStartEndsTheRun()
    {
        SessionFixture f;
        f.settings([](RecordingSettings &s) {
            s.splitEnabled = true;
            s.splitSeconds = 3;
            s.timeLimitSeconds = 6;
        });
        RecordingClock clock(f);
        f.recording.record();
        clock.run(2.8);
        const QString reason = "Cannot create " + f.path("rec/Untitled2.mp3") + ": Permission denied";
        f.engine.file("writer")->failNextCreate = reason;
        clock.run(0.2);
        QCOMPARE(f.failures, QStringList({"The recording was stopped: " + reason}));
        QCOMPARE(f.rows(), QStringList({"Untitled1.mp3 00:03"}));
        QVERIFY(!QFileInfo::exists(f.path("rec/Untitled2.mp3")));
        QVERIFY(!f.recording.isActive());
        QCOMPARE(f.runsEnded, 1);

        // The next run starts from nothing: its limit counts its own six seconds.
        f.recording.record();
        clock.run(4);
        QVERIFY(f.recording.isActive());
        QCOMPARE(f.elapsedSeconds(), 4);
        clock.run(2);
        QVERIFY(!f.recording.isActive());
        QCOMPARE(f.rows(), QStringList({"Untitled1.mp3 00:03", "Untitled2.mp3 00:03", "Untitled3.mp3 00:03"}));
    }

    void aPartThatCannotBeListedDoesNotStopTheRun()
    {
        SessionFixture f;
        f.settings([](RecordingSettings &s) {
            s.splitEnabled = true;
            s.splitSeconds = 2;
        });
        RecordingClock clock(f);
        f.recording.record();
        f.engine.unreadable << f.path("rec/Untitled1.mp3");
        clock.run(2.4);
        QCOMPARE(f.failures.size(), 1);
        QCOMPARE(f.recording.state(), State::Recording);
        QCOMPARE(f.recording.partPath(), f.path("rec/Untitled2.mp3"));
        f.recording.stop();
        QCOMPARE(f.failures.size(), 1);
        QVERIFY(!f.recording.isActive());
        QCOMPARE(f.rows(), QStringList({"Untitled2.mp3 00:00"}));
    }

    void aFailureWhileTheLastBlocksAreWrittenEndsTheRunOnce_data()
    {
        QTest::addColumn<QString>("ending");   // what stops capture
        QTest::addColumn<bool>("writeFails");  // else the device is lost
        for (const char *ending : {"stop", "pause", "split"})
            QTest::addRow("%s, write fails", ending) << ending << true;
        // A split goes on capturing: only stopping capture can lose the device on the way.
        for (const char *ending : {"stop", "pause"})
            QTest::addRow("%s, device lost", ending) << ending << false;
    }
    void aFailureWhileTheLastBlocksAreWrittenEndsTheRunOnce()
    {
        QFETCH(QString, ending);
        QFETCH(bool, writeFails);
        SessionFixture f;
        f.settings([&](RecordingSettings &s) {
            s.splitEnabled = ending == "split";
            s.splitSeconds = 2;
        });
        RecordingClock clock(f);
        f.recording.record();
        clock.run(1.8);
        f.recorder()->blocksPendingAtStop = 2;
        if (writeFails)
            f.engine.file("writer")->failNextWrite = "Cannot write: No space left on device";
        else
            f.recorder()->deviceErrorAtStop = "The input device was removed";
        if (ending == "stop")
            f.recording.stop();
        else if (ending == "pause")
            f.recording.pause();
        else
            clock.run(0.2);
        f.settle();
        const QString reason = writeFails ? "Cannot write: No space left on device" : "The input device was removed";
        QCOMPARE(f.failures, QStringList({"The recording was stopped: " + reason}));
        QCOMPARE(f.rows().size(), 1);
        QVERIFY(f.rows()[0].startsWith("Untitled1.mp3 00:0"));
        QCOMPARE(f.recording.state(), State::Idle);
        QCOMPARE(f.runsEnded, 1);
        QVERIFY(f.recording.lastPartFrames() > 0);
        QVERIFY(!QFileInfo::exists(f.path("rec/Untitled2.mp3")));
        QVERIFY(!f.recorder()->isRunning());
    }

    void diskRunway_data()
    {
        QTest::addColumn<double>("secondsAtStart");   // of WAV 44.1 kHz stereo 16 bit
        QTest::addColumn<double>("secondsLater");     // after 2 s of recording
        QTest::addColumn<bool>("starts");
        QTest::addColumn<bool>("endsFull");
        QTest::newRow("room for 100 s") << 100.0 << 98.0 << true << false;
        QTest::newRow("room for less than 10 s") << 11.9 << 11.9 << false << false;
        QTest::newRow("the disk fills") << 60.0 << 1.5 << true << true;
    }
    void diskRunway()
    {
        QFETCH(double, secondsAtStart);
        QFETCH(double, secondsLater);
        QFETCH(bool, starts);
        QFETCH(bool, endsFull);
        SessionFixture f;
        const double rate = 44100 * 4;
        qint64 free = RecordingSession::kReserveBytes + qint64(secondsAtStart * rate);
        f.recording.setFreeSpaceSource([&free](const QString &) { return free; });
        QSignalSpy left(&f.recording, &RecordingSession::diskTimeLeftChanged);
        f.settings([](RecordingSettings &s) { s.saveFormat = ".wav"; });
        QCOMPARE(left.last().at(0).toLongLong(), qint64(secondsAtStart) - RecordingSession::kReserveSeconds);

        RecordingClock clock(f);
        f.recording.record();
        QCOMPARE(f.recording.isActive(), starts);
        if (!starts) {
            QCOMPARE(f.failures.size(), 1);
            QVERIFY2(f.failures[0].startsWith("There is not enough room on the disk of " + f.path("rec/")),
                     qPrintable(f.failures[0]));
            QVERIFY(!QFileInfo::exists(f.path("rec")));
            return;
        }
        clock.run(2);
        free = RecordingSession::kReserveBytes + qint64(secondsLater * rate);
        clock.run(1);
        QCOMPARE(f.recording.isActive(), !endsFull);
        if (endsFull) {
            // Ended as Stop ends it, before the disk is full: finalised, listed, said.
            QCOMPARE(f.rows(), QStringList({"Untitled1.wav 00:02"}));
            QCOMPARE(f.failures.size(), 1);
            QVERIFY2(f.failures[0].startsWith("The recording was stopped: the disk of " + f.path("rec") + " is full"),
                     qPrintable(f.failures[0]));
        } else {
            QVERIFY(f.recording.secondsLeftOnDisk() >= 94 && f.recording.secondsLeftOnDisk() <= 96);
            QCOMPARE(f.failures, QStringList());
        }
    }

    void aFullFileGoesOnInTheNextPart()
    {
        // A file at its format's or file system's size limit is no end: the same block
        // begins the next part, and capture and the run's time run on.
        SessionFixture f;
        RecordingClock clock(f);
        f.recording.record();
        clock.run(2);
        f.engine.file("writer")->limitNextWrite = true;
        clock.run(1);
        QCOMPARE(f.recording.state(), State::Recording);
        QCOMPARE(f.partsStarted, QStringList({f.path("rec/Untitled1.mp3"), f.path("rec/Untitled2.mp3")}));
        QCOMPARE(f.engine.log.count("recorder.Start()"), 1);
        QCOMPARE(f.elapsedSeconds(), 3);
        f.recording.stop();
        QCOMPARE(f.rows(), QStringList({"Untitled1.mp3 00:02", "Untitled2.mp3 00:01"}));
        QCOMPARE(f.failures, QStringList());
    }

    // The journal names the open part; a normal end removes it, a part that could not be
    // closed keeps it for the next start.
    void anOpenPartKeepsAJournal_data()
    {
        QTest::addColumn<QString>("closeFailure");
        QTest::newRow("stopped") << "";
        QTest::newRow("closing failed") << "Cannot write %1: Input/output error";
    }
    void anOpenPartKeepsAJournal()
    {
        QFETCH(QString, closeFailure);
        SessionFixture f;
        f.recording.setJournalFolder(f.path("settings"));
        const auto journals = [&f] {
            return QDir(f.path("settings/journals")).entryList({"*.journal"}, QDir::Files);
        };
        f.recording.record();
        QCOMPARE(journals().size(), 1);
        struct stat folder {};
        QVERIFY(::stat(QFile::encodeName(f.path("settings/journals")).constData(), &folder) == 0);
        QCOMPARE(folder.st_mode & 07777, 0700u);   // the program's own: nobody else writes there
        const QString text = [&] {
            QFile j(f.path("settings/journals/" + journals().first()));
            return j.open(QIODevice::ReadOnly) ? QString::fromUtf8(j.readAll()) : QString();
        }();
        QVERIFY2(text.contains("path=" + f.path("rec/Untitled1.mp3")) && text.contains("format=.mp3")
                     && text.contains(QStringLiteral("inode=%1").arg(inodeOf(f.path("rec/Untitled1.mp3")))),
                 qPrintable(text));
        const QString failure = closeFailure.isEmpty() ? QString() : closeFailure.arg(f.path("rec/Untitled1.mp3"));
        f.engine.file("writer")->failNextClose = failure;
        f.recording.stop();
        if (failure.isEmpty()) {
            QCOMPARE(journals(), QStringList());   // a normal end leaves nothing to recover
            QCOMPARE(QDir(f.path("settings/journals")).entryList(QDir::Files), QStringList());   // nor a second name
        } else {
            QCOMPARE(journals().size(), 1);
            QCOMPARE(f.failures, QStringList({"The recording was stopped: " + failure}));
        }
    }
    // A part whose folder went and that cannot be given a name again (no second name, no
    // way to move it, no rescue folder) is never said to be kept: one message when that is
    // found, and the end of the run says it is lost.
    void aPartThatCannotBeNamedAgainIsNotCalledKept()
    {
        SessionFixture f;
        QFile blocker(f.path("plainfile"));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        f.recording.setRescueFolder(f.path("plainfile/rescued"));
        RecordingClock clock(f);
        f.recording.record();
        clock.run(1);
        QVERIFY(QDir(f.path("rec")).removeRecursively());
        QTRY_COMPARE_WITH_TIMEOUT(f.failures.size(), 1, 3000);
        QTest::qWait(1500);   // once for this removal, not every second
        QCOMPARE(f.failures.size(), 1);
        QVERIFY2(f.failures[0].endsWith("What was recorded is lost when the recording ends."), qPrintable(f.failures[0]));
        f.recording.stop();
        QCOMPARE(f.failures.size(), 2);
        QCOMPARE(f.failures[1], "The recording was stopped: " + f.path("rec/Untitled1.mp3") +
                                    " has no name left: what was recorded into it is lost");
    }

    void preRecordKeepsTheSecondsBeforeRecord_data()
    {
        QTest::addColumn<int>("limit");
        QTest::addColumn<int>("split");
        QTest::addColumn<QStringList>("listed");
        // Idle 6 s with 5 s kept, then 2 s of recording: 7 s; a limit and a split count the
        // kept seconds too.
        QTest::newRow("no limit") << 0 << 0 << QStringList{"Untitled1.wav 00:07"};
        QTest::newRow("limit 6 s") << 6 << 0 << QStringList{"Untitled1.wav 00:06"};
        QTest::newRow("split 4 s") << 0 << 4 << QStringList{"Untitled1.wav 00:04", "Untitled2.wav 00:03"};
    }
    void preRecordKeepsTheSecondsBeforeRecord()
    {
        QFETCH(int, limit);
        QFETCH(int, split);
        QFETCH(QStringList, listed);
        SessionFixture f;
        fake::CallLog &log = f.engine.log;
        f.settings([&](RecordingSettings &s) {
            s.saveFormat = ".wav";
            s.wavFrequency = 8000;
            s.wavChannels = 1;
            s.timeLimitSeconds = limit;
            s.splitEnabled = split > 0;
            s.splitSeconds = split;
            s.prerecordSeconds = 5;
        });
        // Idle with the input open: the meters move, nothing is written.
        QCOMPARE(f.recording.state(), State::Listening);
        QVERIFY(f.recorder()->isRunning());
        RecordingClock clock(f);
        clock.run(6);
        QCOMPARE(f.levelLeft, 40);
        QCOMPARE(f.elapsedMs, qint64(0));
        QCOMPARE(log.count("writer.Create("), 0);
        QVERIFY(!f.recording.isActive());

        log.clear();
        f.recording.record();
        QCOMPARE(f.recording.state(), State::Recording);
        // The kept seconds go to the file a block at a time, on the writer's own thread.
        QTRY_COMPARE(log.count("writer.WriteArray("), 25);
        QCOMPARE(log.count("writer.WriteArray(1600)"), 25);
        QCOMPARE(log.count("recorder.Start()"), 0);   // capture went on: no seam
        clock.run(2);
        f.recording.stop();
        QCOMPARE(f.rows(), listed);
        QCOMPARE(f.recording.lastPartFrames(), qint64(8000) * (limit > 0 ? limit : split > 0 ? 7 - split : 7));
        QCOMPARE(f.failures, QStringList());
        // The run is over; the input stays open for the next one.
        QCOMPARE(f.recording.state(), State::Listening);
        QVERIFY(f.recorder()->isRunning());

        // Another format opens the input again in that format; off closes it.
        log.clear();
        f.settings([](RecordingSettings &s) { s.wavFrequency = 22050; });
        QCOMPARE(log.matching("recorder.S"), QStringList({"recorder.Stop()", "recorder.SetRecordFlag(true)",
                                                         "recorder.SetFormat(1,22050)", "recorder.SetArraySize(4410)",
                                                         "recorder.Start()"}));
        f.settings([](RecordingSettings &s) { s.prerecordSeconds = 0; });
        QCOMPARE(f.recording.state(), State::Idle);
        QVERIFY(!f.recorder()->isRunning());
    }

    void aRunWithKeptSecondsEndsCleanly_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QString>("said");        // the failure's start; "" = none
        QTest::addColumn<State>("after");
        QTest::addColumn<QStringList>("listed");
        QTest::newRow("write fails") << "write" << "The recording was stopped: Cannot write" << State::Listening
                                     << QStringList{"Untitled1.wav 00:07"};
        QTest::newRow("disk fills") << "disk" << "The recording was stopped: the disk of" << State::Listening
                                    << QStringList{"Untitled1.wav 00:07"};
        QTest::newRow("device lost") << "device" << "The recording was stopped: gone" << State::Idle
                                     << QStringList{"Untitled1.wav 00:07"};
        QTest::newRow("device lost and back") << "device back" << "" << State::Listening
                                              << QStringList{"Untitled1.wav 00:07", "Untitled2.wav 00:01"};
    }
    void aRunWithKeptSecondsEndsCleanly()
    {
        QFETCH(QString, fault);
        QFETCH(QString, said);
        QFETCH(State, after);
        QFETCH(QStringList, listed);
        SessionFixture f;
        f.recording.setJournalFolder(f.path("settings"));
        qint64 free = -1;
        f.recording.setFreeSpaceSource([&free](const QString &) { return free; });
        f.settings([&](RecordingSettings &s) {
            s.saveFormat = ".wav";
            s.wavFrequency = 8000;
            s.wavChannels = 1;
            s.prerecordSeconds = 5;
            s.resumeAfterDeviceLoss = fault == "device back";
        });
        RecordingClock clock(f);
        clock.run(6);
        f.recording.record();
        QTRY_COMPARE(f.engine.log.count("writer.WriteArray("), 25);
        clock.run(2);
        if (fault == "write") {
            f.engine.file("writer")->failNextWrite = "Cannot write: No space left on device";
            clock.run(0.2);
        } else if (fault == "disk") {
            free = 0;
            clock.run(0.2);
        } else {
            f.recorder()->emitDeviceError("gone");
        }
        if (fault == "device back") {
            QCOMPARE(f.recording.state(), State::WaitingForDevice);
            QTRY_COMPARE_WITH_TIMEOUT(f.recording.state(), State::Recording, 3000);
            clock.run(1);
            f.recording.stop();
        }
        QCOMPARE(f.recording.state(), after);
        QCOMPARE(f.rows(), listed);
        QCOMPARE(f.failures.size(), said.isEmpty() ? 0 : 1);
        if (!said.isEmpty())
            QVERIFY2(f.failures[0].startsWith(said), qPrintable(f.failures[0]));
        QCOMPARE(f.runsEnded, 1);
        // Nothing is left to recover at the next start.
        QCOMPARE(QDir(f.path("settings/journals")).entryList({"*.journal"}, QDir::Files), QStringList());
    }

    void startOnSound_data()
    {
        QTest::addColumn<bool>("newFile");
        QTest::addColumn<QStringList>("listed");
        // Two sounds of 1 s, 4 s apart: each written from 0.5 s before it to 0.5 s after.
        QTest::newRow("one file") << false << QStringList{"Untitled1.wav 00:04"};
        QTest::newRow("a file a sound") << true << QStringList{"Untitled1.wav 00:02", "Untitled2.wav 00:02"};
    }
    void startOnSound()
    {
        QFETCH(bool, newFile);
        QFETCH(QStringList, listed);
        SessionFixture f;
        f.settings([&](RecordingSettings &s) {
            s.saveFormat = ".wav";
            s.wavFrequency = 8000;
            s.wavChannels = 1;
            s.triggerOn = true;
            s.triggerLevelDb = -30;
            s.triggerSilenceSeconds = 3;
            s.triggerNewFile = newFile;
        });
        QCOMPARE(f.recording.state(), State::Idle);
        // A full disk is said at once, not when the sound comes.
        qint64 free = 0;
        f.recording.setFreeSpaceSource([&free](const QString &) { return free; });
        f.recording.record();
        QCOMPARE(f.recording.state(), State::Idle);
        QVERIFY(f.failures.size() == 1 && f.failures[0].startsWith("There is not enough room"));
        QVERIFY(!f.recorder()->isRunning());
        f.failures.clear();
        free = -1;
        // Sound from 2 s to 3 s and from 8 s to 9 s; quiet otherwise (a whisper below the level).
        f.recorder()->sound = [](qint64 frame) {
            const bool loud = (frame >= 16000 && frame < 24000) || (frame >= 64000 && frame < 72000);
            return loud ? 0.5f : 0.01f;
        };
        RecordingClock clock(f);
        f.recording.record();
        QCOMPARE(f.recording.state(), State::WaitingForSound);
        QVERIFY(f.recording.isActive());
        clock.run(2);
        QCOMPARE(f.engine.log.count("writer.Create("), 0);
        clock.run(0.2);   // the block that holds the sound's first sample
        QCOMPARE(f.recording.state(), State::Recording);
        QCOMPARE(f.partsStarted.size(), 1);
        clock.run(3.8);   // 3 s of quiet after the sound: it rests
        QCOMPARE(f.recording.state(), State::WaitingForSound);
        QCOMPARE(f.rows().size(), newFile ? 1 : 0);
        clock.run(4);
        QCOMPARE(f.recording.state(), State::Recording);
        f.recording.stop();
        QCOMPARE(f.rows(), listed);
        QCOMPARE(f.recording.state(), State::Idle);
        QVERIFY(!f.recorder()->isRunning());
        QCOMPARE(f.runsEnded, 1);
        QCOMPARE(f.failures, QStringList());
    }

    void scheduledStart()
    {
        SessionFixture f;
        QDateTime now(QDate(2026, 12, 8), QTime(6, 59));
        f.recording.setClock([&now] { return now; });
        QSignalSpy countdown(&f.recording, &RecordingSession::scheduleCountdown);
        RecordingClock clock(f);

        // At 07:00 for 5 s; the machine sleeps through the minute before.
        f.recording.schedule(now.addSecs(60), 5);
        QCOMPARE(f.recording.state(), State::Scheduled);
        QCOMPARE(countdown.last().first().toLongLong(), 60);
        QCOMPARE(f.engine.log.count("writer.Create("), 0);
        now = now.addSecs(61);
        QTRY_COMPARE(f.recording.state(), State::Recording);
        clock.run(6);
        QCOMPARE(f.rows(), QStringList({"Untitled1.mp3 00:05"}));
        QCOMPARE(f.recording.settings().timeLimitSeconds, 0);   // its length was its own
        f.recording.record();
        clock.run(6);
        QVERIFY(f.recording.isActive());
        f.recording.stop();

        // Stop cancels a schedule; Record starts at once instead.
        f.recording.schedule(now.addSecs(30), 0);
        f.recording.stop();
        QCOMPARE(f.recording.state(), State::Idle);
        f.recording.schedule(now.addSecs(30), 0);
        f.recording.record();
        QCOMPARE(f.recording.state(), State::Recording);
        f.recording.stop();
        now = now.addSecs(60);
        QTest::qWait(1100);
        QCOMPARE(f.recording.state(), State::Idle);
        QCOMPARE(f.partsStarted.size(), 3);
        QCOMPARE(f.failures, QStringList());
    }
};

QTEST_GUILESS_MAIN(TestRecordingSession)
#include "tst_recording_session.moc"
