// TagLibInformation: tags written and read back by a fresh component (and by ffprobe
// where it shows them) in both versions and every taggable type, values that do not fit
// a tag, Xiph texts left as they are unless changed, audio left untouched, stream facts
// that agree with FfmpegAudioFile, and errors.
#include "common/test_audio.h"
#include "engine/file/ffmpeg_audio_file.h"
#include "engine/tags/taglib_information.h"
#include "../file/file_fixtures.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace engine;

namespace {

struct Tags {
    QString title, artist, album, comments, copyright;
    int genre = -1, year = 0, track = 0;
};

bool operator==(const Tags &a, const Tags &b)
{
    return a.title == b.title && a.artist == b.artist && a.album == b.album && a.comments == b.comments
           && a.copyright == b.copyright && a.genre == b.genre && a.year == b.year && a.track == b.track;
}

char *toString(const Tags &t)
{
    return QTest::toString(QStringLiteral("{%1|%2|%3|%4|%5|g%6|y%7|t%8}")
                               .arg(t.title, t.artist, t.album, t.comments, t.copyright)
                               .arg(t.genre).arg(t.year).arg(t.track));
}

// Written as the tag editor writes: the texts by name through the property interface.
void put(TagLibInformation &info, const Tags &t)
{
    info.setProperty("infoTitle", t.title);
    info.setProperty("infoArtist", t.artist);
    info.setProperty("infoAlbum", t.album);
    info.setProperty("infoGenre", t.genre);
    info.setProperty("infoCopyright", t.copyright);
    info.setProperty("infoComments", t.comments);
    info.setProperty("infoYear", t.year);
    info.setProperty("infoTrack", t.track);
}

Tags get(const TagLibInformation &info)
{
    Tags t;
    t.title = info.property("infoTitle").toString();
    t.artist = info.property("infoArtist").toString();
    t.album = info.property("infoAlbum").toString();
    t.comments = info.property("infoComments").toString();
    t.copyright = info.property("infoCopyright").toString();
    t.genre = info.property("infoGenre").toInt();
    t.year = info.property("infoYear").toInt();
    t.track = info.property("infoTrack").toInt();
    return t;
}

Tags loadFresh(const QString &path, short version)
{
    TagLibInformation info;
    info.SetTagVersion(version);
    info.LoadFromFile(path);
    return get(info);
}

std::vector<float> decodeAll(const QString &path)
{
    FfmpegAudioFile file;
    file.Open(path, 0, 1);
    return fixtures::readAll(file);
}

QByteArray readBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// ffprobe's view of the tags: container tags, or the audio stream's (Ogg keeps its
// comments there).
QString probeTag(const QString &path, const QString &key, bool streamTags)
{
    const QString entries = (streamTags ? QStringLiteral("stream_tags=") : QStringLiteral("format_tags=")) + key;
    QStringList args{"-v", "error", "-show_entries", entries, "-of", "default=nw=1:nk=1"};
    if (streamTags)
        args << "-select_streams" << "a:0";
    return testaudio::run(QStringLiteral("ffprobe"), args << path).trimmed();
}

const Tags kFull{QStringLiteral("Sunrise Över Tōkyō"), QStringLiteral("The Band"), QStringLiteral("First Album"),
                 QStringLiteral("Recorded live"), QStringLiteral("(C) 2024 The Band"), 17, 2003, 7};

}  // namespace

