// The tag editor on the fake engine: its look and layout, Reset, Apply with the year and
// track checks, and the tag version choice.
#include "file_list_helpers.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>

using namespace filelist;

namespace {

// A window with one listed and selected MP3 file carrying the given tags.
QString startWithTaggedFile(WindowFixture &w, const fake::Tags &tags = {})
{
    w.start();
    const QString path = addRow(w, "song.mp3");
    w.engine.tags[path] = tags;
    page(w).setResetEnabled(true);   // as loading a file into the window does
    select(w, 0);
    return path;
}

void fill(const TagEditor &p, const QString &year, const QString &track)
{
    p.title->setText("T");
    p.artist->setText("A");
    p.album->setText("L");
    p.genre->setCurrentIndex(3);
    p.copyright->setText("C");
    p.comment->setText("M");
    p.year->setText(year);
    p.track->setText(track);
}

}  // namespace

class TestTagEditor : public QObject {
    Q_OBJECT

private slots:
    void atStart()
    {
        WindowFixture w;
        w.start();
        const TagEditor p(page(w));
        const QList<QWidget *> fields{p.title, p.artist, p.album, p.genre,
                                      p.copyright, p.year, p.track, p.comment};
        // Each field has one label, naming it as its buddy.
        QStringList texts;
        for (QWidget *field : fields) {
            const QList<QLabel *> labels = p.labelsOf(field);
            QCOMPARE(labels.size(), 1);
            texts << labels.first()->text();
        }
        QCOMPARE(texts, QStringList({"Title:", "Artist:", "Album:", "Genre:", "Copyright:", "Year:", "Track:", "Comment:"}));

        // Tab order: Title, Artist, Album, Genre, Copyright, Year, Track, Comment.
        for (int i = 0; i + 1 < fields.size(); ++i)
            QCOMPARE(fields[i]->nextInFocusChain(), fields[i + 1]);

        QCOMPARE(p.version->title(), QString("Mpeg Tag Version"));
        QCOMPARE(p.id3v1->text(), QString("ID3v1"));
        QCOMPARE(p.id3v2->text(), QString("ID3v2"));
        QVERIFY(p.id3v2->isChecked() && !p.id3v1->isChecked());
        QCOMPARE(p.reset->text(), QString("Reset"));
        QCOMPARE(p.reset->toolTip(), QString("Reset file info"));
        QCOMPARE(p.apply->text(), QString("Apply"));
        QCOMPARE(p.apply->toolTip(), QString("Apply file info"));
        QVERIFY(!p.reset->isEnabled() && !p.apply->isEnabled());

        // 147 genres from the component, none chosen, no free text.
        QCOMPARE(p.genre->count(), 147);
        QCOMPARE(p.genre->itemText(0), QString("Genre 0"));
        QCOMPARE(p.genre->itemText(146), QString("Genre 146"));
        QCOMPARE(p.genre->currentIndex(), -1);
        QVERIFY(!p.genre->isEditable());
        QCOMPARE(w.engine.log.count("information.GetGenreName"), 147);
        // The component is told to read the tags of the files it loads.
        QCOMPARE(w.engine.log.count("information.SetInfoFlag(true)"), 1);
        // The radio group's first choice is not sent.
        QCOMPARE(w.engine.log.count("information.SetTagVersion"), 0);
    }

