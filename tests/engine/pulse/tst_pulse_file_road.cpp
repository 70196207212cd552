// The program's road through the recorder, the player and the file component together:
// recordings written into WAV files as the blocks come, and those files played again.
// Built once the file component is part of the engine.
#include "engine/file/ffmpeg_audio_file.h"
#include "engine/pulse/pulse_player.h"
#include "engine/pulse/pulse_recorder.h"
#include "pulse_test_util.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

using engine::PulsePlayer;
using engine::PulseRecorder;
using pulsetest::Feeder;
using pulsetest::pactl;
using pulsetest::deviceNamed;
using pulsetest::loadNullSink;

namespace {
constexpr int kRate = 44100;
}  // namespace

class TestPulseFileRoad : public QObject {
    Q_OBJECT
private slots:
    void recordsIntoAWavThatPlaysBack()
    {
        // The program's own road: blocks written to a WAV as they come, the WAV read back
        // in 200 ms blocks and played again.
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Untitled1.wav"));
        engine::FfmpegAudioFile out;
        out.SetActive(true);
        out.SetWavFormat(kRate, 2, 16);
        out.Create(path, 0);
        PulseRecorder rec;
        rec.SetFormat(out.GetFormatValueB(), out.GetFormatValueA());
        rec.SetArraySize(rec.CalcArraySize(200));
        qint64 written = 0;
        connect(&rec, &PulseRecorder::OnEndArrayRecord, this, [&](QObject *, int) {
            const engine::SampleArray a = rec.GetArray();
            out.WriteArray(a);
            written += a.frames();
        });
        QSignalSpy first(&rec, &PulseRecorder::OnEndArrayRecord);
        rec.Start();
        QCOMPARE(rec.GetErrorCode(), 0);
        QVERIFY(first.wait(8000));

        PulsePlayer player;
        player.SetFormat(2, kRate);
        Feeder feed(&player, testaudio::tone(1000, 1.0, kRate, 2, 0.5f), kRate, 2);
        QSignalSpy ended(&player, &PulsePlayer::OnEndPlay);
        player.Play();
        feed.start();
        QVERIFY(ended.wait(5000));
        QTest::qWait(200);
        rec.Stop();
        QCOMPARE(out.GetNumSamples(), written);
        out.Close();

        engine::FfmpegAudioFile in;
        in.SetActive(true);
        in.Open(path, 0, 1);
        QCOMPARE(in.GetErrorCode(), 0);
        QCOMPARE(in.GetNumSamples(), written);
        QCOMPARE(in.GetFormatValueA(), kRate);
        QCOMPARE(in.GetFormatValueB(), 2);
        std::vector<float> all = in.ReadArray(written).toFloat();
        const std::vector<float> left = testaudio::channel(all, 2, 0);
        std::vector<float> loud;
        for (size_t i = 0; i + 4410 <= left.size(); i += 4410) {
            const std::vector<float> piece(left.begin() + std::ptrdiff_t(i), left.begin() + std::ptrdiff_t(i + 4410));
            if (testaudio::rmsDb(piece) > -10)
                loud.insert(loud.end(), piece.begin(), piece.end());
        }
        QVERIFY(loud.size() >= size_t(kRate / 2));
        QVERIFY(std::abs(testaudio::dominantFrequency(loud, kRate) - 1000) <= 20);

        // And it plays, block by block from the file, to its end.
        in.Seek(0, 3);
        PulsePlayer again;
        again.SetFormat(in.GetFormatValueB(), in.GetFormatValueA());
        const qint64 block = again.CalcArraySize(200);
        bool playing = true;
        auto feedFromFile = [&] {
            if (playing)
                again.LoadArray(in.ReadArray(block));
        };
        connect(&again, &PulsePlayer::OnEndArrayPlay, this, feedFromFile);
        connect(&again, &PulsePlayer::OnRequestOnLoadArray, this, feedFromFile);
        QSignalSpy againEnded(&again, &PulsePlayer::OnEndPlay);
        again.Play();
        QCOMPARE(again.GetErrorCode(), 0);
        feedFromFile();
        feedFromFile();
        QVERIFY(againEnded.wait(int(written * 1000 / kRate) + 3000));
        playing = false;
        QCOMPARE(again.GetCurrentSamples(), written);
        in.Close();
    }

    void wavWrittenBeforeADeviceLossPlays()
    {
        const QString module = loadNullSink(QStringLiteral("tavrin_loss"), QStringLiteral("Loss"));
        QVERIFY(!module.isEmpty());
        PulseRecorder rec;
        const int device = deviceNamed(rec, QStringLiteral("Monitor of Loss"));
        QVERIFY(device >= 0);
        rec.SetDevice(short(device));
        rec.SetFormat(1, 16000);
        rec.SetArraySize(rec.CalcArraySize(200));
        pulsetest::Capture cap(&rec);
        // The blocks go into a WAV as the program writes them.
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Untitled1.wav"));
        engine::FfmpegAudioFile out;
        out.SetActive(true);
        out.SetWavFormat(16000, 1, 16);
        out.Create(path, 0);
        connect(&rec, &PulseRecorder::OnEndArrayRecord, this,
                [&](QObject *, int) { out.WriteArray(rec.GetArray()); });
        QSignalSpy lost(&rec, &PulseRecorder::OnDeviceError);
        rec.Start();
        QCOMPARE(rec.GetErrorCode(), 0);
        QTRY_VERIFY_WITH_TIMEOUT(cap.blocks.size() >= 8, 10000);

        QCOMPARE(pactl({QStringLiteral("unload-module"), module}), 0);
        QVERIFY(lost.count() == 1 || lost.wait(5000));
        QVERIFY(rec.GetErrorCode() != 0);
        QCOMPARE(cap.events.last(), QStringLiteral("error"));

        // What was written is a playable file even before anyone closes it (its header is
        // kept current), and complete once closed.
        engine::FfmpegAudioFile check;
        check.SetActive(true);
        check.Open(path, 0, 1);
        QCOMPARE(check.GetErrorCode(), 0);
        QVERIFY(check.GetNumSamples() >= cap.frames() - 16000);
        check.Close();
        out.Close();
        check.Open(path, 0, 1);
        QCOMPARE(check.GetErrorCode(), 0);
        QCOMPARE(check.GetNumSamples(), cap.frames());
        PulsePlayer player;
        player.SetFormat(check.GetFormatValueB(), check.GetFormatValueA());
        const qint64 block = player.CalcArraySize(200);
        auto feed = [&] { player.LoadArray(check.ReadArray(block)); };
        connect(&player, &PulsePlayer::OnEndArrayPlay, this, feed);
        connect(&player, &PulsePlayer::OnRequestOnLoadArray, this, feed);
        QSignalSpy played(&player, &PulsePlayer::OnEndPlay);
        player.Play();
        QCOMPARE(player.GetErrorCode(), 0);
        feed();
        feed();
        QVERIFY(played.wait(int(cap.frames() / 16) + 3000));
        QCOMPARE(player.GetCurrentSamples(), cap.frames());
        check.Close();

    }
};

QTEST_GUILESS_MAIN(TestPulseFileRoad)
#include "tst_pulse_file_road.moc"
