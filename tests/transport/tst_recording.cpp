#include "recording_clock.h"

#include "widgets/level_meter.h"
#include "widgets/transport_block.h"
#include "widgets/position_slider.h"
#include "widgets/time_display.h"
#include "ui/file_info_page.h"

#include <QAction>
#include <QTabWidget>
#include <QToolButton>
#include <QTreeWidget>

#include <sys/stat.h>
#include <unistd.h>

class TestRecording : public QObject {
    Q_OBJECT

    static QStringList rows(const WindowFixture &w)
    {
        QStringList out;
        QTreeWidget *list = w.form->FileInfo()->ListView1;
        for (int i = 0; i < list->topLevelItemCount(); ++i) {
            const QTreeWidgetItem *it = list->topLevelItem(i);
            out << it->text(0) + " " + it->text(2);
        }
        return out;
    }

    static void startIn(WindowFixture &w, const QString &format = ".mp3")
    {
        w.start();
        w.form->CurrentSettings.savePath = w.path("rec/");
        w.form->CurrentSettings.saveFormat = format;
    }

private slots:
    void startCallsTheEngineInOrder()
    {
        WindowFixture w;
        startIn(w);
        w.engine.log.clear();
        w.form->StartRecording();
        const QString file = w.path("rec/Untitled1.mp3");
        QCOMPARE(w.engine.log.matching(QStringList{"AudioRecord1.", "AudioFile2."}),
                 QStringList({"AudioRecord1.SetRecordFlag(true)", "AudioFile2.Create(" + file + ",0)",
                              "AudioFile2.GetFormatValueA()", "AudioFile2.GetFormatValueB()",
                              "AudioRecord1.SetFormat(2,44100)", "AudioRecord1.CalcArraySize(200)",
                              "AudioRecord1.SetArraySize(8820)", "AudioRecord1.Start()",
                              "AudioRecord1.GetErrorCode()"}));
        // The empty file is made and measured first, on the reading component.
        QVERIFY(w.engine.log.indexOf("AudioFile1.Create(" + file + ",0)") < w.engine.log.indexOf("AudioFile2.Create("));
        QCOMPARE(w.form->CurrentFileName, file);
        QCOMPARE(w.form->CurrentRecordingName, file);
        QCOMPARE(w.form->BlockSamples, qint64(8820));
        QCOMPARE(w.form->StatusText(0), QString("Recording..."));
        QCOMPARE(w.form->PlayButtonB1->state(), TransportBlock::State::Recording);
        QVERIFY(!w.form->ToolBtnOpen->isEnabled() && !w.form->ToolBtnOptions->isEnabled());
        QVERIFY(!w.form->MenuOpen->isEnabled() && !w.form->MenuOptions->isEnabled());
        QVERIFY(!w.form->SliderB1->isEnabled());
        QCOMPARE(w.form->SliderB1->Value(), 0);
    }

