#include "ui/tray_indicator.h"

#include "session/recorder_core.h"

#include <QAction>
#include <QEvent>
#include <QFileInfo>
#include <QLinearGradient>
#include <QMenu>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QWidget>

#include <algorithm>

namespace {

// The icon follows the core's one word for what runs.
TrayIndicator::State stateOf(const QString &stateName)
{
    using S = TrayIndicator::State;
    if (stateName == QLatin1String("Recording"))
        return S::Recording;
    if (stateName == QLatin1String("Paused"))
        return S::Paused;
    if (stateName == QLatin1String("WaitingForSound") || stateName == QLatin1String("WaitingForDevice")
        || stateName == QLatin1String("Scheduled"))
        return S::Waiting;
    if (stateName == QLatin1String("Playing"))
        return S::Playing;
    return S::Idle;   // stopped, or only listening to the input
}

// Hours, minutes and seconds, as the time display shows them: "00:12:05".
QString clockText(qint64 ms)
{
    const qint64 s = std::max<qint64>(ms, 0) / 1000;
    return QStringLiteral("%1:%2:%3")
        .arg(s / 3600, 2, 10, QLatin1Char('0'))
        .arg(s / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(s % 60, 2, 10, QLatin1Char('0'));
}

QPixmap paintedIcon(TrayIndicator::State state, int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = size;
    const qreal rim = std::max<qreal>(1.0, s / 20);

    // The program's dark tile: its light rim sets it off on a dark panel, its body on a light one.
    QLinearGradient body(0, 0, 0, s);
    body.setColorAt(0, QColor(0x3b, 0x4a, 0x5e));
    body.setColorAt(1, QColor(0x1b, 0x24, 0x30));
    p.setPen(QPen(QColor(255, 255, 255, 190), rim));
    p.setBrush(body);
    const QRectF tile = QRectF(0, 0, s, s).adjusted(rim / 2, rim / 2, -rim / 2, -rim / 2);
    p.drawRoundedRect(tile, s * 0.22, s * 0.22);

    const QPointF centre(s / 2, s / 2);
    switch (state) {
    case TrayIndicator::State::Idle: {
        // The program's level bars, at rest.
        p.setPen(QPen(QColor(0x57, 0xd6, 0x8d), std::max<qreal>(1.5, s * 0.1), Qt::SolidLine, Qt::RoundCap));
        const qreal heights[4] = {0.18, 0.42, 0.56, 0.3};
        for (int i = 0; i < 4; ++i) {
            const qreal x = s * (0.26 + 0.16 * i);
            p.drawLine(QPointF(x, s / 2 - s * heights[i] / 2), QPointF(x, s / 2 + s * heights[i] / 2));
        }
        break;
    }
    case TrayIndicator::State::Recording:
        // A large red dot in a white ring.
        p.setPen(QPen(Qt::white, std::max<qreal>(1.0, s / 16)));
        p.setBrush(QColor(0xe5, 0x32, 0x2d));
        p.drawEllipse(centre, s * 0.3, s * 0.3);
        break;
    case TrayIndicator::State::Paused: {
        // Two amber bars.
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0xf5, 0xc2, 0x11));
        const qreal w = s * 0.17, h = s * 0.54;
        p.drawRoundedRect(QRectF(s * 0.29, (s - h) / 2, w, h), w * 0.2, w * 0.2);
        p.drawRoundedRect(QRectF(s * 0.71 - w, (s - h) / 2, w, h), w * 0.2, w * 0.2);
        break;
    }
    case TrayIndicator::State::Waiting: {
        // A clock face: the run waits for sound, for its device or for its hour.
        const qreal r = s * 0.3;
        p.setPen(QPen(QColor(0xf5, 0xc2, 0x11), std::max<qreal>(1.2, s * 0.09)));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(centre, r, r);
        p.setPen(QPen(Qt::white, std::max<qreal>(1.2, s * 0.08), Qt::SolidLine, Qt::RoundCap));
        p.drawLine(centre, centre + QPointF(0, -r * 0.65));
        p.drawLine(centre, centre + QPointF(r * 0.5, 0));
        break;
    }
    case TrayIndicator::State::Playing: {
        // A green triangle.
        QPainterPath triangle;
        triangle.moveTo(s * 0.34, s * 0.24);
        triangle.lineTo(s * 0.76, s * 0.5);
        triangle.lineTo(s * 0.34, s * 0.76);
        triangle.closeSubpath();
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x57, 0xd6, 0x8d));
        p.drawPath(triangle);
        break;
    }
    }
    return pixmap;
}

}  // namespace

