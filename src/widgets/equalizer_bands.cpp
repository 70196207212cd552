#include "widgets/equalizer_bands.h"

#include "widgets/paint_helpers.h"

#include <QAccessible>
#include <QAccessibleValueInterface>
#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QTimer>
#include <QToolTip>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace {
constexpr int ThumbWidth = 17;
constexpr int ThumbHeight = 9;
constexpr int GrooveWidth = 4;
// Assistive technology hears of a moving band at most this often (ms).

float quantise(float v, float step) { return std::round(v / step) * step; }

QString dbText(float v)
{
    if (std::abs(v) < 0.05f)
        return EqualizerBands::tr("0 dB");
    //: a band's gain: %1 is "+" for a boost (nothing for a cut), %2 the decibels
    return EqualizerBands::tr("%1%2 dB").arg(v > 0 ? QStringLiteral("+") : QString()).arg(double(v), 0, 'f', 1);
}

// A band's name as a user reads its frequency: "330 Hz" under "330", "1.7 kHz" under "1.7k".
QString bandName(const QString &label, int index)
{
    const QString shown = label.trimmed();
    if (shown.isEmpty())
        //: a band of the equalizer without a frequency label; %1 is its number, 1 to 12
        return EqualizerBands::tr("Band %1").arg(index);
    if (shown.endsWith(QLatin1Char('k'), Qt::CaseInsensitive))
        //: a band's frequency in kilohertz, such as "1.7 kHz"
        return EqualizerBands::tr("%1 kHz").arg(shown.chopped(1).trimmed());
    //: a band's frequency in hertz, such as "330 Hz"
    return EqualizerBands::tr("%1 Hz").arg(shown);
}

// One band as a screen reader sees it: a slider named by its frequency whose value is the
// band's gain in dB. It belongs to the equalizer's interface, which makes it on demand.
class BandAccessible : public QAccessibleInterface, public QAccessibleValueInterface {
public:
    BandAccessible(EqualizerBands *bands, int band0) : m_bands(bands), m_band(band0) {}

    bool isValid() const override { return !m_bands.isNull(); }
    QObject *object() const override { return nullptr; }
    QWindow *window() const override
    {
        QAccessibleInterface *up = parent();
        return up ? up->window() : nullptr;
    }

    QAccessibleInterface *parent() const override
    {
        return m_bands ? QAccessible::queryAccessibleInterface(m_bands.data()) : nullptr;
    }
    QAccessibleInterface *child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }

    QString text(QAccessible::Text t) const override
    {
        if (!m_bands)
            return {};
        switch (t) {
        case QAccessible::Name: return bandName(m_bands->labels().value(m_band), m_band + 1);
        case QAccessible::Value: return dbText(m_bands->band(m_band + 1));
        default: return {};
        }
    }
    void setText(QAccessible::Text, const QString &) override {}

    QRect rect() const override
    {
        if (!m_bands)
            return {};
        const QRect column = m_bands->bandColumn(m_band + 1);
        return QRect(m_bands->mapToGlobal(column.topLeft()), column.size());
    }
    QAccessible::Role role() const override { return QAccessible::Slider; }
    QAccessible::State state() const override
    {
        QAccessible::State s;
        if (!m_bands) {
            s.invalid = true;
            return s;
        }
        s.focusable = m_bands->focusPolicy() != Qt::NoFocus;
        s.focused = m_bands->hasFocus() && m_bands->focusedBand() == m_band + 1;
        s.disabled = !m_bands->isEnabled();
        s.invisible = !m_bands->isVisible();
        return s;
    }

    void *interface_cast(QAccessible::InterfaceType t) override
    {
        if (t == QAccessible::ValueInterface)
            return static_cast<QAccessibleValueInterface *>(this);
        return nullptr;
    }

    QVariant currentValue() const override { return m_bands ? double(m_bands->band(m_band + 1)) : 0.0; }
    void setCurrentValue(const QVariant &value) override
    {
        bool ok = false;
        const double v = value.toDouble(&ok);
        if (m_bands && m_bands->isEnabled() && ok && std::isfinite(v))
            m_bands->moveBand(m_band + 1, float(v));
    }
    QVariant maximumValue() const override { return m_bands ? double(m_bands->Max()) : 0.0; }
    QVariant minimumValue() const override { return m_bands ? double(m_bands->Min()) : 0.0; }
    QVariant minimumStepSize() const override { return double(EqualizerBands::Step); }