    void stateTableEventByEvent()
    {
        WindowFixture w;
        startIn(w);
        RecordingClock clock(w);
        fake::CallLog &log = w.engine.log;

        w.form->StartRecording();
        QVERIFY(w.form->Recording && !w.form->RecordPaused);
        clock.run(1);

        log.clear();
        w.form->StartRecording();   // Record while recording: nothing
        QCOMPARE(log.calls, QStringList());

        w.form->PauseClick();
        QVERIFY(w.form->Recording && w.form->RecordPaused);
        QCOMPARE(log.matching("AudioRecord1."), QStringList({"AudioRecord1.Stop()", "AudioRecord1.SetRecordFlag(false)"}));
        QCOMPARE(w.form->StatusText(0), QString("Pause"));
        QCOMPARE(w.form->PlayButtonB1->state(), TransportBlock::State::Paused);

        // A block that was still on its way when the pause stopped capture is written.
        log.clear();
        w.recorder()->emitBlock();
        QCOMPARE(log.count("AudioFile2.WriteArray("), 1);

        log.clear();
        w.form->PauseClick();       // Pause while paused: nothing
        QCOMPARE(log.calls, QStringList());

        w.form->StartRecording();   // Record after Pause resumes the same file
        QVERIFY(w.form->Recording && !w.form->RecordPaused);
        QCOMPARE(log.count("AudioFile2.Create("), 0);
        QCOMPARE(log.count("AudioRecord1.Start()"), 1);
        QCOMPARE(w.form->StatusText(0), QString("Recording..."));
        clock.run(1);

        w.form->PauseClick();
        log.clear();
        w.form->StopClick();        // Stop while paused finalises and lists
        QVERIFY(!w.form->Recording && !w.form->RecordPaused);
        QVERIFY(log.indexOf("AudioFile2.GetNumSamples()") < log.indexOf("AudioFile2.Close()"));
        QCOMPARE(rows(w), QStringList({"Untitled1.mp3 00:02"}));
        QCOMPARE(w.form->PageControl1->currentIndex(), 3);
        QCOMPARE(w.form->StatusText(0), QString("Stop"));
        QCOMPARE(w.form->PlayButtonB1->state(), TransportBlock::State::Stopped);
        QVERIFY(w.form->ToolBtnOpen->isEnabled() && w.form->MenuOptions->isEnabled());
        QVERIFY(w.form->SliderB1->isEnabled());
        QCOMPARE(w.form->TimeDisplay1->Seconds(), 0);
        QCOMPARE(w.form->AmpBar1->Value(), 0);

        log.clear();
        w.form->StopClick();        // Stop with nothing running: nothing
        QCOMPARE(log.calls, QStringList());
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
    }
    void naming()
    {
        QFETCH(QStringList, existing);
        QFETCH(QString, format);
        QFETCH(QString, expected);
        WindowFixture w;
        startIn(w, format);
        QDir().mkpath(w.path("rec"));
        for (const QString &name : existing) {
            QFile f(w.path("rec/" + name));
            QVERIFY(f.open(QIODevice::WriteOnly));
        }
        w.form->StartRecording();
        QCOMPARE(w.form->CurrentRecordingName, w.path("rec/" + expected));
    }

    void missingFolderIsCreatedWithItsParents()
    {
        WindowFixture w;
        startIn(w);
        w.form->CurrentSettings.savePath = w.path("a/b/c/");
        w.form->StartRecording();
        QVERIFY(QFileInfo(w.path("a/b/c")).isDir());
        QVERIFY(QFileInfo::exists(w.path("a/b/c/Untitled1.mp3")));
        QVERIFY(w.form->Recording);
    }

    void uncreatableFolderRestoresTheStoppedLook()
    {
        WindowFixture w;
        startIn(w);
        QFile blocker(w.path("plainfile"));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        w.form->CurrentSettings.savePath = w.path("plainfile/sub/");
        w.form->PlayButtonB1->ShowStopped();
        w.form->MenuRecord->trigger();
        QCOMPARE(w.errors(), QStringList({"Cannot create " + w.path("plainfile/sub/") + "."}));
        QVERIFY(!w.form->Recording);
        QCOMPARE(w.form->StatusText(0), QString("Stop"));
        QCOMPARE(w.form->PlayButtonB1->state(), TransportBlock::State::Stopped);
        QVERIFY(w.form->ToolBtnOpen->isEnabled() && w.form->ToolBtnOptions->isEnabled());
        QVERIFY(w.form->MenuOpen->isEnabled() && w.form->MenuOptions->isEnabled());
        QCOMPARE(w.engine.log.count("AudioRecord1.Start()"), 0);
    }

    void captureThatDoesNotStartLeavesNothingBehind()
    {
        WindowFixture w;
        startIn(w);
        w.recorder()->startError = 3;
        w.recorder()->startErrorText = "No sound server answers";
        w.form->MenuRecord->trigger();
        QCOMPARE(w.errors(), QStringList({"No sound server answers."}));
        QVERIFY(!w.form->Recording);
        QCOMPARE(rows(w), QStringList());
        QVERIFY(!QFileInfo::exists(w.path("rec/Untitled1.mp3")));
        QCOMPARE(w.form->PageControl1->currentIndex(), 0);
        QCOMPARE(w.form->StatusText(0), QString("Stop"));
        QCOMPARE(w.form->PlayButtonB1->state(), TransportBlock::State::Stopped);
        QVERIFY(w.form->ToolBtnOpen->isEnabled() && w.form->MenuOptions->isEnabled());

        // The next try that works gets the first name again.
        w.recorder()->startError = 0;
        w.form->MenuRecord->trigger();
        QVERIFY(w.form->Recording);
        QCOMPARE(w.form->CurrentRecordingName, w.path("rec/Untitled1.mp3"));
    }