    void layoutRule_data()
    {
        QTest::addColumn<QSize>("window");
        QTest::newRow("initial 598x428") << QSize(598, 428);
        QTest::newRow("minimum 560x375") << QSize(560, 375);
        QTest::newRow("wider 800x500") << QSize(800, 500);
        QTest::newRow("large 1280x800") << QSize(1280, 800);
    }
    void layoutRule()
    {
        QFETCH(QSize, window);
        WindowFixture w;
        w.start();
        w.window->showTab(3);
        w.window->resize(window);
        FileInfoPage &pg = page(w);
        const TagEditor p(pg);
        QTreeWidget *l = &list(w);
        QTRY_COMPARE(w.window->size(), window.expandedTo(w.window->minimumSize()));
        QCoreApplication::processEvents();

        const int tabWidth = pg.width();
        QCOMPARE(p.reset->width(), 105);
        QCOMPARE(p.apply->width(), 105);
        QCOMPARE(p.version->width(), 105);
        QCOMPARE(p.reset->x(), tabWidth - 105 - 2);
        QCOMPARE(p.apply->x(), p.reset->x());
        QCOMPARE(p.version->x(), p.reset->x());
        QCOMPARE(l->width(), p.version->x() - 28);
        // The right-hand fields end where the list ends; they start at least 267 pixels
        // into the list (more only when the desktop's font needs room for the labels).
        const int inset = p.copyright->x() - l->x();
        QVERIFY2(inset >= 267, qPrintable(QString::number(inset)));
        QCOMPARE(p.copyright->width(), l->width() - inset);
        for (QWidget *f : {static_cast<QWidget *>(p.year), static_cast<QWidget *>(p.genre),
                           static_cast<QWidget *>(p.track)}) {
            QCOMPARE(f->width(), p.copyright->width());
            QCOMPARE(f->x(), p.copyright->x());
        }
        for (QWidget *f : {p.title, p.artist, p.album, p.comment})
            QCOMPARE(f->width(), 164);

        // Tidy: every control inside the page, no two overlapping, labels readable, the
        // list tall enough for its header and a few rows.
        QList<QWidget *> controls;
        for (QObject *o : pg.children())
            if (auto *c = qobject_cast<QWidget *>(o); c && !c->isWindow() && c->isVisible())
                controls << c;
        QVERIFY(controls.size() >= 20);
        for (QWidget *c : controls) {
            QVERIFY2(pg.rect().contains(c->geometry()), qPrintable(c->objectName()));
            for (QWidget *d : controls)
                if (c != d)
                    QVERIFY2(!c->geometry().intersects(d->geometry()),
                             qPrintable(c->objectName() + " " + d->objectName()));
            if (auto *l = qobject_cast<QLabel *>(c))
                QVERIFY2(l->width() >= l->sizeHint().width(), qPrintable(l->text()));
        }
        QVERIFY(p.copyright->width() >= 80);
        QVERIFY(l->height() >= l->header()->height() + 2 * 18);
        // The right column's three controls do not run into each other.
        QVERIFY(p.version->geometry().bottom() < p.reset->y());
        QVERIFY(p.version->height() >= p.version->sizeHint().height());
    }

    void resetFillsTheFields_data()
    {
        QTest::addColumn<int>("genre");
        QTest::addColumn<int>("year");
        QTest::addColumn<int>("track");
        QTest::addColumn<int>("genreIndex");
        QTest::addColumn<QString>("yearText");
        QTest::addColumn<QString>("trackText");
        QTest::newRow("ordinary") << 17 << 2003 << 7 << 17 << "2003" << "7";
        QTest::newRow("no tag values") << -1 << 0 << 0 << -1 << "0" << "0";
        QTest::newRow("last genre") << 146 << 1999 << 1 << 146 << "1999" << "1";
        QTest::newRow("genre beyond the list") << 147 << 1 << 1 << -1 << "1" << "1";
        QTest::newRow("track read as 16-bit") << 0 << 123456 << 70000 << 0 << "123456" << "4464";
        QTest::newRow("negative track") << 0 << -5 << -3 << 0 << "-5" << "-3";
    }
    void resetFillsTheFields()
    {
        QFETCH(int, genre);
        QFETCH(int, year);
        QFETCH(int, track);
        QFETCH(int, genreIndex);
        QFETCH(QString, yearText);
        QFETCH(QString, trackText);
        WindowFixture w;
        startWithTaggedFile(w, fake::Tags{"Ti", "Ar", "Al", "Co", "Cr", genre, year, track});
        const TagEditor p(page(w));
        QCOMPARE(p.genre->currentIndex(), genreIndex);
        QCOMPARE(p.year->text(), yearText);
        QCOMPARE(p.track->text(), trackText);
        QCOMPARE(p.comment->text(), QString("Co"));
        QCOMPARE(p.copyright->text(), QString("Cr"));
    }

