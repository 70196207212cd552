#include "widgets/spectrum_view.h"
#include "widgets/spectrum_renderer.h"

#include <QPainter>
#include <QtTest>

#include <cmath>

using namespace spectrum;
using Kind = SpectrumStyle::Kind;
Q_DECLARE_METATYPE(Kind)

namespace {

constexpr QSize ViewSize(365, 230);   // the Record Sound tab's view in a 598 x 428 window

// The level of a sine at half of full scale: -6.02 dB.
const double HalfScale = 100 + 20 * std::log10(0.5);

// Levels per bin as an analysis finds them for a tone of `level` at `hz`: a main lobe three
// bins wide over a soft floor that falls with frequency.
std::vector<float> toneLevels(double hz, double level, int size, int rate)
{
    const double binHz = double(rate) / size;
    std::vector<float> v(size_t(size / 2 + 1));
    for (size_t k = 0; k < v.size(); ++k)
        v[k] = float(std::max(0.0, 30 - 10 * std::log10(1 + k * binHz / 200)));
    const int peak = int(std::lround(hz / binHz));
    for (int d = -2; d <= 2; ++d) {
        const int k = peak + d;
        if (k >= 0 && k < int(v.size()))
            v[size_t(k)] = float(std::max<double>(v[size_t(k)], level - (d == 0 ? 0 : std::abs(d) == 1 ? 6 : 30)));
    }
    return v;
}

SpectrumFrame toneFrame(double hz, int size, int rate)
{
    SpectrumFrame f;
    f.left = toneLevels(hz, HalfScale, size, rate);
    f.sampleRate = rate;
    f.size = size;
    return f;
}

// Left and right carry different tones.
SpectrumFrame stereoFrame(double leftHz, double rightHz, int size, int rate)
{
    SpectrumFrame f = toneFrame(leftHz, size, rate);
    f.right = toneLevels(rightHz, 100 + 20 * std::log10(0.3), size, rate);
    return f;
}

SpectrumFrame silentFrame(int size, int rate)
{
    SpectrumFrame f;
    f.left.assign(size_t(size / 2 + 1), 0.0f);
    f.sampleRate = rate;
    f.size = size;
    return f;
}

int peakBin(const std::vector<float> &levels)
{
    return int(std::max_element(levels.begin(), levels.end()) - levels.begin());
}

SpectrumStyle styleFor(Kind kind)
{
    SpectrumStyle s = SpectrumStyle::fromPalette(QPalette());
    s.kind = kind;
    return s;
}

QImage render(const SpectrumFrame &frame, const SpectrumStyle &style, QSize size = ViewSize)
{
    QImage img(size, QImage::Format_RGB32);
    img.fill(Qt::magenta);
    QPainter p(&img);
    renderSpectrum(p, img.rect(), frame, style);
    return img;
}

bool isDrawn(QRgb px, const SpectrumStyle &s)
{
    return px != s.backColor.rgb() && px != s.gridColor.rgb();
}

}  // namespace

class TestSpectrum : public QObject {
    Q_OBJECT
private slots:
    // ---- drawing ----

