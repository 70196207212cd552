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

double decodedSeconds(const QString &path)
{
    return double(fixtures::ffmpegDecodedFrames(path, kChannels)) / kRate;
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
    // gives the length that decodes.
    void killedRecordingIsKeptAndRepaired_data()
    {
        QTest::addColumn<QString>("suffix");
        QTest::newRow("wav") << "wav";
        QTest::newRow("mp3") << "mp3";
        QTest::newRow("wma") << "wma";
    }
    void killedRecordingIsKeptAndRepaired()
    {
        QFETCH(QString, suffix);
        const QString file = path("killed." + suffix);
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
        QVERIFY2(std::abs(double(reader.GetNumSamples()) / kRate - decoded) < 0.1,
                 qPrintable(QString::number(reader.GetNumSamples())));
        qInfo("%s killed after %.2f s captured: %.2f s decodable as left (%.2f s lost); "
              "after repair the header says %.3f s and %.3f s decode",
              qPrintable(suffix), captured, asLeft, captured - asLeft, header, decoded);
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
        const QByteArray asf = readBytes(wma);
        QTest::newRow("text") << "notes.wav" << QByteArray("Shopping list\n") << "it is not a WAV, MP3 or WMA file";
        QTest::newRow("asf header cut") << "cut.wma" << asf.left(200) << "its header is cut short";
        QTest::newRow("mp3 without frames") << "noise.mp3" << QByteArray("ID3\x03\0\0\0\0\0\0", 10) + QByteArray(5000, '\x55')
                                            << "it holds no MPEG audio frames";
        QTest::newRow("mp3 cut in its first frame") << "first.mp3" << readBytes(path("complete.mp3")).left(100)
                                                   << "it holds no whole MPEG audio frame";
        QTest::newRow("wav without data") << "fmt.wav" << readBytes(path("complete.wav")).left(36) << "it has no data chunk";
        QTest::newRow("complete wav") << "complete.wav" << QByteArray() << QString();
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
    // every block exactly once.
    void movedRecordingKeepsEveryBlock_data()
    {
        QTest::addColumn<QString>("suffix");
        QTest::newRow("wav") << "wav";
        QTest::newRow("mp3") << "mp3";
    }
    void movedRecordingKeepsEveryBlock()
    {
        QFETCH(QString, suffix);
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        const QString file = folder.filePath("moving." + suffix);
        const QString moved = path("moved." + suffix);
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
        QVERIFY(folder.remove());
        QVERIFY(!QFile::exists(file));
        writer.MoveOpenFile(moved);
        QVERIFY(writer.IsMovingFile());
        writeBlocks(frames);
        QTRY_VERIFY_WITH_TIMEOUT(!writer.IsMovingFile(), 10000);
        writer.Close();

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
