// The recorded-file list: rows as they are added, the popup menu following the selection,
// and the steps every selection change runs.
#include "file_list_helpers.h"

#include "widgets/transport_block.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QScrollBar>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>

using namespace filelist;

class TestFileList : public QObject {
    Q_OBJECT

private slots:
    void emptyAtStartWithItsColumns()
    {
        WindowFixture w;
        w.start(false);
        QTreeWidget &l = list(w);
        QCOMPARE(l.topLevelItemCount(), 0);
        QCOMPARE(l.columnCount(), 4);
        const QTreeWidgetItem *h = l.headerItem();
        QCOMPARE(QStringList({h->text(0), h->text(1), h->text(2), h->text(3)}),
                 QStringList({"File name", "Size", "Time", "Save Directory"}));
        QCOMPARE(QList<int>({l.columnWidth(0), l.columnWidth(1), l.columnWidth(2), l.columnWidth(3)}),
                 QList<int>({134, 80, 80, 170}));
        QCOMPARE(l.selectionMode(), QAbstractItemView::SingleSelection);
        QCOMPARE(l.selectionBehavior(), QAbstractItemView::SelectRows);
        QVERIFY(!l.isSortingEnabled());
        QCOMPARE(popupStates(w), QStringList({"Play-", "Rename-", "Delete from list box-", "Delete from hard disk-"}));
        QCOMPARE(w.files().selectedRow(), -1);
        QVERIFY(w.files().selectedPath().isEmpty());
    }

    void directoryColumnTakesTheRemainingWidth_data()
    {
        QTest::addColumn<QSize>("window");
        QTest::newRow("initial") << QSize(598, 428);
        QTest::newRow("minimum") << QSize(560, 375);
        QTest::newRow("wide") << QSize(1000, 600);
    }
    void directoryColumnTakesTheRemainingWidth()
    {
        QFETCH(QSize, window);
        WindowFixture w;
        w.start();
        w.window->showTab(3);
        w.window->resize(window);
        for (int i = 0; i < 40; ++i)   // enough rows for a vertical scroll bar
            addRow(w, QString("take%1.mp3").arg(i));
        QTreeWidget &l = list(w);
        QTRY_COMPARE(l.columnWidth(3), l.viewport()->width() - 294);
        QCOMPARE(QList<int>({l.columnWidth(0), l.columnWidth(1), l.columnWidth(2)}), QList<int>({134, 80, 80}));
        QVERIFY(!l.horizontalScrollBar()->isVisible());
        // A wider name column leaves the directory less room.
        l.setColumnWidth(0, 150);
        QCOMPARE(l.columnWidth(3), l.viewport()->width() - 310);
    }

    void sizeAndTimeTexts_data()
    {
        QTest::addColumn<qint64>("bytes");
        QTest::addColumn<qint64>("frames");
        QTest::addColumn<QString>("size");
        QTest::addColumn<QString>("time");
        QTest::newRow("empty file") << qint64(0) << qint64(0) << "0 KB" << "00:00";
        QTest::newRow("999 bytes, divisor 1000") << qint64(999) << qint64(44100) << "0 KB" << "00:01";
        QTest::newRow("1000 bytes") << qint64(1000) << qint64(44100 * 59 + 39690) << "1 KB" << "00:59";
        QTest::newRow("1999 bytes truncate") << qint64(1999) << qint64(44100 * 65) << "1 KB" << "01:05";
        QTest::newRow("large") << qint64(2'560'000) << qint64(44100 * 3725) << "2560 KB" << "62:05";
    }
    void sizeAndTimeTexts()
    {
        QFETCH(qint64, bytes);
        QFETCH(qint64, frames);
        QFETCH(QString, size);
        QFETCH(QString, time);
        WindowFixture w;
        w.start();
        const QString path = addRow(w, "rec/Untitled1.mp3", bytes, frames);
        QCOMPARE(rowTexts(w, 0), QStringList({"Untitled1.mp3", size, time, w.path("rec/")}));
        QVERIFY(rowTexts(w, 0).last().endsWith('/'));
        // The directory and the name make the file's path.
        QCOMPARE(rowTexts(w, 0).last() + rowTexts(w, 0).first(), path);
        QCOMPARE(w.files().at(0).path, path);
    }

