#include "dsp_test_util.h"
#include "engine/dsp/equalizer.h"

#include <QtTest>

using engine::dsp::Equalizer;

namespace {
std::array<float, 12> flat()
{
    std::array<float, 12> b{};
    b.fill(0.0f);
    return b;
}

// Level change (dB) of a tone through an equalizer set up by `setup`.
template <typename Setup>
double gainAt(double hz, int rate, Setup setup)
{
    Equalizer eq;
    eq.setFormat(rate, 2);
    setup(eq);
    const std::vector<float> in = testaudio::tone(hz, 2.0, rate, 2, 0.1f);
    std::vector<float> out = in;
    eq.process(out.data(), qint64(out.size() / 2));
    return dsptest::tailLevelDb(testaudio::channel(out, 2, 0), rate, hz, 1.0) -
           dsptest::tailLevelDb(testaudio::channel(in, 2, 0), rate, hz, 1.0);
}
}  // namespace

class TestEqualizer : public QObject {
    Q_OBJECT
private slots:
    void twelveRisingCentresFrom30HzTo16kHzWith1kHz()
    {
        QCOMPARE(Equalizer::kBands, 12);
        QVERIFY(Equalizer::centreFrequency(0) >= 30 && Equalizer::centreFrequency(0) < 40);
        QCOMPARE(Equalizer::centreFrequency(6), 1000.0);
        QCOMPARE(Equalizer::centreFrequency(11), 16000.0);
        for (int b = 1; b < 12; ++b)
            QVERIFY(Equalizer::centreFrequency(b) > Equalizer::centreFrequency(b - 1));
    }

    void bandGain_data()
    {
        QTest::addColumn<int>("band");
        QTest::addColumn<float>("gain");
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<double>("toneHz");
        QTest::addColumn<double>("expected");
        QTest::newRow("+12 dB on the 1 kHz band") << 6 << 12.0f << true << 1000.0 << 12.0;
        QTest::newRow("-12 dB on the 1 kHz band") << 6 << -12.0f << true << 1000.0 << -12.0;
        QTest::newRow("+12 dB, switched off") << 6 << 12.0f << false << 1000.0 << 0.0;
        QTest::newRow("+15 dB on 62.5 Hz") << 1 << 15.0f << true << 62.5 << 15.0;
        QTest::newRow("+30 dB is clamped to +15") << 1 << 30.0f << true << 62.5 << 15.0;
        QTest::newRow("+12 dB on 1 kHz leaves 16 kHz") << 6 << 12.0f << true << 16000.0 << 0.0;
    }
    void bandGain()
    {
        QFETCH(int, band);
        QFETCH(float, gain);
        QFETCH(bool, enabled);
        QFETCH(double, toneHz);
        QFETCH(double, expected);
        const double g = gainAt(toneHz, 44100, [&](Equalizer &eq) {
            auto b = flat();
            b[size_t(band)] = gain;
            eq.setBands(b);
            eq.setEnabled(enabled);
        });
        QVERIFY2(std::fabs(g - expected) <= 1.0,
                 qPrintable(QStringLiteral("measured %1 dB, expected %2 dB").arg(g).arg(expected)));
    }

    void flatOrOffIsBitExact_data()
    {
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<float>("gain");
        QTest::newRow("on, all bands 0 dB") << true << 0.0f;
        QTest::newRow("off, bands set") << false << 9.0f;
    }
    void flatOrOffIsBitExact()
    {
        QFETCH(bool, enabled);
        QFETCH(float, gain);
        Equalizer eq;
        eq.setFormat(44100, 2);
        auto b = flat();
        b.fill(gain);
        eq.setBands(b);
        eq.setEnabled(enabled);
        const std::vector<float> in = testaudio::tones({60, 1000, 12000}, 0.5, 44100, 2);
        std::vector<float> out = in;
        eq.process(out.data(), qint64(out.size() / 2));
        QVERIFY(out == in);
    }

