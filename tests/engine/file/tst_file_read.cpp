// Reading every type of the program's open dialog: WAV (PCM and ADPCM), MPEG audio
// layers 1-3, Ogg Vorbis, FLAC, Opus, AVI, raw G.721, Musepack and WMA. Each file is made here (by
// the ffmpeg command line, mpcenc, or by hand for layer 1, which no installed tool
// encodes) from a 1 kHz tone; the engine must measure it exactly, describe it, and
// deliver the tone.
#include "common/test_audio.h"
#include "engine/file/ffmpeg_audio_file.h"
#include "file_fixtures.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

using namespace engine;

namespace {

enum class Maker { Ffmpeg, Musepack, Layer1 };

QString tone(int rate, double seconds, double hz = 1000)
{
    return QStringLiteral("sine=frequency=%1:sample_rate=%2:duration=%3").arg(hz).arg(rate).arg(seconds);
}

}  // namespace

Q_DECLARE_METATYPE(Maker)

class TestFileRead : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;

private slots:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    void openDialogTypes_data()
    {
        QTest::addColumn<Maker>("maker");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("args");        // ffmpeg arguments before the output
        QTest::addColumn<int>("rate");
        QTest::addColumn<int>("channels");
        QTest::addColumn<QString>("description");     // exact, or a pattern if it starts with ^
        QTest::addColumn<QStringList>("ffmpegInput"); // how the ffmpeg command line reads it
        QTest::addColumn<double>("toneHz");

        const auto src = [](int rate, int channels) {
            return QStringList{"-f", "lavfi", "-i", tone(rate, 3.0), "-ac", QString::number(channels)};
        };
        const auto row = [&](const char *tag, const QString &name, const QStringList &codec, int rate,
                             int channels, const QString &description, const QStringList &input = {}) {
            QTest::newRow(tag) << Maker::Ffmpeg << name << (src(rate, channels) + codec) << rate << channels
                               << description << input << 1000.0;
        };
        row("WAV 8-bit", "u8.wav", {"-c:a", "pcm_u8"}, 11025, 1, "PCM: 11025 Hz, 8 bit, Mono");
        row("WAV 16-bit", "s16.wav", {"-c:a", "pcm_s16le"}, 44100, 2, "PCM: 44100 Hz, 16 bit, Stereo");
        row("WAV 24-bit", "s24.wav", {"-c:a", "pcm_s24le"}, 48000, 2, "PCM: 48000 Hz, 24 bit, Stereo");
        row("WAV 32-bit", "s32.wav", {"-c:a", "pcm_s32le"}, 44100, 1, "PCM: 44100 Hz, 32 bit, Mono");
        row("WAV float", "f32.wav", {"-c:a", "pcm_f32le"}, 44100, 2, "PCM: 44100 Hz, 32 bit float, Stereo");
        row("WAV Microsoft ADPCM", "msadpcm.wav", {"-c:a", "adpcm_ms"}, 22050, 1,
            "Microsoft ADPCM: 22050 Hz, 4 bit, Mono");
        row("WAV IMA ADPCM", "ima.wav", {"-c:a", "adpcm_ima_wav"}, 44100, 2, "IMA ADPCM: 44100 Hz, 4 bit, Stereo");
        row("MP3 CBR", "cbr.mp3", {"-c:a", "libmp3lame", "-b:a", "128k"}, 44100, 2,
            "MPEG 1.0 layer-3: 128 kbps, 44100 Hz, Stereo");
        row("MP3 VBR", "vbr.mp3", {"-c:a", "libmp3lame", "-q:a", "2"}, 44100, 2,
            "^MPEG 1\\.0 layer-3: \\d+ kbps VBR, 44100 Hz, Stereo$");
        row("MP3 without Xing header", "noxing.mp3", {"-c:a", "libmp3lame", "-b:a", "160k", "-write_xing", "0"},
            44100, 2, "MPEG 1.0 layer-3: 160 kbps, 44100 Hz, Stereo");
        row("MP3 VBR without Xing header", "vbrnoxing.mp3", {"-c:a", "libmp3lame", "-q:a", "4", "-write_xing", "0"},
            44100, 2, "^MPEG 1\\.0 layer-3: \\d+ kbps VBR, 44100 Hz, Stereo$");
        row("MP3 MPEG-2", "mpeg2.mp3", {"-c:a", "libmp3lame", "-b:a", "64k"}, 22050, 1,
            "MPEG 2.0 layer-3: 64 kbps, 22050 Hz, Mono");
        row("MP3 MPEG-2.5", "mpeg25.mp3", {"-c:a", "libmp3lame", "-b:a", "24k"}, 8000, 1,
            "MPEG 2.5 layer-3: 24 kbps, 8000 Hz, Mono");
        row("MP2", "layer2.mp2", {"-c:a", "mp2", "-b:a", "192k"}, 44100, 2, "MPEG 1.0 layer-2: 192 kbps, 44100 Hz, Stereo");
        row("MP2 named .mp3", "layer2.mp3", {"-c:a", "mp2", "-b:a", "128k", "-f", "mp2"}, 32000, 1,
            "MPEG 1.0 layer-2: 128 kbps, 32000 Hz, Mono");
        row("Ogg Vorbis", "vorbis.ogg", {"-c:a", "libvorbis", "-q:a", "4"}, 44100, 2,
            "^Ogg Vorbis: \\d+ kbps, 44100 Hz, Stereo$");
        row("FLAC 16-bit", "s16.flac", {"-c:a", "flac"}, 44100, 2, "FLAC: 44100 Hz, 16 bit, Stereo");
        row("FLAC 24-bit", "s24.flac", {"-c:a", "flac", "-sample_fmt", "s32"}, 96000, 1, "FLAC: 96000 Hz, 24 bit, Mono");
        row("Opus", "music.opus", {"-c:a", "libopus", "-b:a", "64k"}, 48000, 2, "^Opus: \\d+ kbps, 48000 Hz, Stereo$");
        row("Opus mono", "speech.opus", {"-c:a", "libopus", "-b:a", "24k"}, 48000, 1, "^Opus: \\d+ kbps, 48000 Hz, Mono$");
        row("G.721", "speech.g721", {"-c:a", "g726le", "-b:a", "32k", "-ar", "8000", "-f", "g726le"}, 8000, 1,
            "G.721 ADPCM: 32 kbps, 8000 Hz, Mono", {"-f", "g726le", "-code_size", "4", "-sample_rate", "8000"});
        row("WMA V2", "v2.wma", {"-c:a", "wmav2", "-b:a", "128k"}, 44100, 2,
            "Windows Media Audio V2: 128 kbps, 44100 Hz, Stereo");
        row("WMA V1", "v1.wma", {"-c:a", "wmav1", "-b:a", "64k"}, 22050, 2,
            "Windows Media Audio V1: 64 kbps, 22050 Hz, Stereo");

        // AVI: with a video stream in front, and with two audio streams (the first counts).
        const QStringList video{"-f", "lavfi", "-i", "testsrc=d=3:s=64x48:r=10"};
        QTest::newRow("AVI PCM with video")
            << Maker::Ffmpeg << "pcm.avi"
            << (video + QStringList{"-f", "lavfi", "-i", tone(44100, 3.0), "-map", "0:v", "-map", "1:a", "-ac", "2",
                                    "-c:v", "mjpeg", "-c:a", "pcm_s16le"})
            << 44100 << 2 << "PCM: 44100 Hz, 16 bit, Stereo" << QStringList{} << 1000.0;
        QTest::newRow("AVI MP3 with video")
            << Maker::Ffmpeg << "mp3.avi"
            << (video + QStringList{"-f", "lavfi", "-i", tone(44100, 3.0), "-map", "0:v", "-map", "1:a", "-ac", "2",
                                    "-c:v", "mjpeg", "-c:a", "libmp3lame", "-b:a", "128k"})
            << 44100 << 2 << "MPEG 1.0 layer-3: 128 kbps, 44100 Hz, Stereo" << QStringList{} << 1000.0;
        QTest::newRow("AVI two audio streams")
            << Maker::Ffmpeg << "two.avi"
            << QStringList{"-f", "lavfi", "-i", tone(22050, 3.0), "-f", "lavfi", "-i", tone(22050, 3.0, 2500),
                           "-map", "0:a", "-map", "1:a", "-c:a", "pcm_s16le"}
            << 22050 << 1 << "PCM: 22050 Hz, 16 bit, Mono" << QStringList{} << 1000.0;
        QTest::newRow("AVI IMA ADPCM")
            << Maker::Ffmpeg << "ima.avi" << (src(44100, 2) + QStringList{"-c:a", "adpcm_ima_wav"})
            << 44100 << 2 << "IMA ADPCM: 44100 Hz, 4 bit, Stereo" << QStringList{} << 1000.0;

        QTest::newRow("Musepack") << Maker::Musepack << "tone.mpc" << QStringList{} << 44100 << 2
                                  << "^Musepack SV8: \\d+ kbps, 44100 Hz, Stereo$" << QStringList{} << 1000.0;
        // No SV7 encoder is installed: the .mp+ name is covered, the SV7 bitstream is not.
        QTest::newRow("Musepack named .mp+") << Maker::Musepack << "tone.mp+" << QStringList{} << 44100 << 2
                                             << "^Musepack SV8: \\d+ kbps, 44100 Hz, Stereo$" << QStringList{} << 1000.0;
        QTest::newRow("MP1 (made by hand)") << Maker::Layer1 << "layer1.mp1" << QStringList{} << 44100 << 1
                                            << "MPEG 1.0 layer-1: 128 kbps, 44100 Hz, Mono" << QStringList{}
                                            << fixtures::kLayer1ToneHz;
    }
    void openDialogTypes()
    {
        QFETCH(Maker, maker);
        QFETCH(QString, name);
        QFETCH(QStringList, args);
        QFETCH(int, rate);
        QFETCH(int, channels);
        QFETCH(QString, description);
        QFETCH(QStringList, ffmpegInput);
        QFETCH(double, toneHz);

        const QString file = m_dir.filePath(name);
        QString error;
        if (maker == Maker::Ffmpeg)
            QVERIFY2(fixtures::ffmpeg(args + QStringList{file}, &error), qPrintable(error));
        else if (maker == Maker::Musepack)
            QVERIFY2(fixtures::makeMusepack(file, fixtures::Signal::Tone1k, 3.0, &error), qPrintable(error));
        else
            fixtures::writeLayer1Tone(file, 3.0);

        FfmpegAudioFile reader;
        reader.SetActive(true);
        reader.Open(file, 0, 1);
        QCOMPARE(reader.GetErrorCode(), 0);
        QCOMPARE(reader.GetErrorText(), QString());
        QCOMPARE(reader.GetFormatValueA(), rate);
        QCOMPARE(reader.GetFormatValueB(), channels);
        const QString text = reader.GetFormatDescription();
        if (description.startsWith(QLatin1Char('^')))
            QVERIFY2(QRegularExpression(description).match(text).hasMatch(), qPrintable(text));
        else
            QCOMPARE(text, description);
        // One line, "<codec>: <facts>", the shape the status bar shortens.
        QVERIFY(QRegularExpression("^[^:\\n]+: ([^:\\n]+, )?\\d+ Hz, [^:\\n]*(Mono|Stereo)$").match(text).hasMatch());

        const qint64 length = reader.GetNumSamples();
        QVERIFY2(std::abs(double(length) / rate - 3.0) < 0.1, qPrintable(QString::number(length)));
        const std::vector<float> all = fixtures::readAll(reader);
        QCOMPARE(qint64(all.size()) / channels, length);   // measured exactly
        QVERIFY(reader.ReadArray(1000).isEmpty());
        const double hz = testaudio::dominantFrequency(testaudio::channel(all, channels, 0), rate, size_t(rate / 4));
        QVERIFY2(std::abs(hz - toneHz) < 3, qPrintable(QString::number(hz)));

        // FFmpeg's command line decodes exactly as many frames.
        QCOMPARE(fixtures::ffmpegDecodedFrames(file, channels, ffmpegInput), length);
    }

    // ffprobe's duration for MP3 (which includes the encoder's delay and padding that
    // LAME-aware players remove) agrees with the engine's exact length.
    void mp3DurationAgreesWithFfprobe_data()
    {
        QTest::addColumn<QStringList>("codec");
        QTest::addColumn<int>("rate");
        QTest::newRow("CBR 128") << QStringList{"-b:a", "128k"} << 44100;
        QTest::newRow("VBR") << QStringList{"-q:a", "3"} << 44100;
        QTest::newRow("CBR 40 at 22050") << QStringList{"-b:a", "40k"} << 22050;
        QTest::newRow("no Xing header") << QStringList{"-b:a", "128k", "-write_xing", "0"} << 44100;
    }
    void mp3DurationAgreesWithFfprobe()
    {
        QFETCH(QStringList, codec);
        QFETCH(int, rate);
        const QString file = m_dir.filePath(QStringLiteral("probe-%1.mp3").arg(QTest::currentDataTag()).replace(' ', '_'));
        QString error;
        QVERIFY2(fixtures::makeWithFfmpeg(file, fixtures::Signal::Noise, rate, 2, 7.3,
                                          QStringList{"-c:a", "libmp3lame"} + codec, &error),
                 qPrintable(error));
        FfmpegAudioFile reader;
        reader.Open(file, 0, 1);
        QCOMPARE(reader.GetErrorCode(), 0);
        const double ours = double(reader.GetNumSamples()) / rate;
        const double probed = testaudio::probe(file, "duration").toDouble();
        QVERIFY2(std::abs(ours - probed) <= 2304.0 / rate, qPrintable(QStringLiteral("%1 vs %2").arg(ours).arg(probed)));
    }

    // Blocks of any size join up to the same stream; the end is empty, again and again.
    void readArrayInAnyBlockSize_data()
    {
        QTest::addColumn<int>("block");
        QTest::newRow("1") << 1;
        QTest::newRow("577") << 577;
        QTest::newRow("8820") << 8820;
        QTest::newRow("100000") << 100000;
    }
    void readArrayInAnyBlockSize()
    {
        QFETCH(int, block);
        const QString file = m_dir.filePath("blocks.mp3");
        if (!QFile::exists(file)) {
            QString error;
            QVERIFY2(fixtures::makeWithFfmpeg(file, fixtures::Signal::Noise, 44100, 2, 1.0,
                                              {"-c:a", "libmp3lame", "-b:a", "128k"}, &error),
                     qPrintable(error));
        }
        FfmpegAudioFile reference;
        reference.Open(file, 0, 1);
        const std::vector<float> expected = fixtures::readAll(reference, 4096);

        FfmpegAudioFile reader;
        reader.Open(file, 0, 1);
        std::vector<float> got;
        for (;;) {
            const SampleArray a = reader.ReadArray(block);
            if (a.isEmpty())
                break;
            QVERIFY(a.frames() <= block);
            QCOMPARE(a.sampleFormat(), SampleFormat::Float32);
            QCOMPARE(a.sampleRate(), 44100);
            QCOMPARE(a.channels(), 2);
            const std::vector<float> f = a.toFloat();
            got.insert(got.end(), f.begin(), f.end());
            if (block == 1 && got.size() > 20000)
                break;
        }
        const size_t n = std::min(got.size(), expected.size());
        QVERIFY(n > 0);
        QCOMPARE(fixtures::maxDifference(got.data(), expected.data(), n), 0.0);
        if (block != 1) {
            QCOMPARE(got.size(), expected.size());
            QVERIFY(reader.ReadArray(block).isEmpty());
            QVERIFY(reader.ReadArray(block).isEmpty());
        }
        QVERIFY(reader.ReadArray(0).isEmpty());
    }

    // Nothing open: no samples, no format values, nothing to read.
    void nothingOpen()
    {
        FfmpegAudioFile file;
        QCOMPARE(file.GetNumSamples(), 0);
        QCOMPARE(file.GetFormatValueA(), 0);
        QCOMPARE(file.GetFormatValueB(), 0);
        QVERIFY(file.ReadArray(100).isEmpty());
        QCOMPARE(file.Seek(100, 3), 0);
        file.Close();
    }
};

QTEST_GUILESS_MAIN(TestFileRead)
#include "tst_file_read.moc"