    void saveFolderForms_data()
    {
        QTest::addColumn<QString>("folder");   // relative to the test folder; "" = none set
        QTest::addColumn<QString>("file");     // what the recording writes, or "" for none
        QTest::addColumn<QString>("error");
        QTest::newRow("no trailing slash") << "rec" << "rec/Untitled1.mp3" << "";
        QTest::newRow("trailing slash") << "rec/" << "rec/Untitled1.mp3" << "";
        QTest::newRow("none set") << "" << "" << "No folder is set for recordings. Choose one in Options.";
    }
    void saveFolderForms()
    {
        QFETCH(QString, folder);
        QFETCH(QString, file);
        QFETCH(QString, error);
        WindowFixture w;
        startIn(w);
        w.form->CurrentSettings.savePath = folder.isEmpty() ? QString() : w.path(folder);
        w.form->MenuRecord->trigger();
        QCOMPARE(w.errors(), error.isEmpty() ? QStringList() : QStringList{error});
        QCOMPARE(w.form->Recording, !file.isEmpty());
        if (!file.isEmpty())
            QCOMPARE(w.form->CurrentRecordingName, w.path(file));
        QVERIFY(!QFileInfo::exists(w.path("recUntitled1.mp3")));
    }

    void aFolderNameThatIsNotUtf8IsRefused()
    {
        // Such a name decodes with U+FFFD; creating it would make a folder the user never named.
        WindowFixture w;
        startIn(w);
        const QByteArray parent = QFile::encodeName(w.path("caf")) + "\xe9";
        QVERIFY(::mkdir(parent.constData(), 0755) == 0);
        w.form->CurrentSettings.savePath = QFile::decodeName(parent + "/rec/");
        QVERIFY(w.form->CurrentSettings.savePath.contains(QChar(QChar::ReplacementCharacter)));
        w.form->MenuRecord->trigger();
        QCOMPARE(w.errors().size(), 1);
        QVERIFY2(w.errors()[0].contains("not valid UTF-8"), qPrintable(w.errors()[0]));
        QVERIFY(!w.form->Recording);
        QVERIFY(!QFileInfo::exists(w.form->CurrentSettings.savePath));   // no look-alike folder was made
        QCOMPARE(::rmdir(parent.constData()), 0);   // QTemporaryDir cannot name it
    }

    void aDanglingLinkTakesItsName()
    {
        WindowFixture w;
        startIn(w, ".wav");
        QDir().mkpath(w.path("rec"));
        QVERIFY(QFile::link(w.path("elsewhere/target.wav"), w.path("rec/Untitled1.wav")));
        w.form->StartRecording();
        QCOMPARE(w.form->CurrentRecordingName, w.path("rec/Untitled2.wav"));
        QVERIFY(!QFileInfo::exists(w.path("elsewhere/target.wav")));
        QVERIFY(QFileInfo(w.path("rec/Untitled1.wav")).isSymLink());
    }

    void recordingWhilePlayingShowsWhatIsWritten()
    {
        WindowFixture w;
        startIn(w);
        w.form->CurrentSettings.mp3Frequency = 22050;
        w.form->CurrentSettings.mp3Bitrate = 64;
        w.form->ApplyOutputFormat();
        w.engine.addFile(w.path("song.wav"), 44100 * 10);
        w.form->CurrentFileName = w.path("song.wav");
        w.form->StartPlayback();
        w.form->StartRecording();
        QVERIFY(w.form->Playing && w.form->Recording);
        QCOMPARE(w.form->StatusText(2), QString("MP3  64 kbps, 22050 Hz, Stereo"));
    }

    void timeLimitStopsAtTheFirstTickThatShowsIt()
    {
        WindowFixture w;
        startIn(w);
        w.form->CurrentSettings.timeLimitSeconds = 90;
        RecordingClock clock(w);
        w.form->StartRecording();
        clock.run(89.8);
        QVERIFY(w.form->Recording);
        QCOMPARE(w.form->TimeDisplay1->Minutes(), 1);
        QCOMPARE(w.form->TimeDisplay1->Seconds(), 29);
        clock.run(0.2);   // the tick that shows 1:30
        QVERIFY(!w.form->Recording);
        QCOMPARE(rows(w), QStringList({"Untitled1.mp3 01:30"}));
        QCOMPARE(w.form->PageControl1->currentIndex(), 3);
        QCOMPARE(w.form->TimeDisplay1->Minutes(), 0);
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
        WindowFixture w;
        startIn(w);
        w.form->CurrentSettings.splitEnabled = true;
        w.form->CurrentSettings.splitSeconds = split;
        w.form->CurrentSettings.timeLimitSeconds = limit;
        RecordingClock clock(w);
        w.form->StartRecording();
        clock.run(seconds);
        QCOMPARE(rows(w), listed);
        QCOMPARE(w.form->Recording, stillRecording);
        if (stillRecording) {
            // The display runs on over all parts.
            const int shown = w.form->TimeDisplay1->Minutes() * 60 + w.form->TimeDisplay1->Seconds();
            QCOMPARE(shown, int(seconds));
            QVERIFY(!w.form->ToolBtnOpen->isEnabled());   // a split re-disables Open
        }
    }

