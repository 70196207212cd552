// The Equalizer window: twelve band sliders whose values go to the player whenever one moves.
//
// One window lives for the whole run (created hidden at start-up), so the bands keep their
// values between openings; the main window shows it modally.
#pragma once

#include <QDialog>
#include <QStringList>

class EqualizerBands;
class PlaybackEqualizer;
class QPushButton;

class EqualizerWindow : public QDialog {
    Q_OBJECT

public:
    EqualizerWindow(PlaybackEqualizer &equalizer, QWidget *parent);

    // The texts under the bands: the player's band centres (35.9 Hz .. 16 kHz), rounded.
    static const QStringList &bandLabels();

    // Puts the window's centre on its owner's centre.
    void centreOnMainWindow();

signals:
    // The user moved a band; all twelve went to the player.
    void bandsChanged();

private:
    void sendBands();

    PlaybackEqualizer &m_equalizer;
    EqualizerBands *m_bands;        // 0,0 340x118; bands -15..15 dB, all 0 at first
    QPushButton *m_closeButton;     // "Close", 136,128 75x25
};
