#include "ui/file_info_page.h"

#include "session/convert.h"
#include "session/file_operations.h"
#include "session/format_text.h"
#include "session/recorded_files.h"
#include "session/recorder_core.h"
#include "ui/ui_services.h"

#include <QAction>
#include <QButtonGroup>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QResizeEvent>
#include <QStyledItemDelegate>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <optional>
#include <stdexcept>

namespace {

// Where a marker stands: "12:04.250".
QString markerTimeText(qint64 frame, int sampleRate)
{
    if (sampleRate <= 0)
        return QString();
    const qint64 ms = qint64(std::llround(double(frame) * 1000.0 / sampleRate));
    return QStringLiteral("%1.%2").arg(minutesAndSeconds(ms / 1000)).arg(ms % 1000, 3, 10, QLatin1Char('0'));
}

constexpr int kRightColumnWidth = 105;   // tag version, Reset, Apply
constexpr int kRightMargin = 2;          // Reset's left = page width - its width - 2
constexpr int kListToRightColumn = 28;   // list width = the tag version's left - 28
constexpr int kRightFieldsOffset = 267;  // the copyright field's width = list width - 267
constexpr int kLeftFieldWidth = 164;
constexpr int kLeft = 8;                 // the list's and the left labels' left edge
constexpr int kTop = 4;
constexpr int kBottom = 4;
constexpr int kRowGap = 3;
constexpr int kListToFields = 6;
constexpr int kMinDirectoryWidth = 80;
constexpr int kLabelGap = 6;             // label to its field
constexpr int kColumnGap = 12;           // left field to the right-hand labels

// The directory column shows the end of the path, where the folders that tell recordings
// apart are.
class LeftElidingDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        option->textElideMode = Qt::ElideLeft;
    }
};

}  // namespace

