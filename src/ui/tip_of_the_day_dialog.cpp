#include "ui/tip_of_the_day_dialog.h"

#include "ui/main_window.h"
#include "ui/ui_services.h"
#include "ui/window_placement.h"
#include "session/ini_file.h"

#include <QCheckBox>
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

const QString kTipsSection = QStringLiteral("tips");
const QString kTipNoKey = QStringLiteral("tipno");
const QString kShowTipKey = QStringLiteral("showtip");

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
        return QStringLiteral("File not found");
    case ENOTDIR:
    case ELOOP:
        return QStringLiteral("Path not found");
    case EACCES:
    case EPERM:
    case EISDIR:
        return QStringLiteral("Access denied");
    case EMFILE:
    case ENFILE:
        return QStringLiteral("Too many open files");
    case ENAMETOOLONG:
        return QStringLiteral("Invalid filename");
    default:
        return QString::fromLocal8Bit(std::strerror(error));
    }
}

TipOfTheDayDialog::TipOfTheDayDialog(MainWindow &form) : QDialog(&form), m_form(form)
{
    setObjectName(QStringLiteral("TipForm"));
    setAttribute(Qt::WA_DeleteOnClose);
    // An ordinary sizeable window with minimise and maximise boxes, not a dialog frame.
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint
                   | Qt::WindowCloseButtonHint);
    setWindowTitle(QStringLiteral("Tip of the Day"));
    setSizeGripEnabled(false);

    Bevel1 = new QFrame(this);
    Bevel1->setObjectName(QStringLiteral("Bevel1"));
    Bevel1->setFrameShape(QFrame::WinPanel);
    Bevel1->setFrameShadow(QFrame::Sunken);

    Panel1 = new QWidget(Bevel1);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setAutoFillBackground(true);
    QPalette white = Panel1->palette();
    white.setColor(QPalette::Window, Qt::white);
    white.setColor(QPalette::Base, Qt::white);
    white.setColor(QPalette::WindowText, Qt::black);
    white.setColor(QPalette::Text, Qt::black);
    Panel1->setPalette(white);

    Image1 = new QLabel(Panel1);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setPixmap(QIcon(QStringLiteral(":/icons/tip.svg")).pixmap(QSize(40, 40), devicePixelRatioF()));
    Image1->setFixedSize(40, 40);
    Image1->setAlignment(Qt::AlignCenter);

    Label1 = new QLabel(QStringLiteral("Did you know..."), Panel1);
    Label1->setObjectName(QStringLiteral("Label1"));
    QFont heading = Label1->font();
    heading.setPixelSize(16);
    heading.setBold(true);
    Label1->setFont(heading);

    TipText = new QPlainTextEdit(Panel1);
    TipText->setObjectName(QStringLiteral("TipText"));
    TipText->setReadOnly(true);
    TipText->setFrameShape(QFrame::NoFrame);
    TipText->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    TipText->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    TipText->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    TipText->setFocusPolicy(Qt::ClickFocus);
    TipText->setPalette(white);
    TipText->setBackgroundVisible(false);
    TipText->document()->setDocumentMargin(0);

    auto *panelLayout = new QGridLayout(Panel1);
    panelLayout->setContentsMargins(10, 10, 12, 10);
    panelLayout->setHorizontalSpacing(10);
    panelLayout->setVerticalSpacing(8);
    panelLayout->addWidget(Image1, 0, 0, Qt::AlignLeft | Qt::AlignTop);
    panelLayout->addWidget(Label1, 0, 1, Qt::AlignLeft | Qt::AlignVCenter);
    panelLayout->addWidget(TipText, 1, 1);
    panelLayout->setColumnStretch(1, 1);
    panelLayout->setRowStretch(1, 1);

    auto *bevelLayout = new QVBoxLayout(Bevel1);
    bevelLayout->setContentsMargins(0, 0, 0, 0);
    bevelLayout->addWidget(Panel1);

    cbShowTips = new QCheckBox(QStringLiteral("Show Tips on Startup"), this);
    cbShowTips->setObjectName(QStringLiteral("cbShowTips"));
    cbShowTips->setChecked(true);
    btnNextTip = new QPushButton(QStringLiteral("Next Tip"), this);
    btnNextTip->setObjectName(QStringLiteral("btnNextTip"));
    btnClose = new QPushButton(QStringLiteral("Close"), this);
    btnClose->setObjectName(QStringLiteral("btnClose"));
    btnClose->setDefault(true);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(cbShowTips);
    buttons->addStretch(1);
    buttons->addWidget(btnNextTip);
    buttons->addWidget(btnClose);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->setSpacing(8);
    layout->addWidget(Bevel1, 1);
    layout->addLayout(buttons);

    connect(btnNextTip, &QPushButton::clicked, this, [this] { ui::runCommand([this] { btnNextTipClick(); }); });
    connect(btnClose, &QPushButton::clicked, this, [this] { ui::runCommand([this] { btnCloseClick(); }); });

    resize(OuterSize);

    // Creation.
    const IniFile ini = m_form.settingsFile();
    // A negative number names no tip; it counts as 0, so the first tip follows.
    CurrentTip = std::max(0, ini.readInteger(kTipsSection, kTipNoKey, 1));
    cbShowTips->setChecked(ini.readInteger(kTipsSection, kShowTipKey, 1) == 1);

    if (!openTips())
        return;
    TipsReader reader(m_tips);
    TipCount = reader.count();
    // No tips at all: nothing to wrap into or show; the text area stays empty and CurrentTip
    // keeps the stored number.
    if (TipCount == 0)
        return;
    if (CurrentTip >= TipCount)
        CurrentTip = CurrentTip % TipCount;
    const TipLookup next = reader.tip(CurrentTip + 1);
    if (next.found) {
        CurrentTip = CurrentTip + 1;
        showTip(next.text);
    }
}

