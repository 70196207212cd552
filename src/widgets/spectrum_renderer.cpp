#include "widgets/spectrum_renderer.h"

#include <QFontMetrics>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPalette>

#include <algorithm>
#include <cmath>

namespace spectrum {

// ---- axes ---------------------------------------------------------------------------------

SpectrumStyle SpectrumStyle::fromPalette(const QPalette &palette)
{
    SpectrumStyle s;
    s.scaleColor = palette.color(QPalette::Active, QPalette::Button);
    s.textColor = palette.color(QPalette::Active, QPalette::ButtonText);
    s.font.setPixelSize(9);
    return s;
}

namespace {

struct Margins {
    int left, top, right, bottom;
};

Margins scaleMargins(const SpectrumStyle &style)
{
    const QFontMetrics fm(style.font);
    Margins m{1, 1, 1, 1};
    if (style.scaleYVisible) {
        m.left = fm.horizontalAdvance(QStringLiteral("100")) + 7;
        m.top = fm.height() / 2 + 2;
    }
    if (style.scaleXVisible) {
        m.bottom = fm.height() + 3;
        m.right = fm.horizontalAdvance(QStringLiteral("20k")) / 2 + 2;
        m.top = std::max(m.top, 3);
    }
    return m;
}

double nyquist(int sampleRate) { return (sampleRate > 0 ? sampleRate : 44100) / 2.0; }

QString hzText(double hz)
{
    if (hz >= 1000) {
        const double k = hz / 1000;
        return std::abs(k - std::round(k)) < 1e-6 ? QStringLiteral("%1k").arg(qRound(k))
                                                   : QStringLiteral("%1k").arg(k, 0, 'f', 1);
    }
    return QString::number(qRound(hz));
}

}  // namespace

QRect plotRect(const QRect &area, const SpectrumStyle &style)
{
    const Margins m = scaleMargins(style);
    return area.adjusted(m.left, m.top, -m.right, -m.bottom);
}

bool hasLogAxis(SpectrumStyle::Kind kind) { return kind != SpectrumStyle::Kind::Linear; }

double xForFrequency(double hz, const QRect &plot, SpectrumStyle::Kind kind, int sampleRate)
{
    const double ny = nyquist(sampleRate);
    double t;
    if (hasLogAxis(kind))
        t = hz <= LogAxisMinHz ? 0.0 : std::log(hz / LogAxisMinHz) / std::log(ny / LogAxisMinHz);
    else
        t = hz / ny;
    return plot.left() + std::clamp(t, 0.0, 1.0) * plot.width();
}

double frequencyForX(double x, const QRect &plot, SpectrumStyle::Kind kind, int sampleRate)
{
    const double ny = nyquist(sampleRate);
    const double t = std::clamp((x - plot.left()) / std::max(1, plot.width()), 0.0, 1.0);
    if (hasLogAxis(kind))
        return LogAxisMinHz * std::pow(ny / LogAxisMinHz, t);
    return t * ny;
}

double yForLevel(double level, const QRect &plot, const SpectrumStyle &style)
{
    const double span = std::max(1, style.gridYMax - style.gridYMin);
    const double t = std::clamp((level - style.gridYMin) / span, 0.0, 1.0);
    return plot.top() + plot.height() - t * plot.height();
}

int barPitch(SpectrumStyle::Kind kind, int plotWidth)
{
    using Kind = SpectrumStyle::Kind;
    int pitch = 0;
    switch (kind) {
    case Kind::Linear: pitch = 5; break;
    case Kind::Normal: pitch = 8; break;
    case Kind::Fire: pitch = 6; break;
    case Kind::Glass: pitch = 10; break;
    case Kind::Kryptonite: pitch = 7; break;
    case Kind::Analog: return 0;
    }
    // Keep at least a dozen bars in a narrow view.
    return std::max(3, std::min(pitch, plotWidth / 12));
}

// ---- drawing ------------------------------------------------------------------------------

namespace {

// The highest level of the bins between fa and fb (Hz); where a band is narrower than a
// bin, the level interpolated at its centre.
float levelIn(const std::vector<float> &bins, double binHz, double fa, double fb)
{
    if (bins.empty() || binHz <= 0)
        return 0.0f;
    const int last = int(bins.size()) - 1;
    const int ka = std::max(0, int(std::ceil(fa / binHz)));
    const int kb = std::min(last, int(std::floor(fb / binHz - 1e-9)));
    if (ka <= kb)
        return *std::max_element(bins.begin() + ka, bins.begin() + kb + 1);
    const double pos = std::clamp((fa + fb) / 2 / binHz, 0.0, double(last));
    const int i = std::min(int(pos), last);
    const int j = std::min(i + 1, last);
    const double t = pos - i;
    return float(bins[size_t(i)] * (1 - t) + bins[size_t(j)] * t);
}

struct Band {
    int x, w;          // pixels
    float left, right; // levels
    float peak;        // the higher channel's falling peak
};

std::vector<Band> makeBands(const SpectrumFrame &f, const QRect &plot, SpectrumStyle::Kind kind, int pitch)
{
    std::vector<Band> bands;
    const int count = std::max(1, plot.width() / pitch);
    const int x0 = plot.left() + (plot.width() - count * pitch) / 2;
    bands.reserve(size_t(count));
    const double binHz = f.binHz();
    for (int i = 0; i < count; ++i) {
        const int xa = x0 + i * pitch;
        const double fa = frequencyForX(xa, plot, kind, f.sampleRate);
        const double fb = frequencyForX(xa + pitch, plot, kind, f.sampleRate);
        Band b{xa, pitch, levelIn(f.left, binHz, fa, fb), 0.0f, 0.0f};
        if (f.isStereo())
            b.right = levelIn(f.right, binHz, fa, fb);
        const float pl = levelIn(f.leftPeak.empty() ? f.left : f.leftPeak, binHz, fa, fb);
        const float pr = f.isStereo() ? levelIn(f.rightPeak.empty() ? f.right : f.rightPeak, binHz, fa, fb) : 0.0f;
        b.peak = std::max({pl, pr, b.left, b.right});
        bands.push_back(b);
    }
    return bands;
}

// QPainter hands a fill of more than about 96 scanlines to a thread pool, and waking the
// pool costs several times what a bar's fill does; tall fills therefore go in slabs.
void fillSlabs(QPainter &p, const QRect &r, const QBrush &brush)
{
    constexpr int Slab = 64;
    for (int y = r.top(); y <= r.bottom(); y += Slab)
        p.fillRect(QRect(r.left(), y, r.width(), std::min(Slab, r.bottom() - y + 1)), brush);
}

// A bar from level y down to the plot's base, x..x+w.
QRect barRect(int x, int w, double y, int base)
{
    const int top = qRound(y);
    return QRect(x, top, w, base - top);
}

void drawGradientBar(QPainter &p, const QRect &r, const QColor &colour)
{
    if (r.height() <= 0 || r.width() <= 0)
        return;
    QLinearGradient g(0, r.bottom() + 1, 0, r.top());
    g.setColorAt(0, colour.darker(260));
    g.setColorAt(0.7, colour);
    g.setColorAt(1, colour.lighter(150));
    fillSlabs(p, r, g);
}

void drawAnalog(QPainter &p, const QRect &plot, const SpectrumFrame &f, const SpectrumStyle &s)
{
    const double binHz = f.binHz();
    // Column edges in Hz, shared by both traces.
    std::vector<double> edges(size_t(plot.width() + 1));
    for (int i = 0; i <= plot.width(); ++i)
        edges[size_t(i)] = frequencyForX(plot.left() + i, plot, SpectrumStyle::Kind::Analog, f.sampleRate);
    auto trace = [&](const std::vector<float> &bins, const QColor &colour) {
        QPolygonF line;
        line.reserve(plot.width() + 2);
        for (int i = 0; i < plot.width(); ++i)
            line << QPointF(plot.left() + i + 0.5,
                            yForLevel(levelIn(bins, binHz, edges[size_t(i)], edges[size_t(i + 1)]), plot, s));
        // A faint glow under the trace; its edge needs no smoothing, the line covers it.
        QPolygonF fill = line;
        fill << QPointF(plot.right() + 0.5, plot.bottom() + 1) << QPointF(plot.left() + 0.5, plot.bottom() + 1);
        QLinearGradient g(0, plot.top(), 0, plot.bottom());
        QColor a = colour;
        a.setAlpha(110);
        QColor b = colour;
        b.setAlpha(10);
        g.setColorAt(0, a);
        g.setColorAt(1, b);
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setPen(Qt::NoPen);
        p.setBrush(g);
        p.drawPolygon(fill);
        p.setRenderHint(QPainter::Antialiasing, true);
        QPen pen(colour.lighter(115), 1.0);
        pen.setCosmetic(true);
        p.setPen(pen);
        p.setBrush(Qt::NoBrush);
        p.drawPolyline(line);
    };
    if (f.isStereo())
        trace(f.right, s.lineColorRight);
    trace(f.left, s.lineColorLeft);
    p.setRenderHint(QPainter::Antialiasing, false);
}

void drawChannelBars(QPainter &p, const QRect &plot, const SpectrumFrame &f, const SpectrumStyle &s)
{
    const int pitch = barPitch(s.kind, plot.width());
    const int base = plot.top() + plot.height();
    for (const Band &b : makeBands(f, plot, s.kind, pitch)) {
        const int gap = pitch >= 6 ? 2 : 1;
        const int w = b.w - gap;
        if (f.isStereo()) {
            const int wl = std::max(1, w / 2);
            drawGradientBar(p, barRect(b.x, wl, yForLevel(b.left, plot, s), base), s.lineColorLeft);
            drawGradientBar(p, barRect(b.x + wl, std::max(1, w - wl), yForLevel(b.right, plot, s), base),
                            s.lineColorRight);
        } else {
            drawGradientBar(p, barRect(b.x, w, yForLevel(b.left, plot, s), base), s.lineColorLeft);
        }
    }
}

void drawFire(QPainter &p, const QRect &plot, const SpectrumFrame &f, const SpectrumStyle &s)
{
    const int pitch = barPitch(SpectrumStyle::Kind::Fire, plot.width());
    const int base = plot.top() + plot.height();
    // One gradient over the whole height: a bar's colour tells its height.
    QLinearGradient g(0, base, 0, plot.top());
    g.setColorAt(0.0, QColor(0x40, 0x00, 0x00));
    g.setColorAt(0.3, QColor(0xb4, 0x08, 0x00));
    g.setColorAt(0.55, QColor(0xff, 0x46, 0x00));
    g.setColorAt(0.75, QColor(0xff, 0x9c, 0x00));
    g.setColorAt(0.9, QColor(0xff, 0xe0, 0x40));
    g.setColorAt(1.0, QColor(0xff, 0xfb, 0xe0));
    for (const Band &b : makeBands(f, plot, SpectrumStyle::Kind::Fire, pitch)) {
        const QRect r = barRect(b.x, b.w - 1, yForLevel(std::max(b.left, b.right), plot, s), base);
        if (r.height() <= 0)
            continue;
        fillSlabs(p, r, g);
        // A hot tip.
        p.fillRect(QRect(r.left(), r.top(), r.width(), std::min(2, r.height())), QColor(0xff, 0xf0, 0xa0, 200));
    }
}

void drawGlass(QPainter &p, const QRect &plot, const SpectrumFrame &f, const SpectrumStyle &s)
{
    const int pitch = barPitch(SpectrumStyle::Kind::Glass, plot.width());
    const int base = plot.top() + plot.height();
    const QColor edge(0x90, 0xd8, 0xff, 150), core(0x40, 0x90, 0xff, 80);
    const QColor rim(0xc0, 0xea, 0xff, 210);
    const QColor sheen(255, 255, 255, 120);

    for (const Band &b : makeBands(f, plot, SpectrumStyle::Kind::Glass, pitch)) {
        const QRect r = barRect(b.x, b.w - 2, yForLevel(std::max(b.left, b.right), plot, s), base);
        if (r.height() <= 2)
            continue;
        // Tinted glass, thicker at the edges.
        QLinearGradient body(r.left(), 0, r.right() + 1, 0);
        body.setColorAt(0.0, edge);
        body.setColorAt(0.5, core);
        body.setColorAt(1.0, edge);
        fillSlabs(p, r, body);
        p.setPen(rim);
        p.setBrush(Qt::NoBrush);
        p.drawRect(r.adjusted(0, 0, -1, -1));
        // Reflections: a bright streak down the left side and a sheen at the top.
        const QRect streakRect(r.left() + 1, r.top() + 1, std::max(1, r.width() * 3 / 10), r.height() - 2);
        QLinearGradient streak(0, streakRect.top(), 0, streakRect.bottom() + 1);
        streak.setColorAt(0, QColor(255, 255, 255, 170));
        streak.setColorAt(1, QColor(255, 255, 255, 20));
        fillSlabs(p, streakRect, streak);
        p.fillRect(QRect(r.left() + 1, r.top() + 1, r.width() - 2, std::min(2, r.height() - 2)), sheen);
        // The floor mirrors the pane faintly at its foot.
        const int h = std::min(r.height() / 4, plot.height() / 12);
        if (h > 0) {
            QLinearGradient mirror(0, base - h, 0, base);
            mirror.setColorAt(0, QColor(0xb0, 0xe4, 0xff, 0));
            mirror.setColorAt(1, QColor(0xb0, 0xe4, 0xff, 70));
            fillSlabs(p, QRect(r.left() + 1, base - h, r.width() - 2, h), mirror);
        }
    }
}

void drawKryptonite(QPainter &p, const QRect &plot, const SpectrumFrame &f, const SpectrumStyle &s)
{
    const int pitch = barPitch(SpectrumStyle::Kind::Kryptonite, plot.width());
    const int base = plot.top() + plot.height();
    constexpr int Seg = 3, Gap = 1;
    // One column of lit segments over the whole height, tiled across every bar; the gaps
    // stay clear so that the glow shows through them. The column has a row per device pixel,
    // so that on a high-density screen the segments' edges and colours stay sharp.
    const qreal dpr = p.device() ? std::max<qreal>(1.0, p.device()->devicePixelRatioF()) : 1.0;
    const int rows = int(std::ceil(plot.height() * dpr));
    QImage column(1, std::max(1, rows), QImage::Format_ARGB32_Premultiplied);
    column.fill(Qt::transparent);
    const QColor low(0x06, 0x5a, 0x16), mid(0x22, 0xd8, 0x3c), high(0xa8, 0xff, 0x9c);
    for (int row = 0; row < rows; ++row) {
        // Height of the row's middle above the base, in the plot's units.
        const double fromBase = plot.height() - (row + 0.5) / dpr;
        if (fromBase < 0 || std::fmod(fromBase, Seg + Gap) >= Seg)
            continue;
        const double t = std::clamp((fromBase - 0.5) / std::max(1, plot.height() - 1), 0.0, 1.0);
        const QColor c = t < 0.6 ? QColor::fromRgbF(low.redF() + (mid.redF() - low.redF()) * t / 0.6,
                                                    low.greenF() + (mid.greenF() - low.greenF()) * t / 0.6,
                                                    low.blueF() + (mid.blueF() - low.blueF()) * t / 0.6)
                                 : QColor::fromRgbF(mid.redF() + (high.redF() - mid.redF()) * (t - 0.6) / 0.4,
                                                    mid.greenF() + (high.greenF() - mid.greenF()) * (t - 0.6) / 0.4,
                                                    mid.blueF() + (high.blueF() - mid.blueF()) * (t - 0.6) / 0.4);
        column.setPixel(0, row, c.rgba());
    }
    QBrush segments(column);
    if (dpr != 1.0)
        segments.setTransform(QTransform::fromScale(1 / dpr, 1 / dpr));   // a row per device pixel
    const std::vector<Band> bands = makeBands(f, plot, SpectrumStyle::Kind::Kryptonite, pitch);
    // The glow first, so that no bar's halo covers its neighbour.
    for (const Band &b : bands) {
        const int y = qRound(yForLevel(std::max(b.left, b.right), plot, s));
        if (base - y >= 1)
            fillSlabs(p, QRect(b.x - 1, y - 2, b.w + 1, base - y + 2), QColor(0x40, 0xff, 0x60, 38));
    }
    p.setBrushOrigin(0, plot.top());
    const QColor cap(0xdc, 0xff, 0xd8);
    for (const Band &b : bands) {
        const double y = yForLevel(std::max(b.left, b.right), plot, s);
        const int w = b.w - 2;
        // Whole segments only: the top one is the highest that starts at or below y.
        const int lit = std::max(0, int((base - y + 0.5 + Gap) / (Seg + Gap)));
        const int top = base - lit * (Seg + Gap) + Gap;
        if (lit > 0)
            fillSlabs(p, QRect(b.x, top, w, base - top), segments);
        // Peak cap: where the band's peak was lately, falling slowly.
        const double py = yForLevel(b.peak, plot, s);
        if (b.peak > s.gridYMin + 0.5)
            p.fillRect(QRectF(b.x, std::min(py, y) - 3, w, 2), cap);
    }
    p.setBrushOrigin(0, 0);
}

void drawGrid(QPainter &p, const QRect &plot, const SpectrumStyle &s, const std::vector<double> &xs,
              const std::vector<double> &ys)
{
    p.setPen(QPen(s.gridColor, 1, Qt::DotLine));
    for (double x : xs)
        p.drawLine(QPointF(std::floor(x) + 0.5, plot.top()), QPointF(std::floor(x) + 0.5, plot.bottom()));
    for (double y : ys)
        p.drawLine(QPointF(plot.left(), std::floor(y) + 0.5), QPointF(plot.right(), std::floor(y) + 0.5));
}

}  // namespace

void renderSpectrum(QPainter &p, const QRect &area, const SpectrumFrame &frame, const SpectrumStyle &style)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    const QRect plot = plotRect(area, style);
    fillSlabs(p, area, style.scaleColor);
    if (plot.width() < 2 || plot.height() < 2) {
        p.restore();
        return;
    }
    fillSlabs(p, plot, style.backColor);