FileInfoPage::FileInfoPage(RecorderCore &core,
                           QWidget *parent)
    : QWidget(parent), m_files(core.files()), m_core(core)
{
    setObjectName(QStringLiteral("fileInfoPage"));
    m_list = new QTreeWidget(this);
    m_list->setObjectName(QStringLiteral("fileList"));
    m_list->setColumnCount(4);
    m_list->setHeaderLabels({tr("File name"), tr("Size", "column header: a file's size"),
                             tr("Time", "column header: a file's length, a marker's place"), tr("Save Directory")});
    m_list->setRootIsDecorated(false);
    m_list->setItemsExpandable(false);
    m_list->setUniformRowHeights(true);
    m_list->setAllColumnsShowFocus(true);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setSortingEnabled(false);
    m_list->header()->setStretchLastSection(false);
    m_list->setItemDelegateForColumn(DirectoryColumn, new LeftElidingDelegate(m_list));
    m_list->header()->setSectionsMovable(false);
    m_list->setContextMenuPolicy(Qt::CustomContextMenu);
    m_list->setAccessibleName(tr("File list"));

    m_popup = new QMenu(this);
    m_popup->setObjectName(QStringLiteral("fileListMenu"));
    m_playAction = m_popup->addAction(QIcon(QStringLiteral(":/icons/play.svg")), tr("Play"));
    m_renameAction = m_popup->addAction(tr("Rename"));
    m_removeAction = m_popup->addAction(tr("Delete from list box"));
    m_deleteAction = m_popup->addAction(tr("Delete from hard disk"));
    m_playAction->setObjectName(QStringLiteral("playRowAction"));
    m_renameAction->setObjectName(QStringLiteral("renameRowAction"));
    m_removeAction->setObjectName(QStringLiteral("removeRowAction"));
    m_deleteAction->setObjectName(QStringLiteral("deleteRowAction"));
    for (QAction *a : m_popup->actions())
        a->setEnabled(false);
    // A marker's row has a menu of its own; Delete removes the marker chosen.
    m_markerPopup = new QMenu(this);
    m_markerPopup->setObjectName(QStringLiteral("markerMenu"));
    m_renameMarkerAction = m_markerPopup->addAction(tr("Rename Marker"));
    m_renameMarkerAction->setObjectName(QStringLiteral("renameMarkerAction"));
    m_removeMarkerAction = m_markerPopup->addAction(QIcon(QStringLiteral(":/icons/marker.svg")), tr("Remove Marker"));
    m_removeMarkerAction->setObjectName(QStringLiteral("removeMarkerAction"));
    m_removeMarkerAction->setShortcut(QKeySequence::Delete);
    m_removeMarkerAction->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    m_removeMarkerAction->setEnabled(false);
    m_list->addAction(m_removeMarkerAction);

    const auto field = [this](const char *name) {
        auto *e = new QLineEdit(this);
        e->setObjectName(QString::fromLatin1(name));
        return e;
    };
    const auto label = [this](const QString &text, QWidget *buddy) {
        auto *l = new QLabel(text, this);
        l->setBuddy(buddy);
        l->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        return l;
    };
    m_title = field("titleEdit");
    m_artist = field("artistEdit");
    m_album = field("albumEdit");
    m_genre = new QComboBox(this);
    m_genre->setObjectName(QStringLiteral("genreList"));
    m_genre->setEditable(false);
    m_genre->setMaxVisibleItems(20);
    m_genre->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_genre->setMinimumContentsLength(6);
    m_copyright = field("copyrightEdit");
    m_year = field("yearEdit");
    m_track = field("trackEdit");
    m_comment = field("commentEdit");
    m_titleLabel = label(tr("Title:"), m_title);
    m_artistLabel = label(tr("Artist:"), m_artist);
    m_albumLabel = label(tr("Album:"), m_album);
    m_genreLabel = label(tr("Genre:"), m_genre);
    m_copyrightLabel = label(tr("Copyright:"), m_copyright);
    m_yearLabel = label(tr("Year:"), m_year);
    m_trackLabel = label(tr("Track:"), m_track);
    m_commentLabel = label(tr("Comment:"), m_comment);

    m_tagVersion = new QGroupBox(tr("Mpeg Tag Version"), this);
    m_tagVersion->setObjectName(QStringLiteral("tagVersionGroup"));
    m_id3v1 = new QRadioButton(QStringLiteral("ID3v1"), m_tagVersion);
    m_id3v1->setObjectName(QStringLiteral("id3v1Button"));
    m_id3v2 = new QRadioButton(QStringLiteral("ID3v2"), m_tagVersion);
    m_id3v2->setObjectName(QStringLiteral("id3v2Button"));
    m_id3v2->setChecked(true);
    m_tagVersionButtons = new QButtonGroup(this);
    m_tagVersionButtons->addButton(m_id3v1, 0);
    m_tagVersionButtons->addButton(m_id3v2, 1);
    auto *versionLayout = new QVBoxLayout(m_tagVersion);
    versionLayout->setContentsMargins(8, 2, 8, 4);
    versionLayout->setSpacing(0);
    versionLayout->addWidget(m_id3v1);
    versionLayout->addWidget(m_id3v2);

    m_resetButton = new QPushButton(tr("Reset"), this);
    m_resetButton->setObjectName(QStringLiteral("resetButton"));
    m_resetButton->setToolTip(tr("Reset file info"));
    m_resetButton->setEnabled(false);
    m_applyButton = new QPushButton(tr("Apply"), this);
    m_applyButton->setObjectName(QStringLiteral("applyButton"));
    m_applyButton->setToolTip(tr("Apply file info"));
    m_applyButton->setEnabled(false);

    // Keyboard order: the list, the tag fields as users of the tag editor know them (Title,
    // Artist, Album, Genre, Copyright, Year, Track, Comment), the tag version, Reset, Apply.
    const QList<QWidget *> order{m_list,  m_title, m_artist, m_album, m_genre, m_copyright, m_year,
                                 m_track, m_comment, m_id3v1, m_id3v2, m_resetButton, m_applyButton};
    for (qsizetype i = 0; i + 1 < order.size(); ++i)
        setTabOrder(order[i], order[i + 1]);

    const auto command = [this](auto fn) { return [this, fn] { ui::runCommand([this, fn] { fn(); }); }; };
    m_list->viewport()->installEventFilter(this);
    connect(m_list->header(), &QHeaderView::sectionResized, this, [this](int column) {
        if (column != DirectoryColumn)
            fitDirectoryColumn();
    });
    connect(m_list, &QTreeWidget::itemSelectionChanged, this, command([this] { onSelectionChanged(); }));
    connect(m_list, &QWidget::customContextMenuRequested, this, [this](const QPoint &pos) {
        const QTreeWidgetItem *at = m_list->itemAt(pos);
        (at && at->parent() ? m_markerPopup : m_popup)->popup(m_list->viewport()->mapToGlobal(pos));
    });
    connect(m_playAction, &QAction::triggered, this, [this] { emit playRequested(); });
    connect(m_renameAction, &QAction::triggered, this, [this] {
        if (m_files.selectedRow() >= 0)
            emit renameRequested();
    });
    connect(m_removeAction, &QAction::triggered, this, command([this] { m_files.removeAt(m_files.selectedRow()); }));
    connect(m_deleteAction, &QAction::triggered, this, command([this] { deleteFromDisk(); }));
    connect(m_removeMarkerAction, &QAction::triggered, this, [this] { removeMarker(m_list->currentItem()); });
    connect(m_renameMarkerAction, &QAction::triggered, this, [this] {
        if (QTreeWidgetItem *item = m_list->currentItem(); item && item->parent())
            m_list->editItem(item, NameColumn);
    });
    // A marker's name is edited in its row: cleaned as a new marker's is.
    connect(m_list, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem *item, int column) {
        QTreeWidgetItem *file = item->parent();
        if (!file || column != NameColumn)
            return;
        const int index = file->indexOfChild(item);
        if (index < 0 || index >= int(m_markers.size()))
            return;
        QString name = item->text(NameColumn);
        name.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
        name.remove(QLatin1Char('='));
        name = name.trimmed();
        if (name.isEmpty())
            name = m_markers[size_t(index)].name;
        m_markers[size_t(index)].name = name;
        if (item->text(NameColumn) != name) {
            const QSignalBlocker quiet(m_list);
            item->setText(NameColumn, name);
        }
    });
    connect(m_resetButton, &QPushButton::clicked, this, command([this] { resetTags(); }));
    connect(m_applyButton, &QPushButton::clicked, this, command([this] { applyTags(); }));
    connect(m_tagVersionButtons, &QButtonGroup::idClicked, this,
            [this](int id) { ui::runCommand([this, id] { m_files.setTagVersion(id + 1); }); });

    connect(&m_files, &RecordedFiles::rowAdded, this, &FileInfoPage::addRow);
    connect(&m_files, &RecordedFiles::rowChanged, this, &FileInfoPage::updateRow);
    connect(&m_files, &RecordedFiles::rowRemoved, this, [this](int row) { delete m_list->topLevelItem(row); });
    connect(&m_files, &RecordedFiles::selectionChanged, this, [this](int row) {
        if (m_updatingSelection)
            return;
        // Selection and current row are cleared first, so the view does not select a
        // neighbour of a removed row.
        const QSignalBlocker quiet(m_list);
        m_list->selectionModel()->clear();
        if (row >= 0)
            m_list->topLevelItem(row)->setSelected(true);
        updatePopup();
    });

    resize(590, 230);
    layoutControls();
}

