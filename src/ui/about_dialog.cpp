#include "ui/about_dialog.h"

#include "ui/main_window.h"
#include "ui/ui_services.h"
#include "ui/link_label.h"
#include "ui/window_placement.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QUrl>
#include <QVBoxLayout>

namespace {

QFrame *separator(QWidget *parent)
{
    auto *line = new QFrame(parent);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

}  // namespace

AboutDialog::AboutDialog(MainWindow &form) : QDialog(&form), m_form(form)
{
    setObjectName(QStringLiteral("AboutBox"));
    setAttribute(Qt::WA_DeleteOnClose);
    // A dialog frame with only a close box, above every other window while it is open.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint
                   | Qt::WindowStaysOnTopHint);
    setWindowTitle(QStringLiteral("About"));

    // Top band: the program's picture and its name with the version, on the window colour of
    // text fields so that it stands apart from the rows below.
    TopBand = new QWidget(this);
    TopBand->setObjectName(QStringLiteral("TopBand"));
    TopBand->setFixedHeight(TopBandHeight);
    TopBand->setAutoFillBackground(true);
    TopBand->setBackgroundRole(QPalette::Base);
    ProgramIcon = new QLabel(TopBand);
    ProgramIcon->setObjectName(QStringLiteral("ProgramIcon"));
    ProgramIcon->setFixedSize(34, 33);
    ProgramIcon->setPixmap(QIcon(QStringLiteral(":/icons/tavrin-sound-recorder.svg")).pixmap(QSize(33, 33), devicePixelRatioF()));
    ProgramIcon->setAlignment(Qt::AlignCenter);
    ProductName = new QLabel(TopBand);
    ProductName->setObjectName(QStringLiteral("ProductName"));
    ProductName->setTextFormat(Qt::PlainText);
    ProductName->setForegroundRole(QPalette::Text);
    QFont title = ProductName->font();
    title.setBold(true);
    title.setPointSizeF(title.pointSizeF() * 1.35);
    ProductName->setFont(title);
    auto *top = new QHBoxLayout(TopBand);
    top->setContentsMargins(16, 0, 16, 0);
    top->setSpacing(14);
    top->addWidget(ProgramIcon, 0, Qt::AlignVCenter);
    top->addWidget(ProductName, 1, Qt::AlignVCenter);

    // Middle: three rows of label and value.
    const auto rowLabel = [this](const QString &text, const char *name) {
        auto *l = new QLabel(text, this);
        l->setObjectName(QString::fromLatin1(name));
        l->setTextFormat(Qt::PlainText);
        return l;
    };
    VersionLabel = rowLabel(QStringLiteral("Version"), "VersionLabel");
    Version = rowLabel(QString(), "Version");
    HomePageLabel = rowLabel(QStringLiteral("HomePage"), "HomePageLabel");
    HomePageLink = new LinkLabel(homePageAddress, QUrl(homePageAddress), this);
    HomePageLink->setObjectName(QStringLiteral("HomePageLink"));
    SupportLabel = rowLabel(QStringLiteral("Technology Support"), "SupportLabel");
    SupportLink = new LinkLabel(QStringLiteral("Technology Support"), QUrl(supportAddress), this);
    SupportLink->setObjectName(QStringLiteral("SupportLink"));
    auto *rows = new QGridLayout;
    rows->setContentsMargins(24, 26, 24, 26);
    rows->setHorizontalSpacing(24);
    rows->setVerticalSpacing(18);
    rows->addWidget(VersionLabel, 0, 0);
    rows->addWidget(Version, 0, 1);
    rows->addWidget(HomePageLabel, 1, 0);
    rows->addWidget(HomePageLink, 1, 1, Qt::AlignLeft);
    rows->addWidget(SupportLabel, 2, 0);
    rows->addWidget(SupportLink, 2, 1, Qt::AlignLeft);
    rows->setColumnStretch(1, 1);

    // Bottom band: the notice and "Close".
    BottomBand = new QWidget(this);
    BottomBand->setObjectName(QStringLiteral("BottomBand"));
    BottomBand->setFixedHeight(BottomBandHeight);
    Notice = new QLabel(QStringLiteral("Made with Qt, FFmpeg, TagLib and PulseAudio."), BottomBand);
    Notice->setObjectName(QStringLiteral("Notice"));
    Notice->setTextFormat(Qt::PlainText);
    Notice->setForegroundRole(QPalette::PlaceholderText);
    btnClose = new QPushButton(QStringLiteral("Close"), BottomBand);
    btnClose->setObjectName(QStringLiteral("btnClose"));
    btnClose->setDefault(true);
    btnClose->setMinimumWidth(75);
    auto *bottom = new QHBoxLayout(BottomBand);
    bottom->setContentsMargins(16, 0, 12, 0);
    bottom->addWidget(Notice, 1, Qt::AlignVCenter);
    bottom->addWidget(btnClose, 0, Qt::AlignVCenter);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(TopBand);
    layout->addWidget(separator(this));
    layout->addLayout(rows, 1);
    layout->addWidget(separator(this));
    layout->addWidget(BottomBand);
    // The box takes the size its contents ask for, at least the designed width.
    layout->setSizeConstraint(QLayout::SetFixedSize);
    TopBand->setMinimumWidth(ClientWidth);

    connect(HomePageLink, &LinkLabel::clicked, this, [this] { ui::runCommand([this] { HomePageLinkClick(); }); });
    connect(SupportLink, &LinkLabel::clicked, this, [this] { ui::runCommand([this] { SupportLinkClick(); }); });
    connect(btnClose, &QPushButton::clicked, this, &QDialog::accept);

    // Creation: the two version texts.
    ProductName->setText(QStringLiteral("Tavrin Sound Recorder ") + versionText);
    Version->setText(versionText);
}

void AboutDialog::HomePageLinkClick()
{
    m_form.HomepageClick();
}

void AboutDialog::SupportLinkClick()
{
    ui::openUrl(QUrl(supportAddress));
}

void AboutDialog::showEvent(QShowEvent *event)
{
    if (!event->spontaneous() && !m_placed) {
        m_placed = true;
        layout()->activate();
        adjustSize();
        CentreOnOwner(this, &m_form);
    }
    QDialog::showEvent(event);
}

// ---- the main window's side ------------------------------------------------------------

void MainWindow::AboutClick()
{
    if (!AboutBox)
        AboutBox = new AboutDialog(*this);
    if (AboutBox->isVisible()) {
        AboutBox->raise();
        AboutBox->activateWindow();
        return;
    }
    AboutBox->exec();
}

void MainWindow::HelpContentsClick()
{
    // The manual's presence is not checked: a missing file is the desktop's to report.
    ui::openUrl(QUrl::fromLocalFile(Paths.helpFile));
}

void MainWindow::HomepageClick()
{
    ui::openUrl(QUrl(homePageAddress));
}
