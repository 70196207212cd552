#include "common/test_audio.h"
#include "widgets/spectrum_view.h"
#include "widgets/spectrum_renderer.h"

#include <QPainter>
#include <QtTest>

#include <cmath>

using engine::SampleArray;
using namespace spectrum;

namespace {

constexpr QSize ViewSize(365, 230);   // the Record Sound tab's view in a 598 x 428 window

SampleArray toneBlock(double hz, int frames, int rate, int channels = 1, float amplitude = 0.5f)
{
    return SampleArray::fromFloat(testaudio::tone(hz, double(frames) / rate, rate, channels, amplitude), rate,
                                  channels);
}

// Left and right carry different tones.
SampleArray stereoBlock(double leftHz, double rightHz, int frames, int rate)
{
    const std::vector<float> l = testaudio::tone(leftHz, double(frames) / rate, rate, 1, 0.5f);
    const std::vector<float> r = testaudio::tone(rightHz, double(frames) / rate, rate, 1, 0.3f);
    std::vector<float> v(l.size() * 2);
    for (size_t i = 0; i < l.size(); ++i) {
        v[2 * i] = l[i];
        v[2 * i + 1] = r[i];
    }
    return SampleArray::fromFloat(v, rate, 2);
}

int peakBin(const std::vector<float> &levels)
{
    return int(std::max_element(levels.begin(), levels.end()) - levels.begin());
}

SpectrumStyle styleFor(int visType)
{
    SpectrumStyle s = SpectrumStyle::fromPalette(QPalette());
    s.visType = visType;
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
    // ---- analysis ----

    void windowShapes_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<double>("edge");     // w[0] and w[N-1]
        QTest::addColumn<double>("centre");   // w at the middle
        QTest::newRow("none") << int(wtNone) << 1.0 << 1.0;
        QTest::newRow("welch") << int(wtWelch) << 0.0 << 1.0;
        QTest::newRow("bartlett") << int(wtBartlett) << 0.0 << 1.0;
        QTest::newRow("hanning") << int(wtHanning) << 0.0 << 1.0;
        QTest::newRow("hamming") << int(wtHamming) << 0.08 << 1.0;
    }
    void windowShapes()
    {
        QFETCH(int, type);
        QFETCH(double, edge);
        QFETCH(double, centre);
        for (int n : {256, 1024, 4096}) {
            const std::vector<float> w = windowFunction(n, type);
            QCOMPARE(int(w.size()), n);
            QVERIFY(std::abs(w.front() - edge) < 1e-6);
            QVERIFY(std::abs(w.back() - edge) < 1e-6);
            QVERIFY(std::abs(w[size_t(n / 2)] - centre) < 5e-3);
            for (int i = 0; i < n / 2; ++i)   // symmetric, rising to the middle
                QVERIFY(std::abs(w[size_t(i)] - w[size_t(n - 1 - i)]) < 1e-5 && w[size_t(i)] <= w[size_t(i + 1)] + 1e-6);
        }
    }

    void toneLevelAndBin_data()
    {
        QTest::addColumn<int>("size");
        QTest::addColumn<int>("window");
        for (int size : {256, 1024, 4096})
            for (int w = 0; w < WindowTypeCount; ++w)
                QTest::addRow("%d points, window %d", size, w) << size << w;
    }
    void toneLevelAndBin()
    {
        // 1 kHz at 32 kHz falls on a bin centre at every size, so each window reads the
        // tone's own level: 0.5 of full scale is -6.02 dB, level 93.98.
        QFETCH(int, size);
        QFETCH(int, window);
        const SpectrumFrame f = analyseSpectrum(toneBlock(1000, size * 2, 32000), size, window);
        QCOMPARE(f.size, size);
        QCOMPARE(f.sampleRate, 32000);
        QCOMPARE(int(f.left.size()), size / 2 + 1);
        QVERIFY(!f.isStereo());
        const int bin = peakBin(f.left);
        QCOMPARE(bin, int(std::lround(1000 / f.binHz())));
        const double expected = 100 + 20 * std::log10(0.5);
        QVERIFY2(std::abs(f.left[size_t(bin)] - expected) < 0.5, qPrintable(QString::number(f.left[size_t(bin)])));
    }