// ---- layout ---------------------------------------------------------------------------

void FileInfoPage::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    layoutControls();
}

bool FileInfoPage::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_list->viewport() && event->type() == QEvent::Resize)
        fitDirectoryColumn();
    return QWidget::eventFilter(watched, event);
}

void FileInfoPage::fitDirectoryColumn()
{
    // "Save Directory" takes the list's remaining width (its end shows, see the delegate),
    // so no column hides behind a horizontal scroll bar.
    int others = 0;
    for (int c = NameColumn; c < DirectoryColumn; ++c)
        others += m_list->columnWidth(c);
    m_list->setColumnWidth(DirectoryColumn, std::max(kMinDirectoryWidth, m_list->viewport()->width() - others));
}

void FileInfoPage::layoutControls()
{
    const int w = width();
    const int h = height();

    // The right column stands at the right edge; the list takes the width left of it.
    const int right = w - kRightColumnWidth - kRightMargin;
    const int listWidth = right - kListToRightColumn;

    const int rowHeight = std::max({m_title->sizeHint().height(), m_genre->sizeHint().height(),
                                    fontMetrics().height() + 6});
    const int fieldsHeight = 4 * rowHeight + 3 * kRowGap;
    const int fieldsTop = h - kBottom - fieldsHeight;
    m_list->setGeometry(kLeft, kTop, listWidth, std::max(0, fieldsTop - kListToFields - kTop));

    // Two columns of labelled fields below the list. The right-hand fields end where the
    // list ends; their left edge leaves room for the labels in the desktop's font.
    const auto widest = [this](std::initializer_list<QLabel *> labels) {
        int out = 0;
        for (QLabel *l : labels)
            out = std::max(out, l->sizeHint().width());
        return out;
    };
    const int leftLabelWidth = widest({m_titleLabel, m_artistLabel, m_albumLabel, m_commentLabel});
    const int rightLabelWidth = widest({m_copyrightLabel, m_yearLabel, m_trackLabel, m_genreLabel});
    const int leftFieldX = kLeft + leftLabelWidth + kLabelGap;
    const int rightLabelMin = leftFieldX + kLeftFieldWidth + kColumnGap;
    const int rightFieldX = std::max(kLeft + kRightFieldsOffset, rightLabelMin + rightLabelWidth + kLabelGap);
    const int rightFieldWidth = std::max(0, listWidth - (rightFieldX - kLeft));
    const int rightLabelX = rightFieldX - kLabelGap - rightLabelWidth;

    QLabel *const leftLabels[4] = {m_titleLabel, m_artistLabel, m_albumLabel, m_commentLabel};
    QWidget *const leftFields[4] = {m_title, m_artist, m_album, m_comment};
    QLabel *const rightLabels[4] = {m_copyrightLabel, m_yearLabel, m_trackLabel, m_genreLabel};
    QWidget *const rightFields[4] = {m_copyright, m_year, m_track, m_genre};
    for (int i = 0; i < 4; ++i) {
        const int y = fieldsTop + i * (rowHeight + kRowGap);
        leftLabels[i]->setGeometry(kLeft, y, leftLabelWidth, rowHeight);
        leftFields[i]->setGeometry(leftFieldX, y, kLeftFieldWidth, rowHeight);
        rightLabels[i]->setGeometry(rightLabelX, y, rightLabelWidth, rowHeight);
        rightFields[i]->setGeometry(rightFieldX, y, rightFieldWidth, rowHeight);
    }

    // The right column: the tag version at the top, the two buttons at the bottom.
    const int buttonHeight = std::max(m_resetButton->sizeHint().height(), rowHeight);
    const int fieldsBottom = fieldsTop + fieldsHeight;
    m_resetButton->setGeometry(w - kRightColumnWidth - kRightMargin, fieldsBottom - 2 * buttonHeight - kRowGap,
                          kRightColumnWidth, buttonHeight);
    m_applyButton->setGeometry(m_resetButton->x(), fieldsBottom - buttonHeight, kRightColumnWidth, buttonHeight);
    m_tagVersion->setGeometry(m_resetButton->x(), kTop, kRightColumnWidth, m_tagVersion->sizeHint().height());
}

