// Renaming and deleting through the list's popup menu: the files on disk, the rows, and
// what the user is told when the disk says no.
#include "file_list_helpers.h"

#include "widgets/transport_block.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTimer>

using namespace filelist;

namespace {

RenameDialog &renameDialog(WindowFixture &w)
{
    return *w.find<RenameDialog>("renameDialog");
}

QLineEdit *nameEdit(QDialog *d)
{
    return d->findChild<QLineEdit *>("nameEdit");
}

QPushButton *button(QDialog *d, const char *name)
{
    return d->findChild<QPushButton *>(QString::fromLatin1(name));
}

struct RenameRun {
    bool stayedOpen = false;      // the dialog was still up after OK
    QString textOnReopen;
};

// "Rename" from the popup, typing the text and clicking OK in the modal dialog; a dialog
// that stays open is then cancelled.
RenameRun renameThroughPopup(WindowFixture &w, const QString &typed)
{
    RenameRun run;
    QTimer::singleShot(0, [&] {
        auto *d = qobject_cast<RenameDialog *>(QApplication::activeModalWidget());
        if (!d)
            return;
        nameEdit(d)->setText(typed);
        QTest::mouseClick(button(d, "okButton"), Qt::LeftButton);
        if (d->isVisible()) {
            run.stayedOpen = true;
            QTest::mouseClick(button(d, "cancelButton"), Qt::LeftButton);
        }
    });
    w.trigger("renameRowAction");
    return run;
}

// OK clicked on the dialog without showing it, for the cases that need no modal loop.
int renameDirectly(WindowFixture &w, const QString &typed)
{
    RenameDialog &d = renameDialog(w);
    d.setResult(-1);
    nameEdit(&d)->setText(typed);
    button(&d, "okButton")->click();
    return d.result();
}

// A WAV recording into rec/ starts.
void recordWav(WindowFixture &w)
{
    w.changeSettings([&](RecordingSettings &s) {
        s.savePath = w.path("rec/");
        s.saveFormat = ".wav";
    });
    w.window->record();
}

}  // namespace

class TestRenameDelete : public QObject {
    Q_OBJECT

private slots:
    void renameDialogAtStart()
    {
        WindowFixture w;
        w.start();
        RenameDialog *d = &renameDialog(w);
        QVERIFY(d);
        QVERIFY(!d->isVisible());
        QCOMPARE(d->windowTitle(), QString("Rename"));
        QLineEdit *edit = nameEdit(d);
        QPushButton *ok = button(d, "okButton");
        QPushButton *cancel = button(d, "cancelButton");
        QStringList labels;   // the labels that name the edit field
        for (QLabel *l : d->findChildren<QLabel *>())
            if (l->buddy() == edit)
                labels << l->text();
        QCOMPARE(labels, QStringList({"Input New Filename:"}));
        QCOMPARE(ok->text(), QString("OK"));
        QCOMPARE(cancel->text(), QString("Cancel"));
        QVERIFY(edit->text().isEmpty());
        for (QPushButton *b : {ok, cancel})
            QVERIFY(!b->isDefault() && !b->autoDefault());

        // Enter and Escape answer for no button; the typed text stays.
        d->show();
        QVERIFY(QTest::qWaitForWindowExposed(d));
        QTest::keyClicks(edit, "take2");
        QTest::keyClick(edit, Qt::Key_Return);
        QTest::keyClick(edit, Qt::Key_Escape);
        QVERIFY(d->isVisible());
        cancel->click();
        QVERIFY(!d->isVisible());
        QCOMPARE(edit->text(), QString("take2"));
    }