private:
    QPointer<EqualizerBands> m_bands;
    int m_band;   // 0..11
};

// The equalizer as a screen reader sees it: a group named "Equalizer" holding the twelve band
// sliders. The bands' interfaces are made when first asked for, registered with QAccessible
// once and reused; they go when this interface goes.
class EqualizerBandsAccessible : public QAccessibleWidget {
public:
    explicit EqualizerBandsAccessible(EqualizerBands *bands) : QAccessibleWidget(bands, QAccessible::Grouping) {}
    ~EqualizerBandsAccessible() override
    {
        for (const QAccessible::Id id : m_bandIds)
            if (id)
                QAccessible::deleteAccessibleInterface(id);
    }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name && widget()->accessibleName().isEmpty())
            return EqualizerBands::tr("Equalizer");
        return QAccessibleWidget::text(t);
    }

    int childCount() const override { return EqualizerBands::BandCount; }
    QAccessibleInterface *child(int index) const override
    {
        if (index < 0 || index >= EqualizerBands::BandCount || !isValid())
            return nullptr;
        QAccessible::Id &id = m_bandIds[size_t(index)];
        if (id)
            if (QAccessibleInterface *made = QAccessible::accessibleInterface(id))
                return made;
        auto *made = new BandAccessible(bands(), index);
        id = QAccessible::registerAccessibleInterface(made);
        return made;
    }
    int indexOfChild(const QAccessibleInterface *child) const override
    {
        if (!child)
            return -1;
        for (int i = 0; i < EqualizerBands::BandCount; ++i) {
            const QAccessible::Id id = m_bandIds[size_t(i)];
            if (id && QAccessible::accessibleInterface(id) == child)
                return i;
        }
        return -1;
    }
    QAccessibleInterface *childAt(int x, int y) const override
    {
        if (!isValid())
            return nullptr;
        const QPoint local = widget()->mapFromGlobal(QPoint(x, y));
        for (int i = 0; i < EqualizerBands::BandCount; ++i)
            if (bands()->bandColumn(i + 1).contains(local))
                return child(i);
        return nullptr;
    }
    QAccessibleInterface *focusChild() const override
    {
        if (isValid() && bands()->hasFocus())
            return child(bands()->focusedBand() - 1);
        return QAccessibleWidget::focusChild();
    }

private:
    EqualizerBands *bands() const { return static_cast<EqualizerBands *>(widget()); }

    mutable std::array<QAccessible::Id, EqualizerBands::BandCount> m_bandIds{};
};

QAccessibleInterface *factory(const QString &className, QObject *object)
{
    if (className == QLatin1String(EqualizerBands::staticMetaObject.className()))
        if (auto *bands = qobject_cast<EqualizerBands *>(object))
            return new EqualizerBandsAccessible(bands);
    return nullptr;
}
}  // namespace

EqualizerBands::EqualizerBands(QWidget *parent) : QWidget(parent)
{
    static const bool installed = (QAccessible::installFactory(factory), true);
    Q_UNUSED(installed);

    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    m_labels = {QStringLiteral("31"), QStringLiteral("63"), QStringLiteral("125"), QStringLiteral("250"),
                QStringLiteral("500"), QStringLiteral("1k"), QStringLiteral("2k"), QStringLiteral("3k"),
                QStringLiteral("4k"), QStringLiteral("6k"), QStringLiteral("8k"), QStringLiteral("16k")};

    for (int i = 0; i < BandCount; ++i)
        m_bandNotices[size_t(i)] = std::make_unique<AccessibleNotice>(this, [this, i] { sendBandNotice(i); });
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
    noteBandChange(index - 1);
}

void EqualizerBands::moveBand(int index, float value)
{
    if (index < 1 || index > BandCount || std::isnan(value))
        return;
    userSetBand(index - 1, quantise(std::clamp(value, Min(), Max()), Step));
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
    noteBandChange(band0);
    emit bandChanged(band0 + 1);
}

void EqualizerBands::setFocusBand(int band0)
{
    band0 = std::clamp(band0, 0, BandCount - 1);
    if (band0 == m_focusBand)
        return;
    m_focusBand = band0;
    update();
    noteFocusBand();
}

void EqualizerBands::noteBandChange(int band0)
{
    m_bandNotices[size_t(band0)]->changed();
}

void EqualizerBands::sendBandNotice(int band0)
{
    QAccessibleValueChangeEvent event(this, double(m_bands[size_t(band0)]));
    event.setChild(band0);
    QAccessible::updateAccessibility(&event);
}

