// Seek is sample-accurate for every readable type: after Seek(p) the frames read are
// exactly those a read from the start delivers from frame p on. The files carry noise,
// which never repeats, so a seek that lands a period or a packet off cannot pass.
#include "engine/file/ffmpeg_audio_file.h"
#include "common/test_audio.h"
#include "file_fixtures.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace engine;

class TestFileSeek : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    // Makes the file, reads it whole, then compares reads after seeks.
    void checkSeeks(const QString &file)
    {
        FfmpegAudioFile reference;
        reference.Open(file, 0, 1);
        QCOMPARE(reference.GetErrorCode(), 0);
        const int channels = reference.GetFormatValueB();
        const int rate = reference.GetFormatValueA();
        const std::vector<float> all = fixtures::readAll(reference, 8192);
        const qint64 total = qint64(all.size()) / channels;
        QCOMPARE(reference.GetNumSamples(), total);
        QVERIFY(total > rate);

        // Forward and backward, near and far, on codec frame edges and between them.
        std::vector<qint64> targets{total / 2 + 7, 1, total / 3, 0, total - 1000, 12345, 1152 * 3,
                                    1152 * 3 - 1, total / 2 + 9000, total / 2 + 8, 4096, 2048 * 7 + 1,
                                    total - 1, rate * 2 + 77};
        quint32 state = 2024;
        for (int i = 0; i < 24; ++i) {
            state = state * 1664525u + 1013904223u;
            targets.push_back(qint64(state % quint32(total)));
        }
        FfmpegAudioFile reader;
        reader.Open(file, 0, 1);
        QCOMPARE(reader.GetErrorCode(), 0);
        for (const qint64 target : targets) {
            if (target < 0 || target >= total)
                continue;
            QCOMPARE(reader.Seek(target, 3), target);
            const SampleArray block = reader.ReadArray(4410);
            const qint64 expectFrames = std::min<qint64>(4410, total - target);
            QCOMPARE(block.frames(), expectFrames);
            const std::vector<float> got = block.toFloat();
            const double diff = fixtures::maxDifference(got.data(), all.data() + target * channels, got.size());
            QVERIFY2(diff < 1e-4, qPrintable(QStringLiteral("seek to %1: differs by %2").arg(target).arg(diff)));
        }
        // Reading on after a seek continues seamlessly to the end.
        QCOMPARE(reader.Seek(total - 30000 > 0 ? total - 30000 : 0, 3), total - 30000 > 0 ? total - 30000 : 0);
        const std::vector<float> tail = fixtures::readAll(reader, 7000);
        const qint64 start = std::max<qint64>(total - 30000, 0);
        QCOMPARE(qint64(tail.size()), (total - start) * channels);
        QVERIFY(fixtures::maxDifference(tail.data(), all.data() + start * channels, tail.size()) < 1e-4);
        // Beyond the end: clamped to the length; nothing left to read.
        QCOMPARE(reader.Seek(total + 100000, 3), total);
        QVERIFY(reader.ReadArray(100).isEmpty());
        QCOMPARE(reader.Seek(-5, 3), 0);
        const std::vector<float> head = reader.ReadArray(1000).toFloat();
        QVERIFY(fixtures::maxDifference(head.data(), all.data(), head.size()) < 1e-4);
    }