    void endBins_data()
    {
        QTest::addColumn<QString>("signal");
        QTest::addColumn<double>("dc");        // expected level of bin 0
        QTest::addColumn<double>("nyquist");   // and of the last bin
        const double half = 100 + 20 * std::log10(0.5);
        QTest::newRow("offset of 0.5") << "dc" << half << 0.0;
        QTest::newRow("alternating 0.5") << "nyquist" << 0.0 << half;
        QTest::newRow("tone between") << "tone" << 0.0 << 0.0;
    }
    void endBins()
    {
        QFETCH(QString, signal);
        QFETCH(double, dc);
        QFETCH(double, nyquist);
        for (int size : {256, 1024, 4096}) {
            std::vector<float> v(size_t(2 * size));
            for (size_t i = 0; i < v.size(); ++i)
                v[i] = signal == "dc" ? 0.5f : signal == "nyquist" ? (i % 2 ? -0.5f : 0.5f)
                                                                     : float(0.5 * std::sin(2 * M_PI * 1000 * double(i) / 32000));
            const SpectrumFrame f = analyseSpectrum(SampleArray::fromFloat(v, 32000, 1), size, wtNone);
            QVERIFY2(std::abs(f.left.front() - dc) < 0.5, qPrintable(QString::number(f.left.front())));
            QVERIFY2(std::abs(f.left.back() - nyquist) < 0.5, qPrintable(QString::number(f.left.back())));
        }
    }

    void windowsTameLeakage()
    {
        // Off a bin centre, the bare block leaks far up the spectrum; a Hanning window does not.
        const SampleArray block = toneBlock(1000, 2048, 44100);
        const SpectrumFrame bare = analyseSpectrum(block, 1024, wtNone);
        const SpectrumFrame hann = analyseSpectrum(block, 1024, wtHanning);
        const int far = int(8000 / bare.binHz());
        QVERIFY(bare.left[size_t(far)] > hann.left[size_t(far)] + 30);
        QCOMPARE(peakBin(bare.left), peakBin(hann.left));
    }

    void stereoChannelsApart()
    {
        const SpectrumFrame f = analyseSpectrum(stereoBlock(1000, 3000, 1024, 32000), 1024, wtHanning);
        QVERIFY(f.isStereo());
        QCOMPARE(peakBin(f.left), 32);
        QCOMPARE(peakBin(f.right), 96);
    }

    void int16MatchesFloat()
    {
        const std::vector<float> v = testaudio::tone(2000, 0.1, 32000, 1, 0.5f);
        std::vector<qint16> s(v.size());
        for (size_t i = 0; i < v.size(); ++i)
            s[i] = qint16(std::lround(v[i] * 32767));
        const SpectrumFrame a = analyseSpectrum(SampleArray::fromFloat(v, 32000, 1), 1024, wtHamming);
        const SpectrumFrame b = analyseSpectrum(SampleArray::fromInt16(s.data(), qint64(s.size()), 32000, 1), 1024, wtHamming);
        QCOMPARE(peakBin(a.left), peakBin(b.left));
        QVERIFY(std::abs(a.left[64] - b.left[64]) < 0.1);
    }

    void newestFramesAreAnalysed()
    {
        // 3072 frames of 500 Hz, then 1024 of 3 kHz: a 1024-point look sees only the latter.
        std::vector<float> v = testaudio::tone(500, 3072.0 / 32000, 32000, 1, 0.5f);
        const std::vector<float> tail = testaudio::tone(3000, 1024.0 / 32000, 32000, 1, 0.5f);
        v.insert(v.end(), tail.begin(), tail.end());
        const SpectrumFrame f = analyseSpectrum(SampleArray::fromFloat(v, 32000, 1), 1024, wtHanning);
        QCOMPARE(peakBin(f.left), 96);
        QVERIFY(f.left[16] < 40);
        // The 4096-point look sees both.
        const SpectrumFrame wide = analyseSpectrum(SampleArray::fromFloat(v, 32000, 1), 4096, wtHanning);
        QVERIFY(wide.left[64] > 80);
        QVERIFY(wide.left[384] > 60);   // heard through the window's falling edge
    }

    void shortBlockIsPadded()
    {
        const SpectrumFrame f = analyseSpectrum(toneBlock(1000, 300, 32000), 4096, wtNone);
        QCOMPARE(f.size, 4096);
        QVERIFY(std::abs(peakBin(f.left) * f.binHz() - 1000) < 40);
    }

    void emptyOrBrokenInput()
    {
        QVERIFY(analyseSpectrum(SampleArray(), 1024, wtNone).isEmpty());
        std::vector<float> v(2048, std::nanf(""));
        const SpectrumFrame f = analyseSpectrum(SampleArray::fromFloat(v, 44100, 1), 1024, wtNone);
        QVERIFY(!f.isEmpty());
        for (float x : f.left)
            QCOMPARE(x, 0.0f);
        // A block without a rate is drawn as 44.1 kHz rather than not at all.
        QCOMPARE(analyseSpectrum(SampleArray::fromFloat(testaudio::tone(1000, 0.05, 44100, 1), 0, 1), 256, 0).sampleRate, 44100);
    }

