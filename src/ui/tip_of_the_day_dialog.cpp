#include "ui/tip_of_the_day_dialog.h"

#include "ui/ui_services.h"
#include "ui/window_placement.h"
#include "session/program_settings.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QTimer>
#include <QUtf8StringView>
#include <QVBoxLayout>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {


// The next non-empty line from the read position, without its line end; false at the end
// of the file (a read error ends it too).
bool readTipLine(QFile &file, QByteArray *line)
{
    while (!file.atEnd()) {
        const bool first = file.pos() == 0;
        QByteArray l = file.readLine();
        if (l.isEmpty())
            return false;
        if (l.endsWith('\n'))
            l.chop(1);
        if (l.endsWith('\r'))
            l.chop(1);
        if (first && l.startsWith("\xEF\xBB\xBF"))
            l.remove(0, 3);
        if (!l.isEmpty()) {
            *line = l;
            return true;
        }
    }
    return false;
}

}  // namespace

int TipsReader::count()
{
    if (!m_file.seek(0))
        return 0;
    int n = 0;
    QByteArray line;
    while (readTipLine(m_file, &line))
        ++n;
    return n;
}

TipLookup TipsReader::tip(int n)
{
    TipLookup result;
    if (n < 1 || !m_file.seek(0))
        return result;
    QByteArray line;
    for (int seen = 0; readTipLine(m_file, &line);) {
        if (++seen < n)
            continue;
        result.found = true;
        // 8-bit text: UTF-8 where it is valid, Latin-1 otherwise.
        result.text = QUtf8StringView(line).isValidUtf8() ? QString::fromUtf8(line) : QString::fromLatin1(line);
        break;
    }
    return result;
}

QString fileOpenErrorText(int error)
{
    switch (error) {
    case ENOENT:
        return QCoreApplication::translate("TipOfTheDayDialog", "File not found");
    case ENOTDIR:
    case ELOOP:
        return QCoreApplication::translate("TipOfTheDayDialog", "Path not found");
    case EACCES:
    case EPERM:
    case EISDIR:
        return QCoreApplication::translate("TipOfTheDayDialog", "Access denied");
    case EMFILE:
    case ENFILE:
        return QCoreApplication::translate("TipOfTheDayDialog", "Too many open files");
    case ENAMETOOLONG:
        return QCoreApplication::translate("TipOfTheDayDialog", "Invalid filename");
    default:
        return QString::fromLocal8Bit(std::strerror(error));
    }
}

