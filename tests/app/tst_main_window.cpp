#include "window_fixture.h"

#include "widgets/level_meter.h"
#include "widgets/transport_block.h"
#include "widgets/position_slider.h"
#include "widgets/time_display.h"
#include "ui/record_sound_page.h"
#include "session/ini_file.h"

#include <QAction>
#include <QMenu>
#include <QLabel>
#include <QMenuBar>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>

class TestMainWindow : public QObject {
    Q_OBJECT

private slots:
    void windowLooksAsDesigned()
    {
        WindowFixture w;
        w.start();
        MainWindow &f = *w.form;
        QCOMPARE(f.windowTitle(), QString("Tavrin Sound Recorder"));
        QCOMPARE(f.minimumSize(), QSize(560, 375));
        QCOMPARE(f.PageControl1->count(), 4);
        QCOMPARE(f.PageControl1->tabText(0), QString("Record Sound"));
        QCOMPARE(f.PageControl1->tabText(1), QString("Recording Controls"));
        QCOMPARE(f.PageControl1->tabText(2), QString("Playback Volume Controls"));
        QCOMPARE(f.PageControl1->tabText(3), QString("File Info"));
        QCOMPARE(f.PageControl1->currentIndex(), 0);
        // The panels keep their widths where the window has room for them all, and give way
        // (all but the first) where it has not, never lying over each other.
        // Panel 0 holds its longest text ("Recording...") in the desktop's font.
        const int stateWidth = std::max(60, f.statusBar()->fontMetrics().horizontalAdvance("Recording...") + 12);
        f.resize(900, 450);
        QTRY_COMPARE(f.StatusPanelWidth(1), 320);
        QCOMPARE(f.StatusPanelWidth(0), stateWidth);
        QCOMPARE(f.StatusPanelWidth(2), 300);
        f.resize(560, 400);
        QTRY_VERIFY(f.StatusPanelWidth(2) < 300);
        const QLabel *p1 = f.statusBar()->findChild<QLabel *>("StatusPanel1");
        const QLabel *p2 = f.statusBar()->findChild<QLabel *>("StatusPanel2");
        QCOMPARE(f.StatusPanelWidth(0), stateWidth);
        QVERIFY(p1->geometry().right() < p2->geometry().left());
        QVERIFY(p2->geometry().right() <= f.statusBar()->width());
        QCOMPARE(f.StatusText(0), QString());
        QCOMPARE(f.TransportPanel->height(), 65);
        QCOMPARE(f.PlayButtonB1->toolTip(), QString("Play/Record Control"));
        QCOMPARE(f.TimeDisplay1->toolTip(), QString("Time Elapsed"));
    }

