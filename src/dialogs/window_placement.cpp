#include "dialogs/window_placement.h"

#include <QWidget>

namespace {

QMargins framingOf(const QWidget *w)
{
    const QRect outer = w->frameGeometry();
    const QRect inner = w->geometry();
    return QMargins(inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
                    outer.bottom() - inner.bottom());
}

}  // namespace

QMargins WindowFrameMargins(const QWidget *window, const QWidget *owner)
{
    const QMargins own = framingOf(window);
    return own.isNull() && owner ? framingOf(owner) : own;
}

void CentreOnOwner(QWidget *window, const QWidget *owner)
{
    const QSize outer = window->size().grownBy(WindowFrameMargins(window, owner));
    // move() places the outer rectangle's top-left corner.
    window->move(owner->frameGeometry().center() - QPoint((outer.width() - 1) / 2, (outer.height() - 1) / 2));
}
