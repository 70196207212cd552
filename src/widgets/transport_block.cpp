#include "widgets/transport_block.h"

#include "widgets/paint_helpers.h"
#include "widgets/transport_block_access.h"

#include <QAccessible>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QTimer>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>
#include <optional>

namespace {

const QColor PlayColour(0x2e, 0xb8, 0x4a);
const QColor PauseColour(0xf2, 0xa3, 0x1b);
const QColor RecordColour(0xe0, 0x32, 0x2c);

constexpr int KnobPixelsPerStep = 1;   // a vertical drag of 100 px sweeps the whole knob
constexpr double KnobStartDeg = 225;   // 0 % points down-left, 100 % down-right
constexpr double KnobSweepDeg = 270;

// The button a part stands for; nothing for the knob.
std::optional<TransportBlock::Button> buttonOf(TransportBlock::Part part)
{
    using Button = TransportBlock::Button;
    switch (part) {
    case TransportBlock::Part::Play: return Button::Play;
    case TransportBlock::Part::Pause: return Button::Pause;
    case TransportBlock::Part::Stop: return Button::Stop;
    case TransportBlock::Part::Record: return Button::Record;
    case TransportBlock::Part::Mute: return Button::Mute;
    default: return std::nullopt;
    }
}

// A colour's relative luminance, and the contrast ratio of two colours (1 to 21).
double luminance(const QColor &c)
{
    auto channel = [](float v) { return v <= 0.03928f ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
    const QColor rgb = c.toRgb();
    return 0.2126 * channel(rgb.redF()) + 0.7152 * channel(rgb.greenF()) + 0.0722 * channel(rgb.blueF());
}

double contrast(const QColor &a, const QColor &b)
{
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// Whether the buttons' faces are dark (a dark palette).
bool darkFace(const QPalette &pal)
{
    return pal.color(QPalette::Button).lightness() < 128;
}

// The record symbol's red on an unlit button: a deep red on a light face, a brighter one
// on a dark face, where the deep one would sink in.
QColor recordRed(const QPalette &pal)
{
    return darkFace(pal) ? RecordColour.lighter(125) : RecordColour.darker(115);
}

// A colour for marks drawn on a lit button: white, unless black reads much better there.
QColor markOnLit(const QColor &lit)
{
    return contrast(Qt::black, lit) > 1.5 * contrast(Qt::white, lit) ? QColor(Qt::black) : QColor(Qt::white);
}

}  // namespace

TransportBlock::TransportBlock(QWidget *parent) : QWidget(parent)
{
    static const bool installed = (QAccessible::installFactory(transportBlockAccessible), true);
    Q_UNUSED(installed);

    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
}

QSize TransportBlock::sizeHint() const { return {290, 27}; }
QSize TransportBlock::minimumSizeHint() const { return {200, 21}; }

void TransportBlock::setVolume(int volume)
{
    volume = std::clamp(volume, 0, 100);
    if (volume == m_volume)
        return;
    m_volume = volume;
    update();
    noteVolumeChanged();
}

void TransportBlock::setMute(bool on)
{
    if (on == m_mute)
        return;
    m_mute = on;
    update();
    noteCheckedChange(Part::Mute);
}

void TransportBlock::showPlaying() { setState(State::Playing); }
void TransportBlock::showPaused() { setState(State::Paused); }
void TransportBlock::showStopped() { setState(State::Stopped); }
void TransportBlock::showRecording() { setState(State::Recording); }

void TransportBlock::setState(State s)
{
    if (s == m_state)
        return;
    const State before = m_state;
    m_state = s;
    update();
    if (!QAccessible::isActive())
        return;
    for (Part part : {Part::Play, Part::Pause, Part::Stop, Part::Record}) {
        if (latchedIn(part, before) != latchedIn(part, s))
            noteCheckedChange(part);
    }
    QAccessibleEvent named(this, QAccessible::NameChanged);
    named.setChild(DisplayChild);
    QAccessible::updateAccessibility(&named);
}

void TransportBlock::noteCheckedChange(Part part)
{
    if (!QAccessible::isActive())
        return;
    QAccessible::State changed;
    changed.checked = true;
    QAccessibleStateChangeEvent event(this, changed);
    event.setChild(int(part));
    QAccessible::updateAccessibility(&event);
}

void TransportBlock::noteFocusedPart()
{
    if (!QAccessible::isActive() || !hasFocus())
        return;
    QAccessibleEvent event(this, QAccessible::Focus);
    event.setChild(int(m_focusPart));
    QAccessible::updateAccessibility(&event);
}

void TransportBlock::setFocusPart(Part part)
{
    if (part == Part::None || part == m_focusPart)
        return;
    m_focusPart = part;
    update();
    noteFocusedPart();
}

void TransportBlock::noteVolumeChanged()
{
    m_volumeNotice.changed();
}

void TransportBlock::sendVolumeNotice()
{
    QAccessibleValueChangeEvent event(this, m_volume);
    event.setChild(KnobChild);
    QAccessible::updateAccessibility(&event);
}

TransportBlock::Layout TransportBlock::layout() const
{
    Layout l;
    const int w = width(), h = height();
    const int bh = std::max(10, h - 2);
    const int top = (h - bh) / 2;
    // Narrow blocks keep room for the state display.
    const int bw = w >= 400 ? bh + 11 : (w >= 320 ? bh + 6 : bh + 3);
    int x = 1;
    for (int i = 0; i < 4; ++i) {
        l.buttons[i] = QRect(x, top, bw, bh);
        // Record stands a little apart from the playback buttons.
        x += bw + (i == 2 ? 5 : 2);
    }
    const int muteW = bh + 4;
    l.mute = QRect(w - 1 - muteW, top, muteW, bh);
    const int d = std::max(10, h - 2);
    l.knob = QRect(l.mute.left() - 4 - d, (h - d) / 2, d, d);
    const int left = x + 4;
    const int right = l.knob.left() - 6;
    const int dw = std::min(right - left, 230);
    if (dw >= 40)
        l.display = QRect(left, top, dw, bh);
    return l;
}

QRect TransportBlock::partRect(Part part) const
{
    const Layout l = layout();
    switch (part) {
    case Part::Play: return l.buttons[0];
    case Part::Pause: return l.buttons[1];
    case Part::Stop: return l.buttons[2];
    case Part::Record: return l.buttons[3];
    case Part::Knob: return l.knob;
    case Part::Mute: return l.mute;
    default: return {};
    }
}

TransportBlock::Part TransportBlock::partAt(const QPoint &pos) const
{
    for (Part part : {Part::Play, Part::Pause, Part::Stop, Part::Record, Part::Mute}) {
        if (partRect(part).contains(pos))
            return part;
    }
    // The knob is round: only its disc (with a pixel of slack) takes the mouse.
    const QRect k = partRect(Part::Knob);
    const QPointF d = QPointF(pos) - QRectF(k).center();
    const double r = k.width() / 2.0 + 1;
    if (d.x() * d.x() + d.y() * d.y() <= r * r)
        return Part::Knob;
    return Part::None;
}

void TransportBlock::activate(Part part)
{
    if (part == Part::Mute) {
        m_mute = !m_mute;   // toggled first: the receiver reads mute
        update();
        noteCheckedChange(Part::Mute);
    }
    if (const std::optional<Button> button = buttonOf(part))
        emit clicked(*button);
}

void TransportBlock::userSetVolume(int volume)
{
    volume = std::clamp(volume, 0, 100);
    if (volume == m_volume)
        return;
    m_volume = volume;
    update();
    noteVolumeChanged();
    emit volumeChanged(m_volume);
}

// ---- painting -----------------------------------------------------------------------------

void TransportBlock::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const Layout l = layout();
    paintButton(p, Part::Play, l.buttons[0]);
    paintButton(p, Part::Pause, l.buttons[1]);
    paintButton(p, Part::Stop, l.buttons[2]);
    paintButton(p, Part::Record, l.buttons[3]);
    if (!l.display.isEmpty())
        paintDisplay(p, l.display);
    paintKnob(p, l.knob);
    paintButton(p, Part::Mute, l.mute);
}

void TransportBlock::paintButton(QPainter &p, Part part, const QRect &rect) const
{
    const bool on = isEnabled();
    const QPalette::ColorGroup group = on ? QPalette::Active : QPalette::Disabled;
    const QPalette &pal = palette();
    const QRectF r = QRectF(rect).adjusted(0.5, 0.5, -0.5, -0.5);
    const bool hot = on && m_hoverPart == part;
    const bool down = on && m_pressPart == part && m_hoverPart == part;

    QColor lit;
    if (part == Part::Play && m_state == State::Playing)
        lit = PlayColour;
    else if (part == Part::Pause && m_state == State::Paused)
        lit = PauseColour;
    else if (part == Part::Record && m_state == State::Recording)
        lit = RecordColour;
    if (lit.isValid() && !on)
        lit = paint::blend(lit, pal.color(group, QPalette::Button), 0.65);

    // Stop shows "nothing runs" by sitting pressed in; mute by sitting pressed in while on.
    const bool latched = (part == Part::Stop && m_state == State::Stopped) || (part == Part::Mute && m_mute);
    QColor symbol = pal.color(group, QPalette::ButtonText);
    if (lit.isValid()) {
        paint::drawLitBox(p, r, lit, hot, down, 3);
        symbol = Qt::white;
    } else {
        paint::drawRaisedBox(p, r, pal, group, hot, down || latched, 3);
        if (part == Part::Record)
            symbol = on ? recordRed(pal) : paint::blend(RecordColour, pal.color(group, QPalette::Button), 0.6);
        else if (latched && part == Part::Stop)
            symbol = paint::blend(symbol, pal.color(group, QPalette::Highlight), 0.35);
    }
    const QRectF inner = down ? r.translated(0.5, 0.5) : r;
    paintSymbol(p, part, inner, symbol);

    if (hasFocus() && m_focusPart == part) {
        // The keyboard mark: the button's text colour on a plain face (it reads there in any
        // palette), on a lit one whichever of white and black reads better.
        p.save();
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setPen(QPen(lit.isValid() ? markOnLit(lit) : pal.color(group, QPalette::ButtonText), 1, Qt::DotLine));
        p.setBrush(Qt::NoBrush);
        p.drawRect(rect.adjusted(3, 3, -4, -4));
        p.restore();
    }
}

void TransportBlock::paintSymbol(QPainter &p, Part part, const QRectF &r, const QColor &colour) const
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF c = r.center();
    const double s = std::min(r.width(), r.height()) * 0.36;   // half the symbol's size
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    switch (part) {
    case Part::Play: {
        QPainterPath path;
        path.moveTo(c.x() - s * 0.75, c.y() - s);
        path.lineTo(c.x() + s * 1.0, c.y());
        path.lineTo(c.x() - s * 0.75, c.y() + s);
        path.closeSubpath();
        p.drawPath(path);
        break;
    }
    case Part::Pause: {
        const double bw = s * 0.62, gap = s * 0.42;
        p.drawRoundedRect(QRectF(c.x() - gap / 2 - bw, c.y() - s * 0.9, bw, s * 1.8), 0.8, 0.8);
        p.drawRoundedRect(QRectF(c.x() + gap / 2, c.y() - s * 0.9, bw, s * 1.8), 0.8, 0.8);
        break;
    }
    case Part::Stop:
        p.drawRoundedRect(QRectF(c.x() - s * 0.82, c.y() - s * 0.82, s * 1.64, s * 1.64), 1.2, 1.2);
        break;
    case Part::Record: {
        QRadialGradient g(c - QPointF(s * 0.3, s * 0.3), s * 1.2);
        g.setColorAt(0, colour.lighter(140));
        g.setColorAt(1, colour);
        p.setBrush(g);
        p.drawEllipse(c, s * 0.88, s * 0.88);
        break;
    }
    case Part::Mute: {
        // Speaker: a box and a cone, then waves, or a red cross when muted.
        const double u = s * 0.5;
        const QPointF o(c.x() - u * 1.3, c.y());
        QPainterPath path;
        path.moveTo(o.x() - u * 0.9, o.y() - u * 0.55);
        path.lineTo(o.x() - u * 0.1, o.y() - u * 0.55);
        path.lineTo(o.x() + u * 0.9, o.y() - u * 1.5);
        path.lineTo(o.x() + u * 0.9, o.y() + u * 1.5);
        path.lineTo(o.x() - u * 0.1, o.y() + u * 0.55);
        path.lineTo(o.x() - u * 0.9, o.y() + u * 0.55);
        path.closeSubpath();
        p.drawPath(path);
        p.setBrush(Qt::NoBrush);
        const QPointF w0(o.x() + u * 1.5, o.y());
        if (m_mute) {
            const QColor cross = isEnabled() ? (darkFace(palette()) ? recordRed(palette()) : RecordColour) : colour;
            p.setPen(QPen(cross, std::max(1.5, u * 0.55), Qt::SolidLine, Qt::RoundCap));
            const double x0 = w0.x() + u * 0.15, x1 = w0.x() + u * 1.6;
            p.drawLine(QPointF(x0, o.y() - u * 0.75), QPointF(x1, o.y() + u * 0.75));
            p.drawLine(QPointF(x0, o.y() + u * 0.75), QPointF(x1, o.y() - u * 0.75));
        } else {
            p.setPen(QPen(colour, std::max(1.1, u * 0.38), Qt::SolidLine, Qt::RoundCap));
            for (int i = 1; i <= 2; ++i) {
                const double rad = u * (0.55 + 0.8 * i);
                const QRectF arc(w0.x() - rad, w0.y() - rad, 2 * rad, 2 * rad);
                p.drawArc(arc.translated(-u * 0.9, 0), -45 * 16, 90 * 16);
            }
        }
        break;
    }
    default:
        break;
    }
    p.restore();
}

