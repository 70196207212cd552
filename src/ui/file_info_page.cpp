#include "ui/file_info_page.h"

#include "ui/main_window.h"
#include "ui/ui_services.h"
#include "session/file_operations.h"
#include "session/format_text.h"
#include "ui/rename_dialog.h"
#include "session/convert.h"

#include <QAction>
#include <QButtonGroup>
#include <QComboBox>
#include <QFileInfo>
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
#include <stdexcept>

namespace {

constexpr int kRightColumnWidth = 105;   // infoMTV, btnReset, btnApply
constexpr int kRightMargin = 2;          // btnReset's left = page width - its width - 2
constexpr int kListToRightColumn = 28;   // list width = infoMTV's left - 28
constexpr int kRightFieldsOffset = 267;  // infoCopyright's width = list width - 267
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

void setText(QObject &component, const char *property, const QString &text)
{
    // The texts go by name through the component's property interface.
    if (!component.setProperty(property, text))
        throw std::runtime_error(QStringLiteral("Cannot set %1").arg(QLatin1String(property)).toStdString());
}

}  // namespace

FileInfoPage::FileInfoPage(MainWindow &form) : m_form(form)
{
    ListView1 = new QTreeWidget(this);
    ListView1->setObjectName(QStringLiteral("ListView1"));
    ListView1->setColumnCount(4);
    ListView1->setHeaderLabels({QStringLiteral("File name"), QStringLiteral("Size"), QStringLiteral("Time"),
                                QStringLiteral("Save Directory")});
    ListView1->setRootIsDecorated(false);
    ListView1->setItemsExpandable(false);
    ListView1->setUniformRowHeights(true);
    ListView1->setAllColumnsShowFocus(true);
    ListView1->setSelectionMode(QAbstractItemView::SingleSelection);
    ListView1->setSelectionBehavior(QAbstractItemView::SelectRows);
    ListView1->setSortingEnabled(false);
    ListView1->header()->setStretchLastSection(false);
    ListView1->setItemDelegateForColumn(DirectoryColumn, new LeftElidingDelegate(ListView1));
    ListView1->header()->setSectionsMovable(false);
    ListView1->setContextMenuPolicy(Qt::CustomContextMenu);

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    PopupPlay = PopupMenu1->addAction(QIcon(QStringLiteral(":/icons/play.svg")), QStringLiteral("Play"));
    PopupRename = PopupMenu1->addAction(QStringLiteral("Rename"));
    PopupDeleteFromList = PopupMenu1->addAction(QStringLiteral("Delete from list box"));
    PopupDeleteFromDisk = PopupMenu1->addAction(QStringLiteral("Delete from hard disk"));
    for (QAction *a : PopupMenu1->actions())
        a->setEnabled(false);

    const auto field = [this](const char *name) {
        auto *e = new QLineEdit(this);
        e->setObjectName(QString::fromLatin1(name));
        return e;
    };
    const auto label = [this](const char *text, QWidget *buddy) {
        auto *l = new QLabel(QString::fromLatin1(text), this);
        l->setBuddy(buddy);
        l->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        return l;
    };
    infoTitle = field("infoTitle");
    infoArtist = field("infoArtist");
    infoAlbum = field("infoAlbum");
    infoGenre = new QComboBox(this);
    infoGenre->setObjectName(QStringLiteral("infoGenre"));
    infoGenre->setEditable(false);
    infoGenre->setMaxVisibleItems(20);
    infoGenre->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    infoGenre->setMinimumContentsLength(6);
    infoCopyright = field("infoCopyright");
    infoYear = field("infoYear");
    infoTrack = field("infoTrack");
    infoComment = field("infoComment");
    titleLabel = label("Title:", infoTitle);
    artistLabel = label("Artist:", infoArtist);
    albumLabel = label("Album:", infoAlbum);
    genreLabel = label("Genre:", infoGenre);
    copyrightLabel = label("Copyright:", infoCopyright);
    yearLabel = label("Year:", infoYear);
    trackLabel = label("Track:", infoTrack);
    commentLabel = label("Comment:", infoComment);

    infoMTV = new QGroupBox(QStringLiteral("Mpeg Tag Version"), this);
    infoMTV->setObjectName(QStringLiteral("infoMTV"));
    infoMTV1 = new QRadioButton(QStringLiteral("ID3v1"), infoMTV);
    infoMTV2 = new QRadioButton(QStringLiteral("ID3v2"), infoMTV);
    infoMTV2->setChecked(true);
    m_tagVersionGroup = new QButtonGroup(this);
    m_tagVersionGroup->addButton(infoMTV1, 0);
    m_tagVersionGroup->addButton(infoMTV2, 1);
    auto *mtvLayout = new QVBoxLayout(infoMTV);
    mtvLayout->setContentsMargins(8, 2, 8, 4);
    mtvLayout->setSpacing(0);
    mtvLayout->addWidget(infoMTV1);
    mtvLayout->addWidget(infoMTV2);

    btnReset = new QPushButton(QStringLiteral("Reset"), this);
    btnReset->setObjectName(QStringLiteral("btnReset"));
    btnReset->setToolTip(QStringLiteral("Reset file info"));
    btnReset->setEnabled(false);
    btnApply = new QPushButton(QStringLiteral("Apply"), this);
    btnApply->setObjectName(QStringLiteral("btnApply"));
    btnApply->setToolTip(QStringLiteral("Apply file info"));
    btnApply->setEnabled(false);

    setTabOrder(ListView1, infoTitle);
    setTabOrder(infoTitle, infoArtist);
    setTabOrder(infoArtist, infoAlbum);
    setTabOrder(infoAlbum, infoGenre);
    setTabOrder(infoGenre, infoCopyright);
    setTabOrder(infoCopyright, infoYear);
    setTabOrder(infoYear, infoTrack);
    setTabOrder(infoTrack, infoComment);
    setTabOrder(infoComment, infoMTV1);
    setTabOrder(infoMTV1, infoMTV2);
    setTabOrder(infoMTV2, btnReset);
    setTabOrder(btnReset, btnApply);

    const auto command = [this](auto fn) { return [this, fn] { ui::runCommand([this, fn] { (this->*fn)(); }); }; };
    ListView1->viewport()->installEventFilter(this);
    connect(ListView1->header(), &QHeaderView::sectionResized, this, [this](int column) {
        if (column != DirectoryColumn)
            fitDirectoryColumn();
    });
    connect(ListView1, &QTreeWidget::itemSelectionChanged, this, command(&FileInfoPage::ListView1SelectItem));
    connect(ListView1, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &pos) { PopupMenu1->popup(ListView1->viewport()->mapToGlobal(pos)); });
    connect(PopupPlay, &QAction::triggered, this, command(&FileInfoPage::PopupPlayClick));
    connect(PopupRename, &QAction::triggered, this, command(&FileInfoPage::PopupRenameClick));
    connect(PopupDeleteFromList, &QAction::triggered, this, command(&FileInfoPage::PopupDeleteFromListClick));
    connect(PopupDeleteFromDisk, &QAction::triggered, this, command(&FileInfoPage::PopupDeleteFromDiskClick));
    connect(btnReset, &QPushButton::clicked, this, command(&FileInfoPage::btnResetClick));
    connect(btnApply, &QPushButton::clicked, this, command(&FileInfoPage::btnApplyClick));
    connect(m_tagVersionGroup, &QButtonGroup::idClicked, this,
            [this](int id) { ui::runCommand([this, id] { infoMTVClick(id); }); });

    resize(590, 230);
    LayoutControls();
}

