#include "window_fixture.h"

#include "dialogs/modal_driver.h"
#include "ui/schedule_dialog.h"
#include "ui/status_panels.h"

#include "cli/command_line.h"
#include "session/ini_file.h"
#include "widgets/level_meter.h"
#include "widgets/position_slider.h"
#include "widgets/time_display.h"
#include "widgets/transport_block.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTimeEdit>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>

class TestMainWindow : public QObject {
    Q_OBJECT

private slots:
    void windowLooksAsDesigned()
    {
        WindowFixture w;
        w.start();
        MainWindow &f = *w.window;
        QCOMPARE(f.windowTitle(), QString("Tavrin Sound Recorder"));
        QCOMPARE(f.minimumSize(), QSize(560, 375));
        QCOMPARE(w.find<QTabWidget>("pages")->count(), 4);
        QCOMPARE(w.find<QTabWidget>("pages")->tabText(0), QString("Record Sound"));
        QCOMPARE(w.find<QTabWidget>("pages")->tabText(1), QString("Recording Controls"));
        QCOMPARE(w.find<QTabWidget>("pages")->tabText(2), QString("Playback Volume Controls"));
        QCOMPARE(w.find<QTabWidget>("pages")->tabText(3), QString("File Info"));
        QCOMPARE(w.find<QTabWidget>("pages")->currentIndex(), 0);
        // The panels keep their widths where the window has room for them all, and give way
        // (all but the first) where it has not, never lying over each other.
        // Panel 0 holds its longest text in the desktop's font.
        int stateWidth = 60;
        for (const QString &text : transportStateTexts())
            stateWidth = std::max(stateWidth, f.statusBar()->fontMetrics().horizontalAdvance(text) + 12);
        f.resize(1100, 450);   // room for every panel and the disk time
        QTRY_COMPARE(f.statusPanelWidth(1), 320);
        QCOMPARE(f.statusPanelWidth(0), stateWidth);
        QCOMPARE(f.statusPanelWidth(2), 300);
        f.resize(560, 400);
        QTRY_VERIFY(f.statusPanelWidth(2) < 300);
        // A format is never cut, even where the window is narrow; the disk time is short.
        f.setStatusText(2, "Ogg Vorbis 155 kbps, 44 kHz, Stereo");
        QTRY_VERIFY(f.statusPanelWidth(2) >= f.statusBar()->fontMetrics().horizontalAdvance(f.statusText(2)) + 12);
        const QLabel *disk = f.statusBar()->findChild<QLabel *>("diskTimeLeft");
        QVERIFY2(disk->text().isEmpty() || (disk->text().endsWith(" left") && disk->toolTip().endsWith(" left on disk")),
                 qPrintable(disk->text()));
        const QLabel *p1 = f.statusBar()->findChild<QLabel *>("statusPanel1");
        const QLabel *p2 = f.statusBar()->findChild<QLabel *>("statusPanel2");
        QCOMPARE(f.statusPanelWidth(0), stateWidth);
        QVERIFY(p1->geometry().right() < p2->geometry().left());
        QVERIFY(p2->geometry().right() <= f.statusBar()->width());
        QCOMPARE(f.statusText(0), QString());
        QCOMPARE(w.find<QWidget>("transportPanel")->height(), 65);
        QCOMPARE(w.find<TransportBlock>("transportBlock")->toolTip(), QString("Play/Record Control"));
        QCOMPARE(w.find<TimeDisplay>("timeDisplay")->toolTip(), QString("Time Elapsed"));
    }

    void toolBar()
    {
        WindowFixture w;
        w.start();
        const QList<QToolButton *> buttons = {w.find<QToolButton>("openButton"), w.find<QToolButton>("optionsButton"),
                                              w.find<QToolButton>("helpButton"), w.find<QToolButton>("aboutButton")};
        const QStringList captions{"Open", "Options", "Help", "About"};
        const QStringList hints{"Open a file", "Options", "Help Contents", "About"};
        for (int i = 0; i < 4; ++i) {
            QCOMPARE(buttons[i]->text(), captions[i]);
            QCOMPARE(buttons[i]->toolTip(), hints[i]);
            QCOMPARE(buttons[i]->toolButtonStyle(), Qt::ToolButtonTextUnderIcon);
            QVERIFY(buttons[i]->width() >= 43);
        }
    }

