#include "widgets/equalizer_bands.h"

#include "widgets/paint_helpers.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace {
constexpr int ThumbWidth = 17;
constexpr int ThumbHeight = 9;
constexpr int GrooveWidth = 4;

float quantise(float v, float step) { return std::round(v / step) * step; }

QString dbText(float v)
{
    if (std::abs(v) < 0.05f)
        return EqualizerBands::tr("0 dB");
    //: a band's gain: %1 is "+" for a boost (nothing for a cut), %2 the decibels
    return EqualizerBands::tr("%1%2 dB").arg(v > 0 ? QStringLiteral("+") : QString()).arg(double(v), 0, 'f', 1);
}
}  // namespace

EqualizerBands::EqualizerBands(QWidget *parent) : QWidget(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    m_labels = {QStringLiteral("31"), QStringLiteral("63"), QStringLiteral("125"), QStringLiteral("250"),
                QStringLiteral("500"), QStringLiteral("1k"), QStringLiteral("2k"), QStringLiteral("3k"),
                QStringLiteral("4k"), QStringLiteral("6k"), QStringLiteral("8k"), QStringLiteral("16k")};
}

QSize EqualizerBands::sizeHint() const { return {340, 118}; }
QSize EqualizerBands::minimumSizeHint() const { return {12 * 14 + 30, 80}; }

float EqualizerBands::band(int index) const
{
    return index >= 1 && index <= BandCount ? m_bands[size_t(index - 1)] : 0.0f;
}

void EqualizerBands::setBand(int index, float value)
{
    if (index < 1 || index > BandCount || std::isnan(value))
        return;
    value = std::clamp(value, Min(), Max());
    float &band = m_bands[size_t(index - 1)];
    if (band == value)
        return;
    band = value;
    update();
}

void EqualizerBands::setLabels(const QStringList &labels)
{
    m_labels = labels.mid(0, BandCount);
    while (m_labels.size() < BandCount)
        m_labels.append(QString());
    update();
}

EqualizerBands::Geometry EqualizerBands::geometry() const
{
    Geometry g;
    const QFontMetrics fm(font());
    const int labelH = fm.height() + 2;
    const int scaleW = fm.horizontalAdvance(QStringLiteral("+15")) + 10;
    g.scale = QRect(0, 0, scaleW, height());
    g.bands = QRect(scaleW, 0, std::max(BandCount, width() - scaleW - 2), height());
    g.labelTop = height() - labelH;
    g.trackTop = 4 + ThumbHeight / 2 + 1;
    g.trackBottom = std::max(g.trackTop + 10, g.labelTop - 3 - ThumbHeight / 2);
    return g;
}

QRect EqualizerBands::bandColumn(int index) const
{
    if (index < 1 || index > BandCount)
        return {};
    const Geometry g = geometry();
    const int i = index - 1;
    const int x0 = g.bands.left() + g.bands.width() * i / BandCount;
    const int x1 = g.bands.left() + g.bands.width() * (i + 1) / BandCount;
    return QRect(x0, 0, x1 - x0, height());
}

int EqualizerBands::yForValue(float value) const
{
    const Geometry g = geometry();
    const double t = (double(Max()) - value) / double(Max() - Min());
    return g.trackTop + int(std::lround(t * (g.trackBottom - g.trackTop)));
}

QRect EqualizerBands::thumbRect(int index) const
{
    const QRect col = bandColumn(index);
    if (col.isEmpty())
        return {};
    const int y = yForValue(band(index));
    return QRect(col.center().x() - ThumbWidth / 2 + (col.width() % 2 == 0 ? 1 : 0), y - ThumbHeight / 2,
                 ThumbWidth, ThumbHeight);
}

float EqualizerBands::valueAt(int y) const
{
    const Geometry g = geometry();
    const double t = double(y - g.trackTop) / std::max(1, g.trackBottom - g.trackTop);
    return std::clamp(quantise(float(Max() - t * (Max() - Min())), Step), Min(), Max());
}

int EqualizerBands::bandAt(const QPoint &pos) const
{
    const Geometry g = geometry();
    if (pos.x() < g.bands.left() || pos.x() >= g.bands.left() + g.bands.width() || pos.y() < 0 || pos.y() >= height())
        return -1;
    return std::clamp((pos.x() - g.bands.left()) * BandCount / g.bands.width(), 0, BandCount - 1);
}

void EqualizerBands::userSetBand(int band0, float value)
{
    value = std::clamp(value, Min(), Max());
    if (m_bands[size_t(band0)] == value)
        return;
    m_bands[size_t(band0)] = value;
    update();
    emit bandChanged(band0 + 1);
}

