#include "widgets/time_display.h"

#include "widgets/paint_helpers.h"

#include <QAccessible>
#include <QAccessibleTextInterface>
#include <QAccessibleWidget>
#include <QEvent>
#include <QPainter>
#include <QPainterPath>
#include <QTransform>

#include <algorithm>

namespace {

constexpr int MaxHours = 999;

// Segments a..g of a seven-segment figure, lit per digit (bit 0 = a).
constexpr unsigned char SegmentMask[10] = {0x3f, 0x06, 0x5b, 0x4f, 0x66, 0x6d, 0x7d, 0x07, 0x7f, 0x6f};

// One figure in cell r: lit segments in `on`, the rest in `off`.
void drawFigure(QPainter &p, const QRectF &r, int digit, const QColor &on, const QColor &off)
{
    const double w = r.width(), h = r.height();
    const double t = std::max(1.2, w * 0.2);   // segment thickness
    const double g = t * 0.12;                 // gap between neighbouring segments
    const double x0 = r.left(), x1 = r.right(), y0 = r.top(), y1 = r.bottom();
    const double ym = r.top() + h / 2;
    auto horizontal = [&](double y) {
        QPolygonF poly;
        poly << QPointF(x0 + g + t / 2, y) << QPointF(x0 + g + t, y - t / 2) << QPointF(x1 - g - t, y - t / 2)
             << QPointF(x1 - g - t / 2, y) << QPointF(x1 - g - t, y + t / 2) << QPointF(x0 + g + t, y + t / 2);
        return poly;
    };
    auto vertical = [&](double x, double ya, double yb) {
        QPolygonF poly;
        poly << QPointF(x, ya + g + t / 2) << QPointF(x + t / 2, ya + g + t) << QPointF(x + t / 2, yb - g - t)
             << QPointF(x, yb - g - t / 2) << QPointF(x - t / 2, yb - g - t) << QPointF(x - t / 2, ya + g + t);
        return poly;
    };
    const double yt = y0 + t / 2, yb = y1 - t / 2, xl = x0 + t / 2, xr = x1 - t / 2;
    const QPolygonF segs[7] = {horizontal(yt),         vertical(xr, yt, ym), vertical(xr, ym, yb),
                               horizontal(yb),         vertical(xl, ym, yb), vertical(xl, yt, ym),
                               horizontal(ym)};
    const unsigned mask = digit >= 0 && digit <= 9 ? SegmentMask[digit] : 0;
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 7; ++i) {
        p.setBrush((mask >> i) & 1 ? on : off);
        p.drawPolygon(segs[i]);
    }
}

// What a screen reader finds: a static text named "Time Elapsed" whose text is the time as
// the display shows it.
class TimeDisplayAccessible : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit TimeDisplayAccessible(TimeDisplay *display)
        : QAccessibleWidget(display, QAccessible::StaticText)
    {
    }

    TimeDisplay *display() const { return static_cast<TimeDisplay *>(widget()); }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name) {
            const QString name = display()->accessibleName();
            return name.isEmpty() ? TimeDisplay::tr("Time Elapsed") : name;
        }
        return QAccessibleWidget::text(t);
    }

    void *interface_cast(QAccessible::InterfaceType t) override
    {
        if (t == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface *>(this);
        return QAccessibleWidget::interface_cast(t);
    }

    // Nothing can be selected and there is no cursor.
    void selection(int, int *startOffset, int *endOffset) const override
    {
        *startOffset = 0;
        *endOffset = 0;
    }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}

    QString text(int startOffset, int endOffset) const override
    {
        const QString shown = display()->text();
        startOffset = std::clamp(startOffset, 0, int(shown.size()));
        endOffset = endOffset < 0 ? int(shown.size()) : std::clamp(endOffset, startOffset, int(shown.size()));
        return shown.mid(startOffset, endOffset - startOffset);
    }
    int characterCount() const override { return int(display()->text().size()); }
    QRect characterRect(int) const override { return QRect(); }
    int offsetAtPoint(const QPoint &) const override { return -1; }
    void scrollToSubstring(int, int) override {}
    QString attributes(int offset, int *startOffset, int *endOffset) const override
    {
        *startOffset = offset;
        *endOffset = offset;
        return QString();
    }
};