QIcon TrayIndicator::iconFor(State state)
{
    QIcon icon;
    for (int size : {16, 22, 24, 32, 48, 64})
        icon.addPixmap(paintedIcon(state, size));
    return icon;
}

TrayIndicator::TrayIndicator(RecorderCore &core, QWidget &window, const QList<QAction *> &commands, QObject *parent)
    : QObject(parent),
      m_core(core),
      m_window(window),
      m_menu(std::make_unique<QMenu>()),
      m_tray(std::make_unique<QSystemTrayIcon>())
{
    m_menu->setObjectName(QStringLiteral("trayMenu"));
    m_menu->addActions(commands);
    m_menu->addSeparator();
    m_showHide = m_menu->addAction(QString());
    m_showHide->setObjectName(QStringLiteral("trayShowHideAction"));
    m_menu->addSeparator();
    m_quit = m_menu->addAction(tr("&Quit"));
    m_quit->setObjectName(QStringLiteral("trayQuitAction"));
    connect(m_showHide, &QAction::triggered, this, &TrayIndicator::toggleWindow);
    connect(m_quit, &QAction::triggered, this, &TrayIndicator::quitRequested);
    // Shown again each time it opens: the window may have been hidden another way.
    connect(m_menu.get(), &QMenu::aboutToShow, this, &TrayIndicator::showWindowText);
    m_tray->setContextMenu(m_menu.get());
    connect(m_tray.get(), &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        if (reason == QSystemTrayIcon::Trigger)
            toggleWindow();
    });

    m_clock = new QTimer(this);
    m_clock->setObjectName(QStringLiteral("trayClock"));
    m_clock->setInterval(1000);
    connect(m_clock, &QTimer::timeout, this, &TrayIndicator::showToolTip);
    connect(&m_core, &RecorderCore::statusChanged, this, &TrayIndicator::showStatus);
    m_window.installEventFilter(this);
    showWindowText();
    showStatus();

    // Asked once: without a tray now, the icon would only warn of its missing home.
    m_available = QSystemTrayIcon::isSystemTrayAvailable();
    if (m_available)
        m_tray->show();
}

TrayIndicator::~TrayIndicator()
{
    m_window.removeEventFilter(this);
}

bool TrayIndicator::isPresent() const
{
    // The desktop's tray may have gone since start-up (a panel that was ended).
    return m_tray->isVisible() && QSystemTrayIcon::isSystemTrayAvailable();
}

bool TrayIndicator::isVisible() const
{
    return m_tray->isVisible();
}

void TrayIndicator::setVisible(bool visible)
{
    m_tray->setVisible(visible && m_available);
}

QString TrayIndicator::toolTip() const
{
    return m_tray->toolTip();
}

QIcon TrayIndicator::icon() const
{
    return m_tray->icon();
}

void TrayIndicator::toggleWindow()
{
    if (m_window.isVisible() && !m_window.isMinimized()) {
        m_window.hide();
        return;
    }
    m_window.setWindowState(m_window.windowState() & ~Qt::WindowMinimized);
    m_window.show();
    m_window.raise();
    m_window.activateWindow();
}

bool TrayIndicator::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == &m_window
        && (event->type() == QEvent::Show || event->type() == QEvent::Hide
            || event->type() == QEvent::WindowStateChange))
        showWindowText();
    return QObject::eventFilter(watched, event);
}

void TrayIndicator::showStatus()
{
    const State state = stateOf(m_core.stateName());
    if (!m_stateShown || state != m_state) {
        m_state = state;
        m_stateShown = true;
        m_tray->setIcon(iconFor(state));
    }
    // The time goes on once a second while a run or a playback exists (a scheduled run
    // counts down).
    const bool running = m_core.recording().isActive() || m_core.playback().isActive();
    if (running && !m_clock->isActive())
        m_clock->start();
    else if (!running)
        m_clock->stop();
    showToolTip();
}

void TrayIndicator::showToolTip()
{
    // "Recording...  00:12:05", then the file's name.
    const RecorderCore::TransportStatus status = m_core.transportStatus();
    QString text = status.text;
    if (m_core.recordingOwnsDisplay() || m_core.playback().isActive())
        text += QStringLiteral("  ") + clockText(m_core.elapsedMs());
    const QString file = QFileInfo(m_core.currentFile()).fileName();
    if (!file.isEmpty())
        text += QLatin1Char('\n') + file;
    if (text != m_tray->toolTip())
        m_tray->setToolTip(text);
}

void TrayIndicator::showWindowText()
{
    const bool shown = m_window.isVisible() && !m_window.isMinimized();
    m_showHide->setText(shown ? tr("&Hide Window") : tr("&Show Window"));
}
