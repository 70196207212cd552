#include "real_window.h"

#include "session/part_recovery.h"
#include "session/recorded_files.h"

#include "ui/file_info_page.h"

#include <QDir>
#include <QProcess>
#include <QTabWidget>
#include <QToolButton>
#include <QTreeWidget>

#include <sys/stat.h>

#include <algorithm>
#include <atomic>
#include <numeric>
#include <cmath>
#include <memory>

using namespace e2e;

// A child recorder in the given format, its folder and its part's path once it records.
struct Child {
    QTemporaryDir dir;
    QProcess process;
    QString file;
    bool start(const QString &format)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        process.setProcessEnvironment(env);
        process.start(RECORD_CHILD, {dir.path(), format});
        if (!process.waitForStarted() || !process.waitForReadyRead(10000))
            return false;
        file = QString::fromLocal8Bit(process.readLine()).trimmed();
        return file.endsWith(format);
    }
    QStringList journals() const
    {
        return QDir(dir.filePath("journals")).entryList({"*.journal"}, QDir::Files);
    }
};

class TestRecordEndToEnd : public QObject {
    Q_OBJECT

    static QStringList listed(const RealWindow &w)
    {
        QStringList out;
        QTreeWidget *list = w.find<QTreeWidget>("fileList");
        for (int i = 0; i < list->topLevelItemCount(); ++i)
            out << list->topLevelItem(i)->text(3) + list->topLevelItem(i)->text(0);
        return out;
    }

    // A steady tone from end to end: no click and no gap anywhere (a join included).
    static void checkUnbroken(const Decoded &d)
    {
        const std::vector<float> x = d.left();
        const size_t edge = size_t(d.rate / 50);   // the fades at the very start and end
        float amplitude = 0;
        for (size_t i = edge; i + edge < x.size(); ++i)
            amplitude = std::max(amplitude, std::abs(x[i]));
        QVERIFY(amplitude > 0.01f);
        // No click: a 1 kHz sine moves at most 2 sin(pi 1000/44100) = 0.14 of its amplitude
        // from one sample to the next; a raw join may jump by up to twice the amplitude.
        float step = 0;
        for (size_t i = edge + 1; i + edge < x.size(); ++i)
            step = std::max(step, std::abs(x[i] - x[i - 1]));
        QVERIFY2(step < 0.25f * amplitude, qPrintable(QStringLiteral("step %1 of %2").arg(step).arg(amplitude)));
        // No gap: every 10 ms stays within 6 dB of the tone's level.
        const size_t win = size_t(d.rate / 100);
        const double full = 20 * std::log10(amplitude / std::sqrt(2.0));
        for (size_t i = edge; i + win + edge < x.size(); i += win / 2) {
            const double level = testaudio::rmsDb(std::vector<float>(x.begin() + long(i), x.begin() + long(i + win)));
            QVERIFY2(level > full - 6, qPrintable(QStringLiteral("%1 dB at %2 s").arg(level).arg(double(i) / d.rate)));
        }
    }

    // Where sound (a sample above -30 dBFS) begins after a stretch of quiet, in seconds.
    static QList<double> onsets(const Decoded &d)
    {
        QList<double> out;
        const std::vector<float> x = d.left();
        qint64 lastLoud = -1;
        for (qint64 i = 0; i < qint64(x.size()); ++i) {
            if (std::abs(x[size_t(i)]) <= 0.0316f)
                continue;
            if (lastLoud < 0 || i - lastLoud > d.rate / 4)
                out << double(i) / d.rate;
            lastLoud = i;
        }
        return out;
    }

    static void checkTone(const Decoded &d, double hz)
    {
        const std::vector<float> left = d.left();
        QVERIFY(left.size() > size_t(d.rate / 2));
        const double f = testaudio::dominantFrequency(left, d.rate, size_t(d.rate / 4));
        QVERIFY2(std::abs(f - hz) <= hz * 0.02, qPrintable(QString::number(f)));
    }

private slots:
    void initTestCase()
    {
        QVERIFY2(!pactl({"info"}).isEmpty(), "no private sound server");
    }

