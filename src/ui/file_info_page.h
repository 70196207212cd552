// The "File Info" tab: the list of files handled in this run, its popup menu, and the tag
// editor of the main window's current file.
#pragma once

#include <QWidget>

class QAction;
class QButtonGroup;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QRadioButton;
class QTreeWidget;
class QTreeWidgetItem;
class MainWindow;

class FileInfoPage : public QWidget {
    Q_OBJECT

public:
    explicit FileInfoPage(MainWindow &form);

    // The list's columns.
    enum Column { NameColumn = 0, SizeColumn = 1, TimeColumn = 2, DirectoryColumn = 3 };

    // The list: file name, size, time, save directory; rows in the order added.
    QTreeWidget *ListView1 = nullptr;
    // Its popup menu; every entry enabled only while a row is selected.
    QMenu *PopupMenu1 = nullptr;
    QAction *PopupPlay = nullptr;             // "Play"
    QAction *PopupRename = nullptr;           // "Rename"
    QAction *PopupDeleteFromList = nullptr;   // "Delete from list box"
    QAction *PopupDeleteFromDisk = nullptr;   // "Delete from hard disk"

    // The tag editor.
    QLineEdit *infoTitle = nullptr;
    QLineEdit *infoArtist = nullptr;
    QLineEdit *infoAlbum = nullptr;
    QComboBox *infoGenre = nullptr;           // 147 entries; index = genre number
    QLineEdit *infoCopyright = nullptr;
    QLineEdit *infoYear = nullptr;
    QLineEdit *infoTrack = nullptr;
    QLineEdit *infoComment = nullptr;
    QGroupBox *infoMTV = nullptr;             // "Mpeg Tag Version"
    QRadioButton *infoMTV1 = nullptr;         // "ID3v1", item 0
    QRadioButton *infoMTV2 = nullptr;         // "ID3v2", item 1
    QPushButton *btnReset = nullptr;
    QPushButton *btnApply = nullptr;

    // The fields' labels.
    QLabel *titleLabel = nullptr;
    QLabel *artistLabel = nullptr;
    QLabel *albumLabel = nullptr;
    QLabel *genreLabel = nullptr;
    QLabel *copyrightLabel = nullptr;
    QLabel *yearLabel = nullptr;
    QLabel *trackLabel = nullptr;
    QLabel *commentLabel = nullptr;

    void SetColumnWidths();                       // 134, 80, 80, 170
    void AddRecordedFile(const QString &path);    // appends a row measured by the information component
    void FillGenreList();                         // the 147 genre names, 0..146

    QTreeWidgetItem *SelectedRow() const;         // nullptr when none
    static QString RowPath(const QTreeWidgetItem *row);   // directory text + file name text

    // Handlers.
    void ListView1SelectItem();                   // every selection change
    void PopupPlayClick();
    void PopupRenameClick();
    void PopupDeleteFromListClick();
    void PopupDeleteFromDiskClick();
    void btnResetClick();                         // loads the current file's tags into the fields
    void btnApplyClick();                         // checks year and track, writes the current file's tags
    void infoMTVClick(int itemIndex);             // tag version itemIndex + 1

    // Places the controls for the page's size: the right column at the right edge, the
    // list and the right-hand fields as wide as the rest allows.
    void LayoutControls();

protected:
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void removeRow(QTreeWidgetItem *row);
    void fitDirectoryColumn();

    MainWindow &m_form;
    QButtonGroup *m_tagVersionGroup = nullptr;
};
