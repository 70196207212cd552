#include "widgets/level_meter.h"

#include "widgets/paint_helpers.h"

#include <QPainter>
#include <QTimerEvent>

#include <algorithm>

namespace {
constexpr int TickMs = 30;
constexpr int SegmentWidth = 3;
constexpr int SegmentGap = 1;

QColor zoneColour(double level)
{
    if (level >= LevelMeter::RedFrom)
        return QColor(0xff, 0x3b, 0x30);
    if (level >= LevelMeter::YellowFrom)
        return QColor(0xff, 0xc8, 0x1e);
    return QColor(0x3c, 0xe0, 0x5a);
}
}  // namespace

LevelMeter::LevelMeter(QWidget *parent) : QWidget(parent)
{
}

QSize LevelMeter::sizeHint() const { return {153, 21}; }
QSize LevelMeter::minimumSizeHint() const { return {40, 6}; }

void LevelMeter::setValue(int level)
{
    level = std::clamp(level, 0, 100);
    if (level >= m_peak) {
        m_peak = level;
        m_holdLeftMs = PeakHoldMs;
    }
    m_value = level;
    updateTimer();
    update();
}

void LevelMeter::updateTimer()
{
    // The marker only needs the timer while it floats above the bar and someone can see it.
    const bool needed = isVisible() && m_peak > m_value;
    if (needed && !m_timer.isActive()) {
        m_clock.start();
        m_timer.start(TickMs, Qt::PreciseTimer, this);
    } else if (!needed && m_timer.isActive()) {
        m_timer.stop();
    }
}

void LevelMeter::timerEvent(QTimerEvent *event)
{
    if (event->timerId() != m_timer.timerId()) {
        QWidget::timerEvent(event);
        return;
    }
    const double dt = double(m_clock.restart());
    if (m_holdLeftMs > 0) {
        m_holdLeftMs -= dt;
        if (m_holdLeftMs < 0)
            m_peak -= PeakFallPerSecond * (-m_holdLeftMs) / 1000.0;
    } else {
        m_peak -= PeakFallPerSecond * dt / 1000.0;
    }
    if (m_peak <= m_value) {
        m_peak = m_value;
        m_holdLeftMs = 0;
    }
    updateTimer();
    update();
}

void LevelMeter::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    updateTimer();
}

void LevelMeter::hideEvent(QHideEvent *event)
{
    m_timer.stop();
    QWidget::hideEvent(event);
}

void LevelMeter::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const QRectF frame = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    paint::drawDisplayPanel(p, frame, palette(), 1.5);

    const QRect inner = rect().adjusted(2, 2, -2, -2);
    if (inner.width() < 4 || inner.height() < 2)
        return;
    const bool on = isEnabled();
    const int pitch = SegmentWidth + SegmentGap;
    const int count = std::max(1, (inner.width() + SegmentGap) / pitch);
    // Centre the segments in the inner width.
    const int x0 = inner.left() + (inner.width() - (count * pitch - SegmentGap)) / 2;
    const QColor bg = paint::displayBackground();

    for (int i = 0; i < count; ++i) {
        // Segment i stands for levels (i, i + 1] * 100 / count.
        const double top = (i + 1) * 100.0 / count;
        const double mid = (i + 0.5) * 100.0 / count;
        QColor c = zoneColour(mid);
        const bool lit = m_value > 0 && m_value >= top - 100.0 / count * 0.5;
        if (!lit)
            c = paint::blend(bg, c, 0.16);
        else if (!on)
            c = paint::blend(c, QColor(0x80, 0x80, 0x80), 0.7);
        const QRect seg(x0 + i * pitch, inner.top(), SegmentWidth, inner.height());
        if (lit) {
            QLinearGradient g(seg.topLeft(), seg.bottomLeft());
            g.setColorAt(0, c.lighter(135));
            g.setColorAt(0.5, c);
            g.setColorAt(1, c.darker(135));
            p.fillRect(seg, g);
        } else {
            p.fillRect(seg, c);
        }
    }

    if (m_peak > 0.5) {
        const int i = std::clamp(int((m_peak - 0.001) * count / 100.0), 0, count - 1);
        QColor c = zoneColour((i + 0.5) * 100.0 / count).lighter(125);
        if (!on)
            c = paint::blend(c, QColor(0x80, 0x80, 0x80), 0.7);
        p.fillRect(QRect(x0 + i * pitch, inner.top(), SegmentWidth, inner.height()), c);
        p.fillRect(QRect(x0 + i * pitch, inner.top(), SegmentWidth, 1), c.lighter(140));
    }
}