    void sizesSnapToTheSupportedOnes_data()
    {
        QTest::addColumn<int>("size");
        QTest::addColumn<int>("expected");
        QTest::newRow("tiny") << 10 << 256;
        QTest::newRow("256") << 256 << 256;
        QTest::newRow("1000") << 1000 << 1024;
        QTest::newRow("1024") << 1024 << 1024;
        QTest::newRow("3000") << 3000 << 4096;
        QTest::newRow("huge") << 100000 << 4096;
    }
    void sizesSnapToTheSupportedOnes()
    {
        QFETCH(int, size);
        QFETCH(int, expected);
        QCOMPARE(validSize(size), expected);
        SpectrumView view;
        view.SetWindowArraySize(size);
        QCOMPARE(view.GetWindowArraySize(), expected);
    }

    // ---- drawing ----

    void tonePeakInItsColumn_data()
    {
        QTest::addColumn<int>("size");
        QTest::addColumn<int>("visType");
        QTest::addColumn<int>("rate");
        for (int size : {256, 1024, 4096})
            for (int vis : {int(vtFFTAnalog), int(vtFFTLinear), int(vtFFTNormal), int(vtFFTKryptonite)})
                for (int rate : {44100, 48000})
                    QTest::addRow("%d points, style %d, %d Hz", size, vis, rate) << size << vis << rate;
    }
    void tonePeakInItsColumn()
    {
        QFETCH(int, size);
        QFETCH(int, visType);
        QFETCH(int, rate);
        const SpectrumFrame f = analyseSpectrum(toneBlock(1000, size * 2, rate), size, wtHanning);
        const SpectrumStyle style = styleFor(visType);
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
        const double expected = xForFrequency(1000, plot, visType, rate);
        // Allowed: the gap beside a bar, and half a bin's width (the peak bin's centre need
        // not be 1 kHz).
        const double binPx = xForFrequency(1000 + f.binHz(), plot, visType, rate) - expected;
        const double slack = binPx / 2 + 3;
        QVERIFY2(expected >= first - slack && expected <= last + slack,
                 qPrintable(QString("peak at %1..%2, 1 kHz at %3").arg(first).arg(last).arg(expected)));
        // And its height is the tone's level.
        const double y = yForLevel(100 + 20 * std::log10(0.5), plot, style);
        QVERIFY2(std::abs(bestTop - y) <= 4 + (visType == vtFFTKryptonite ? 4 : 0),
                 qPrintable(QString("top %1, expected %2").arg(bestTop).arg(y)));
    }

    void axesAreOrdered_data()
    {
        QTest::addColumn<int>("visType");
        for (int v = 0; v < VisTypeCount; ++v)
            QTest::addRow("style %d", v) << v;
    }
    void axesAreOrdered()
    {
        QFETCH(int, visType);
        const QRect plot = plotRect(QRect(QPoint(0, 0), ViewSize), styleFor(visType));
        QCOMPARE(xForFrequency(hasLogAxis(visType) ? LogAxisMinHz : 0, plot, visType, 44100), double(plot.left()));
        QCOMPARE(xForFrequency(22050, plot, visType, 44100), double(plot.left() + plot.width()));
        double prev = -1;
        for (double hz = 30; hz < 22050; hz *= 1.5) {
            const double x = xForFrequency(hz, plot, visType, 44100);
            QVERIFY(x > prev);
            QVERIFY(std::abs(frequencyForX(x, plot, visType, 44100) - hz) < 1e-6 * hz + 1e-6);
            prev = x;
        }
        QCOMPARE(yForLevel(100, plot, styleFor(visType)), double(plot.top()));
        QCOMPARE(yForLevel(0, plot, styleFor(visType)), double(plot.top() + plot.height()));
    }

