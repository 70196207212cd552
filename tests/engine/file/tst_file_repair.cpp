// The repair of cut-off recordings against damage of every kind: the committed corpus of
// killed recordings and crafted headers, cut at many points and with bits flipped, through
// every format's repair (never a crash, never a longer file, a repaired file stays as it
// is); refusals that leave the file as it was; and tags after the audio and a frame header
// cut short, which must cost neither the tags nor a whole frame.
#include "common/test_audio.h"
#include "engine/engine.h"
#include "engine/file/ffmpeg_audio_file.h"
#include "engine/file/file_repair.h"
#include "file_fixtures.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

#include <fcntl.h>
#include <unistd.h>

#include <optional>

using namespace engine;
using engine::file::RepairFormat;

namespace {

const RepairFormat kAllFormats[] = {RepairFormat::Wav, RepairFormat::Mp3, RepairFormat::Wma, RepairFormat::Flac,
                                    RepairFormat::Ogg};

QByteArray readBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

std::optional<RepairFormat> formatOfSuffix(const QString &suffix)
{
    if (suffix == QLatin1String("wav"))
        return RepairFormat::Wav;
    if (suffix == QLatin1String("mp3"))
        return RepairFormat::Mp3;
    if (suffix == QLatin1String("wma"))
        return RepairFormat::Wma;
    if (suffix == QLatin1String("flac"))
        return RepairFormat::Flac;
    if (suffix == QLatin1String("ogg") || suffix == QLatin1String("opus"))
        return RepairFormat::Ogg;
    return std::nullopt;
}

// An ID3v1 tag, and an APEv2 tag with a header, one item and a footer.
QByteArray id3v1Tag()
{
    QByteArray tag("TAG");
    tag += QByteArray("Tone").leftJustified(30, '\0') + QByteArray("Tavrin").leftJustified(30, '\0');
    tag += QByteArray(30, '\0') + "2024" + QByteArray(28, '\0') + QByteArray("\0\x01\x0c", 3);
    return tag;
}

QByteArray apeTag()
{
    QByteArray item(8, '\0');
    qToLittleEndian<quint32>(4, item.data());
    item += QByteArray("Title\0Tone", 10);
    auto header = [&](bool isHeader) {
        QByteArray h("APETAGEX");
        h.resize(32, '\0');
        qToLittleEndian<quint32>(2000, h.data() + 8);
        qToLittleEndian<quint32>(quint32(item.size() + 32), h.data() + 12);
        qToLittleEndian<quint32>(1, h.data() + 16);
        qToLittleEndian<quint32>(0x80000000u | (isHeader ? 0x20000000u : 0), h.data() + 20);
        return h;
    };
    return header(true) + item + header(false);
}

// Where the last packet (a FLAC frame) starts, as ffprobe finds it.
qint64 lastPacketOffset(const QString &path)
{
    const QStringList lines = testaudio::run("ffprobe", {"-v", "error", "-select_streams", "a:0", "-show_entries",
                                                         "packet=pos", "-of", "csv=p=0", path})
                                  .split('\n', Qt::SkipEmptyParts);
    return lines.isEmpty() ? -1 : lines.last().trimmed().toLongLong();
}

}  // namespace

