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

class MixerLines;
class PlaybackEqualizer;

class MixerPage : public QWidget {
    Q_OBJECT

public:
    static constexpr int kStripPitch = 79;   // neighbouring strips overlap by 2 pixels
    static constexpr int kStripTop = 26;

    // Lists the side's available devices and picks the engine's current one, or the first
    // available after it; nothing is sent for it.
    void fillDeviceList();
    // One strip per line of the current device, the old ones destroyed first.
    void buildStrips();
    const QList<MixerStrip *> &strips() const { return m_strips; }

signals:
    // The window should be at least this wide to show every strip.
    void widthNeeded(int width);
    // The user chose a device, or it was chosen again after the server's list changed.
    void deviceChosen();

protected:
    MixerPage(MixerLines &lines, QWidget *parent);
    void resizeEvent(QResizeEvent *event) override;
    // Places the top row for the tab's current width.
    virtual void layoutTopRow() = 0;
    virtual MixerStrip *makeStrip(int line, QWidget *parent) = 0;
    // The strips of the current device were just built.
    virtual void stripsBuilt() {}
    // Keeps the top row above the strip area.
    void raiseTopRow(const QList<QWidget *> &row);
    // The device list of the top row; choosing a device rebuilds the strips.
    void setDeviceList(QComboBox *list);
    // Shows the side's current device as the list's choice.
    void showCurrentDevice();
    // The keyboard's way through the tab: the top row's controls (before), then every strip's
    // from left to right, then those standing after the strips; kept when strips are rebuilt.
    void setKeyboardOrder(const QList<QWidget *> &before, const QList<QWidget *> &after);

private:
    void chooseDevice();
    void fitHost();
    void orderKeyboard();

    MixerLines &m_lines;
    QComboBox *m_devices = nullptr;
    QScrollArea *m_stripArea;   // covers the tab; scrolls sideways only
    QWidget *m_stripHost;       // the strips' parent, in tab coordinates while not scrolled
    QList<MixerStrip *> m_strips;
    QList<QWidget *> m_keysBefore;   // see setKeyboardOrder
    QList<QWidget *> m_keysAfter;
};

// "Recording Controls": "Input Device" list, "Listen to the input" and "Set Filter" at the
// right edge.
class RecordingControlsPage : public MixerPage {
    Q_OBJECT

public:
    explicit RecordingControlsPage(MixerLines &inputs, QWidget *parent = nullptr);

    // Every select box as the engine has it (selecting one line may deselect others).
    void showSelection();
    // The device list again, as the server has it now; the chosen device stays chosen while
    // it is there, and its strips are built anew when another takes its place.
    void refreshDevices();

    // "Listen to the input" as it is in force.
    void showMonitoring(bool on);
    // "A file for each side" as it is in force; shown with "Microphone + computer sound".
    void showSeparateSides(bool on);

signals:
    void filterWindowRequested();   // "Set Filter"
    void monitoringToggled(bool on);  // "Listen to the input", by the user
    void separateSidesToggled(bool on);   // "A file for each side", by the user

protected:
    void layoutTopRow() override;
    MixerStrip *makeStrip(int line, QWidget *parent) override;
    void stripsBuilt() override;

private:
    MixerLines &m_inputs;
    QString m_shownDevice;          // the id of the device the strips show
    QLabel *m_label;                // "Input Device", 0, 6
    QComboBox *m_devices;           // 72, 2; width follows the tab
    QCheckBox *m_monitorBox;        // "Listen to the input", left of "Set Filter"
    QPushButton *m_filterButton;    // 79 x 24, 2 pixels from the right edge
    QCheckBox *m_separateBox;       // "A file for each side", right of the mix's strips
};

// "Playback Volume Controls": "Output Device" list, the "Equalizer" switch and the
// "Equalizer..." button at the right edge.
class PlaybackControlsPage : public MixerPage {
    Q_OBJECT

public:
    PlaybackControlsPage(MixerLines &outputs, PlaybackEqualizer &equalizer, QWidget *parent = nullptr);

    // The bands were set: a switch still grayed ("nothing sent yet") becomes checked and the
    // equalizer is switched on, once.
    void switchEqualizerOnOnce();

signals:
    void equalizerWindowRequested();   // "Equalizer..."

protected:
    void layoutTopRow() override;
    MixerStrip *makeStrip(int line, QWidget *parent) override;

private:
    void switchEqualizer();

    MixerLines &m_outputs;
    PlaybackEqualizer &m_equalizer;
    QLabel *m_label;                // "Output Device", 0, 6
    QComboBox *m_devices;           // 80, 2; ends 8 pixels before the switch
    QCheckBox *m_equalizerSwitch;   // tristate, grayed at start; the user only ever checks or clears it
    QPushButton *m_equalizerButton; // "Equalizer...", 79 x 24, 2 pixels from the right edge
};