    void toolBar()
    {
        WindowFixture w;
        w.start();
        const QList<QToolButton *> buttons = {w.form->ToolBtnOpen, w.form->ToolBtnOptions,
                                              w.form->ToolBtnHelp, w.form->ToolBtnAbout};
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
        for (QAction *top : w.form->menuBar()->actions()) {
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
            "Action: Record\tCtrl+R | - | Play\tCtrl+P | Pause | Stop\tCtrl+S",
            "Options: Recording Controls | Playback Volume Controls | File Info... | - | Options...\tF2",
            "Help: Help Contents\tF1 | - | Homepage | - | Tip of the Day | About"}));
    }

    void tabCommandsOnlySwitchTabs()
    {
        WindowFixture w;
        w.start();
        w.engine.log.clear();
        w.form->MenuPlaybackControls->trigger();
        QCOMPARE(w.form->PageControl1->currentIndex(), 2);
        w.form->MenuRecordingControls->trigger();
        QCOMPARE(w.form->PageControl1->currentIndex(), 1);
        w.form->MenuFileInfo->trigger();
        QCOMPARE(w.form->PageControl1->currentIndex(), 3);
        QCOMPARE(w.engine.log.calls, QStringList());
    }

    void startUpOrder()
    {
        WindowFixture w;
        w.start();
        const QStringList &log = w.engine.log.calls;
        // Components first, then the stored format handed over, then the first show's steps.
        const QStringList order{"create(AudioRecord1)", "create(AudioPlayer1)", "create(AudioFile1)",
                                "create(AudioFile2)", "create(AudioInformation1)", "create(Mp3LameEncoder)",
                                "reader.SetActive(true)", "writer.SetActive(true)",
                                "writer.SetMp3Format(44100,128,2)", "reader.SetMp3Format(44100,128,2)",
                                "mp3Encoder.SetFrequency(44100)", "mp3Encoder.SetBitrate(128)",
                                "writer.SetMp3Encoder", "reader.SetMp3Encoder",
                                "information.GetGenreName(0)", "information.GetGenreName(146)",
                                "information.SetInfoFlag(true)", "player.SetPlayFlag(true)",
                                "player.SetPlayOption(80)", "player.GetVolume()",
                                "player.SetLine(0)", "player.GetLineMute()"};
        int at = -1;
        for (const QString &call : order) {
            const int next = w.engine.log.indexOf(call, at + 1);
            QVERIFY2(next > at, qPrintable(call + " out of order in: " + log.join(" ; ")));
            at = next;
        }
        QCOMPARE(w.engine.log.count("information.GetGenreName("), 147);
        QCOMPARE(w.form->PlayButtonB1->Volume(), w.player()->volume);
        QVERIFY(!QFile::exists(w.path("setup.ini")));   // reading creates nothing
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
        QCOMPARE(w.form->PlayButtonB1->Mute(), deviceMuted);
        // A click writes the line the button showed: the state shown is what it switches.
        w.form->PlayButtonB1->SetMute(!deviceMuted);
        w.form->ToggleMute();
        QCOMPARE(w.engine.outputs.devices[0].lines[0].mute, !deviceMuted);
        QCOMPARE(w.engine.outputs.devices[0].lines[1].mute, streamMuted);
    }

    void closeHandlerStopsPlaybackThenRecording()
    {
        WindowFixture w;
        w.start();
        w.engine.addFile(w.path("a.wav"), 44100 * 10);
        w.form->CurrentFileName = w.path("a.wav");
        w.form->StartPlayback();
        w.form->StartRecording();
        QVERIFY(w.form->Playing && w.form->Recording);
        w.engine.log.clear();
        w.form->close();
        const int playerStop = w.engine.log.indexOf("player.Stop()");
        const int recorderStop = w.engine.log.indexOf("recorder.Stop()");
        const int written = w.engine.log.indexOf("writer.Close()");
        const int off1 = w.engine.log.indexOf("reader.SetActive(false)");
        const int off2 = w.engine.log.indexOf("writer.SetActive(false)");
        QVERIFY(playerStop >= 0 && playerStop < recorderStop);
        QVERIFY(recorderStop < written && written < off1 && off1 < off2);
        QCOMPARE(w.form->PageControl1->currentIndex(), 3);   // the new file is shown on "File Info"
        QVERIFY(!w.form->Playing && !w.form->Recording);
    }

    void closingWhilePausedStillStopsPlayback()
    {
        WindowFixture w;
        w.start();
        w.engine.addFile(w.path("a.wav"), 44100 * 10);
        w.form->CurrentFileName = w.path("a.wav");
        w.form->StartPlayback();
        w.form->PausePlayback();
        w.engine.log.clear();
        w.form->close();
        QVERIFY(w.engine.log.indexOf("player.Stop()") >= 0);
        QVERIFY(w.engine.log.indexOf("reader.Close()") >= 0);
    }

    void transportCodes_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("firstCall");
        QTest::newRow("1 play") << 1 << "reader.SetActive(true)";
        QTest::newRow("2 pause") << 2 << "player.GetCurrentSamples()";
        QTest::newRow("3 stop") << 3 << "player.Stop()";
        QTest::newRow("4 record") << 4 << "recorder.SetRecordFlag(true)";
        QTest::newRow("7 mute") << 7 << "player.SetLine(0)";
        QTest::newRow("0 nothing") << 0 << "";
        QTest::newRow("5 nothing") << 5 << "";
        QTest::newRow("6 nothing") << 6 << "";
        QTest::newRow("8 nothing") << 8 << "";
    }
    void transportCodes()
    {
        QFETCH(int, code);
        QFETCH(QString, firstCall);
        WindowFixture w;
        w.start();
        w.engine.addFile(w.path("a.wav"), 44100 * 10);
        w.form->CurrentFileName = w.path("a.wav");
        if (code == 2 || code == 3)
            w.form->StartPlayback();
        w.engine.log.clear();
        const QString panelBefore = w.form->StatusText(0);
        emit w.form->PlayButtonB1->OnMouseClick(w.form->PlayButtonB1, code);
        if (firstCall.isEmpty()) {
            QCOMPARE(w.engine.log.calls, QStringList());
            QCOMPARE(w.form->StatusText(0), panelBefore);
        } else {
            QVERIFY2(!w.engine.log.calls.isEmpty() && w.engine.log.calls.first().startsWith(firstCall),
                     qPrintable(w.engine.log.calls.join(" ; ")));
        }
    }

    void muteButtonWritesLineZero()
    {
        WindowFixture w;
        w.start();
        w.form->PlayButtonB1->SetMute(true);
        w.engine.log.clear();
        emit w.form->PlayButtonB1->OnMouseClick(w.form->PlayButtonB1, 7);
        QCOMPARE(w.engine.log.calls, QStringList({"player.SetLine(0)", "player.SetLineMute(true)"}));
        QVERIFY(w.engine.outputs.devices[0].lines[0].mute);
    }

    void knobSetsVolumeInEveryState()
    {
        WindowFixture w;
        w.start();
        emit w.form->PlayButtonB1->OnChangeVolume(w.form->PlayButtonB1, 33);
        QCOMPARE(w.player()->volume, 33);
    }

    void widerWindowMovesTheTransportControls()
    {
        WindowFixture w;
        w.start();
        MainWindow &f = *w.form;
        f.resize(700, 450);
        QTRY_COMPARE(f.TransportPanel->width(), f.centralWidget()->width());
        const int sliderW = f.SliderB1->width(), blockW = f.PlayButtonB1->width();
        const int meter1X = f.AmpBar1->x(), meter2X = f.AmpBar2->x(), timeX = f.TimeDisplay1->x();
        QCOMPARE(sliderW, f.TransportPanel->width() - 24);
        QCOMPARE(blockW, f.TransportPanel->width() - 308);
        QCOMPARE(meter1X, 8 + blockW + 7);
        QCOMPARE(timeX, meter1X + 153 + 7);
        f.resize(800, 450);
        QTRY_COMPARE(f.SliderB1->width(), sliderW + 100);
        QCOMPARE(f.PlayButtonB1->width(), blockW + 100);
        QCOMPARE(f.AmpBar1->x(), meter1X + 100);
        QCOMPARE(f.AmpBar2->x(), meter2X + 100);
        QCOMPARE(f.TimeDisplay1->x(), timeX + 100);
        QCOMPARE(f.AmpBar1->geometry(), QRect(meter1X + 100, 28, 153, 21));
        QCOMPARE(f.AmpBar2->geometry(), QRect(meter2X + 100, 43, 153, 13));
        QCOMPARE(f.TimeDisplay1->geometry().size(), QSize(121, 33));
        QCOMPARE(f.SliderB1->geometry().topLeft(), QPoint(8, 8));
        QCOMPARE(f.PlayButtonB1->geometry().topLeft(), QPoint(8, 27));
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
        w.form->MenuRecord->trigger();
        QCOMPARE(w.errors(), QStringList({"Cannot create " + w.path("blocker/rec/") + "."}));
        QCOMPARE(w.boxes.first().caption, QString("Tavrin Sound Recorder"));
        QVERIFY(!w.form->Recording);
        QCOMPARE(w.form->StatusText(0), QString("Stop"));
        QVERIFY(w.form->ToolBtnOpen->isEnabled());
        QVERIFY(w.form->MenuOptions->isEnabled());
        // The next command still works.
        w.form->MenuFileInfo->trigger();
        QCOMPARE(w.form->PageControl1->currentIndex(), 3);
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
        QVERIFY2(w.engine.log.indexOf(call) >= 0, qPrintable(w.engine.log.calls.join(" ; ")));
        QCOMPARE(w.errors(), QStringList());
    }

    void storedTimeLimitIsInForceFromStartUp()
    {
        WindowFixture w;
        IniFile(w.path("setup.ini")).writeInteger("options", "timelimit", 600);
        w.start();
        QCOMPARE(w.form->CurrentSettings.timeLimitSeconds, 600);
        QCOMPARE(w.form->CurrentSettings.splitEnabled, false);
    }

    void tipTimerIsArmedAtCreation()
    {
        WindowFixture w;
        w.offerTips = true;
        w.start(false);
        QVERIFY(w.form->TimerTip->isActive());
        QCOMPARE(w.form->TimerTip->interval(), 1000);
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_main_window.moc"