void TransportBlock::paintDisplay(QPainter &p, const QRect &rect) const
{
    const QRectF r = QRectF(rect).adjusted(0.5, 0.5, -0.5, -0.5);
    paint::drawDisplayPanel(p, r, palette(), 3);

    QColor colour;
    QString longText, shortText;
    switch (m_state) {
    case State::Playing: colour = PlayColour.lighter(135); shortText = tr("PLAY", "state, short for PLAYING"); break;
    case State::Paused: colour = PauseColour.lighter(115); shortText = tr("PAUSE", "state, short for PAUSED"); break;
    case State::Recording: colour = RecordColour.lighter(130); shortText = tr("REC", "state, short for RECORDING"); break;
    case State::Stopped: colour = paint::displayGlow().darker(140); shortText = tr("STOP", "state, short for STOPPED"); break;
    }
    // The full word is also the display's name for a screen reader.
    longText = TransportBlockAccess::stateText(m_state);
    if (!isEnabled())
        colour = paint::blend(colour, paint::displayBackground(), 0.55);

    QFont f = font();
    f.setPixelSize(std::max(7, int(rect.height() * 0.4)));
    f.setBold(true);
    f.setLetterSpacing(QFont::AbsoluteSpacing, 0.6);
    p.save();
    p.setFont(f);
    const QFontMetrics fm(f);

    // State lamp.
    const double lampR = std::max(2.0, rect.height() * 0.13);
    const QPointF lampC(r.left() + 4 + lampR, r.center().y());
    const bool running = m_state != State::Stopped && isEnabled();
    if (running) {
        QRadialGradient halo(lampC, lampR * 2.6);
        halo.setColorAt(0, paint::withAlpha(colour, 150));
        halo.setColorAt(1, paint::withAlpha(colour, 0));
        p.setPen(Qt::NoPen);
        p.setBrush(halo);
        p.drawEllipse(lampC, lampR * 2.6, lampR * 2.6);
    }
    p.setPen(Qt::NoPen);
    p.setBrush(running ? colour : paint::displayGhost().lighter(130));
    p.drawEllipse(lampC, lampR, lampR);

    const double textLeft = lampC.x() + lampR + 4;
    QString volText = m_mute ? tr("MUTE", "state: the sound is off") : tr("VOL %1", "the volume, 0 to 100").arg(m_volume);
    const int volW = fm.horizontalAdvance(volText) + 6;
    const double avail = r.right() - 3 - textLeft;
    QString text = longText;
    bool showVol = fm.horizontalAdvance(longText) + volW + 8 <= avail;
    if (!showVol && fm.horizontalAdvance(longText) > avail)
        text = fm.horizontalAdvance(shortText) <= avail ? shortText : QString();
    if (!text.isEmpty()) {
        p.setPen(colour);
        p.drawText(QRectF(textLeft, r.top(), avail, r.height()), Qt::AlignLeft | Qt::AlignVCenter, text);
    }
    if (showVol) {
        QColor vc = m_mute ? RecordColour.lighter(120) : paint::displayGlow().darker(125);
        if (!isEnabled())
            vc = paint::blend(vc, paint::displayBackground(), 0.55);
        QFont vf = f;
        vf.setBold(false);
        p.setFont(vf);
        p.setPen(vc);
        p.drawText(QRectF(textLeft, r.top(), avail, r.height()), Qt::AlignRight | Qt::AlignVCenter, volText);
    }
    p.restore();
}

