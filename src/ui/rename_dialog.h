// The Rename dialog: asks for a new name for the selected row's file. Made once at start-up
// and kept; the edit field keeps whatever was typed last.
#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class MainWindow;

class RenameDialog : public QDialog {
    Q_OBJECT

public:
    explicit RenameDialog(MainWindow *form);

    QLabel *Label1 = nullptr;         // "Input New Filename:"
    QLineEdit *Edit1 = nullptr;       // the new name; never filled by the program
    QPushButton *btnOK = nullptr;
    QPushButton *btnCancel = nullptr;

    // "OK": renames the selected row's file and closes; a blank text, a name that is taken
    // or a failed rename leaves the dialog open with a message.
    void btnOKClick();

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    MainWindow &m_form;
};