void EqualizerBands::showValueTip(int band0)
{
    const QRect t = thumbRect(band0 + 1);
    const QString label = m_labels.value(band0);
    QToolTip::showText(mapToGlobal(QPoint(t.right() + 4, t.top() - 4)),
                       label.isEmpty() ? dbText(m_bands[size_t(band0)])
                                       //: %1 is a band's frequency, %2 its gain such as "+1.5 dB"
                                       : tr("%1 Hz: %2").arg(label, dbText(m_bands[size_t(band0)])),
                       this);
}

// ---- painting -----------------------------------------------------------------------------

void EqualizerBands::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const bool on = isEnabled();
    const QPalette::ColorGroup group = on ? QPalette::Active : QPalette::Disabled;
    const QPalette &pal = palette();
    const Geometry g = geometry();
    const QColor text = pal.color(group, QPalette::WindowText);

    // dB scale and guide lines every 5 dB; 0 dB stronger.
    QFont small = font();
    small.setPointSizeF(std::max(6.0, font().pointSizeF() * 0.85));
    p.setFont(small);
    const QFontMetrics fm(small);
    const int lineLeft = g.bands.left() + 2, lineRight = g.bands.left() + g.bands.width() - 2;
    for (int db = -15; db <= 15; db += 5) {
        const int y = yForValue(float(db));
        QColor c = pal.color(group, QPalette::Mid);
        if (db == 0) {
            c = pal.color(group, QPalette::Dark);
            p.setPen(QPen(c, 1));
        } else {
            p.setPen(QPen(paint::withAlpha(c, 140), 1, Qt::DotLine));
        }
        p.drawLine(lineLeft, y, lineRight, y);
        p.setPen(QPen(pal.color(group, QPalette::Dark), 1));
        p.drawLine(g.scale.right() - 4, y, g.scale.right() - 1, y);
        if (db % 15 == 0) {
            const QString t = db > 0 ? QStringLiteral("+%1").arg(db) : QString::number(db);
            p.setPen(text);
            p.drawText(QRect(0, y - fm.height() / 2, g.scale.width() - 6, fm.height()), Qt::AlignRight | Qt::AlignVCenter, t);
        }
    }
    p.setPen(paint::blend(text, pal.color(group, QPalette::Window), 0.35));
    //: the unit of the frequencies under the bands: hertz
    p.drawText(QRect(0, g.labelTop, g.scale.width() - 4, height() - g.labelTop), Qt::AlignRight | Qt::AlignVCenter,
               tr("Hz"));

    p.setRenderHint(QPainter::Antialiasing);
    const int zeroY = yForValue(0);
    const QColor hl = on ? pal.color(QPalette::Active, QPalette::Highlight) : pal.color(group, QPalette::Mid);
    for (int i = 0; i < BandCount; ++i) {
        const QRect col = bandColumn(i + 1);
        const QRect thumb = thumbRect(i + 1);
        const int cx = thumb.center().x();

        // Groove.
        const QRectF groove(cx - GrooveWidth / 2.0, g.trackTop - 2, GrooveWidth, g.trackBottom - g.trackTop + 4);
        p.setPen(QPen(pal.color(group, QPalette::Dark), 1));
        p.setBrush(pal.color(group, QPalette::Base).darker(on ? 108 : 100));
        p.drawRoundedRect(groove.adjusted(0.5, 0.5, -0.5, -0.5), 1.5, 1.5);

        // The gain: from 0 dB up (boost) or down (cut).
        const float v = m_bands[size_t(i)];
        if (std::abs(v) > 0.01f) {
            const int y = yForValue(v);
            QRectF bar(groove.left() + 0.5, std::min(y, zeroY), groove.width() - 1, std::abs(y - zeroY));
            QLinearGradient lg(bar.topLeft(), bar.topRight());
            lg.setColorAt(0, hl.lighter(130));
            lg.setColorAt(1, hl.darker(115));
            p.setPen(Qt::NoPen);
            p.setBrush(lg);
            p.drawRect(bar);
        }

        // Thumb with a centre mark.
        const bool hot = on && (m_hoverBand == i || m_dragBand == i);
        paint::drawRaisedBox(p, QRectF(thumb).adjusted(0.5, 0.5, -0.5, -0.5), pal, group, hot, m_dragBand == i, 2);
        p.setPen(QPen(std::abs(v) > 0.01f ? hl.darker(110) : pal.color(group, QPalette::Dark), 1.4));
        p.drawLine(QPointF(thumb.left() + 3.5, thumb.center().y() + 0.5), QPointF(thumb.right() - 2.5, thumb.center().y() + 0.5));

        // Frequency label.
        p.setPen(text);
        p.drawText(QRect(col.left() - 4, g.labelTop, col.width() + 8, height() - g.labelTop), Qt::AlignCenter,
                   m_labels.value(i));

        if (hasFocus() && m_focusBand == i) {
            p.save();
            p.setRenderHint(QPainter::Antialiasing, false);
            p.setPen(QPen(pal.color(QPalette::Active, QPalette::Highlight), 1, Qt::DotLine));
            p.setBrush(Qt::NoBrush);
            p.drawRect(QRect(col.left() + 1, 1, col.width() - 3, height() - 3));
            p.restore();
        }
    }
}

