#include "widgets/time_display.h"

#include "widgets/paint_helpers.h"

#include <QPainter>
#include <QPainterPath>

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

}  // namespace

TimeDisplay::TimeDisplay(QWidget *parent) : QWidget(parent) {}

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

void TimeDisplay::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    paint::drawDisplayPanel(p, QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), palette(), 3);

    QColor on = paint::displayGlow();
    QColor off = paint::displayGhost();
    if (!isEnabled()) {
        on = paint::blend(on, paint::displayBackground(), 0.6);
        off = paint::blend(off, paint::displayBackground(), 0.5);
    }
    const QString t = text();
    const int hourDigits = t.indexOf(QLatin1Char(':'));

    // Proportions in units of a big figure's width: big figures for h:m:s, smaller ones
    // for the milliseconds, all standing on one baseline.
    const double small = 0.66, space = 0.28, colon = 0.42;
    const double units = (hourDigits + 4) * 1.0 + (hourDigits + 3) * space + 2 * colon
                         + colon * 0.8 + 3 * small + 2 * space * small;
    const QRectF area = QRectF(rect()).adjusted(6, 5, -6, -5);
    const double aspect = 0.56;   // figure width / height
    double fw = std::min(area.width() / units, area.height() * aspect);
    const double fh = fw / aspect;
    double x = area.left() + (area.width() - units * fw) / 2;
    const double base = area.center().y() + fh / 2;

    // A slight forward lean, as on the classic displays.
    p.save();
    QTransform lean;
    lean.translate(0, base);
    lean.shear(-0.07, 0);
    lean.translate(0, -base);
    p.setTransform(lean, true);

    auto bigFigure = [&](QChar c) {
        drawFigure(p, QRectF(x, base - fh, fw, fh), c.digitValue(), on, off);
        x += fw * (1 + space);
    };
    auto dots = [&](bool two) {
        const double d = std::max(1.5, fw * 0.2);
        const double cx = x + fw * colon / 2 - space * fw / 2;
        p.setPen(Qt::NoPen);
        p.setBrush(on);
        if (two) {
            p.drawRect(QRectF(cx - d / 2, base - fh * 0.72 - d / 2, d, d));
            p.drawRect(QRectF(cx - d / 2, base - fh * 0.28 - d / 2, d, d));
            x += fw * colon;
        } else {
            p.drawRect(QRectF(cx - d / 2, base - d, d, d));
            x += fw * colon * 0.8;
        }
    };

    int i = 0;
    for (; i < hourDigits; ++i)
        bigFigure(t.at(i));
    dots(true);
    bigFigure(t.at(++i));
    bigFigure(t.at(++i));
    ++i;
    dots(true);
    bigFigure(t.at(++i));
    bigFigure(t.at(++i));
    ++i;
    dots(false);
    const double sw = fw * small, sh = fh * small;
    for (int k = 0; k < 3; ++k) {
        drawFigure(p, QRectF(x, base - sh, sw, sh), t.at(++i).digitValue(), on, off);
        x += sw * (1 + space);
    }
    p.restore();
}