QAccessibleInterface *factory(const QString &className, QObject *object)
{
    if (className == QLatin1String(TimeDisplay::staticMetaObject.className()) && object
        && object->isWidgetType()) {
        if (auto *display = qobject_cast<TimeDisplay *>(object))
            return new TimeDisplayAccessible(display);
    }
    return nullptr;
}

}  // namespace

TimeDisplay::TimeDisplay(QWidget *parent) : QWidget(parent)
{
    static const bool installed = (QAccessible::installFactory(factory), true);
    Q_UNUSED(installed);
    // The display paints its own background, so a new time never repaints the window behind.
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_accessibleText = text();
}

QSize TimeDisplay::sizeHint() const { return {121, 33}; }
QSize TimeDisplay::minimumSizeHint() const { return {80, 20}; }

void TimeDisplay::setFields(int h, int m, int s, int ms)
{
    if (h == m_hours && m == m_minutes && s == m_seconds && ms == m_milliseconds)
        return;
    m_hours = h;
    m_minutes = m;
    m_seconds = s;
    m_milliseconds = ms;
    update();
    m_textNotice.changed();
}

void TimeDisplay::sendAccessibleText()
{
    const QString now = text();
    if (now == m_accessibleText)
        return;
    QAccessibleTextUpdateEvent event(this, 0, m_accessibleText, now);
    m_accessibleText = now;
    QAccessible::updateAccessibility(&event);
}

void TimeDisplay::setHours(int hours)
{
    setFields(std::clamp(hours, 0, MaxHours), m_minutes, m_seconds, m_milliseconds);
}

void TimeDisplay::setMinutes(int minutes)
{
    setFields(m_hours, std::clamp(minutes, 0, 59), m_seconds, m_milliseconds);
}

void TimeDisplay::setSeconds(int seconds)
{
    setFields(m_hours, m_minutes, std::clamp(seconds, 0, 59), m_milliseconds);
}

void TimeDisplay::setMilliseconds(qint64 ms)
{
    ms = std::max<qint64>(ms, 0);
    const qint64 hours = std::min<qint64>(ms / 3600000, MaxHours);
    setFields(int(hours), int(ms / 60000 % 60), int(ms / 1000 % 60), int(ms % 1000));
}

QString TimeDisplay::text() const
{
    return QStringLiteral("%1:%2:%3.%4")
        .arg(m_hours, 2, 10, QLatin1Char('0'))
        .arg(m_minutes, 2, 10, QLatin1Char('0'))
        .arg(m_seconds, 2, 10, QLatin1Char('0'))
        .arg(m_milliseconds, 3, 10, QLatin1Char('0'));
}

TimeDisplay::Layout TimeDisplay::layout(int hourDigits) const
{
    // Proportions in units of a big figure's width: big figures for h:m:s, smaller ones
    // for the milliseconds, all standing on one baseline.
    const double small = 0.66, space = 0.28, colon = 0.42;
    const double units = (hourDigits + 4) * 1.0 + (hourDigits + 3) * space + 2 * colon
                         + colon * 0.8 + 3 * small + 2 * space * small;
    const QRectF area = QRectF(rect()).adjusted(6, 5, -6, -5);
    const double aspect = 0.56;   // figure width / height
    const double fw = std::min(area.width() / units, area.height() * aspect);
    const double fh = fw / aspect;
    double x = area.left() + (area.width() - units * fw) / 2;
    Layout l;
    l.base = area.center().y() + fh / 2;

    const auto bigFigure = [&] {
        l.figures.append(QRectF(x, l.base - fh, fw, fh));
        x += fw * (1 + space);
    };
    const auto dots = [&](bool two) {
        const double d = std::max(1.5, fw * 0.2);
        const double cx = x + fw * colon / 2 - space * fw / 2;
        if (two) {
            l.dots.append(QRectF(cx - d / 2, l.base - fh * 0.72 - d / 2, d, d));
            l.dots.append(QRectF(cx - d / 2, l.base - fh * 0.28 - d / 2, d, d));
            x += fw * colon;
        } else {
            l.dots.append(QRectF(cx - d / 2, l.base - d, d, d));
            x += fw * colon * 0.8;
        }
    };
    for (int i = 0; i < hourDigits; ++i)
        bigFigure();
    dots(true);
    bigFigure();
    bigFigure();
    dots(true);
    bigFigure();
    bigFigure();
    dots(false);
    const double sw = fw * small, sh = fh * small;
    for (int k = 0; k < 3; ++k) {
        l.figures.append(QRectF(x, l.base - sh, sw, sh));
        x += sw * (1 + space);
    }
    return l;
}

