#include "widgets/position_slider.h"

#include "widgets/paint_helpers.h"

#include <QAccessible>
#include <QAccessibleValueInterface>
#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

#include <algorithm>
#include <cmath>

namespace {
constexpr int ThumbWidth = 11;
constexpr int GrooveHeight = 5;
// Assistive technology hears of a moving value at most this often (ms).

// The palette colours a strip may come from; such a strip follows a new palette.
constexpr QPalette::ColorRole StripRoles[] = {QPalette::Base, QPalette::Mid, QPalette::Window,
                                              QPalette::AlternateBase};

// What a screen reader learns of the slider: a slider named "Position" whose value is the
// per mille of the track, set as a user's drag would set it.
class PositionSliderAccessible : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit PositionSliderAccessible(PositionSlider *slider) : QAccessibleWidget(slider, QAccessible::Slider) {}

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name && widget()->accessibleName().isEmpty())
            return PositionSlider::tr("Position");
        return QAccessibleWidget::text(t);
    }

    void *interface_cast(QAccessible::InterfaceType t) override
    {
        if (t == QAccessible::ValueInterface)
            return static_cast<QAccessibleValueInterface *>(this);
        return QAccessibleWidget::interface_cast(t);
    }

    QVariant currentValue() const override { return slider()->value(); }
    void setCurrentValue(const QVariant &value) override
    {
        bool ok = false;
        const double v = value.toDouble(&ok);
        if (ok && std::isfinite(v))
            slider()->moveTo(int(std::lround(std::clamp<double>(v, PositionSlider::Minimum, PositionSlider::Maximum))));
    }
    QVariant maximumValue() const override { return int(PositionSlider::Maximum); }
    QVariant minimumValue() const override { return int(PositionSlider::Minimum); }
    QVariant minimumStepSize() const override { return 1; }

private:
    PositionSlider *slider() const { return static_cast<PositionSlider *>(widget()); }
};

QAccessibleInterface *factory(const QString &className, QObject *object)
{
    if (className == QLatin1String(PositionSlider::staticMetaObject.className()))
        if (auto *slider = qobject_cast<PositionSlider *>(object))
            return new PositionSliderAccessible(slider);
    return nullptr;
}
}  // namespace

PositionSlider::PositionSlider(QWidget *parent) : QWidget(parent)
{
    static const bool installed = (QAccessible::installFactory(factory), true);
    Q_UNUSED(installed);

    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_Hover);
    // The slider paints its own background, so a moving thumb never repaints the window
    // behind it.
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_stripColor = palette().color(QPalette::Mid);
}

void PositionSlider::setValue(int value)
{
    changeValue(value);
}

bool PositionSlider::changeValue(int value)
{
    value = std::clamp(value, Minimum, Maximum);
    if (value == m_value)
        return false;
    const QRect before = thumbRect();
    m_value = value;
    // Only a thumb that moved by a pixel or more needs painting.
    if (thumbRect() != before)
        update();
    noteValueChange();
    emit valueChanged(m_value);
    return true;
}

void PositionSlider::userSetValue(int value)
{
    if (changeValue(value))
        emit moved(m_value);
}

void PositionSlider::moveTo(int value)
{
    if (!isEnabled() || m_grab == Grab::Mouse)
        return;
    if (m_grab == Grab::Key) {
        userSetValue(value);
        return;
    }
    emit pressed();
    userSetValue(value);
    emit released();
}

void PositionSlider::noteValueChange()
{
    m_valueNotice.changed();
}

void PositionSlider::sendValueNotice()
{
    QAccessibleValueChangeEvent event(this, m_value);
    QAccessible::updateAccessibility(&event);
}

void PositionSlider::setStripColor(const QColor &c)
{
    if (c == m_stripColor)
        return;
    m_stripColor = c;
    m_stripRole = QPalette::NoRole;
    const QPalette &pal = palette();
    for (const QPalette::ColorRole role : StripRoles) {
        if (c == pal.color(QPalette::Active, role) || c == pal.color(QPalette::Inactive, role)) {
            m_stripRole = role;
            break;
        }
    }
    update();
}

