// The twelve-band equalizer: one vertical slider per band, frequency labels below, a dB scale.
#pragma once

#include "widgets/accessible_notice.h"

#include <QElapsedTimer>
#include <QStringList>
#include <QWidget>

#include <array>
#include <memory>

class QTimer;

class EqualizerBands : public QWidget {
    Q_OBJECT
    Q_PROPERTY(float band1 READ band1 WRITE setBand1)
    Q_PROPERTY(float band2 READ band2 WRITE setBand2)
    Q_PROPERTY(float band3 READ band3 WRITE setBand3)
    Q_PROPERTY(float band4 READ band4 WRITE setBand4)
    Q_PROPERTY(float band5 READ band5 WRITE setBand5)
    Q_PROPERTY(float band6 READ band6 WRITE setBand6)
    Q_PROPERTY(float band7 READ band7 WRITE setBand7)
    Q_PROPERTY(float band8 READ band8 WRITE setBand8)
    Q_PROPERTY(float band9 READ band9 WRITE setBand9)
    Q_PROPERTY(float band10 READ band10 WRITE setBand10)
    Q_PROPERTY(float band11 READ band11 WRITE setBand11)
    Q_PROPERTY(float band12 READ band12 WRITE setBand12)

public:
    static constexpr int BandCount = 12;

    explicit EqualizerBands(QWidget *parent = nullptr);

    float band(int index) const;               // band 1..12, dB; 0 for another index
    void setBand(int index, float value);      // band 1..12, clamped to Min..Max; emits nothing
    // Moves band 1..12 as the user's drag does: to the nearest Step, clamped to Min..Max,
    // bandChanged when it changed. Assistive technology sets a band this way.
    void moveBand(int index, float value);
    float Min() const { return -15.0f; }       // dB
    float Max() const { return 15.0f; }        // dB
    std::array<float, BandCount> Bands() const { return m_bands; }   // Band1 first

    // The texts under the bands, Band1 first (twelve entries; missing ones stay empty).
    QStringList labels() const { return m_labels; }
    void setLabels(const QStringList &labels);

    // Mouse and keyboard move bands in steps of this many dB.
    static constexpr float Step = 0.5f;

    int focusedBand() const { return m_focusBand + 1; }   // the band the keyboard moves, 1..12
    // Where band `index` (1..12) is drawn: its column and its thumb at the current value.
    QRect bandColumn(int index) const;
    QRect thumbRect(int index) const;
    int yForValue(float value) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    void bandChanged(int band);   // the user moved band 1..12

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    float band1() const { return m_bands[0]; }   void setBand1(float v) { setBand(1, v); }
    float band2() const { return m_bands[1]; }   void setBand2(float v) { setBand(2, v); }
    float band3() const { return m_bands[2]; }   void setBand3(float v) { setBand(3, v); }
    float band4() const { return m_bands[3]; }   void setBand4(float v) { setBand(4, v); }
    float band5() const { return m_bands[4]; }   void setBand5(float v) { setBand(5, v); }
    float band6() const { return m_bands[5]; }   void setBand6(float v) { setBand(6, v); }
    float band7() const { return m_bands[6]; }   void setBand7(float v) { setBand(7, v); }
    float band8() const { return m_bands[7]; }   void setBand8(float v) { setBand(8, v); }
    float band9() const { return m_bands[8]; }   void setBand9(float v) { setBand(9, v); }
    float band10() const { return m_bands[9]; }  void setBand10(float v) { setBand(10, v); }
    float band11() const { return m_bands[10]; } void setBand11(float v) { setBand(11, v); }
    float band12() const { return m_bands[11]; } void setBand12(float v) { setBand(12, v); }

    struct Geometry {
        QRect scale;    // the dB scale at the left
        QRect bands;    // the twelve columns
        int trackTop;   // y of Max
        int trackBottom;   // y of Min
        int labelTop;
    };
    Geometry geometry() const;
    int bandAt(const QPoint &pos) const;   // 0..11, -1 outside the columns
    float valueAt(int y) const;
    void userSetBand(int band0, float value);
    void showValueTip(int band0);
    void setFocusBand(int band0);
    // Assistive technology hears of a band's new value at most about four times a second,
    // and of the band the keyboard moves whenever it changes.
    void noteBandChange(int band0);
    void sendBandNotice(int band0);
    void noteFocusBand();

    std::array<float, BandCount> m_bands{};
    QStringList m_labels;
    int m_dragBand = -1;      // 0..11 while a band is dragged
    int m_dragOffset = 0;     // grab point's distance from the thumb's centre
    int m_hoverBand = -1;
    int m_focusBand = 0;
    int m_wheelRemainder = 0;
    std::array<std::unique_ptr<AccessibleNotice>, BandCount> m_bandNotices;
};