// ---- layout ---------------------------------------------------------------------------

void FileInfoPage::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    LayoutControls();
}

bool FileInfoPage::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == ListView1->viewport() && event->type() == QEvent::Resize)
        fitDirectoryColumn();
    return QWidget::eventFilter(watched, event);
}

void FileInfoPage::fitDirectoryColumn()
{
    // "Save Directory" takes the list's remaining width (its end shows, see the delegate),
    // so no column hides behind a horizontal scroll bar.
    int others = 0;
    for (int c = NameColumn; c < DirectoryColumn; ++c)
        others += ListView1->columnWidth(c);
    ListView1->setColumnWidth(DirectoryColumn, std::max(kMinDirectoryWidth, ListView1->viewport()->width() - others));
}

void FileInfoPage::LayoutControls()
{
    const int w = width();
    const int h = height();

    // The right column stands at the right edge; the list takes the width left of it.
    const int right = w - kRightColumnWidth - kRightMargin;
    const int listWidth = right - kListToRightColumn;

    const int rowHeight = std::max({infoTitle->sizeHint().height(), infoGenre->sizeHint().height(),
                                    fontMetrics().height() + 6});
    const int fieldsHeight = 4 * rowHeight + 3 * kRowGap;
    const int fieldsTop = h - kBottom - fieldsHeight;
    ListView1->setGeometry(kLeft, kTop, listWidth, std::max(0, fieldsTop - kListToFields - kTop));

    // Two columns of labelled fields below the list. The right-hand fields end where the
    // list ends; their left edge leaves room for the labels in the desktop's font.
    const auto widest = [this](std::initializer_list<QLabel *> labels) {
        int out = 0;
        for (QLabel *l : labels)
            out = std::max(out, l->sizeHint().width());
        return out;
    };
    const int leftLabelWidth = widest({titleLabel, artistLabel, albumLabel, commentLabel});
    const int rightLabelWidth = widest({copyrightLabel, yearLabel, trackLabel, genreLabel});
    const int leftFieldX = kLeft + leftLabelWidth + kLabelGap;
    const int rightLabelMin = leftFieldX + kLeftFieldWidth + kColumnGap;
    const int rightFieldX = std::max(kLeft + kRightFieldsOffset, rightLabelMin + rightLabelWidth + kLabelGap);
    const int rightFieldWidth = std::max(0, listWidth - (rightFieldX - kLeft));
    const int rightLabelX = rightFieldX - kLabelGap - rightLabelWidth;

    QLabel *const leftLabels[4] = {titleLabel, artistLabel, albumLabel, commentLabel};
    QWidget *const leftFields[4] = {infoTitle, infoArtist, infoAlbum, infoComment};
    QLabel *const rightLabels[4] = {copyrightLabel, yearLabel, trackLabel, genreLabel};
    QWidget *const rightFields[4] = {infoCopyright, infoYear, infoTrack, infoGenre};
    for (int i = 0; i < 4; ++i) {
        const int y = fieldsTop + i * (rowHeight + kRowGap);
        leftLabels[i]->setGeometry(kLeft, y, leftLabelWidth, rowHeight);
        leftFields[i]->setGeometry(leftFieldX, y, kLeftFieldWidth, rowHeight);
        rightLabels[i]->setGeometry(rightLabelX, y, rightLabelWidth, rowHeight);
        rightFields[i]->setGeometry(rightFieldX, y, rightFieldWidth, rowHeight);
    }

    // The right column: the tag version at the top, the two buttons at the bottom.
    const int buttonHeight = std::max(btnReset->sizeHint().height(), rowHeight);
    const int fieldsBottom = fieldsTop + fieldsHeight;
    btnReset->setGeometry(w - kRightColumnWidth - kRightMargin, fieldsBottom - 2 * buttonHeight - kRowGap,
                          kRightColumnWidth, buttonHeight);
    btnApply->setGeometry(btnReset->x(), fieldsBottom - buttonHeight, kRightColumnWidth, buttonHeight);
    infoMTV->setGeometry(btnReset->x(), kTop, kRightColumnWidth, infoMTV->sizeHint().height());
}