// ---- mouse and keyboard -------------------------------------------------------------------

void EqualizerBands::mousePressEvent(QMouseEvent *event)
{
    const QPoint pos = event->position().toPoint();
    const int band = bandAt(pos);
    if (event->button() != Qt::LeftButton || band < 0) {
        QWidget::mousePressEvent(event);
        return;
    }
    m_dragBand = band;
    m_focusBand = band;
    const QRect thumb = thumbRect(band + 1);
    // Grabbing the thumb keeps it under the mouse; a click elsewhere in the column jumps there.
    if (thumb.adjusted(-2, -2, 2, 2).contains(pos)) {
        m_dragOffset = pos.y() - thumb.center().y();
    } else {
        m_dragOffset = 0;
        userSetBand(band, valueAt(pos.y()));
    }
    update();
    showValueTip(band);
}

void EqualizerBands::mouseMoveEvent(QMouseEvent *event)
{
    const QPoint pos = event->position().toPoint();
    if (m_dragBand >= 0) {
        userSetBand(m_dragBand, valueAt(pos.y() - m_dragOffset));
        showValueTip(m_dragBand);
        return;
    }
    const int hover = bandAt(pos);
    if (hover != m_hoverBand) {
        m_hoverBand = hover;
        update();
    }
}

void EqualizerBands::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && m_dragBand >= 0) {
        m_dragBand = -1;
        QToolTip::hideText();
        update();
        return;
    }
    QWidget::mouseReleaseEvent(event);
}

void EqualizerBands::mouseDoubleClickEvent(QMouseEvent *event)
{
    // A double click puts the band back to 0 dB.
    const int band = bandAt(event->position().toPoint());
    if (event->button() == Qt::LeftButton && band >= 0) {
        m_dragBand = -1;
        userSetBand(band, 0.0f);
        return;
    }
    QWidget::mouseDoubleClickEvent(event);
}

void EqualizerBands::wheelEvent(QWheelEvent *event)
{
    const int band = bandAt(event->position().toPoint());
    if (band < 0) {
        event->ignore();
        return;
    }
    m_wheelRemainder += event->angleDelta().y();
    const int steps = m_wheelRemainder / 120;
    m_wheelRemainder -= steps * 120;
    if (steps != 0) {
        m_focusBand = band;
        userSetBand(band, m_bands[size_t(band)] + float(steps) * 2 * Step);
    }
    event->accept();
}

void EqualizerBands::keyPressEvent(QKeyEvent *event)
{
    const float v = m_bands[size_t(m_focusBand)];
    switch (event->key()) {
    case Qt::Key_Left: m_focusBand = std::max(0, m_focusBand - 1); update(); return;
    case Qt::Key_Right: m_focusBand = std::min(BandCount - 1, m_focusBand + 1); update(); return;
    case Qt::Key_Up: userSetBand(m_focusBand, v + 2 * Step); return;
    case Qt::Key_Down: userSetBand(m_focusBand, v - 2 * Step); return;
    case Qt::Key_PageUp: userSetBand(m_focusBand, v + 10 * Step); return;
    case Qt::Key_PageDown: userSetBand(m_focusBand, v - 10 * Step); return;
    case Qt::Key_Home: userSetBand(m_focusBand, Max()); return;
    case Qt::Key_End: userSetBand(m_focusBand, Min()); return;
    case Qt::Key_0:
    case Qt::Key_Delete: userSetBand(m_focusBand, 0.0f); return;
    default: break;
    }
    QWidget::keyPressEvent(event);
}

void EqualizerBands::leaveEvent(QEvent *event)
{
    m_hoverBand = -1;
    update();
    QWidget::leaveEvent(event);
}