    void menuTable()
    {
        WindowFixture w;
        w.start();
        // Each menu's entries, "-" for a separator, with the shortcut after a tab.
        QStringList menus;
        for (QAction *top : w.window->menuBar()->actions()) {
            QStringList items;
            for (QAction *a : top->menu()->actions()) {
                if (a->isSeparator()) {
                    items << "-";
                    continue;
                }
                QString t = a->text().remove('&');
                if (!a->shortcut().isEmpty())
                    t += "\t" + a->shortcut().toString();
                items << t;
            }
            menus << top->text().remove('&') + ": " + items.join(" | ");
        }
        QCOMPARE(menus, QStringList({
            "File: Open\tCtrl+O | - | Exit",
            "Action: Record\tCtrl+R | - | Play\tCtrl+P | Pause | Stop\tCtrl+S | - | Add Marker\tCtrl+M | Next Marker\tCtrl+. | Previous Marker\tCtrl+, | - | Schedule Recording...",
            "Options: Recording Controls | Playback Volume Controls | File Info... | - | Options...\tF2",
            "Help: Help Contents\tF1 | - | Homepage | - | Tip of the Day | About"}));
    }

    void listeningArmedAndScheduledLooks()
    {
        WindowFixture w;
        w.start();
        const auto panel0 = [&] { return w.window->statusText(0); };
        // Pre-record on: the input is open while idle, and says so.
        w.changeSettings([](RecordingSettings &s) { s.prerecordSeconds = 5; });
        QCOMPARE(panel0(), QString("Listening"));
        QVERIFY(w.recorder()->isRunning() && w.action("openAction")->isEnabled());
        w.changeSettings([](RecordingSettings &s) {
            s.prerecordSeconds = 0;
            s.triggerOn = true;
        });
        QCOMPARE(panel0(), QString("Stop"));
        w.trigger("recordAction");
        QCOMPARE(panel0(), QString("Waiting for sound..."));
        QVERIFY(!w.action("openAction")->isEnabled() && !w.action("scheduleAction")->isEnabled());
        // A marker may be added while the run waits for sound: the status bar says where.
        QVERIFY(w.action("addMarkerAction")->isEnabled() && w.find<QToolButton>("markerButton")->isEnabled());
        w.trigger("addMarkerAction");
        QCOMPARE(w.window->statusBar()->currentMessage(), QString("Marker 1 at 00:00:00"));
        w.trigger("stopAction");
        QCOMPARE(panel0(), QString("Stop"));
        QVERIFY(!w.action("addMarkerAction")->isEnabled() && !w.find<QToolButton>("markerButton")->isEnabled());

        // A schedule for 07:00 today, 30 minutes ahead, with a length of its own.
        w.recording().setClock([] { return QDateTime(QDate(2026, 12, 8), QTime(6, 30)); });
        ModalDriver<ScheduleDialog> driver([](ScheduleDialog *d) {
            d->findChild<QTimeEdit *>("startTime")->setTime(QTime(7, 0));
            QCOMPARE(d->findChild<QComboBox *>("dayList")->currentText(), QString("Today"));
            QCOMPARE(d->findChild<QLabel *>("startsIn")->text(), QString("Starts in 30 min."));
            d->findChild<QCheckBox *>("lengthBox")->click();
            d->findChild<QTimeEdit *>("length")->setTime(QTime(0, 10));
            d->findChild<QPushButton *>("okButton")->click();
        });
        w.trigger("scheduleAction");
        QCOMPARE(driver.runs, 1);
        QCOMPARE(w.recording().state(), RecordingSession::State::Scheduled);
        QCOMPARE(w.recording().scheduledAt(), QDateTime(QDate(2026, 12, 8), QTime(7, 0)));
        QCOMPARE(panel0(), QString("Recording in 00:30:00"));
        QVERIFY(!w.action("addMarkerAction")->isEnabled());
        QVERIFY(w.find<QLabel>("statusPanel0")->width() >= w.find<QLabel>("statusPanel0")->sizeHint().width());
        QCOMPARE(w.recording().settings().timeLimitSeconds, 0);
        w.trigger("stopAction");
        QCOMPARE(panel0(), QString("Stop"));
        QVERIFY2(w.errors().isEmpty(), qPrintable(w.errors().join(" | ")));
    }

