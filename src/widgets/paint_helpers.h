// Small painting helpers shared by the painted controls.
#pragma once

#include <QColor>
#include <QPainter>
#include <QPalette>
#include <QRectF>

namespace paint {

// a mixed with b; t = 0 gives a, t = 1 gives b.
QColor blend(const QColor &a, const QColor &b, double t);
QColor withAlpha(QColor c, int alpha);

// A raised, rounded box in the palette's button colours (a button face or a slider grip).
// hot: the mouse is over it; down: it is pressed.
void drawRaisedBox(QPainter &p, const QRectF &r, const QPalette &pal, QPalette::ColorGroup group,
                   bool hot, bool down, qreal radius);

// A box lit in one colour (the active transport button).
void drawLitBox(QPainter &p, const QRectF &r, const QColor &colour, bool hot, bool down,
                qreal radius);

// The dark, slightly sunken glass of a display (time, state, level meter).
void drawDisplayPanel(QPainter &p, const QRectF &r, const QPalette &pal, qreal radius);

// The colours of the dark displays.
QColor displayBackground();
QColor displayGlow();   // lit digits and texts
QColor displayGhost();  // unlit segments

}  // namespace paint