    void eachFormatRecordsTheTone_data()
    {
        QTest::addColumn<QString>("extension");
        QTest::addColumn<QString>("codec");
        QTest::newRow("mp3") << ".mp3" << "mp3";
        QTest::newRow("wav") << ".wav" << "pcm_s16le";
        QTest::newRow("wma") << ".wma" << "wmav2";
        QTest::newRow("flac") << ".flac" << "flac";
        QTest::newRow("ogg") << ".ogg" << "vorbis";
        QTest::newRow("opus") << ".opus" << "opus";
    }
    void eachFormatRecordsTheTone()
    {
        QFETCH(QString, extension);
        QFETCH(QString, codec);
        SineSource sine(1000);
        RealWindow w;
        w.start();
        w.useFormat(extension);
        w.window->record();
        QVERIFY(w.recording().isActive());
        QVERIFY(w.waitDisplayed(3.0));
        w.window->stop();
        QVERIFY(!w.recording().isActive());
        const QString file = w.path("rec/Untitled1" + extension);
        QCOMPARE(listed(w), QStringList({file}));
        QCOMPARE(testaudio::probe(file, "codec_name"), codec);
        const Decoded d = decode(file);
        QVERIFY2(std::abs(d.seconds() - 3.0) <= 0.25, qPrintable(QString::number(d.seconds())));
        QCOMPARE(d.rate, extension == ".opus" ? 48000 : 44100);   // Opus is always 48 kHz
        QCOMPARE(d.channels, 2);
        checkTone(d, 1000);
        QCOMPARE(w.errors(), QStringList());
    }

    void timeLimitStopsTheRecording()
    {
        SineSource sine;
        RealWindow w;
        w.start();
        w.useFormat(".wav");
        w.changeSettings([&](RecordingSettings &s) { s.timeLimitSeconds = 2; });
        w.window->record();
        QTRY_VERIFY_WITH_TIMEOUT(!w.recording().isActive(), 6000);
        const Decoded d = decode(w.path("rec/Untitled1.wav"));
        QVERIFY2(d.seconds() >= 1.95 && d.seconds() <= 2.3, qPrintable(QString::number(d.seconds())));
        QCOMPARE(w.find<QTabWidget>("pages")->currentIndex(), 3);
    }

    void splitMakesOneFilePerPart_data()
    {
        QTest::addColumn<int>("limit");
        QTest::addColumn<int>("stopAfterMs");
        QTest::addColumn<QList<double>>("lengths");
        QTest::newRow("split 1 s, stopped after 2.5 s") << 0 << 2500 << QList<double>{1, 1, 0.5};
        QTest::newRow("split 1 s, limit 3 s") << 3 << 0 << QList<double>{1, 1, 1};
    }
    void splitMakesOneFilePerPart()
    {
        QFETCH(int, limit);
        QFETCH(int, stopAfterMs);
        QFETCH(QList<double>, lengths);
        SineSource sine;
        RealWindow w;
        w.start();
        w.useFormat(".wav");
        w.changeSettings([&](RecordingSettings &s) { s.splitEnabled = true; });
        w.changeSettings([&](RecordingSettings &s) { s.splitSeconds = 1; });
        w.changeSettings([&](RecordingSettings &s) { s.timeLimitSeconds = limit; });
        w.window->record();
        if (stopAfterMs > 0) {
            QVERIFY(w.waitDisplayed(stopAfterMs / 1000.0));
            w.window->stop();
        } else {
            QTRY_VERIFY_WITH_TIMEOUT(!w.recording().isActive(), 15000);
        }
        QVERIFY(!w.recording().isActive());
        QCOMPARE(listed(w).size(), lengths.size());
        double total = 0;
        for (int i = 0; i < lengths.size(); ++i) {
            const QString file = w.path(QStringLiteral("rec/Untitled%1.wav").arg(i + 1));
            QCOMPARE(listed(w).at(i), file);
            const Decoded d = decode(file);
            QVERIFY2(std::abs(d.seconds() - lengths[i]) <= 0.15,
                     qPrintable(QStringLiteral("part %1: %2 s").arg(i + 1).arg(d.seconds())));
            total += d.seconds();
        }
        QVERIFY(!QFileInfo::exists(w.path(QStringLiteral("rec/Untitled%1.wav").arg(lengths.size() + 1))));
        // Capture runs on across a split: the parts hold the whole recording together.
        const double expected = std::accumulate(lengths.begin(), lengths.end(), 0.0);
        qInfo("parts %.3f s in all, %.1f s expected", total, expected);
        QVERIFY2(std::abs(total - expected) <= 0.1, qPrintable(QString::number(total)));
    }

