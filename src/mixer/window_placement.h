// Placing the equalizer and filter windows over the main window.
#pragma once

#include <QRect>
#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace placement {

// Moves a top-level window so that its frame's centre lies on the main window's frame's
// centre, kept inside the screen's free area. Before a window's first showing its frame is
// not known yet: the main window's frame stands in for it.
inline void centreOn(QWidget *window, const QWidget *main)
{
    const QRect mainFrame = main->frameGeometry();
    QSize size = window->frameGeometry().size();
    if (size == window->size())
        size += mainFrame.size() - main->size();
    QPoint topLeft(mainFrame.left() + (mainFrame.width() - size.width()) / 2,
                   mainFrame.top() + (mainFrame.height() - size.height()) / 2);
    if (const QScreen *screen = main->screen()) {
        const QRect area = screen->availableGeometry();
        if (area.isValid()) {
            topLeft.setX(std::clamp(topLeft.x(), area.left(), std::max(area.left(), area.right() + 1 - size.width())));
            topLeft.setY(std::clamp(topLeft.y(), area.top(), std::max(area.top(), area.bottom() + 1 - size.height())));
        }
    }
    window->move(topLeft);
}

}  // namespace placement
