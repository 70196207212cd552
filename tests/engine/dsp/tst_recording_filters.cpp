#include "dsp_test_util.h"
#include "engine/dsp/recording_filters.h"

#include <QtTest>

using engine::dsp::RecordingFilters;

class TestRecordingFilters : public QObject {
    Q_OBJECT
private slots:
    void defaultsAreOffAtDesignFrequencies()
    {
        RecordingFilters f;
        QCOMPARE(f.enabled(RecordingFilters::Notch), false);
        QCOMPARE(f.enabled(RecordingFilters::HighPass), false);
        QCOMPARE(f.enabled(RecordingFilters::LowPass), false);
        QCOMPARE(f.frequency(RecordingFilters::Notch), 50.0f);
        QCOMPARE(f.frequency(RecordingFilters::HighPass), 400.0f);
        QCOMPARE(f.frequency(RecordingFilters::LowPass), 4000.0f);
    }

    void offLeavesSamplesUntouched()
    {
        RecordingFilters f;
        f.setFormat(44100, 2);
        const std::vector<float> in = testaudio::tones({50, 440, 9000}, 0.5, 44100, 2);
        std::vector<float> out = in;
        f.process(out.data(), qint64(out.size() / 2));
        QVERIFY(out == in);
    }

    void attenuation_data()
    {
        QTest::addColumn<int>("filter");
        QTest::addColumn<float>("cutoff");
        QTest::addColumn<double>("toneHz");
        QTest::addColumn<int>("rate");
        QTest::addColumn<double>("minDrop");   // dB below the input; negative = may rise
        QTest::addColumn<double>("maxDrop");
        // Stop bands the program relies on.
        QTest::newRow("notch 50 Hz takes 50 Hz")
            << int(RecordingFilters::Notch) << 50.0f << 50.0 << 44100 << 30.0 << 400.0;
        QTest::newRow("high-pass 1 kHz takes 100 Hz")
            << int(RecordingFilters::HighPass) << 1000.0f << 100.0 << 44100 << 30.0 << 400.0;
        QTest::newRow("low-pass 1 kHz takes 8 kHz")
            << int(RecordingFilters::LowPass) << 1000.0f << 8000.0 << 44100 << 30.0 << 400.0;
        QTest::newRow("notch 60 Hz at 48 kHz takes 60 Hz")
            << int(RecordingFilters::Notch) << 60.0f << 60.0 << 48000 << 30.0 << 400.0;
        QTest::newRow("low-pass 1 kHz at 8 kHz takes 3 kHz")
            << int(RecordingFilters::LowPass) << 1000.0f << 3000.0 << 8000 << 30.0 << 400.0;
        // Pass bands stay within 1 dB.
        QTest::newRow("notch 50 Hz passes 1 kHz")
            << int(RecordingFilters::Notch) << 50.0f << 1000.0 << 44100 << -1.0 << 1.0;
        QTest::newRow("high-pass 1 kHz passes 8 kHz")
            << int(RecordingFilters::HighPass) << 1000.0f << 8000.0 << 44100 << -1.0 << 1.0;
        QTest::newRow("low-pass 1 kHz passes 100 Hz")
            << int(RecordingFilters::LowPass) << 1000.0f << 100.0 << 44100 << -1.0 << 1.0;
        // Corners: a 4th-order Butterworth is 3 dB down at its corner.
        QTest::newRow("high-pass corner")
            << int(RecordingFilters::HighPass) << 400.0f << 400.0 << 44100 << 2.5 << 3.5;
        QTest::newRow("low-pass corner")
            << int(RecordingFilters::LowPass) << 4000.0f << 4000.0 << 44100 << 2.5 << 3.5;
    }
    void attenuation()
    {
        QFETCH(int, filter);
        QFETCH(float, cutoff);
        QFETCH(double, toneHz);
        QFETCH(int, rate);
        QFETCH(double, minDrop);
        QFETCH(double, maxDrop);
        RecordingFilters f;
        f.setFormat(rate, 2);
        f.setFrequency(RecordingFilters::Filter(filter), cutoff);
        f.setEnabled(RecordingFilters::Filter(filter), true);
        const std::vector<float> in = testaudio::tone(toneHz, 3.0, rate, 2);
        std::vector<float> out = in;
        f.process(out.data(), qint64(out.size() / 2));
        for (int ch = 0; ch < 2; ++ch) {
            const double before =
                dsptest::tailLevelDb(testaudio::channel(in, 2, ch), rate, toneHz, 1.0);
            const double after =
                dsptest::tailLevelDb(testaudio::channel(out, 2, ch), rate, toneHz, 1.0);
            const double drop = before - after;
            QVERIFY2(drop >= minDrop && drop <= maxDrop,
                     qPrintable(QStringLiteral("channel %1 dropped %2 dB").arg(ch).arg(drop)));
        }
    }

    void frequencyAboveNyquistIsClampedAndStable_data()
    {
        QTest::addColumn<int>("filter");
        QTest::addColumn<int>("rate");
        QTest::newRow("low-pass 44100 Hz at 8 kHz") << int(RecordingFilters::LowPass) << 8000;
        QTest::newRow("high-pass 44100 Hz at 44.1 kHz") << int(RecordingFilters::HighPass) << 44100;
        QTest::newRow("notch 44100 Hz at 11025 Hz") << int(RecordingFilters::Notch) << 11025;
    }
    void frequencyAboveNyquistIsClampedAndStable()
    {
        QFETCH(int, filter);
        QFETCH(int, rate);
        RecordingFilters f;
        f.setFormat(rate, 1);
        f.setFrequency(RecordingFilters::Filter(filter), 44100.0f);
        f.setEnabled(RecordingFilters::Filter(filter), true);
        QCOMPARE(f.frequency(RecordingFilters::Filter(filter)), 44100.0f);   // kept as set
        std::vector<float> s = testaudio::tones({100, 1000}, 2.0, rate, 1);
        f.process(s.data(), qint64(s.size()));
        for (float v : s)
            QVERIFY(std::isfinite(v) && std::fabs(v) < 2.0f);
    }

