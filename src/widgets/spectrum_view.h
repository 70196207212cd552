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
    Q_PROPERTY(QColor backColor READ backColor WRITE setBackColor)
    Q_PROPERTY(QColor gridColor READ gridColor WRITE setGridColor)
    Q_PROPERTY(QColor scaleColor READ scaleColor WRITE setScaleColor)
    Q_PROPERTY(QColor textColor READ textColor WRITE setTextColor)
    Q_PROPERTY(QColor lineColorLeft READ lineColorLeft WRITE setLineColorLeft)
    Q_PROPERTY(QColor lineColorRight READ lineColorRight WRITE setLineColorRight)
    Q_PROPERTY(QColor borderColor READ borderColor WRITE setBorderColor)
    Q_PROPERTY(bool gridVisible READ gridVisible WRITE setGridVisible)
    Q_PROPERTY(bool scaleXVisible READ scaleXVisible WRITE setScaleXVisible)
    Q_PROPERTY(bool scaleYVisible READ scaleYVisible WRITE setScaleYVisible)
    Q_PROPERTY(int gridYMin READ gridYMin WRITE setGridYMin)
    Q_PROPERTY(int gridYMax READ gridYMax WRITE setGridYMax)

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
    QColor backColor() const { return m_style.backColor; }
    void setBackColor(const QColor &c) { m_style.backColor = c; update(); }
    QColor gridColor() const { return m_style.gridColor; }
    void setGridColor(const QColor &c) { m_style.gridColor = c; update(); }
    QColor scaleColor() const { return m_style.scaleColor; }   // default: the button face
    void setScaleColor(const QColor &c) { m_style.scaleColor = c; m_ownScaleColor = true; update(); }
    QColor textColor() const { return m_style.textColor; }     // default: the button text
    void setTextColor(const QColor &c) { m_style.textColor = c; m_ownTextColor = true; update(); }
    QColor lineColorLeft() const { return m_style.lineColorLeft; }
    void setLineColorLeft(const QColor &c) { m_style.lineColorLeft = c; update(); }
    QColor lineColorRight() const { return m_style.lineColorRight; }
    void setLineColorRight(const QColor &c) { m_style.lineColorRight = c; update(); }
    QColor borderColor() const { return m_style.borderColor; }
    void setBorderColor(const QColor &c) { m_style.borderColor = c; update(); }
    bool gridVisible() const { return m_style.gridVisible; }
    void setGridVisible(bool on) { m_style.gridVisible = on; update(); }
    bool scaleXVisible() const { return m_style.scaleXVisible; }
    void setScaleXVisible(bool on) { m_style.scaleXVisible = on; update(); }
    bool scaleYVisible() const { return m_style.scaleYVisible; }
    void setScaleYVisible(bool on) { m_style.scaleYVisible = on; update(); }
    int gridYMin() const { return m_style.gridYMin; }   // level at the bottom, 0..100
    void setGridYMin(int v) { m_style.gridYMin = v; update(); }
    int gridYMax() const { return m_style.gridYMax; }   // level at the top, 0..100
    void setGridYMax(int v) { m_style.gridYMax = v; update(); }

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
