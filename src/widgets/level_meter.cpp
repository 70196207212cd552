#include "widgets/level_meter.h"

#include "widgets/paint_helpers.h"

#include <QAccessible>
#include <QAccessibleValueInterface>
#include <QAccessibleWidget>
#include <QPainter>
#include <QTimerEvent>

#include <cmath>

#include <algorithm>

namespace {
constexpr int TickMs = 30;
constexpr int SegmentWidth = 3;
constexpr int SegmentGap = 1;


QColor zoneColour(double level, const QPalette &pal)
{
    if (level >= LevelMeter::RedFrom)
        return paint::levelOver(pal);
    if (level >= LevelMeter::YellowFrom)
        return paint::levelLoud(pal);
    return paint::levelGood(pal);
}

// What a screen reader finds: a progress bar from 0 to 100 holding the level, which only
// the sound sets.
class LevelMeterAccessible : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit LevelMeterAccessible(LevelMeter *meter) : QAccessibleWidget(meter, QAccessible::ProgressBar) {}

    LevelMeter *meter() const { return static_cast<LevelMeter *>(widget()); }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name) {
            const QString name = meter()->accessibleName();
            return name.isEmpty() ? LevelMeter::tr("Level") : name;
        }
        return QAccessibleWidget::text(t);
    }

    void *interface_cast(QAccessible::InterfaceType t) override
    {
        if (t == QAccessible::ValueInterface)
            return static_cast<QAccessibleValueInterface *>(this);
        return QAccessibleWidget::interface_cast(t);
    }

    QVariant currentValue() const override { return meter()->value(); }
    void setCurrentValue(const QVariant &) override {}
    QVariant maximumValue() const override { return 100; }
    QVariant minimumValue() const override { return 0; }
    QVariant minimumStepSize() const override { return 1; }
};

QAccessibleInterface *factory(const QString &className, QObject *object)
{
    if (className == QLatin1String(LevelMeter::staticMetaObject.className()) && object
        && object->isWidgetType()) {
        if (auto *meter = qobject_cast<LevelMeter *>(object))
            return new LevelMeterAccessible(meter);
    }
    return nullptr;
}
}  // namespace

LevelMeter::LevelMeter(QWidget *parent) : QWidget(parent)
{
    static const bool installed = (QAccessible::installFactory(factory), true);
    Q_UNUSED(installed);
}

QSize LevelMeter::sizeHint() const { return {153, 21}; }
QSize LevelMeter::minimumSizeHint() const { return {40, 6}; }

LevelMeter::Layout LevelMeter::layout() const
{
    Layout l;
    l.inner = rect().adjusted(2, 2, -2, -2);
    if (l.inner.width() < 4 || l.inner.height() < 2)
        return l;
    const int pitch = SegmentWidth + SegmentGap;
    l.count = std::max(1, (l.inner.width() + SegmentGap) / pitch);
    // Centre the segments in the inner width.
    l.x0 = l.inner.left() + (l.inner.width() - (l.count * pitch - SegmentGap)) / 2;
    return l;
}

int LevelMeter::litSegments(int value) const
{
    // Segment i stands for levels (i, i + 1] * 100 / count and lights from its middle on.
    const int count = layout().count;
    if (value <= 0 || count == 0)
        return 0;
    return std::clamp(int(std::floor(value * count / 100.0 + 0.5)), 0, count);
}

int LevelMeter::markerSegment(double peak) const
{
    const int count = layout().count;
    if (peak <= 0.5 || count == 0)
        return -1;
    return std::clamp(int((peak - 0.001) * count / 100.0), 0, count - 1);
}

void LevelMeter::repaintIfChanged(int oldLit, int oldMarker)
{
    // Only a change the eye can see costs a paint: the lit segments or the marker's place.
    if (litSegments(m_value) != oldLit || markerSegment(m_peak) != oldMarker)
        update();
}

