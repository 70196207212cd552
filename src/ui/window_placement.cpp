#include "ui/window_placement.h"

#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace {

QMargins framingOf(const QWidget *w)
{
    const QRect outer = w->frameGeometry();
    const QRect inner = w->geometry();
    return QMargins(inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
                    outer.bottom() - inner.bottom());
}

}  // namespace

QMargins windowFrameMargins(const QWidget *window, const QWidget *owner)
{
    const QMargins own = framingOf(window);
    return own.isNull() && owner ? framingOf(owner) : own;
}

void centreOnOwner(QWidget *window, const QWidget *owner)
{
    const QSize outer = window->size().grownBy(windowFrameMargins(window, owner));
    // move() places the outer rectangle's top-left corner; the window stays on the screen.
    QPoint topLeft = owner->frameGeometry().center() - QPoint((outer.width() - 1) / 2, (outer.height() - 1) / 2);
    if (const QScreen *screen = owner->screen()) {
        const QRect area = screen->availableGeometry();
        if (area.isValid()) {
            topLeft.setX(std::clamp(topLeft.x(), area.left(), std::max(area.left(), area.right() + 1 - outer.width())));
            topLeft.setY(std::clamp(topLeft.y(), area.top(), std::max(area.top(), area.bottom() + 1 - outer.height())));
        }
    }
    window->move(topLeft);
}