void TransportBlock::paintKnob(QPainter &p, const QRect &rect) const
{
    const bool on = isEnabled();
    const QPalette::ColorGroup group = on ? QPalette::Active : QPalette::Disabled;
    const QPalette &pal = palette();
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF c = QRectF(rect).center();
    const double R = rect.width() / 2.0 - 0.5;

    // The scale ring: its track, and the arc up to the current volume.
    const double ringR = R - 1.3;
    const QRectF ring(c.x() - ringR, c.y() - ringR, 2 * ringR, 2 * ringR);
    // On a dark window the palette's Mid and Dark hardly show; the track and the muted arc
    // are drawn in greys between the window and its text there.
    const bool darkWindow = pal.color(QPalette::Window).lightness() < 128;
    const QColor window = pal.color(group, QPalette::Window), windowText = pal.color(group, QPalette::WindowText);
    const QColor track = darkWindow ? paint::blend(window, windowText, 0.2) : pal.color(group, QPalette::Mid);
    const QColor mutedArc = darkWindow ? paint::blend(window, windowText, 0.5) : pal.color(group, QPalette::Dark);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(track, 2.4, Qt::SolidLine, Qt::FlatCap));
    p.drawArc(ring, int(KnobStartDeg * 16), int(-KnobSweepDeg * 16));
    if (m_volume > 0) {
        const QColor arc = m_mute ? mutedArc : pal.color(group, QPalette::Highlight);
        p.setPen(QPen(arc, 2.4, Qt::SolidLine, Qt::FlatCap));
        p.drawArc(ring, int(KnobStartDeg * 16), int(-KnobSweepDeg * m_volume / 100.0 * 16));
    }

    // The cap.
    const double capR = R - 3.6;
    const bool hot = on && (m_hoverPart == Part::Knob || m_pressPart == Part::Knob);
    QColor face = pal.color(group, QPalette::Button);
    if (hot)
        face = paint::blend(face, pal.color(group, QPalette::Light), 0.4);
    QLinearGradient g(c.x(), c.y() - capR, c.x(), c.y() + capR);
    // The gloss is the palette's light colour (white in a light palette), so a dark knob
    // stays dark.
    const QColor light = pal.color(group, QPalette::Light);
    g.setColorAt(0, paint::blend(face, light, 0.55));
    g.setColorAt(1, face.darker(118));
    p.setPen(QPen(paint::blend(pal.color(group, QPalette::Dark), pal.color(group, QPalette::Shadow), 0.4), 1));
    p.setBrush(g);
    p.drawEllipse(c, capR, capR);
    QLinearGradient top(c.x(), c.y() - capR, c.x(), c.y() + capR);
    top.setColorAt(0, face.darker(106));
    top.setColorAt(1, paint::blend(face, light, 0.35));
    p.setPen(Qt::NoPen);
    p.setBrush(top);
    p.drawEllipse(c, capR * 0.72, capR * 0.72);

    // The pointer.
    const double a = (KnobStartDeg - KnobSweepDeg * m_volume / 100.0) * M_PI / 180.0;
    const QPointF dir(std::cos(a), -std::sin(a));
    p.setPen(QPen(pal.color(group, QPalette::ButtonText), 1.8, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(c + dir * (capR * 0.25), c + dir * (capR * 0.85));

    if (hasFocus() && m_focusPart == Part::Knob) {
        // The keyboard mark rings the knob just outside the scale: in the highlight colour on
        // a light window where that stands out, else in the window's text colour (as the
        // buttons' marks are in theirs).
        QColor mark = pal.color(QPalette::Active, QPalette::Highlight);
        if (darkWindow || contrast(mark, pal.color(QPalette::Active, QPalette::Window)) < 3.0)
            mark = pal.color(QPalette::Active, QPalette::WindowText);
        p.setPen(QPen(mark, 1, Qt::DotLine));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(c, R + 0.9, R + 0.9);
    }
    p.restore();
}

// ---- mouse and keyboard -------------------------------------------------------------------

void TransportBlock::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    const Part part = partAt(event->position().toPoint());
    m_pressPart = part;
    m_hoverPart = part;
    setFocusPart(part);
    if (part == Part::Knob) {
        m_dragStartY = event->position().toPoint().y();
        m_dragStartVolume = m_volume;
    }
    update();
}

