// Bad input never crashes the file component. Reading: a missing, empty, unreadable,
// mislabelled or undecodable file gives a quiet error code; a truncated or damaged file
// plays what is decodable. Writing: a missing folder, a path that cannot be a file, no
// permission or a full disk throw EngineError with the path and the system's reason, and
// what was written before the failure stays readable.
#include "common/test_audio.h"
#include "engine/file/ffmpeg_audio_file.h"
#include "engine/tags/taglib_information.h"
#include "file_fixtures.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

#include <csignal>
#include <cstring>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace engine;

namespace {

QByteArray randomBytes(int size, quint32 variant)
{
    QRandomGenerator rng(variant);
    QByteArray bytes(size, '\0');
    for (char &c : bytes)
        c = char(rng.bounded(256));
    return bytes;
}

// Starts a new measure of the peak memory: from now on the peak is the current size.
bool resetPeakMemory()
{
    QFile f(QStringLiteral("/proc/self/clear_refs"));
    return f.open(QIODevice::WriteOnly) && f.write("5") == 1;
}

// The most memory the process held (kB) since the last reset, or since it started.
qint64 peakMemoryKb()
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (f.open(QIODevice::ReadOnly | QIODevice::Text))
        for (const QByteArray &line : f.readAll().split('\n'))
            if (line.startsWith("VmHWM:"))
                return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

QByteArray readBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A failed open leaves a component that answers everything quietly.
void checkNothingOpen(FfmpegAudioFile &file)
{
    QCOMPARE(file.GetNumSamples(), 0);
    QCOMPARE(file.GetFormatValueA(), 0);
    QCOMPARE(file.GetFormatValueB(), 0);
    QVERIFY(file.ReadArray(1000).isEmpty());
    QCOMPARE(file.Seek(1000, 3), 0);
}

// Reads all of an open file and seeks around in it; returns the frames read.
qint64 exercise(FfmpegAudioFile &file)
{
    qint64 frames = 0;
    for (;;) {
        const SampleArray a = file.ReadArray(8820);
        if (a.isEmpty())
            break;
        frames += a.frames();
    }
    const qint64 length = file.GetNumSamples();
    for (const qint64 p : {length / 2, qint64(0), length - 100, length + 10, length / 3}) {
        const qint64 reached = file.Seek(p, 3);
        if (reached < 0 || reached > std::max(length, file.GetNumSamples()))
            return -1;
        file.ReadArray(3000);
    }
    return frames;
}

struct Sample {
    const char *name;
    QStringList codec;
    int rate;
    int channels;
    bool uniform;     // bytes grow evenly with time, headers are small
    bool resilient;   // damage costs only the frames it hits
};

const Sample kSamples[] = {
    {"cbr.mp3", {"-c:a", "libmp3lame", "-b:a", "128k"}, 44100, 2, true, true},
    {"vbr.mp3", {"-c:a", "libmp3lame", "-q:a", "4"}, 44100, 2, false, true},
    {"pcm.wav", {"-c:a", "pcm_s16le"}, 44100, 2, true, true},
    {"adpcm.wav", {"-c:a", "adpcm_ms"}, 22050, 1, true, true},
    {"v2.wma", {"-c:a", "wmav2", "-b:a", "128k"}, 44100, 2, true, true},
    {"v.ogg", {"-c:a", "libvorbis", "-q:a", "4"}, 44100, 2, false, false},
    {"layer2.mp2", {"-c:a", "mp2", "-b:a", "192k"}, 44100, 2, true, true},
    {"pcm.avi", {"-c:a", "pcm_s16le"}, 22050, 1, true, true},
};

const Sample kMusepack = {"tone.mpc", {}, 44100, 2, false, false};

const Sample &sampleNamed(const QString &name)
{
    for (const Sample &s : kSamples)
        if (name == QLatin1String(s.name))
            return s;
    return kMusepack;
}

}  // namespace

class TestFileErrors : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString path(const QString &name) const { return m_dir.filePath(name); }

    // A good file of each kind, made once: a tone (to check what plays) or noise (a
    // realistic amount of data to damage).
    QString sampleFile(const Sample &s, fixtures::Signal signal = fixtures::Signal::Tone1k)
    {
        const QString kind = signal == fixtures::Signal::Tone1k ? QStringLiteral("tone-") : QStringLiteral("noise-");
        const QString file = path(QStringLiteral("good-") + kind + QLatin1String(s.name));
        if (!QFile::exists(file)) {
            QString error;
            const bool made = &s == &kMusepack
                                  ? fixtures::makeMusepack(file, signal, 4.0, &error)
                                  : fixtures::makeWithFfmpeg(file, signal, s.rate, s.channels, 4.0, s.codec, &error);
            if (!made)
                qWarning("%s", qPrintable(error));
        }
        return file;
    }

