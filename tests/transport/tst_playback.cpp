#include "../app/window_fixture.h"

#include "widgets/level_meter.h"
#include "widgets/transport_block.h"
#include "widgets/position_slider.h"
#include "widgets/time_display.h"
#include "ui/file_info_page.h"

#include <QAction>
#include <QToolButton>
#include <QTreeWidget>

class TestPlayback : public QObject {
    Q_OBJECT

    // A window with one 60 s file of 44.1 kHz stereo as the current file.
    static void startWithFile(WindowFixture &w, qint64 frames = 44100 * 60)
    {
        w.start();
        w.engine.addFile(w.path("song.wav"), frames);
        w.form->CurrentFileName = w.path("song.wav");
        w.form->LastFileLength = frames;
        w.form->LastFileRate = 44100;
    }

private slots:
    void startCallsTheEngineInOrder()
    {
        WindowFixture w;
        startWithFile(w);
        w.engine.log.clear();
        w.form->StartPlayback();
        const QString file = w.path("song.wav");
        QCOMPARE(w.engine.log.matching(QStringList{"AudioFile1.", "AudioPlayer1."}),
                 QStringList({"AudioFile1.SetActive(true)", "AudioFile1.Open(" + file + ",0,1)",
                              "AudioFile1.GetErrorCode()", "AudioFile1.GetNumSamples()",
                              "AudioFile1.GetFormatValueA()", "AudioFile1.GetFormatValueB()",
                              "AudioPlayer1.SetFormat(2,44100)", "AudioPlayer1.CalcArraySize(200)",
                              "AudioFile1.Seek(0,3)", "AudioPlayer1.Play()", "AudioPlayer1.GetErrorCode()",
                              "AudioFile1.ReadArray(8820)", "AudioPlayer1.LoadArray(8820)",
                              "AudioFile1.ReadArray(8820)", "AudioPlayer1.LoadArray(8820)"}));
        QCOMPARE(w.form->StatusText(0), QString("Playing..."));
        QCOMPARE(w.form->StatusText(1), file);
        QCOMPARE(w.form->PlayButtonB1->state(), TransportBlock::State::Playing);

        // Afterwards one block per request, whichever event asks.
        w.engine.log.clear();
        w.player()->emitEndArrayPlay();
        w.player()->emitRequest();
        QCOMPARE(w.engine.log.matching("AudioPlayer1.LoadArray"),
                 QStringList({"AudioPlayer1.LoadArray(8820)", "AudioPlayer1.LoadArray(8820)"}));
    }

    void stateTableEventByEvent()
    {
        WindowFixture w;
        startWithFile(w);
        fake::CallLog &log = w.engine.log;

        w.form->StartPlayback();
        QVERIFY(w.form->Playing && !w.form->PlayPaused);

        log.clear();
        w.form->StartPlayback();    // Play while playing: nothing
        QCOMPARE(log.calls, QStringList());

        w.player()->currentSamples = 44100 * 3;   // 3 s heard, more read ahead
        w.form->PauseClick();
        QVERIFY(w.form->Playing && w.form->PlayPaused);
        QCOMPARE(w.form->PositionOffset, qint64(44100 * 3));
        QCOMPARE(w.form->StatusText(0), QString("Pause"));
        QCOMPARE(w.form->PlayButtonB1->state(), TransportBlock::State::Paused);
        QCOMPARE(w.form->AmpBar1->Value(), 0);

        log.clear();
        w.form->PauseClick();       // Pause while paused: nothing
        QCOMPARE(log.calls, QStringList());

        log.clear();
        w.player()->emitRequest();  // a late request during the pause queues nothing
        QCOMPARE(log.count("AudioPlayer1.LoadArray"), 0);

        // Play resumes where the sound stopped, not where the reader had read ahead.
        w.form->StartPlayback();
        QCOMPARE(log.matching(QStringList{"AudioFile1.Seek", "AudioPlayer1.Play", "AudioPlayer1.LoadArray"}),
                 QStringList({"AudioFile1.Seek(132300,3)", "AudioPlayer1.Play()",
                              "AudioPlayer1.LoadArray(8820)", "AudioPlayer1.LoadArray(8820)"}));
        QCOMPARE(log.count("AudioFile1.Open"), 0);
        QVERIFY(w.form->Playing && !w.form->PlayPaused);
        QCOMPARE(w.form->StatusText(0), QString("Playing..."));

        w.form->StopClick();
        QVERIFY(!w.form->Playing && !w.form->PlayPaused);
        QCOMPARE(w.form->StatusText(0), QString("Stop"));
        QCOMPARE(w.form->PositionOffset, qint64(0));
    }