void TransportBlock::mouseMoveEvent(QMouseEvent *event)
{
    const QPoint pos = event->position().toPoint();
    if (m_pressPart == Part::Knob && (event->buttons() & Qt::LeftButton)) {
        userSetVolume(m_dragStartVolume + (m_dragStartY - pos.y()) / KnobPixelsPerStep);
        return;
    }
    const Part hover = partAt(pos);
    if (hover != m_hoverPart) {
        m_hoverPart = hover;
        update();
    }
}

void TransportBlock::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    const Part pressed = m_pressPart;
    m_pressPart = Part::None;
    const QPoint pos = event->position().toPoint();
    m_hoverPart = rect().contains(pos) ? partAt(pos) : Part::None;
    update();
    // A button clicks only when the mouse is let go over the button it went down on.
    if (isButton(pressed) && partAt(pos) == pressed)
        activate(pressed);
}

void TransportBlock::mouseDoubleClickEvent(QMouseEvent *event)
{
    // The second click of a quick pair is a click of its own (two fast Stop clicks are two).
    mousePressEvent(event);
}

void TransportBlock::wheelEvent(QWheelEvent *event)
{
    if (partAt(event->position().toPoint()) != Part::Knob && m_focusPart != Part::Knob) {
        event->ignore();
        return;
    }
    // One notch (120) is two volume steps; fine-grained wheels add up.
    m_wheelRemainder += event->angleDelta().y();
    const int steps = m_wheelRemainder / 60;
    m_wheelRemainder -= steps * 60;
    if (steps != 0)
        userSetVolume(m_volume + steps);
    event->accept();
}