private slots:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    void sampleAccurate_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("codec");
        QTest::addColumn<int>("rate");
        QTest::addColumn<int>("channels");
        QTest::newRow("WAV 16-bit") << "s16.wav" << QStringList{"-c:a", "pcm_s16le"} << 44100 << 2;
        QTest::newRow("WAV 8-bit") << "u8.wav" << QStringList{"-c:a", "pcm_u8"} << 8000 << 1;
        QTest::newRow("WAV float") << "f32.wav" << QStringList{"-c:a", "pcm_f32le"} << 48000 << 2;
        QTest::newRow("WAV Microsoft ADPCM") << "ms.wav" << QStringList{"-c:a", "adpcm_ms"} << 44100 << 2;
        QTest::newRow("WAV IMA ADPCM") << "ima.wav" << QStringList{"-c:a", "adpcm_ima_wav"} << 22050 << 1;
        QTest::newRow("MP3 CBR") << "cbr.mp3" << QStringList{"-c:a", "libmp3lame", "-b:a", "128k"} << 44100 << 2;
        QTest::newRow("MP3 VBR") << "vbr.mp3" << QStringList{"-c:a", "libmp3lame", "-q:a", "4"} << 44100 << 2;
        QTest::newRow("MP3 low rate (deep bit reservoir)")
            << "low.mp3" << QStringList{"-c:a", "libmp3lame", "-b:a", "8k"} << 8000 << 1;
        QTest::newRow("MP3 without Xing header")
            << "noxing.mp3" << QStringList{"-c:a", "libmp3lame", "-b:a", "96k", "-write_xing", "0"} << 44100 << 2;
        QTest::newRow("MP3 MPEG-2") << "mpeg2.mp3" << QStringList{"-c:a", "libmp3lame", "-b:a", "48k"} << 22050 << 2;
        QTest::newRow("MP2") << "layer2.mp2" << QStringList{"-c:a", "mp2", "-b:a", "160k"} << 44100 << 2;
        QTest::newRow("Ogg Vorbis") << "v.ogg" << QStringList{"-c:a", "libvorbis", "-q:a", "3"} << 44100 << 2;
        QTest::newRow("FLAC") << "s16.flac" << QStringList{"-c:a", "flac"} << 44100 << 2;
        QTest::newRow("FLAC 24-bit") << "s24.flac" << QStringList{"-c:a", "flac", "-sample_fmt", "s32"} << 96000 << 1;
        QTest::newRow("Opus") << "o.opus" << QStringList{"-c:a", "libopus", "-b:a", "96k"} << 48000 << 2;
        QTest::newRow("WMA V2") << "v2.wma" << QStringList{"-c:a", "wmav2", "-b:a", "128k"} << 44100 << 2;
        QTest::newRow("WMA V1") << "v1.wma" << QStringList{"-c:a", "wmav1", "-b:a", "48k"} << 22050 << 1;
        QTest::newRow("G.721") << "speech.g721"
                               << QStringList{"-c:a", "g726le", "-b:a", "32k", "-ar", "8000", "-f", "g726le"} << 8000 << 1;
        QTest::newRow("AVI PCM") << "pcm.avi" << QStringList{"-c:a", "pcm_s16le"} << 44100 << 2;
        QTest::newRow("AVI MP3") << "mp3.avi" << QStringList{"-c:a", "libmp3lame", "-b:a", "128k"} << 44100 << 2;
        QTest::newRow("AVI IMA ADPCM") << "ima.avi" << QStringList{"-c:a", "adpcm_ima_wav"} << 44100 << 2;
    }
    void sampleAccurate()
    {
        QFETCH(QString, name);
        QFETCH(QStringList, codec);
        QFETCH(int, rate);
        QFETCH(int, channels);
        const QString file = m_dir.filePath(name);
        QString error;
        QVERIFY2(fixtures::makeWithFfmpeg(file, fixtures::Signal::Noise, rate, channels, 12.0, codec, &error),
                 qPrintable(error));
        checkSeeks(file);
    }

    // Musepack's demuxer misplaces its packets after a seek; the engine finds them by
    // their byte position instead.
    void sampleAccurateMusepack()
    {
        const QString file = m_dir.filePath("noise.mpc");
        QString error;
        QVERIFY2(fixtures::makeMusepack(file, fixtures::Signal::Noise, 12.0, &error), qPrintable(error));
        checkSeeks(file);
    }

    void sampleAccurateLayer1()
    {
        const QString file = m_dir.filePath("layer1.mp1");
        fixtures::writeLayer1Tone(file, 6.0);
        checkSeeks(file);
    }

    // The file the engine wrote itself, as the player reads a fresh recording.
    void sampleAccurateOwnRecordings_data() { testaudio::addFormatRows("suffix"); }
    void sampleAccurateOwnRecordings()
    {
        QFETCH(QString, suffix);
        const QString source = m_dir.filePath("own-source.wav");
        QString error;
        QVERIFY2(fixtures::makeWithFfmpeg(source, fixtures::Signal::Noise, 44100, 2, 8.0, {"-c:a", "pcm_f32le"}, &error),
                 qPrintable(error));
        FfmpegAudioFile in;
        in.Open(source, 0, 1);
        FfmpegAudioFile out;
        out.SetWavFormat(44100, 2, 16);
        out.SetMp3Format(44100, 128, 2);
        out.SetWmaProfile(38);
        const QString file = m_dir.filePath("own" + suffix);
        out.Create(file, 0);
        for (;;) {
            const SampleArray block = in.ReadArray(8820);
            if (block.isEmpty())
                break;
            out.WriteArray(block);
        }
        out.Close();
        checkSeeks(file);
    }
};

QTEST_GUILESS_MAIN(TestFileSeek)
#include "tst_file_seek.moc"
