// Placing a dialog over its owner window.
#pragma once

#include <QMargins>
#include <QSize>

class QWidget;

// The title bar and border the window system puts around window: its own once it is known,
// else the owner's, which comes from the same window manager.
QMargins windowFrameMargins(const QWidget *window, const QWidget *owner);

// Moves window so that its outer rectangle is centred on the owner's, kept on the screen.
void centreOnOwner(QWidget *window, const QWidget *owner);
