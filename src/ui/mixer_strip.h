// One mixer line strip: the line's name, balance, volume, mute (select on the recording
// side) and the button of its advanced controls. It reads the line from the engine first and
// only then attaches its handlers, so showing a line writes nothing back; every later change
// goes to the engine at once, with the strip's line addressed right before.
#pragma once

#include <QFrame>
#include <QList>

class QCheckBox;
class QLabel;
class QPushButton;
class QSlider;

class MixerLines;

class MixerStrip : public QFrame {
    Q_OBJECT

public:
    // A strip of an input's line (with "Select") or of an output's line (with "Mute").
    MixerStrip(MixerLines &lines, int line, QWidget *parent = nullptr);

    static constexpr int kWidth = 81;

    int line() const { return m_line; }
    // Reads the line's name, volume, balance, switch and advanced controls, then listens.
    void showLine();
    // The select box again as the engine has it; nothing is written back.
    void showSelection();

    // The line's name; one that does not fit is shortened with "..." and shown whole as the
    // label's tooltip.
    void setLineName(const QString &name);
    // The switch's caption, the box widened (within the panel) when the text needs it.
    void setSwitchCaption(const QString &caption);

    // The strip's controls in the order Tab reaches them: balance, volume, switch, Advanced.
    QList<QWidget *> keyboardOrder() const;

signals:
    // The user selected or deselected a recording line: other lines may have changed too.
    void selectionChanged();

private:
    void changeVolume(int position);   // volume := 65535 - position; the tooltip shows it
    void changeBalance(int position);
    void switchLine(bool checked);     // mute, or select
    void showAdvancedControls();

    MixerLines &m_lines;
    int m_line;

    QFrame *m_panel = nullptr;          // 81 x 185, etched edge; holds everything below
    QLabel *m_name = nullptr;           // centred, one line
    QSlider *m_balance = nullptr;       // 0..100, 50 = centre, sent unchanged
    QSlider *m_volume = nullptr;        // 0..65535, minimum at the top: position = 65535 - volume
    QCheckBox *m_switch = nullptr;      // "Mute", or "Select" on the recording side
    QPushButton *m_advanced = nullptr;  // hidden for a line without advanced controls
};
