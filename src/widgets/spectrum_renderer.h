// Drawing of the spectrum view as plain functions: the renderer paints a finished frame into
// any QPainter (a widget, or a QImage in a test).
#pragma once

#include <QColor>
#include <QFont>
#include <QRect>

#include <vector>

class QPainter;
class QPalette;

namespace spectrum {

// The lowest frequency of the logarithmic axis, Hz.
constexpr double LogAxisMinHz = 20.0;

// One analysed block, as the view shows it.
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
    // The drawing styles, in the order of the style list (VisType 0..5).
    enum class Kind { Analog, Linear, Normal, Fire, Glass, Kryptonite };
    static constexpr int KindCount = 6;

    Kind kind = Kind::Normal;
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

// Axis mapping of the renderer. The plot is the part of the area inside the scales.
QRect plotRect(const QRect &area, const SpectrumStyle &style);
bool hasLogAxis(SpectrumStyle::Kind kind);   // all styles but Linear
double xForFrequency(double hz, const QRect &plot, SpectrumStyle::Kind kind, int sampleRate);
double frequencyForX(double x, const QRect &plot, SpectrumStyle::Kind kind, int sampleRate);
double yForLevel(double level, const QRect &plot, const SpectrumStyle &style);
// Bar pitch of a style in pixels (0 for the line trace).
int barPitch(SpectrumStyle::Kind kind, int plotWidth);

// Paints the view into `area`: scales, grid, and the frame in the style's kind. An empty
// frame leaves only the background, the grid and the scales.
void renderSpectrum(QPainter &painter, const QRect &area, const SpectrumFrame &frame,
                    const SpectrumStyle &style);

}  // namespace spectrum