    void bandsAreClampedAsStored()
    {
        Equalizer eq;
        auto b = flat();
        b[0] = -40.0f;
        b[11] = 40.0f;
        b[5] = 3.5f;
        eq.setBands(b);
        QCOMPARE(eq.bands()[0], -15.0f);
        QCOMPARE(eq.bands()[11], 15.0f);
        QCOMPARE(eq.bands()[5], 3.5f);
    }

    void bandsAboveTheRateStayOut()
    {
        // At 8 kHz the top three bands cannot exist; boosting them changes nothing and
        // keeps the output finite.
        const double g = gainAt(3000, 8000, [](Equalizer &eq) {
            auto b = flat();
            b[9] = b[10] = b[11] = 15.0f;
            eq.setBands(b);
            eq.setEnabled(true);
        });
        QVERIFY2(std::fabs(g) < 1.0, qPrintable(QString::number(g)));
    }

    // Bands set before Play (or before the Play that a seek or resume makes) act in full
    // from the first block; only changes made while playing glide.
    void bandsSetBeforePlayActFromFirstBlock_data()
    {
        QTest::addColumn<float>("gain");
        QTest::addColumn<bool>("replay");   // a second Play after sound already ran
        QTest::newRow("-15 dB, first Play") << -15.0f << false;
        QTest::newRow("-15 dB, next Play") << -15.0f << true;
        QTest::newRow("+12 dB, next Play") << 12.0f << true;
    }
    void bandsSetBeforePlayActFromFirstBlock()
    {
        QFETCH(float, gain);
        QFETCH(bool, replay);
        const int rate = 44100;
        const std::vector<float> in = testaudio::tone(1000, 0.5, rate, 1, 0.1f);
        auto b = flat();
        b[6] = gain;
        Equalizer eq;
        eq.setBands(b);
        eq.setEnabled(true);
        eq.setFormat(rate, 1);
        if (replay) {
            std::vector<float> before = in;
            eq.process(before.data(), qint64(before.size()));
            eq.setFormat(rate, 1);
        }
        // The first 20 ms, in the blocks a playback stream asks for.
        std::vector<float> head(in.begin(), in.begin() + rate / 50);
        const std::vector<float> headIn = head;
        for (qint64 pos = 0; pos < qint64(head.size()); pos += 256)
            eq.process(head.data() + pos, std::min<qint64>(256, qint64(head.size()) - pos));
        const double g = testaudio::toneLevelDb(head, rate, 1000) -
                         testaudio::toneLevelDb(headIn, rate, 1000);
        QVERIFY2(std::fabs(g - gain) <= 1.5,
                 qPrintable(QStringLiteral("first 20 ms changed by %1 dB, bands say %2 dB")
                                .arg(g).arg(gain)));
    }

    void changesWhilePlayingDoNotClick()
    {
        Equalizer eq;
        eq.setFormat(44100, 1);
        const std::vector<float> in = testaudio::tone(1000, 2.0, 44100, 1, 0.05f);
        std::vector<float> out = in;
        const double smooth = dsptest::maxSecondDifference(in);
        const qint64 block = 441;
        int step = 0;
        for (qint64 pos = 0; pos < qint64(out.size()); pos += block, ++step) {
            auto b = flat();
            if (step == 20) {
                b[6] = 15.0f;
                eq.setBands(b);
                eq.setEnabled(true);
            } else if (step == 60) {
                b[6] = -15.0f;
                eq.setBands(b);
            } else if (step == 100) {
                eq.setEnabled(false);
            } else if (step == 140) {
                eq.setEnabled(true);
            }
            eq.process(out.data() + pos, std::min(block, qint64(out.size()) - pos));
        }
        // A 15 dB boost makes the sine itself 5.6 times steeper; a click would be far more.
        const double worst = dsptest::maxSecondDifference(out);
        QVERIFY2(worst < 5.62 * 1.5 * smooth,
                 qPrintable(QStringLiteral("second difference %1, tone alone %2").arg(worst).arg(smooth)));
    }
};

QTEST_APPLESS_MAIN(TestEqualizer)
#include "tst_equalizer.moc"