    void tabCommandsOnlySwitchTabs()
    {
        WindowFixture w;
        w.start();
        w.engine.log.clear();
        w.action("playbackControlsAction")->trigger();
        QCOMPARE(w.find<QTabWidget>("pages")->currentIndex(), 2);
        w.action("recordingControlsAction")->trigger();
        QCOMPARE(w.find<QTabWidget>("pages")->currentIndex(), 1);
        w.action("fileInfoAction")->trigger();
        QCOMPARE(w.find<QTabWidget>("pages")->currentIndex(), 3);
        QCOMPARE(w.engine.log.calls, QStringList());
    }

    void startUpOrder()
    {
        WindowFixture w;
        w.start();
        w.recording().flush();   // the writer takes its format on a thread of its own
        const QStringList &log = w.engine.log.calls;
        // Every component made, the stored format handed to the writer, then the first show's
        // steps in order.
        for (const QString made : {"recorder", "writer", "recordingReader", "mp3Encoder", "player", "reader"})
            QVERIFY2(log.contains("create(" + made + ")"), qPrintable(made));
        QVERIFY(log.indexOf("information.SetInfoFlag(true)") > log.indexOf("create(information)"));
        for (const QString call : {"writer.SetActive(true)", "writer.SetMp3Format(44100,128,2)",
                                    "mp3Encoder.SetFrequency(44100)", "mp3Encoder.SetBitrate(128)"})
            QVERIFY2(log.contains(call), qPrintable(call));
        const QStringList order{"player.GetDeviceCount()", "recorder.GetDeviceCount()",
                                "information.GetGenreName(0)", "information.GetGenreName(146)",
                                "player.SetPlayFlag(true)", "player.SetPlayOption(80)",
                                "player.GetLineCount()", "recorder.GetLineCount()",
                                "player.GetVolume()", "player.SetLine(0)", "player.GetLineMute()"};
        int at = -1;
        for (const QString &call : order) {
            const int next = w.engine.log.indexOf(call, at + 1);
            QVERIFY2(next > at, qPrintable(call + " out of order in: " + log.join(" ; ")));
            at = next;
        }
        QCOMPARE(w.engine.log.count("information.GetGenreName("), 147);
        QCOMPARE(w.find<TransportBlock>("transportBlock")->volume(), w.player()->volume);
        QVERIFY(!QFile::exists(w.path("setup.ini")));   // reading creates nothing
    }

    void mixLevelsLastFromRunToRun()
    {
        WindowFixture w;
        IniFile(w.path("setup.ini")).write({{"mix", "mic", 40}, {"mix", "system", 70}});
        w.start();
        QCOMPARE(w.recorder()->GetMicrophoneMixLevel(), 40);
        QCOMPARE(w.recorder()->GetComputerMixLevel(), 70);
        w.recorder()->SetMixLevels(55, 20);
        w.window->close();
        const IniFile ini(w.path("setup.ini"));
        QCOMPARE(ini.readInteger("mix", "mic", -1), 55);
        QCOMPARE(ini.readInteger("mix", "system", -1), 20);
        QCOMPARE(w.errors(), QStringList());
    }