    void resetReloadsTheCurrentFile()
    {
        WindowFixture w;
        const QString path = startWithTaggedFile(w, fake::Tags{"Old"});
        const TagEditor p(page(w));
        p.title->setText("typed, not applied");
        w.engine.tags[path].title = "Changed on disk";
        page(w).setResetEnabled(true);
        w.engine.log.clear();
        p.reset->click();
        QCOMPARE(w.engine.log.matching("information.LoadFromFile"),
                 QStringList({"information.LoadFromFile(" + path + ")"}));
        QCOMPARE(p.title->text(), QString("Changed on disk"));
    }

    void applySendsEverythingInOrderThenWrites()
    {
        WindowFixture w;
        const QString path = startWithTaggedFile(w);
        const TagEditor p(page(w));
        fill(p, "2003", "7");
        w.engine.log.clear();
        p.apply->click();
        // Every field goes into the file, written once, after all of them were given.
        const fake::Tags saved = w.engine.tags.value(path);
        QCOMPARE(QStringList({saved.title, saved.artist, saved.album, saved.copyright, saved.comments}),
                 QStringList({"T", "A", "L", "C", "M"}));
        QCOMPARE(QList<int>({saved.genre, saved.year, saved.track}), QList<int>({3, 2003, 7}));
        QCOMPARE(w.engine.log.count("information.SaveToFile"), 1);
        QCOMPARE(w.engine.log.matching("information.").last(), "information.SaveToFile(" + path + ")");
        QVERIFY(w.boxes.isEmpty());
    }