    void addingMeasuresThatFileAndSelectsNothing()
    {
        WindowFixture w;
        w.start();
        const QString a = makeFile(w, "a.wav");
        const QString b = makeFile(w, "b.wav");
        w.engine.log.clear();
        w.files().add(a);
        QCOMPARE(w.engine.log.matching("information."),
                 QStringList({"information.LoadFromFile(" + a + ")", "information.GetFileSize()",
                              "information.GetDuration()"}));
        w.files().add(b);
        w.files().add(a);   // the same file again: a second row
        QCOMPARE(list(w).topLevelItemCount(), 3);
        QCOMPARE(row(w, 0)->text(0), QString("a.wav"));
        QCOMPARE(row(w, 1)->text(0), QString("b.wav"));
        QCOMPARE(row(w, 2)->text(0), QString("a.wav"));
        QVERIFY(list(w).selectedItems().isEmpty());
        QVERIFY(w.files().selectedPath().isEmpty());
        QCOMPARE(popupStates(w).join(','), QString("Play-,Rename-,Delete from list box-,Delete from hard disk-"));
    }

    void anUnreadableFileAddsNoRow()
    {
        WindowFixture w;
        w.start();
        const QString path = makeFile(w, "broken.mp3");
        w.engine.unreadable << path;
        ui::runCommand([&] { w.files().add(path); });
        QCOMPARE(list(w).topLevelItemCount(), 0);
        QCOMPARE(w.errors(), QStringList({"Cannot open " + path + ": No such file or directory."}));
    }

    void popupFollowsTheSelection()
    {
        WindowFixture w;
        w.start();
        addRow(w, "a.mp3");
        addRow(w, "b.mp3");
        select(w, 1);
        QCOMPARE(popupStates(w), QStringList({"Play+", "Rename+", "Delete from list box+", "Delete from hard disk+"}));
        QCOMPARE(w.files().selectedPath(), w.path("b.mp3"));
        list(w).clearSelection();
        QCOMPARE(popupStates(w), QStringList({"Play-", "Rename-", "Delete from list box-", "Delete from hard disk-"}));
        QVERIFY(w.files().selectedPath().isEmpty());
        QVERIFY(w.errors().isEmpty());
    }

    void rightClickOpensThePopup()
    {
        WindowFixture w;
        w.start();
        w.window->showTab(3);
        addRow(w, "a.mp3");
        const QRect r = list(w).visualItemRect(row(w, 0));
        // A right click selects the row under the mouse, then the menu comes up.
        QTest::mouseClick(list(w).viewport(), Qt::RightButton, {}, r.center());
        QContextMenuEvent menuEvent(QContextMenuEvent::Mouse, r.center(), list(w).viewport()->mapToGlobal(r.center()));
        QApplication::sendEvent(list(w).viewport(), &menuEvent);
        QTRY_VERIFY(popup(w).isVisible());
        QCOMPARE(list(w).selectedItems().value(0), row(w, 0));
        QVERIFY(w.action("playRowAction")->isEnabled());
        popup(w).close();
    }

    void selectionSteps()
    {
        WindowFixture w;
        w.start();
        // A long path: the status bar shows it in full, not shortened.
        const QString folder = "a-rather-long-folder-name/that-goes/on-and-on/and-on/";
        const QString path = addRow(w, folder + "Untitled1.mp3");
        addRow(w, "other.wav");
        w.engine.tags[path] = fake::Tags{"Title", "Artist", "Album", "Comment", "(c) Me", 17, 2003, 7};
        w.files().setCurrentFile(w.path("other.wav"));
        w.engine.log.clear();

        select(w, 0);
        QCOMPARE(w.files().selectedPath(), path);
        QCOMPARE(w.files().currentFile(), path);
        QCOMPARE(w.window->statusText(1), path);
        QCOMPARE(w.window->statusText(2), QString("MP3  128 kbps, 44100 Hz, Stereo"));
        // Loaded for the status bar, then again by the tag editor's Reset.
        QCOMPARE(w.engine.log.matching(QStringList{"information.LoadFromFile", "information.GetFormat"}),
                 QStringList({"information.LoadFromFile(" + path + ")", "information.GetFormatDescription()",
                              "information.LoadFromFile(" + path + ")"}));
        const TagEditor e(page(w));
        QCOMPARE(QStringList({e.title->text(), e.artist->text(), e.album->text(), e.comment->text(),
                              e.copyright->text(), e.year->text(), e.track->text()}),
                 QStringList({"Title", "Artist", "Album", "Comment", "(c) Me", "2003", "7"}));
        QCOMPARE(e.genre->currentIndex(), 17);
        QVERIFY(e.apply->isEnabled());
        QVERIFY(w.errors().isEmpty());
    }