    void muteButtonShowsAndSwitchesTheDevice_data()
    {
        QTest::addColumn<bool>("deviceMuted");
        QTest::addColumn<bool>("streamMuted");
        QTest::newRow("device muted") << true << false;
        QTest::newRow("only our stream muted") << false << true;
    }
    void muteButtonShowsAndSwitchesTheDevice()
    {
        QFETCH(bool, deviceMuted);
        QFETCH(bool, streamMuted);
        WindowFixture w;
        w.engine.outputs.devices[0].lines[0].mute = deviceMuted;
        w.engine.outputs.devices[0].lines[1].mute = streamMuted;
        w.start();
        QCOMPARE(w.find<TransportBlock>("transportBlock")->mute(), deviceMuted);
        // A click writes the line the button showed: the state shown is what it switches.
        w.find<TransportBlock>("transportBlock")->setMute(!deviceMuted);
        emit w.find<TransportBlock>("transportBlock")->clicked(TransportBlock::Button::Mute);
        QCOMPARE(w.engine.outputs.devices[0].lines[0].mute, !deviceMuted);
        QCOMPARE(w.engine.outputs.devices[0].lines[1].mute, streamMuted);
    }

    void closeHandlerStopsPlaybackThenRecording()
    {
        WindowFixture w;
        w.start();
        w.engine.addFile(w.path("a.wav"), 44100 * 10);
        w.files().setCurrentFile(w.path("a.wav"));
        w.window->play();
        w.window->record();
        QVERIFY(w.playback().isActive() && w.recording().isActive());
        w.engine.log.clear();
        w.window->close();
        const int playerStop = w.engine.log.indexOf("player.Stop()");
        const int recorderStop = w.engine.log.indexOf("recorder.Stop()");
        const int written = w.engine.log.indexOf("writer.Close()");
        QVERIFY(playerStop >= 0 && playerStop < recorderStop);
        QVERIFY(recorderStop < written);
        QCOMPARE(w.find<QTabWidget>("pages")->currentIndex(), 3);   // the new file is shown on "File Info"
        QVERIFY(!w.playback().isActive() && !w.recording().isActive());
    }

    void closingWhilePausedStillStopsPlayback()
    {
        WindowFixture w;
        w.start();
        w.engine.addFile(w.path("a.wav"), 44100 * 10);
        w.files().setCurrentFile(w.path("a.wav"));
        w.window->play();
        w.playback().pause();
        w.engine.log.clear();
        w.window->close();
        QVERIFY(w.engine.log.indexOf("player.Stop()") >= 0);
        QVERIFY(w.engine.log.indexOf("reader.Close()") >= 0);
    }

    void transportButtons_data()
    {
        QTest::addColumn<TransportBlock::Button>("button");
        QTest::addColumn<bool>("playingFirst");
        QTest::addColumn<TransportBlock::State>("shown");
        QTest::newRow("play") << TransportBlock::Button::Play << false << TransportBlock::State::Playing;
        QTest::newRow("pause") << TransportBlock::Button::Pause << true << TransportBlock::State::Paused;
        QTest::newRow("stop") << TransportBlock::Button::Stop << true << TransportBlock::State::Stopped;
        QTest::newRow("record") << TransportBlock::Button::Record << false << TransportBlock::State::Recording;
    }
    void transportButtons()
    {
        QFETCH(TransportBlock::Button, button);
        QFETCH(bool, playingFirst);
        QFETCH(TransportBlock::State, shown);
        WindowFixture w;
        w.start();
        w.engine.addFile(w.path("a.wav"), 44100 * 10);
        w.files().setCurrentFile(w.path("a.wav"));
        if (playingFirst)
            w.window->play();
        auto *block = w.find<TransportBlock>("transportBlock");
        emit block->clicked(button);
        QCOMPARE(block->state(), shown);
        QCOMPARE(w.playback().isActive(),
                 shown == TransportBlock::State::Playing || shown == TransportBlock::State::Paused);
        QCOMPARE(w.recording().isActive(), shown == TransportBlock::State::Recording);
    }

