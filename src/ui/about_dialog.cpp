#include "ui/about_dialog.h"

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

AboutDialog::AboutDialog(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("aboutDialog"));
    setAttribute(Qt::WA_DeleteOnClose);
    // A dialog frame with only a close box, above every other window while it is open.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint
                   | Qt::WindowStaysOnTopHint);
    setWindowTitle(tr("About"));

    // Top band: the program's picture and its name with the version, on the window colour of
    // text fields so that it stands apart from the rows below.
    m_topBand = new QWidget(this);
    m_topBand->setObjectName(QStringLiteral("topBand"));
    m_topBand->setFixedHeight(TopBandHeight);
    m_topBand->setAutoFillBackground(true);
    m_topBand->setBackgroundRole(QPalette::Base);
    m_icon = new QLabel(m_topBand);
    m_icon->setObjectName(QStringLiteral("programIcon"));
    m_icon->setFixedSize(34, 33);
    m_icon->setPixmap(QIcon(QStringLiteral(":/icons/tavrin-sound-recorder.svg")).pixmap(QSize(33, 33), devicePixelRatioF()));
    m_icon->setAlignment(Qt::AlignCenter);
    m_productName = new QLabel(m_topBand);
    m_productName->setObjectName(QStringLiteral("productName"));
    m_productName->setTextFormat(Qt::PlainText);
    m_productName->setForegroundRole(QPalette::Text);
    QFont title = m_productName->font();
    title.setBold(true);
    title.setPointSizeF(title.pointSizeF() * 1.35);
    m_productName->setFont(title);
    auto *top = new QHBoxLayout(m_topBand);
    top->setContentsMargins(16, 0, 16, 0);
    top->setSpacing(14);
    top->addWidget(m_icon, 0, Qt::AlignVCenter);
    top->addWidget(m_productName, 1, Qt::AlignVCenter);

    // Middle: three rows of label and value.
    const auto rowLabel = [this](const QString &text, const char *name) {
        auto *l = new QLabel(text, this);
        l->setObjectName(QString::fromLatin1(name));
        l->setTextFormat(Qt::PlainText);
        return l;
    };
    m_versionLabel = rowLabel(tr("Version"), "versionLabel");
    m_version = rowLabel(QString(), "Version");
    m_homePageLabel = rowLabel(tr("HomePage"), "homePageLabel");
    m_homePageLink = new LinkLabel(homePageAddress, QUrl(homePageAddress), this);
    m_homePageLink->setObjectName(QStringLiteral("homePageLink"));
    m_supportLabel = rowLabel(tr("Technology Support", "row caption"), "supportLabel");
    m_supportLink = new LinkLabel(tr("Technology Support", "link to the support mailbox"), QUrl(supportAddress), this);
    m_supportLink->setObjectName(QStringLiteral("supportLink"));
    auto *rows = new QGridLayout;
    rows->setContentsMargins(24, 26, 24, 26);
    rows->setHorizontalSpacing(24);
    rows->setVerticalSpacing(18);
    rows->addWidget(m_versionLabel, 0, 0);
    rows->addWidget(m_version, 0, 1);
    rows->addWidget(m_homePageLabel, 1, 0);
    rows->addWidget(m_homePageLink, 1, 1, Qt::AlignLeft);
    rows->addWidget(m_supportLabel, 2, 0);
    rows->addWidget(m_supportLink, 2, 1, Qt::AlignLeft);
    rows->setColumnStretch(1, 1);

    // Bottom band: the notice and "Close".
    m_bottomBand = new QWidget(this);
    m_bottomBand->setObjectName(QStringLiteral("bottomBand"));
    m_bottomBand->setFixedHeight(BottomBandHeight);
    m_notice = new QLabel(tr("Made with Qt, FFmpeg, TagLib and PulseAudio."), m_bottomBand);
    m_notice->setObjectName(QStringLiteral("notice"));
    m_notice->setTextFormat(Qt::PlainText);
    m_notice->setForegroundRole(QPalette::PlaceholderText);
    m_closeButton = new QPushButton(tr("Close"), m_bottomBand);
    m_closeButton->setObjectName(QStringLiteral("closeButton"));
    m_closeButton->setDefault(true);
    m_closeButton->setMinimumWidth(75);
    auto *bottom = new QHBoxLayout(m_bottomBand);
    bottom->setContentsMargins(16, 0, 12, 0);
    bottom->addWidget(m_notice, 1, Qt::AlignVCenter);
    bottom->addWidget(m_closeButton, 0, Qt::AlignVCenter);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_topBand);
    layout->addWidget(separator(this));
    layout->addLayout(rows, 1);
    layout->addWidget(separator(this));
    layout->addWidget(m_bottomBand);
    // The box takes the size its contents ask for, at least the designed width.
    layout->setSizeConstraint(QLayout::SetFixedSize);
    m_topBand->setMinimumWidth(ClientWidth);

    // Tab goes down the rows' links to Close; the dialog opens with Close in focus, so Enter
    // closes it as before.
    setTabOrder(m_homePageLink, m_supportLink);
    setTabOrder(m_supportLink, m_closeButton);
    m_closeButton->setFocus();

    connect(m_homePageLink, &LinkLabel::clicked, this, [this] { ui::runCommand([this] { openHomePage(); }); });
    connect(m_supportLink, &LinkLabel::clicked, this, [this] { ui::runCommand([this] { writeToSupport(); }); });
    connect(m_closeButton, &QPushButton::clicked, this, &QDialog::accept);

    // Creation: the two version texts.
    m_productName->setText(QStringLiteral("Tavrin Sound Recorder ") + versionText);
    m_version->setText(versionText);
}

void AboutDialog::openHomePage()
{
    ui::openUrl(QUrl(homePageAddress));
}

void AboutDialog::writeToSupport()
{
    ui::openUrl(QUrl(supportAddress));
}

void AboutDialog::showEvent(QShowEvent *event)
{
    if (!event->spontaneous() && !m_placed) {
        m_placed = true;
        layout()->activate();
        adjustSize();
        centreOnOwner(this, parentWidget());
    }
    QDialog::showEvent(event);
}
