// Markers kept inside a closed recording: written through the file component, read back by
// it and by ffprobe as chapters, replaced in the room the writer left, or through a new file
// when that room is too small, and refused for a damaged file, which stays as it was.
#include "engine/file/ffmpeg_audio_file.h"
#include "file_fixtures.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

using namespace engine;

namespace {

struct Made {
    int rate = 0;
    qint64 frames = 0;
};

// A few seconds of tone through the engine, as a recording writes them.
Made record(const QString &path, double seconds = 4.0)
{
    FfmpegAudioFile writer;
    writer.SetActive(true);
    writer.Create(path, 0);
    const int rate = writer.GetFormatValueA();
    fixtures::writeTone(writer, 440, seconds, rate, 2);
    writer.Close();
    FfmpegAudioFile reader;
    reader.Open(path, 0, 1);
    return {reader.GetFormatValueA(), reader.GetNumSamples()};
}

qint64 decodedFrames(const QString &path)
{
    FfmpegAudioFile reader;
    reader.Open(path, 0, 1);
    return reader.GetErrorCode() == 0 ? reader.GetNumSamples() : -1;
}

// Start times (s) and titles of the chapters ffprobe finds.
QList<QPair<double, QString>> ffprobeChapters(const QString &path)
{
    QProcess p;
    p.start(QStringLiteral("ffprobe"), {"-v", "error", "-show_entries", "chapter=start_time:chapter_tags=title",
                                        "-of", "csv=p=0", path});
    p.waitForFinished(60000);
    QList<QPair<double, QString>> chapters;
    for (const QString &line : QString::fromUtf8(p.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts)) {
        const qsizetype comma = line.indexOf(',');
        chapters.append({line.left(comma).toDouble(), comma < 0 ? QString() : line.mid(comma + 1)});
    }
    return chapters;
}

struct stat statOf(const QString &path)
{
    struct stat st {};
    ::stat(QFile::encodeName(path).constData(), &st);
    return st;
}

QByteArray contents(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

}  // namespace

class TestFileMarkers : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    std::unique_ptr<IEngineFactory> m_factory = createEngineFactory();

    void compareMarkers(const std::vector<FileMarker> &got, const std::vector<FileMarker> &want, qint64 tolerance)
    {
        QCOMPARE(got.size(), want.size());
        for (size_t i = 0; i < want.size(); ++i) {
            QCOMPARE(got[i].name, want[i].name);
            QVERIFY2(std::abs(got[i].frame - want[i].frame) <= tolerance,
                     qPrintable(QStringLiteral("%1 for %2").arg(got[i].frame).arg(want[i].frame)));
        }
    }

    void compareFfprobe(const QString &path, const std::vector<FileMarker> &want, int rate)
    {
        const auto chapters = ffprobeChapters(path);
        QCOMPARE(chapters.size(), qsizetype(want.size()));
        for (size_t i = 0; i < want.size(); ++i) {
            QCOMPARE(chapters[i].second, want[i].name);
            QVERIFY2(std::abs(chapters[i].first - double(want[i].frame) / rate) <= 0.0011,
                     qPrintable(QStringLiteral("chapter at %1 s").arg(chapters[i].first)));
        }
    }

private slots:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    void markers_data()
    {
        QTest::addColumn<QString>("extension");
        for (const char *e : {"wav", "mp3", "wma", "flac", "ogg", "opus"})
            QTest::newRow(e) << QString::fromLatin1(e);
    }
    // Written, read back by us and by ffprobe, replaced in place, the audio and the tags
    // untouched; an unchanged list leaves the file alone.
    void markers()
    {
        QFETCH(QString, extension);
        const QString path = m_dir.filePath("markers." + extension.toUpper());
        const Made made = record(path);
        QVERIFY(made.frames > 0);
        {
            auto info = m_factory->createInformation(QString());
            info->LoadFromFile(path);
            info->setInfoTitle(QStringLiteral("Kept title"));
            info->SaveToFile(path);
        }
        auto file = m_factory->createFile(QString());
        QVERIFY(file->GetMarkers(path).empty());
        const qint64 tolerance = extension == u"wav" ? 0 : made.rate / 1000 + 1;
        const int r = made.rate;
        const std::vector<FileMarker> first{{r / 2 + 7, "Intro"},
                                            {r + r / 4, QStringLiteral("Zweiter Sprecher – Grüße ✓")},
                                            {3 * r + 11, "Questions"}};
        const qint64 sizeBefore = QFileInfo(path).size();
        file->SetMarkers(path, first);
        // Ogg comments edited by a tag editor lose their trailing room, so the first markers
        // there take a new file; WAV chunks are appended; everywhere else the room is kept.
        if (extension != u"ogg" && extension != u"opus" && extension != u"wav")
            QCOMPARE(QFileInfo(path).size(), sizeBefore);
        compareMarkers(file->GetMarkers(path), first, tolerance);
        if (extension != u"wav")
            compareFfprobe(path, first, r);
        QCOMPARE(decodedFrames(path), made.frames);

        const qint64 sizeFirst = QFileInfo(path).size();
        const std::vector<FileMarker> second{{first[0].frame, QStringLiteral("Opening")}, first[2]};
        file->SetMarkers(path, second);
        if (extension != u"wav")   // WAV chunks follow their contents
            QCOMPARE(QFileInfo(path).size(), sizeFirst);
        compareMarkers(file->GetMarkers(path), second, tolerance);
        if (extension != u"wav")
            compareFfprobe(path, second, r);
        QCOMPARE(decodedFrames(path), made.frames);

        const struct stat before = statOf(path);
        file->SetMarkers(path, file->GetMarkers(path));
        file->SetMarkers(path, second);
        const struct stat after = statOf(path);
        QCOMPARE(after.st_ino, before.st_ino);
        QCOMPARE(after.st_mtim.tv_nsec, before.st_mtim.tv_nsec);
        QCOMPARE(after.st_mtim.tv_sec, before.st_mtim.tv_sec);

        auto info = m_factory->createInformation(QString());
        info->LoadFromFile(path);
        QCOMPARE(info->infoTitle(), QStringLiteral("Kept title"));

        file->SetMarkers(path, {});
        QVERIFY(file->GetMarkers(path).empty());
        QCOMPARE(decodedFrames(path), made.frames);
        info->LoadFromFile(path);
        QCOMPARE(info->infoTitle(), QStringLiteral("Kept title"));
    }