void TransportBlock::keyPressEvent(QKeyEvent *event)
{
    const int key = event->key();
    auto moveFocus = [this](int delta) {
        const int next = std::clamp(int(m_focusPart) + delta, int(Part::Play), int(Part::Mute));
        setFocusPart(Part(next));
    };
    if (m_focusPart == Part::Knob) {
        switch (key) {
        case Qt::Key_Up: userSetVolume(m_volume + 1); return;
        case Qt::Key_Down: userSetVolume(m_volume - 1); return;
        case Qt::Key_PageUp: userSetVolume(m_volume + 10); return;
        case Qt::Key_PageDown: userSetVolume(m_volume - 10); return;
        case Qt::Key_Home: userSetVolume(0); return;
        case Qt::Key_End: userSetVolume(100); return;
        default: break;
        }
    }
    switch (key) {
    case Qt::Key_Left: moveFocus(-1); return;
    case Qt::Key_Right: moveFocus(+1); return;
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (isButton(m_focusPart) && !event->isAutoRepeat()) {
            activate(m_focusPart);
            return;
        }
        break;
    default: break;
    }
    QWidget::keyPressEvent(event);
}

void TransportBlock::focusInEvent(QFocusEvent *event)
{
    // Tab enters at the first part, Shift+Tab at the last.
    if (event->reason() == Qt::TabFocusReason)
        m_focusPart = Part::Play;
    else if (event->reason() == Qt::BacktabFocusReason)
        m_focusPart = Part::Mute;
    update();
    QWidget::focusInEvent(event);
    // A screen reader hears which part the keyboard now works on; once more when the
    // event loop comes round, as Qt tells of the block's own focus after this handler.
    noteFocusedPart();
    if (QAccessible::isActive())
        QTimer::singleShot(0, this, &TransportBlock::noteFocusedPart);
}