    void elapsedTimeCarriesAcrossAPause()
    {
        WindowFixture w;
        startIn(w);
        w.form->CurrentSettings.timeLimitSeconds = 15;
        w.form->CurrentSettings.splitEnabled = true;
        w.form->CurrentSettings.splitSeconds = 12;
        RecordingClock clock(w);
        w.form->StartRecording();
        clock.run(10);
        w.form->PauseRecording();
        QCOMPARE(w.form->TimeDisplay1->Seconds(), 10);   // kept while paused
        w.player()->currentSamples = 123456;              // the player's count plays no part
        w.form->StartRecording();
        clock.run(0.2);
        QCOMPARE(w.form->TimeDisplay1->Seconds(), 10);
        QCOMPARE(w.form->TimeDisplay1->Milliseconds(), 200);
        clock.run(1.8);                                   // 12 s in this part: the split
        QCOMPARE(rows(w), QStringList({"Untitled1.mp3 00:12"}));
        clock.run(3);                                     // 15 s in all: the limit
        QVERIFY(!w.form->Recording);
        QCOMPARE(rows(w), QStringList({"Untitled1.mp3 00:12", "Untitled2.mp3 00:03"}));
    }

    void aNextPartThatDoesNotStartEndsTheRun()
    {
        WindowFixture w;
        startIn(w);
        w.form->CurrentSettings.splitEnabled = true;
        w.form->CurrentSettings.splitSeconds = 3;
        w.form->CurrentSettings.timeLimitSeconds = 6;
        RecordingClock clock(w);
        w.form->StartRecording();
        clock.run(2.8);
        w.recorder()->startError = 3;
        w.recorder()->startErrorText = "The recording device is not available";
        clock.run(0.2);
        QCOMPARE(w.errors(), QStringList({"The recording was stopped: The recording device is not available."}));
        QCOMPARE(rows(w), QStringList({"Untitled1.mp3 00:03"}));
        QVERIFY(!QFileInfo::exists(w.path("rec/Untitled2.mp3")));
        QVERIFY(!w.form->Recording);
        QCOMPARE(w.form->StatusText(0), QString("Stop"));
        QCOMPARE(w.form->TimeDisplay1->Seconds(), 0);
        QCOMPARE(w.form->AmpBar1->Value(), 0);
        QVERIFY(w.form->ToolBtnOpen->isEnabled());

        // The next run starts from nothing: its limit counts its own six seconds.
        w.recorder()->startError = 0;
        w.form->StartRecording();
        clock.run(4);
        QVERIFY(w.form->Recording);
        QCOMPARE(w.form->TimeDisplay1->Seconds(), 4);
        clock.run(2);
        QVERIFY(!w.form->Recording);
        QCOMPARE(rows(w), QStringList({"Untitled1.mp3 00:03", "Untitled2.mp3 00:03", "Untitled3.mp3 00:03"}));
    }

    void aPartThatCannotBeListedDoesNotStopTheRun()
    {
        WindowFixture w;
        startIn(w);
        w.form->CurrentSettings.splitEnabled = true;
        w.form->CurrentSettings.splitSeconds = 2;
        RecordingClock clock(w);
        w.form->StartRecording();
        w.engine.unreadable << w.path("rec/Untitled1.mp3");
        clock.run(2.4);
        QCOMPARE(w.errors().size(), 1);
        QVERIFY(w.form->Recording);
        QCOMPARE(w.form->StatusText(0), QString("Recording..."));
        QCOMPARE(w.form->CurrentRecordingName, w.path("rec/Untitled2.mp3"));
        w.form->MenuStop->trigger();
        QCOMPARE(w.errors().size(), 1);
        QVERIFY(!w.form->Recording);
        QCOMPARE(rows(w), QStringList({"Untitled2.mp3 00:00"}));
        QCOMPARE(w.form->StatusText(0), QString("Stop"));
    }

