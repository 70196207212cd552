// The "File Info" tab: the list of files handled in this run and the tag editor.
#pragma once

#include <QWidget>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTreeWidget;
class TForm1;

class FileInfoPage : public QWidget {
    Q_OBJECT

public:
    explicit FileInfoPage(TForm1 &form);

    // The list: file name, size, time, save directory.
    QTreeWidget *ListView1 = nullptr;

    // The tag editor.
    QLineEdit *infoTitle = nullptr;
    QLineEdit *infoArtist = nullptr;
    QLineEdit *infoAlbum = nullptr;
    QComboBox *infoGenre = nullptr;
    QLineEdit *infoCopyright = nullptr;
    QLineEdit *infoYear = nullptr;
    QLineEdit *infoTrack = nullptr;
    QLineEdit *infoComment = nullptr;
    QGroupBox *infoMTV = nullptr;
    QRadioButton *infoMTV1 = nullptr;   // "ID3v1"
    QRadioButton *infoMTV2 = nullptr;   // "ID3v2"
    QPushButton *btnReset = nullptr;
    QPushButton *btnApply = nullptr;

    void SetColumnWidths();                       // 134, 80, 80, 170
    void AddRecordedFile(const QString &path);    // appends a row measured by the information component
    void FillGenreList();                         // the 147 genre names, 0..146
    void btnResetClick();                         // loads the current file's tags into the fields

private:
    TForm1 &m_form;
};
