// The advanced controls of one mixer line: a switch or a 0..65535 bar per control, built
// from the engine when the dialog is shown. One dialog per opening, modal.
#pragma once

#include <QDialog>

class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;
class MainWindow;

namespace engine {
class IMixerSide;
}

class AdvancedControlsDialog : public QDialog {
    Q_OBJECT

public:
    explicit AdvancedControlsDialog(MainWindow &form);

    // The caption and borders that an outer height includes: the designed outer height of
    // 231 less the designed client height of 203. Sizes below are outer unless said.
    static constexpr int kFrameHeight = 28;

    bool ForRecording = false;   // true: the recorder's line, false: the player's
    short Line = -1;             // the line addressed, set again before every write; -1: the side's current line

    QLabel *Image1;              // the icon at 12, 4
    QLabel *Label1;              // "These settings can be used to ..."
    QGroupBox *GroupBox1;        // "Other Controls", 16, 56; height 23 x M + 113 once built
    QLabel *Label2;              // "These settings make other changes ..."
    QPushButton *btnClose;       // "Close": the default button, closes with OK

    int OuterHeight() const;     // client height + kFrameHeight

    // Caption and one control per advanced control of the line; runs once, on first show.
    void FormShow();

protected:
    void showEvent(QShowEvent *event) override;

private:
    engine::IMixerSide &side() const;
    void addressLine() const;    // SetLine(Line) when a line was given
    void showSwitches();         // every box set to the switch's value read back, silently

    MainWindow &m_form;
    bool m_built = false;
    QList<QCheckBox *> m_switches;   // the boxes, each tagged with its control's index
};