    const SpectrumStyle::Kind kind = style.kind;
    const int sampleRate = frame.sampleRate > 0 ? frame.sampleRate : 44100;
    const QFontMetrics fm(style.font);

    // Y: a line every 20 levels, every 10 when there is room.
    std::vector<double> gridY;
    std::vector<int> levelsY;
    const int span = std::max(1, style.gridYMax - style.gridYMin);
    const int stepY = plot.height() * 10 / span >= fm.height() + 4 ? 10 : 20;
    for (int v = style.gridYMin; v <= style.gridYMax; v += stepY) {
        levelsY.push_back(v);
        if (v != style.gridYMin && v != style.gridYMax)
            gridY.push_back(yForLevel(v, plot, style));
    }

    // X: round frequencies; labels only where they do not collide.
    const double ny = sampleRate / 2.0;
    std::vector<double> freqs;
    if (hasLogAxis(kind)) {
        for (double decade = 10; decade <= ny; decade *= 10)
            for (double m : {1.0, 2.0, 5.0})
                if (decade * m >= LogAxisMinHz * 1.5 && decade * m <= ny)
                    freqs.push_back(decade * m);
    } else {
        const int wide = fm.horizontalAdvance(QStringLiteral("20k")) + 10;
        double step = 500;
        for (double c : {500.0, 1000.0, 2000.0, 2500.0, 5000.0, 10000.0}) {
            step = c;
            if (plot.width() * c / ny >= wide)
                break;
        }
        for (double f = step; f < ny; f += step)
            freqs.push_back(f);
    }
    std::vector<double> gridX;
    for (double f : freqs)
        gridX.push_back(xForFrequency(f, plot, kind, sampleRate));