// ---- the list ------------------------------------------------------------------------------

void FileInfoPage::setColumnWidths()
{
    m_list->setColumnWidth(NameColumn, 134);
    m_list->setColumnWidth(SizeColumn, 80);
    m_list->setColumnWidth(TimeColumn, 80);
    m_list->setColumnWidth(DirectoryColumn, 170);
}

void FileInfoPage::addRow(int row)
{
    auto *item = new QTreeWidgetItem;
    item->setIcon(NameColumn, QIcon(QStringLiteral(":/icons/audio-file.svg")));
    m_list->insertTopLevelItem(row, item);
    updateRow(row);
    m_list->scrollToItem(item);
}

void FileInfoPage::updateRow(int row)
{
    const RecordedFiles::Entry &e = m_files.at(row);
    QTreeWidgetItem *item = m_list->topLevelItem(row);
    item->setText(NameColumn, e.name());
    //: a file's size in kilobytes
    item->setText(SizeColumn, tr("%1 KB").arg(numberText(e.bytes / 1000)));
    item->setText(TimeColumn, minutesAndSeconds(e.durationMs / 1000));
    item->setText(DirectoryColumn, e.folder());
    item->setToolTip(NameColumn, e.path);
    item->setToolTip(DirectoryColumn, e.folder());
}

