#include "files/file_info_page.h"

#include "app/main_window.h"
#include "app/ui_services.h"
#include "files/format_text.h"

#include <QComboBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>
#include <QVBoxLayout>

FileInfoPage::FileInfoPage(TForm1 &form) : m_form(form)
{
    ListView1 = new QTreeWidget(this);
    ListView1->setObjectName(QStringLiteral("ListView1"));
    ListView1->setColumnCount(4);
    ListView1->setHeaderLabels({QStringLiteral("File name"), QStringLiteral("Size"), QStringLiteral("Time"),
                                QStringLiteral("Save Directory")});
    ListView1->setRootIsDecorated(false);
    ListView1->setSelectionMode(QAbstractItemView::SingleSelection);
    ListView1->setSelectionBehavior(QAbstractItemView::SelectRows);
    ListView1->setSortingEnabled(false);

    const auto field = [this](const char *name) {
        auto *e = new QLineEdit(this);
        e->setObjectName(QString::fromLatin1(name));
        return e;
    };
    infoTitle = field("infoTitle");
    infoArtist = field("infoArtist");
    infoAlbum = field("infoAlbum");
    infoGenre = new QComboBox(this);
    infoGenre->setObjectName(QStringLiteral("infoGenre"));
    infoCopyright = field("infoCopyright");
    infoYear = field("infoYear");
    infoTrack = field("infoTrack");
    infoComment = field("infoComment");

    infoMTV = new QGroupBox(QStringLiteral("Mpeg Tag Version"), this);
    infoMTV->setObjectName(QStringLiteral("infoMTV"));
    infoMTV1 = new QRadioButton(QStringLiteral("ID3v1"), infoMTV);
    infoMTV2 = new QRadioButton(QStringLiteral("ID3v2"), infoMTV);
    infoMTV2->setChecked(true);
    auto *mtvLayout = new QVBoxLayout(infoMTV);
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

    auto *grid = new QGridLayout(this);
    grid->addWidget(ListView1, 0, 0, 1, 5);
    const auto label = [this](const char *text) { return new QLabel(QString::fromLatin1(text), this); };
    grid->addWidget(label("Title:"), 1, 0);
    grid->addWidget(infoTitle, 1, 1);
    grid->addWidget(label("Copyright:"), 1, 2);
    grid->addWidget(infoCopyright, 1, 3);
    grid->addWidget(label("Artist:"), 2, 0);
    grid->addWidget(infoArtist, 2, 1);
    grid->addWidget(label("Year:"), 2, 2);
    grid->addWidget(infoYear, 2, 3);
    grid->addWidget(label("Album:"), 3, 0);
    grid->addWidget(infoAlbum, 3, 1);
    grid->addWidget(label("Track:"), 3, 2);
    grid->addWidget(infoTrack, 3, 3);
    grid->addWidget(label("Comment:"), 4, 0);
    grid->addWidget(infoComment, 4, 1);
    grid->addWidget(label("Genre:"), 4, 2);
    grid->addWidget(infoGenre, 4, 3);
    grid->addWidget(infoMTV, 1, 4, 2, 1);
    grid->addWidget(btnReset, 3, 4);
    grid->addWidget(btnApply, 4, 4);

    connect(btnReset, &QPushButton::clicked, this, [this] { ui::RunCommand([this] { btnResetClick(); }); });
}

void FileInfoPage::SetColumnWidths()
{
    ListView1->setColumnWidth(0, 134);
    ListView1->setColumnWidth(1, 80);
    ListView1->setColumnWidth(2, 80);
    ListView1->setColumnWidth(3, 170);
}

void FileInfoPage::AddRecordedFile(const QString &path)
{
    engine::IAudioInformation2 &info = *m_form.AudioInformation1;
    info.LoadFromFile(path);
    const QFileInfo fi(path);
    auto *row = new QTreeWidgetItem(ListView1);
    row->setText(0, fi.fileName());
    row->setIcon(0, QIcon(QStringLiteral(":/icons/audio-file.svg")));
    row->setText(1, QStringLiteral("%1 KB").arg(info.GetFileSize() / 1000));
    row->setText(2, FormatMinSec(info.GetDuration() / 1000));
    const QString name = fi.fileName();
    row->setText(3, path.left(path.size() - name.size()));
}

void FileInfoPage::FillGenreList()
{
    infoGenre->clear();
    for (int i = 0; i <= 146; ++i)
        infoGenre->addItem(m_form.AudioInformation1->GetGenreName(i));
}

void FileInfoPage::btnResetClick()
{
    engine::IAudioInformation2 &info = *m_form.AudioInformation1;
    info.LoadFromFile(m_form.CurrentFileName);
    infoTitle->setText(info.infoTitle());
    infoArtist->setText(info.infoArtist());
    infoAlbum->setText(info.infoAlbum());
    const int genre = qint16(info.infoGenre());
    infoGenre->setCurrentIndex(genre >= 0 && genre <= 146 ? genre : -1);
    infoCopyright->setText(info.infoCopyright());
    infoComment->setText(info.infoComments());
    infoYear->setText(QString::number(info.infoYear()));
    infoTrack->setText(QString::number(qint16(info.infoTrack())));
}

// ---- the main window's side ----------------------------------------------------------

void TForm1::AddRecordedFile(const QString &path)
{
    TabSheet4->AddRecordedFile(path);
}

void TForm1::ResetFileInfo()
{
    TabSheet4->btnResetClick();
}

void TForm1::SetResetEnabled(bool on)
{
    TabSheet4->btnReset->setEnabled(on);
}

void TForm1::SetApplyEnabled(bool on)
{
    TabSheet4->btnApply->setEnabled(on);
}

void TForm1::FillGenreList()
{
    TabSheet4->FillGenreList();
}