    void yearAndTrackChecks_data()
    {
        QTest::addColumn<QString>("year");
        QTest::addColumn<QString>("track");
        QTest::addColumn<QString>("written");   // the year and track in the file; "" = not written
        QTest::addColumn<QString>("notice");    // "" = written
        QTest::newRow("plain") << "2003" << "7" << "2003 7" << "";
        QTest::newRow("hexadecimal year") << "$7D3" << "1" << "2003 1" << "";
        QTest::newRow("leading blanks") << "  2003" << " 7" << "2003 7" << "";
        QTest::newRow("signs") << "-5" << "+12" << "-5 12" << "";
        QTest::newRow("no range test") << "0" << "70000" << "0 70000" << "";
        QTest::newRow("six-digit year, negative track") << "123456" << "-3" << "123456 -3" << "";
        QTest::newRow("year with a blank after") << "2003 " << "7" << "" << "Invalid Year Value";
        QTest::newRow("empty year") << "" << "7" << "" << "Invalid Year Value";
        QTest::newRow("year with a letter") << "20O3" << "7" << "" << "Invalid Year Value";
        QTest::newRow("year beyond 32 bits") << "4294967296" << "7" << "" << "Invalid Year Value";
        QTest::newRow("empty track") << "2003" << "" << "" << "Invalid Track Value";
        QTest::newRow("track with a fraction") << "2003" << "1.5" << "" << "Invalid Track Value";
        QTest::newRow("hexadecimal track") << "2003" << "$FF" << "2003 255" << "";
    }
    void yearAndTrackChecks()
    {
        QFETCH(QString, year);
        QFETCH(QString, track);
        QFETCH(QString, written);
        QFETCH(QString, notice);
        WindowFixture w;
        const QString path = startWithTaggedFile(w, fake::Tags{"On disk", {}, {}, {}, {}, -1, 1990, 2});
        w.window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w.window.get()));
        w.window->showTab(3);
        const TagEditor p(page(w));
        fill(p, year, track);
        p.title->setFocus();
        w.engine.log.clear();
        p.apply->click();

        const fake::Tags onDisk = w.engine.tags.value(path);
        if (notice.isEmpty()) {
            QVERIFY(w.boxes.isEmpty());
            QCOMPARE(w.engine.log.count("information.SaveToFile(" + path + ")"), 1);
            QCOMPARE(QStringLiteral("%1 %2").arg(onDisk.year).arg(onDisk.track), written);
            QCOMPARE(onDisk.title, QString("T"));
            return;
        }
        QVERIFY(written.isEmpty());
        QCOMPARE(notices(w), QStringList({notice}));
        QCOMPARE(w.engine.log.count("information.SaveToFile"), 0);
        QCOMPARE(onDisk.title, QString("On disk"));
        QCOMPARE(QList<int>({onDisk.year, onDisk.track}), QList<int>({1990, 2}));
        QLineEdit *field = notice.contains("Year") ? p.year : p.track;
        QTRY_VERIFY(field->hasFocus());
        // The fields keep their text.
        QCOMPARE(p.year->text(), year);
        QCOMPARE(p.track->text(), track);
    }

    void aStoppedApplyWritesNothingAndResetShowsTheFile()
    {
        WindowFixture w;
        const QString path = startWithTaggedFile(w, fake::Tags{"On disk", {}, {}, {}, {}, -1, 1990, 2});
        const TagEditor p(page(w));
        fill(p, "bad", "7");
        p.apply->click();
        QCOMPARE(p.title->text(), QString("T"));
        QCOMPARE(w.engine.tags.value(path).title, QString("On disk"));
        p.reset->click();
        QCOMPARE(p.title->text(), QString("On disk"));
        QCOMPARE(w.engine.information()->infoTitle(), QString("On disk"));
    }

    void noGenreSendsMinusOne()
    {
        WindowFixture w;
        const QString path = startWithTaggedFile(w, fake::Tags{"On disk", {}, {}, {}, {}, 17, 1990, 2});
        const TagEditor p(page(w));
        QCOMPARE(p.genre->currentIndex(), 17);
        fill(p, "2003", "7");
        p.genre->setCurrentIndex(-1);
        p.apply->click();
        QCOMPARE(w.engine.tags.value(path).genre, -1);
    }

    void tagVersionChoice()
    {
        WindowFixture w;
        startWithTaggedFile(w, fake::Tags{"Shown"});
        const TagEditor p(page(w));
        p.title->setText("typed");
        w.engine.log.clear();
        QTest::mouseClick(p.id3v1, Qt::LeftButton);
        QTest::mouseClick(p.id3v2, Qt::LeftButton);
        QTest::mouseClick(p.id3v1, Qt::LeftButton);
        QCOMPARE(w.engine.log.matching("information."),
                 QStringList({"information.SetTagVersion(1)", "information.SetTagVersion(2)",
                              "information.SetTagVersion(1)"}));
        // The fields are not reloaded by the choice.
        QCOMPARE(p.title->text(), QString("typed"));
        QCOMPARE(w.engine.information()->tagVersion(), short(1));
    }

    void buttonsFollowTheTransport()
    {
        WindowFixture w;
        w.start();
        const TagEditor p(page(w));
        const QString path = makeFile(w, "song.mp3");
        w.openFileAnswers << path;
        w.trigger("openAction");   // loading a file enables both
        QVERIFY(p.reset->isEnabled() && p.apply->isEnabled());
        select(w, 0);
        w.trigger("playRowAction");
        select(w, 0);
        list(w).clearSelection();
        select(w, 0);
        QVERIFY(!p.apply->isEnabled());
        QVERIFY(p.reset->isEnabled());   // nothing disables Reset
        w.window->stop();
        QVERIFY(p.apply->isEnabled());
    }
};

QTEST_MAIN(TestTagEditor)
#include "tst_tag_editor.moc"