    void pauseJoinsWithoutGapOrClick()
    {
        SineSource sine(1000);
        RealWindow w;
        w.start();
        w.useFormat(".wav");
        w.window->record();
        QVERIFY(w.waitDisplayed(1.0));
        w.window->pause();
        QVERIFY((w.recording().state() == RecordingSession::State::Paused));
        QTest::qWait(1000);
        w.window->record();
        QVERIFY(w.recording().isActive() && !(w.recording().state() == RecordingSession::State::Paused));
        QVERIFY(w.waitDisplayed(2.0));
        w.window->stop();

        const Decoded d = decode(w.path("rec/Untitled1.wav"));
        QVERIFY2(std::abs(d.seconds() - 2.0) <= 0.25, qPrintable(QString::number(d.seconds())));
        checkUnbroken(d);
    }

    void preRecordKeepsTheSecondsBeforeRecord()
    {
        SineSource sine(1000);
        RealWindow w;
        w.start();
        w.useFormat(".wav");
        w.changeSettings([](RecordingSettings &s) { s.prerecordSeconds = 5; });
        QCOMPARE(w.window->statusText(0), QString("Listening"));
        QTest::qWait(6000);
        QVERIFY(!QFileInfo::exists(w.path("rec/Untitled1.wav")));
        w.window->record();
        QVERIFY(w.waitDisplayed(7.0));
        w.window->stop();
        QCOMPARE(w.window->statusText(0), QString("Listening"));
        const Decoded d = decode(w.path("rec/Untitled1.wav"));
        qInfo("5 s kept, then 2 s recorded: %.3f s in the file", d.seconds());
        QVERIFY2(std::abs(d.seconds() - 7.0) <= 0.3, qPrintable(QString::number(d.seconds())));
        checkUnbroken(d);
        QCOMPARE(w.errors(), QStringList());
    }

    void startOnSound_data()
    {
        QTest::addColumn<bool>("newFile");
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QList<double>>("onsetsAt");   // of each file, in order
        // Tones of 1 s at 1 s and 4.5 s: each kept from 0.5 s before it to 0.5 s after it.
        QTest::newRow("one file") << false << QStringList{"Untitled1.wav"} << QList<double>{0.5, 2.5};
        QTest::newRow("a file a sound") << true << QStringList{"Untitled1.wav", "Untitled2.wav"} << QList<double>{0.5, 0.5};
    }
    void startOnSound()
    {
        QFETCH(bool, newFile);
        QFETCH(QStringList, files);
        QFETCH(QList<double>, onsetsAt);
        SineSource silence(QStringLiteral("aevalsrc=0:s=44100:d=120"));
        RealWindow w;
        w.start();
        w.useFormat(".wav");
        w.changeSettings([&](RecordingSettings &s) {
            s.triggerOn = true;
            s.triggerLevelDb = -30;
            s.triggerSilenceSeconds = 1;
            s.triggerNewFile = newFile;
        });
        w.window->record();
        QCOMPARE(w.window->statusText(0), QString("Waiting for sound..."));
        QProcess player;
        silence.play(player, "aevalsrc='if(between(t,1,2)+between(t,4.5,5.5),0.5*sin(2*PI*1000*t),0)':s=44100:d=7");
        QTRY_COMPARE_WITH_TIMEOUT(w.recording().state(), RecordingSession::State::Recording, 5000);
        // A second of quiet after the tone: the recording rests.
        QTRY_COMPARE_WITH_TIMEOUT(w.recording().state(), RecordingSession::State::WaitingForSound, 5000);
        QVERIFY(player.waitForFinished(10000));
        QTRY_COMPARE_WITH_TIMEOUT(w.recording().state(), RecordingSession::State::WaitingForSound, 5000);
        QTest::qWait(300);
        w.window->stop();
        QVERIFY(!w.recording().isActive());
        QList<double> found;
        double total = 0;
        for (const QString &name : files) {
            const Decoded d = decode(w.path("rec/" + name));
            total += d.seconds();
            found += onsets(d);
        }
        QVERIFY(!QFileInfo::exists(w.path(QStringLiteral("rec/Untitled%1.wav").arg(files.size() + 1))));
        QStringList at;
        for (double t : found)
            at << QString::number(t, 'f', 3);
        qInfo("%.3f s written in %d file(s); sounds begin at %s s", total, int(files.size()), qPrintable(at.join(", ")));
        QVERIFY2(std::abs(total - 4.0) <= 0.15, qPrintable(QString::number(total)));
        QCOMPARE(found.size(), onsetsAt.size());
        for (int i = 0; i < found.size(); ++i)
            QVERIFY2(std::abs(found[i] - onsetsAt[i]) <= 0.1, qPrintable(QStringLiteral("sound %1 at %2 s").arg(i).arg(found[i])));
        QCOMPARE(w.errors(), QStringList());
    }

