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
        d->Edit1->setText(typed);
        QTest::mouseClick(d->btnOK, Qt::LeftButton);
        if (d->isVisible()) {
            run.stayedOpen = true;
            QTest::mouseClick(d->btnCancel, Qt::LeftButton);
        }
    });
    page(w).PopupRename->trigger();
    return run;
}

// OK clicked on the dialog without showing it, for the cases that need no modal loop.
int renameDirectly(WindowFixture &w, const QString &typed)
{
    RenameDialog &d = *w.form->RenameForm;
    d.setResult(-1);
    d.Edit1->setText(typed);
    d.btnOK->click();
    return d.result();
}

}  // namespace

class TestRenameDelete : public QObject {
    Q_OBJECT

private slots:
    void renameDialogAtStart()
    {
        WindowFixture w;
        w.start();
        RenameDialog *d = w.form->RenameForm;
        QVERIFY(d);
        QVERIFY(!d->isVisible());
        QCOMPARE(d->windowTitle(), QString("Rename"));
        QCOMPARE(d->Label1->text(), QString("Input New Filename:"));
        QCOMPARE(d->btnOK->text(), QString("OK"));
        QCOMPARE(d->btnCancel->text(), QString("Cancel"));
        QVERIFY(d->Edit1->text().isEmpty());
        for (QPushButton *b : {d->btnOK, d->btnCancel})
            QVERIFY(!b->isDefault() && !b->autoDefault());

        // Enter and Escape answer for no button; the typed text stays.
        d->show();
        QVERIFY(QTest::qWaitForWindowExposed(d));
        QTest::keyClicks(d->Edit1, "take2");
        QTest::keyClick(d->Edit1, Qt::Key_Return);
        QTest::keyClick(d->Edit1, Qt::Key_Escape);
        QVERIFY(d->isVisible());
        d->btnCancel->click();
        QVERIFY(!d->isVisible());
        QCOMPARE(d->Edit1->text(), QString("take2"));
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
        QCOMPARE(w.form->CurrentFileName, old);

        const RenameRun run = renameThroughPopup(w, typed);
        QVERIFY(!run.stayedOpen);
        QVERIFY(w.boxes.isEmpty());
        QVERIFY(!QFileInfo::exists(old));
        QCOMPARE(contents(w.path("rec/" + newName)), data);
        QCOMPARE(rowTexts(w, 0), QStringList({newName, "2 KB", "00:10", w.path("rec/")}));
        // Every holder of the old path follows the file, so the tag editor still works on it.
        QCOMPARE(w.form->SelectedFilePath, w.path("rec/" + newName));
        QCOMPARE(w.form->CurrentFileName, w.path("rec/" + newName));
        QCOMPARE(w.form->StatusText(1), w.path("rec/" + newName));
        w.form->FileInfo()->btnResetClick();
        QVERIFY(w.boxes.isEmpty());
        QCOMPARE(w.engine.information()->loadedPath(), w.path("rec/" + newName));
        QCOMPARE(w.form->RenameForm->Edit1->text(), typed);
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
        QCOMPARE(w.form->SelectedFilePath, old);

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
        QCOMPARE(w.form->SelectedFilePath, path);
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
        page(w).PopupRenameClick();
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
            d->Edit1->setText("take2");
            QTest::mouseClick(d->btnCancel, Qt::LeftButton);
        });
        page(w).PopupRename->trigger();
        QVERIFY(QFileInfo::exists(path));
        QCOMPARE(row(w, 0)->text(0), QString("Untitled1.mp3"));
        QCOMPARE(w.form->SelectedFilePath, path);
    }

    void renameWhilePlayingThatFile()
    {
        WindowFixture w;
        w.start();
        const QString path = addRow(w, "Untitled1.mp3");
        select(w, 0);
        page(w).PopupPlay->trigger();
        QVERIFY(w.form->Playing);
        QCOMPARE(renameDirectly(w, "take2"), int(QDialog::Accepted));
        // The player reads on from the renamed file, and knows it by its new name.
        QVERIFY(w.form->Playing);
        QCOMPARE(w.form->PlayFileName, w.path("take2.mp3"));
        QVERIFY(!QFileInfo::exists(path));
        w.form->StopClick();
    }

    void renameOfTheFileBeingRecordedIsRefused()
    {
        WindowFixture w;
        w.start();
        w.form->CurrentSettings.savePath = w.path("rec/");
        w.form->CurrentSettings.saveFormat = ".wav";
        w.form->StartRecording();
        QVERIFY(w.form->Recording);
        // A row that names the very file being recorded (listed before, then gone).
        w.form->AddRecordedFile(w.form->CurrentRecordingName);
        select(w, 0);
        QCOMPARE(renameDirectly(w, "take2"), -1);
        QCOMPARE(w.errors(), QStringList({"Cannot rename " + w.path("rec/Untitled1.wav") + ": it is being recorded."}));
        QVERIFY(QFileInfo::exists(w.path("rec/Untitled1.wav")));
        w.form->StopClick();
    }

    void deleteFromTheListKeepsTheFile()
    {
        WindowFixture w;
        w.start();
        const QString a = addRow(w, "a.mp3");
        addRow(w, "b.mp3");
        select(w, 0);
        page(w).PopupDeleteFromList->trigger();
        QCOMPARE(list(w).topLevelItemCount(), 1);
        QCOMPARE(row(w, 0)->text(0), QString("b.mp3"));
        QVERIFY(QFileInfo::exists(a));
        // Nothing is selected in the removed row's place.
        QVERIFY(list(w).selectedItems().isEmpty());
        QVERIFY(w.form->SelectedFilePath.isEmpty());
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
        page(w).PopupDeleteFromDisk->trigger();   // no question asked
        QVERIFY(w.boxes.isEmpty());
        QVERIFY(!QFileInfo::exists(b));
        QCOMPARE(list(w).topLevelItemCount(), 2);
        QCOMPARE(QStringList({row(w, 0)->text(0), row(w, 1)->text(0)}), QStringList({"a.mp3", "c.mp3"}));
        QVERIFY(list(w).selectedItems().isEmpty());
        QVERIFY(w.form->SelectedFilePath.isEmpty());
        QVERIFY(!page(w).PopupDeleteFromDisk->isEnabled());
    }

    void deleteFromDiskOfAFileAlreadyGone()
    {
        WindowFixture w;
        w.start();
        const QString path = addRow(w, "a.mp3");
        select(w, 0);
        QFile::remove(path);
        page(w).PopupDeleteFromDisk->trigger();
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
        page(w).PopupDeleteFromDisk->trigger();
        QCOMPARE(w.errors(), QStringList({"Cannot delete " + path + ": " + reason + "."}));
        QCOMPARE(list(w).topLevelItemCount(), 1);
        QCOMPARE(list(w).selectedItems().value(0), row(w, 0));
        QCOMPARE(w.form->SelectedFilePath, path);
        QVERIFY(QFileInfo::exists(how == "folder" ? path : w.path("sub")));
    }

    void deleteFromDiskStopsThePlaybackOfThatFile()
    {
        WindowFixture w;
        w.start();
        const QString a = addRow(w, "a.mp3");
        select(w, 0);
        page(w).PopupPlay->trigger();
        QVERIFY(w.form->Playing && w.engine.player()->isRunning());
        page(w).PopupDeleteFromDisk->trigger();
        QVERIFY(!w.form->Playing);
        QVERIFY(!w.engine.player()->isRunning());
        QVERIFY(!w.engine.file("reader")->isOpen());
        QCOMPARE(w.form->StatusText(0), QString("Stop"));
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
        page(w).PopupPlay->trigger();
        select(w, 1);
        page(w).PopupDeleteFromDisk->trigger();
        QVERIFY(w.form->Playing && w.engine.player()->isRunning());
        QCOMPARE(w.form->PlayFileName, a);
        QVERIFY(!QFileInfo::exists(b));
        w.form->StopClick();
    }

    void deleteFromDiskRefusesTheFileBeingRecorded()
    {
        WindowFixture w;
        w.start();
        w.form->CurrentSettings.savePath = w.path("rec/");
        w.form->CurrentSettings.saveFormat = ".wav";
        w.form->StartRecording();
        w.form->AddRecordedFile(w.form->CurrentRecordingName);
        select(w, 0);
        w.form->PauseClick();   // paused still counts as recording
        page(w).PopupDeleteFromDisk->trigger();
        QCOMPARE(w.errors(), QStringList({"Cannot delete " + w.path("rec/Untitled1.wav")
                                          + ": it is being recorded. Stop the recording first."}));
        QVERIFY(QFileInfo::exists(w.path("rec/Untitled1.wav")));
        QCOMPARE(list(w).topLevelItemCount(), 1);
        QVERIFY(w.form->Recording);
        w.form->StopClick();
        // Once the recording is over the file may go.
        select(w, 0);
        page(w).PopupDeleteFromDisk->trigger();
        QVERIFY(!QFileInfo::exists(w.path("rec/Untitled1.wav")));
    }
};

QTEST_MAIN(TestRenameDelete)
#include "tst_rename_delete.moc"
