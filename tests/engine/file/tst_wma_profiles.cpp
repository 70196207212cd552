// The WMA profile list: what the encoder accepts, in order, numbered so that the Options
// dialog's labels (descriptions of numbers 1..n) name the profiles its positions
// (0..n-1) apply, with 44100 Hz stereo at 128 kbit/s at the default position 38.
#include "common/test_audio.h"
#include "engine/file/ffmpeg_audio_file.h"
#include "file_fixtures.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

using namespace engine;

namespace {

struct Profile {
    int kbps = 0;
    int rate = 0;
    int channels = 0;
};

// The label the Options dialog shows for list entry k: characters 5..104 of the
// description after SetWmaProfile(k + 1).
QString dialogLabel(FfmpegAudioFile &file, int entry)
{
    file.SetActive(true);
    file.SetWmaProfile(entry + 1);
    return file.GetFormatDescription().mid(4, 100);
}

Profile parse(const QString &label)
{
    static const QRegularExpression re("^(\\d+) kbps, (\\d+) Hz, (Mono|Stereo)$");
    const QRegularExpressionMatch m = re.match(label);
    Profile p;
    if (m.hasMatch()) {
        p.kbps = m.captured(1).toInt();
        p.rate = m.captured(2).toInt();
        p.channels = m.captured(3) == QLatin1String("Mono") ? 1 : 2;
    }
    return p;
}

}  // namespace

class TestWmaProfiles : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;

private slots:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    void listIsOrderedAndPositionThirtyEightIsTheEverydayChoice()
    {
        FfmpegAudioFile file;
        file.SetActive(true);
        const int count = file.GetWmaProfileCount();
        QVERIFY2(count >= 39, qPrintable(QString::number(count)));
        Profile previous;
        for (int k = 0; k < count; ++k) {
            const QString label = dialogLabel(file, k);
            const Profile p = parse(label);
            QVERIFY2(p.kbps > 0, qPrintable(label));
            const auto key = [](const Profile &x) { return std::tuple(x.rate, x.channels, x.kbps); };
            QVERIFY2(k == 0 || key(previous) < key(p), qPrintable(label));
            previous = p;
        }
        QCOMPARE(dialogLabel(file, 38), QStringLiteral("128 kbps, 44100 Hz, Stereo"));
    }

    // Every profile is written as its label says (the label of entry k describes what
    // SetWmaProfile(k) writes) and reads back as a 1 kHz tone.
    void everyProfileWritesWhatItsLabelSays_data()
    {
        QTest::addColumn<int>("entry");
        FfmpegAudioFile file;
        for (int k = 0; k < file.GetWmaProfileCount(); ++k)
            QTest::addRow("%d: %s", k, qPrintable(dialogLabel(file, k))) << k;
    }
    void everyProfileWritesWhatItsLabelSays()
    {
        QFETCH(int, entry);
        FfmpegAudioFile labeller;
        const Profile p = parse(dialogLabel(labeller, entry));

        const QString path = m_dir.filePath(QStringLiteral("profile-%1.wma").arg(entry));
        FfmpegAudioFile writer;
        writer.SetActive(true);
        writer.SetWmaProfile(entry);
        writer.Create(path, 0);
        QCOMPARE(writer.GetFormatValueA(), p.rate);
        QCOMPARE(writer.GetFormatValueB(), p.channels);
        QCOMPARE(writer.GetFormatDescription(),
                 QStringLiteral("Windows Media Audio V2: %1").arg(dialogLabel(labeller, entry)));
        const qint64 frames = fixtures::writeTone(writer, 1000, 1.0, p.rate, p.channels);
        writer.Close();

        // One ffprobe run: codec, rate, channels, bit rate.
        const QString probed = testaudio::run(QStringLiteral("ffprobe"),
                                              {"-v", "error", "-select_streams", "a:0", "-show_entries",
                                               "stream=codec_name,sample_rate,channels,bit_rate", "-of", "csv=p=0", path})
                                   .trimmed();
        QCOMPARE(probed, QStringLiteral("wmav2,%1,%2,%3").arg(p.rate).arg(p.channels).arg(p.kbps * 1000));

        FfmpegAudioFile reader;
        reader.Open(path, 0, 1);
        QCOMPARE(reader.GetErrorCode(), 0);
        QCOMPARE(reader.GetFormatDescription(),
                 QStringLiteral("Windows Media Audio V2: %1").arg(dialogLabel(labeller, entry)));
        QVERIFY(std::abs(reader.GetNumSamples() - frames) <= 2048);
        const std::vector<float> all = fixtures::readAll(reader);
        const double hz = testaudio::dominantFrequency(testaudio::channel(all, p.channels, 0), p.rate, size_t(p.rate / 10));
        QVERIFY2(std::abs(hz - 1000) < 5, qPrintable(QString::number(hz)));
    }

    // Out-of-range values are clamped, for writing and for the description alike.
    void outOfRangeValuesAreClamped_data()
    {
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("writtenEntry");
        QTest::addColumn<int>("describedEntry");
        FfmpegAudioFile file;
        const int last = file.GetWmaProfileCount() - 1;
        QTest::newRow("negative") << -7 << 0 << 0;
        QTest::newRow("zero") << 0 << 0 << 0;
        QTest::newRow("count") << last + 1 << last << last;
        QTest::newRow("far beyond") << 100000 << last << last;
    }
    void outOfRangeValuesAreClamped()
    {
        QFETCH(int, value);
        QFETCH(int, writtenEntry);
        QFETCH(int, describedEntry);
        FfmpegAudioFile labeller;
        FfmpegAudioFile file;
        file.SetWmaProfile(value);
        QCOMPARE(file.GetFormatDescription(), QStringLiteral("WMA ") + dialogLabel(labeller, describedEntry));
        const QString path = m_dir.filePath(QStringLiteral("clamped-%1.wma").arg(value));
        file.Create(path, 0);
        const Profile p = parse(dialogLabel(labeller, writtenEntry));
        QCOMPARE(file.GetFormatValueA(), p.rate);
        QCOMPARE(file.GetFormatValueB(), p.channels);
        QVERIFY(file.GetFormatDescription().endsWith(dialogLabel(labeller, writtenEntry)));
        file.Close();
    }

    // Without SetWmaProfile a WMA recording uses the default position 38; with a file
    // open the description is the file's, not a profile's.
    void defaultAndOpenFile()
    {
        const QString path = m_dir.filePath("default.wma");
        FfmpegAudioFile file;
        file.Create(path, 0);
        QCOMPARE(file.GetFormatDescription(), QStringLiteral("Windows Media Audio V2: 128 kbps, 44100 Hz, Stereo"));
        fixtures::writeTone(file, 1000, 0.5, 44100, 2);
        file.Close();
        file.SetWmaProfile(5);
        file.Open(path, 0, 1);
        QCOMPARE(file.GetFormatDescription(), QStringLiteral("Windows Media Audio V2: 128 kbps, 44100 Hz, Stereo"));
        file.Close();
        QVERIFY(file.GetFormatDescription().startsWith(QStringLiteral("WMA ")));
    }
};

QTEST_GUILESS_MAIN(TestWmaProfiles)
#include "tst_wma_profiles.moc"
