// One mixer line strip: the line's name, balance, volume, mute (or select) and the button
// of its advanced controls. Built empty; the mixer tab fills it from the engine and only
// then attaches its handlers, so filling it writes nothing back.
#pragma once

#include <QFrame>

class QCheckBox;
class QLabel;
class QPushButton;
class QSlider;
class MainWindow;

namespace engine {
class IMixerSide;
}

class MixerStrip : public QFrame {
    Q_OBJECT

public:
    explicit MixerStrip(QWidget *parent = nullptr);   // 115 x 186; the tab sets width 81

    QFrame *Panel1;          // 81 x 185, etched edge; holds everything below
    QLabel *Label1;          // line name, centred, word-wrapped
    QSlider *TrackBar2;      // balance 0..100, 50 = centre, sent unchanged
    QFrame *Panel2;          // separator line
    QSlider *TrackBar1;      // volume bar 0..65535, minimum at the top: position = 65535 - volume
    QCheckBox *CheckBox1;    // "Mute"; "Select" on the recording tab
    QPushButton *Button1;    // "Advanced"; hidden for a line without advanced controls

    // The line's name; one that does not fit is shortened with "..." and shown whole as
    // the label's tooltip.
    void SetLineName(const QString &name);
    // The check box's caption, the box widened (within the panel) when the text needs it.
    void SetCheckBoxCaption(const QString &caption);

    // Each control's line index ("tag"): the line its handler addresses.
    static int Tag(const QObject *control);
    static void SetTag(QObject *control, int line);

    // Wires the controls to the engine side they show (recorder when forRecording).
    void AttachHandlers(MainWindow &form, bool forRecording);

    // Handlers (SetLine with the control's tag first, then the write).
    void TrackBar1Change(int position);   // volume := 65535 - position; tooltip shows it
    void TrackBar2Change(int position);   // balance := position
    void CheckBox1Click(bool checked);    // mute, or select and refresh every select box
    void Button1Click();                  // the advanced controls dialog, modal

private:
    engine::IMixerSide &side() const;   // the recorder or the player

    MainWindow *m_form = nullptr;
    bool m_forRecording = false;
};