    void tonePeakInItsColumn_data()
    {
        QTest::addColumn<int>("size");
        QTest::addColumn<Kind>("kind");
        QTest::addColumn<int>("rate");
        for (int size : {256, 1024, 4096})
            for (Kind kind : {Kind::Analog, Kind::Linear, Kind::Normal, Kind::Kryptonite})
                for (int rate : {44100, 48000})
                    QTest::addRow("%d points, style %d, %d Hz", size, int(kind), rate) << size << kind << rate;
    }
    void tonePeakInItsColumn()
    {
        QFETCH(int, size);
        QFETCH(Kind, kind);
        QFETCH(int, rate);
        const SpectrumFrame f = toneFrame(1000, size, rate);
        const SpectrumStyle style = styleFor(kind);
        const QImage img = render(f, style);
        const QRect plot = plotRect(img.rect(), style);

        // The column whose drawing reaches highest.
        int bestTop = plot.bottom() + 1, first = -1, last = -1;
        for (int x = plot.left(); x < plot.right(); ++x) {
            int top = plot.bottom() + 1;
            for (int y = plot.top(); y < plot.bottom(); ++y) {
                if (isDrawn(img.pixel(x, y), style)) {
                    top = y;
                    break;
                }
            }
            if (top < bestTop) {
                bestTop = top;
                first = last = x;
            } else if (top == bestTop) {
                last = x;
            }
        }
        QVERIFY(first >= 0);
        const double expected = xForFrequency(1000, plot, kind, rate);
        // Allowed: the gap beside a bar, and half a bin's width (the peak bin's centre need
        // not be 1 kHz).
        const double binPx = xForFrequency(1000 + f.binHz(), plot, kind, rate) - expected;
        const double slack = binPx / 2 + 3;
        QVERIFY2(expected >= first - slack && expected <= last + slack,
                 qPrintable(QString("peak at %1..%2, 1 kHz at %3").arg(first).arg(last).arg(expected)));
        // And its height is the tone's level.
        const double y = yForLevel(HalfScale, plot, style);
        QVERIFY2(std::abs(bestTop - y) <= 4 + (kind == Kind::Kryptonite ? 4 : 0),
                 qPrintable(QString("top %1, expected %2").arg(bestTop).arg(y)));
    }

    void axesAreOrdered_data()
    {
        QTest::addColumn<Kind>("kind");
        for (int v = 0; v < SpectrumStyle::KindCount; ++v)
            QTest::addRow("style %d", v) << Kind(v);
    }
    void axesAreOrdered()
    {
        QFETCH(Kind, kind);
        const QRect plot = plotRect(QRect(QPoint(0, 0), ViewSize), styleFor(kind));
        QCOMPARE(xForFrequency(hasLogAxis(kind) ? LogAxisMinHz : 0, plot, kind, 44100), double(plot.left()));
        QCOMPARE(xForFrequency(22050, plot, kind, 44100), double(plot.left() + plot.width()));
        double prev = -1;
        for (double hz = 30; hz < 22050; hz *= 1.5) {
            const double x = xForFrequency(hz, plot, kind, 44100);
            QVERIFY(x > prev);
            QVERIFY(std::abs(frequencyForX(x, plot, kind, 44100) - hz) < 1e-6 * hz + 1e-6);
            prev = x;
        }
        QCOMPARE(yForLevel(100, plot, styleFor(kind)), double(plot.top()));
        QCOMPARE(yForLevel(0, plot, styleFor(kind)), double(plot.top() + plot.height()));
    }

    void emptyFrameShowsOnlyBackgroundAndGrid_data()
    {
        QTest::addColumn<Kind>("kind");
        for (int v = 0; v < SpectrumStyle::KindCount; ++v)
            QTest::addRow("style %d", v) << Kind(v);
    }
    void emptyFrameShowsOnlyBackgroundAndGrid()
    {
        QFETCH(Kind, kind);
        const SpectrumStyle style = styleFor(kind);
        const QImage img = render(SpectrumFrame(), style);
        const QRect plot = plotRect(img.rect(), style);
        int grid = 0;
        for (int y = plot.top(); y < plot.bottom(); ++y)
            for (int x = plot.left(); x < plot.right(); ++x) {
                QVERIFY(!isDrawn(img.pixel(x, y), style));
                grid += img.pixel(x, y) == style.gridColor.rgb();
            }
        QVERIFY(grid > 100);
        // The scales sit in the button-face colour, with text on them.
        QCOMPARE(QColor(img.pixel(2, 2)), style.scaleColor);
        bool text = false;
        for (int y = plot.bottom() + 2; y < img.height() && !text; ++y)
            for (int x = plot.left(); x < plot.right() && !text; ++x)
                text = QColor(img.pixel(x, y)) != style.scaleColor;
        QVERIFY(text);
    }

    void everyStyleLooksDifferent()
    {
        const SpectrumFrame f = stereoFrame(440, 3000, 1024, 44100);
        QList<QImage> images;
        for (int v = 0; v < SpectrumStyle::KindCount; ++v)
            images << render(f, styleFor(Kind(v)));
        for (int a = 0; a < SpectrumStyle::KindCount; ++a)
            for (int b = a + 1; b < SpectrumStyle::KindCount; ++b) {
                // Count differing pixels; the styles differ by far more than a few.
                int differ = 0;
                for (int y = 0; y < images[a].height(); ++y)
                    for (int x = 0; x < images[a].width(); ++x)
                        differ += images[a].pixel(x, y) != images[b].pixel(x, y);
                QVERIFY2(differ > 1000, qPrintable(QString("styles %1 and %2 differ in %3 pixels").arg(a).arg(b).arg(differ)));
            }
    }