    void emptyFrameShowsOnlyBackgroundAndGrid_data()
    {
        QTest::addColumn<int>("visType");
        for (int v = 0; v < VisTypeCount; ++v)
            QTest::addRow("style %d", v) << v;
    }
    void emptyFrameShowsOnlyBackgroundAndGrid()
    {
        QFETCH(int, visType);
        const SpectrumStyle style = styleFor(visType);
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
        const SpectrumFrame f = analyseSpectrum(stereoBlock(440, 3000, 2048, 44100), 1024, wtHanning);
        QList<QImage> images;
        for (int v = 0; v < VisTypeCount; ++v)
            images << render(f, styleFor(v));
        for (int a = 0; a < VisTypeCount; ++a)
            for (int b = a + 1; b < VisTypeCount; ++b) {
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
        const SpectrumFrame f = analyseSpectrum(stereoBlock(1000, 3000, 2048, 44100), 1024, wtHanning);
        for (int vis : {int(vtFFTAnalog), int(vtFFTLinear), int(vtFFTNormal)}) {
            const SpectrumStyle style = styleFor(vis);
            const QImage img = render(f, style);
            const QRect plot = plotRect(img.rect(), style);
            bool red = false, blue = false;
            for (int y = plot.top(); y < plot.bottom(); ++y)
                for (int x = plot.left(); x < plot.right(); ++x) {
                    const QColor c(img.pixel(x, y));
                    red |= c.red() > 180 && c.green() < 90 && c.blue() < 90;
                    blue |= c.blue() > 180 && c.red() < 120 && c.green() < 120;
                }
            QVERIFY2(red && blue, qPrintable(QString("style %1").arg(vis)));
        }
    }

    // ---- the view ----

    void viewDefaults()
    {
        SpectrumView view;
        QCOMPARE(view.property("VisType").toInt(), 2);
        QCOMPARE(view.property("WindowArraySize").toInt(), 1024);
        QCOMPARE(view.property("WindowFFTType").toInt(), 0);
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
        engine::IAudioVisualization2 *contract = &view;
        contract->SetVisType(5);
        QCOMPARE(view.GetVisType(), 5);
        contract->SetVisType(9);
        QCOMPARE(view.GetVisType(), 5);
        contract->SetWindowFFTType(4);
        QCOMPARE(view.GetWindowFFTType(), 4);
        contract->SetWindowFFTType(-1);
        QCOMPARE(view.GetWindowFFTType(), 0);
    }

    void viewAnalysesAtItsSize_data()
    {
        QTest::addColumn<int>("size");
        QTest::newRow("256") << 256;
        QTest::newRow("1024") << 1024;
        QTest::newRow("4096") << 4096;
    }
    void viewAnalysesAtItsSize()
    {
        QFETCH(int, size);
        SpectrumView view;
        view.SetWindowArraySize(size);
        // The feed hands twice the size.
        view.DrawArray(toneBlock(1000, 2 * size, 32000, 2));
        QCOMPARE(view.frame().size, size);
        QVERIFY(view.frame().isStereo());
        QCOMPARE(peakBin(view.frame().left), size * 1000 / 32000);
    }

    void viewPaintsWhatTheRendererPaints()
    {
        SpectrumView view;
        view.resize(ViewSize);
        view.SetVisType(vtFFTFire);
        view.DrawArray(stereoBlock(500, 2500, 2048, 44100));
        QCOMPARE(view.grab().toImage().convertToFormat(QImage::Format_RGB32), render(view.frame(), view.style()));
    }

    void emptyArrayClearsTheView()
    {
        SpectrumView view;
        view.resize(ViewSize);
        const QImage blank = view.grab().toImage();
        view.DrawArray(toneBlock(1000, 2048, 44100));
        QVERIFY(!view.frame().isEmpty());
        QVERIFY(view.grab().toImage() != blank);
        view.DrawArray(SampleArray());
        QVERIFY(view.frame().isEmpty());
        QCOMPARE(view.grab().toImage(), blank);
    }

    void windowTypeChangesTheAnalysis()
    {
        SpectrumView view;
        const SampleArray block = toneBlock(1000, 2048, 44100);
        view.DrawArray(block);
        const std::vector<float> bare = view.frame().left;
        view.DrawArray(SampleArray());   // start afresh, without the bars' fall-off
        view.SetWindowFFTType(wtHamming);
        view.DrawArray(block);
        QVERIFY(view.frame().left != bare);
    }

    void barsFallRatherThanVanish()
    {
        SpectrumView view;
        view.DrawArray(toneBlock(1000, 2048, 32000));
        const int bin = peakBin(view.frame().left);
        const float loud = view.frame().left[size_t(bin)];
        view.DrawArray(SampleArray::fromFloat(std::vector<float>(2048, 0.0f), 32000, 1));
        // A block later the bar has dropped only a little, its peak cap even less.
        QVERIFY(view.frame().left[size_t(bin)] > loud - 20);
        QVERIFY(view.frame().leftPeak[size_t(bin)] >= view.frame().left[size_t(bin)]);
        QTRY_VERIFY_WITH_TIMEOUT(
            (view.DrawArray(SampleArray::fromFloat(std::vector<float>(2048, 0.0f), 32000, 1)),
             view.frame().left[size_t(bin)] < 1),
            5000);
    }
};

QTEST_MAIN(TestSpectrum)
#include "tst_spectrum.moc"