TipOfTheDayDialog::TipOfTheDayDialog(ProgramSettings &settings, const QString &tipsPath, QWidget *parent)
    : QDialog(parent), m_settings(settings), m_tipsPath(tipsPath)
{
    setObjectName(QStringLiteral("tipOfTheDayDialog"));
    setAttribute(Qt::WA_DeleteOnClose);
    // An ordinary sizeable window with minimise and maximise boxes, not a dialog frame.
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint
                   | Qt::WindowCloseButtonHint);
    setWindowTitle(tr("Tip of the Day"));
    setSizeGripEnabled(false);

    m_bevel = new QFrame(this);
    m_bevel->setObjectName(QStringLiteral("bevel"));
    m_bevel->setFrameShape(QFrame::WinPanel);
    m_bevel->setFrameShadow(QFrame::Sunken);

    m_panel = new QWidget(m_bevel);
    m_panel->setObjectName(QStringLiteral("panel"));
    m_panel->setAutoFillBackground(true);
    QPalette white = m_panel->palette();
    white.setColor(QPalette::Window, Qt::white);
    white.setColor(QPalette::Base, Qt::white);
    white.setColor(QPalette::WindowText, Qt::black);
    white.setColor(QPalette::Text, Qt::black);
    m_panel->setPalette(white);

    m_bulb = new QLabel(m_panel);
    m_bulb->setObjectName(QStringLiteral("bulb"));
    m_bulb->setPixmap(QIcon(QStringLiteral(":/icons/tip.svg")).pixmap(QSize(40, 40), devicePixelRatioF()));
    m_bulb->setFixedSize(40, 40);
    m_bulb->setAlignment(Qt::AlignCenter);

    m_heading = new QLabel(tr("Did you know..."), m_panel);
    m_heading->setObjectName(QStringLiteral("headingLabel"));
    QFont heading = m_heading->font();
    heading.setPixelSize(16);
    heading.setBold(true);
    m_heading->setFont(heading);

    m_tipText = new QPlainTextEdit(m_panel);
    m_tipText->setObjectName(QStringLiteral("tipText"));
    m_tipText->setReadOnly(true);
    m_tipText->setFrameShape(QFrame::NoFrame);
    m_tipText->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    m_tipText->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    m_tipText->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_tipText->setFocusPolicy(Qt::ClickFocus);
    m_tipText->setPalette(white);
    m_tipText->setBackgroundVisible(false);
    m_tipText->document()->setDocumentMargin(0);
    // The heading names the tip for a screen reader.
    m_heading->setBuddy(m_tipText);

    auto *panelLayout = new QGridLayout(m_panel);
    panelLayout->setContentsMargins(10, 10, 12, 10);
    panelLayout->setHorizontalSpacing(10);
    panelLayout->setVerticalSpacing(8);
    panelLayout->addWidget(m_bulb, 0, 0, Qt::AlignLeft | Qt::AlignTop);
    panelLayout->addWidget(m_heading, 0, 1, Qt::AlignLeft | Qt::AlignVCenter);
    panelLayout->addWidget(m_tipText, 1, 1);
    panelLayout->setColumnStretch(1, 1);
    panelLayout->setRowStretch(1, 1);

    auto *bevelLayout = new QVBoxLayout(m_bevel);
    bevelLayout->setContentsMargins(0, 0, 0, 0);
    bevelLayout->addWidget(m_panel);

    m_showTips = new QCheckBox(tr("Show Tips on Startup"), this);
    m_showTips->setObjectName(QStringLiteral("showTipsBox"));
    m_showTips->setChecked(true);
    m_nextButton = new QPushButton(tr("Next Tip"), this);
    m_nextButton->setObjectName(QStringLiteral("nextTipButton"));
    m_closeButton = new QPushButton(tr("Close"), this);
    m_closeButton->setObjectName(QStringLiteral("closeButton"));
    m_closeButton->setDefault(true);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_showTips);
    buttons->addStretch(1);
    buttons->addWidget(m_nextButton);
    buttons->addWidget(m_closeButton);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->setSpacing(8);
    layout->addWidget(m_bevel, 1);
    layout->addLayout(buttons);

    connect(m_nextButton, &QPushButton::clicked, this, [this] { ui::runCommand([this] { showNextTip(); }); });
    connect(m_closeButton, &QPushButton::clicked, this, [this] { ui::runCommand([this] { storeAndClose(); }); });

    resize(OuterSize);

    // Creation.
    // A negative number names no tip; it counts as 0, so the first tip follows.
    m_currentTip = std::max(0, m_settings.tipNumber());
    m_showTips->setChecked(m_settings.showsTips());

    if (!openTips())
        return;
    TipsReader reader(m_tips);
    m_tipCount = reader.count();
    // No tips at all: nothing to wrap into or show; the text area stays empty and m_currentTip
    // keeps the stored number.
    if (m_tipCount == 0)
        return;
    if (m_currentTip >= m_tipCount)
        m_currentTip = m_currentTip % m_tipCount;
    const TipLookup next = reader.tip(m_currentTip + 1);
    if (next.found) {
        m_currentTip = m_currentTip + 1;
        showTip(next.text);
    }
}

TipOfTheDayDialog::~TipOfTheDayDialog() = default;

bool TipOfTheDayDialog::openTips()
{
    if (m_tips.isOpen())
        return true;
    // Opened by hand to learn the system's reason for a refusal.
    const QByteArray path = QFile::encodeName(m_tipsPath);
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
    int error = fd < 0 ? errno : 0;
    if (fd >= 0) {
        struct stat st {};
        if (::fstat(fd, &st) != 0)
            error = errno;
        else if (S_ISDIR(st.st_mode))
            error = EISDIR;
        if (error != 0)
            ::close(fd);
    }
    if (error != 0) {
        ui::errorBox(fileOpenErrorText(error));
        return false;
    }
    if (!m_tips.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        ui::errorBox(m_tips.errorString());
        return false;
    }
    return true;
}

void TipOfTheDayDialog::showTip(const QString &text)
{
    m_tipText->clear();
    m_tipText->setPlainText(text);
}

void TipOfTheDayDialog::showNextTip()
{
    // Stepping through no tips changes nothing; a file that failed to open is tried again.
    if (m_tipCount <= 0) {
        openTips();
        return;
    }
    m_currentTip = m_currentTip == m_tipCount ? 1 : m_currentTip + 1;
    if (!openTips())
        return;
    const TipLookup tip = TipsReader(m_tips).tip(m_currentTip);
    if (tip.found)
        showTip(tip.text);
}

void TipOfTheDayDialog::storeAndClose()
{
    m_settings.storeTips(m_currentTip, m_showTips->isChecked());
    accept();
}

void TipOfTheDayDialog::showEvent(QShowEvent *event)
{
    if (!event->spontaneous() && !m_placed) {
        m_placed = true;
        // The outer size counts the title bar and border.
        resize(OuterSize.shrunkBy(windowFrameMargins(this, parentWidget())).expandedTo(minimumSizeHint()));
        centreOnOwner(this, parentWidget());
    }
    QDialog::showEvent(event);
}
