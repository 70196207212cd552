// A horizontal level meter with a falling peak marker.
#pragma once

#include "widgets/accessible_notice.h"

#include <QAccessible>
#include <QBasicTimer>
#include <QElapsedTimer>
#include <QPixmap>
#include <QTimer>
#include <QWidget>

class LevelMeter : public QWidget {
    Q_OBJECT
    Q_PROPERTY(int value READ value WRITE setValue)

public:
    explicit LevelMeter(QWidget *parent = nullptr);

    // Level 0..100 on the engine's dB scale (0 = -60 dBFS or quieter, 100 = 0 dBFS).
    int value() const { return m_value; }
    void setValue(int level);   // clamped to 0..100

    // Zone boundaries on the 0..100 scale: yellow from -12 dBFS, red from -3 dBFS.
    static constexpr int YellowFrom = 80;
    static constexpr int RedFrom = 95;
    static constexpr int PeakHoldMs = 800;          // the marker waits this long at a new peak
    static constexpr double PeakFallPerSecond = 40; // then falls this many units a second

    double peak() const { return m_peak; }          // where the peak marker stands, 0..100
    bool isPeakFalling() const { return m_timer.isActive(); }   // the marker's timer runs

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void timerEvent(QTimerEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

    void changeEvent(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    // The segments as drawn: how many, where the first starts, how far apart.
    struct Layout {
        int count = 0;
        int x0 = 0;
        QRect inner;
    };
    Layout layout() const;
    int litSegments(int value) const;      // segments lit at that level
    int markerSegment(double peak) const;  // the segment the marker is on, -1 for none
    void updateTimer();
    // The look of every segment lit and every segment dark, drawn once per size and look;
    // a paint copies the lit part of one and the rest of the other.
    void prepareStrips();
    void repaintIfChanged(int oldLit, int oldMarker);

    QPixmap m_litStrip;
    QPixmap m_darkStrip;
    bool m_stripsValid = false;
    int m_value = 0;
    double m_peak = 0;
    double m_holdLeftMs = 0;
    QBasicTimer m_timer;
    QElapsedTimer m_clock;
    // Assistive technology hears the level at most about four times a second.
    AccessibleNotice m_valueNotice{this, [this] {
        QAccessibleValueChangeEvent event(this, m_value);
        QAccessible::updateAccessibility(&event);
    }};
};