// ---- the list -------------------------------------------------------------------------

void FileInfoPage::SetColumnWidths()
{
    ListView1->setColumnWidth(NameColumn, 134);
    ListView1->setColumnWidth(SizeColumn, 80);
    ListView1->setColumnWidth(TimeColumn, 80);
    ListView1->setColumnWidth(DirectoryColumn, 170);
}

void FileInfoPage::AddRecordedFile(const QString &path)
{
    engine::IAudioInformation2 &info = *m_form.AudioInformation1;
    info.LoadFromFile(path);
    // Measured before the row exists, so a failure leaves no half-filled row behind.
    const QString size = QStringLiteral("%1 KB").arg(info.GetFileSize() / 1000);
    const QString time = minutesAndSeconds(info.GetDuration() / 1000);
    const QString name = QFileInfo(path).fileName();

    auto *row = new QTreeWidgetItem(ListView1);
    row->setIcon(NameColumn, QIcon(QStringLiteral(":/icons/audio-file.svg")));
    row->setText(NameColumn, name);
    row->setText(SizeColumn, size);
    row->setText(TimeColumn, time);
    row->setText(DirectoryColumn, path.left(path.size() - name.size()));
    row->setToolTip(NameColumn, path);
    row->setToolTip(DirectoryColumn, row->text(DirectoryColumn));
    ListView1->scrollToItem(row);
}

QTreeWidgetItem *FileInfoPage::SelectedRow() const
{
    const QList<QTreeWidgetItem *> rows = ListView1->selectedItems();
    return rows.isEmpty() ? nullptr : rows.first();
}

QString FileInfoPage::RowPath(const QTreeWidgetItem *row)
{
    return row->text(DirectoryColumn) + row->text(NameColumn);
}

void FileInfoPage::ListView1SelectItem()
{
    QTreeWidgetItem *row = SelectedRow();
    for (QAction *a : PopupMenu1->actions())
        a->setEnabled(row != nullptr);
    if (!row) {
        m_form.SelectedFilePath.clear();
        return;
    }
    m_form.SelectedFilePath = RowPath(row);

    engine::IAudioInformation2 &info = *m_form.AudioInformation1;
    info.LoadFromFile(m_form.SelectedFilePath);
    m_form.SetStatusText(1, m_form.SelectedFilePath);
    m_form.SetStatusText(2, shortFormatText(info.GetFormatDescription()));
    m_form.CurrentFileName = m_form.SelectedFilePath;
    btnResetClick();

    // Tags are not written into the file that is being played or recorded from this row.
    const bool busy = (m_form.Playing || m_form.Recording) && m_form.SelectedFilePath == m_form.PlayFileName;
    m_form.SetApplyEnabled(!busy);
}

void FileInfoPage::PopupPlayClick()
{
    m_form.StartPlayback();
}

