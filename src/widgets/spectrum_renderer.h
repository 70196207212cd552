// Spectrum analysis and drawing for the spectrum view, as plain functions: the analysis
// turns a block of samples into levels per frequency bin, the renderer paints a frame into
// any QPainter (a widget, or a QImage in a test).
#pragma once

#include "engine/engine.h"

#include <QColor>
#include <QFont>
#include <QRect>

#include <memory>
#include <vector>

class QPainter;
class QPalette;

namespace spectrum {

// Drawing styles (VisType).
enum VisType { vtFFTAnalog, vtFFTLinear, vtFFTNormal, vtFFTFire, vtFFTGlass, vtFFTKryptonite };
constexpr int VisTypeCount = 6;
// Analysis windows (WindowFFTType).
enum WindowType { wtNone, wtWelch, wtBartlett, wtHanning, wtHamming };
constexpr int WindowTypeCount = 5;

// Levels are 0..100: one unit per dB above FloorDb, so a full-scale sine reads 100.
constexpr double FloorDb = -100.0;
// The lowest frequency of the logarithmic axis, Hz.
constexpr double LogAxisMinHz = 20.0;

// One analysed block.
struct SpectrumFrame {
    std::vector<float> left;       // level per bin 0..size/2, 0..100; first channel
    std::vector<float> right;      // the same for the second channel; empty for mono
    std::vector<float> leftPeak;   // falling peak per bin (same scale); empty = use left
    std::vector<float> rightPeak;
    int sampleRate = 0;            // Hz
    int size = 0;                  // FFT points

    bool isEmpty() const { return left.empty(); }
    bool isStereo() const { return !right.empty(); }
    double binHz() const { return size > 0 ? double(sampleRate) / size : 0.0; }
};

// Everything the renderer needs to know besides the frame.
struct SpectrumStyle {
    int visType = vtFFTNormal;
    QColor backColor = Qt::black;
    QColor gridColor = QColor(0x70, 0x70, 0x70);
    QColor scaleColor = QColor(0xef, 0xef, 0xef);   // the button-face colour
    QColor textColor = Qt::black;                   // the button-text colour
    QColor lineColorLeft = Qt::red;
    QColor lineColorRight = Qt::blue;
    QColor borderColor = Qt::black;
    bool gridVisible = true;
    bool scaleXVisible = true;
    bool scaleYVisible = true;
    int gridYMin = 0;     // level at the bottom of the plot
    int gridYMax = 100;   // level at the top
    QFont font;           // the scales' small font

    // The design settings, with the button colours taken from `palette`.
    static SpectrumStyle fromPalette(const QPalette &palette);
};

// The nearest of the supported sizes 256, 1024 and 4096.
int validSize(int size);

// The window's coefficients for `size` points.
std::vector<float> windowFunction(int size, int windowType);

// Analyses the newest `size` frames of `samples` (zero-padded in front when the block is
// shorter) per channel. An empty block gives an empty frame.
SpectrumFrame analyseSpectrum(const engine::SampleArray &samples, int size, int windowType);

// The same, keeping FFT plans and windows between calls (one per view).
class SpectrumAnalyser {
public:
    SpectrumAnalyser();
    ~SpectrumAnalyser();
    SpectrumAnalyser(const SpectrumAnalyser &) = delete;
    SpectrumAnalyser &operator=(const SpectrumAnalyser &) = delete;

    SpectrumFrame analyse(const engine::SampleArray &samples, int size, int windowType);

private:
    struct Plan;
    Plan &plan(int size, int windowType);
    std::vector<std::unique_ptr<Plan>> m_plans;
};

// Axis mapping of the renderer. The plot is the part of the area inside the scales.
QRect plotRect(const QRect &area, const SpectrumStyle &style);
bool hasLogAxis(int visType);   // all styles but vtFFTLinear
double xForFrequency(double hz, const QRect &plot, int visType, int sampleRate);
double frequencyForX(double x, const QRect &plot, int visType, int sampleRate);
double yForLevel(double level, const QRect &plot, const SpectrumStyle &style);
// Bar pitch of a style in pixels (0 for the line trace).
int barPitch(int visType, int plotWidth);

// Paints the view into `area`: scales, grid, and the frame in the style's VisType. An empty
// frame leaves only the background, the grid and the scales.
void renderSpectrum(QPainter &painter, const QRect &area, const SpectrumFrame &frame,
                    const SpectrumStyle &style);

}  // namespace spectrum
