// The Equalizer window: twelve band sliders whose values go to the player whenever one moves.
//
// One window lives for the whole run (created hidden at start-up), so the bands keep their
// values between openings; MainWindow::ToolBtnEqualizerClick shows it modally.
#pragma once

#include <QDialog>
#include <QStringList>

class QPushButton;
class EqualizerBands;
class MainWindow;

class EqualizerWindow : public QDialog {
    Q_OBJECT
public:
    explicit EqualizerWindow(MainWindow &form);

    // The texts under the bands: the player's band centres (35.9 Hz .. 16 kHz), rounded.
    static const QStringList &BandLabels();

    EqualizerBands *Equalizer1;   // 0,0 340x118; bands -15..15 dB, all 0 at first
    QPushButton *BtnClose;     // "Close", 136,128 75x25

    // The user moved band `band` (1..12): all twelve bands go to the player; a still grayed
    // "Equalizer" box becomes checked and the equalizer is switched on.
    void Equalizer1ValueChange(QObject *sender, int band);
    void BtnCloseClick();

    // Puts the window's centre on the main window's centre.
    void centreOnMainWindow();

private:
    MainWindow &m_form;
};