    void applyRuleForTheFileInUse_data()
    {
        QTest::addColumn<bool>("playing");
        QTest::addColumn<bool>("recording");
        QTest::addColumn<QString>("playFile");   // relative: the file playing, or played last
        QTest::addColumn<bool>("applyEnabled");
        QTest::newRow("idle") << false << false << "a.mp3" << true;
        QTest::newRow("playing this file") << true << false << "a.mp3" << false;
        QTest::newRow("playing another file") << true << false << "b.mp3" << true;
        QTest::newRow("recording, this file last played") << false << true << "a.mp3" << false;
        QTest::newRow("recording, another file last played") << false << true << "b.mp3" << true;
        QTest::newRow("playing, name differs in case only") << true << false << "A.mp3" << true;
    }
    void applyRuleForTheFileInUse()
    {
        QFETCH(bool, playing);
        QFETCH(bool, recording);
        QFETCH(QString, playFile);
        QFETCH(bool, applyEnabled);
        WindowFixture w;
        w.start();
        const QString a = addRow(w, "a.mp3");
        const QString played = playFile == "a.mp3" ? a : makeFile(w, playFile);
        w.changeSettings([&](RecordingSettings &s) {
            s.savePath = w.path("rec/");
            s.saveFormat = ".wav";
        });
        w.files().setCurrentFile(played);
        w.window->play();
        QCOMPARE(w.playback().playingFile(), played);
        if (!playing)
            w.window->stop();
        if (recording) {
            w.window->record();
            QVERIFY(w.recording().isActive());
        }
        QCOMPARE(w.playback().isActive(), playing);
        page(w).setApplyEnabled(!applyEnabled);
        select(w, 0);
        QCOMPARE(TagEditor(page(w)).apply->isEnabled(), applyEnabled);
        w.window->stop();
        QVERIFY(w.errors().isEmpty());
    }

    void playingARowThenSelectingIt()
    {
        WindowFixture w;
        w.start();
        addRow(w, "a.mp3");
        const QString b = addRow(w, "b.mp3");
        const TagEditor e(page(w));
        w.files().setCurrentFile(w.path("a.mp3"));
        select(w, 1);
        w.trigger("playRowAction");   // plays the selected row, not the current file
        QCOMPARE(w.playback().state(), PlaybackSession::State::Playing);
        QCOMPARE(w.playback().playingFile(), b);
        QCOMPARE(w.engine.log.count("reader.Open(" + b), 1);

        select(w, 0);
        QVERIFY(e.apply->isEnabled());
        select(w, 1);
        QVERIFY(!e.apply->isEnabled());
        // "Play" for another row while one plays changes nothing.
        select(w, 0);
        w.trigger("playRowAction");
        QCOMPARE(w.playback().playingFile(), b);
        w.window->stop();
        QVERIFY(e.apply->isEnabled());
    }

    void selectingARowWhoseFileIsGone()
    {
        WindowFixture w;
        w.start();
        const QString path = addRow(w, "gone.mp3");
        const QString elsewhere = makeFile(w, "elsewhere.mp3");
        w.window->openFile(elsewhere);   // the current file, shown in the status bar
        const QString shown = w.window->statusText(1);
        QVERIFY(!shown.isEmpty());
        QFile::remove(path);
        w.engine.files.remove(path);
        select(w, 0);
        // The steps stop at the load; the entries are on so the row can still be removed.
        QCOMPARE(w.errors(), QStringList({"Cannot open " + path + ": No such file or directory."}));
        QCOMPARE(w.files().selectedPath(), path);
        QCOMPARE(w.files().currentFile(), elsewhere);
        QCOMPARE(w.window->statusText(1), shown);
        QVERIFY(w.action("removeRowAction")->isEnabled());
    }

    void recordingsAndOpenedFilesAreListed()
    {
        WindowFixture w;
        w.start();
        w.changeSettings([&](RecordingSettings &s) {
            s.savePath = w.path("rec/");
            s.saveFormat = ".wav";
        });
        w.window->record();
        w.window->stop();
        QCOMPARE(list(w).topLevelItemCount(), 1);
        QCOMPARE(rowTexts(w, 0), QStringList({"Untitled1.wav", "0 KB", "00:00", w.path("rec/")}));
        QCOMPARE(w.find<QTabWidget>("pages")->currentIndex(), 3);

        const QString opened = makeFile(w, "song.mp3", 4321, 44100 * 125);
        w.openFileAnswers << opened;
        w.trigger("openAction");
        QCOMPARE(rowTexts(w, 1), QStringList({"song.mp3", "4 KB", "02:05", w.programDir()}));
        QVERIFY(list(w).selectedItems().isEmpty());
        const TagEditor e(page(w));
        QVERIFY(e.reset->isEnabled() && e.apply->isEnabled());
    }
};

QTEST_MAIN(TestFileList)
#include "tst_file_list.moc"
