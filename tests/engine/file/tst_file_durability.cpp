// A recording survives what can happen to it while it is written: the program killed at
// any moment (what was captured up to a second before is in the file, and RepairFile
// then gives it a header with its true length), a file that cannot be repaired (left as
// it was), and its folder removed under it (MoveOpenFile carries it on elsewhere).
#include "common/test_audio.h"
#include "engine/file/ffmpeg_audio_file.h"
#include "file_fixtures.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace engine;

namespace {

constexpr int kRate = 44100;
constexpr int kChannels = 2;
constexpr qint64 kBlock = kRate / 5;

QByteArray readBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// What FFmpeg decodes, at the file's own rate (Opus is written at 48000 Hz).
double decodedSeconds(const QString &path)
{
    return double(fixtures::ffmpegDecodedFrames(path, kChannels)) / testaudio::probe(path, "sample_rate").toInt();
}

}  // namespace

class TestFileDurability : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString path(const QString &name) const { return m_dir.filePath(name); }

private slots:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    // A recording killed outright (SIGKILL) after a few seconds: the file as left
    // decodes to within a second of what had been captured, and once repaired its header
    // gives the length that decodes. Some files are also cut inside their last frame or
    // page, as a kill in the middle of a write would leave them.
    void killedRecordingIsKeptAndRepaired_data()
    {
        QTest::addColumn<QString>("suffix");
        QTest::addColumn<int>("cut");   // bytes cut off the end before the repair
        QTest::newRow("wav") << "wav" << 0;
        QTest::newRow("mp3") << "mp3" << 0;
        QTest::newRow("wma") << "wma" << 0;
        QTest::newRow("flac") << "flac" << 0;
        QTest::newRow("ogg") << "ogg" << 0;
        QTest::newRow("opus") << "opus" << 0;
        QTest::newRow("flac cut inside a frame") << "flac" << 333;
        QTest::newRow("ogg cut inside a page") << "ogg" << 100;
        QTest::newRow("opus cut inside a page") << "opus" << 100;
    }
    void killedRecordingIsKeptAndRepaired()
    {
        QFETCH(QString, suffix);
        QFETCH(int, cut);
        const QString file = path(QStringLiteral("killed-%1.").arg(cut) + suffix);
        QProcess child;
        child.start(QStringLiteral(FILE_WRITE_CHILD), {file});
        QVERIFY(child.waitForStarted(10000));
        // Kill it between two blocks, three and a bit seconds in.
        qint64 handedOver = 0;
        QElapsedTimer clock;
        clock.start();
        while (handedOver < 3 * kRate && clock.elapsed() < 20000) {
            child.waitForReadyRead(1000);
            while (child.canReadLine())
                handedOver = child.readLine().trimmed().toLongLong();
        }
        QThread::msleep(90);
        child.kill();
        QVERIFY(child.waitForFinished(10000));
        QCOMPARE(child.exitStatus(), QProcess::CrashExit);
        for (const QByteArray &line : child.readAllStandardOutput().split('\n'))
            if (!line.trimmed().isEmpty())
                handedOver = line.trimmed().toLongLong();
        QVERIFY2(handedOver >= 3 * kRate, child.readAllStandardError().constData());
        const double captured = double(handedOver) / kRate;
        if (cut > 0) {
            QFile f(file);
            QVERIFY(f.resize(f.size() - cut));
        }

        const double asLeft = decodedSeconds(file);
        QVERIFY2(asLeft >= captured - 1.0, qPrintable(QStringLiteral("%1 s of %2 s").arg(asLeft).arg(captured)));

        FfmpegAudioFile repairer;
        repairer.RepairFile(file);
        const double header = testaudio::probe(file, "duration").toDouble();
        const double decoded = decodedSeconds(file);
        QVERIFY2(decoded >= asLeft - 0.05, qPrintable(QStringLiteral("%1 s, %2 s before").arg(decoded).arg(asLeft)));
        QVERIFY2(std::abs(header - decoded) < 0.1,
                 qPrintable(QStringLiteral("header %1 s, decodes %2 s").arg(header).arg(decoded)));
        FfmpegAudioFile reader;
        reader.Open(file, 0, 1);
        QCOMPARE(reader.GetErrorCode(), 0);
        QVERIFY2(std::abs(double(reader.GetNumSamples()) / reader.GetFormatValueA() - decoded) < 0.1,
                 qPrintable(QString::number(reader.GetNumSamples())));
        // Repaired once, the file is complete: a second repair leaves it as it is.
        const QByteArray repaired = readBytes(file);
        repairer.RepairFile(file);
        QVERIFY(readBytes(file) == repaired);
        qInfo("%s killed after %.2f s captured%s: %.2f s decodable as left (%.2f s lost); "
              "after repair the header says %.3f s and %.3f s decode",
              qPrintable(suffix), captured, cut ? qPrintable(QStringLiteral(", %1 bytes cut").arg(cut)) : "", asLeft,
              captured - asLeft, header, decoded);
    }

    // Files that cannot be repaired are refused with a reason and left exactly as they
    // were; complete files need no repair and are left as they were too.
    void repairLeavesWhatItCannotOrNeedNotChange_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("reason");   // empty: repaired without complaint
        const QString wma = path("complete.wma");
        QVERIFY(!testaudio::makeWithFfmpeg(wma, "sine=frequency=1000:duration=2").isEmpty());
        QVERIFY(!testaudio::makeWithFfmpeg(path("complete.mp3"), "sine=frequency=1000:duration=2").isEmpty());
        QVERIFY(!testaudio::makeWithFfmpeg(path("complete.wav"), "sine=frequency=1000:duration=2").isEmpty());
        QVERIFY(fixtures::makeWithFfmpeg(path("complete.flac"), fixtures::Signal::Tone1k, 44100, 2, 2.0, {"-c:a", "flac"}));
        QVERIFY(fixtures::makeWithFfmpeg(path("complete.ogg"), fixtures::Signal::Tone1k, 44100, 2, 2.0, {"-c:a", "libvorbis"}));
        QVERIFY(fixtures::makeWithFfmpeg(path("complete.opus"), fixtures::Signal::Tone1k, 48000, 2, 2.0, {"-c:a", "libopus"}));
        const QByteArray asf = readBytes(wma);
        QTest::newRow("text") << "notes.wav" << QByteArray("Shopping list\n") << "it is not a WAV, MP3, WMA, FLAC or Ogg file";
        QTest::newRow("asf header cut") << "cut.wma" << asf.left(200) << "its header is cut short";
        QTest::newRow("mp3 without frames") << "noise.mp3" << QByteArray("ID3\x03\0\0\0\0\0\0", 10) + QByteArray(5000, '\x55')
                                            << "it holds no MPEG audio frames";
        QTest::newRow("mp3 cut in its first frame") << "first.mp3" << readBytes(path("complete.mp3")).left(100)
                                                   << "it holds no whole MPEG audio frame";
        QTest::newRow("wav without data") << "fmt.wav" << readBytes(path("complete.wav")).left(36) << "it has no data chunk";
        QTest::newRow("flac without stream information") << "nostreaminfo.flac" << readBytes(path("complete.flac")).left(4) + QByteArray("\x84\0\0\x10", 4) + QByteArray(2000, '\x11')
                                                         << "it has no stream information block";
        QTest::newRow("flac metadata cut") << "metadata.flac" << readBytes(path("complete.flac")).left(30) << "its metadata is cut short";
        QTest::newRow("ogg without a whole page") << "first.ogg" << readBytes(path("complete.ogg")).left(40) << "it holds no whole Ogg page";
        QTest::newRow("complete wav") << "complete.wav" << QByteArray() << QString();
        QTest::newRow("complete flac") << "complete.flac" << QByteArray() << QString();
        QTest::newRow("complete ogg") << "complete.ogg" << QByteArray() << QString();
        QTest::newRow("complete opus") << "complete.opus" << QByteArray() << QString();
        QTest::newRow("complete mp3") << "complete.mp3" << QByteArray() << QString();
        QTest::newRow("complete wma") << "complete.wma" << QByteArray() << QString();
    }
    void repairLeavesWhatItCannotOrNeedNotChange()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, reason);
        const QString file = path(name);
        if (!bytes.isEmpty()) {
            QFile f(file);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(bytes);
        }
        const QByteArray before = readBytes(file);
        FfmpegAudioFile repairer;
        try {
            repairer.RepairFile(file);
            QVERIFY2(reason.isEmpty(), "RepairFile did not throw");
        } catch (const EngineError &e) {
            QCOMPARE(e.text(), QStringLiteral("Cannot repair %1: %2").arg(file, reason));
        }
        QVERIFY(readBytes(file) == before);
    }

    // The folder of a recording is removed while it runs: the file lives on unlinked,
    // MoveOpenFile copies it elsewhere while blocks keep coming, and the new file holds
    // every block exactly once. On a disk that cannot hold the recording twice the copy
    // still fits: what is copied is given back as the copy goes. Where the file still has
    // a name (kept elsewhere), the move is one more link at once. A name that is taken is
    // never written over.
    void movedRecordingKeepsEveryBlock_data()
    {
        QTest::addColumn<QString>("suffix");
        QTest::addColumn<QString>("how");
        QTest::newRow("wav") << "wav" << "copy";
        QTest::newRow("mp3") << "mp3" << "copy";
        QTest::newRow("wav on a disk too small for two") << "wav" << "small disk";
        QTest::newRow("wav with a name kept elsewhere") << "wav" << "link";
    }
    void movedRecordingKeepsEveryBlock()
    {
        QFETCH(QString, suffix);
        QFETCH(QString, how);
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        QString disk = m_dir.path();
        if (how == "small disk") {
            // 4 s of 44.1 kHz stereo WAV is 706 KB: twice that does not fit.
            disk = path("small-disk");
            QVERIFY(QDir().mkpath(disk));
            if (::mount("tmpfs", QFile::encodeName(disk).constData(), "tmpfs", 0, "size=1000k") != 0)
                QSKIP("no small disk to fill");
        }
        const auto unmount = qScopeGuard([&] {
            if (how == "small disk")
                ::umount2(QFile::encodeName(disk).constData(), MNT_DETACH);
        });
        const QString file = (how == "small disk" ? disk + "/rec" : folder.path()) + "/moving." + suffix;
        QVERIFY(QDir().mkpath(QFileInfo(file).path()));
        const QString kept = disk + "/kept." + suffix;
        const QString moved = disk + "/moved." + suffix;
        const std::vector<float> tone = testaudio::tone(1000, 4, kRate, kChannels);
        const qint64 frames = qint64(tone.size()) / kChannels;
        FfmpegAudioFile writer;
        writer.SetWavFormat(kRate, kChannels, 16);
        writer.SetMp3Format(kRate, 128, kChannels);
        writer.Create(file, 0);
        qint64 at = 0;
        auto writeBlocks = [&](qint64 until) {
            for (; at < until; at += kBlock)
                writer.WriteArray(SampleArray::fromFloat(tone.data() + at * kChannels, kBlock, kRate, kChannels));
        };
        writeBlocks(frames / 2);
        if (how == "link")
            QVERIFY(::link(QFile::encodeName(file).constData(), QFile::encodeName(kept).constData()) == 0);
        QVERIFY(QDir(QFileInfo(file).path()).removeRecursively());
        QVERIFY(!QFile::exists(file));
        // Taken: refused, and left as it was.
        QFile taken(moved);
        QVERIFY(taken.open(QIODevice::WriteOnly) && taken.write("mine") == 4);
        taken.close();
        QVERIFY_THROWS_EXCEPTION(EngineError, writer.MoveOpenFile(moved));
        QCOMPARE(readBytes(moved), QByteArray("mine"));
        QVERIFY(QFile::remove(moved));

        writer.MoveOpenFile(moved);
        if (how == "link")
            QVERIFY(!writer.IsMovingFile());   // nothing to copy
        writeBlocks(frames);
        QTRY_VERIFY_WITH_TIMEOUT(!writer.IsMovingFile(), 10000);
        writer.Close();
        if (how == "link") {
            struct stat a {}, b {};
            QVERIFY(::stat(QFile::encodeName(kept).constData(), &a) == 0 && ::stat(QFile::encodeName(moved).constData(), &b) == 0);
            QCOMPARE(a.st_ino, b.st_ino);   // the same file, twice named
            QFile::remove(kept);
        }

        FfmpegAudioFile reader;
        reader.Open(moved, 0, 1);
        QCOMPARE(reader.GetErrorCode(), 0);
        QVERIFY2(std::abs(reader.GetNumSamples() - frames) < kBlock, qPrintable(QString::number(reader.GetNumSamples())));
        const std::vector<float> all = fixtures::readAll(reader);
        if (suffix == QLatin1String("wav")) {
            // PCM comes back as it went in, so a lost or doubled block cannot hide.
            QCOMPARE(qint64(all.size()), qint64(tone.size()));
            QVERIFY(fixtures::maxDifference(all.data(), tone.data(), tone.size()) < 2.0 / 32768);
        }
        QVERIFY(std::abs(testaudio::dominantFrequency(testaudio::channel(all, kChannels, 0), kRate) - 1000) < 2);
    }
};

QTEST_GUILESS_MAIN(TestFileDurability)
#include "tst_file_durability.moc"