    void knobSetsVolumeInEveryState()
    {
        WindowFixture w;
        w.start();
        emit w.find<TransportBlock>("transportBlock")->volumeChanged(33);
        QCOMPARE(w.player()->volume, 33);
    }

    void recordingShowsOnTheWindow()
    {
        WindowFixture w;
        w.start();
        w.changeSettings([&](RecordingSettings &s) { s.savePath = w.path("rec/"); });
        auto *block = w.find<TransportBlock>("transportBlock");
        auto *slider = w.find<PositionSlider>("positionSlider");
        auto *time = w.find<TimeDisplay>("timeDisplay");
        const auto commandsEnabled = [&] {
            return w.find<QToolButton>("openButton")->isEnabled() && w.find<QToolButton>("optionsButton")->isEnabled()
                   && w.action("openAction")->isEnabled() && w.action("optionsAction")->isEnabled();
        };

        w.trigger("recordAction");
        QCOMPARE(w.window->statusText(0), QString("Recording..."));
        QCOMPARE(block->state(), TransportBlock::State::Recording);
        QVERIFY(w.window->statusText(1).endsWith("Untitled1.mp3"));
        QCOMPARE(w.window->statusText(2), QString("MP3  128 kbps, 44100 Hz, Stereo"));
        QVERIFY(!commandsEnabled());
        QVERIFY(!slider->isEnabled());

        w.recorder()->emitTimer(44100 * 65 + 4410, 33, 77);
        QCOMPARE(w.find<LevelMeter>("leftMeter")->value(), 33);
        QCOMPARE(w.find<LevelMeter>("rightMeter")->value(), 77);
        QCOMPARE(time->minutes(), 1);
        QCOMPARE(time->seconds(), 5);
        QCOMPARE(time->milliseconds(), 100);

        w.trigger("pauseAction");
        QCOMPARE(w.window->statusText(0), QString("Pause"));
        QCOMPARE(block->state(), TransportBlock::State::Paused);
        QCOMPARE(time->seconds(), 5);   // kept while paused
        w.trigger("recordAction");
        QCOMPARE(w.window->statusText(0), QString("Recording..."));

        w.trigger("stopAction");
        QCOMPARE(w.window->statusText(0), QString("Stop"));
        QCOMPARE(block->state(), TransportBlock::State::Stopped);
        QCOMPARE(w.find<QTabWidget>("pages")->currentIndex(), 3);
        QCOMPARE(time->seconds(), 0);
        QCOMPARE(time->minutes(), 0);
        QCOMPARE(w.find<LevelMeter>("leftMeter")->value(), 0);
        QVERIFY(commandsEnabled());
        QVERIFY(slider->isEnabled());
        QCOMPARE(w.find<QTreeWidget>("fileList")->topLevelItemCount(), 1);
        QCOMPARE(w.errors(), QStringList());
    }

    void aRecordingThatCannotStartSaysWhy()
    {
        WindowFixture w;
        w.start();
        w.changeSettings([&](RecordingSettings &s) { s.savePath = w.path("rec/"); });
        w.recorder()->startError = 3;
        w.recorder()->startErrorText = "No sound server answers";
        w.trigger("recordAction");
        QCOMPARE(w.errors(), QStringList({"No sound server answers."}));
        QCOMPARE(w.window->statusText(0), QString("Stop"));
        QCOMPARE(w.find<TransportBlock>("transportBlock")->state(), TransportBlock::State::Stopped);
        QCOMPARE(w.find<QTabWidget>("pages")->currentIndex(), 0);
        QVERIFY(w.find<QToolButton>("openButton")->isEnabled());
        QCOMPARE(w.find<QTreeWidget>("fileList")->topLevelItemCount(), 0);
    }

