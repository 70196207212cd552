// The equalizer and the recording filters at work on sound that really goes through the
// private server: played into the null sink, recorded from its monitor.
#include "engine/pulse/pulse_player.h"
#include "engine/pulse/pulse_recorder.h"
#include "pulse_test_util.h"

#include <QSignalSpy>
#include <QtTest>

using engine::PulsePlayer;
using engine::PulseRecorder;
using pulsetest::Capture;
using pulsetest::Feeder;

namespace {
constexpr int kRate = 44100;
constexpr qint64 kBlock = 8820;

// The left channel of consecutive blocks first..last (inclusive) of a list.
std::vector<float> leftOf(const std::vector<engine::SampleArray> &blocks, size_t first, size_t last)
{
    std::vector<float> out;
    for (size_t i = first; i <= last && i < blocks.size(); ++i) {
        const std::vector<float> l = testaudio::channel(blocks[i].toFloat(), 2, 0);
        out.insert(out.end(), l.begin(), l.end());
    }
    return out;
}
}  // namespace

class TestPulseShaping : public QObject {
    Q_OBJECT
private slots:
    void equalizerRaisesItsBandWhileSwitchedOn()
    {
        PulseRecorder rec;
        rec.SetFormat(2, kRate);
        rec.SetArraySize(kBlock);
        Capture cap(&rec);
        QSignalSpy first(&rec, &PulseRecorder::OnEndArrayRecord);
        rec.Start();
        QVERIFY(first.wait(8000));

        PulsePlayer player;
        player.SetFormat(2, kRate);
        engine::BandArray bands{};
        bands[6] = 12.0f;   // the 1 kHz band
        player.SetEqualizerBands(bands);
        player.SetEqualizerEnabled(false);
        Feeder feed(&player, testaudio::tone(1000, 2.6, kRate, 2, 0.1f), kRate, 2);
        QSignalSpy ended(&player, &PulsePlayer::OnEndPlay);
        player.Play();
        QCOMPARE(player.GetErrorCode(), 0);
        feed.start();
        QTRY_VERIFY_WITH_TIMEOUT(player.GetCurrentSamples() >= qint64(1.3 * kRate), 5000);
        player.SetEqualizerEnabled(true);   // takes effect at once, while playing
        QVERIFY(ended.wait(5000));
        QTest::qWait(300);
        rec.Stop();

        // Blocks the tone fills: the switched-off part at the played level (-20 dBFS), the
        // switched-on part 12 dB louder.
        std::vector<double> levels;
        for (const auto &b : cap.blocks) {
            const std::vector<float> l = testaudio::channel(b.toFloat(), 2, 0);
            if (b.frames() == kBlock && testaudio::rmsDb(l) > -30)
                levels.push_back(testaudio::toneLevelDb(l, kRate, 1000));
        }
        QVERIFY2(levels.size() >= 11, qPrintable(QString::number(levels.size())));
        const double off = levels[1], on = levels[levels.size() - 2];
        qInfo("1 kHz tone: %.2f dBFS switched off, %.2f dBFS with +12 dB switched on", off, on);
        QVERIFY2(std::abs(off - (-20.0)) <= 1.0, qPrintable(QString::number(off)));
        QVERIFY2(std::abs(on - off - 12.0) <= 1.0, qPrintable(QStringLiteral("%1 -> %2").arg(off).arg(on)));
    }

    void recordingFiltersTakeTheirTonesOut()
    {
        // 50 Hz, 100 Hz and 8 kHz at -20 dBFS each. The filters are switched while the
        // recording runs: none, notch at 50 Hz, high-pass at 1 kHz, low-pass at 1 kHz.
        PulseRecorder rec;
        rec.SetFormat(2, kRate);
        rec.SetArraySize(kBlock);
        QCOMPARE(rec.GetNotchFrequency(), 50.0f);
        rec.SetHighPassFrequency(1000);
        rec.SetLowPassFrequency(1000);
        Capture cap(&rec);
        std::vector<int> phaseOf;      // phase in force when each block was delivered
        int phase = -1, loudSince = 0;
        cap.onBlock = [&](int n) {
            const std::vector<float> l = testaudio::channel(cap.blocks.back().toFloat(), 2, 0);
            if (phase < 0 && testaudio::rmsDb(l) > -25) {
                phase = 0;
                loudSince = n;
            }
            phaseOf.push_back(phase);
            if (phase < 0)
                return;
            const int next = (n - loudSince) / 5;   // five blocks (1 s) per phase
            if (next == phase || next > 3)
                return;
            phase = next;
            rec.SetNotchEnabled(phase == 1);
            rec.SetHighPassEnabled(phase == 2);
            rec.SetLowPassEnabled(phase == 3);
        };
        QSignalSpy first(&rec, &PulseRecorder::OnEndArrayRecord);
        rec.Start();
        QVERIFY(first.wait(8000));

        PulsePlayer player;
        player.SetFormat(2, kRate);
        Feeder feed(&player, testaudio::tones({50, 100, 8000}, 5.0, kRate, 2, 0.1f), kRate, 2);
        player.Play();
        feed.start();
        QTRY_VERIFY_WITH_TIMEOUT(phase == 3 && cap.blocks.size() >= size_t(loudSince + 20), 10000);
        rec.Stop();
        player.Stop();

        // Per phase: its blocks but the first (which still holds sound from before the switch).
        auto levelsOf = [&](int p) {
            size_t a = 0;
            while (a < phaseOf.size() && phaseOf[a] != p)
                ++a;
            const std::vector<float> l = leftOf(cap.blocks, a + 1, a + 4);
            return std::array<double, 3>{testaudio::toneLevelDb(l, kRate, 50),
                                         testaudio::toneLevelDb(l, kRate, 100),
                                         testaudio::toneLevelDb(l, kRate, 8000)};
        };
        const auto none = levelsOf(0), notch = levelsOf(1), high = levelsOf(2), low = levelsOf(3);
        qInfo("50 Hz: %.1f -> %.1f dB (notch); 100 Hz: %.1f -> %.1f dB (high-pass); "
              "8 kHz: %.1f -> %.1f dB (low-pass)",
              none[0], notch[0], none[1], high[1], none[2], low[2]);
        for (double l : none)
            QVERIFY2(std::abs(l - (-20.0)) <= 1.0, qPrintable(QString::number(l)));
        QVERIFY2(none[0] - notch[0] >= 30, qPrintable(QString::number(notch[0])));
        QVERIFY2(std::abs(none[2] - notch[2]) <= 1, qPrintable(QString::number(notch[2])));
        QVERIFY2(none[1] - high[1] >= 30, qPrintable(QString::number(high[1])));
        QVERIFY2(std::abs(none[2] - high[2]) <= 1, qPrintable(QString::number(high[2])));
        QVERIFY2(none[2] - low[2] >= 30, qPrintable(QString::number(low[2])));
        QVERIFY2(std::abs(none[1] - low[1]) <= 1, qPrintable(QString::number(low[1])));
    }
};

QTEST_GUILESS_MAIN(TestPulseShaping)
#include "tst_pulse_shaping.moc"