void FileInfoPage::updatePopup()
{
    const int row = m_files.selectedRow();
    for (QAction *a : {m_playAction, m_renameAction, m_removeAction, m_deleteAction})
        a->setEnabled(row >= 0);
    QTreeWidgetItem *current = m_list->currentItem();
    const bool marker = current && current->parent() && current->isSelected();
    m_removeMarkerAction->setEnabled(marker);
    m_renameMarkerAction->setEnabled(marker);
}

void FileInfoPage::onSelectionChanged()
{
    const QList<QTreeWidgetItem *> rows = m_list->selectedItems();
    // A marker of the file shown is chosen: the file stays the selected one.
    if (!rows.isEmpty() && rows.first()->parent()) {
        updatePopup();
        return;
    }
    const int row = rows.isEmpty() ? -1 : m_list->indexOfTopLevelItem(rows.first());
    const QString previous = m_files.currentFile();
    m_updatingSelection = true;
    m_files.select(row);
    m_updatingSelection = false;
    updatePopup();
    if (row < 0) {
        showMarkers();
        return;
    }

    const QString path = m_files.selectedPath();
    QString description;
    try {
        description = m_files.formatDescription(path);
    } catch (...) {
        // A file that cannot be read does not become the current one: the tag editor and
        // the status bar go on with the file they showed.
        m_files.setCurrentFile(previous);
        throw;
    }
    emit fileShown(path, description);
    resetTags();

    // Tags are not written into the file that is being played or recorded from this row.
    setApplyEnabled(m_core.tagsMayBeWritten(path));
}

void FileInfoPage::deleteFromDisk()
{
    m_core.deleteFile(m_files.selectedRow());
}

// ---- the tag editor ------------------------------------------------------------------------

void FileInfoPage::fillGenreList()
{
    m_genre->clear();
    for (int i = 0; i <= 146; ++i)
        m_genre->addItem(m_files.genreName(i));
    m_genre->setCurrentIndex(-1);
}

void FileInfoPage::resetTags()
{
    // The ID3 version means nothing to a file with Vorbis comments.
    m_tagVersion->setEnabled(!RecordedFiles::hasVorbisComments(m_files.currentFile()));
    const FileTags tags = m_files.readTags(m_files.currentFile());
    m_title->setText(tags.title);
    m_artist->setText(tags.artist);
    m_album->setText(tags.album);
    const int genre = qint16(tags.genre);
    m_genre->setCurrentIndex(genre >= 0 && genre <= 146 && genre < m_genre->count() ? genre : -1);
    m_copyright->setText(tags.copyright);
    m_comment->setText(tags.comments);
    m_year->setText(QString::number(tags.year));
    m_track->setText(QString::number(qint16(tags.track)));
    // Long texts show their beginning, as typed.
    for (QLineEdit *e : {m_title, m_artist, m_album, m_copyright, m_comment})
        e->setCursorPosition(0);
    showMarkers();
}

