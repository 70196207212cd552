// Writing through FfmpegAudioFile and reading back: every entry of the Options dialog's WAV
// and MP3 catalogues, FLAC, Ogg Vorbis and Opus settings, the choice of output type by
// extension, the MP3 encoder settings, block conversion, and a WAV header that stays
// current while a recording grows.
#include "common/test_audio.h"
#include "engine/file/ffmpeg_audio_file.h"
#include "engine/file/file_markers.h"
#include "file_fixtures.h"

#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

using namespace engine;

namespace {

QString channelsWord(int channels)
{
    return channels == 1 ? QStringLiteral("Mono") : QStringLiteral("Stereo");
}

QString mpegVersion(int rate)
{
    return rate >= 32000 ? QStringLiteral("1.0") : rate >= 16000 ? QStringLiteral("2.0") : QStringLiteral("2.5");
}

}  // namespace

class TestFileWrite : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString path(const QString &name) const { return m_dir.filePath(name); }

private slots:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    // The sixteen WAV formats of the Options dialog, written as a recording writes them
    // (blocks in the file's own format) and read back.
    void wavCatalogue_data()
    {
        QTest::addColumn<int>("rate");
        QTest::addColumn<int>("channels");
        QTest::addColumn<int>("bits");
        const int rates[] = {8000, 11025, 22050, 44100};
        for (int position = 0; position < 16; ++position) {
            const int rate = rates[position / 4];
            const int channels = (position % 4) < 2 ? 1 : 2;
            const int bits = (position % 2) == 0 ? 8 : 16;
            QTest::addRow("%d Hz - %d bit,%s", rate, bits, channels == 1 ? "Mono" : "Stereo")
                << rate << channels << bits;
        }
    }
    void wavCatalogue()
    {
        QFETCH(int, rate);
        QFETCH(int, channels);
        QFETCH(int, bits);
        const QString file = path(QStringLiteral("wav-%1-%2-%3.wav").arg(rate).arg(channels).arg(bits));
        FfmpegAudioFile writer;
        writer.SetActive(true);
        writer.SetWavFormat(rate, channels, bits);
        writer.Create(file, 0);
        QCOMPARE(writer.GetFormatValueA(), rate);
        QCOMPARE(writer.GetFormatValueB(), channels);
        const qint64 frames = fixtures::writeTone(writer, 1000, 1.5, rate, channels);
        QCOMPARE(writer.GetNumSamples(), frames);
        writer.Close();

        FfmpegAudioFile reader;
        reader.Open(file, 0, 1);
        QCOMPARE(reader.GetErrorCode(), 0);
        QCOMPARE(reader.GetNumSamples(), frames);
        QCOMPARE(reader.GetFormatValueA(), rate);
        QCOMPARE(reader.GetFormatValueB(), channels);
        QCOMPARE(reader.GetFormatDescription(),
                 QStringLiteral("PCM: %1 Hz, %2 bit, %3").arg(rate).arg(bits).arg(channelsWord(channels)));
        const std::vector<float> all = fixtures::readAll(reader);
        QCOMPARE(qint64(all.size()), frames * channels);
        for (int c = 0; c < channels; ++c)
            QVERIFY(std::abs(testaudio::dominantFrequency(testaudio::channel(all, channels, c), rate) - 1000) < 2);
        QVERIFY(std::abs(testaudio::toneLevelDb(testaudio::channel(all, channels, 0), rate, 1000) + 6.02) < 0.5);

        QCOMPARE(testaudio::probe(file, "codec_name"), bits == 8 ? QStringLiteral("pcm_u8") : QStringLiteral("pcm_s16le"));
        QCOMPARE(testaudio::probe(file, "sample_rate").toInt(), rate);
        QCOMPARE(testaudio::probe(file, "channels").toInt(), channels);
        QCOMPARE(QFileInfo(file).size(), 44 + frames * channels * bits / 8 + ((frames * channels * bits / 8) & 1));
    }

    // The ten MP3 qualities of the Options dialog, applied the way the program applies
    // them: SetMp3Format plus the encoder object with the same values.
    void mp3Catalogue_data()
    {
        QTest::addColumn<int>("rate");
        QTest::addColumn<int>("kbps");
        const int presets[][2] = {{22050, 40}, {22050, 48}, {22050, 64}, {22050, 80}, {44100, 96},
                                  {44100, 128}, {44100, 160}, {44100, 192}, {44100, 256}, {44100, 320}};
        for (const auto &p : presets)
            QTest::addRow("%d Hz, %d kbps", p[0], p[1]) << p[0] << p[1];
    }
    void mp3Catalogue()
    {
        QFETCH(int, rate);
        QFETCH(int, kbps);
        const QString file = path(QStringLiteral("mp3-%1-%2.mp3").arg(rate).arg(kbps));
        LameEncoderSettings encoder;
        encoder.SetFrequency(rate);
        encoder.SetBitrate(kbps);
        FfmpegAudioFile writer;
        writer.SetActive(true);
        writer.SetMp3Format(rate, kbps, 2);
        writer.SetMp3Encoder(&encoder);
        writer.Create(file, 0);
        QCOMPARE(writer.GetFormatValueA(), rate);
        QCOMPARE(writer.GetFormatValueB(), 2);
        const qint64 frames = fixtures::writeTone(writer, 1000, 3.0, rate, 2);
        QCOMPARE(writer.GetNumSamples(), frames);
        writer.Close();

        FfmpegAudioFile reader;
        reader.Open(file, 0, 1);
        QCOMPARE(reader.GetErrorCode(), 0);
        // The LAME header's delay and padding give the exact length back.
        QCOMPARE(reader.GetNumSamples(), frames);
        QCOMPARE(reader.GetFormatValueA(), rate);
        QCOMPARE(reader.GetFormatValueB(), 2);
        QCOMPARE(reader.GetFormatDescription(), QStringLiteral("MPEG %1 layer-3: %2 kbps, %3 Hz, Stereo")
                                                    .arg(mpegVersion(rate)).arg(kbps).arg(rate));
        const std::vector<float> all = fixtures::readAll(reader);
        QCOMPARE(qint64(all.size()) / 2, frames);
        const double hz = testaudio::dominantFrequency(testaudio::channel(all, 2, 0), rate, size_t(rate / 10));
        QVERIFY2(std::abs(hz - 1000) < 3, qPrintable(QString::number(hz)));

        QCOMPARE(testaudio::probe(file, "codec_name"), QStringLiteral("mp3"));
        QCOMPARE(testaudio::probe(file, "sample_rate").toInt(), rate);
        QCOMPARE(testaudio::probe(file, "channels").toInt(), 2);
        QVERIFY(std::abs(testaudio::probe(file, "bit_rate").toDouble() - kbps * 1000.0) < kbps * 20.0);
        // FFmpeg's own decoder agrees to the frame; ffprobe's duration (which counts the
        // encoder's delay and padding) within them.
        QCOMPARE(fixtures::ffmpegDecodedFrames(file, 2), frames);
        const double probed = testaudio::probe(file, "duration").toDouble();
        QVERIFY2(std::abs(probed - double(frames) / rate) <= 2.0 * 1152 / rate, qPrintable(QString::number(probed)));
    }

    // FLAC, Ogg Vorbis and Opus as set (out-of-range values clamped), written in blocks of
    // the file's own format and read back: the codec, rate, channels and bits asked for,
    // FLAC bit for bit, every length exact (the last Ogg page's granule position trims
    // Vorbis's and Opus's padding and Opus's pre-skip, so no tolerance is needed), the tone
    // within 2 %, and the bit rate the quality or setting stands for.
    void flacVorbisOpusSettings_data()
    {
        QTest::addColumn<QString>("suffix");
        QTest::addColumn<QList<int>>("settings");   // the Set...Format arguments; none = defaults
        QTest::addColumn<int>("rate");
        QTest::addColumn<int>("channels");
        QTest::addColumn<int>("bits");              // FLAC only
        QTest::addColumn<QString>("description");
        QTest::addColumn<int>("kbps");              // Vorbis nominal, Opus average; 0 = not checked
        QTest::newRow("FLAC defaults") << ".flac" << QList<int>{} << 44100 << 2 << 16
                                       << "FLAC: 44100 Hz, 16 bit, Stereo" << 0;
        QTest::newRow("FLAC 96000 Hz 24 bit mono, level 8") << ".flac" << QList<int>{96000, 1, 24, 8} << 96000 << 1 << 24
                                                            << "FLAC: 96000 Hz, 24 bit, Mono" << 0;
        QTest::newRow("FLAC 8000 Hz 16 bit stereo, level 0") << ".flac" << QList<int>{8000, 2, 16, 0} << 8000 << 2 << 16
                                                             << "FLAC: 8000 Hz, 16 bit, Stereo" << 0;
        QTest::newRow("FLAC above every range") << ".flac" << QList<int>{200000, 6, 32, 12} << 96000 << 2 << 24
                                                << "FLAC: 96000 Hz, 24 bit, Stereo" << 0;
        QTest::newRow("FLAC below every range") << ".flac" << QList<int>{4000, 0, 8, -3} << 8000 << 1 << 16
                                                << "FLAC: 8000 Hz, 16 bit, Mono" << 0;
        QTest::newRow("Ogg Vorbis defaults") << ".ogg" << QList<int>{} << 44100 << 2 << 0
                                             << "Ogg Vorbis: quality 5, 44100 Hz, Stereo" << 160;
        QTest::newRow("Ogg Vorbis quality -1") << ".ogg" << QList<int>{-1} << 44100 << 2 << 0
                                               << "Ogg Vorbis: quality -1, 44100 Hz, Stereo" << 45;
        QTest::newRow("Ogg Vorbis quality 10") << ".ogg" << QList<int>{10} << 44100 << 2 << 0
                                               << "Ogg Vorbis: quality 10, 44100 Hz, Stereo" << 500;
        QTest::newRow("Ogg Vorbis quality 25") << ".ogg" << QList<int>{25} << 44100 << 2 << 0
                                               << "Ogg Vorbis: quality 10, 44100 Hz, Stereo" << 500;
        QTest::newRow("Ogg Vorbis quality -7") << ".ogg" << QList<int>{-7} << 44100 << 2 << 0
                                               << "Ogg Vorbis: quality -1, 44100 Hz, Stereo" << 45;
        QTest::newRow("Opus defaults") << ".opus" << QList<int>{} << 48000 << 2 << 0
                                       << "Opus: 96 kbps, 48000 Hz, Stereo" << 96;
        QTest::newRow("Opus 6 kbps mono") << ".opus" << QList<int>{6, 1} << 48000 << 1 << 0
                                          << "Opus: 6 kbps, 48000 Hz, Mono" << 6;
        QTest::newRow("Opus 400 kbps") << ".opus" << QList<int>{400, 2} << 48000 << 2 << 0
                                       << "Opus: 256 kbps, 48000 Hz, Stereo" << 256;
        QTest::newRow("Opus 1 kbps") << ".opus" << QList<int>{1, 2} << 48000 << 2 << 0
                                     << "Opus: 6 kbps, 48000 Hz, Stereo" << 6;
    }
    void flacVorbisOpusSettings()
    {
        QFETCH(QString, suffix);
        QFETCH(QList<int>, settings);
        QFETCH(int, rate);
        QFETCH(int, channels);
        QFETCH(int, bits);
        QFETCH(QString, description);
        QFETCH(int, kbps);
        const QString file = path(QStringLiteral("settings-%1").arg(QTest::currentDataTag()).replace(' ', '_') + suffix);
        FfmpegAudioFile writer;
        writer.SetActive(true);
        if (settings.size() == 4)
            writer.SetFlacFormat(settings[0], settings[1], settings[2], settings[3]);
        else if (settings.size() == 1)
            writer.SetVorbisQuality(settings[0]);
        else if (settings.size() == 2)
            writer.SetOpusFormat(settings[0], settings[1]);
        writer.Create(file, 0);
        QCOMPARE(writer.GetFormatValueA(), rate);
        QCOMPARE(writer.GetFormatValueB(), channels);
        QCOMPARE(writer.GetFormatDescription(), description);
        // A length that ends inside a codec frame.
        const std::vector<float> tone = testaudio::tone(1000, 3.01, rate, channels);
        const qint64 frames = qint64(tone.size()) / channels;
        for (qint64 at = 0; at < frames; at += rate / 5)
            writer.WriteArray(SampleArray::fromFloat(tone.data() + at * channels,
                                                     std::min<qint64>(rate / 5, frames - at), rate, channels));
        QCOMPARE(writer.GetNumSamples(), frames);
        writer.Close();

        FfmpegAudioFile reader;
        reader.Open(file, 0, 1);
        QCOMPARE(reader.GetErrorCode(), 0);
        QCOMPARE(reader.GetNumSamples(), frames);
        QCOMPARE(reader.GetFormatValueA(), rate);
        QCOMPARE(reader.GetFormatValueB(), channels);
        const std::vector<float> all = fixtures::readAll(reader);
        QCOMPARE(qint64(all.size()), frames * channels);
        for (int c = 0; c < channels; ++c) {
            const double hz = testaudio::dominantFrequency(testaudio::channel(all, channels, c), rate, size_t(rate / 4));
            QVERIFY2(std::abs(hz - 1000) < 20, qPrintable(QString::number(hz)));
        }
        if (bits > 0) {
            // Lossless: every sample as it went in, to the last bit kept.
            const double step = 1.0 / double(1 << (bits - 1));
            const double diff = fixtures::maxDifference(all.data(), tone.data(), tone.size());
            QVERIFY2(diff <= step, qPrintable(QStringLiteral("differs by %1").arg(diff)));
            QCOMPARE(reader.GetFormatDescription(), description);
            QCOMPARE(testaudio::probe(file, "bits_per_raw_sample").toInt(), bits);
        }

        const QString codec = suffix == QLatin1String(".flac") ? QStringLiteral("flac")
                              : suffix == QLatin1String(".ogg") ? QStringLiteral("vorbis")
                                                                : QStringLiteral("opus");
        QCOMPARE(testaudio::probe(file, "codec_name"), codec);
        QCOMPARE(testaudio::probe(file, "sample_rate").toInt(), rate);
        QCOMPARE(testaudio::probe(file, "channels").toInt(), channels);
        QCOMPARE(fixtures::ffmpegDecodedFrames(file, channels), frames);
        if (codec == QLatin1String("vorbis")) {
            // The nominal bit rate libvorbis gives the quality.
            const double nominal = testaudio::probe(file, "bit_rate").toDouble() / 1000;
            QVERIFY2(nominal > kbps * 0.8 && nominal < kbps * 1.25, qPrintable(QString::number(nominal)));
        } else if (codec == QLatin1String("opus")) {
            // Opus varies its rate with the sound; a steady tone costs it more than average.
            // The room left for markers is not audio.
            const double average = (QFileInfo(file).size() - file::kMarkerRoom) * 8.0 / 1000 / 3.01;
            QVERIFY2(average > kbps * 0.5 && average < kbps * 2.0, qPrintable(QString::number(average)));
        }
    }

    // The output type follows the extension, whatever was set last; an unknown extension is MP3.
    void outputTypeFollowsExtension_data()
    {
        QTest::addColumn<QString>("order");
        QTest::addColumn<QString>("suffix");
        QTest::addColumn<QString>("codec");
        QTest::addColumn<int>("rate");
        QTest::newRow("wav after an Options push") << "mp3,wav,wma" << ".wav" << "pcm_u8" << 22050;
        QTest::newRow("WAV upper case") << "wav,wma,mp3" << ".WAV" << "pcm_u8" << 22050;
        QTest::newRow("mp3 after an Options push") << "mp3,wav,wma" << ".mp3" << "mp3" << 32000;
        QTest::newRow("Mp3 mixed case") << "wav,mp3,wma" << ".Mp3" << "mp3" << 32000;
        QTest::newRow("wma") << "wma,mp3,wav" << ".wma" << "wmav2" << 48000;
        QTest::newRow("flac after an Options push") << "mp3,flac,wav,ogg,opus" << ".flac" << "flac" << 96000;
        QTest::newRow("FLAC upper case") << "flac,ogg,opus" << ".FLAC" << "flac" << 96000;
        QTest::newRow("ogg after an Options push") << "ogg,opus,flac,mp3" << ".ogg" << "vorbis" << 44100;
        QTest::newRow("Ogg mixed case") << "wav,ogg" << ".Ogg" << "vorbis" << 44100;
        QTest::newRow("opus after an Options push") << "opus,flac,ogg,wma" << ".opus" << "opus" << 48000;
        QTest::newRow("OPUS upper case") << "opus" << ".OPUS" << "opus" << 48000;
        QTest::newRow("nothing set, flac") << "" << ".flac" << "flac" << 44100;
        QTest::newRow("nothing set, opus") << "" << ".opus" << "opus" << 48000;
        QTest::newRow("unknown after an Options push") << "mp3,wav,wma,flac,ogg,opus" << ".aac" << "mp3" << 32000;
        QTest::newRow("unknown, wav set last") << "wma,mp3,wav" << ".m4a" << "mp3" << 32000;
        QTest::newRow("unknown, mp3 set last") << "wav,wma,mp3" << ".rec" << "mp3" << 32000;
        QTest::newRow("nothing set, mp3") << "" << ".mp3" << "mp3" << 44100;
        QTest::newRow("nothing set, unknown") << "" << ".xyz" << "mp3" << 44100;
    }
    void outputTypeFollowsExtension()
    {
        QFETCH(QString, order);
        QFETCH(QString, suffix);
        QFETCH(QString, codec);
        QFETCH(int, rate);
        FfmpegAudioFile writer;
        writer.SetActive(true);
        for (const QString &type : order.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
            if (type == QLatin1String("mp3"))
                writer.SetMp3Format(32000, 96, 2);
            else if (type == QLatin1String("wav"))
                writer.SetWavFormat(22050, 1, 8);
            else if (type == QLatin1String("flac"))
                writer.SetFlacFormat(96000, 1, 24, 8);
            else if (type == QLatin1String("ogg"))
                writer.SetVorbisQuality(2);
            else if (type == QLatin1String("opus"))
                writer.SetOpusFormat(64, 1);
            else
                writer.SetWmaProfile(writer.GetWmaProfileCount() - 1);   // 48000 Hz stereo
        }
        const QString file = path(QStringLiteral("type-%1%2").arg(QTest::currentDataTag()).replace(' ', '_').remove(':') + suffix);
        writer.Create(file, 0);
        QCOMPARE(writer.GetFormatValueA(), rate);
        fixtures::writeTone(writer, 1000, 0.6, writer.GetFormatValueA(), writer.GetFormatValueB());
        writer.Close();
        QCOMPARE(testaudio::probe(file, "codec_name"), codec);
        QCOMPARE(testaudio::probe(file, "sample_rate").toInt(), rate);
    }

    // The encoder object's settings win over SetMp3Format once they were set; a
    // destroyed encoder is no longer consulted.
    void mp3EncoderPrecedence_data()
    {
        QTest::addColumn<int>("encoderRate");
        QTest::addColumn<int>("encoderKbps");
        QTest::addColumn<bool>("destroyEncoder");
        QTest::addColumn<int>("rate");
        QTest::addColumn<int>("kbps");
        QTest::newRow("encoder set") << 22050 << 64 << false << 22050 << 64;
        QTest::newRow("encoder rate only") << 22050 << 0 << false << 22050 << 160;
        QTest::newRow("encoder untouched") << 0 << 0 << false << 44100 << 160;
        QTest::newRow("encoder destroyed") << 22050 << 64 << true << 44100 << 160;
    }
    void mp3EncoderPrecedence()
    {
        QFETCH(int, encoderRate);
        QFETCH(int, encoderKbps);
        QFETCH(bool, destroyEncoder);
        QFETCH(int, rate);
        QFETCH(int, kbps);
        FfmpegAudioFile writer;
        {
            auto encoder = std::make_unique<LameEncoderSettings>();
            if (encoderRate)
                encoder->SetFrequency(encoderRate);
            if (encoderKbps)
                encoder->SetBitrate(encoderKbps);
            writer.SetMp3Format(44100, 160, 2);
            writer.SetMp3Encoder(encoder.get());
            if (!destroyEncoder)
                encoder.release();   // kept alive for the rest of the test
        }
        const QString file = path(QStringLiteral("precedence-%1.mp3").arg(QTest::currentDataTag()).replace(' ', '_'));
        writer.Create(file, 0);
        QCOMPARE(writer.GetFormatValueA(), rate);
        QVERIFY(writer.GetFormatDescription().contains(QStringLiteral("%1 kbps").arg(kbps)));
        fixtures::writeTone(writer, 1000, 1.0, rate, 2);
        writer.Close();
        QCOMPARE(testaudio::probe(file, "sample_rate").toInt(), rate);
        QVERIFY(std::abs(testaudio::probe(file, "bit_rate").toDouble() - kbps * 1000.0) < kbps * 20.0);
    }

    // Blocks in any sample format, rate and channel count become the file's format with
    // frequency and level intact.
    void blocksAreConverted_data()
    {
        QTest::addColumn<int>("format");
        QTest::addColumn<int>("inRate");
        QTest::addColumn<int>("inChannels");
        QTest::addColumn<QString>("suffix");
        const struct { int format; int rate; int channels; } inputs[] = {
            {int(SampleFormat::Float32), 44100, 2}, {int(SampleFormat::Int16), 44100, 2},
            {int(SampleFormat::Float32), 22050, 1}, {int(SampleFormat::Int16), 48000, 2},
            {int(SampleFormat::Float32), 8000, 1},  {int(SampleFormat::Int16), 44100, 1},
        };
        for (const char *suffix : {".wav", ".mp3", ".wma", ".flac", ".ogg", ".opus"})
            for (const auto &in : inputs)
                QTest::addRow("%s %d Hz %d ch%s", in.format == int(SampleFormat::Int16) ? "int16" : "float",
                              in.rate, in.channels, suffix)
                    << in.format << in.rate << in.channels << QString(QLatin1String(suffix));
    }
    void blocksAreConverted()
    {
        QFETCH(int, format);
        QFETCH(int, inRate);
        QFETCH(int, inChannels);
        QFETCH(QString, suffix);
        const QString file = path(QStringLiteral("convert-%1-%2-%3").arg(format).arg(inRate).arg(inChannels) + suffix);
        FfmpegAudioFile writer;
        writer.SetWavFormat(44100, 2, 16);
        writer.SetMp3Format(44100, 192, 2);
        writer.SetWmaProfile(38);
        writer.Create(file, 0);
        fixtures::writeTone(writer, 1000, 2.0, inRate, inChannels, SampleFormat(format));
        writer.Close();

        // Opus is always 48000 Hz; the other formats are set to 44100 Hz stereo.
        const int rate = suffix == QLatin1String(".opus") ? 48000 : 44100;
        FfmpegAudioFile reader;
        reader.Open(file, 0, 1);
        QCOMPARE(reader.GetErrorCode(), 0);
        QCOMPARE(reader.GetFormatValueA(), rate);
        QCOMPARE(reader.GetFormatValueB(), 2);
        QVERIFY(std::abs(reader.GetNumSamples() - 2 * rate) <= 2048);
        const std::vector<float> all = fixtures::readAll(reader);
        for (int c = 0; c < 2; ++c) {
            const std::vector<float> ch = testaudio::channel(all, 2, c);
            QVERIFY(std::abs(testaudio::dominantFrequency(ch, rate, rate / 5) - 1000) < 3);
            const std::vector<float> middle(ch.begin() + rate / 5, ch.end() - rate / 5);
            const double level = testaudio::toneLevelDb(middle, rate, 1000);
            QVERIFY2(std::abs(level + 6.02) < 1.0, qPrintable(QString::number(level)));
        }
    }

    // While a file is written, GetNumSamples counts what was handed over and the format
    // values are those of the file being written.
    void writerReportsProgress()
    {
        FfmpegAudioFile writer;
        writer.SetMp3Format(22050, 64, 2);
        writer.Create(path("progress.mp3"), 0);
        QCOMPARE(writer.GetNumSamples(), 0);
        QCOMPARE(writer.GetFormatValueA(), 22050);
        QCOMPARE(writer.GetFormatValueB(), 2);
        std::vector<float> block(4410 * 2, 0.1f);
        for (int i = 1; i <= 5; ++i) {
            writer.WriteArray(SampleArray::fromFloat(block, 22050, 2));
            QCOMPARE(writer.GetNumSamples(), qint64(4410) * i);
        }
        writer.Close();
        QCOMPARE(writer.GetNumSamples(), 0);
        QCOMPARE(writer.GetFormatValueA(), 0);
    }

    // A recording of nothing (Create, then Close) is a valid, empty file of its type.
    void emptyRecording_data()
    {
        QTest::addColumn<QString>("suffix");
        QTest::addColumn<QString>("description");
        QTest::addColumn<int>("rate");
        QTest::newRow("wav") << ".wav" << "PCM: 44100 Hz, 16 bit, Stereo" << 44100;
        QTest::newRow("mp3") << ".mp3" << "MPEG 1.0 layer-3: 128 kbps, 44100 Hz, Stereo" << 44100;
        QTest::newRow("wma") << ".wma" << "Windows Media Audio V2: 128 kbps, 44100 Hz, Stereo" << 44100;
        QTest::newRow("flac") << ".flac" << "FLAC: 44100 Hz, 16 bit, Stereo" << 44100;
        QTest::newRow("ogg") << ".ogg" << "Ogg Vorbis: quality 5, 44100 Hz, Stereo" << 44100;
        QTest::newRow("opus") << ".opus" << "Opus: 96 kbps, 48000 Hz, Stereo" << 48000;
    }
    void emptyRecording()
    {
        QFETCH(QString, suffix);
        QFETCH(QString, description);
        QFETCH(int, rate);
        const QString file = path("empty" + suffix);
        FfmpegAudioFile writer;
        writer.SetActive(true);
        writer.SetWavFormat(44100, 2, 16);
        writer.SetMp3Format(44100, 128, 2);
        writer.SetWmaProfile(38);
        writer.Create(file, 0);
        writer.Close();
        QVERIFY(QFileInfo(file).size() > 0);

        FfmpegAudioFile reader;
        reader.Open(file, 0, 1);
        QCOMPARE(reader.GetErrorCode(), 0);
        QCOMPARE(reader.GetNumSamples(), 0);
        QCOMPARE(reader.GetFormatValueA(), rate);
        QCOMPARE(reader.GetFormatValueB(), 2);
        QCOMPARE(reader.GetFormatDescription().section(QLatin1Char(':'), 0, 0), description.section(QLatin1Char(':'), 0, 0));
        QVERIFY(reader.ReadArray(4410).isEmpty());
        QCOMPARE(reader.Seek(1000, 3), 0);
    }

    void createReplacesExistingFile()
    {
        const QString file = path("replace.wav");
        {
            QFile junk(file);
            QVERIFY(junk.open(QIODevice::WriteOnly));
            junk.write(QByteArray(500000, 'x'));
        }
        FfmpegAudioFile writer;
        writer.SetWavFormat(44100, 2, 16);
        writer.Create(file, 0);
        const qint64 frames = fixtures::writeTone(writer, 1000, 0.4, 44100, 2);
        writer.Close();
        FfmpegAudioFile reader;
        reader.Open(file, 0, 1);
        QCOMPARE(reader.GetErrorCode(), 0);
        QCOMPARE(reader.GetNumSamples(), frames);
        QCOMPARE(QFileInfo(file).size(), 44 + frames * 4);
    }

    // Open, Create and SetActive(false) complete a file being written before anything
    // else happens.
    void closingByOtherCallsCompletesTheFile_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("Open") << "open";
        QTest::newRow("Create") << "create";
        QTest::newRow("SetActive(false)") << "inactive";
        QTest::newRow("destruction") << "destroy";
    }
    void closingByOtherCallsCompletesTheFile()
    {
        QFETCH(QString, how);
        const QString file = path("completed-" + how + ".mp3");
        qint64 frames = 0;
        {
            FfmpegAudioFile writer;
            writer.SetMp3Format(44100, 128, 2);
            writer.Create(file, 0);
            frames = fixtures::writeTone(writer, 1000, 1.0, 44100, 2);
            if (how == QLatin1String("open")) {
                writer.Open(file, 0, 1);
                QCOMPARE(writer.GetErrorCode(), 0);
                QCOMPARE(writer.GetNumSamples(), frames);
            } else if (how == QLatin1String("create")) {
                writer.Create(path("completed-other.wav"), 0);
            } else if (how == QLatin1String("inactive")) {
                writer.SetActive(false);
            }
        }
        FfmpegAudioFile reader;
        reader.Open(file, 0, 1);
        QCOMPARE(reader.GetErrorCode(), 0);
        QCOMPARE(reader.GetNumSamples(), frames);
    }

    void writeWithoutCreateThrows()
    {
        FfmpegAudioFile file;
        std::vector<float> block(100, 0.f);
        QVERIFY_THROWS_EXCEPTION(EngineError, file.WriteArray(SampleArray::fromFloat(block, 44100, 2)));
    }

    // A copy taken while a recording runs (what is left when the program dies) plays up
    // to at most about a second before the end of what was handed over.
    void wavHeaderIsKeptCurrentWhileWriting()
    {
        const QString file = path("growing.wav");
        FfmpegAudioFile writer;
        writer.SetWavFormat(44100, 2, 16);
        writer.Create(file, 0);
        std::vector<float> block = testaudio::tone(1000, 0.2, 44100, 2);
        qint64 written = 0;
        for (int i = 0; i < 13; ++i) {
            writer.WriteArray(SampleArray::fromFloat(block, 44100, 2));
            written += 8820;
            QThread::msleep(200);
        }
        const QString copy = path("growing-copy.wav");
        QVERIFY(QFile::copy(file, copy));
        FfmpegAudioFile reader;
        reader.Open(copy, 0, 1);
        QCOMPARE(reader.GetErrorCode(), 0);
        QVERIFY2(reader.GetNumSamples() >= written - 44100 && reader.GetNumSamples() <= written,
                 qPrintable(QStringLiteral("%1 of %2").arg(reader.GetNumSamples()).arg(written)));
        QCOMPARE(testaudio::probe(copy, "codec_name"), QStringLiteral("pcm_s16le"));
        writer.Close();
    }

    // The same with a writer that is killed outright (SIGKILL) in the middle.
    void killedWriterLeavesPlayableWav()
    {
        const QString file = path("killed.wav");
        int pipeFds[2];
        QVERIFY(pipe(pipeFds) == 0);
        const pid_t child = fork();
        QVERIFY(child >= 0);
        if (child == 0) {
            ::close(pipeFds[0]);
            try {
                FfmpegAudioFile writer;
                writer.SetWavFormat(22050, 1, 16);
                writer.Create(file, 0);
                const std::vector<float> block = testaudio::tone(1000, 0.2, 22050, 1);
                for (qint64 i = 1;; ++i) {
                    writer.WriteArray(SampleArray::fromFloat(block, 22050, 1));
                    const qint64 frames = i * 4410;
                    (void)!::write(pipeFds[1], &frames, sizeof frames);
                    usleep(200000);
                }
            } catch (...) {
            }
            _exit(1);
        }
        ::close(pipeFds[1]);
        QThread::msleep(2700);
        ::kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);
        QVERIFY(WIFSIGNALED(status));
        qint64 written = 0, frames = 0;
        while (::read(pipeFds[0], &frames, sizeof frames) == sizeof frames)
            written = frames;
        ::close(pipeFds[0]);
        QVERIFY(written >= 5 * 4410);

        FfmpegAudioFile reader;
        reader.Open(file, 0, 1);
        QCOMPARE(reader.GetErrorCode(), 0);
        QVERIFY2(reader.GetNumSamples() >= written - 22050 - 4410,
                 qPrintable(QStringLiteral("%1 of %2").arg(reader.GetNumSamples()).arg(written)));
        const std::vector<float> all = fixtures::readAll(reader);
        QVERIFY(std::abs(testaudio::dominantFrequency(all, 22050) - 1000) < 2);
    }
};

QTEST_GUILESS_MAIN(TestFileWrite)
#include "tst_file_write.moc"
