#include "widgets/paint_helpers.h"

#include <QLinearGradient>

#include <algorithm>
#include <cstdlib>

namespace paint {

QColor blend(const QColor &a, const QColor &b, double t)
{
    t = std::clamp(t, 0.0, 1.0);
    const QColor x = a.toRgb(), y = b.toRgb();
    return QColor::fromRgbF(float(x.redF() + (y.redF() - x.redF()) * t),
                            float(x.greenF() + (y.greenF() - x.greenF()) * t),
                            float(x.blueF() + (y.blueF() - x.blueF()) * t),
                            float(x.alphaF() + (y.alphaF() - x.alphaF()) * t));
}

QColor withAlpha(QColor c, int alpha)
{
    c.setAlpha(alpha);
    return c;
}

void drawRaisedBox(QPainter &p, const QRectF &r, const QPalette &pal, QPalette::ColorGroup group,
                   bool hot, bool down, qreal radius)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    QColor face = pal.color(group, QPalette::Button);
    if (hot && !down)
        face = blend(face, pal.color(group, QPalette::Light), 0.45);
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    if (down) {
        g.setColorAt(0, face.darker(118));
        g.setColorAt(1, face.darker(104));
    } else {
        g.setColorAt(0, blend(face, Qt::white, 0.45));
        g.setColorAt(0.5, face);
        g.setColorAt(1, face.darker(112));
    }
    const QColor border = blend(pal.color(group, QPalette::Dark), pal.color(group, QPalette::Shadow), 0.35);
    p.setPen(QPen(border, 1));
    p.setBrush(g);
    p.drawRoundedRect(r, radius, radius);
    if (!down) {
        // Inner highlight along the top edge.
        p.setPen(QPen(withAlpha(Qt::white, 120), 1));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(r.adjusted(1, 1, -1, -1), std::max<qreal>(0, radius - 1),
                          std::max<qreal>(0, radius - 1));
    }
    p.restore();
}

void drawLitBox(QPainter &p, const QRectF &r, const QColor &colour, bool hot, bool down,
                qreal radius)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    QColor c = hot ? colour.lighter(112) : colour;
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, down ? c.darker(110) : c.lighter(140));
    g.setColorAt(0.55, c);
    g.setColorAt(1, c.darker(125));
    p.setPen(QPen(colour.darker(170), 1));
    p.setBrush(g);
    p.drawRoundedRect(r, radius, radius);
    // A soft gloss on the upper half, as on a lit panel lamp.
    QRectF gloss = r.adjusted(1.5, 1.5, -1.5, -r.height() / 2);
    QLinearGradient gg(gloss.topLeft(), gloss.bottomLeft());
    gg.setColorAt(0, withAlpha(Qt::white, down ? 40 : 110));
    gg.setColorAt(1, withAlpha(Qt::white, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(gg);
    p.drawRoundedRect(gloss, std::max<qreal>(0, radius - 1.5), std::max<qreal>(0, radius - 1.5));
    p.restore();
}

void drawDisplayPanel(QPainter &p, const QRectF &r, const QPalette &pal, qreal radius)
{
    drawSunkenPanel(p, r, pal, displayBackground(), radius);
}

QColor displayBackground() { return QColor(0x10, 0x18, 0x16); }
QColor displayGlow() { return QColor(0x5c, 0xf0, 0xb4); }
QColor displayGhost() { return QColor(0x19, 0x27, 0x23); }

bool isDark(const QPalette &pal)
{
    return pal.color(QPalette::Window).lightness() < 128;
}

QColor levelGood(const QPalette &pal)
{
    return isDark(pal) ? QColor(0x5e, 0xf2, 0x78) : QColor(0x3c, 0xe0, 0x5a);
}

QColor levelLoud(const QPalette &pal)
{
    return isDark(pal) ? QColor(0xff, 0xd8, 0x4a) : QColor(0xff, 0xc8, 0x1e);
}

QColor levelOver(const QPalette &pal)
{
    return isDark(pal) ? QColor(0xff, 0x5e, 0x52) : QColor(0xff, 0x3b, 0x30);
}

QColor meterGlass(const QPalette &pal)
{
    if (!isDark(pal))
        return displayBackground();
    // The darker of the palette's field and window colours, a little deeper still, so
    // the unlit segments stay dim and the lit ones stand out.
    const QColor base = pal.color(QPalette::Base), window = pal.color(QPalette::Window);
    const QColor field = base.lightness() <= window.lightness() ? base : window;
    return field.darker(115);
}

void drawSunkenPanel(QPainter &p, const QRectF &r, const QPalette &pal, const QColor &glass,
                     qreal radius)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    // The bezel: darker above, lighter below, so the glass sits below the panel surface.
    QLinearGradient bezel(r.topLeft(), r.bottomLeft());
    bezel.setColorAt(0, pal.color(QPalette::Dark));
    bezel.setColorAt(1, pal.color(QPalette::Light));
    p.setPen(Qt::NoPen);
    p.setBrush(bezel);
    p.drawRoundedRect(r, radius + 1, radius + 1);
    const QRectF inner = r.adjusted(1, 1, -1, -1);
    QLinearGradient g(inner.topLeft(), inner.bottomLeft());
    g.setColorAt(0, glass.lighter(135));
    g.setColorAt(0.45, glass);
    g.setColorAt(1, glass.darker(130));
    p.setBrush(g);
    p.drawRoundedRect(inner, radius, radius);
    p.restore();
}

void drawFramedDisplayPanel(QPainter &p, const QRectF &r, const QPalette &pal, qreal radius)
{
    if (!isDark(pal)) {
        drawDisplayPanel(p, r, pal, radius);
        return;
    }
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    // About the greys of the light look's bezel, taken from the window's text colour, and a
    // little wider, so the edge holds even where the bezel's outer half meets the window.
    const QColor window = pal.color(QPalette::Window), text = pal.color(QPalette::WindowText);
    QLinearGradient bezel(r.topLeft(), r.bottomLeft());
    bezel.setColorAt(0, blend(window, text, 0.65));
    bezel.setColorAt(1, blend(window, text, 0.8));
    p.setPen(Qt::NoPen);
    p.setBrush(bezel);
    p.drawRoundedRect(r, radius + 1, radius + 1);
    const QRectF glass = r.adjusted(1.5, 1.5, -1.5, -1.5);
    QLinearGradient g(glass.topLeft(), glass.bottomLeft());
    const QColor bg = displayBackground();
    g.setColorAt(0, bg.lighter(135));
    g.setColorAt(0.45, bg);
    g.setColorAt(1, bg.darker(130));
    p.setBrush(g);
    p.drawRoundedRect(glass, std::max<qreal>(0, radius - 0.5), std::max<qreal>(0, radius - 0.5));
    p.restore();
}

QColor readableOn(const QColor &background, const QPalette &pal)
{
    const QColor text = pal.color(QPalette::WindowText);
    if (std::abs(text.lightness() - background.lightness()) >= 110)
        return text;
    return background.lightness() < 128 ? QColor(Qt::white) : QColor(Qt::black);
}

}  // namespace paint