private slots:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    // ---- reading ----

    void unusableFilesGiveAQuietErrorCode_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("content");   // "<dir>" makes a directory, "<none>" nothing
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("reason");
        QTest::newRow("missing file") << "missing.mp3" << QByteArray("<none>") << 1 << "No such file or directory";
        QTest::newRow("directory") << "folder.mp3" << QByteArray("<dir>") << 2 << "Is a directory";
        QTest::newRow("empty file") << "empty.mp3" << QByteArray() << 4 << "The file is empty";
        QTest::newRow("empty WAV") << "empty.wav" << QByteArray() << 4 << "The file is empty";
        QTest::newRow("text named .mp3") << "text.mp3" << QByteArray("Just some words, no sound at all.\n") << 5 << "";
        for (const int size : {1, 100, 3000, 65536, 400000}) {
            for (const char *suffix : {"mp3", "wav", "wma", "ogg", "mpc", "avi", "mp2"}) {
                QTest::addRow("%d random bytes named .%s", size, suffix)
                    << QStringLiteral("random-%1.%2").arg(size).arg(QLatin1String(suffix))
                    << randomBytes(size, quint32(size) * 7 + quint32(qHash(QByteArray(suffix)))) << 5 << "";
            }
        }
        QTest::newRow("WAV cut inside its header") << "header.wav" << QByteArray("RIFF\x24\x10\x00\x00WAVEfmt ", 16) << 5 << "";
        QTest::newRow("ID3 tag and nothing else") << "tagonly.mp3" << QByteArray("ID3\x03\x00\x00\x00\x00\x00\x0a", 10) + QByteArray(10, '\0') << 5 << "";
    }
    void unusableFilesGiveAQuietErrorCode()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, content);
        QFETCH(int, code);
        QFETCH(QString, reason);
        const QString file = path(name);
        if (content == "<dir>")
            QVERIFY(QDir().mkpath(file));
        else if (content != "<none>")
            QVERIFY(writeBytes(file, content));

        FfmpegAudioFile reader;
        reader.SetActive(true);
        reader.Open(file, 0, 1);   // never throws
        QCOMPARE(reader.GetErrorCode(), code);
        QVERIFY(reader.GetErrorText().startsWith(QStringLiteral("Cannot open %1: ").arg(file)));
        if (!reason.isEmpty())
            QVERIFY2(reader.GetErrorText().endsWith(reason), qPrintable(reader.GetErrorText()));
        checkNothingOpen(reader);
        reader.Close();
    }

    void unreadableFile()
    {
        if (geteuid() == 0)
            QSKIP("Running as root: permissions do not stop reading");
        const QString file = path("locked.mp3");
        QVERIFY(QFile::copy(sampleFile(kSamples[0]), file));
        QVERIFY(QFile::setPermissions(file, QFileDevice::Permissions()));
        FfmpegAudioFile reader;
        reader.Open(file, 0, 1);
        QCOMPARE(reader.GetErrorCode(), 3);
        QVERIFY(reader.GetErrorText().endsWith(QStringLiteral("Permission denied")));
    }

    // A file cut short opens, is measured as what is there, and plays that.
    void truncatedFilesPlayWhatIsThere_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<double>("fraction");
        for (const Sample &s : kSamples)
            for (const double fraction : {0.5, 0.9371})
                QTest::addRow("%s cut to %.0f %%", s.name, fraction * 100) << QString(QLatin1String(s.name)) << fraction;
        QTest::newRow("tone.mpc cut to 50 %") << "tone.mpc" << 0.5;
    }
    void truncatedFilesPlayWhatIsThere()
    {
        QFETCH(QString, file);
        QFETCH(double, fraction);
        const Sample &sample = sampleNamed(file);
        const QString source = sampleFile(sample);
        const QByteArray whole = readBytes(source);
        QVERIFY(!whole.isEmpty());
        const QString cut = path(QStringLiteral("cut-%1-%2").arg(fraction).arg(file));
        QVERIFY(writeBytes(cut, whole.left(qsizetype(whole.size() * fraction))));

        FfmpegAudioFile full;
        full.Open(source, 0, 1);
        FfmpegAudioFile reader;
        reader.Open(cut, 0, 1);
        QCOMPARE(reader.GetErrorCode(), 0);
        const qint64 length = reader.GetNumSamples();
        QVERIFY(length > 0);
        QVERIFY(length < full.GetNumSamples());
        const int channels = reader.GetFormatValueB();
        const std::vector<float> all = fixtures::readAll(reader);
        QCOMPARE(qint64(all.size()) / channels, reader.GetNumSamples());
        // Where bytes grow evenly with time: within a few packets of what the bytes hold.
        const double expected = double(full.GetNumSamples()) * fraction;
        if (sample.uniform)
            QVERIFY2(std::abs(double(length) - expected) < 0.06 * full.GetNumSamples() + 8192,
                     qPrintable(QStringLiteral("%1 of about %2").arg(length).arg(expected)));
        QVERIFY(std::abs(testaudio::dominantFrequency(testaudio::channel(all, channels, 0), reader.GetFormatValueA(), 4096) - 1000) < 3);
        QCOMPARE(reader.Seek(length - 500, 3), length - 500);
        QCOMPARE(reader.ReadArray(1000).frames(), 500);
    }

    // Damage inside the audio: the file still opens and plays from end to end.
    void damagedFilesPlayThrough_data()
    {
        QTest::addColumn<QString>("file");
        for (const Sample &s : kSamples)
            QTest::newRow(s.name) << QString(QLatin1String(s.name));
        QTest::newRow("tone.mpc") << "tone.mpc";
    }
    void damagedFilesPlayThrough()
    {
        QFETCH(QString, file);
        const Sample &sample = sampleNamed(file);
        const QString source = sampleFile(sample, fixtures::Signal::Noise);
        FfmpegAudioFile original;
        original.Open(source, 0, 1);
        QByteArray bytes = readBytes(source);
        QRandomGenerator rng(99);
        // Leave the first 8 kB (the headers) alone; hit the rest in 20 places.
        const int from = 8192;
        QVERIFY(bytes.size() > 4 * from);
        for (int i = 0; i < 20; ++i)
            bytes[from + rng.bounded(int(bytes.size()) - from)] = char(rng.bounded(256));
        const QString damaged = path("damaged-" + file);
        QVERIFY(writeBytes(damaged, bytes));
        FfmpegAudioFile reader;
        reader.Open(damaged, 0, 1);
        if (!sample.resilient && reader.GetErrorCode() != 0) {
            // FFmpeg cannot read on past damaged Ogg pages: a quiet failure is right.
            QCOMPARE(reader.GetErrorCode(), 5);
            checkNothingOpen(reader);
            return;
        }
        QCOMPARE(reader.GetErrorCode(), 0);
        const qint64 frames = exercise(reader);
        QVERIFY(frames > 0);
        // At least what FFmpeg's own command line gets out of it.
        const qint64 ffmpegFrames = fixtures::ffmpegDecodedFrames(damaged, sample.channels);
        QVERIFY2(frames >= ffmpegFrames - 4096, qPrintable(QStringLiteral("%1 vs %2").arg(frames).arg(ffmpegFrames)));
        if (sample.resilient)
            QVERIFY2(frames > original.GetNumSamples() * 8 / 10,
                     qPrintable(QStringLiteral("%1 of %2").arg(frames).arg(original.GetNumSamples())));
    }

    // Random damage anywhere, headers included: whatever the outcome, no crash and
    // consistent answers.
    void fuzzedFilesNeverCrash_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<quint32>("variant");
        for (const Sample &s : kSamples)
            for (quint32 variant = 1; variant <= 12; ++variant)
                QTest::addRow("%s #%u", s.name, variant) << QString(QLatin1String(s.name)) << variant;
        for (quint32 variant = 1; variant <= 12; ++variant)
            QTest::addRow("tone.mpc #%u", variant) << "tone.mpc" << variant;
    }
    void fuzzedFilesNeverCrash()
    {
        QFETCH(QString, file);
        QFETCH(quint32, variant);
        const QString source = sampleFile(sampleNamed(file), fixtures::Signal::Noise);
        QByteArray bytes = readBytes(source);
        QRandomGenerator rng(variant);
        const int hits = 1 + int(rng.bounded(40));
        for (int i = 0; i < hits; ++i) {
            // Half the hits land in the first 4 kB, where the headers are.
            const int limit = rng.bounded(2) ? std::min<int>(4096, int(bytes.size())) : int(bytes.size());
            bytes[rng.bounded(limit)] = char(rng.bounded(256));
        }
        if (rng.bounded(3) == 0)
            bytes.truncate(rng.bounded(int(bytes.size())));
        const QString fuzzed = path(QStringLiteral("fuzz-%1-%2").arg(variant).arg(file));
        QVERIFY(writeBytes(fuzzed, bytes));
        FfmpegAudioFile reader;
        reader.Open(fuzzed, 0, 1);
        if (reader.GetErrorCode() != 0) {
            checkNothingOpen(reader);
            return;
        }
        QVERIFY(exercise(reader) >= 0);
    }

    // Junk after the audio, or a header that promises more than there is.
    void lyingFiles()
    {
        const QString mp3 = path("junk-after.mp3");
        const QByteArray original = readBytes(sampleFile(kSamples[0]));
        QVERIFY(writeBytes(mp3, original + randomBytes(20000, 5)));
        FfmpegAudioFile reader;
        reader.Open(mp3, 0, 1);
        QCOMPARE(reader.GetErrorCode(), 0);
        QVERIFY(exercise(reader) >= 44100 * 4 - 2048);

        QByteArray wav = readBytes(sampleFile(kSamples[2]));
        const int dataAt = wav.indexOf("data");
        QVERIFY(dataAt > 0);
        wav[dataAt + 4] = char(0xF0);
        wav[dataAt + 5] = char(0xFF);
        wav[dataAt + 6] = char(0xFF);
        wav[dataAt + 7] = char(0x7F);   // about 2 GB promised
        const QString liar = path("liar.wav");
        QVERIFY(writeBytes(liar, wav));
        reader.Open(liar, 0, 1);
        QCOMPARE(reader.GetErrorCode(), 0);
        QCOMPARE(reader.GetNumSamples(), (wav.size() - dataAt - 8) / 4);
        QCOMPARE(exercise(reader), (wav.size() - dataAt - 8) / 4);
    }

    // A header may claim any size; what opening costs is bounded by the file itself. An
    // ID3v2 tag that claims 256 MB (syncsafe 0x0FFFFFFF, the most it can) in front of a few
    // frames of MP3, or inside a small WAV file, opens (or fails) without the memory the
    // claim would take.
    void sizeClaimsAreBoundedByTheFile_data()
    {
        QTest::addColumn<QString>("suffix");
        QTest::addColumn<bool>("information");
        QTest::newRow("MP3, file component") << ".mp3" << false;
        QTest::newRow("MP3, information component") << ".mp3" << true;
        QTest::newRow("WAV with an ID3 chunk, information component") << ".wav" << true;
    }
    void sizeClaimsAreBoundedByTheFile()
    {
        QFETCH(QString, suffix);
        QFETCH(bool, information);
        const QByteArray claim("ID3\x03\x00\x00\x7F\x7F\x7F\x7F", 10);
        const auto le32 = [](quint32 v) {
            QByteArray b(4, '\0');
            qToLittleEndian(v, b.data());
            return b;
        };
        QByteArray bytes;
        if (suffix == ".mp3") {
            const QString frames = path("bare-frames.mp3");
            QString error;
            QVERIFY2(fixtures::makeWithFfmpeg(frames, fixtures::Signal::Tone1k, 44100, 2, 0.5,
                                              {"-c:a", "libmp3lame", "-b:a", "128k", "-id3v2_version",
                                               "0", "-write_xing", "0"},
                                              &error),
                     qPrintable(error));
            bytes = claim + readBytes(frames);
        } else {
            // 0.1 s of 16-bit stereo silence, then an "id3 " chunk holding the claim.
            const QByteArray fmt = QByteArray::fromHex("0100020044ac000010b1020004001000");
            const QByteArray tag = claim + QByteArray(100, '\0');
            const QByteArray body = "WAVEfmt " + le32(quint32(fmt.size())) + fmt + "data" +
                                    le32(17640) + QByteArray(17640, '\0') + "id3 " +
                                    le32(quint32(tag.size())) + tag;
            bytes = "RIFF" + le32(quint32(body.size())) + body;
        }
        const QString file = path("huge-tag-claim" + suffix);
        QVERIFY(writeBytes(file, bytes));

        const bool measured = resetPeakMemory();
        const qint64 before = peakMemoryKb();
        QString outcome;
        if (information) {
            TagLibInformation info;
            try {
                info.LoadFromFile(file);
                outcome = QStringLiteral("loaded %1 ms").arg(info.GetDuration());
            } catch (const EngineError &e) {
                outcome = e.text();
                QVERIFY2(e.text().contains(file), qPrintable(e.text()));
            }
        } else {
            FfmpegAudioFile reader;
            reader.Open(file, 0, 1);
            outcome = QStringLiteral("error code %1").arg(reader.GetErrorCode());
            if (reader.GetErrorCode() == 0)
                QVERIFY(exercise(reader) >= 0);
            else
                checkNothingOpen(reader);
        }
        const qint64 grownMb = (peakMemoryKb() - before) / 1024;
        QVERIFY2(grownMb < 64, qPrintable(QStringLiteral("%1 MB more at the peak (%2; peak %3)")
                                              .arg(grownMb).arg(outcome,
                                                   measured ? "reset" : "since start")));
    }

    // Raw G.721 has no header to check: any bytes are a valid stream of it, and play as
    // (noisy) sound rather than failing.
    void anyBytesAreRawG721()
    {
        const QString file = path("noise.g721");
        QVERIFY(writeBytes(file, randomBytes(8000, 3)));
        FfmpegAudioFile reader;
        reader.Open(file, 0, 1);
        QCOMPARE(reader.GetErrorCode(), 0);
        QCOMPARE(reader.GetNumSamples(), 16000);
        QCOMPARE(exercise(reader), 16000);
    }

    // ---- writing ----

    void createFailuresThrow_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("reason");
        const QString file = path("a-regular-file.txt");
        writeBytes(file, "x");
        for (const char *type : {"wav", "mp3", "wma"}) {
            const QString t = QLatin1String(type);
            QTest::addRow("missing folder, %s", type) << path("no/such/folder/out." + t) << t << "No such file or directory";
            QTest::addRow("under a regular file, %s", type) << file + "/out." + t << t << "Not a directory";
            QTest::addRow("a folder, %s", type) << m_dir.path() << t << "Is a directory";
            QTest::addRow("no permission, %s", type) << "/sys/tavrin-out." + t << t << "Permission denied";
            QTest::addRow("full disk, %s", type) << "/dev/full" << t << "No space left on device";
        }
    }
    void createFailuresThrow()
    {
        QFETCH(QString, target);
        QFETCH(QString, type);
        QFETCH(QString, reason);
        if (target.startsWith(QLatin1String("/sys/")) && QFileInfo(QStringLiteral("/sys")).isWritable()
            && geteuid() != 0)
            QSKIP("/sys is writable here");
        if (target == QLatin1String("/dev/full") && !QFile::exists(target))
            QSKIP("No /dev/full here");
        FfmpegAudioFile writer;
        writer.SetActive(true);
        // The type comes from the parameters set last when the name has no known extension.
        writer.SetMp3Format(44100, 128, 2);
        writer.SetWmaProfile(38);
        writer.SetWavFormat(44100, 2, 16);
        if (type == QLatin1String("mp3"))
            writer.SetMp3Format(44100, 128, 2);
        else if (type == QLatin1String("wma"))
            writer.SetWmaProfile(38);
        try {
            writer.Create(target, 0);
            QFAIL("Create did not throw");
        } catch (const EngineError &e) {
            QCOMPARE(e.text(), QStringLiteral("Cannot create %1: %2").arg(target, reason));
        }
        QCOMPARE(writer.GetNumSamples(), 0);
        // The component is ready for the next file.
        const QString good = path("after-failure." + type);
        writer.Create(good, 0);
        fixtures::writeTone(writer, 1000, 0.4, writer.GetFormatValueA(), writer.GetFormatValueB());
        writer.Close();
        FfmpegAudioFile reader;
        reader.Open(good, 0, 1);
        QCOMPARE(reader.GetErrorCode(), 0);
    }

    // A recording meets the end of its room: the file system's size limit (a process file
    // size limit stands in for FAT32's 4 GB) throws FileLimitError and leaves the file
    // complete up to that block, with everything the encoder held, so that the next file,
    // begun with that block, joins it without a gap; a full disk (a small tmpfs) throws
    // EngineError with the system's reason. Either way Close completes quietly, and the file
    // ends on a whole frame or packet with a header that gives the length that decodes.
    void fullDiskKeepsWhatWasWritten_data()
    {
        QTest::addColumn<QString>("suffix");
        QTest::addColumn<bool>("sizeLimit");
        for (const char *suffix : {".wav", ".mp3", ".wma"}) {
            QTest::addRow("%s at the size limit", suffix + 1) << suffix << true;
            QTest::addRow("%s on a full disk", suffix + 1) << suffix << false;
        }
        QTest::addRow("flac at the size limit") << ".flac" << true;
    }
    void fullDiskKeepsWhatWasWritten()
    {
        QFETCH(QString, suffix);
        QFETCH(bool, sizeLimit);
        const qint64 limit = 300 * 1024;
        QString folder = path(QStringLiteral("room"));
        if (!sizeLimit) {
            folder = path(QStringLiteral("small-disk") + suffix);
            QVERIFY(QDir().mkpath(folder));
            const QByteArray options = "size=" + QByteArray::number(limit);
            if (::mount("tmpfs", QFile::encodeName(folder).constData(), "tmpfs", 0, options.constData()) != 0)
                QSKIP(qPrintable(QStringLiteral("no small disk to fill: mount: %1").arg(QString::fromLocal8Bit(strerror(errno)))));
        }
        const auto unmount = qScopeGuard([&] {
            if (!sizeLimit)
                ::umount2(QFile::encodeName(folder).constData(), MNT_DETACH);
        });
        QVERIFY(QDir().mkpath(folder));
        const QString file = folder + QStringLiteral("/limited") + suffix;
        const QString nextFile = folder + QStringLiteral("/limited 2") + suffix;
        const std::vector<float> tone = testaudio::tone(1000, 30, 44100, 2);
        constexpr qint64 block = 8820;
        int pipeFds[2];
        QVERIFY(pipe(pipeFds) == 0);
        const pid_t child = fork();
        QVERIFY(child >= 0);
        if (child == 0) {
            ::close(pipeFds[0]);
            if (sizeLimit) {
                signal(SIGXFSZ, SIG_IGN);
                const rlimit rl{rlim_t(limit), rlim_t(limit)};
                setrlimit(RLIMIT_FSIZE, &rl);
            }
            QByteArray report;
            try {
                FfmpegAudioFile writer;
                writer.SetWavFormat(44100, 2, 16);
                writer.SetMp3Format(44100, 128, 2);
                writer.SetWmaProfile(38);
                writer.Create(file, 0);
                qint64 accepted = 0;
                try {
                    for (; accepted + block <= qint64(tone.size()) / 2; accepted += block)
                        writer.WriteArray(SampleArray::fromFloat(tone.data() + accepted * 2, block, 44100, 2));
                    report = "no failure";
                } catch (const FileLimitError &e) {
                    report = e.text().toUtf8() + "|limit";
                    // The refused block and a second more begin the next file.
                    FfmpegAudioFile next;
                    next.SetWavFormat(44100, 2, 16);
                    next.SetMp3Format(44100, 128, 2);
                    next.SetWmaProfile(38);
                    next.Create(nextFile, 0);
                    for (qint64 at = accepted; at < accepted + 44100; at += block)
                        next.WriteArray(SampleArray::fromFloat(tone.data() + at * 2, block, 44100, 2));
                    next.Close();
                } catch (const EngineError &e) {
                    report = e.text().toUtf8() + "|error";
                }
                report += "|" + QByteArray::number(accepted);
                try {
                    writer.Close();
                    report += "|closed";
                } catch (const EngineError &e) {
                    report += "|close threw: " + e.text().toUtf8();
                }
            } catch (const std::exception &e) {
                report = QByteArray("unexpected: ") + e.what();
            }
            (void)!::write(pipeFds[1], report.constData(), size_t(report.size()));
            _exit(0);
        }
        ::close(pipeFds[1]);
        QByteArray report;
        char buffer[512];
        ssize_t n = 0;
        while ((n = ::read(pipeFds[0], buffer, sizeof buffer)) > 0)
            report.append(buffer, n);
        ::close(pipeFds[0]);
        int status = 0;
        waitpid(child, &status, 0);
        QVERIFY(WIFEXITED(status));
        const QList<QByteArray> parts = report.split('|');
        QVERIFY2(parts.size() == 4, report.constData());
        const qint64 accepted = parts[2].toLongLong();
        QCOMPARE(QString::fromUtf8(parts[0] + "|" + parts[1] + "|" + parts[3]),
                 QStringLiteral("Cannot write %1: %2|closed")
                     .arg(file, sizeLimit ? QStringLiteral("File too large|limit")
                                          : QStringLiteral("No space left on device|error")));

        QVERIFY(QFileInfo(file).size() <= limit);
        FfmpegAudioFile reader;
        reader.Open(file, 0, 1);
        QCOMPARE(reader.GetErrorCode(), 0);
        QVERIFY2(reader.GetNumSamples() > 44100, qPrintable(QString::number(reader.GetNumSamples())));
        const std::vector<float> all = fixtures::readAll(reader);
        QCOMPARE(qint64(all.size()) / 2, reader.GetNumSamples());
        QVERIFY(std::abs(testaudio::dominantFrequency(testaudio::channel(all, 2, 0), 44100, 4096) - 1000) < 3);
        if ((suffix == QLatin1String(".wav") || suffix == QLatin1String(".flac")) && sizeLimit) {
            // Exactly the blocks before the one that did not fit: it goes into the next file.
            QCOMPARE(reader.GetNumSamples(), accepted);
            QVERIFY(fixtures::maxDifference(all.data(), tone.data(), all.size()) < 2.0 / 32768);
        }
        if (sizeLimit && suffix != QLatin1String(".wma")) {
            // Across the join the two files decode to the sound written, sample for sample
            // in place: a gap of even a millisecond would put the tone out of step.
            FfmpegAudioFile second;
            second.Open(nextFile, 0, 1);
            QCOMPARE(second.GetErrorCode(), 0);
            std::vector<float> joined = all;
            const std::vector<float> rest = fixtures::readAll(second);
            joined.insert(joined.end(), rest.begin(), rest.end());
            QVERIFY2(std::abs(qint64(joined.size()) / 2 - (accepted + 44100)) <= 64,
                     qPrintable(QStringLiteral("%1 frames for %2").arg(joined.size() / 2).arg(accepted + 44100)));
            const qint64 from = std::max<qint64>(0, accepted - 4410), to = std::min<qint64>(qint64(joined.size()) / 2, accepted + 4410);
            double error = 0, signal = 0;
            for (qint64 i = from * 2; i < to * 2; ++i) {
                error += double(joined[size_t(i)] - tone[size_t(i)]) * (joined[size_t(i)] - tone[size_t(i)]);
                signal += double(tone[size_t(i)]) * tone[size_t(i)];
            }
            const double snr = 10 * std::log10(signal / std::max(error, 1e-12));
            qInfo("%s: %lld frames before the limit, the join decodes at %.1f dB signal to error", qPrintable(suffix),
                  accepted, snr);
            QVERIFY2(snr > 20, qPrintable(QString::number(snr)));
        }
        const double decoded = double(fixtures::ffmpegDecodedFrames(file, 2)) / 44100;
        const double header = testaudio::probe(file, QStringLiteral("duration")).toDouble();
        QVERIFY2(std::abs(header - decoded) < 0.1, qPrintable(QStringLiteral("header %1 s, decodes %2 s").arg(header).arg(decoded)));
        QVERIFY2(std::abs(double(reader.GetNumSamples()) / 44100 - decoded) < 0.1, qPrintable(QString::number(decoded)));
        if (suffix == QLatin1String(".wma")) {
            // Whole packets, as many as the header and the data object say.
            const QByteArray bytes = readBytes(file);
            const int properties = bytes.indexOf(QByteArray::fromHex("a1dcab8c47a9cf118ee400c00c205365"));
            const int data = bytes.indexOf(QByteArray::fromHex("3626b2758e66cf11a6d900aa0062ce6c"));
            QVERIFY(properties > 0 && data > properties);
            const qint64 packetSize = qFromLittleEndian<quint32>(bytes.constData() + properties + 92);
            const qint64 packets = (bytes.size() - data - 50) / packetSize;
            QCOMPARE((bytes.size() - data - 50) % packetSize, 0);
            QCOMPARE(qint64(qFromLittleEndian<quint64>(bytes.constData() + properties + 56)), packets);
            QCOMPARE(qint64(qFromLittleEndian<quint64>(bytes.constData() + data + 16)), bytes.size() - data);
            QCOMPARE(qint64(qFromLittleEndian<quint64>(bytes.constData() + data + 40)), packets);
        }
    }
};

QTEST_GUILESS_MAIN(TestFileErrors)
#include "tst_file_errors.moc"
