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
    w.form->SetResetEnabled(true);   // as loading a file into the window does
    select(w, 0);
    return path;
}

void fill(FileInfoPage &p, const QString &year, const QString &track)
{
    p.infoTitle->setText("T");
    p.infoArtist->setText("A");
    p.infoAlbum->setText("L");
    p.infoGenre->setCurrentIndex(3);
    p.infoCopyright->setText("C");
    p.infoComment->setText("M");
    p.infoYear->setText(year);
    p.infoTrack->setText(track);
}

}  // namespace

class TestTagEditor : public QObject {
    Q_OBJECT

private slots:
    void atStart()
    {
        WindowFixture w;
        w.start();
        FileInfoPage &p = page(w);
        const QList<QLabel *> labels{p.titleLabel, p.artistLabel, p.albumLabel, p.genreLabel,
                                     p.copyrightLabel, p.yearLabel, p.trackLabel, p.commentLabel};
        const QList<QWidget *> fields{p.infoTitle, p.infoArtist, p.infoAlbum, p.infoGenre,
                                      p.infoCopyright, p.infoYear, p.infoTrack, p.infoComment};
        QStringList texts;
        for (int i = 0; i < labels.size(); ++i) {
            texts << labels[i]->text();
            QCOMPARE(labels[i]->buddy(), fields[i]);
        }
        QCOMPARE(texts, QStringList({"Title:", "Artist:", "Album:", "Genre:", "Copyright:", "Year:", "Track:", "Comment:"}));

        // Tab order: Title, Artist, Album, Genre, Copyright, Year, Track, Comment.
        for (int i = 0; i + 1 < fields.size(); ++i)
            QCOMPARE(fields[i]->nextInFocusChain(), fields[i + 1]);

        QCOMPARE(p.infoMTV->title(), QString("Mpeg Tag Version"));
        QCOMPARE(p.infoMTV1->text(), QString("ID3v1"));
        QCOMPARE(p.infoMTV2->text(), QString("ID3v2"));
        QVERIFY(p.infoMTV2->isChecked() && !p.infoMTV1->isChecked());
        QCOMPARE(p.btnReset->text(), QString("Reset"));
        QCOMPARE(p.btnReset->toolTip(), QString("Reset file info"));
        QCOMPARE(p.btnApply->text(), QString("Apply"));
        QCOMPARE(p.btnApply->toolTip(), QString("Apply file info"));
        QVERIFY(!p.btnReset->isEnabled() && !p.btnApply->isEnabled());

        // 147 genres from the component, none chosen, no free text.
        QCOMPARE(p.infoGenre->count(), 147);
        QCOMPARE(p.infoGenre->itemText(0), QString("Genre 0"));
        QCOMPARE(p.infoGenre->itemText(146), QString("Genre 146"));
        QCOMPARE(p.infoGenre->currentIndex(), -1);
        QVERIFY(!p.infoGenre->isEditable());
        QCOMPARE(w.engine.log.count("information.GetGenreName"), 147);
        QVERIFY(w.engine.log.indexOf("information.SetInfoFlag(true)")
                > w.engine.log.indexOf("information.GetGenreName(146)"));
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
        w.form->ShowTab(3);
        w.form->resize(window);
        FileInfoPage &p = page(w);
        QTRY_COMPARE(w.form->size(), window.expandedTo(w.form->minimumSize()));
        QCoreApplication::processEvents();

        const int tabWidth = p.width();
        QCOMPARE(p.btnReset->width(), 105);
        QCOMPARE(p.btnApply->width(), 105);
        QCOMPARE(p.infoMTV->width(), 105);
        QCOMPARE(p.btnReset->x(), tabWidth - 105 - 2);
        QCOMPARE(p.btnApply->x(), p.btnReset->x());
        QCOMPARE(p.infoMTV->x(), p.btnReset->x());
        QCOMPARE(p.ListView1->width(), p.infoMTV->x() - 28);
        // The right-hand fields end where the list ends; they start at least 267 pixels
        // into the list (more only when the desktop's font needs room for the labels).
        const int inset = p.infoCopyright->x() - p.ListView1->x();
        QVERIFY2(inset >= 267, qPrintable(QString::number(inset)));
        QCOMPARE(p.infoCopyright->width(), p.ListView1->width() - inset);
        for (QWidget *f : {static_cast<QWidget *>(p.infoYear), static_cast<QWidget *>(p.infoGenre),
                           static_cast<QWidget *>(p.infoTrack)}) {
            QCOMPARE(f->width(), p.infoCopyright->width());
            QCOMPARE(f->x(), p.infoCopyright->x());
        }
        for (QWidget *f : {p.infoTitle, p.infoArtist, p.infoAlbum, p.infoComment})
            QCOMPARE(f->width(), 164);

        // Tidy: every control inside the page, no two overlapping, labels readable, the
        // list tall enough for its header and a few rows.
        QList<QWidget *> controls;
        for (QObject *o : p.children())
            if (auto *c = qobject_cast<QWidget *>(o); c && !c->isWindow() && c->isVisible())
                controls << c;
        QVERIFY(controls.size() >= 20);
        for (QWidget *c : controls) {
            QVERIFY2(p.rect().contains(c->geometry()), qPrintable(c->objectName()));
            for (QWidget *d : controls)
                if (c != d)
                    QVERIFY2(!c->geometry().intersects(d->geometry()),
                             qPrintable(c->objectName() + " " + d->objectName()));
            if (auto *l = qobject_cast<QLabel *>(c))
                QVERIFY2(l->width() >= l->sizeHint().width(), qPrintable(l->text()));
        }
        QVERIFY(p.infoCopyright->width() >= 80);
        QVERIFY(p.ListView1->height() >= p.ListView1->header()->height() + 2 * 18);
        // The right column's three controls do not run into each other.
        QVERIFY(p.infoMTV->geometry().bottom() < p.btnReset->y());
        QVERIFY(p.infoMTV->height() >= p.infoMTV->sizeHint().height());
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
        FileInfoPage &p = page(w);
        QCOMPARE(p.infoGenre->currentIndex(), genreIndex);
        QCOMPARE(p.infoYear->text(), yearText);
        QCOMPARE(p.infoTrack->text(), trackText);
        QCOMPARE(p.infoComment->text(), QString("Co"));
        QCOMPARE(p.infoCopyright->text(), QString("Cr"));
    }