    void roomTooSmall_data() { markers_data(); }
    // 900 markers with long names do not fit in the room: the file is written anew and
    // renamed over the old one.
    void roomTooSmall()
    {
        QFETCH(QString, extension);
        const QString path = m_dir.filePath("many." + extension);
        const Made made = record(path, 3.0);
        std::vector<FileMarker> many;
        for (int i = 0; i < 900; ++i)
            many.push_back({qint64(i) * made.frames / 900, QStringLiteral("Marker %1 of a rather long list of places").arg(i)});
        auto file = m_factory->createFile(QString());
        const ino_t inode = statOf(path).st_ino;
        file->SetMarkers(path, many);
        if (extension != u"wav")
            QVERIFY(statOf(path).st_ino != inode);
        compareMarkers(file->GetMarkers(path), many, extension == u"wav" ? 0 : made.rate / 1000 + 1);
        QCOMPARE(decodedFrames(path), made.frames);
        if (extension != u"wav")
            QCOMPARE(ffprobeChapters(path).size(), 900);
        QCOMPARE(QDir(m_dir.path()).entryList(QDir::Hidden | QDir::Files).filter("markers-").size(), 0);
    }

    void damaged_data()
    {
        QTest::addColumn<QString>("extension");
        QTest::addColumn<int>("keep");   // bytes kept of the file
        for (const char *e : {"wav", "mp3", "wma", "flac", "ogg", "opus"}) {
            QTest::addRow("%s cut to 30 bytes", e) << QString::fromLatin1(e) << 30;
            QTest::addRow("%s cut to 4000 bytes", e) << QString::fromLatin1(e) << 4000;
        }
    }
    // A file cut short in its header gives a clear error and is left exactly as it was.
    void damaged()
    {
        QFETCH(QString, extension);
        QFETCH(int, keep);
        const QString path = m_dir.filePath(QStringLiteral("damaged-%1.%2").arg(keep).arg(extension));
        record(path, 1.0);
        QVERIFY(QFile::resize(path, keep));
        const QByteArray bytes = contents(path);
        auto file = m_factory->createFile(QString());
        bool refused = false;
        try {
            file->SetMarkers(path, {{100, "Here"}});
        } catch (const EngineError &e) {
            refused = true;
            QVERIFY(e.text().startsWith("Cannot write the markers of " + path + ": "));
        }
        QVERIFY(refused || extension == u"wav");   // a cut WAV still has its fmt and data
        if (refused) {
            QCOMPARE(contents(path), bytes);
            QVERIFY_THROWS_EXCEPTION(EngineError, file->GetMarkers(path));
        }
    }
};

QTEST_GUILESS_MAIN(TestFileMarkers)
#include "tst_file_markers.moc"