class TestAudioInformation : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QHash<QString, QString> m_made;

    // A fresh copy of a 3-second file of the given kind.
    QString makeFile(const QString &kind, const QString &name)
    {
        if (!m_made.contains(kind)) {
            const QString original = m_dir.filePath("original." + kind);
            QString error;
            bool ok = false;
            if (kind == QLatin1String("mpc"))
                ok = fixtures::makeMusepack(original, fixtures::Signal::Tone1k, 3.0, &error);
            else {
                QStringList codec;
                if (kind == QLatin1String("mp3"))
                    codec = {"-c:a", "libmp3lame", "-b:a", "128k"};
                else if (kind == QLatin1String("mp2"))
                    codec = {"-c:a", "mp2", "-b:a", "192k"};
                else if (kind == QLatin1String("wav"))
                    codec = {"-c:a", "pcm_s16le"};
                else if (kind == QLatin1String("wma"))
                    codec = {"-c:a", "wmav2", "-b:a", "128k"};
                else if (kind == QLatin1String("ogg"))
                    codec = {"-c:a", "libvorbis", "-q:a", "4"};
                else if (kind == QLatin1String("flac"))
                    codec = {"-c:a", "flac"};
                else if (kind == QLatin1String("opus"))
                    codec = {"-c:a", "libopus", "-b:a", "96k"};
                else if (kind == QLatin1String("avi"))
                    codec = {"-c:a", "pcm_s16le"};
                else if (kind == QLatin1String("g721"))
                    codec = {"-c:a", "g726le", "-b:a", "32k", "-ar", "8000", "-f", "g726le"};
                ok = fixtures::makeWithFfmpeg(original, fixtures::Signal::Tone1k, kind == "g721" ? 8000 : 44100,
                                              kind == "g721" ? 1 : 2, 3.0, codec, &error);
            }
            if (!ok)
                qWarning("%s", qPrintable(error));
            m_made.insert(kind, original);
        }
        const QString copy = m_dir.filePath(name + "." + kind);
        QFile::remove(copy);
        QFile::copy(m_made.value(kind), copy);
        return copy;
    }