QSize PositionSlider::sizeHint() const { return {200, 15}; }
QSize PositionSlider::minimumSizeHint() const { return {ThumbWidth * 4, 11}; }

QRect PositionSlider::grooveRect() const
{
    const int y = (height() - GrooveHeight) / 2;
    return QRect(ThumbWidth / 2, y, std::max(1, width() - 2 * (ThumbWidth / 2)), GrooveHeight);
}

QRect PositionSlider::thumbRect() const
{
    const QRect g = grooveRect();
    const int span = std::max(0, g.width() - 1);
    const int cx = g.left() + int((qint64(m_value) * span + Maximum / 2) / Maximum);
    const int h = std::max(7, height() - 2);
    return QRect(cx - ThumbWidth / 2, (height() - h) / 2, ThumbWidth, h);
}

int PositionSlider::valueAt(int x) const
{
    const QRect g = grooveRect();
    const int span = std::max(1, g.width() - 1);
    const qint64 offset = std::clamp(x - g.left(), 0, span);
    return int((offset * Maximum + span / 2) / span);
}

void PositionSlider::setMarks(const QList<int> &values)
{
    if (values == m_marks)
        return;
    m_marks = values;
    update();
}

void PositionSlider::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), palette().color(backgroundRole()));
    p.setRenderHint(QPainter::Antialiasing);
    const bool on = isEnabled();
    const QPalette::ColorGroup group = on ? QPalette::Active : QPalette::Disabled;
    const QPalette &pal = palette();
    // On a dark window the palette's Dark hardly shows; the groove's edge is drawn in a grey
    // between the window and its text there.
    const bool darkWindow = pal.color(QPalette::Window).lightness() < 128;
    const QColor edge = darkWindow ? paint::blend(pal.color(group, QPalette::WindowText), pal.color(group, QPalette::Window), 0.55)
                                   : pal.color(group, QPalette::Dark);

    // Groove: a sunken strip in stripColor, the part already passed in the highlight colour.
    const QRectF g = QRectF(grooveRect()).adjusted(0.5, 0.5, -0.5, -0.5);
    QColor strip = m_stripColor.isValid() ? m_stripColor : pal.color(group, QPalette::Mid);
    if (!on)
        strip = paint::blend(strip, pal.color(group, QPalette::Window), 0.5);
    p.setPen(QPen(edge, 1));
    p.setBrush(strip);
    p.drawRoundedRect(g, 2, 2);
    // A shadow line along the top edge makes the strip read as a channel, whatever its colour.
    p.setPen(QPen(paint::withAlpha(pal.color(group, QPalette::Shadow), 60), 1));
    p.drawLine(QPointF(g.left() + 2, g.top() + 1), QPointF(g.right() - 2, g.top() + 1));

    const QRect t = thumbRect();
    if (m_value > 0) {
        QRectF done(g.left(), g.top(), t.center().x() - g.left(), g.height());
        const QColor hl = on ? pal.color(QPalette::Active, QPalette::Highlight)
                             : pal.color(QPalette::Disabled, QPalette::Mid);
        QLinearGradient grad(done.topLeft(), done.bottomLeft());
        grad.setColorAt(0, hl.lighter(125));
        grad.setColorAt(1, hl.darker(110));
        p.setPen(QPen(hl.darker(130), 1));
        p.setBrush(grad);
        p.drawRoundedRect(done, 2, 2);
    }

    // The markers: short ticks below the groove, where the thumb's centre would stand; they
    // stand on the window, so they take its text colour.
    if (!m_marks.isEmpty()) {
        p.setPen(QPen(pal.color(group, QPalette::WindowText), 1));
        const QRect groove = grooveRect();
        const int span = std::max(0, groove.width() - 1);
        for (const int mark : m_marks) {
            const qreal x = groove.left() + 0.5 + qreal(span) * std::clamp(mark, Minimum, Maximum) / Maximum;
            p.drawLine(QPointF(x, g.bottom() + 2), QPointF(x, std::min<qreal>(height() - 1, g.bottom() + 5)));
        }
    }

    // Thumb: a raised grip.
    const bool hot = on && (m_hover || m_grab == Grab::Mouse);
    paint::drawRaisedBox(p, QRectF(t).adjusted(0.5, 0.5, -0.5, -0.5), pal, group, hot,
                         m_grab == Grab::Mouse, 2.5);
    const QColor gripDark = pal.color(group, QPalette::Dark);
    const QColor gripLight = pal.color(group, QPalette::Light);
    p.setRenderHint(QPainter::Antialiasing, false);
    const int cy = t.center().y();
    for (int dx = -2; dx <= 2; dx += 2) {
        const int x = t.center().x() + dx;
        p.setPen(gripDark);
        p.drawLine(x, cy - 3, x, cy + 2);
        p.setPen(gripLight);
        p.drawLine(x + 1, cy - 3, x + 1, cy + 2);
    }

    if (hasFocus()) {
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(pal.color(QPalette::Active, QPalette::Highlight), 1.2));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(QRectF(t).adjusted(-0.5, -0.5, 0.5, 0.5), 3, 3);
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setPen(QPen(pal.color(QPalette::Active, QPalette::WindowText), 1, Qt::DotLine));
        p.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

