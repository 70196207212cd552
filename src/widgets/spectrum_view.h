// The spectrum view: analyses each block handed to DrawArray and paints its spectrum in one
// of six styles.
#pragma once

#include "widgets/spectrum_renderer.h"
#include "engine/engine.h"

#include <QElapsedTimer>
#include <QWidget>

class SpectrumView : public QWidget, public engine::IAudioVisualization2 {
    Q_OBJECT
    Q_PROPERTY(int VisType READ GetVisType WRITE SetVisType)
    Q_PROPERTY(int WindowArraySize READ GetWindowArraySize WRITE SetWindowArraySize)
    Q_PROPERTY(int WindowFFTType READ GetWindowFFTType WRITE SetWindowFFTType)
    Q_PROPERTY(QColor BackColor READ BackColor WRITE SetBackColor)
    Q_PROPERTY(QColor GridColor READ GridColor WRITE SetGridColor)
    Q_PROPERTY(QColor ScaleColor READ ScaleColor WRITE SetScaleColor)
    Q_PROPERTY(QColor TextColor READ TextColor WRITE SetTextColor)
    Q_PROPERTY(QColor LineColorLeft READ LineColorLeft WRITE SetLineColorLeft)
    Q_PROPERTY(QColor LineColorRight READ LineColorRight WRITE SetLineColorRight)
    Q_PROPERTY(QColor BorderColor READ BorderColor WRITE SetBorderColor)
    Q_PROPERTY(bool GridVisible READ GridVisible WRITE SetGridVisible)
    Q_PROPERTY(bool ScaleXVisible READ ScaleXVisible WRITE SetScaleXVisible)
    Q_PROPERTY(bool ScaleYVisible READ ScaleYVisible WRITE SetScaleYVisible)
    Q_PROPERTY(int GridYMin READ GridYMin WRITE SetGridYMin)
    Q_PROPERTY(int GridYMax READ GridYMax WRITE SetGridYMax)

public:
    explicit SpectrumView(QWidget *parent = nullptr);
    ~SpectrumView() override;

    // Analyses the newest WindowArraySize frames per channel (the first two channels) and
    // shows them; an empty array clears the view.
    void DrawArray(const engine::SampleArray &samples) override;

    int GetVisType() const override { return m_style.visType; }   // 0..5, see spectrum::VisType
    void SetVisType(int type) override;                           // clamped to 0..5
    int GetWindowArraySize() const override { return m_size; }    // 256, 1024 or 4096 points
    void SetWindowArraySize(int size) override;                   // the nearest of those
    int GetWindowFFTType() const override { return m_windowType; }   // 0..4, see spectrum::WindowType
    void SetWindowFFTType(int type) override;                     // clamped to 0..4

    // Design settings of the drawing.
    QColor BackColor() const { return m_style.backColor; }
    void SetBackColor(const QColor &c) { m_style.backColor = c; update(); }
    QColor GridColor() const { return m_style.gridColor; }
    void SetGridColor(const QColor &c) { m_style.gridColor = c; update(); }
    QColor ScaleColor() const { return m_style.scaleColor; }   // default: the button face
    void SetScaleColor(const QColor &c) { m_style.scaleColor = c; m_ownScaleColor = true; update(); }
    QColor TextColor() const { return m_style.textColor; }     // default: the button text
    void SetTextColor(const QColor &c) { m_style.textColor = c; m_ownTextColor = true; update(); }
    QColor LineColorLeft() const { return m_style.lineColorLeft; }
    void SetLineColorLeft(const QColor &c) { m_style.lineColorLeft = c; update(); }
    QColor LineColorRight() const { return m_style.lineColorRight; }
    void SetLineColorRight(const QColor &c) { m_style.lineColorRight = c; update(); }
    QColor BorderColor() const { return m_style.borderColor; }
    void SetBorderColor(const QColor &c) { m_style.borderColor = c; update(); }
    bool GridVisible() const { return m_style.gridVisible; }
    void SetGridVisible(bool on) { m_style.gridVisible = on; update(); }
    bool ScaleXVisible() const { return m_style.scaleXVisible; }
    void SetScaleXVisible(bool on) { m_style.scaleXVisible = on; update(); }
    bool ScaleYVisible() const { return m_style.scaleYVisible; }
    void SetScaleYVisible(bool on) { m_style.scaleYVisible = on; update(); }
    int GridYMin() const { return m_style.gridYMin; }   // level at the bottom, 0..100
    void SetGridYMin(int v) { m_style.gridYMin = v; update(); }
    int GridYMax() const { return m_style.gridYMax; }   // level at the top, 0..100
    void SetGridYMax(int v) { m_style.gridYMax = v; update(); }

    // What paintEvent draws: the last analysed frame (with the bars' fall-off) and the style.
    const spectrum::SpectrumFrame &frame() const { return m_frame; }
    const spectrum::SpectrumStyle &style() const { return m_style; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void clearFrame();

    spectrum::SpectrumStyle m_style;
    int m_size = 1024;
    int m_windowType = spectrum::wtNone;
    bool m_ownScaleColor = false;
    bool m_ownTextColor = false;
    spectrum::SpectrumAnalyser m_analyser;
    spectrum::SpectrumFrame m_frame;
    QElapsedTimer m_sinceLastFrame;
};