bool TransportBlock::focusNextPrevChild(bool next)
{
    // Tab walks through the parts before it leaves the block; a block being disabled lets
    // the focus go.
    if (hasFocus() && isEnabled()) {
        if (next && m_focusPart < Part::Mute) {
            setFocusPart(Part(int(m_focusPart) + 1));
            return true;
        }
        if (!next && m_focusPart > Part::Play) {
            setFocusPart(Part(int(m_focusPart) - 1));
            return true;
        }
    }
    return QWidget::focusNextPrevChild(next);
}

void TransportBlock::leaveEvent(QEvent *event)
{
    if (m_pressPart == Part::None)
        m_hoverPart = Part::None;
    update();
    QWidget::leaveEvent(event);
}

void TransportBlock::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::EnabledChange && !isEnabled()) {
        m_pressPart = Part::None;
        m_hoverPart = Part::None;
    }
    if (event->type() == QEvent::EnabledChange && QAccessible::isActive()) {
        // Every part is enabled or disabled with the block.
        QAccessible::State changed;
        changed.disabled = true;
        for (int i = 0; i < ChildCount; ++i) {
            QAccessibleStateChangeEvent note(this, changed);
            note.setChild(i);
            QAccessible::updateAccessibility(&note);
        }
    }
    if (event->type() == QEvent::PaletteChange)
        update();
    QWidget::changeEvent(event);
}