QTransform TimeDisplay::lean(double base)
{
    // A slight forward lean, as on the classic displays.
    QTransform t;
    t.translate(0, base);
    t.shear(-0.07, 0);
    t.translate(0, -base);
    return t;
}

void TimeDisplay::prepareFace(int hourDigits)
{
    const bool enabled = isEnabled();
    const qreal ratio = devicePixelRatioF();
    // Drawn afresh for a new size, look or number of hour digits, and on a screen with
    // another pixel ratio (the window moved), the figures with it.
    if (!m_face.isNull() && m_faceSize == size() && m_faceEnabled == enabled && m_faceHourDigits == hourDigits
        && m_face.devicePixelRatio() == ratio)
        return;
    m_faceSize = size();
    m_faceEnabled = enabled;
    m_faceHourDigits = hourDigits;
    m_figureCache.clear();
    m_layout = layout(hourDigits);

    m_on = paint::displayGlow();
    m_off = paint::displayGhost();
    if (!enabled) {
        m_on = paint::blend(m_on, paint::displayBackground(), 0.6);
        m_off = paint::blend(m_off, paint::displayBackground(), 0.5);
    }

    m_face = QPixmap(size() * ratio);
    m_face.setDevicePixelRatio(ratio);
    m_face.fill(Qt::transparent);
    QPainter p(&m_face);
    p.setRenderHint(QPainter::Antialiasing);
    // The face keeps its own dark glass in every palette; the bezel around it and the
    // corners outside it come from the palette.
    paint::drawFramedDisplayPanel(p, QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), palette(), 3);
    p.setTransform(lean(m_layout.base), true);
    p.setPen(Qt::NoPen);
    p.setBrush(m_on);
    for (const QRectF &d : std::as_const(m_layout.dots))
        p.drawRect(d);
}

const TimeDisplay::Figure &TimeDisplay::figure(int cell, int digit)
{
    // Every figure is drawn once per place and digit, leaning as it stands in the display,
    // and copied from then on: only the figures that changed cost a paint.
    const int key = cell * 16 + digit;
    auto found = m_figureCache.find(key);
    if (found != m_figureCache.end())
        return *found;
    const QTransform t = lean(m_layout.base);
    const QRect bounds = t.mapRect(m_layout.figures.at(cell)).toAlignedRect().adjusted(-1, -1, 1, 1);
    const qreal ratio = devicePixelRatioF();
    Figure f;
    f.origin = bounds.topLeft();
    f.pixmap = QPixmap(bounds.size() * ratio);
    f.pixmap.setDevicePixelRatio(ratio);
    f.pixmap.fill(Qt::transparent);
    QPainter p(&f.pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.translate(-bounds.topLeft());
    p.setTransform(t, true);
    drawFigure(p, m_layout.figures.at(cell), digit, m_on, m_off);
    return *m_figureCache.insert(key, f);
}

void TimeDisplay::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::StyleChange) {
        m_face = QPixmap();   // drawn anew at the next paint
        update();
    }
}

void TimeDisplay::paintEvent(QPaintEvent *)
{
    const QString t = text();
    const int hourDigits = int(t.indexOf(QLatin1Char(':')));
    prepareFace(hourDigits);
    QPainter p(this);
    p.fillRect(rect(), palette().color(backgroundRole()));
    p.drawPixmap(0, 0, m_face);
    int cell = 0;
    for (const QChar c : t) {
        if (!c.isDigit())
            continue;
        const Figure &f = figure(cell++, c.digitValue());
        p.drawPixmap(f.origin, f.pixmap);
    }
}