    void playbackShowsOnTheWindow()
    {
        WindowFixture w;
        w.start();
        w.engine.addFile(w.path("song.wav"), 44100 * 60);
        w.files().setCurrentFile(w.path("song.wav"));
        auto *block = w.find<TransportBlock>("transportBlock");
        auto *slider = w.find<PositionSlider>("positionSlider");
        auto *time = w.find<TimeDisplay>("timeDisplay");

        slider->setValue(500);
        w.trigger("playAction");
        QCOMPARE(w.window->statusText(0), QString("Playing..."));
        QCOMPARE(w.window->statusText(1), w.path("song.wav"));
        QCOMPARE(block->state(), TransportBlock::State::Playing);
        w.player()->emitTimer(44100 * 6, 10, 20);
        QCOMPARE(slider->value(), 600);
        QCOMPARE(time->seconds(), 36);
        QCOMPARE(w.find<LevelMeter>("rightMeter")->value(), 20);

        // A held slider is left alone by the ticks.
        emit slider->pressed();
        slider->setValue(250);
        w.player()->emitTimer(44100 * 7);
        QCOMPARE(slider->value(), 250);
        emit slider->released();

        w.trigger("pauseAction");
        QCOMPARE(w.window->statusText(0), QString("Pause"));
        QCOMPARE(block->state(), TransportBlock::State::Paused);
        QCOMPARE(w.find<LevelMeter>("leftMeter")->value(), 0);
        // Taking the slider during a pause ends that playback; the panel says so and the
        // slider stays where the user holds it.
        emit slider->pressed();
        QCOMPARE(block->state(), TransportBlock::State::Stopped);
        QCOMPARE(w.window->statusText(0), QString("Stop"));
        QCOMPARE(slider->value(), 250);
        slider->setValue(168);   // a preview of the 60 s file: 0:10.080
        emit slider->released();
        QCOMPARE(time->seconds(), 10);
        QCOMPARE(time->milliseconds(), 80);

        w.trigger("playAction");
        w.player()->emitEndPlay();
        QCOMPARE(w.window->statusText(0), QString("Stop"));
        QCOMPARE(slider->value(), 0);
        QCOMPARE(time->seconds(), 0);
        QCOMPARE(w.errors(), QStringList());
    }

    void openDuringPlaybackKeepsWhatRuns_data()
    {
        QTest::addColumn<bool>("paused");
        QTest::newRow("playing") << false;
        QTest::newRow("paused") << true;
    }
    void openDuringPlaybackKeepsWhatRuns()
    {
        QFETCH(bool, paused);
        WindowFixture w;
        w.start();
        w.engine.addFile(w.path("song.wav"), 44100 * 60);
        w.engine.addFile(w.path("next.mp3"), 22050 * 10, 22050, 2, "MPEG 2.0 layer-3: 64 kbps, 22050 Hz, Stereo");
        w.files().setCurrentFile(w.path("song.wav"));
        w.window->play();
        if (paused)
            w.window->pause();
        w.openFileAnswers = QStringList{w.path("next.mp3")};
        w.trigger("openAction");
        QCOMPARE(w.window->statusText(0), QString(paused ? "Pause" : "Playing..."));
        QCOMPARE(w.find<TransportBlock>("transportBlock")->state(),
                 paused ? TransportBlock::State::Paused : TransportBlock::State::Playing);
        QCOMPARE(w.window->statusText(2), QString("MP3  64 kbps, 22050 Hz, Stereo"));
        QCOMPARE(w.files().currentFile(), w.path("next.mp3"));
    }