    void resetReloadsTheCurrentFile()
    {
        WindowFixture w;
        const QString path = startWithTaggedFile(w, fake::Tags{"Old"});
        FileInfoPage &p = page(w);
        p.infoTitle->setText("typed, not applied");
        w.engine.tags[path].title = "Changed on disk";
        w.form->SetResetEnabled(true);
        w.engine.log.clear();
        p.btnReset->click();
        QCOMPARE(w.engine.log.matching("information.LoadFromFile"),
                 QStringList({"information.LoadFromFile(" + path + ")"}));
        QCOMPARE(p.infoTitle->text(), QString("Changed on disk"));
    }

    void applySendsEverythingInOrderThenWrites()
    {
        WindowFixture w;
        const QString path = startWithTaggedFile(w);
        FileInfoPage &p = page(w);
        fill(p, "2003", "7");
        w.engine.log.clear();
        p.btnApply->click();
        QCOMPARE(w.engine.log.matching("information."),
                 QStringList({"information.infoTitle:=T", "information.infoArtist:=A",
                              "information.infoAlbum:=L", "information.infoGenre:=3",
                              "information.infoCopyright:=C", "information.infoComments:=M",
                              "information.infoYear:=2003", "information.infoTrack:=7",
                              "information.SaveToFile(" + path + ")"}));
        const fake::Tags saved = w.engine.tags.value(path);
        QCOMPARE(QStringList({saved.title, saved.artist, saved.album, saved.copyright, saved.comments}),
                 QStringList({"T", "A", "L", "C", "M"}));
        QVERIFY(w.boxes.isEmpty());
    }