void LevelMeter::setValue(int level)
{
    level = std::clamp(level, 0, 100);
    const int oldLit = litSegments(m_value);
    const int oldMarker = markerSegment(m_peak);
    if (level >= m_peak) {
        m_peak = level;
        m_holdLeftMs = PeakHoldMs;
    }
    const bool changed = level != m_value;
    m_value = level;
    updateTimer();
    repaintIfChanged(oldLit, oldMarker);
    if (changed)
        m_valueNotice.changed();
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
    const int oldLit = litSegments(m_value);
    const int oldMarker = markerSegment(m_peak);
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
    repaintIfChanged(oldLit, oldMarker);
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

void LevelMeter::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::EnabledChange || event->type() == QEvent::PaletteChange
        || event->type() == QEvent::StyleChange) {
        m_stripsValid = false;
        update();
    }
}

void LevelMeter::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    m_stripsValid = false;
}

void LevelMeter::prepareStrips()
{
    // On a screen with another pixel ratio (the window moved) the strips are made afresh.
    const qreal ratio = devicePixelRatioF();
    if (m_stripsValid && m_litStrip.devicePixelRatio() == ratio && m_darkStrip.devicePixelRatio() == ratio)
        return;
    m_stripsValid = true;
    for (bool lit : {false, true}) {
        QPixmap strip(size() * ratio);
        strip.setDevicePixelRatio(ratio);
        strip.fill(Qt::transparent);
        QPainter p(&strip);
        // The frame from the palette; the glass a display's dark one in a light window and
        // the palette's own in a dark one, the unlit segments a faint tint of it.
        const QPalette pal = palette();
        const QColor bg = paint::meterGlass(pal);
        paint::drawSunkenPanel(p, QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), pal, bg, 1.5);
        const Layout l = layout();
        const bool on = isEnabled();
        const int pitch = SegmentWidth + SegmentGap;
        for (int i = 0; i < l.count; ++i) {
            QColor c = zoneColour((i + 0.5) * 100.0 / l.count, pal);
            const QRect seg(l.x0 + i * pitch, l.inner.top(), SegmentWidth, l.inner.height());
            if (!lit) {
                p.fillRect(seg, paint::blend(bg, c, 0.16));
                continue;
            }
            if (!on)
                c = paint::blend(c, QColor(0x80, 0x80, 0x80), 0.7);
            QLinearGradient g(seg.topLeft(), seg.bottomLeft());
            g.setColorAt(0, c.lighter(135));
            g.setColorAt(0.5, c);
            g.setColorAt(1, c.darker(135));
            p.fillRect(seg, g);
        }
        (lit ? m_litStrip : m_darkStrip) = strip;
    }
}

void LevelMeter::paintEvent(QPaintEvent *)
{
    prepareStrips();
    QPainter p(this);
    const Layout l = layout();
    const int pitch = SegmentWidth + SegmentGap;
    const int lit = litSegments(m_value);
    // The lit segments from one strip, the rest (and the panel) from the other.
    const int split = lit == 0 ? 0 : l.x0 + lit * pitch - SegmentGap;
    const qreal ratio = m_litStrip.devicePixelRatio();
    const auto copy = [&](const QPixmap &from, const QRect &part) {
        if (part.width() > 0)
            p.drawPixmap(part, from, QRectF(part.topLeft() * ratio, part.size() * ratio));
    };
    copy(m_litStrip, QRect(0, 0, split, height()));
    copy(m_darkStrip, QRect(split, 0, width() - split, height()));

    const int marker = markerSegment(m_peak);
    if (marker >= 0) {
        QColor c = zoneColour((marker + 0.5) * 100.0 / l.count, palette()).lighter(125);
        if (!isEnabled())
            c = paint::blend(c, QColor(0x80, 0x80, 0x80), 0.7);
        p.fillRect(QRect(l.x0 + marker * pitch, l.inner.top(), SegmentWidth, l.inner.height()), c);
        p.fillRect(QRect(l.x0 + marker * pitch, l.inner.top(), SegmentWidth, 1), c.lighter(140));
    }
}