private slots:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    // Saved with one component, loaded by a fresh one: the values come back.
    void roundTrip_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<int>("version");
        QTest::addColumn<bool>("copyrightKept");
        for (const char *kind : {"mp3", "mp2"}) {
            QTest::addRow("%s ID3v1", kind) << QString(QLatin1String(kind)) << 1 << false;
            QTest::addRow("%s ID3v2", kind) << QString(QLatin1String(kind)) << 2 << true;
        }
        // Their own tags, whatever the version.
        for (const char *kind : {"wav", "wma", "ogg", "flac", "opus", "mpc"})
            for (int version : {1, 2})
                QTest::addRow("%s, version %d", kind, version) << QString(QLatin1String(kind)) << version << true;
    }
    void roundTrip()
    {
        QFETCH(QString, kind);
        QFETCH(int, version);
        QFETCH(bool, copyrightKept);
        const QString file = makeFile(kind, QStringLiteral("roundtrip-%1").arg(version));
        const bool id3v1 = version == 1 && !copyrightKept;
        Tags written = kFull;
        if (id3v1)
            written.title = QStringLiteral("Sunrise Over Tokyo");   // ID3v1 is Latin-1
        TagLibInformation info;
        info.SetTagVersion(short(version));
        info.LoadFromFile(file);
        put(info, written);
        info.SaveToFile(file);

        Tags expected = written;
        if (!copyrightKept)
            expected.copyright.clear();
        QCOMPARE(loadFresh(file, short(version)), expected);

        // The ID3v1 tag as bytes: the last 128 of the file (FFmpeg ignores it behind an
        // ID3v2 tag).
        if (id3v1) {
            const QByteArray tail = readBytes(file).right(128);
            QVERIFY(tail.startsWith("TAG"));
            QCOMPARE(tail.mid(3, 30), expected.title.toLatin1().leftJustified(30, '\0'));
            QCOMPARE(tail.mid(33, 30), expected.artist.toLatin1().leftJustified(30, '\0'));
            QCOMPARE(tail.mid(93, 4), QByteArray::number(expected.year));
            QCOMPARE(int(uchar(tail[126])), expected.track);
            QCOMPARE(int(uchar(tail[127])), expected.genre);
            return;
        }
        // ffprobe reads the same (Ogg keeps its comments with the stream; FFmpeg does not
        // read Musepack's APE tag).
        if (kind == QLatin1String("mpc"))
            return;
        const bool streamTags = kind == QLatin1String("ogg") || kind == QLatin1String("opus");
        QCOMPARE(probeTag(file, "title", streamTags), expected.title);
        QCOMPARE(probeTag(file, "artist", streamTags), expected.artist);
        QCOMPARE(probeTag(file, "album", streamTags), expected.album);
        QCOMPARE(probeTag(file, "genre", streamTags), QStringLiteral("Rock"));
        QCOMPARE(probeTag(file, "track", streamTags).section(QLatin1Char('/'), 0, 0).toInt(), expected.track);
        if (kind != QLatin1String("wma"))
            QCOMPARE(probeTag(file, "date", streamTags).left(4).toInt(), expected.year);
        if (copyrightKept && kind != QLatin1String("ogg"))
            QCOMPARE(probeTag(file, "copyright", streamTags), expected.copyright);
    }

    // The two ID3 versions are separate tags: each save writes only its own.
    void versionsAreSeparate_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("mp3") << "mp3";
        QTest::newRow("mp2") << "mp2";
    }
    void versionsAreSeparate()
    {
        QFETCH(QString, kind);
        const QString file = makeFile(kind, "versions");
        Tags v2 = kFull;
        Tags v1{QStringLiteral("Old Title"), QStringLiteral("Old Artist"), QStringLiteral("Old Album"),
                QStringLiteral("Old comment"), QString(), 8, 1999, 3};
        TagLibInformation info;
        put(info, v2);
        info.SaveToFile(file);   // the default version is 2
        info.SetTagVersion(1);
        put(info, v1);
        info.SaveToFile(file);
        QCOMPARE(loadFresh(file, 2), v2);
        QCOMPARE(loadFresh(file, 1), v1);
        // And the other way round: a v2 save leaves the v1 tag alone.
        Tags v2b = v2;
        v2b.title = QStringLiteral("Changed");
        info.SetTagVersion(2);
        put(info, v2b);
        info.SaveToFile(file);
        QCOMPARE(loadFresh(file, 1), v1);
        QCOMPARE(loadFresh(file, 2), v2b);
    }

    void defaultVersionIsTwo()
    {
        const QString file = makeFile("mp3", "default-version");
        TagLibInformation writer;
        QCOMPARE(writer.tagVersion(), short(2));
        put(writer, kFull);
        writer.SaveToFile(file);
        TagLibInformation reader;
        reader.LoadFromFile(file);
        QCOMPARE(get(reader), kFull);
        QCOMPARE(loadFresh(file, 1), Tags());
    }

    void missingTagLoadsEmpty_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<int>("version");
        for (const char *kind : {"mp3", "wav", "wma", "ogg", "flac", "opus", "mpc", "avi", "g721"})
            for (int version : {1, 2})
                QTest::addRow("%s v%d", kind, version) << QString(QLatin1String(kind)) << version;
    }
    void missingTagLoadsEmpty()
    {
        QFETCH(QString, kind);
        QFETCH(int, version);
        const QString file = makeFile(kind, "untagged");
        const Tags t = loadFresh(file, short(version));
        QCOMPARE(t, Tags());
        QCOMPARE(t.genre, -1);
    }

    // What a tag cannot hold is stored the way tag readers expect.
    void valuesThatDoNotFit_data()
    {
        QTest::addColumn<int>("version");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QVariant>("written");
        QTest::addColumn<QVariant>("loaded");
        const QString long40 = QStringLiteral("A title that is much longer than thirty");
        QTest::newRow("v1 long title cut to 30") << 1 << "mp3" << "infoTitle" << QVariant(long40) << QVariant(long40.left(30));
        QTest::newRow("v1 comment cut to 28 with a track") << 1 << "mp3" << "infoComments" << QVariant(long40) << QVariant(long40.left(28).trimmed());
        QTest::newRow("v1 non-Latin-1 as ?") << 1 << "mp3" << "infoArtist" << QVariant(QStringLiteral("Tōkyō 東京"))
                                             << QVariant(QStringLiteral("T?ky? ??"));
        QTest::newRow("v1 no genre") << 1 << "mp3" << "infoGenre" << QVariant(-1) << QVariant(-1);
        QTest::newRow("v1 genre 146") << 1 << "mp3" << "infoGenre" << QVariant(146) << QVariant(146);
        QTest::newRow("v1 track over 255 left out") << 1 << "mp3" << "infoTrack" << QVariant(300) << QVariant(0);
        QTest::newRow("v1 negative track left out") << 1 << "mp3" << "infoTrack" << QVariant(-4) << QVariant(0);
        QTest::newRow("v1 track 255") << 1 << "mp3" << "infoTrack" << QVariant(255) << QVariant(255);
        QTest::newRow("v1 five-digit year left out") << 1 << "mp3" << "infoYear" << QVariant(12345) << QVariant(0);
        QTest::newRow("v1 copyright has no field") << 1 << "mp3" << "infoCopyright" << QVariant(QStringLiteral("(C)")) << QVariant(QString());
        QTest::newRow("v2 long title kept") << 2 << "mp3" << "infoTitle" << QVariant(long40 + long40) << QVariant(long40 + long40);
        QTest::newRow("v2 track 70000 as it is") << 2 << "mp3" << "infoTrack" << QVariant(70000) << QVariant(70000);
        QTest::newRow("v2 negative track as it is") << 2 << "mp3" << "infoTrack" << QVariant(-5) << QVariant(-5);
        QTest::newRow("v2 no genre") << 2 << "mp3" << "infoGenre" << QVariant(-1) << QVariant(-1);
        QTest::newRow("v2 genre beyond the list") << 2 << "mp3" << "infoGenre" << QVariant(500) << QVariant(-1);
        QTest::newRow("v2 year 0 left out") << 2 << "mp3" << "infoYear" << QVariant(0) << QVariant(0);
        QTest::newRow("v2 six-digit year left out") << 2 << "mp3" << "infoYear" << QVariant(123456) << QVariant(0);
        QTest::newRow("WMA six-digit year kept") << 2 << "wma" << "infoYear" << QVariant(123456) << QVariant(123456);
        QTest::newRow("Ogg track 70000") << 2 << "ogg" << "infoTrack" << QVariant(70000) << QVariant(70000);
        QTest::newRow("FLAC genre 146") << 2 << "flac" << "infoGenre" << QVariant(146) << QVariant(146);
        QTest::newRow("FLAC genre beyond the numbered list") << 2 << "flac" << "infoGenre" << QVariant(147) << QVariant(-1);
        QTest::newRow("Opus five-digit year kept") << 2 << "opus" << "infoYear" << QVariant(12345) << QVariant(12345);
        QTest::newRow("WAV negative track") << 1 << "wav" << "infoTrack" << QVariant(-5) << QVariant(-5);
    }
    void valuesThatDoNotFit()
    {
        QFETCH(int, version);
        QFETCH(QString, kind);
        QFETCH(QString, field);
        QFETCH(QVariant, written);
        QFETCH(QVariant, loaded);
        const QString file = makeFile(kind, "limits");
        TagLibInformation info;
        info.SetTagVersion(short(version));
        Tags base = kFull;
        base.title = QStringLiteral("Base");
        put(info, base);
        QVERIFY(info.setProperty(field.toLatin1().constData(), written));
        info.SaveToFile(file);
        TagLibInformation fresh;
        fresh.SetTagVersion(short(version));
        fresh.LoadFromFile(file);
        QCOMPARE(fresh.property(field.toLatin1().constData()), loaded);
    }

    // A tag write never touches the audio: every sample decodes as before.
    void audioIsUntouched_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<int>("version");
        for (const char *kind : {"mp3", "mp2", "wav", "wma", "ogg", "flac", "opus", "mpc"})
            for (int version : {1, 2})
                QTest::addRow("%s v%d", kind, version) << QString(QLatin1String(kind)) << version;
    }
    void audioIsUntouched()
    {
        QFETCH(QString, kind);
        QFETCH(int, version);
        const QString file = makeFile(kind, "untouched");
        const std::vector<float> before = decodeAll(file);
        TagLibInformation info;
        info.SetTagVersion(short(version));
        // A large tag, so that ID3v2 must grow into the file.
        Tags big = kFull;
        big.comments = QString(3000, QLatin1Char('c'));
        put(info, big);
        info.SaveToFile(file);
        info.SaveToFile(file);
        const std::vector<float> after = decodeAll(file);
        QCOMPARE(after.size(), before.size());
        QCOMPARE(fixtures::maxDifference(after.data(), before.data(), after.size()), 0.0);
        // Nothing left behind in the folder.
        QVERIFY(QDir(m_dir.path()).entryList({".*.XXXXXX", ".untouched*"}, QDir::Hidden | QDir::Files).isEmpty());
    }

    // Size, duration and description of the loaded file; the duration is FfmpegAudioFile's
    // exact length.
    void streamFacts_data()
    {
        QTest::addColumn<QString>("kind");
        for (const char *kind : {"mp3", "mp2", "wav", "wma", "ogg", "flac", "opus", "mpc", "avi", "g721"})
            QTest::newRow(kind) << QString(QLatin1String(kind));
    }
    void streamFacts()
    {
        QFETCH(QString, kind);
        const QString file = makeFile(kind, "facts");
        TagLibInformation info;
        info.SetInfoFlag(true);
        info.LoadFromFile(file);
        FfmpegAudioFile reader;
        reader.Open(file, 0, 1);
        QCOMPARE(reader.GetErrorCode(), 0);
        QCOMPARE(info.GetFileSize(), QFileInfo(file).size());
        QCOMPARE(info.GetDuration(), reader.GetNumSamples() * 1000 / reader.GetFormatValueA());
        QVERIFY(std::abs(info.GetDuration() - 3000) < 80);
        QCOMPARE(info.GetFormatDescription(), reader.GetFormatDescription());
    }

    // A Xiph comment's texts that say more than the numbers do (a genre outside the
    // numbered list, a full date) stay as they are when another field is edited; the
    // fields that are changed are written.
    void unchangedXiphFieldsKeepTheirText_data()
    {
        QTest::addColumn<QString>("kind");
        for (const char *kind : {"flac", "ogg", "opus"})
            QTest::newRow(kind) << QString(QLatin1String(kind));
    }
    void unchangedXiphFieldsKeepTheirText()
    {
        QFETCH(QString, kind);
        const QString file = m_dir.filePath("texts." + kind);
        QString error;
        QVERIFY2(fixtures::makeWithFfmpeg(file, fixtures::Signal::Tone1k, 44100, 2, 1.0,
                                          {"-metadata", "genre=Synthpop", "-metadata", "date=2021-03-04",
                                           "-metadata", "title=First"},
                                          &error),
                 qPrintable(error));
        const bool streamTags = kind != QLatin1String("flac");
        TagLibInformation info;
        info.LoadFromFile(file);
        QCOMPARE(info.infoGenre(), -1);
        QCOMPARE(info.infoYear(), 2021);
        info.setProperty("infoTitle", QStringLiteral("Second"));
        info.SaveToFile(file);
        QCOMPARE(probeTag(file, "title", streamTags), QStringLiteral("Second"));
        QCOMPARE(probeTag(file, "genre", streamTags), QStringLiteral("Synthpop"));
        QCOMPARE(probeTag(file, "date", streamTags), QStringLiteral("2021-03-04"));
        Tags expected;
        expected.title = QStringLiteral("Second");
        expected.year = 2021;
        QCOMPARE(loadFresh(file, 2), expected);

        info.setProperty("infoYear", 2022);
        info.setProperty("infoGenre", 17);
        info.SaveToFile(file);
        QCOMPARE(probeTag(file, "genre", streamTags), QStringLiteral("Rock"));
        QCOMPARE(probeTag(file, "date", streamTags), QStringLiteral("2022"));
        QCOMPARE(probeTag(file, "title", streamTags), QStringLiteral("Second"));
    }

    void genreNames()
    {
        TagLibInformation info;
        QStringList names;
        for (int i = 0; i <= 146; ++i)
            names << info.GetGenreName(i);
        QCOMPARE(names.size(), 147);
        QVERIFY(!names.contains(QString()));
        QCOMPARE(names.removeDuplicates(), 0);
        QCOMPARE(names[0], QStringLiteral("Blues"));
        QCOMPARE(names[17], QStringLiteral("Rock"));
        QCOMPARE(names[80], QStringLiteral("Folk"));
        QCOMPARE(info.GetGenreName(-1), QString());
        QCOMPARE(info.GetGenreName(147), QString());
    }

    // A recording of nothing loads: the tag editor resets from it as a recording starts.
    void emptyRecordingLoads_data() { testaudio::addFormatRows("suffix"); }
    void emptyRecordingLoads()
    {
        QFETCH(QString, suffix);
        const QString file = m_dir.filePath("Untitled1" + suffix);
        FfmpegAudioFile maker;
        maker.SetActive(true);
        maker.Create(file, 0);
        maker.Close();
        TagLibInformation info;
        info.LoadFromFile(file);
        QCOMPARE(info.GetDuration(), 0);
        QCOMPARE(info.GetFileSize(), QFileInfo(file).size());
        QCOMPARE(get(info), Tags());
        put(info, kFull);
        info.SaveToFile(file);
        QCOMPARE(loadFresh(file, 2).title, kFull.title);
    }

    void loadErrorsThrow_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("content");   // "<dir>" a folder, "<none>" nothing
        QTest::addColumn<QString>("reason");
        QTest::newRow("missing") << "nothing-here.mp3" << QByteArray("<none>") << "No such file or directory";
        QTest::newRow("directory") << "a-folder.mp3" << QByteArray("<dir>") << "Is a directory";
        QTest::newRow("empty") << "zero.mp3" << QByteArray() << "The file is empty";
        QTest::newRow("not audio") << "letter.mp3" << QByteArray("Dear reader, this is a letter.\n") << "Invalid data found when processing input";
    }
    void loadErrorsThrow()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, content);
        QFETCH(QString, reason);
        const QString file = m_dir.filePath(name);
        if (content == "<dir>") {
            QVERIFY(QDir().mkpath(file));
        } else if (content != "<none>") {
            QFile f(file);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(content);
        }
        TagLibInformation info;
        try {
            info.LoadFromFile(file);
            QFAIL("LoadFromFile did not throw");
        } catch (const EngineError &e) {
            QCOMPARE(e.text(), QStringLiteral("Cannot open %1: %2").arg(file, reason));
        }
        try {
            info.SaveToFile(file);
            QFAIL("SaveToFile did not throw");
        } catch (const EngineError &e) {
            QCOMPARE(e.text(), QStringLiteral("Cannot write tags to %1: %2").arg(file, reason));
        }
    }

    void typesWithoutTagsRefuseToSave_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("reason");
        QTest::newRow("avi") << "avi" << "AVI files hold no tags";
        QTest::newRow("g721") << "g721" << "Raw G.721 files hold no tags";
    }
    void typesWithoutTagsRefuseToSave()
    {
        QFETCH(QString, kind);
        QFETCH(QString, reason);
        const QString file = makeFile(kind, "tagless");
        const QByteArray before = readBytes(file);
        TagLibInformation info;
        put(info, kFull);
        try {
            info.SaveToFile(file);
            QFAIL("SaveToFile did not throw");
        } catch (const EngineError &e) {
            QCOMPARE(e.text(), QStringLiteral("Cannot write tags to %1: %2").arg(file, reason));
        }
        QCOMPARE(readBytes(file), before);
    }

    // The tag editor's Apply is enabled while recording; the file being written is left
    // alone and the recording goes on unharmed.
    void fileBeingRecordedIsRefused()
    {
        const QString file = m_dir.filePath("recording.wav");
        FfmpegAudioFile writer;
        writer.SetWavFormat(44100, 2, 16);
        writer.Create(file, 0);
        const qint64 first = fixtures::writeTone(writer, 1000, 0.6, 44100, 2);
        TagLibInformation info;
        put(info, kFull);
        try {
            info.SaveToFile(file);
            QFAIL("SaveToFile did not throw");
        } catch (const EngineError &e) {
            QCOMPARE(e.text(), QStringLiteral("Cannot write tags to %1: The file is being recorded").arg(file));
        }
        const qint64 second = fixtures::writeTone(writer, 1000, 0.6, 44100, 2);
        writer.Close();
        FfmpegAudioFile reader;
        reader.Open(file, 0, 1);
        QCOMPARE(reader.GetNumSamples(), first + second);
        info.SaveToFile(file);   // finished: now it may
        QCOMPARE(loadFresh(file, 2), kFull);
    }

    // A save that fails half way (the disk fills up while the copy is made) leaves the
    // original exactly as it was and no copy behind.
    void failedSaveLeavesTheFileIntact()
    {
        const QString folder = m_dir.filePath("full-disk");
        QVERIFY(QDir().mkpath(folder));
        const QString file = folder + "/song.wav";
        QVERIFY(QFile::copy(makeFile("wav", "full-disk-source"), file));
        const QByteArray before = readBytes(file);
        const pid_t child = fork();
        QVERIFY(child >= 0);
        if (child == 0) {
            signal(SIGXFSZ, SIG_IGN);
            const rlimit rl{rlim_t(before.size() / 2), rlim_t(before.size() / 2)};
            setrlimit(RLIMIT_FSIZE, &rl);
            int code = 3;
            try {
                TagLibInformation info;
                put(info, kFull);
                info.SaveToFile(file);
                code = 1;
            } catch (const EngineError &e) {
                code = e.text() == QStringLiteral("Cannot write tags to %1: File too large").arg(file) ? 0 : 2;
            }
            _exit(code);
        }
        int status = 0;
        waitpid(child, &status, 0);
        QVERIFY(WIFEXITED(status));
        QCOMPARE(WEXITSTATUS(status), 0);
        QCOMPARE(readBytes(file), before);
        QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{"song.wav"});
    }

    // Saving through a symbolic link tags the file it names and keeps the link; the
    // file keeps its permissions.
    void linksAndPermissionsAreKept()
    {
        const QString file = makeFile("mp3", "linked");
        QVERIFY(QFile::setPermissions(file, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup));
        const QFileDevice::Permissions permissions = QFileInfo(file).permissions();
        const QString link = m_dir.filePath("link-to-linked.mp3");
        QVERIFY(QFile::link(file, link));
        TagLibInformation info;
        put(info, kFull);
        info.SaveToFile(link);
        QVERIFY(QFileInfo(link).isSymLink());
        QCOMPARE(loadFresh(file, 2), kFull);
        QCOMPARE(QFileInfo(file).permissions(), permissions);
        struct stat st {};
        QVERIFY(::stat(QFile::encodeName(file).constData(), &st) == 0);
        QCOMPARE(st.st_mode & 07777, mode_t(0640));
    }
};

QTEST_GUILESS_MAIN(TestAudioInformation)
#include "tst_audio_information.moc"