void FileInfoPage::PopupRenameClick()
{
    if (!SelectedRow())
        return;
    m_form.RenameForm->exec();
}

void FileInfoPage::removeRow(QTreeWidgetItem *row)
{
    // Selection and current row are cleared first: the selection steps see "no row", and
    // the view does not select a neighbour in the removed row's place.
    ListView1->selectionModel()->clear();
    delete row;
}

void FileInfoPage::PopupDeleteFromListClick()
{
    if (QTreeWidgetItem *row = SelectedRow())
        removeRow(row);
}

void FileInfoPage::PopupDeleteFromDiskClick()
{
    QTreeWidgetItem *row = SelectedRow();
    if (!row)
        return;
    const QString path = RowPath(row);
    if (m_form.Recording && sameFile(path, m_form.CurrentRecordingName))
        throw std::runtime_error(
            QStringLiteral("Cannot delete %1: it is being recorded. Stop the recording first.").arg(path).toStdString());
    // The file the player reads goes away with its sound: stop that playback first.
    if (m_form.Playing && sameFile(path, m_form.PlayFileName))
        m_form.StopPlayback();

    const DiskResult result = deleteFromDisk(path);
    if (result.outcome == DiskResult::Failed)
        throw std::runtime_error(QStringLiteral("Cannot delete %1: %2").arg(path, result.reason).toStdString());
    // Done, or the file was gone already: either way it is no longer on the disk.
    removeRow(row);
}

// ---- the tag editor -----------------------------------------------------------------

void FileInfoPage::FillGenreList()
{
    infoGenre->clear();
    for (int i = 0; i <= 146; ++i)
        infoGenre->addItem(m_form.AudioInformation1->GetGenreName(i));
    infoGenre->setCurrentIndex(-1);
}

void FileInfoPage::btnResetClick()
{
    engine::IAudioInformation2 &info = *m_form.AudioInformation1;
    info.LoadFromFile(m_form.CurrentFileName);
    infoTitle->setText(info.infoTitle());
    infoArtist->setText(info.infoArtist());
    infoAlbum->setText(info.infoAlbum());
    const int genre = qint16(info.infoGenre());
    infoGenre->setCurrentIndex(genre >= 0 && genre <= 146 && genre < infoGenre->count() ? genre : -1);
    infoCopyright->setText(info.infoCopyright());
    infoComment->setText(info.infoComments());
    infoYear->setText(QString::number(info.infoYear()));
    infoTrack->setText(QString::number(qint16(info.infoTrack())));
    // Long texts show their beginning, as typed.
    for (QLineEdit *e : {infoTitle, infoArtist, infoAlbum, infoCopyright, infoComment})
        e->setCursorPosition(0);
}

void FileInfoPage::btnApplyClick()
{
    engine::IAudioInformation2 &info = *m_form.AudioInformation1;
    setText(info, "infoTitle", infoTitle->text());
    setText(info, "infoArtist", infoArtist->text());
    setText(info, "infoAlbum", infoAlbum->text());
    info.setInfoGenre(infoGenre->currentIndex());
    setText(info, "infoCopyright", infoCopyright->text());
    setText(info, "infoComments", infoComment->text());

    // A number that does not convert, or that the component refuses, stops Apply before
    // anything is written.
    const auto sendNumber = [this](QLineEdit *edit, auto send, const char *message) {
        const std::optional<int> value = parseInteger(edit->text());
        bool sent = false;
        if (value) {
            try {
                send(*value);
                sent = true;
            } catch (const std::exception &) {
            }
        }
        if (!sent) {
            ui::notice(this, QString::fromLatin1(message));
            edit->setFocus(Qt::OtherFocusReason);
            edit->selectAll();
        }
        return sent;
    };
    if (!sendNumber(infoYear, [&info](int v) { info.setInfoYear(v); }, "Invalid Year Value"))
        return;
    if (!sendNumber(infoTrack, [&info](int v) { info.setInfoTrack(v); }, "Invalid Track Value"))
        return;

    info.SaveToFile(m_form.CurrentFileName);
}

void FileInfoPage::infoMTVClick(int itemIndex)
{
    m_form.AudioInformation1->SetTagVersion(short(itemIndex + 1));
}

// ---- the main window's side ----------------------------------------------------------

void MainWindow::AddRecordedFile(const QString &path)
{
    TabSheet4->AddRecordedFile(path);
}

void MainWindow::ResetFileInfo()
{
    TabSheet4->btnResetClick();
}

void MainWindow::SetResetEnabled(bool on)
{
    TabSheet4->btnReset->setEnabled(on);
}

void MainWindow::SetApplyEnabled(bool on)
{
    TabSheet4->btnApply->setEnabled(on);
}

void MainWindow::FillGenreList()
{
    TabSheet4->FillGenreList();
}
