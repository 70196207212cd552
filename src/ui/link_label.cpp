#include "ui/link_label.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyleOptionFocusRect>
#include <QStylePainter>

LinkLabel::LinkLabel(const QString &text, const QUrl &url, QWidget *parent)
    : QLabel(text, parent), m_url(url)
{
    setTextFormat(Qt::PlainText);
    setCursor(Qt::PointingHandCursor);
    setToolTip(url.toString());
    // Only the text is the link, not the row's free space beside it.
    setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Fixed);
    // Tab reaches the link; a click with the pointer does not take the keyboard to it.
    setFocusPolicy(Qt::TabFocus);
    setHovered(false);
}

void LinkLabel::setHovered(bool on)
{
    m_hovered = on;
    // The window shows through the label: its lightness says which pair of colours stands out.
    const bool dark = palette().color(QPalette::Window).lightness() < 128;
    const QColor colour = on ? (dark ? DarkHoverColor : HoverColor) : (dark ? DarkNormalColor : NormalColor);
    if (palette().color(QPalette::WindowText) != colour) {
        QPalette p = palette();
        p.setColor(QPalette::WindowText, colour);
        setPalette(p);
    }
    QFont f = font();
    f.setUnderline(on);
    setFont(f);
}

void LinkLabel::changeEvent(QEvent *event)
{
    QLabel::changeEvent(event);
    // A new palette from the window may be dark where the old one was light, or the reverse.
    if (event->type() == QEvent::PaletteChange)
        setHovered(m_hovered);
}

void LinkLabel::keyPressEvent(QKeyEvent *event)
{
    const bool plain = !(event->modifiers() & ~Qt::KeypadModifier);
    if (plain && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter || event->key() == Qt::Key_Space)) {
        event->accept();
        emit clicked();
        return;
    }
    QLabel::keyPressEvent(event);
}

void LinkLabel::paintEvent(QPaintEvent *event)
{
    QLabel::paintEvent(event);
    if (!hasFocus())
        return;
    QStylePainter painter(this);
    QStyleOptionFocusRect option;
    option.initFrom(this);
    option.backgroundColor = palette().color(QPalette::Window);
    painter.drawPrimitive(QStyle::PE_FrameFocusRect, option);
}

void LinkLabel::enterEvent(QEnterEvent *event)
{
    setHovered(true);
    QLabel::enterEvent(event);
}

void LinkLabel::leaveEvent(QEvent *event)
{
    setHovered(false);
    m_pressed = false;
    QLabel::leaveEvent(event);
}

void LinkLabel::mousePressEvent(QMouseEvent *event)
{
    m_pressed = event->button() == Qt::LeftButton;
    QLabel::mousePressEvent(event);
}

void LinkLabel::mouseReleaseEvent(QMouseEvent *event)
{
    // A press that slides off the link and is released elsewhere opens nothing.
    const bool click = m_pressed && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    m_pressed = false;
    QLabel::mouseReleaseEvent(event);
    if (click)
        emit clicked();
}
