#include "session_fixture.h"

using State = PlaybackSession::State;

class TestPlaybackSession : public QObject {
    Q_OBJECT

    // A 60 s file of 44.1 kHz stereo.
    static QString addSong(SessionFixture &f, qint64 frames = 44100 * 60)
    {
        f.engine.addFile(f.path("song.wav"), frames);
        return f.path("song.wav");
    }

private slots:
    void playReadsAheadOfThePlayer()
    {
        SessionFixture f;
        const QString file = addSong(f);
        f.playback.play(file, 0);
        QCOMPARE(f.playback.state(), State::Playing);
        QCOMPARE(f.playback.playingFile(), file);
        QVERIFY(f.engine.log.indexOf("player.SetFormat(2,44100)") >= 0);
        QCOMPARE(f.player()->loadedBlocks, std::vector<qint64>({8820, 8820}));   // two blocks queued

        // Afterwards one block per request, whichever event asks.
        f.engine.log.clear();
        f.player()->emitEndArrayPlay();
        f.player()->emitRequest();
        QCOMPARE(f.engine.log.matching("player.LoadArray"),
                 QStringList({"player.LoadArray(8820)", "player.LoadArray(8820)"}));
    }

    void stateTableEventByEvent()
    {
        SessionFixture f;
        const QString file = addSong(f);
        fake::CallLog &log = f.engine.log;

        f.playback.play(file, 0);
        log.clear();
        f.playback.play(file, 0);    // Play while playing: nothing
        QCOMPARE(log.calls, QStringList());

        f.player()->currentSamples = 44100 * 3;   // 3 s heard, more read ahead
        f.playback.pause();
        QCOMPARE(f.playback.state(), State::Paused);

        log.clear();
        f.playback.pause();          // Pause while paused: nothing
        QCOMPARE(log.calls, QStringList());

        log.clear();
        f.player()->emitRequest();   // a late request during the pause queues nothing
        QCOMPARE(log.count("player.LoadArray"), 0);
        f.player()->emitTimer(0);    // nor does a late tick move anything
        QCOMPARE(f.positionMs, qint64(-1));

        // Play resumes where the sound stopped, not where the reader had read ahead.
        f.playback.play(QString(), 500);
        QCOMPARE(log.matching(QStringList{"reader.Seek", "player.Play", "player.LoadArray"}),
                 QStringList({"reader.Seek(132300,3)", "player.Play()",
                              "player.LoadArray(8820)", "player.LoadArray(8820)"}));
        QCOMPARE(log.count("reader.Open"), 0);
        QCOMPARE(f.playback.state(), State::Playing);

        f.playback.stop();
        QCOMPARE(f.playback.state(), State::Stopped);
        QVERIFY(log.indexOf("reader.Close()") >= 0);
    }

