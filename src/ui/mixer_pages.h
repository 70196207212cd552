// The "Recording Controls" and "Playback Volume Controls" tabs: a device row at the top and
// one strip per mixer line below it. The strips sit in a horizontally scrolling area so
// that every strip stays reachable in a narrow window; inside it they keep their places
// (79 x line index, 26) whatever the tab's size.
#pragma once

#include <QList>
#include <QWidget>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QScrollArea;
class MixerStrip;

class MixerPage : public QWidget {
    Q_OBJECT

public:
    static constexpr int kStripPitch = 79;   // neighbouring strips overlap by 2 pixels
    static constexpr int kStripTop = 26;
    static constexpr int kStripWidth = 81;

    explicit MixerPage(QWidget *parent = nullptr);

    QScrollArea *StripArea;   // covers the tab; scrolls sideways only
    QWidget *StripHost;       // the strips' parent, in tab coordinates while not scrolled

    // The strips in creation order (line 0 first).
    const QList<MixerStrip *> &Strips() const { return m_strips; }
    // A new strip named name at (79 x index, 26), width 81, shown.
    MixerStrip *AddStrip(const QString &name, int index);
    // Destroys every strip, the last created first.
    void DestroyStrips();

protected:
    void resizeEvent(QResizeEvent *event) override;
    // Places the top row for the tab's current width.
    virtual void LayoutTopRow() = 0;
    // Keeps the top row above the strip area.
    void raiseTopRow(const QList<QWidget *> &row);

private:
    void fitHost();

    QList<MixerStrip *> m_strips;
};

// "Recording Controls": "Input Device" list and "Set Filter" at the right edge.
class RecordingControlsPage : public MixerPage {
    Q_OBJECT

public:
    explicit RecordingControlsPage(QWidget *parent = nullptr);

    QLabel *Label1;                // "Input Device", 0, 6
    QComboBox *DeviceComboIn;      // 72, 2; width follows the tab
    QPushButton *btnSetFilter;     // 79 x 24, 2 pixels from the right edge

    void LayoutTopRow() override;
};

// "Playback Volume Controls": "Output Device" list, the "Equalizer" switch and the
// "Equalizer..." button at the right edge.
class PlaybackControlsPage : public MixerPage {
    Q_OBJECT

public:
    explicit PlaybackControlsPage(QWidget *parent = nullptr);

    QLabel *Label1;                // "Output Device", 0, 6
    QComboBox *DeviceCombo;        // 80, 2; ends 8 pixels before the switch
    QCheckBox *chEqualizer;        // tristate, grayed at start; the user only ever checks or clears it
    QPushButton *btnEqualizer;     // "Equalizer...", 79 x 24, 2 pixels from the right edge

    void LayoutTopRow() override;
};