    void aLostInputIsWaitedForAndTheRecordingGoesOn()
    {
        SineSource sine;
        RealWindow w;
        w.start();
        w.useFormat(".wav");
        w.window->record();
        QVERIFY(w.waitDisplayed(1.2));
        sine.unload();
        // The part is finished and listed, the user told, the run waits for its device.
        QTRY_COMPARE_WITH_TIMEOUT(w.recording().state(), RecordingSession::State::WaitingForDevice, 5000);
        const QString first = w.path("rec/Untitled1.wav");
        QCOMPARE(listed(w), QStringList({first}));
        QCOMPARE(w.window->statusText(0), QString("Waiting for device..."));
        QCOMPARE(w.errors(), QStringList());
        QCOMPARE(w.boxes.size(), 1);
        const Decoded d1 = decode(first);
        QVERIFY2(d1.seconds() >= 1.0 && d1.seconds() <= 1.6, qPrintable(QString::number(d1.seconds())));

        // The same device (by its server name) comes back: a new part, by itself.
        sine.load();
        QTRY_COMPARE_WITH_TIMEOUT(w.recording().state(), RecordingSession::State::Recording, 8000);
        const QString second = w.path("rec/Untitled2.wav");
        QCOMPARE(w.recording().partPath(), second);
        QCOMPARE(w.boxes.size(), 2);
        QVERIFY(w.boxes.last().text.startsWith("The input device came back"));
        QTest::qWait(1500);
        w.window->stop();
        QCOMPARE(listed(w), QStringList({first, second}));
        const Decoded d2 = decode(second);
        QVERIFY2(d2.seconds() >= 1.0, qPrintable(QString::number(d2.seconds())));
        checkTone(d2, 1000);
        QCOMPARE(w.errors(), QStringList());
    }

    void recordWithTheInputGoneLeavesNoFile_data()
    {
        QTest::addColumn<QString>("extension");
        QTest::newRow("wav") << ".wav";
        QTest::newRow("mp3") << ".mp3";
    }
    void recordWithTheInputGoneLeavesNoFile()
    {
        QFETCH(QString, extension);
        RealWindow w;
        {
            SineSource sine;
            w.start();
            w.useFormat(extension);
        }   // the input the recorder was set to is gone
        w.action("recordAction")->trigger();
        QVERIFY(!w.recording().isActive());
        QCOMPARE(w.errors().size(), 1);
        QVERIFY2(w.errors().first().contains("not available") || w.errors().first().contains("Cannot record"),
                 qPrintable(w.errors().first()));
        QCOMPARE(listed(w), QStringList());
        QVERIFY(!QFileInfo::exists(w.path("rec/Untitled1" + extension)));
        QCOMPARE(w.window->statusText(0), QString("Stop"));
    }

    void aKilledRecordingIsRecoveredAtTheNextStart_data() { testaudio::addFormatRows("format"); }
    void aKilledRecordingIsRecoveredAtTheNextStart()
    {
        QFETCH(QString, format);
        SineSource sine;
        Child child;
        QVERIFY2(child.start(format), qPrintable(child.file + child.process.readAllStandardError()));
        QTest::qWait(3000);
        // While it runs, its journal is its own: another program leaves it alone.
        auto factory = engine::createEngineFactory();
        RecordedFiles files(*factory);
        QCOMPARE(recoverInterruptedParts(*factory, files, child.dir.path()).said, QStringList());
        QCOMPARE(child.journals().size(), 1);

        child.process.kill();   // SIGKILL: nothing gets to finish the file
        QVERIFY(child.process.waitForFinished());
        const double left = decode(child.file).seconds();

        // The next start repairs the file, lists it with its real length and says so once.
        const QStringList said = recoverInterruptedParts(*factory, files, child.dir.path()).said;
        QCOMPARE(said.size(), 1);
        QVERIFY2(said[0].startsWith("Recovered Untitled1" + format + " (00:0") && said[0].endsWith("interrupted."),
                 qPrintable(said[0]));
        QCOMPARE(files.count(), 1);
        const Decoded d = decode(child.file);
        const double header = testaudio::probe(child.file, "duration").toDouble();
        qInfo("%s: %.2f s decodable as left, %.3f s decoded and %.3f s in the header after repair",
              qPrintable(format), left, d.seconds(), header);
        QVERIFY2(left >= 2.0, qPrintable(QString::number(left)));
        QVERIFY2(std::abs(header - d.seconds()) <= 0.1, qPrintable(QString("%1 / %2").arg(header).arg(d.seconds())));
        QVERIFY(std::abs(files.at(0).durationMs / 1000.0 - d.seconds()) <= 0.1);
        checkTone(d, 1000);
        QCOMPARE(child.journals(), QStringList());
        QCOMPARE(recoverInterruptedParts(*factory, files, child.dir.path()).said, QStringList());   // said once
    }

