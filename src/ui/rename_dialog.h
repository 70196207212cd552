// The Rename dialog: asks for a new name for the selected row's file. Made once at start-up
// and kept; the edit field keeps whatever was typed last.
#pragma once

#include <QDialog>

class QLineEdit;
class RecordedFiles;
class RecorderCore;

class RenameDialog : public QDialog {
    Q_OBJECT

public:
    explicit RenameDialog(RecorderCore &core, QWidget *parent = nullptr);

    // "OK": renames the selected row's file and closes; a blank text, a name that is taken
    // or a failed rename leaves the dialog open with a message.
    void confirmName();

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    RecordedFiles &m_files;
    RecorderCore &m_core;
    QLineEdit *m_name = nullptr;   // the new name; never filled by the program
};