TipOfTheDayDialog::~TipOfTheDayDialog() = default;

bool TipOfTheDayDialog::openTips()
{
    if (m_tips.isOpen())
        return true;
    // Opened by hand to learn the system's reason for a refusal.
    const QByteArray path = QFile::encodeName(m_form.Paths.tipsFile);
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
    TipText->clear();
    TipText->setPlainText(text);
}

void TipOfTheDayDialog::btnNextTipClick()
{
    // Stepping through no tips changes nothing; a file that failed to open is tried again.
    if (TipCount <= 0) {
        openTips();
        return;
    }
    CurrentTip = CurrentTip == TipCount ? 1 : CurrentTip + 1;
    if (!openTips())
        return;
    const TipLookup tip = TipsReader(m_tips).tip(CurrentTip);
    if (tip.found)
        showTip(tip.text);
}

void TipOfTheDayDialog::btnCloseClick()
{
    IniFile ini = m_form.settingsFile();
    ini.write({{kTipsSection, kTipNoKey, CurrentTip},
               {kTipsSection, kShowTipKey, cbShowTips->isChecked() ? 1 : 0}});
    accept();
}

void TipOfTheDayDialog::showEvent(QShowEvent *event)
{
    if (!event->spontaneous() && !m_placed) {
        m_placed = true;
        // The outer size counts the title bar and border.
        resize(OuterSize.shrunkBy(WindowFrameMargins(this, &m_form)).expandedTo(minimumSizeHint()));
        CentreOnOwner(this, &m_form);
    }
    QDialog::showEvent(event);
}

// ---- the main window's side ------------------------------------------------------------

void MainWindow::TimerTipTimer()
{
    TimerTip->stop();
    if (settingsFile().readInteger(QStringLiteral("tips"), QStringLiteral("showtip"), 1) == 1)
        TipOfTheDayClick();
}

void MainWindow::TipOfTheDayClick()
{
    if (!TipForm)
        TipForm = new TipOfTheDayDialog(*this);
    if (TipForm->isVisible()) {
        TipForm->raise();
        TipForm->activateWindow();
        return;
    }
    TipForm->exec();
}