void EqualizerBands::noteFocusBand()
{
    if (!hasFocus() || !QAccessible::isActive())
        return;
    QAccessibleEvent event(this, QAccessible::Focus);
    event.setChild(m_focusBand);
    QAccessible::updateAccessibility(&event);
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
    // On a dark window the palette's Dark and Mid hardly show; lines are drawn in greys
    // between the window and its text there. A light window keeps Dark and Mid.
    const bool darkWindow = pal.color(QPalette::Window).lightness() < 128;
    const QColor window = pal.color(group, QPalette::Window);
    const QColor line = darkWindow ? paint::blend(text, window, 0.55) : pal.color(group, QPalette::Dark);
    const QColor guide = darkWindow ? paint::blend(text, window, 0.7) : pal.color(group, QPalette::Mid);

    // dB scale and guide lines every 5 dB; 0 dB stronger.
    QFont small = font();
    if (font().pointSizeF() > 0)
        small.setPointSizeF(std::max(6.0, font().pointSizeF() * 0.85));
    else
        small.setPixelSize(std::max(8, int(std::lround(font().pixelSize() * 0.85))));
    p.setFont(small);
    const QFontMetrics fm(small);
    const int lineLeft = g.bands.left() + 2, lineRight = g.bands.left() + g.bands.width() - 2;
    for (int db = -15; db <= 15; db += 5) {
        const int y = yForValue(float(db));
        if (db == 0)
            p.setPen(QPen(line, 1));
        else
            p.setPen(QPen(paint::withAlpha(guide, 140), 1, Qt::DotLine));
        p.drawLine(lineLeft, y, lineRight, y);
        p.setPen(QPen(line, 1));
        p.drawLine(g.scale.right() - 4, y, g.scale.right() - 1, y);
        if (db % 15 == 0) {
            const QString t = db > 0 ? QStringLiteral("+%1").arg(db) : QString::number(db);
            p.setPen(text);
            p.drawText(QRect(0, y - fm.height() / 2, g.scale.width() - 6, fm.height()), Qt::AlignRight | Qt::AlignVCenter, t);
        }
    }
    p.setPen(paint::blend(text, window, 0.35));
    //: the unit of the frequencies under the bands: hertz
    p.drawText(QRect(0, g.labelTop, g.scale.width() - 4, height() - g.labelTop), Qt::AlignRight | Qt::AlignVCenter,
               tr("Hz"));

    p.setRenderHint(QPainter::Antialiasing);
    const int zeroY = yForValue(0);
    const QColor hl = on ? pal.color(QPalette::Active, QPalette::Highlight) : pal.color(group, QPalette::Mid);
    // The centre mark of a thumb at 0 dB, on the thumb's button face.
    const QColor flatMark = darkWindow ? paint::blend(pal.color(group, QPalette::ButtonText), pal.color(group, QPalette::Button), 0.5)
                                       : pal.color(group, QPalette::Dark);
    for (int i = 0; i < BandCount; ++i) {
        const QRect col = bandColumn(i + 1);
        const QRect thumb = thumbRect(i + 1);
        const int cx = thumb.center().x();

        // Groove.
        const QRectF groove(cx - GrooveWidth / 2.0, g.trackTop - 2, GrooveWidth, g.trackBottom - g.trackTop + 4);
        p.setPen(QPen(line, 1));
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
        p.setPen(QPen(std::abs(v) > 0.01f ? hl.darker(110) : flatMark, 1.4));
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
    setFocusBand(band);
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
        setFocusBand(band);
        userSetBand(band, m_bands[size_t(band)] + float(steps) * 2 * Step);
    }
    event->accept();
}

void EqualizerBands::keyPressEvent(QKeyEvent *event)
{
    const float v = m_bands[size_t(m_focusBand)];
    switch (event->key()) {
    case Qt::Key_Left: setFocusBand(m_focusBand - 1); return;
    case Qt::Key_Right: setFocusBand(m_focusBand + 1); return;
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

void EqualizerBands::focusInEvent(QFocusEvent *event)
{
    QWidget::focusInEvent(event);
    // The band the keyboard moves is told after the equalizer itself has been told it has the
    // focus, so a screen reader ends on the band.
    if (QAccessible::isActive())
        QMetaObject::invokeMethod(this, &EqualizerBands::noteFocusBand, Qt::QueuedConnection);
}

void EqualizerBands::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::PaletteChange)
        update();
    QWidget::changeEvent(event);
}
