#include "recording_clock.h"

#include "engine/controls/amp_bar2.h"
#include "engine/controls/play_button_b2.h"
#include "engine/controls/slider_b2.h"
#include "engine/controls/time_display2.h"
#include "files/file_info_page.h"

#include <QAction>
#include <QTabWidget>
#include <QToolButton>
#include <QTreeWidget>

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
        w.form->CurrentSettings.SavePath = w.path("rec/");
        w.form->CurrentSettings.SaveFormat = format;
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
        QCOMPARE(w.form->PlayButtonB1->state(), TPlayButtonB2::State::Recording);
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
        QCOMPARE(w.form->PlayButtonB1->state(), TPlayButtonB2::State::Paused);

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
        QCOMPARE(w.form->PlayButtonB1->state(), TPlayButtonB2::State::Stopped);
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
        w.form->CurrentSettings.SavePath = w.path("a/b/c/");
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
        w.form->CurrentSettings.SavePath = w.path("plainfile/sub/");
        w.form->PlayButtonB1->ShowStopped();
        w.form->MenuRecord->trigger();
        QCOMPARE(w.errors(), QStringList({"Cannot create " + w.path("plainfile/sub/") + "."}));
        QVERIFY(!w.form->Recording);
        QCOMPARE(w.form->StatusText(0), QString("Stop"));
        QCOMPARE(w.form->PlayButtonB1->state(), TPlayButtonB2::State::Stopped);
        QVERIFY(w.form->ToolBtnOpen->isEnabled() && w.form->ToolBtnOptions->isEnabled());
        QVERIFY(w.form->MenuOpen->isEnabled() && w.form->MenuOptions->isEnabled());
        QCOMPARE(w.engine.log.count("AudioRecord1.Start()"), 0);
    }

    void captureThatDoesNotStartEndsAsStop()
    {
        WindowFixture w;
        startIn(w);
        w.recorder()->startError = 3;
        w.form->StartRecording();
        QVERIFY(!w.form->Recording);
        QCOMPARE(rows(w), QStringList({"Untitled1.mp3 00:00"}));
        QCOMPARE(w.form->PageControl1->currentIndex(), 3);
        QCOMPARE(w.form->StatusText(0), QString("Stop"));
    }

    void timeLimitStopsAtTheFirstTickThatShowsIt()
    {
        WindowFixture w;
        startIn(w);
        w.form->CurrentSettings.TimeLimitSeconds = 90;
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
        w.form->CurrentSettings.SplitEnabled = true;
        w.form->CurrentSettings.SplitSeconds = split;
        w.form->CurrentSettings.TimeLimitSeconds = limit;
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
        w.form->CurrentSettings.TimeLimitSeconds = 15;
        w.form->CurrentSettings.SplitEnabled = true;
        w.form->CurrentSettings.SplitSeconds = 12;
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
