// The spectrum view: paints the frames it is given in one of six styles; the bars fall
// rather than vanish between frames. The plot keeps its black face in any palette; the scales
// around it take the palette's button colours. A screen reader knows it as a picture named
// "Spectrum"; it takes no keyboard focus.
#pragma once

#include "widgets/spectrum_renderer.h"

#include <QElapsedTimer>
#include <QWidget>

class SpectrumView : public QWidget {
    Q_OBJECT
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

    // Shows an analysed block (its peaks are the view's); an empty frame clears the view.
    void showFrame(spectrum::SpectrumFrame frame);

    using Kind = spectrum::SpectrumStyle::Kind;
    Kind styleKind() const { return m_style.kind; }
    void setStyleKind(Kind kind);

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

    // What paintEvent draws: the last frame (with the bars' fall-off) and the style.
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
    bool m_ownScaleColor = false;
    bool m_ownTextColor = false;
    spectrum::SpectrumFrame m_frame;
    QElapsedTimer m_sinceLastFrame;
};
