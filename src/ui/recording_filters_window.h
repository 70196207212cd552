// The Recording Filters window: the recorder's notch, high-pass and low-pass filters, one row
// each (switch, frequency bar, frequency box, "Hz"); every change goes to the recorder at
// once, also while a recording runs.
//
// One window lives for the whole run (created hidden at start-up); "Set Filter" shows it (not
// modal) and its close box hides it, so the controls keep their values in between.
#pragma once

#include <QDialog>
#include <QLineEdit>

#include <functional>
#include <optional>

class QCheckBox;
class QLabel;
class QSlider;

class RecordingFilters;

// A character typed into a frequency box is accepted when it can belong to a number: the
// digits 0..9, "+", "-", the decimal separator of the default QLocale, and every control
// character below 32 except carriage return (backspace, the clipboard shortcuts).
bool isFrequencyKey(QChar key);

// The bar position for a frequency from the recorder: rounded to the nearest whole hertz (a
// half to the even neighbour), clamped into min..max. Nothing for NaN.
std::optional<int> frequencyToPosition(float hz, int min, int max);

// A frequency box. Typed characters pass through onKeyPress first (Enter arrives as "\r");
// pasted or dropped text is not filtered by key. onExit runs when the box loses the focus
// (not for the focus a context menu takes).
class FrequencyEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit FrequencyEdit(QWidget *parent = nullptr);

    std::function<bool(QChar)> onKeyPress;   // false: the character is dropped
    std::function<void()> onExit;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
};

class RecordingFiltersWindow : public QDialog {
    Q_OBJECT
public:
    RecordingFiltersWindow(RecordingFilters &filters, QWidget *parent);
    ~RecordingFiltersWindow() override;

    // Rows 1..3: notch (40..200 Hz, 50 at first), high-pass (100..44100 Hz, 400), low-pass
    // (100..44100 Hz, 4000); each a switch, a frequency bar (Hz, ticks below), a frequency
    // box (the bar's position as decimal text) and "Hz".

    // The recorder's switches and frequencies into the controls; a control that changes
    // runs its own behaviour (and so sends its value back), an unchanged one sends nothing.
    void syncFromRecorder();

    // Shows the window over the main window, or brings it to the front when it is open.
    void showOrRaise();

protected:
    void changeEvent(QEvent *event) override;

private:
    QCheckBox *switchBox(int row) const;   // row 1..3
    QSlider *bar(int row) const;
    FrequencyEdit *edit(int row) const;

    // The row's switch goes to the recorder.
    void switchClicked(int row);
    // On every position change: the box shows the position and the recorder gets it as the
    // row's frequency.
    void barChanged(int row);
    // Enter applies the text; another character is refused with a beep unless
    // isFrequencyKey accepts it. True when the character goes into the box.
    bool keyPressed(int row, QChar key);
    // Leaving the box (and Enter): a whole number moves the bar (clamped into its range);
    // anything else puts the bar's position back into the box and sends nothing.
    void editLeft(int row);

    void fitFont();
    void sendEnabled(int row, bool on);
    void sendFrequency(int row, float hz);

    RecordingFilters &m_filters;
    QCheckBox *m_switches[3];      // "Notch Filter", "HighPass Filter", "LowPass Filter"
    QSlider *m_bars[3];
    FrequencyEdit *m_edits[3];
    QLabel *m_hzLabels[3];
    bool m_applying = false;
    bool m_fitting = false;
};