    void aFailureWhileTheLastBlocksAreWrittenEndsTheRunOnce_data()
    {
        QTest::addColumn<QString>("ending");   // what stops capture
        QTest::addColumn<bool>("writeFails");  // else the device is lost
        for (const char *ending : {"stop", "pause", "split"}) {
            QTest::addRow("%s, write fails", ending) << ending << true;
            QTest::addRow("%s, device lost", ending) << ending << false;
        }
    }
    void aFailureWhileTheLastBlocksAreWrittenEndsTheRunOnce()
    {
        QFETCH(QString, ending);
        QFETCH(bool, writeFails);
        WindowFixture w;
        startIn(w);
        w.form->CurrentSettings.splitEnabled = ending == "split";
        w.form->CurrentSettings.splitSeconds = 2;
        RecordingClock clock(w);
        w.form->StartRecording();
        clock.run(1.8);
        w.recorder()->blocksPendingAtStop = 2;
        if (writeFails)
            w.engine.file("AudioFile2")->failNextWrite = "Cannot write: No space left on device";
        else
            w.recorder()->deviceErrorAtStop = "The input device was removed";
        if (ending == "stop")
            w.form->MenuStop->trigger();
        else if (ending == "pause")
            w.form->MenuPause->trigger();
        else
            clock.run(0.2);
        const QString reason = writeFails ? "Cannot write: No space left on device" : "The input device was removed";
        QCOMPARE(w.errors(), QStringList({"The recording was stopped: " + reason + "."}));
        QCOMPARE(rows(w).size(), 1);
        QVERIFY(rows(w)[0].startsWith("Untitled1.mp3 00:0"));
        QVERIFY(!w.form->Recording && !w.form->RecordPaused);
        QVERIFY(w.form->LastFileLength > 0);
        QCOMPARE(w.form->StatusText(0), QString("Stop"));
        QVERIFY(!QFileInfo::exists(w.path("rec/Untitled2.mp3")));
        QVERIFY(!w.recorder()->isRunning());
    }

    void aFailedWriteEndsTheRecordingAndKeepsTheFile()
    {
        WindowFixture w;
        startIn(w);
        RecordingClock clock(w);
        w.form->StartRecording();
        clock.run(2);
        w.engine.file("AudioFile2")->failNextWrite = "Cannot write " + w.path("rec/Untitled1.mp3") + ": No space left on device";
        clock.run(1);
        QVERIFY(!w.form->Recording);
        QCOMPARE(rows(w), QStringList({"Untitled1.mp3 00:02"}));
        QCOMPARE(w.errors(), QStringList({"The recording was stopped: Cannot write " + w.path("rec/Untitled1.mp3")
                                          + ": No space left on device."}));
        QVERIFY(w.form->ToolBtnOpen->isEnabled());
    }

    void aLostDeviceEndsTheRecordingAndKeepsTheFile()
    {
        WindowFixture w;
        startIn(w);
        RecordingClock clock(w);
        w.form->StartRecording();
        clock.run(1);
        w.recorder()->emitDeviceError("The input device was removed");
        QVERIFY(!w.form->Recording);
        QCOMPARE(rows(w), QStringList({"Untitled1.mp3 00:01"}));
        QCOMPARE(w.errors(), QStringList({"The recording was stopped: The input device was removed."}));
        QCOMPARE(w.form->PageControl1->currentIndex(), 3);
    }

    void ticksDriveMetersTimeAndSpectrum()
    {
        WindowFixture w;
        startIn(w);
        w.form->StartRecording();
        w.engine.log.clear();
        w.recorder()->emitTimer(44100 * 65 + 4410, 33, 77);
        QCOMPARE(w.form->AmpBar1->Value(), 33);
        QCOMPARE(w.form->AmpBar2->Value(), 77);
        QCOMPARE(w.form->TimeDisplay1->Minutes(), 1);
        QCOMPARE(w.form->TimeDisplay1->Seconds(), 5);
        QCOMPARE(w.form->TimeDisplay1->Milliseconds(), 100);
        QCOMPARE(w.engine.log.count("AudioRecord1.GetSnapshotArray(2048)"), 1);
        QCOMPARE(w.form->SliderB1->Value(), 0);
    }
};

QTEST_MAIN(TestRecording)
#include "tst_recording.moc"
