// The tag editor on the real tag component: ID3v1 and ID3v2 tags written into real MP3
// files (made by the real file component) and read back by a fresh component and ffprobe.
// The sound side stays fake, so no sound server is needed.
#include "file_list_helpers.h"

#include "common/test_audio.h"
#include "ui/file_info_page.h"

#include <QComboBox>
#include <QCryptographicHash>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>

namespace {

// The fake engine with the real tag component, and the real file component for markers.
class RealTagsEngine : public fake::FakeEngine {
public:
    std::unique_ptr<engine::IAudioInformation2> createInformation(const QString &name) override
    {
        return m_real->createInformation(name);
    }
    std::unique_ptr<engine::IAudioFile2> createFile(const QString &name) override
    {
        return name == QLatin1String("markerFile") ? m_real->createFile(name) : fake::FakeEngine::createFile(name);
    }

private:
    std::unique_ptr<engine::IEngineFactory> m_real = engine::createEngineFactory();
};

struct Window {
    QTemporaryDir dir;
    RealTagsEngine engine;
    std::unique_ptr<RecorderCore> core;   // outlives the window, as in main()
    std::unique_ptr<MainWindow> window;
    QList<ui::Box> boxes;

    Window()
    {
        ui::Hooks hooks;
        hooks.box = [this](const ui::Box &b) {
            boxes.append(b);
            return true;
        };
        ui::setHooks(hooks);
        core = std::make_unique<RecorderCore>(engine, AppPaths::besideProgram(dir.path()));
        window = std::make_unique<MainWindow>(*core);
        window->setTipOfTheDayOffered(false);
        window->createSecondaryWindows();
        window->show();
    }
    ~Window()
    {
        window.reset();
        core.reset();
        ui::setHooks({});
    }
    FileInfoPage &page() { return *window->findChild<FileInfoPage *>("fileInfoPage"); }
    QTreeWidget &list() { return *window->findChild<QTreeWidget *>("fileList"); }
    filelist::TagEditor editor() { return filelist::TagEditor(page()); }
    QString path(const QString &name) const { return dir.filePath(name); }
};

// Two seconds of a 440 Hz tone as a 128 kbit/s MP3, written by the real file component.
QString makeMp3(const QString &path)
{
    auto factory = engine::createEngineFactory();
    auto file = factory->createFile(QStringLiteral("writer"));
    file->SetActive(true);
    file->SetMp3Format(44100, 128, 2);
    file->Create(path, 0);
    file->WriteArray(engine::SampleArray::fromFloat(testaudio::tone(440, 2.0, 44100, 2), 44100, 2));
    file->Close();
    return path;
}

struct ReadBack {
    QString title, artist, album, comments, copyright;
    int genre = -1, year = 0, track = 0;
};

ReadBack readFresh(const QString &path, short version)
{
    auto info = engine::createEngineFactory()->createInformation(QStringLiteral("fresh"));
    info->SetTagVersion(version);
    info->LoadFromFile(path);
    return {info->infoTitle(), info->infoArtist(), info->infoAlbum(), info->infoComments(),
            info->infoCopyright(), info->infoGenre(), info->infoYear(), info->infoTrack()};
}

QByteArray digest(const QString &path)
{
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
}

// Lists the file as a finished recording is listed, and selects its row.
void listAndSelect(Window &w, const QString &path)
{
    w.window->files().add(path);
    w.page().setResetEnabled(true);   // as loading a file into the window does
    QTreeWidget &list = w.list();
    list.setCurrentItem(list.topLevelItem(list.topLevelItemCount() - 1));
}

void fill(const filelist::TagEditor &p, const QString &title, const QString &year, const QString &track)
{
    p.title->setText(title);
    p.artist->setText("Tavrin Ensemble");
    p.album->setText("Field Takes");
    p.genre->setCurrentIndex(17);
    p.copyright->setText("(c) 2024 Tavrin");
    p.comment->setText("first take");
    p.year->setText(year);
    p.track->setText(track);
}

}  // namespace