    // A filter that is on before the sound starts (a recording's start, a resume, a new
    // part) takes the tone away from the first sample on, as far as a running one does.
    void onBeforeStartActsFromFirstSample_data()
    {
        QTest::addColumn<int>("filter");
        QTest::addColumn<float>("cutoff");
        QTest::addColumn<double>("toneHz");
        QTest::addColumn<bool>("restart");   // a second start after sound already ran
        QTest::newRow("low-pass 400 Hz on 5 kHz, first start")
            << int(RecordingFilters::LowPass) << 400.0f << 5000.0 << false;
        QTest::newRow("low-pass 400 Hz on 5 kHz, next start")
            << int(RecordingFilters::LowPass) << 400.0f << 5000.0 << true;
        QTest::newRow("high-pass 2 kHz on 200 Hz, next start")
            << int(RecordingFilters::HighPass) << 2000.0f << 200.0 << true;
    }
    void onBeforeStartActsFromFirstSample()
    {
        QFETCH(int, filter);
        QFETCH(float, cutoff);
        QFETCH(double, toneHz);
        QFETCH(bool, restart);
        const int rate = 44100;
        const auto which = RecordingFilters::Filter(filter);
        const std::vector<float> in = testaudio::tone(toneHz, 1.0, rate, 1, 0.9f);
        // One filter runs a second of tone first; the other starts cold.
        RecordingFilters warm, cold;
        for (RecordingFilters *f : {&warm, &cold}) {
            f->setFrequency(which, cutoff);
            f->setEnabled(which, true);
        }
        warm.setFormat(rate, 1);
        // Steady state: the level the running filter leaves in the last half second.
        std::vector<float> steady = in;
        warm.process(steady.data(), qint64(steady.size()));
        const double steadyDrop = dsptest::tailLevelDb(in, rate, toneHz, 0.5) -
                                  dsptest::tailLevelDb(steady, rate, toneHz, 0.5);
        RecordingFilters &f = restart ? warm : cold;
        f.setFormat(rate, 1);
        std::vector<float> out = in;
        // Blocks of 10 ms, as the server hands them over.
        for (qint64 pos = 0; pos < qint64(out.size()); pos += 441)
            f.process(out.data() + pos, std::min<qint64>(441, qint64(out.size()) - pos));
        const std::vector<float> headIn(in.begin(), in.begin() + rate / 50);
        const std::vector<float> headOut(out.begin(), out.begin() + rate / 50);
        const double headDrop = testaudio::toneLevelDb(headIn, rate, toneHz) -
                                testaudio::toneLevelDb(headOut, rate, toneHz);
        QVERIFY2(steadyDrop > 60, qPrintable(QString::number(steadyDrop)));
        QVERIFY2(headDrop > steadyDrop - 10,
                 qPrintable(QStringLiteral("first 20 ms dropped %1 dB, steady state %2 dB")
                                .arg(headDrop).arg(steadyDrop)));
    }

    // Switching and re-tuning while sound runs must glide: no sample jumps out of the
    // smooth course a filtered sine takes.
    void changesWhileRunningDoNotClick_data()
    {
        QTest::addColumn<int>("filter");
        QTest::addColumn<float>("from");
        QTest::addColumn<float>("to");
        QTest::newRow("low-pass 4 kHz -> 300 Hz") << int(RecordingFilters::LowPass) << 4000.0f << 300.0f;
        QTest::newRow("high-pass 100 Hz -> 2 kHz") << int(RecordingFilters::HighPass) << 100.0f << 2000.0f;
        QTest::newRow("notch 40 Hz -> 200 Hz") << int(RecordingFilters::Notch) << 40.0f << 200.0f;
    }
    void changesWhileRunningDoNotClick()
    {
        QFETCH(int, filter);
        QFETCH(float, from);
        QFETCH(float, to);
        const int rate = 44100;
        const auto which = RecordingFilters::Filter(filter);
        RecordingFilters f;
        f.setFormat(rate, 1);
        f.setFrequency(which, from);
        const std::vector<float> in = testaudio::tone(440, 2.0, rate, 1);
        const double smooth = dsptest::maxSecondDifference(in);
        std::vector<float> out = in;
        // In blocks of 441 frames (10 ms), as the server hands them over, changing the
        // filter between blocks: on, re-tune, off, on, re-tune back, off.
        const qint64 block = 441;
        int step = 0;
        for (qint64 pos = 0; pos < qint64(out.size()); pos += block, ++step) {
            switch (step) {
            case 20: f.setEnabled(which, true); break;
            case 50: f.setFrequency(which, to); break;
            case 80: f.setEnabled(which, false); break;
            case 90: f.setEnabled(which, true); break;
            case 120: f.setFrequency(which, from); break;
            case 160: f.setEnabled(which, false); break;
            default: break;
            }
            f.process(out.data() + pos, std::min(block, qint64(out.size()) - pos));
        }
        const double worst = dsptest::maxSecondDifference(out);
        QVERIFY2(worst < 2.5 * smooth,
                 qPrintable(QStringLiteral("second difference %1, tone alone %2").arg(worst).arg(smooth)));
    }
};

QTEST_APPLESS_MAIN(TestRecordingFilters)
#include "tst_recording_filters.moc"
