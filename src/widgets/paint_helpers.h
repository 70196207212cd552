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

// Whether the palette's window is dark: colours that carry a meaning (a meter's green,
// yellow and red) take their brighter variants there.
bool isDark(const QPalette &pal);

// A meter's zones: a good level, a loud one and one near the top, as the window's
// brightness wants them (the familiar ones on a light window, brighter on a dark one).
QColor levelGood(const QPalette &pal);
QColor levelLoud(const QPalette &pal);
QColor levelOver(const QPalette &pal);

// The glass of a meter: a display's dark glass in a light window, in a dark window the
// palette's own field colour, so the meter sits in the window like any other field.
QColor meterGlass(const QPalette &pal);

// A sunken panel like drawDisplayPanel, with its glass in the given colour.
void drawSunkenPanel(QPainter &p, const QRectF &r, const QPalette &pal, const QColor &glass,
                     qreal radius);

// A display's dark glass with a bezel that marks its edge in any window: in a light window
// just drawDisplayPanel; in a dark one the bezel is a light grey from the window's text
// colour, so the dark glass does not melt into the dark window around it.
void drawFramedDisplayPanel(QPainter &p, const QRectF &r, const QPalette &pal, qreal radius);

// A colour for lines and texts on a background: the palette's text colour, or whichever
// of black and white reads better on that background when the text colour does not.
QColor readableOn(const QColor &background, const QPalette &pal);

}  // namespace paint
