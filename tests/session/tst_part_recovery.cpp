// What the start-up recovery does with the journals a recording left, on the real engine and
// real files: the recording is repaired when the journal and the disk agree; whatever a
// journal names that is not the recording it made (a link, another file, another format, a
// relative path, a planted journal) is left byte for byte as it was; a recording whose folder
// went is recovered from the journal's second name into the rescue folder; a repair that did
// not finish is never tried again; a file on a drive that is not there keeps its journal.
#include "common/test_audio.h"
#include "engine/engine.h"
#include "session/part_journal.h"
#include "session/part_recovery.h"
#include "session/recorded_files.h"

#include <QDir>
#include <QFile>
#include <QtEndian>
#include <QTemporaryDir>
#include <QtTest>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QByteArray bytesOf(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

}  // namespace

class TestPartRecovery : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QByteArray m_cutWav;   // a WAV recording cut off by a crash: its header says more than it holds

    QString path(const QString &name) const { return m_dir.filePath(name); }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        const QString complete = path("complete.wav");
        QVERIFY(!testaudio::makeWithFfmpeg(complete, "sine=frequency=1000:duration=1").isEmpty());
        m_cutWav = bytesOf(complete);
        m_cutWav.chop(1001);
    }

    void journalsAreTrustedOnlyAsFarAsTheDiskAgrees_data()
    {
        QTest::addColumn<QString>("case_");
        QTest::addColumn<QString>("said");        // the start of the line said ("" = nothing)
        QTest::addColumn<bool>("rescued");        // a file was given a name in the rescue folder
        QTest::addColumn<int>("journalsAfter");
        QTest::newRow("the recording") << "none" << "Recovered Untitled1.wav (00:00)" << false << 0;
        QTest::newRow("a link now") << "link" << "%1 was not repaired and was left as it was (it is a link now)" << true << 0;
        QTest::newRow("another file") << "other inode" << "%1 was not repaired and was left as it was (it is not the file" << true << 0;
        QTest::newRow("another format") << "flac" << "Untitled1.wav was left by a recording that was interrupted and could not be repaired" << false << 0;
        QTest::newRow("a relative path") << "relative" << "rec/Untitled1.wav was left by a recording that was interrupted, but was not repaired" << false << 0;
        QTest::newRow("a planted journal link") << "planted" << "" << false << 0;
        QTest::newRow("a repair that did not finish") << "repair started" << "Untitled1.wav was left by a recording that was interrupted and could not be repaired: its repair did not finish" << false << 0;
        QTest::newRow("its folder removed") << "folder removed" << "Recovered Untitled1.wav (00:00) from a recording that was interrupted; it was no longer in" << true << 0;
    }
    void journalsAreTrustedOnlyAsFarAsTheDiskAgrees()
    {
        QFETCH(QString, case_);
        QFETCH(QString, said);
        QFETCH(bool, rescued);
        QFETCH(int, journalsAfter);
        QTemporaryDir dir;
        const auto at = [&dir](const QString &name) { return dir.filePath(name); };
        const QString settings = at("settings");
        const QString recording = at("rec/Untitled1.wav");
        const QString victim = at("victim.wav");   // a file the journal must never change
        QVERIFY(QDir().mkpath(at("rec")));
        writeBytes(recording, m_cutWav);
        writeBytes(victim, m_cutWav + "victim");

        // The journal of a run that was cut short: the program died with the part open.
        const int fd = ::open(QFile::encodeName(recording).constData(), O_RDWR | O_CLOEXEC);
        QVERIFY(fd >= 0);
        std::unique_ptr<PartJournal> journal = PartJournal::open(settings, recording, fd, case_ == "flac" ? ".flac" : ".wav");
        ::close(fd);
        QVERIFY(journal);
        journal->keep();
        journal.reset();
        const QString journals = PartJournal::folderOf(settings);
        const QStringList names = QDir(journals).entryList({"*.journal"}, QDir::Files);
        QCOMPARE(names.size(), 1);
        const QString journalPath = journals + "/" + names[0];
        JournalEntry entry = *PartJournal::read(journalPath);
        QVERIFY(!entry.secondName.isEmpty());   // the journals lie on the recording's file system
        struct stat victimStat {};
        QVERIFY(::stat(QFile::encodeName(victim).constData(), &victimStat) == 0);

        if (case_ == "link") {
            QVERIFY(QFile::remove(recording));
            QVERIFY(QFile::link(victim, recording));
        } else if (case_ == "other inode") {
            QVERIFY(QFile::remove(recording));
            QVERIFY(QFile::copy(victim, recording));
        } else if (case_ == "relative" || case_ == "planted") {
            // Written by someone else: no second name of ours, the victim's own identity.
            PartJournal::remove(journalPath);
            entry = JournalEntry{};
            entry.partPath = case_ == "relative" ? "rec/Untitled1.wav" : victim;
            entry.device = victimStat.st_dev;
            entry.inode = victimStat.st_ino;
            entry.format = ".wav";
            if (case_ == "relative") {
                QVERIFY(PartJournal::write(journalPath, entry));
                QVERIFY(QDir::setCurrent(dir.path()));   // where the relative path leads
            } else {
                QVERIFY(PartJournal::write(at("elsewhere.journal"), entry));
                QVERIFY(QFile::link(at("elsewhere.journal"), journals + "/planted.journal"));
            }
        } else if (case_ == "repair started") {
            entry.repairStarted = true;
            QVERIFY(PartJournal::write(journalPath, entry));
        } else if (case_ == "folder removed") {
            QVERIFY(QDir(at("rec")).removeRecursively());
        }
        const QByteArray recordingBefore = bytesOf(recording);
        const QByteArray victimBefore = bytesOf(victim);

        auto factory = engine::createEngineFactory();
        RecordedFiles files(*factory);
        const RecoveryReport report = recoverInterruptedParts(*factory, files, settings, at("rescued"));
        QDir::setCurrent(m_dir.path());
        QCOMPARE(report.unreachable.size(), 0);
        if (said.isEmpty()) {
            QCOMPARE(report.said, QStringList());
        } else {
            QCOMPARE(report.said.size(), 1);
            QVERIFY2(report.said[0].startsWith(said.contains("%1") ? said.arg(recording) : said), qPrintable(report.said[0]));
        }
        QVERIFY(bytesOf(victim) == victimBefore);
        const QStringList rescuedFiles = QDir(at("rescued")).entryList(QDir::Files);
        QCOMPARE(rescuedFiles.size(), rescued ? 1 : 0);
        QCOMPARE(QDir(journals).entryList({"*.journal"}, QDir::Files).size(), journalsAfter + (case_ == "planted" ? 1 : 0));
        if (case_ == "none" || rescued) {
            // Repaired: its header tells the length that decodes, and it is listed.
            const QString repaired = rescued ? at("rescued/" + rescuedFiles[0]) : recording;
            QVERIFY2(report.said[0].contains(repaired) || !rescued, qPrintable(report.said[0]));
            const QByteArray bytes = bytesOf(repaired);
            QVERIFY(bytes.size() <= m_cutWav.size() && bytes.size() > m_cutWav.size() - 4);   // whole frames only
            QCOMPARE(qFromLittleEndian<quint32>(bytes.constData() + 4), quint32(bytes.size() - 8));
            QCOMPARE(files.count(), 1);
            QCOMPARE(files.at(0).path, repaired);
        } else if (case_ != "planted" && case_ != "relative" && case_ != "link" && case_ != "other inode") {
            QVERIFY(bytesOf(recording) == recordingBefore);   // refused or given up: untouched
        }
        // Nothing is left to be told or done again.
        QCOMPARE(recoverInterruptedParts(*factory, files, settings, at("rescued")).said, QStringList());
    }

    // At start-up the repair runs beside the window: start() returns at once, the file being
    // repaired is named, and the outcome comes on the window's thread, to be listed there.
    void startUpRecoveryRunsBesideTheWindow()
    {
        QTemporaryDir dir;
        const QString recording = dir.filePath("rec/Untitled1.wav");
        QVERIFY(QDir().mkpath(dir.filePath("rec")));
        writeBytes(recording, m_cutWav);
        const int fd = ::open(QFile::encodeName(recording).constData(), O_RDWR | O_CLOEXEC);
        std::unique_ptr<PartJournal> journal = PartJournal::open(dir.filePath("settings"), recording, fd, ".wav");
        ::close(fd);
        journal->keep();
        journal.reset();

        auto factory = engine::createEngineFactory();
        StartupRecovery recovery(*factory);
        QSignalSpy repairing(&recovery, &StartupRecovery::repairing);
        QSignalSpy finished(&recovery, &StartupRecovery::finished);
        recovery.start(dir.filePath("settings"), dir.filePath("rescued"));
        QVERIFY(recovery.isRunning());
        QCOMPARE(finished.count(), 0);   // nothing comes before the window's thread is free
        QTRY_COMPARE(finished.count(), 1);
        QCOMPARE(repairing.count(), 1);
        QCOMPARE(repairing[0][0].toString(), QString("Untitled1.wav"));
        const RecoveryReport report = finished[0][0].value<RecoveryReport>();
        QCOMPARE(report.recovered, QStringList({recording}));
        RecordedFiles files(*factory);
        listRecoveredParts(report, files);
        QCOMPARE(files.count(), 1);
    }

    // A journal whose file lies on a drive that is not there keeps its journal: the user is
    // told once, and may forget it.
    void aFileOnAMissingDriveKeepsItsJournal()
    {
        QTemporaryDir dir;
        const QString settings = dir.filePath("settings");
        const QString journals = PartJournal::folderOf(settings);
        QVERIFY(PartJournal::secureFolder(journals));
        JournalEntry entry;
        entry.partPath = dir.filePath("stick/rec/Untitled3.mp3");
        entry.device = 1234;
        entry.inode = 5678;
        entry.format = ".mp3";
        QVERIFY(PartJournal::write(journals + "/part-1-1.journal", entry));

        auto factory = engine::createEngineFactory();
        RecordedFiles files(*factory);
        const RecoveryReport first = recoverInterruptedParts(*factory, files, settings, dir.filePath("rescued"));
        QCOMPARE(first.said, QStringList());
        QCOMPARE(first.unreachable.size(), 1);
        QCOMPARE(first.unreachable[0].text,
                 "Untitled3.mp3 on " + dir.filePath("stick/rec") + " is not reachable; it will be repaired when it is.");
        const RecoveryReport second = recoverInterruptedParts(*factory, files, settings, dir.filePath("rescued"));
        QCOMPARE(second.unreachable.size(), 0);   // told once
        QVERIFY(QFile::exists(journals + "/part-1-1.journal"));
        forgetInterruptedPart(first.unreachable[0].journalPath);
        QCOMPARE(QDir(journals).entryList(QDir::Files), QStringList());
    }
};

QTEST_GUILESS_MAIN(TestPartRecovery)
#include "tst_part_recovery.moc"
