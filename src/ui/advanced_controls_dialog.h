// The advanced controls of one mixer line: a switch or a 0..65535 bar per control, built
// from the engine when the dialog is shown. One dialog per opening, modal.
#pragma once

#include <QDialog>

class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;

class MixerLines;

class AdvancedControlsDialog : public QDialog {
    Q_OBJECT

public:
    // The controls of line (set again before every write; -1: the side's current line).
    AdvancedControlsDialog(MixerLines &lines, int line, QWidget *parent = nullptr);

    // The caption and borders that an outer height includes: the designed outer height of
    // 231 less the designed client height of 203. Sizes below are outer unless said.
    static constexpr int kFrameHeight = 28;

    int outerHeight() const;     // client height + kFrameHeight

    // Caption and one control per advanced control of the line; runs once, on first show.
    void buildControls();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void addressLine() const;    // SetLine(line) when a line was given
    void showSwitches();         // every box set to the switch's value read back, silently

    MixerLines &m_lines;
    int m_line;
    QLabel *m_icon;              // at 12, 4
    QLabel *m_intro;             // "These settings can be used to ..."
    QGroupBox *m_controls;       // "Other Controls", 16, 56; height 23 x M + 113 once built
    QLabel *m_controlsNote;      // "These settings make other changes ..."
    QPushButton *m_closeButton;  // "Close": the default button, closes with OK
    bool m_built = false;
    QList<QCheckBox *> m_switches;   // the boxes, each knowing its control's number
};