class TestFileRepair : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString path(const QString &name) const { return m_dir.filePath(name); }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        using fixtures::Signal;
        QVERIFY(fixtures::makeWithFfmpeg(path("tone.wav"), Signal::Tone1k, 44100, 2, 2.0, {"-c:a", "pcm_s16le"}));
        QVERIFY(fixtures::makeWithFfmpeg(path("tone.mp3"), Signal::Tone1k, 44100, 2, 2.0, {"-c:a", "libmp3lame", "-b:a", "128k"}));
        QVERIFY(fixtures::makeWithFfmpeg(path("tone.flac"), Signal::Tone1k, 44100, 2, 2.0, {"-c:a", "flac"}));
        QVERIFY(fixtures::makeWithFfmpeg(path("tone.ogg"), Signal::Tone1k, 44100, 2, 2.0, {"-c:a", "libvorbis"}));
    }

    // Every corpus file, cut at many points and with bits flipped, through the repair of
    // every format: refused or repaired, never longer, and a repaired file is left as it is
    // by a second repair. A killed recording as it was left is repaired as its own format;
    // a crafted header is refused.
    void damagedFilesAreRefusedOrRepairedOnce()
    {
        const QDir corpus(QStringLiteral(TAVRIN_SOURCE_DIR "/tests/engine/file/repair_corpus"));
        const QStringList names = corpus.entryList(QDir::Files, QDir::Name);
        int repaired = 0, refused = 0;
        for (const QString &name : names) {
            const std::optional<RepairFormat> own = formatOfSuffix(QFileInfo(name).suffix());
            if (!own)
                continue;
            const QByteArray original = readBytes(corpus.filePath(name));
            QVERIFY2(!original.isEmpty(), qPrintable(name));
            std::vector<std::pair<QString, QByteArray>> variants{{QStringLiteral("as it is"), original}};
            const qint64 n = original.size();
            for (int i = 0; i < 64; ++i)
                variants.emplace_back(QStringLiteral("cut to %1").arg(n * i / 64), original.left(n * i / 64));
            for (qint64 cut = 1; cut <= std::min<qint64>(24, n); ++cut)
                variants.emplace_back(QStringLiteral("cut to %1").arg(n - cut), original.left(n - cut));
            // Half of the flips in the headers, half anywhere.
            QRandomGenerator random(qChecksum(name.toUtf8()));
            for (int i = 0; i < 64; ++i) {
                QByteArray bytes = original;
                QStringList where;
                for (int flips = 1 + random.bounded(3); flips > 0; --flips) {
                    const qint64 at = i % 2 ? random.bounded(n) : random.bounded(std::min<qint64>(n, 256));
                    const int bit = random.bounded(8);
                    bytes[at] = char(uchar(bytes[at]) ^ (1 << bit));
                    where << QStringLiteral("%1.%2").arg(at).arg(bit);
                }
                variants.emplace_back(QStringLiteral("bits flipped at ") + where.join(' '), bytes);
            }

            for (const auto &[what, bytes] : variants) {
                for (const RepairFormat format : kAllFormats) {
                    const QString row = QStringLiteral("%1 %2 as %3").arg(name, what, file::repairFormatName(format));
                    QByteArray result;
                    try {
                        result = file::repairBytes(bytes, format);
                    } catch (const EngineError &e) {
                        QVERIFY2(!(what == QLatin1String("as it is") && format == *own && !name.startsWith("crafted")),
                                 qPrintable(row + ": " + e.text()));
                        ++refused;
                        continue;
                    }
                    QVERIFY2(!(what == QLatin1String("as it is") && name.startsWith("crafted")), qPrintable(row));
                    QVERIFY2(result.size() <= bytes.size(), qPrintable(row));
                    try {
                        QVERIFY2(file::repairBytes(result, format) == result, qPrintable(row + ": changed again"));
                    } catch (const EngineError &e) {
                        QFAIL(qPrintable(row + ": refused once repaired: " + e.text()));
                    }
                    ++repaired;
                }
            }
        }
        QVERIFY(repaired > 0);
        qInfo("%d repaired, %d refused", repaired, refused);
    }

    // A refused file is left exactly as it was: crafted headers whose lengths run past
    // what they belong to, a file of another format than expected, a symbolic link.
    void refusedFilesAreLeftAsTheyWere_data()
    {
        QTest::addColumn<QString>("corpusFile");
        QTest::addColumn<int>("expected");   // a RepairFormat, -1 for none
        QTest::addColumn<bool>("throughLink");
        QTest::addColumn<QString>("reason");
        QTest::newRow("second stream information block") << "crafted-streaminfo.flac" << int(RepairFormat::Flac) << false
                                                         << "its metadata is damaged";
        QTest::newRow("xing tag longer than its frame") << "crafted-xing.mp3" << int(RepairFormat::Mp3) << false
                                                        << "its header frame is damaged";
        QTest::newRow("wav expected to be flac") << "killed.wav" << int(RepairFormat::Flac) << false
                                                 << "it is not a FLAC file";
        QTest::newRow("symbolic link") << "killed.wav" << -1 << true << "it is a symbolic link";
    }
    void refusedFilesAreLeftAsTheyWere()
    {
        QFETCH(QString, corpusFile);
        QFETCH(int, expected);
        QFETCH(bool, throughLink);
        QFETCH(QString, reason);
        const QString file = path(QStringLiteral("refused-") + corpusFile);
        QFile::remove(file);
        QVERIFY(QFile::copy(QStringLiteral(TAVRIN_SOURCE_DIR "/tests/engine/file/repair_corpus/") + corpusFile, file));
        QVERIFY(QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner));
        const QByteArray before = readBytes(file);
        const QString link = file + QStringLiteral(".link");
        QFile::remove(link);
        QVERIFY(QFile::link(file, link));
        const QString named = throughLink ? link : file;
        try {
            if (expected >= 0) {
                const int fd = ::open(QFile::encodeName(named).constData(), O_RDWR | O_CLOEXEC);
                QVERIFY(fd >= 0);
                const struct Closer {
                    int fd;
                    ~Closer() { ::close(fd); }
                } closer{fd};
                file::repairOpenFile(fd, named, RepairFormat(expected));
            } else {
                file::repairFile(named);
            }
            QFAIL("the repair did not refuse");
        } catch (const EngineError &e) {
            QCOMPARE(e.text(), QStringLiteral("Cannot repair %1: %2").arg(named, reason));
        }
        QVERIFY(readBytes(file) == before);
    }

    // Tags after the audio stay there, byte for byte, and are not taken for audio: a file
    // with them repairs to what it repairs to without them, followed by them (a complete
    // file is not changed at all). A FLAC file that ends inside a frame header keeps the
    // whole frame before it. Either way the audio that decodes is what decoded before, but
    // for what a decoder makes of a frame or page cut short (`slack` frames at most), and
    // the header says as much.
    void repairKeepsTagsAndWholeFrames_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<int>("cut");           // bytes cut off the end of the audio
        QTest::addColumn<int>("headerBytes");   // or: bytes of the last frame's header kept
        QTest::addColumn<QByteArray>("tags");
        QTest::addColumn<int>("slack");
        const QByteArray id3 = id3v1Tag();
        const QByteArray ape = apeTag();
        QTest::newRow("complete wav, ID3v1") << "tone.wav" << 0 << -1 << id3 << 0;
        QTest::newRow("wav cut inside a frame, APE and ID3v1") << "tone.wav" << 3 << -1 << ape + id3 << 0;
        QTest::newRow("wav cut, APE") << "tone.wav" << 4000 << -1 << ape << 0;
        QTest::newRow("complete mp3, APE and ID3v1") << "tone.mp3" << 0 << -1 << ape + id3 << 0;
        QTest::newRow("mp3 cut inside a frame, ID3v1") << "tone.mp3" << 100 << -1 << id3 << 1152;
        QTest::newRow("complete flac, ID3v1") << "tone.flac" << 0 << -1 << id3 << 0;
        QTest::newRow("flac cut inside a frame, ID3v1") << "tone.flac" << 333 << -1 << id3 << 0;
        QTest::newRow("flac ends 1 byte into a header") << "tone.flac" << 0 << 1 << QByteArray() << 0;
        QTest::newRow("flac ends 2 bytes into a header") << "tone.flac" << 0 << 2 << QByteArray() << 0;
        QTest::newRow("flac ends 4 bytes into a header") << "tone.flac" << 0 << 4 << QByteArray() << 0;
        QTest::newRow("flac ends 5 bytes into a header, ID3v1") << "tone.flac" << 0 << 5 << id3 << 0;
        QTest::newRow("ogg cut inside a page, ID3v1") << "tone.ogg" << 100 << -1 << id3 << 2048;
    }
    void repairKeepsTagsAndWholeFrames()
    {
        QFETCH(QString, source);
        QFETCH(int, cut);
        QFETCH(int, headerBytes);
        QFETCH(QByteArray, tags);
        QFETCH(int, slack);
        const QByteArray complete = readBytes(path(source));
        QVERIFY(!complete.isEmpty());
        qint64 keep = complete.size() - cut;
        if (headerBytes >= 0) {
            const qint64 last = lastPacketOffset(path(source));
            QVERIFY(last > 0);
            keep = last + headerBytes;
        }
        const QByteArray audio = complete.left(keep);
        const QString suffix = QFileInfo(source).suffix();
        const QString asLeft = path(QStringLiteral("as-left.") + suffix);
        const QString file = path(QStringLiteral("tagged.") + suffix);
        QVERIFY(writeBytes(asLeft, audio));
        QVERIFY(writeBytes(file, audio + tags));
        const qint64 decodedAsLeft = fixtures::ffmpegDecodedFrames(asLeft, 2);
        QVERIFY(decodedAsLeft > 0);

        file::repairFile(file);
        const QByteArray repaired = readBytes(file);
        QVERIFY(repaired.endsWith(tags));
        QVERIFY(repaired == file::repairBytes(audio, *formatOfSuffix(suffix)) + tags);
        if (keep == complete.size())
            QVERIFY(repaired == audio + tags);
        const qint64 decoded = fixtures::ffmpegDecodedFrames(file, 2);
        QVERIFY2(decoded <= decodedAsLeft && decoded >= decodedAsLeft - slack,
                 qPrintable(QStringLiteral("%1 decode, %2 before").arg(decoded).arg(decodedAsLeft)));
        FfmpegAudioFile reader;
        reader.Open(file, 0, 1);
        QCOMPARE(reader.GetErrorCode(), 0);
        QVERIFY2(std::abs(reader.GetNumSamples() - decoded) <= slack,
                 qPrintable(QStringLiteral("%1 in the header, %2 decode").arg(reader.GetNumSamples()).arg(decoded)));
    }
};

QTEST_GUILESS_MAIN(TestFileRepair)
#include "tst_file_repair.moc"
