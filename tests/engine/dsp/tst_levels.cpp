#include "engine/dsp/levels.h"

#include <QtTest>

using engine::dsp::SampleRing;

class TestLevels : public QObject {
    Q_OBJECT
private slots:
    void meterScale_data()
    {
        QTest::addColumn<float>("peak");
        QTest::addColumn<int>("level");
        QTest::newRow("full scale") << 1.0f << 100;
        QTest::newRow("over full scale") << 2.0f << 100;
        QTest::newRow("-6 dBFS") << 0.5f << 90;
        QTest::newRow("-30 dBFS") << 0.0316228f << 50;
        QTest::newRow("-60 dBFS") << 0.001f << 0;
        QTest::newRow("-80 dBFS") << 0.0001f << 0;
        QTest::newRow("silence") << 0.0f << 0;
    }
    void meterScale()
    {
        QFETCH(float, peak);
        QFETCH(int, level);
        QCOMPARE(engine::dsp::levelFromPeak(peak), level);
    }

    void peaksPerSide_data()
    {
        QTest::addColumn<int>("channels");
        QTest::addColumn<QList<float>>("samples");
        QTest::addColumn<float>("left");
        QTest::addColumn<float>("right");
        QTest::newRow("stereo") << 2 << QList<float>{0.1f, -0.7f, -0.3f, 0.2f} << 0.3f << 0.7f;
        QTest::newRow("mono feeds both") << 1 << QList<float>{0.1f, -0.4f} << 0.4f << 0.4f;
    }
    void peaksPerSide()
    {
        QFETCH(int, channels);
        QFETCH(QList<float>, samples);
        QFETCH(float, left);
        QFETCH(float, right);
        float l = 0, r = 0;
        engine::dsp::accumulatePeaks(samples.constData(), samples.size() / channels, channels, l, r);
        QCOMPARE(l, left);
        QCOMPARE(r, right);
    }

    void ringKeepsNewestFramesByPosition()
    {
        SampleRing ring;
        ring.reset(2, 4);
        const float a[] = {1, -1, 2, -2, 3, -3};
        ring.append(a, 3);
        QCOMPARE(ring.end(), qint64(3));
        // Fewer frames than asked: zeros in front.
        QCOMPARE(ring.frames(3, 4), (std::vector<float>{0, 0, 1, -1, 2, -2, 3, -3}));
        const float b[] = {4, -4, 5, -5, 6, -6};
        ring.append(b, 3);   // wraps: 1 and 2 are gone
        QCOMPARE(ring.end(), qint64(6));
        QCOMPARE(ring.frames(6, 4), (std::vector<float>{3, -3, 4, -4, 5, -5, 6, -6}));
        // Ending earlier, as the player asks for what is being heard.
        QCOMPARE(ring.frames(5, 2), (std::vector<float>{4, -4, 5, -5}));
        // Asking for frames no longer held gives zeros.
        QCOMPARE(ring.frames(3, 2), (std::vector<float>{0, 0, 3, -3}));
        float l = 0, r = 0;
        ring.peaks(3, 5, l, r);
        QCOMPARE(l, 5.0f);
        QCOMPARE(r, 5.0f);
    }

    void ringTakesMoreThanItHolds()
    {
        SampleRing ring;
        ring.reset(1, 3);
        const float a[] = {1, 2, 3, 4, 5};
        ring.append(a, 5);
        QCOMPARE(ring.end(), qint64(5));
        QCOMPARE(ring.frames(5, 3), (std::vector<float>{3, 4, 5}));
    }
};

QTEST_APPLESS_MAIN(TestLevels)
#include "tst_levels.moc"