    void yearAndTrackChecks_data()
    {
        QTest::addColumn<QString>("year");
        QTest::addColumn<QString>("track");
        QTest::addColumn<QString>("sent");      // the number calls, as logged
        QTest::addColumn<QString>("notice");    // "" = written
        QTest::newRow("plain") << "2003" << "7" << "infoYear:=2003 infoTrack:=7" << "";
        QTest::newRow("hexadecimal year") << "$7D3" << "1" << "infoYear:=2003 infoTrack:=1" << "";
        QTest::newRow("leading blanks") << "  2003" << " 7" << "infoYear:=2003 infoTrack:=7" << "";
        QTest::newRow("signs") << "-5" << "+12" << "infoYear:=-5 infoTrack:=12" << "";
        QTest::newRow("no range test") << "0" << "70000" << "infoYear:=0 infoTrack:=70000" << "";
        QTest::newRow("six-digit year, negative track") << "123456" << "-3" << "infoYear:=123456 infoTrack:=-3" << "";
        QTest::newRow("year with a blank after") << "2003 " << "7" << "" << "Invalid Year Value";
        QTest::newRow("empty year") << "" << "7" << "" << "Invalid Year Value";
        QTest::newRow("year with a letter") << "20O3" << "7" << "" << "Invalid Year Value";
        QTest::newRow("year beyond 32 bits") << "4294967296" << "7" << "" << "Invalid Year Value";
        QTest::newRow("empty track") << "2003" << "" << "infoYear:=2003" << "Invalid Track Value";
        QTest::newRow("track with a fraction") << "2003" << "1.5" << "infoYear:=2003" << "Invalid Track Value";
        QTest::newRow("hexadecimal track") << "2003" << "$FF" << "infoYear:=2003 infoTrack:=255" << "";
    }
    void yearAndTrackChecks()
    {
        QFETCH(QString, year);
        QFETCH(QString, track);
        QFETCH(QString, sent);
        QFETCH(QString, notice);
        WindowFixture w;
        const QString path = startWithTaggedFile(w, fake::Tags{"On disk", {}, {}, {}, {}, -1, 1990, 2});
        w.form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w.form.get()));
        w.form->ShowTab(3);
        FileInfoPage &p = page(w);
        fill(p, year, track);
        p.infoTitle->setFocus();
        w.engine.log.clear();
        p.btnApply->click();

        QStringList numbers;
        for (const QString &c : w.engine.log.matching(QStringList{"information.infoYear", "information.infoTrack"}))
            numbers << c.mid(QString("information.").size());
        QCOMPARE(numbers.join(' '), sent);
        if (notice.isEmpty()) {
            QVERIFY(w.boxes.isEmpty());
            QCOMPARE(w.engine.log.count("information.SaveToFile(" + path + ")"), 1);
            return;
        }
        QCOMPARE(notices(w), QStringList({notice}));
        QCOMPARE(w.engine.log.count("information.SaveToFile"), 0);
        QCOMPARE(w.engine.tags.value(path).title, QString("On disk"));
        QLineEdit *field = notice.contains("Year") ? p.infoYear : p.infoTrack;
        QTRY_VERIFY(field->hasFocus());
        // The fields keep their text.
        QCOMPARE(p.infoYear->text(), year);
        QCOMPARE(p.infoTrack->text(), track);
    }

    void valuesOfAStoppedApplyStayInTheComponentUntilTheNextLoad()
    {
        WindowFixture w;
        const QString path = startWithTaggedFile(w, fake::Tags{"On disk", {}, {}, {}, {}, -1, 1990, 2});
        FileInfoPage &p = page(w);
        fill(p, "bad", "7");
        p.btnApply->click();
        QCOMPARE(w.engine.information()->infoTitle(), QString("T"));
        QCOMPARE(w.engine.tags.value(path).title, QString("On disk"));
        p.btnReset->click();
        QCOMPARE(p.infoTitle->text(), QString("On disk"));
        QCOMPARE(w.engine.information()->infoTitle(), QString("On disk"));
    }

    void noGenreSendsMinusOne()
    {
        WindowFixture w;
        startWithTaggedFile(w);
        FileInfoPage &p = page(w);
        fill(p, "2003", "7");
        p.infoGenre->setCurrentIndex(-1);
        w.engine.log.clear();
        p.btnApply->click();
        QCOMPARE(w.engine.log.matching("information.infoGenre"), QStringList({"information.infoGenre:=-1"}));
    }

    void tagVersionChoice()
    {
        WindowFixture w;
        startWithTaggedFile(w, fake::Tags{"Shown"});
        FileInfoPage &p = page(w);
        p.infoTitle->setText("typed");
        w.engine.log.clear();
        QTest::mouseClick(p.infoMTV1, Qt::LeftButton);
        QTest::mouseClick(p.infoMTV2, Qt::LeftButton);
        QTest::mouseClick(p.infoMTV1, Qt::LeftButton);
        QCOMPARE(w.engine.log.matching("information."),
                 QStringList({"information.SetTagVersion(1)", "information.SetTagVersion(2)",
                              "information.SetTagVersion(1)"}));
        // The fields are not reloaded by the choice.
        QCOMPARE(p.infoTitle->text(), QString("typed"));
        QCOMPARE(w.engine.information()->tagVersion(), short(1));
    }

    void buttonsFollowTheTransport()
    {
        WindowFixture w;
        w.start();
        FileInfoPage &p = page(w);
        const QString path = makeFile(w, "song.mp3");
        w.openFileAnswers << path;
        w.form->OpenClick();   // loading a file enables both
        QVERIFY(p.btnReset->isEnabled() && p.btnApply->isEnabled());
        select(w, 0);
        p.PopupPlay->trigger();
        select(w, 0);
        list(w).clearSelection();
        select(w, 0);
        QVERIFY(!p.btnApply->isEnabled());
        QVERIFY(p.btnReset->isEnabled());   // nothing disables Reset
        w.form->StopClick();
        QVERIFY(p.btnApply->isEnabled());
    }
};

QTEST_MAIN(TestTagEditor)
#include "tst_tag_editor.moc"