    void renameKeepsTheRowsExtension_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("newName");
        QTest::newRow("another extension typed") << "take2.wav" << "take2.mp3";
        QTest::newRow("no extension typed") << "take2" << "take2.mp3";
        QTest::newRow("only an extension") << ".wav" << ".mp3";
        QTest::newRow("blanks are a name") << "  " << "  .mp3";
    }
    void renameKeepsTheRowsExtension()
    {
        QFETCH(QString, typed);
        QFETCH(QString, newName);
        WindowFixture w;
        w.start();
        const QString old = addRow(w, "rec/Untitled1.mp3", 2500);
        const QByteArray data = contents(old);
        select(w, 0);
        QCOMPARE(w.files().currentFile(), old);

        const RenameRun run = renameThroughPopup(w, typed);
        QVERIFY(!run.stayedOpen);
        QVERIFY(w.boxes.isEmpty());
        QVERIFY(!QFileInfo::exists(old));
        QCOMPARE(contents(w.path("rec/" + newName)), data);
        QCOMPARE(rowTexts(w, 0), QStringList({newName, "2 KB", "00:10", w.path("rec/")}));
        // Every holder of the old path follows the file, so the tag editor still works on it.
        QCOMPARE(w.files().selectedPath(), w.path("rec/" + newName));
        QCOMPARE(w.files().currentFile(), w.path("rec/" + newName));
        QCOMPARE(w.window->statusText(1), w.path("rec/" + newName));
        page(w).resetTags();
        QVERIFY(w.boxes.isEmpty());
        QCOMPARE(w.engine.information()->loadedPath(), w.path("rec/" + newName));
        QCOMPARE(nameEdit(&renameDialog(w))->text(), typed);
    }

    void renameNeverReplacesAnotherFile()
    {
        WindowFixture w;
        w.start();
        const QString old = addRow(w, "Untitled1.mp3");
        const QString other = makeFile(w, "take2.mp3", 777);
        const QByteArray oldData = contents(old);
        const QByteArray otherData = contents(other);
        select(w, 0);

        // The dialog stays open so that another name can be typed.
        const RenameRun run = renameThroughPopup(w, "take2.wav");
        QVERIFY(run.stayedOpen);
        QCOMPARE(notices(w), QStringList({"Cannot rename to take2.mp3: a file of that name already exists."}));
        QCOMPARE(contents(old), oldData);
        QCOMPARE(contents(other), otherData);
        QCOMPARE(row(w, 0)->text(0), QString("Untitled1.mp3"));
        QCOMPARE(w.files().selectedPath(), old);

        // A free name then goes through.
        QCOMPARE(renameDirectly(w, "take3"), int(QDialog::Accepted));
        QCOMPARE(contents(w.path("take3.mp3")), oldData);
        QCOMPARE(contents(other), otherData);
    }

    void renamingToItsOwnNameChangesNothing()
    {
        WindowFixture w;
        w.start();
        const QString path = addRow(w, "Untitled1.mp3");
        select(w, 0);
        QCOMPARE(renameDirectly(w, "Untitled1.wav"), int(QDialog::Accepted));
        QVERIFY(w.boxes.isEmpty());
        QVERIFY(QFileInfo::exists(path));
        QCOMPARE(row(w, 0)->text(0), QString("Untitled1.mp3"));
    }

    void blankNameIsRefused()
    {
        WindowFixture w;
        w.start();
        const QString path = addRow(w, "Untitled1.mp3");
        select(w, 0);
        const RenameRun run = renameThroughPopup(w, "");
        QVERIFY(run.stayedOpen);
        QCOMPARE(notices(w), QStringList({"new name can not be blank!"}));
        QVERIFY(QFileInfo::exists(path));
        QCOMPARE(row(w, 0)->text(0), QString("Untitled1.mp3"));
    }

    void aSlashIsNoPartOfAName()
    {
        WindowFixture w;
        w.start();
        const QString path = addRow(w, "Untitled1.mp3");
        QDir().mkpath(w.path("sub"));
        select(w, 0);
        QCOMPARE(renameDirectly(w, "sub/take2"), -1);   // still open
        QCOMPARE(notices(w), QStringList({"Cannot rename to sub/take2.mp3: a file name cannot contain \"/\"."}));
        QVERIFY(QFileInfo::exists(path));
        QVERIFY(!QFileInfo::exists(w.path("sub/take2.mp3")));
    }

    void renameOfAMissingFileIsReported()
    {
        WindowFixture w;
        w.start();
        const QString path = addRow(w, "Untitled1.mp3");
        select(w, 0);
        QFile::remove(path);
        const RenameRun run = renameThroughPopup(w, "take2");
        QVERIFY(run.stayedOpen);
        QCOMPARE(w.errors(), QStringList({"Cannot rename " + path + " to take2.mp3: No such file or directory."}));
        QCOMPARE(row(w, 0)->text(0), QString("Untitled1.mp3"));
        QCOMPARE(w.files().selectedPath(), path);
        QVERIFY(!QFileInfo::exists(w.path("take2.mp3")));
    }

    void renameWithoutASelectionDoesNotOpen()
    {
        WindowFixture w;
        w.start();
        addRow(w, "Untitled1.mp3");
        bool opened = false;
        QTimer::singleShot(0, [&] {
            if (QWidget *d = QApplication::activeModalWidget()) {
                opened = true;
                d->close();
            }
        });
        // "Rename" as if its menu entry were still on with no row selected.
        QAction *rename = w.action("renameRowAction");
        rename->setEnabled(true);
        rename->trigger();
        QVERIFY(!opened);
    }

    void cancelChangesNothing()
    {
        WindowFixture w;
        w.start();
        const QString path = addRow(w, "Untitled1.mp3");
        select(w, 0);
        QTimer::singleShot(0, [&] {
            auto *d = qobject_cast<RenameDialog *>(QApplication::activeModalWidget());
            QVERIFY(d);
            nameEdit(d)->setText("take2");
            QTest::mouseClick(button(d, "cancelButton"), Qt::LeftButton);
        });
        w.trigger("renameRowAction");
        QVERIFY(QFileInfo::exists(path));
        QCOMPARE(row(w, 0)->text(0), QString("Untitled1.mp3"));
        QCOMPARE(w.files().selectedPath(), path);
    }

    void renameWhilePlayingThatFile()
    {
        WindowFixture w;
        w.start();
        const QString path = addRow(w, "Untitled1.mp3");
        select(w, 0);
        w.trigger("playRowAction");
        QCOMPARE(w.playback().state(), PlaybackSession::State::Playing);
        QCOMPARE(renameDirectly(w, "take2"), int(QDialog::Accepted));
        // The player reads on from the renamed file, and knows it by its new name.
        QCOMPARE(w.playback().state(), PlaybackSession::State::Playing);
        QCOMPARE(w.playback().playingFile(), w.path("take2.mp3"));
        QVERIFY(!QFileInfo::exists(path));
        w.window->stop();
    }

    void renameOfTheFileBeingRecordedIsRefused()
    {
        WindowFixture w;
        w.start();
        recordWav(w);
        QVERIFY(w.recording().isActive());
        // A row that names the very file being recorded (listed before, then gone).
        w.files().add(w.recording().partPath());
        select(w, 0);
        QCOMPARE(renameDirectly(w, "take2"), -1);
        QCOMPARE(w.errors(), QStringList({"Cannot rename " + w.path("rec/Untitled1.wav") + ": it is being recorded."}));
        QVERIFY(QFileInfo::exists(w.path("rec/Untitled1.wav")));
        w.window->stop();
    }

    void deleteFromTheListKeepsTheFile()
    {
        WindowFixture w;
        w.start();
        const QString a = addRow(w, "a.mp3");
        addRow(w, "b.mp3");
        select(w, 0);
        w.trigger("removeRowAction");
        QCOMPARE(list(w).topLevelItemCount(), 1);
        QCOMPARE(row(w, 0)->text(0), QString("b.mp3"));
        QVERIFY(QFileInfo::exists(a));
        // Nothing is selected in the removed row's place.
        QVERIFY(list(w).selectedItems().isEmpty());
        QVERIFY(w.files().selectedPath().isEmpty());
        QCOMPARE(popupStates(w), QStringList({"Play-", "Rename-", "Delete from list box-", "Delete from hard disk-"}));
        QVERIFY(w.boxes.isEmpty());
    }

    void deleteFromDisk()
    {
        WindowFixture w;
        w.start();
        addRow(w, "a.mp3");
        const QString b = addRow(w, "b.mp3");
        addRow(w, "c.mp3");
        select(w, 1);
        w.trigger("deleteRowAction");   // no question asked
        QVERIFY(w.boxes.isEmpty());
        QVERIFY(!QFileInfo::exists(b));
        QCOMPARE(list(w).topLevelItemCount(), 2);
        QCOMPARE(QStringList({row(w, 0)->text(0), row(w, 1)->text(0)}), QStringList({"a.mp3", "c.mp3"}));
        QVERIFY(list(w).selectedItems().isEmpty());
        QVERIFY(w.files().selectedPath().isEmpty());
        QVERIFY(!w.action("deleteRowAction")->isEnabled());
    }

    void deleteFromDiskOfAFileAlreadyGone()
    {
        WindowFixture w;
        w.start();
        const QString path = addRow(w, "a.mp3");
        select(w, 0);
        QFile::remove(path);
        w.trigger("deleteRowAction");
        QVERIFY(w.boxes.isEmpty());
        QCOMPARE(list(w).topLevelItemCount(), 0);
    }

    void failedDeleteKeepsTheRowAndSaysWhy_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("reason");
        QTest::newRow("the row names a folder") << "folder" << "Is a directory";
        QTest::newRow("its folder became a file") << "parent" << "Not a directory";
    }
    void failedDeleteKeepsTheRowAndSaysWhy()
    {
        QFETCH(QString, how);
        QFETCH(QString, reason);
        WindowFixture w;
        w.start();
        const QString path = addRow(w, "sub/take.mp3");
        select(w, 0);
        // Root may delete anything it can reach, so the failure comes from the path itself.
        QVERIFY(QDir(w.path("sub")).removeRecursively());
        if (how == "folder") {
            QVERIFY(QDir().mkpath(path));
        } else {
            QFile f(w.path("sub"));
            QVERIFY(f.open(QIODevice::WriteOnly));
        }
        w.trigger("deleteRowAction");
        QCOMPARE(w.errors(), QStringList({"Cannot delete " + path + ": " + reason + "."}));
        QCOMPARE(list(w).topLevelItemCount(), 1);
        QCOMPARE(list(w).selectedItems().value(0), row(w, 0));
        QCOMPARE(w.files().selectedPath(), path);
        QVERIFY(QFileInfo::exists(how == "folder" ? path : w.path("sub")));
    }

    void deleteFromDiskStopsThePlaybackOfThatFile()
    {
        WindowFixture w;
        w.start();
        const QString a = addRow(w, "a.mp3");
        select(w, 0);
        w.trigger("playRowAction");
        QVERIFY(w.playback().isActive() && w.engine.player()->isRunning());
        w.trigger("deleteRowAction");
        QVERIFY(!w.playback().isActive());
        QVERIFY(!w.engine.player()->isRunning());
        QVERIFY(!w.engine.file("reader")->isOpen());
        QCOMPARE(w.window->statusText(0), QString("Stop"));
        QVERIFY(!QFileInfo::exists(a));
        QCOMPARE(list(w).topLevelItemCount(), 0);
        QVERIFY(w.boxes.isEmpty());
    }

    void deleteFromDiskLeavesAnotherPlaybackAlone()
    {
        WindowFixture w;
        w.start();
        const QString a = addRow(w, "a.mp3");
        const QString b = addRow(w, "b.mp3");
        select(w, 0);
        w.trigger("playRowAction");
        select(w, 1);
        w.trigger("deleteRowAction");
        QVERIFY(w.playback().isActive() && w.engine.player()->isRunning());
        QCOMPARE(w.playback().playingFile(), a);
        QVERIFY(!QFileInfo::exists(b));
        w.window->stop();
    }

    void deleteFromDiskRefusesTheFileBeingRecorded()
    {
        WindowFixture w;
        w.start();
        recordWav(w);
        w.files().add(w.recording().partPath());
        select(w, 0);
        w.window->pause();   // paused still counts as recording
        QCOMPARE(w.recording().state(), RecordingSession::State::Paused);
        w.trigger("deleteRowAction");
        QCOMPARE(w.errors(), QStringList({"Cannot delete " + w.path("rec/Untitled1.wav")
                                          + ": it is being recorded. Stop the recording first."}));
        QVERIFY(QFileInfo::exists(w.path("rec/Untitled1.wav")));
        QCOMPARE(list(w).topLevelItemCount(), 1);
        QVERIFY(w.recording().isActive());
        w.window->stop();
        // Once the recording is over the file may go.
        select(w, 0);
        w.trigger("deleteRowAction");
        QVERIFY(!QFileInfo::exists(w.path("rec/Untitled1.wav")));
    }
};

QTEST_MAIN(TestRenameDelete)
#include "tst_rename_delete.moc"
