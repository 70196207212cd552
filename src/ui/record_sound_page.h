// The "Record Sound" tab: the spectrum view's options at the left, the view filling the rest.
// The tab owns the spectrum's analyser and hands its analysed blocks to the view.
#pragma once

#include <QWidget>

class QButtonGroup;
class QComboBox;
class QGroupBox;
class QLabel;
class QRadioButton;
class SpectrumView;

namespace engine::dsp {
class SpectrumAnalyser;
}

class RecordSoundPage : public QWidget {
    Q_OBJECT

public:
    explicit RecordSoundPage(QWidget *parent = nullptr);

    // The spectrum's contract: DrawArray with snapshots, VisType, WindowArraySize and
    // WindowFFTType; what it analyses shows in spectrumView().
    engine::dsp::SpectrumAnalyser *spectrum() const { return m_analyser; }
    SpectrumView *spectrumView() const { return m_spectrum; }
    QRadioButton *styleButton(int index) const;   // the style list's item 0..5
    int styleIndex() const;                       // the checked item, -1 for none

    // Shows "1024" as the FFT size and the spectrum's WindowFFTType as the window.
    void initSpectrumOptions();

signals:
    // The user chose another FFT size: the spectrum wants snapshots of another length.
    void spectrumSizeChanged();

protected:
    void changeEvent(QEvent *event) override;

private:
    void chooseSize();     // WindowArraySize := the chosen item's text as a number
    void chooseWindow();   // WindowFFTType := the chosen item's index
    void chooseStyle();    // VisType := the chosen item's index
    void fitOptionsFont();

    engine::dsp::SpectrumAnalyser *m_analyser;   // analyses off the UI thread
    SpectrumView *m_spectrum;        // the spectrum view
    QLabel *m_sizeLabel;             // "FFTArraySize"
    QComboBox *m_sizeList;           // FFT size: "256", "1024", "4096"
    QLabel *m_windowLabel;           // "FFTWindowType"
    QComboBox *m_windowList;         // window: "None" .. "Hamming", index = WindowFFTType
    QGroupBox *m_styleGroup;         // "VisType", six styles in two columns
    QWidget *m_optionsPanel;         // the 225 pixel wide panel at the left
    QButtonGroup *m_styleButtons;
    bool m_fitting = false;
};