    void failures_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("openError");
        QTest::addColumn<qint64>("frames");
        QTest::addColumn<int>("playError");
        QTest::addColumn<QString>("error");
        QTest::newRow("missing file") << "gone.wav" << 0 << qint64(100) << 0
                                      << "Cannot open %1: No such file or directory";
        QTest::newRow("unreadable file") << "song.wav" << 5 << qint64(100) << 0
                                         << "Cannot open %1: Invalid data found when processing input";
        QTest::newRow("empty file") << "song.wav" << 0 << qint64(0) << 0 << "Cannot play %1: it holds no sound";
        QTest::newRow("output does not start") << "song.wav" << 0 << qint64(100) << 4
                                               << "Cannot play %1: No sound server answers";
    }
    void failures()
    {
        // Play that cannot start says why; nothing stays open.
        QFETCH(QString, file);
        QFETCH(int, openError);
        QFETCH(qint64, frames);
        QFETCH(int, playError);
        QFETCH(QString, error);
        SessionFixture f;
        addSong(f, frames);
        f.engine.files[f.path("song.wav")].openError = openError;
        f.player()->playError = playError;
        f.player()->playErrorText = "No sound server answers";
        f.playback.play(f.path(file), 0);
        QCOMPARE(f.playback.state(), State::Stopped);
        QVERIFY(f.engine.log.count("reader.Close()") > 0);
        QCOMPARE(f.failures, QStringList({error.arg(f.path(file))}));
    }

    void aPausedPlaybackWhoseOutputCannotRestartEnds()
    {
        SessionFixture f;
        f.playback.play(addSong(f), 0);
        f.playback.pause();
        f.player()->playError = 4;
        f.playback.play(QString(), 0);
        QCOMPARE(f.playback.state(), State::Stopped);
        QCOMPARE(f.failures.size(), 1);
        // The next Play starts anew from the file, not from a closed reader.
        f.player()->playError = 0;
        f.engine.log.clear();
        f.playback.play(f.path("song.wav"), 0);
        QCOMPARE(f.playback.state(), State::Playing);
        QCOMPARE(f.engine.log.count("reader.Open("), 1);
    }

    void ticksGivePositionAndPerMille()
    {
        SessionFixture f;
        f.playback.play(addSong(f), 500);
        QVERIFY(f.engine.log.indexOf("reader.Seek(1323000,3)") >= 0);
        f.player()->emitTimer(0, 10, 20);
        QCOMPARE(f.positionMs, qint64(30000));
        QCOMPARE(f.perMille, 500);
        f.player()->emitTimer(44100 * 6, 10, 20);
        QCOMPARE(f.positionMs, qint64(36000));
        QCOMPARE(f.perMille, 600);
    }

    void preview_data()
    {
        QTest::addColumn<int>("value");
        QTest::addColumn<qint64>("ms");
        // a 600 s file of 22.05 kHz: its own rate counts, not the player's
        QTest::newRow("zero") << 0 << qint64(0);
        QTest::newRow("one per mille") << 1 << qint64(600);
        QTest::newRow("half") << 500 << qint64(300000);
        QTest::newRow("end") << 1000 << qint64(600000);
        QTest::newRow("0.8 s after 1:40") << 168 << qint64(100800);
    }
    void preview()
    {
        QFETCH(int, value);
        QFETCH(qint64, ms);
        SessionFixture f;
        f.engine.addFile(f.path("slow.wav"), 22050 * 600, 22050, 2);
        const PlaybackSession::FileFacts facts = f.playback.measure(f.path("slow.wav"));
        QCOMPARE(facts.frames, qint64(22050 * 600));
        QCOMPARE(facts.sampleRate, 22050);
        QCOMPARE(f.playback.previewMs(value), ms);
        QCOMPARE(f.engine.log.count("player.Play()"), 0);
    }

    void releasingThePositionWhilePlayingSeeks()
    {
        SessionFixture f;
        f.playback.play(addSong(f), 0);
        f.playback.holdPosition();
        QVERIFY(f.playback.positionHeld());
        f.engine.log.clear();
        f.playback.releasePosition(250);
        QCOMPARE(f.engine.log.matching(QStringList{"player.Stop", "reader.Seek", "player.Play", "player.LoadArray"}),
                 QStringList({"player.Stop()", "reader.Seek(661500,3)", "player.Play()",
                              "player.LoadArray(8820)", "player.LoadArray(8820)"}));
        QVERIFY(!f.playback.positionHeld());
        f.player()->emitTimer(0);
        QCOMPARE(f.perMille, 250);
    }

    void holdingThePositionDuringAPauseEndsThePlayback()
    {
        SessionFixture f;
        f.playback.play(addSong(f), 0);
        f.playback.pause();
        f.playback.holdPosition();
        QCOMPARE(f.playback.state(), State::Stopped);
        f.playback.releasePosition(100);
        QCOMPARE(f.engine.log.count("player.Play()"), 1);   // letting go starts nothing
        f.playback.play(f.path("song.wav"), 100);             // Play starts anew at the point
        QVERIFY(f.engine.log.indexOf("reader.Seek(264600,3)") >= 0);
    }

    // The file's markers stand on the slider; Next and Previous Marker go on from them,
    // playing or paused.
    void markersJumpThePlayback()
    {
        SessionFixture f;
        const QString file = addSong(f);
        f.engine.files[file].markers = {{44100 * 10, "ten"}, {44100 * 30, "thirty"}};
        f.playback.play(file, 0);
        QCOMPARE(f.playback.shownMarkerPlaces(), QList<int>({167, 500}));
        f.player()->emitTimer(44100 * 5);
        QCOMPARE(f.playback.jumpToMarker(1), 167);
        f.player()->emitTimer(0);
        QCOMPARE(f.positionMs, qint64(10000));
        QCOMPARE(f.playback.jumpToMarker(1), 500);
        f.player()->emitTimer(0);
        QCOMPARE(f.positionMs, qint64(30000));
        QCOMPARE(f.playback.jumpToMarker(1), -1);    // none after the last
        QCOMPARE(f.playback.jumpToMarker(-1), 167);
        f.player()->emitTimer(0);
        f.playback.pause();
        QCOMPARE(f.playback.jumpToMarker(-1), -1);   // none a second before the first
        QCOMPARE(f.playback.jumpToMarker(1), 500);
        f.playback.play(QString(), 0);               // Play goes on from the marker
        f.player()->emitTimer(0);
        QCOMPARE(f.positionMs, qint64(30000));
        QCOMPARE(f.playback.state(), State::Playing);
    }

    void endOfFileStops()
    {
        SessionFixture f;
        f.playback.play(addSong(f), 0);
        f.player()->emitEndPlay();
        QCOMPARE(f.playback.state(), State::Stopped);
        f.engine.log.clear();
        f.player()->emitRequest();   // nothing is queued after the end
        QCOMPARE(f.engine.log.count("player.LoadArray"), 0);
    }

    void measuringWhilePlayingLeavesTheSoundAlone()
    {
        SessionFixture f;
        f.playback.play(addSong(f), 0);
        f.engine.addFile(f.path("next.mp3"), 22050 * 10, 22050, 2, "MPEG 2.0 layer-3: 64 kbps, 22050 Hz, Stereo");
        f.engine.log.clear();
        const PlaybackSession::FileFacts facts = f.playback.measure(f.path("next.mp3"));
        QCOMPARE(f.engine.log.matching("reader."), QStringList());
        QCOMPARE(facts.description, QString("MPEG 2.0 layer-3: 64 kbps, 22050 Hz, Stereo"));
        QCOMPARE(f.playback.state(), State::Playing);
    }

    void aRenamedFileIsFollowed()
    {
        SessionFixture f;
        f.playback.play(addSong(f), 0);
        f.playback.followRename(f.path("song.wav"), f.path("take2.wav"));
        QCOMPARE(f.playback.playingFile(), f.path("take2.wav"));
        f.playback.followRename(f.path("other.wav"), f.path("x.wav"));
        QCOMPARE(f.playback.playingFile(), f.path("take2.wav"));
    }

    void muteAndVolumeActOnTheDevice()
    {
        SessionFixture f;
        f.engine.outputs.devices[0].lines[0].mute = true;
        QVERIFY(f.playback.muted());
        f.playback.setMuted(false);
        QVERIFY(!f.engine.outputs.devices[0].lines[0].mute);
        QVERIFY(!f.engine.outputs.devices[0].lines[1].mute);
        f.playback.setVolume(33);
        QCOMPARE(f.player()->volume, 33);
        QCOMPARE(f.playback.volume(), 33);
    }

    void recordingWhilePlayingKeepsBoth()
    {
        SessionFixture f;
        f.playback.play(addSong(f), 0);
        f.engine.log.clear();
        f.recording.record();
        QVERIFY(f.playback.isActive() && f.recording.isActive());
        QCOMPARE(f.engine.log.matching("reader."), QStringList());   // the playing reader is left alone
    }
};

QTEST_GUILESS_MAIN(TestPlaybackSession)
#include "tst_playback_session.moc"