class TestTagEditorFiles : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        if (!QFileInfo::exists(QStringLiteral("/usr/bin/ffprobe")))
            QSKIP("ffprobe is not installed");
    }

    void rowOfARealFile()
    {
        Window w;
        const QString path = makeMp3(w.path("take.mp3"));
        w.window->files().add(path);
        const QTreeWidgetItem *row = w.list().topLevelItem(0);
        QCOMPARE(row->text(1), QStringLiteral("%1 KB").arg(QFileInfo(path).size() / 1000));
        QCOMPARE(row->text(2), QString("00:02"));
        listAndSelect(w, path);
        QVERIFY(w.window->statusText(2).startsWith("MP3  128 kbps"));
        QVERIFY(w.boxes.isEmpty());
    }

    void id3v2ThroughTheEditor()
    {
        Window w;
        const QString path = makeMp3(w.path("take.mp3"));
        listAndSelect(w, path);
        const filelist::TagEditor p = w.editor();
        // A file without tags shows empty texts and zeros.
        QCOMPARE(p.title->text(), QString());
        QCOMPARE(p.year->text(), QString("0"));
        QCOMPARE(p.track->text(), QString("0"));
        QCOMPARE(p.genre->currentIndex(), -1);
        QCOMPARE(p.genre->itemText(17), QString("Rock"));

        fill(p, QString::fromUtf8("Morgen am Fluß – take"), "$7D3", "70000");
        p.apply->click();
        QVERIFY2(w.boxes.isEmpty(), qPrintable(w.boxes.value(0).text));

        const ReadBack v2 = readFresh(path, 2);
        QCOMPARE(v2.title, QString::fromUtf8("Morgen am Fluß – take"));
        QCOMPARE(v2.artist, QString("Tavrin Ensemble"));
        QCOMPARE(v2.album, QString("Field Takes"));
        QCOMPARE(v2.comments, QString("first take"));
        QCOMPARE(v2.copyright, QString("(c) 2024 Tavrin"));
        QCOMPARE(v2.genre, 17);
        QCOMPARE(v2.year, 2003);
        QCOMPARE(v2.track, 70000);
        QCOMPARE(readFresh(path, 1).title, QString());   // no ID3v1 tag was made

        const QString probed = testaudio::run(QStringLiteral("ffprobe"),
                                              {"-v", "error", "-show_entries", "format_tags=title,genre,date",
                                               "-of", "default=noprint_wrappers=1", path});
        QVERIFY2(probed.contains(QString::fromUtf8("TAG:title=Morgen am Fluß – take")), qPrintable(probed));
        QVERIFY2(probed.contains("TAG:genre=Rock"), qPrintable(probed));
        QVERIFY2(probed.contains("TAG:date=2003"), qPrintable(probed));

        // Reset shows the track as the 16-bit value.
        p.reset->click();
        QCOMPARE(p.track->text(), QString("4464"));
        QCOMPARE(p.year->text(), QString("2003"));
    }

    // Markers show under their file's row; renaming one and Apply change that name alone:
    // every other marker, tag and comment stays as it was.
    void aMarkerRenamedInFileInfo_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("mp3") << "take.mp3";
        QTest::newRow("flac") << "take.flac";
        QTest::newRow("wav") << "take.wav";
    }
    void aMarkerRenamedInFileInfo()
    {
        QFETCH(QString, name);
        Window w;
        const QString path = w.path(name);
        {
            auto factory = engine::createEngineFactory();
            auto file = factory->createFile(QStringLiteral("writer"));
            file->SetActive(true);
            file->SetMp3Format(44100, 128, 2);
            file->SetWavFormat(44100, 2, 16);
            file->Create(path, 0);
            file->WriteArray(engine::SampleArray::fromFloat(testaudio::tone(440, 3.0, 44100, 2), 44100, 2));
            file->Close();
            auto info = factory->createInformation(QStringLiteral("tagger"));
            info->SetTagVersion(2);
            info->LoadFromFile(path);
            info->setInfoTitle(QStringLiteral("Lecture"));
            info->setInfoComments(QStringLiteral("hall B"));
            info->SaveToFile(path);
            file->SetMarkers(path, {{22050, QStringLiteral("Intro")}, {88200, QStringLiteral("Questions")}});
        }
        const auto tags = [&path] {
            return testaudio::run(QStringLiteral("ffprobe"), {"-v", "error", "-show_entries", "format_tags", "-of",
                                                              "default=noprint_wrappers=1", path});
        };
        const QString before = tags();
        listAndSelect(w, path);
        QTreeWidgetItem *file = w.list().topLevelItem(0);
        QCOMPARE(file->childCount(), 2);
        QCOMPARE(file->child(0)->text(0), QString("Intro"));
        QCOMPARE(file->child(1)->text(2), QString("00:02.000"));
        file->child(1)->setText(0, QString::fromUtf8("Fragen\n=und Antworten"));
        w.editor().apply->click();
        QVERIFY2(w.boxes.isEmpty(), qPrintable(w.boxes.value(0).text));

        const std::vector<engine::FileMarker> after =
            engine::createEngineFactory()->createFile(QStringLiteral("reader"))->GetMarkers(path);
        QCOMPARE(after.size(), size_t(2));
        QCOMPARE(after[0].name, QString("Intro"));
        QCOMPARE(after[1].name, QString("Fragen und Antworten"));
        QVERIFY(std::abs(after[1].frame - 88200) <= 44);
        if (!name.endsWith(".wav"))
            QCOMPARE(tags(), before);
        QCOMPARE(readFresh(path, 2).title, QString("Lecture"));
        QCOMPARE(readFresh(path, 2).comments, QString("hall B"));
    }

    void vorbisCommentsKeepWhatWasNotEdited_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("codec");
        QTest::newRow("flac") << "take.flac" << QStringList{"-c:a", "flac"};
        QTest::newRow("ogg") << "take.ogg" << QStringList{"-c:a", "libvorbis"};
        QTest::newRow("opus") << "take.opus" << QStringList{"-c:a", "libopus"};
    }
    void vorbisCommentsKeepWhatWasNotEdited()
    {
        QFETCH(QString, name);
        QFETCH(QStringList, codec);
        Window w;
        const QString path = w.path(name);
        testaudio::run(QStringLiteral("ffmpeg"),
                       QStringList{"-v", "error", "-y", "-f", "lavfi", "-i", "sine=frequency=440:duration=1"} + codec
                           + QStringList{"-metadata", "title=Old", "-metadata", "genre=Synthpop", "-metadata",
                                         "date=2021-03-04", path});
        QVERIFY(QFileInfo::exists(path));
        listAndSelect(w, path);
        const filelist::TagEditor p = w.editor();
        QVERIFY(!p.version->isEnabled());   // no ID3 version for Vorbis comments
        QCOMPARE(p.title->text(), QString("Old"));
        QCOMPARE(p.genre->currentIndex(), -1);   // a genre outside the numbered list
        QCOMPARE(p.year->text(), QString("2021"));

        p.title->setText("New");
        p.apply->click();
        QVERIFY2(w.boxes.isEmpty(), qPrintable(w.boxes.value(0).text));
        const QString probed = testaudio::run(QStringLiteral("ffprobe"),
                                              {"-v", "error", "-show_entries", "format_tags:stream_tags",
                                               "-of", "default=noprint_wrappers=1", path}).toLower();
        QVERIFY2(probed.contains("title=new") && probed.contains("genre=synthpop") && probed.contains("date=2021-03-04"),
                 qPrintable(probed));
    }

    void id3v1ThroughTheEditor()
    {
        Window w;
        const QString path = makeMp3(w.path("take.mp3"));
        listAndSelect(w, path);
        const filelist::TagEditor p = w.editor();
        QTest::mouseClick(p.id3v1, Qt::LeftButton);
        fill(p, "Version one", "1999", "12");
        p.apply->click();
        QVERIFY2(w.boxes.isEmpty(), qPrintable(w.boxes.value(0).text));

        const ReadBack v1 = readFresh(path, 1);
        QCOMPARE(v1.title, QString("Version one"));
        QCOMPARE(v1.artist, QString("Tavrin Ensemble"));
        QCOMPARE(v1.album, QString("Field Takes"));
        QCOMPARE(v1.comments, QString("first take"));
        QCOMPARE(v1.genre, 17);
        QCOMPARE(v1.year, 1999);
        QCOMPARE(v1.track, 12);
        QCOMPARE(v1.copyright, QString());   // ID3v1 has no copyright field
        QCOMPARE(readFresh(path, 2).title, QString());

        // The last 128 bytes are the ID3v1 tag.
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        f.seek(f.size() - 128);
        const QByteArray tag = f.read(128);
        QVERIFY(tag.startsWith("TAGVersion one"));
        QCOMPARE(int(quint8(tag[126])), 12);
        QCOMPARE(int(quint8(tag[127])), 17);
    }

    void versionSwitchLeavesTheFieldsUntilReset()
    {
        Window w;
        const QString path = makeMp3(w.path("take.mp3"));
        listAndSelect(w, path);
        const filelist::TagEditor p = w.editor();
        fill(p, "Two", "2002", "2");
        p.apply->click();
        QTest::mouseClick(p.id3v1, Qt::LeftButton);
        fill(p, "One", "2001", "1");
        p.apply->click();
        QVERIFY(w.boxes.isEmpty());

        QTest::mouseClick(p.id3v2, Qt::LeftButton);
        p.reset->click();
        QCOMPARE(p.title->text(), QString("Two"));
        QTest::mouseClick(p.id3v1, Qt::LeftButton);
        QCOMPARE(p.title->text(), QString("Two"));
        QCOMPARE(p.year->text(), QString("2002"));
        p.reset->click();
        QCOMPARE(p.title->text(), QString("One"));
        QCOMPARE(p.year->text(), QString("2001"));
    }

    void refusedApplyLeavesTheFileAsItWas()
    {
        Window w;
        const QString path = makeMp3(w.path("take.mp3"));
        listAndSelect(w, path);
        const filelist::TagEditor p = w.editor();
        const QByteArray before = digest(path);
        fill(p, "Never written", "2003 ", "1");
        p.apply->click();
        QCOMPARE(w.boxes.size(), 1);
        QCOMPARE(w.boxes[0].text, QString("Invalid Year Value"));
        QCOMPARE(digest(path), before);
        fill(p, "Never written", "2003", "");
        p.apply->click();
        QCOMPARE(w.boxes.size(), 2);
        QCOMPARE(w.boxes[1].text, QString("Invalid Track Value"));
        QCOMPARE(digest(path), before);
        QCOMPARE(readFresh(path, 2).title, QString());
    }

    void tagsOfAFileThatVanishedAreReported()
    {
        Window w;
        const QString path = makeMp3(w.path("take.mp3"));
        listAndSelect(w, path);
        QFile::remove(path);
        QPushButton *apply = w.editor().apply;
        apply->setEnabled(true);
        apply->click();
        QCOMPARE(w.boxes.size(), 1);
        QCOMPARE(w.boxes[0].kind, ui::BoxKind::Error);
        QVERIFY2(w.boxes[0].text.startsWith("Cannot write tags to " + path), qPrintable(w.boxes[0].text));
    }
};

QTEST_MAIN(TestTagEditorFiles)
#include "tst_tag_editor_files.moc"