void FileInfoPage::showMarkers()
{
    const QSignalBlocker quiet(m_list);
    for (int i = 0; i < m_list->topLevelItemCount(); ++i)
        qDeleteAll(m_list->topLevelItem(i)->takeChildren());
    m_markers.clear();
    m_readMarkers.clear();
    m_markersPath.clear();
    const int row = m_files.selectedRow();
    if (row < 0 || m_files.at(row).path != m_files.currentFile()) {
        updatePopup();
        return;
    }
    m_markersPath = m_files.at(row).path;
    const RecordedFiles::FileMarkers found = m_files.readMarkers(m_markersPath);
    m_markers = found.markers;
    m_readMarkers = found.markers;
    QTreeWidgetItem *file = m_list->topLevelItem(row);
    for (const engine::FileMarker &m : m_markers) {
        auto *item = new QTreeWidgetItem(file);
        item->setIcon(NameColumn, QIcon(QStringLiteral(":/icons/marker.svg")));
        item->setText(NameColumn, m.name);
        item->setToolTip(NameColumn, tr("A marker: double-click to rename it, Delete removes it; Apply "
                                        "writes the change"));
        item->setText(TimeColumn, markerTimeText(m.frame, found.sampleRate));
        item->setFlags(item->flags() | Qt::ItemIsEditable);
    }
    file->setExpanded(true);
    updatePopup();
}

void FileInfoPage::removeMarker(QTreeWidgetItem *item)
{
    QTreeWidgetItem *file = item ? item->parent() : nullptr;
    if (!file)
        return;
    const int index = file->indexOfChild(item);
    if (index < 0 || index >= int(m_markers.size()))
        return;
    m_markers.erase(m_markers.begin() + index);
    delete item;
    updatePopup();
}

void FileInfoPage::applyTags()
{
    FileTags tags;
    tags.title = m_title->text();
    tags.artist = m_artist->text();
    tags.album = m_album->text();
    tags.genre = m_genre->currentIndex();
    tags.copyright = m_copyright->text();
    tags.comments = m_comment->text();

    // A number that does not convert, or that the tag component refuses, stops Apply before
    // anything is written.
    const auto refuse = [this](QLineEdit *edit, const QString &message) {
        ui::notice(this, message);
        edit->setFocus(Qt::OtherFocusReason);
        edit->selectAll();
    };
    const std::optional<int> year = parseInteger(m_year->text());
    if (!year) {
        refuse(m_year, tr("Invalid Year Value"));
        return;
    }
    const std::optional<int> track = parseInteger(m_track->text());
    if (!track) {
        refuse(m_track, tr("Invalid Track Value"));
        return;
    }
    tags.year = *year;
    tags.track = *track;
    switch (m_files.writeTags(m_files.currentFile(), tags)) {
    case RecordedFiles::Refused::Year:
        refuse(m_year, tr("Invalid Year Value"));
        return;
    case RecordedFiles::Refused::Track:
        refuse(m_track, tr("Invalid Track Value"));
        return;
    case RecordedFiles::Refused::Nothing:
        break;
    }
    // The markers are written only when they were changed: a file without any is not touched.
    if (!m_markersPath.isEmpty() && m_markersPath == m_files.currentFile() && m_markers != m_readMarkers) {
        m_files.writeMarkers(m_markersPath, m_markers);
        m_readMarkers = m_markers;
    }
}

void FileInfoPage::setResetEnabled(bool on)
{
    m_resetButton->setEnabled(on);
}

void FileInfoPage::setApplyEnabled(bool on)
{
    m_applyButton->setEnabled(on);
}