    if (style.gridVisible)
        drawGrid(p, plot, style, gridX, gridY);

    if (!frame.isEmpty()) {
        p.save();
        p.setClipRect(plot);
        switch (kind) {
        case SpectrumStyle::Kind::Analog: drawAnalog(p, plot, frame, style); break;
        case SpectrumStyle::Kind::Linear:
        case SpectrumStyle::Kind::Normal: drawChannelBars(p, plot, frame, style); break;
        case SpectrumStyle::Kind::Fire: drawFire(p, plot, frame, style); break;
        case SpectrumStyle::Kind::Glass: drawGlass(p, plot, frame, style); break;
        case SpectrumStyle::Kind::Kryptonite: drawKryptonite(p, plot, frame, style); break;
        }
        p.restore();
    }

    p.setPen(style.borderColor);
    p.setBrush(Qt::NoBrush);
    p.drawRect(plot.adjusted(-1, -1, 0, 0));

    p.setFont(style.font);
    p.setPen(style.textColor);
    if (style.scaleYVisible) {
        for (int v : levelsY) {
            const int y = qRound(yForLevel(v, plot, style));
            p.drawLine(plot.left() - 4, y, plot.left() - 2, y);
            p.drawText(QRect(area.left(), y - fm.height() / 2, plot.left() - area.left() - 5, fm.height()),
                       Qt::AlignRight | Qt::AlignVCenter, QString::number(v));
        }
    }
    if (style.scaleXVisible) {
        double lastRight = -1e9;
        const int top = plot.bottom() + 2;
        for (size_t i = 0; i < freqs.size(); ++i) {
            const QString t = hzText(freqs[i]);
            const int w = fm.horizontalAdvance(t);
            const double x = gridX[i];
            p.drawLine(QPointF(std::floor(x) + 0.5, plot.bottom() + 1), QPointF(std::floor(x) + 0.5, plot.bottom() + 2));
            if (x - w / 2.0 < lastRight + 4 || x + w / 2.0 > area.right() + 1)
                continue;
            p.drawText(QRectF(x - w / 2.0 - 1, top, w + 2, fm.height()), Qt::AlignCenter, t);
            lastRight = x + w / 2.0;
        }
    }
    p.restore();
}

}  // namespace spectrum