    // Start-up with a file named on the command line, read and opened as main() does.
    void fileNamedOnTheCommandLineIsOpened_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("opens");
        QTest::newRow("a sound file") << "take.mp3" << true;
        QTest::newRow("a missing file") << "missing.mp3" << false;
    }
    void fileNamedOnTheCommandLineIsOpened()
    {
        QFETCH(QString, name);
        QFETCH(bool, opens);
        WindowFixture w;
        w.start();
        w.engine.addFile(w.path("take.mp3"), 22050 * 10, 22050, 2, "MPEG 2.0 layer-3: 64 kbps, 22050 Hz, Stereo");
        // Named relative to the folder the program was started in.
        const QString startFolder = QDir::currentPath();
        QVERIFY(QDir::setCurrent(w.dir.path()));
        const CommandLine commandLine = readCommandLine({"tavrin-sound-recorder", name});
        QDir::setCurrent(startFolder);
        QVERIFY(!commandLine.exitCode);
        QCOMPARE(commandLine.fileToOpen, w.path(name));

        openFromCommandLine(*w.window, commandLine.fileToOpen);
        if (opens) {
            QCOMPARE(w.errors(), QStringList());
            QCOMPARE(w.files().count(), 1);
            QCOMPARE(w.files().currentFile(), w.path(name));
            QCOMPARE(w.window->statusText(2), QString("MP3  64 kbps, 22050 Hz, Stereo"));
        } else {
            QCOMPARE(w.errors(), QStringList{"Cannot open " + w.path(name) + ": No such file or directory."});
            QCOMPARE(w.files().count(), 0);
            QVERIFY(w.window->isVisible());
        }
    }

    void recordingWhilePlayingShowsWhatIsWritten()
    {
        // The format panel describes the file being written, not what the player reads.
        WindowFixture w;
        w.start();
        w.changeSettings([&](RecordingSettings &s) {
            s.savePath = w.path("rec/");
            s.mp3Frequency = 22050;
            s.mp3Bitrate = 64;
        });
        w.engine.addFile(w.path("song.wav"), 44100 * 10);
        w.files().setCurrentFile(w.path("song.wav"));
        w.window->play();
        w.window->record();
        QVERIFY(w.playback().isActive() && w.recording().isActive());
        QCOMPARE(w.window->statusText(0), QString("Recording..."));
        QCOMPARE(w.window->statusText(2), QString("MP3  64 kbps, 22050 Hz, Stereo"));
        // While both run, the recording owns the time display and the slider.
        w.recorder()->emitTimer(22050 * 2);
        w.player()->emitTimer(44100 * 7);
        QCOMPARE(w.find<TimeDisplay>("timeDisplay")->seconds(), 2);
        QCOMPARE(w.find<PositionSlider>("positionSlider")->value(), 0);
    }

    void widerWindowMovesTheTransportControls()
    {
        WindowFixture w;
        w.start();
        MainWindow &f = *w.window;
        f.resize(700, 450);
        QTRY_COMPARE(w.find<QWidget>("transportPanel")->width(), f.centralWidget()->width());
        const int sliderW = w.find<PositionSlider>("positionSlider")->width(), blockW = w.find<TransportBlock>("transportBlock")->width();
        const int meter1X = w.find<LevelMeter>("leftMeter")->x(), meter2X = w.find<LevelMeter>("rightMeter")->x(), timeX = w.find<TimeDisplay>("timeDisplay")->x();
        QCOMPARE(sliderW, w.find<QWidget>("transportPanel")->width() - 24);
        QCOMPARE(blockW, w.find<QWidget>("transportPanel")->width() - 308);
        QCOMPARE(meter1X, 8 + blockW + 7);
        QCOMPARE(timeX, meter1X + 153 + 7);
        f.resize(800, 450);
        QTRY_COMPARE(w.find<PositionSlider>("positionSlider")->width(), sliderW + 100);
        QCOMPARE(w.find<TransportBlock>("transportBlock")->width(), blockW + 100);
        QCOMPARE(w.find<LevelMeter>("leftMeter")->x(), meter1X + 100);
        QCOMPARE(w.find<LevelMeter>("rightMeter")->x(), meter2X + 100);
        QCOMPARE(w.find<TimeDisplay>("timeDisplay")->x(), timeX + 100);
        QCOMPARE(w.find<LevelMeter>("leftMeter")->geometry(), QRect(meter1X + 100, 28, 153, 21));
        QCOMPARE(w.find<LevelMeter>("rightMeter")->geometry(), QRect(meter2X + 100, 43, 153, 13));
        QCOMPARE(w.find<TimeDisplay>("timeDisplay")->geometry().size(), QSize(121, 33));
        QCOMPARE(w.find<PositionSlider>("positionSlider")->geometry().topLeft(), QPoint(8, 8));
        QCOMPARE(w.find<TransportBlock>("transportBlock")->geometry().topLeft(), QPoint(8, 27));
    }

    void fullStopRule_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("shown");
        QTest::newRow("letter") << "Cannot create /x/" << "Cannot create /x/.";
        QTest::newRow("full stop kept") << "Done." << "Done.";
        QTest::newRow("digit sorts after") << "code 5" << "code 5.";
        QTest::newRow("closing bracket sorts before") << "bad (x)" << "bad (x)";
        QTest::newRow("exclamation sorts before") << "Stop!" << "Stop!";
        QTest::newRow("empty") << "" << "";
    }
    void fullStopRule()
    {
        QFETCH(QString, text);
        QFETCH(QString, shown);
        QCOMPARE(ui::withFullStop(text), shown);
    }

    void errorInACommandIsShownAndTheWindowStaysUsable()
    {
        WindowFixture w;
        // A save path below a plain file cannot be created.
        QFile blocker(w.path("blocker"));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        QDir(w.dir.path()).mkpath("cfg");
        IniFile(w.path("setup.ini")).writeString("options", "savepath", w.path("blocker/rec/"));
        w.start();
        w.action("recordAction")->trigger();
        QCOMPARE(w.errors(), QStringList({"Cannot create " + w.path("blocker/rec/") + "."}));
        QCOMPARE(w.boxes.first().caption, QString("Tavrin Sound Recorder"));
        QVERIFY(!w.recording().isActive());
        QCOMPARE(w.window->statusText(0), QString("Stop"));
        QVERIFY(w.find<QToolButton>("openButton")->isEnabled());
        QVERIFY(w.action("optionsAction")->isEnabled());
        // The next command still works.
        w.action("fileInfoAction")->trigger();
        QCOMPARE(w.find<QTabWidget>("pages")->currentIndex(), 3);
    }

    void storedSettingsAreAppliedAtStartUp_data()
    {
        QTest::addColumn<QByteArray>("ini");
        QTest::addColumn<QString>("call");
        QTest::newRow("upper-case wav") << QByteArray("[options]\nsaveformat=.WAV\n[wav]\nfreq=8000\nch=1\nbps=8\n")
                                        << "writer.SetWavFormat(8000,1,8)";
        QTest::newRow("bitrate not a number") << QByteArray("[mp3]\nbitrate=loud\n") << "writer.SetMp3Format(44100,128,2)";
        QTest::newRow("broken file") << QByteArray("\x00\x01\xff", 3) + "[[[\n=\n[mp3\nfreq=1\n" << "writer.SetMp3Format(44100,128,2)";
    }
    void storedSettingsAreAppliedAtStartUp()
    {
        QFETCH(QByteArray, ini);
        QFETCH(QString, call);
        WindowFixture w;
        QFile f(w.path("setup.ini"));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(ini);
        f.close();
        w.start();
        w.recording().flush();
        QVERIFY2(w.engine.log.indexOf(call) >= 0, qPrintable(w.engine.log.calls.join(" ; ")));
        QCOMPARE(w.errors(), QStringList());
    }

    void storedTimeLimitIsInForceFromStartUp()
    {
        WindowFixture w;
        IniFile(w.path("setup.ini")).writeInteger("options", "timelimit", 600);
        w.start();
        QCOMPARE(w.recording().settings().timeLimitSeconds, 600);
        QCOMPARE(w.recording().settings().splitEnabled, false);
    }

    void tipTimerIsArmedAtCreation()
    {
        WindowFixture w;
        w.offerTips = true;
        w.start(false);
        QVERIFY(w.find<QTimer>("tipTimer")->isActive());
        QCOMPARE(w.find<QTimer>("tipTimer")->interval(), 1000);
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_main_window.moc"