    void failures_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("openError");
        QTest::addColumn<qint64>("frames");
        QTest::addColumn<int>("playError");
        QTest::addColumn<QString>("error");
        QTest::newRow("missing file") << "gone.wav" << 0 << qint64(100) << 0
                                      << "Cannot open %1: No such file or directory.";
        QTest::newRow("unreadable file") << "song.wav" << 5 << qint64(100) << 0
                                         << "Cannot open %1: Invalid data found when processing input.";
        QTest::newRow("empty file") << "song.wav" << 0 << qint64(0) << 0 << "Cannot play %1: it holds no sound.";
        QTest::newRow("output does not start") << "song.wav" << 0 << qint64(100) << 4
                                               << "Cannot play %1: No sound server answers.";
    }
    void failures()
    {
        // Play that cannot start says why, and the window is in its stopped look.
        QFETCH(QString, file);
        QFETCH(int, openError);
        QFETCH(qint64, frames);
        QFETCH(int, playError);
        QFETCH(QString, error);
        WindowFixture w;
        startWithFile(w, frames);
        w.engine.files[w.path("song.wav")].openError = openError;
        w.player()->playError = playError;
        w.player()->playErrorText = "No sound server answers";
        w.form->CurrentFileName = w.path(file);
        w.engine.log.clear();
        w.form->MenuPlay->trigger();
        QVERIFY(!w.form->Playing);
        QCOMPARE(w.form->StatusText(0), QString("Stop"));
        QCOMPARE(w.form->PlayButtonB1->state(), TransportBlock::State::Stopped);
        QVERIFY(w.engine.log.count("AudioFile1.Close()") > 0);
        QCOMPARE(w.errors(), QStringList({error.arg(w.path(file))}));
    }

    void playWithNoFileShowsStop()
    {
        WindowFixture w;
        w.start();
        w.form->StartPlayback();
        QVERIFY(!w.form->Playing);
        QCOMPARE(w.form->StatusText(0), QString("Stop"));
    }

    void selectedRowIsPreferred()
    {
        WindowFixture w;
        startWithFile(w);
        w.engine.addFile(w.path("chosen.wav"), 44100);
        w.form->SelectedFilePath = w.path("chosen.wav");
        w.form->StartPlayback();
        QCOMPARE(w.form->PlayFileName, w.path("chosen.wav"));
        QVERIFY(w.engine.log.indexOf("AudioFile1.Open(" + w.path("chosen.wav")) >= 0);
    }

    void sliderChoosesTheStartPoint()
    {
        WindowFixture w;
        startWithFile(w);
        w.form->SliderB1->SetValue(500);
        w.form->StartPlayback();
        QVERIFY(w.engine.log.indexOf("AudioFile1.Seek(1323000,3)") >= 0);
        QCOMPARE(w.form->PositionOffset, qint64(1323000));
        w.player()->emitTimer(0, 10, 20);
        QCOMPARE(w.form->TimeDisplay1->Seconds(), 30);
        QCOMPARE(w.form->TimeDisplay1->Minutes(), 0);
        QCOMPARE(w.form->SliderB1->Value(), 500);
        w.player()->emitTimer(44100 * 6, 10, 20);
        QCOMPARE(w.form->SliderB1->Value(), 600);
        QCOMPARE(w.form->TimeDisplay1->Seconds(), 36);
        QCOMPARE(w.form->AmpBar2->Value(), 20);
    }

    void previewWhileIdle_data()
    {
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("minutes");
        QTest::addColumn<int>("seconds");
        QTest::addColumn<int>("ms");
        // 600 s file
        QTest::newRow("zero") << 0 << 0 << 0 << 0;
        QTest::newRow("one per mille") << 1 << 0 << 0 << 600;
        QTest::newRow("half") << 500 << 5 << 0 << 0;
        QTest::newRow("end") << 1000 << 10 << 0 << 0;
        QTest::newRow("0.8 s after 1:40") << 168 << 1 << 40 << 800;
    }
    void previewWhileIdle()
    {
        QFETCH(int, value);
        QFETCH(int, minutes);
        QFETCH(int, seconds);
        QFETCH(int, ms);
        WindowFixture w;
        startWithFile(w, 44100 * 600);
        w.form->TimeDisplay1->SetMilliseconds(3723000);   // something to overwrite
        w.form->SliderB1->SetValue(value == 0 ? 1 : 0);
        w.form->SliderB1->SetValue(value);
        QCOMPARE(w.form->TimeDisplay1->Minutes(), minutes);
        QCOMPARE(w.form->TimeDisplay1->Seconds(), seconds);
        QCOMPARE(w.form->TimeDisplay1->Milliseconds(), ms);
        QVERIFY(!w.form->Playing);
        QCOMPARE(w.engine.log.count("AudioPlayer1.Play()"), 0);
    }

    void releasingTheSliderWhilePlayingSeeks()
    {
        WindowFixture w;
        startWithFile(w);
        w.form->StartPlayback();
        emit w.form->SliderB1->OnMouseDown(w.form->SliderB1);
        QVERIFY(w.form->SliderDragging);
        w.form->SliderB1->SetValue(250);
        w.player()->emitTimer(4410);            // ticks leave a held slider alone
        QCOMPARE(w.form->SliderB1->Value(), 250);
        w.engine.log.clear();
        emit w.form->SliderB1->OnMouseUp(w.form->SliderB1);
        QCOMPARE(w.engine.log.matching(QStringList{"AudioPlayer1.Stop", "AudioFile1.Seek", "AudioPlayer1.Play", "AudioPlayer1.LoadArray"}),
                 QStringList({"AudioPlayer1.Stop()", "AudioFile1.Seek(661500,3)", "AudioPlayer1.Play()",
                              "AudioPlayer1.LoadArray(8820)", "AudioPlayer1.LoadArray(8820)"}));
        QVERIFY(!w.form->SliderDragging);
        QCOMPARE(w.form->PositionOffset, qint64(661500));
    }

    void pressingTheSliderDuringAPauseEndsThePlayback()
    {
        WindowFixture w;
        startWithFile(w);
        w.form->StartPlayback();
        w.form->PausePlayback();
        emit w.form->SliderB1->OnMouseDown(w.form->SliderB1);
        QVERIFY(!w.form->Playing && !w.form->PlayPaused);
        QCOMPARE(w.form->PlayButtonB1->state(), TransportBlock::State::Stopped);
        QCOMPARE(w.form->StatusText(0), QString("Pause"));   // the panel is left as it was
        w.form->SliderB1->SetValue(100);
        emit w.form->SliderB1->OnMouseUp(w.form->SliderB1);
        QCOMPARE(w.engine.log.count("AudioPlayer1.Play()"), 1);   // releasing starts nothing
        w.form->StartPlayback();                                   // Play starts anew at the slider
        QVERIFY(w.engine.log.indexOf("AudioFile1.Seek(264600,3)") >= 0);
    }

    void endOfFileResetsTheDisplays()
    {
        WindowFixture w;
        startWithFile(w);
        w.form->StartPlayback();
        w.player()->emitTimer(44100 * 59, 80, 80);
        w.player()->emitEndPlay();
        QVERIFY(!w.form->Playing);
        QCOMPARE(w.form->AmpBar1->Value(), 0);
        QCOMPARE(w.form->SliderB1->Value(), 0);
        QCOMPARE(w.form->TimeDisplay1->Seconds(), 0);
        QCOMPARE(w.form->TimeDisplay1->Minutes(), 0);
        QCOMPARE(w.form->StatusText(0), QString("Stop"));
        QCOMPARE(w.form->PlayButtonB1->state(), TransportBlock::State::Stopped);
        w.engine.log.clear();
        w.player()->emitRequest();   // nothing is queued after the end
        QCOMPARE(w.engine.log.count("AudioPlayer1.LoadArray"), 0);
    }

    void openListsTheFileEachTime()
    {
        WindowFixture w;
        w.start();
        w.engine.addFile(w.path("a.wav"), 44100 * 65);
        w.openFileAnswers = QStringList{w.path("a.wav"), w.path("a.wav"), QString()};
        w.form->MenuOpen->trigger();
        w.form->ToolBtnOpen->click();
        w.form->MenuOpen->trigger();   // cancelled
        QCOMPARE(w.openFileTitles, QStringList({"Open file", "Open file", "Open file"}));
        QCOMPARE(w.openFileFilters.first(),
                 QStringList({"Wav files (*.wav)", "MPEG files (*.mp3;*.mp2;*.mp1;*.mpeg)", "Ogg Vorbis files (*.ogg)",
                              "AVI files (*.avi)", "G721 files (*.g721)", "MPPlus files (*.mpc;*.mp+)", "WMA files (*.wma)"}));
        QTreeWidget *list = w.form->FileInfo()->ListView1;
        QCOMPARE(list->topLevelItemCount(), 2);
        QCOMPARE(list->topLevelItem(1)->text(0), QString("a.wav"));
        QCOMPARE(list->topLevelItem(1)->text(2), QString("01:05"));
        QCOMPARE(w.form->CurrentFileName, w.path("a.wav"));
        QCOMPARE(w.form->LastFileLength, qint64(44100 * 65));
        QCOMPARE(w.form->StatusText(0), QString("Stop"));
        QCOMPARE(w.form->StatusText(2), QString("PCM  44100 Hz, 16 bit, Stereo"));
    }

    void openWhilePlayingLeavesTheSoundAlone()
    {
        WindowFixture w;
        startWithFile(w);
        w.engine.addFile(w.path("next.mp3"), 22050 * 10, 22050, 2, "MPEG 2.0 layer-3: 64 kbps, 22050 Hz, Stereo");
        w.form->StartPlayback();
        w.engine.log.clear();
        w.openFileAnswers = QStringList{w.path("next.mp3")};
        w.form->OpenClick();
        // The playing reader was not touched; the new file was measured by a reader of its own.
        QCOMPARE(w.engine.log.matching("AudioFile1."), QStringList());
        QVERIFY(w.engine.log.indexOf("AudioFileMeasure.Open(" + w.path("next.mp3")) >= 0);
        QVERIFY(w.form->Playing && !w.form->PlayPaused);
        QCOMPARE(w.form->StatusText(0), QString("Playing..."));   // the sound goes on
        QCOMPARE(w.form->PlayButtonB1->state(), TransportBlock::State::Playing);
        QCOMPARE(w.form->StatusText(2), QString("MP3  64 kbps, 22050 Hz, Stereo"));
        QCOMPARE(w.form->CurrentFileName, w.path("next.mp3"));
        // After a stop, Play plays the new file.
        w.form->StopPlayback();
        w.form->StartPlayback();
        QCOMPARE(w.form->PlayFileName, w.path("next.mp3"));
    }

    void openWhilePausedStaysPaused()
    {
        WindowFixture w;
        startWithFile(w);
        w.engine.addFile(w.path("next.wav"), 44100);
        w.form->StartPlayback();
        w.form->PausePlayback();
        w.openFileAnswers = QStringList{w.path("next.wav")};
        w.engine.log.clear();
        w.form->OpenClick();
        QVERIFY(w.form->Playing && w.form->PlayPaused);
        QCOMPARE(w.engine.log.count("AudioPlayer1.Play()"), 0);
        QCOMPARE(w.form->StatusText(0), QString("Pause"));   // beside the paused block
        QCOMPARE(w.form->PlayButtonB1->state(), TransportBlock::State::Paused);
    }

    void recordingWhilePlayingKeepsBoth()
    {
        WindowFixture w;
        startWithFile(w);
        w.form->CurrentSettings.savePath = w.path("rec/");
        w.form->CurrentSettings.saveFormat = ".wav";
        w.form->StartPlayback();
        w.engine.log.clear();
        w.form->StartRecording();
        QVERIFY(w.form->Playing && w.form->Recording);
        QCOMPARE(w.engine.log.matching("AudioFile1."), QStringList());   // the playing reader is left alone
        w.form->StopClick();   // playback first, then recording
        QVERIFY(w.engine.log.indexOf("AudioPlayer1.Stop()") < w.engine.log.indexOf("AudioRecord1.Stop()"));
        QVERIFY(!w.form->Playing && !w.form->Recording);
    }
};

QTEST_MAIN(TestPlayback)
#include "tst_playback.moc"