    void channelColours()
    {
        // Left red, right blue where both channels show.
        const SpectrumFrame f = stereoFrame(1000, 3000, 1024, 44100);
        for (Kind kind : {Kind::Analog, Kind::Linear, Kind::Normal}) {
            const SpectrumStyle style = styleFor(kind);
            const QImage img = render(f, style);
            const QRect plot = plotRect(img.rect(), style);
            bool red = false, blue = false;
            for (int y = plot.top(); y < plot.bottom(); ++y)
                for (int x = plot.left(); x < plot.right(); ++x) {
                    const QColor c(img.pixel(x, y));
                    red |= c.red() > 180 && c.green() < 90 && c.blue() < 90;
                    blue |= c.blue() > 180 && c.red() < 120 && c.green() < 120;
                }
            QVERIFY2(red && blue, qPrintable(QString("style %1").arg(int(kind))));
        }
    }

    // ---- the view ----

    void viewDefaults()
    {
        SpectrumView view;
        QCOMPARE(view.styleKind(), Kind::Normal);
        QCOMPARE(view.backColor(), QColor(Qt::black));
        QCOMPARE(view.gridColor(), QColor(0x70, 0x70, 0x70));
        QCOMPARE(view.scaleColor(), view.palette().color(QPalette::Button));
        QCOMPARE(view.textColor(), view.palette().color(QPalette::ButtonText));
        QCOMPARE(view.lineColorLeft(), QColor(Qt::red));
        QCOMPARE(view.lineColorRight(), QColor(Qt::blue));
        QCOMPARE(view.borderColor(), QColor(Qt::black));
        QVERIFY(view.gridVisible() && view.scaleXVisible() && view.scaleYVisible());
        QCOMPARE(view.gridYMin(), 0);
        QCOMPARE(view.gridYMax(), 100);
        QVERIFY(view.frame().isEmpty());
        view.setStyleKind(Kind::Kryptonite);
        QCOMPARE(view.style().kind, Kind::Kryptonite);
    }

    void viewPaintsWhatTheRendererPaints()
    {
        SpectrumView view;
        view.resize(ViewSize);
        view.setStyleKind(Kind::Fire);
        view.showFrame(stereoFrame(500, 2500, 1024, 44100));
        QCOMPARE(view.frame().size, 1024);
        QVERIFY(view.frame().isStereo());
        QCOMPARE(view.grab().toImage().convertToFormat(QImage::Format_RGB32), render(view.frame(), view.style()));
    }

    void emptyFrameClearsTheView()
    {
        SpectrumView view;
        view.resize(ViewSize);
        const QImage blank = view.grab().toImage();
        view.showFrame(toneFrame(1000, 1024, 44100));
        QVERIFY(!view.frame().isEmpty());
        QVERIFY(view.grab().toImage() != blank);
        view.showFrame(SpectrumFrame());
        QVERIFY(view.frame().isEmpty());
        QCOMPARE(view.grab().toImage(), blank);
    }

    void barsFallRatherThanVanish()
    {
        SpectrumView view;
        view.showFrame(toneFrame(1000, 1024, 32000));
        const int bin = peakBin(view.frame().left);
        const float loud = view.frame().left[size_t(bin)];
        view.showFrame(silentFrame(1024, 32000));
        // A frame later the bar has dropped only a little, its peak cap even less.
        QVERIFY(view.frame().left[size_t(bin)] > loud - 20);
        QVERIFY(view.frame().leftPeak[size_t(bin)] >= view.frame().left[size_t(bin)]);
        QTRY_VERIFY_WITH_TIMEOUT((view.showFrame(silentFrame(1024, 32000)), view.frame().left[size_t(bin)] < 1), 5000);
    }
};

QTEST_MAIN(TestSpectrum)
#include "tst_spectrum.moc"