void PositionSlider::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    // A key move in progress becomes a mouse drag; it already sent pressed.
    if (m_grab == Grab::None)
        emit pressed();
    m_grab = Grab::Mouse;
    userSetValue(valueAt(event->position().toPoint().x()));
    update();
}

void PositionSlider::mouseMoveEvent(QMouseEvent *event)
{
    if (m_grab == Grab::Mouse)
        userSetValue(valueAt(event->position().toPoint().x()));
}

void PositionSlider::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || m_grab != Grab::Mouse) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    userSetValue(valueAt(event->position().toPoint().x()));
    endGrab();
}

void PositionSlider::keyPressEvent(QKeyEvent *event)
{
    int target = m_value;
    switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Down: target -= SingleStep; break;
    case Qt::Key_Right:
    case Qt::Key_Up: target += SingleStep; break;
    case Qt::Key_PageDown: target -= PageStep; break;
    case Qt::Key_PageUp: target += PageStep; break;
    case Qt::Key_Home: target = Minimum; break;
    case Qt::Key_End: target = Maximum; break;
    default: QWidget::keyPressEvent(event); return;
    }
    event->accept();
    if (m_grab == Grab::Mouse)
        return;   // the mouse owns the slider until it lets go
    if (m_grab == Grab::None) {
        m_grab = Grab::Key;
        emit pressed();
    }
    m_grabKey = event->key();
    userSetValue(target);
}

void PositionSlider::keyReleaseEvent(QKeyEvent *event)
{
    // Auto-repeat sends release/press pairs; only the real release ends the move.
    if (m_grab == Grab::Key && !event->isAutoRepeat() && event->key() == m_grabKey) {
        event->accept();
        endGrab();
        return;
    }
    QWidget::keyReleaseEvent(event);
}

void PositionSlider::focusOutEvent(QFocusEvent *event)
{
    // Losing focus mid-move would otherwise leave the owner waiting for released.
    if (m_grab == Grab::Key)
        endGrab();
    QWidget::focusOutEvent(event);
}

void PositionSlider::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::EnabledChange && !isEnabled() && m_grab != Grab::None)
        endGrab();
    if (event->type() == QEvent::PaletteChange) {
        // A strip in a palette colour takes that colour of the new palette.
        if (m_stripRole != QPalette::NoRole)
            m_stripColor = palette().color(QPalette::Active, m_stripRole);
        update();
    }
    QWidget::changeEvent(event);
}

void PositionSlider::enterEvent(QEnterEvent *event)
{
    m_hover = true;
    update();
    QWidget::enterEvent(event);
}

void PositionSlider::leaveEvent(QEvent *event)
{
    m_hover = false;
    update();
    QWidget::leaveEvent(event);
}

void PositionSlider::endGrab()
{
    m_grab = Grab::None;
    m_grabKey = 0;
    update();
    emit released();
}
