#include "ui/link_label.h"

#include <QMouseEvent>

LinkLabel::LinkLabel(const QString &text, const QUrl &url, QWidget *parent)
    : QLabel(text, parent), m_url(url)
{
    setTextFormat(Qt::PlainText);
    setCursor(Qt::PointingHandCursor);
    setToolTip(url.toString());
    // Only the text is the link, not the row's free space beside it.
    setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Fixed);
    setHovered(false);
}

void LinkLabel::setHovered(bool on)
{
    m_hovered = on;
    QPalette p = palette();
    p.setColor(QPalette::WindowText, on ? HoverColor : NormalColor);
    setPalette(p);
    QFont f = font();
    f.setUnderline(on);
    setFont(f);
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
