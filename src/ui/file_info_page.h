// The "File Info" tab: the list of files handled in this run with its popup menu, and the tag
// editor of the current file.
#pragma once

#include "engine/engine.h"

#include <QWidget>

#include <vector>

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
class RecordedFiles;
class RecorderCore;

class FileInfoPage : public QWidget {
    Q_OBJECT

public:
    FileInfoPage(RecorderCore &core,
                 QWidget *parent = nullptr);

    // The list's columns: file name, size, time, save directory.
    enum Column { NameColumn = 0, SizeColumn = 1, TimeColumn = 2, DirectoryColumn = 3 };

    void setColumnWidths();                  // 134, 80, 80, 170
    void fillGenreList();                    // the 147 genre names, 0..146
    void resetTags();                        // "Reset": the current file's tags and markers shown
    void applyTags();                        // "Apply": checks year and track, writes the tags
                                             // and the markers when they were changed
    void setResetEnabled(bool on);
    void setApplyEnabled(bool on);

signals:
    void playRequested();                    // the popup's "Play"
    void renameRequested();                  // the popup's "Rename", with a row selected
    // A row was selected: its file and format, for the status bar.
    void fileShown(const QString &path, const QString &formatDescription);

protected:
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void addRow(int row);
    void updateRow(int row);
    void onSelectionChanged();
    void deleteFromDisk();
    void layoutControls();
    void fitDirectoryColumn();
    // The current file's markers as rows under its own, their names editable.
    void showMarkers();
    void removeMarker(QTreeWidgetItem *item);
    void updatePopup();

    RecordedFiles &m_files;
    RecorderCore &m_core;

    QTreeWidget *m_list = nullptr;
    QMenu *m_popup = nullptr;
    QAction *m_playAction = nullptr;
    QAction *m_renameAction = nullptr;
    QAction *m_removeAction = nullptr;
    QAction *m_deleteAction = nullptr;
    QMenu *m_markerPopup = nullptr;
    QAction *m_renameMarkerAction = nullptr;
    QAction *m_removeMarkerAction = nullptr;
    // The markers shown under the current file's row, as edited, and the file's as read.
    std::vector<engine::FileMarker> m_markers;
    std::vector<engine::FileMarker> m_readMarkers;
    QString m_markersPath;
    QLineEdit *m_title = nullptr;
    QLineEdit *m_artist = nullptr;
    QLineEdit *m_album = nullptr;
    QComboBox *m_genre = nullptr;            // 147 entries; index = genre number
    QLineEdit *m_copyright = nullptr;
    QLineEdit *m_year = nullptr;
    QLineEdit *m_track = nullptr;
    QLineEdit *m_comment = nullptr;
    QGroupBox *m_tagVersion = nullptr;       // "Mpeg Tag Version"
    QRadioButton *m_id3v1 = nullptr;
    QRadioButton *m_id3v2 = nullptr;
    QButtonGroup *m_tagVersionButtons = nullptr;
    QPushButton *m_resetButton = nullptr;
    QPushButton *m_applyButton = nullptr;
    QLabel *m_titleLabel = nullptr;
    QLabel *m_artistLabel = nullptr;
    QLabel *m_albumLabel = nullptr;
    QLabel *m_genreLabel = nullptr;
    QLabel *m_copyrightLabel = nullptr;
    QLabel *m_yearLabel = nullptr;
    QLabel *m_trackLabel = nullptr;
    QLabel *m_commentLabel = nullptr;
    bool m_updatingSelection = false;
};