    // Under a process file-size limit ("ulimit -f") the program is not killed, from its
    // start on (the sound server's shared memory is sized against the limit too): each file
    // ends below the limit and the recording goes on in the next, without a gap.
    void aFileSizeLimitSplitsTheRecording()
    {
        SineSource sine;
        Child child;
        child.process.setProgram("bash");
        const qint64 limitKiB = 400;
        child.process.setArguments({"-c", QStringLiteral("ulimit -f %1 && exec \"$0\" \"$@\"").arg(limitKiB), RECORD_CHILD,
                                    child.dir.path(), ".wav"});
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        child.process.setProcessEnvironment(env);
        child.process.start();
        QVERIFY(child.process.waitForStarted() && child.process.waitForReadyRead(10000));
        QTest::qWait(6000);
        child.process.terminate();
        QVERIFY(child.process.waitForFinished(10000));
        QCOMPARE(child.process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(child.process.exitCode(), 0);
        const QStringList parts = QDir(child.dir.filePath("rec")).entryList({"Untitled*.wav"}, QDir::Files, QDir::Name);
        QVERIFY2(parts.size() >= 3, qPrintable(parts.join(' ') + child.process.readAllStandardError()));
        Decoded all;
        for (const QString &name : parts) {
            const QString part = child.dir.filePath("rec/" + name);
            QVERIFY(QFileInfo(part).size() <= limitKiB * 1024);
            const Decoded d = decode(part);
            all.rate = d.rate;
            all.channels = d.channels;
            all.samples.insert(all.samples.end(), d.samples.begin(), d.samples.end());
        }
        qInfo("%lld parts of at most %lld KiB, %.2f s in all", qint64(parts.size()), limitKiB, all.seconds());
        QVERIFY2(all.seconds() >= 5.5, qPrintable(QString::number(all.seconds())));
        checkUnbroken(all);
    }

    void terminationEndsTheRecordingAsStopDoes()
    {
        SineSource sine;
        Child child;
        QVERIFY(child.start(".mp3"));
        QTest::qWait(2000);
        child.process.terminate();   // SIGTERM, as at a logout
        QVERIFY(child.process.waitForFinished(10000));
        QCOMPARE(child.process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(child.process.exitCode(), 0);
        QCOMPARE(child.journals(), QStringList());   // a normal end: nothing to recover
        const double header = testaudio::probe(child.file, "duration").toDouble();
        const Decoded d = decode(child.file);
        QVERIFY2(d.seconds() >= 1.5 && std::abs(header - d.seconds()) <= 0.1,
                 qPrintable(QString("%1 / %2").arg(header).arg(d.seconds())));
    }

    // The window does nothing for two seconds, and later the disk takes five seconds over a
    // block: the recording has every second, without a gap or a click.
    void stallsLoseNothing_data()
    {
        QTest::addColumn<QString>("format");
        QTest::newRow("wav") << ".wav";
        QTest::newRow("flac") << ".flac";
    }
    void stallsLoseNothing()
    {
        QFETCH(QString, format);
        SineSource sine;
        RealWindow w;
        w.start();
        w.useFormat(format);
        std::atomic<bool> stallWriter{false};
        // The writer asks for the free space before each block, on its own thread.
        w.recording().setFreeSpaceSource([&stallWriter](const QString &path) {
            if (QThread::currentThread() != QCoreApplication::instance()->thread() && stallWriter.exchange(false))
                QThread::sleep(5);
            return RecordingSession::freeSpaceOf(path);
        });
        w.window->record();
        QVERIFY(w.waitDisplayed(1.0));
        QThread::msleep(2000);
        QVERIFY(w.waitDisplayed(4.0));
        stallWriter = true;
        QVERIFY(w.waitDisplayed(10.0, 15000));
        w.window->stop();
        QCOMPARE(w.errors(), QStringList());
        const Decoded d = decode(w.recording().partPath());
        qInfo("%s: %.2f s in the file after 10 s on the display", qPrintable(format), d.seconds());
        QVERIFY2(d.seconds() >= 9.8, qPrintable(QString::number(d.seconds())));
        checkUnbroken(d);
    }

    // The save folder's parent goes with everything in it while the recording runs: the
    // folders are made again and the recording put back at once (a second name of the file
    // beside the journal, no copy), or copied back where the journals are on another file
    // system, or put into the rescue folder where the save folder cannot be made again; Stop
    // afterwards keeps every second, with one message that says where, and no failure.
    void aRemovedAncestorOfTheSaveFolderLosesNothing_data()
    {
        QTest::addColumn<QString>("format");
        QTest::addColumn<bool>("acrossFileSystems");
        QTest::addColumn<bool>("blocked");   // a plain file takes the removed folder's place
        QTest::newRow("wav") << ".wav" << false << false;
        QTest::newRow("flac") << ".flac" << false << false;
        QTest::newRow("wav, journals on another file system") << ".wav" << true << false;
        QTest::newRow("opus, journals on another file system") << ".opus" << true << false;
        QTest::newRow("mp3, the folder cannot be made again") << ".mp3" << false << true;
    }
    void aRemovedAncestorOfTheSaveFolderLosesNothing()
    {
        QFETCH(QString, format);
        QFETCH(bool, acrossFileSystems);
        QFETCH(bool, blocked);
        std::unique_ptr<QTemporaryDir> journals;
        if (acrossFileSystems) {
            journals = std::make_unique<QTemporaryDir>(QStringLiteral("/dev/shm/tavrin-XXXXXX"));
            struct stat shm {}, here {};
            if (!journals->isValid() || ::stat("/dev/shm", &shm) != 0 || ::stat(QFile::encodeName(QDir::tempPath()), &here) != 0
                || shm.st_dev == here.st_dev)
                QSKIP("no second file system to keep the journals on");
        }
        SineSource sine;
        RealWindow w;
        w.start();
        w.changeSettings([&](RecordingSettings &s) {
            s.savePath = w.path("a/rec/");
            s.saveFormat = format;
        });
        if (journals)
            w.recording().setJournalFolder(journals->path());
        w.recording().setRescueFolder(w.path("rescued"));
        w.window->record();
        QVERIFY(w.waitDisplayed(1.5));
        QString file = w.recording().partPath();
        QVERIFY(QDir(w.path("a")).removeRecursively());
        if (blocked) {
            QFile plain(w.path("a"));
            QVERIFY(plain.open(QIODevice::WriteOnly));
            file = w.path("rescued/" + QFileInfo(file).fileName());
        }
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(file), 6000);
        QTRY_COMPARE_WITH_TIMEOUT(w.boxes.size(), 1, 6000);
        QVERIFY(w.waitDisplayed(5.0));
        w.window->stop();
        QCOMPARE(w.errors(), QStringList());
        QVERIFY2(w.boxes[0].text.startsWith("The folder " + w.path("a/rec")), qPrintable(w.boxes[0].text));
        QVERIFY2(w.boxes[0].text.contains(blocked ? file : QFileInfo(file).fileName()), qPrintable(w.boxes[0].text));
        QCOMPARE(w.recording().partPath(), file);
        const Decoded d = decode(file);
        qInfo("%s: %.2f s in the file after the removal at 1.5 s", qPrintable(format), d.seconds());
        QVERIFY2(d.seconds() >= 4.8, qPrintable(QString::number(d.seconds())));
        checkUnbroken(d);
        QCOMPARE(listed(w), QStringList({file}));
        const QString journalFolder = (journals ? journals->path() : w.dir.path()) + "/journals";
        QCOMPARE(QDir(journalFolder).entryList(QDir::Files), QStringList());   // no journal, no second name
    }
};

QTEST_MAIN(TestRecordEndToEnd)
#include "tst_record_e2e.moc"
