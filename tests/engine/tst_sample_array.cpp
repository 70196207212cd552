#include "engine/engine.h"

#include <QtTest>

using engine::SampleArray;
using engine::SampleFormat;

class TestSampleArray : public QObject {
    Q_OBJECT
private slots:
    void emptyByDefault()
    {
        SampleArray a;
        QVERIFY(a.isEmpty());
        QCOMPARE(a.frames(), 0);
        QVERIFY(a.toFloat().empty());
    }

    void framesCountPerChannel_data()
    {
        QTest::addColumn<int>("channels");
        QTest::addColumn<int>("samples");
        QTest::addColumn<qint64>("frames");
        QTest::newRow("mono") << 1 << 441 << qint64(441);
        QTest::newRow("stereo") << 2 << 882 << qint64(441);
        QTest::newRow("stereo, odd tail dropped") << 2 << 883 << qint64(441);
    }
    void framesCountPerChannel()
    {
        QFETCH(int, channels);
        QFETCH(int, samples);
        QFETCH(qint64, frames);
        std::vector<float> v(size_t(samples), 0.25f);
        SampleArray a = SampleArray::fromFloat(v.data(), qint64(samples) / channels, 44100, channels);
        QCOMPARE(a.frames(), frames);
        QCOMPARE(a.channels(), channels);
        QCOMPARE(a.sampleRate(), 44100);
    }

    void int16ConvertsToFullScaleFloat()
    {
        const qint16 s[] = {0, 16384, -32768, 32767};
        SampleArray a = SampleArray::fromInt16(s, 2, 8000, 2);
        QCOMPARE(a.sampleFormat(), SampleFormat::Int16);
        const std::vector<float> f = a.toFloat();
        QCOMPARE(f.size(), size_t(4));
        QCOMPARE(f[0], 0.0f);
        QCOMPARE(f[1], 0.5f);
        QCOMPARE(f[2], -1.0f);
        QVERIFY(std::abs(f[3] - 32767.0f / 32768.0f) < 1e-7f);
        QCOMPARE(a.toFloatArray().frames(), qint64(2));
    }

    void copiesShareAndOutliveTheSource()
    {
        SampleArray copy;
        {
            std::vector<float> v{0.1f, 0.2f};
            SampleArray a = SampleArray::fromFloat(v, 44100, 1);
            copy = a;
        }
        QCOMPARE(copy.frames(), qint64(2));
        QCOMPARE(copy.floatData()[1], 0.2f);
        QVERIFY(copy.int16Data() == nullptr);
    }
};

QTEST_GUILESS_MAIN(TestSampleArray)
#include "tst_sample_array.moc"
