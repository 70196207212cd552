// The "Record Sound" tab: the spectrum view's options at the left, the view filling the rest.
#pragma once

#include <QWidget>

class QButtonGroup;
class QComboBox;
class QGroupBox;
class QLabel;
class QRadioButton;
class SpectrumView;

class RecordSoundPage : public QWidget {
    Q_OBJECT
public:
    explicit RecordSoundPage(QWidget *parent = nullptr);

    SpectrumView *AudioVisualization1;   // the spectrum view
    QLabel *Label1;                              // "FFTArraySize"
    QComboBox *ComboBox1;                        // FFT size: "256", "1024", "4096"
    QLabel *Label2;                              // "FFTWindowType"
    QComboBox *ComboBox2;                        // window: "None" .. "Hamming", index = WindowFFTType
    QGroupBox *RadioGroup1;                      // "VisType", six styles in two columns
    QWidget *OptionsPanel;                       // the 225 pixel wide panel at the left

    QRadioButton *radioItem(int index) const;    // RadioGroup1's item 0..5
    int radioItemIndex() const;                  // the checked item, -1 for none

    // Shows "1024" as the FFT size and the view's WindowFFTType as the window.
    void InitSpectrumOptions();

public slots:
    void ComboBox1Click();     // WindowArraySize := the chosen item's text as a number
    void ComboBox2Click();     // WindowFFTType := the chosen item's index
    void RadioGroup1Click();   // VisType := the chosen item's index

protected:
    void changeEvent(QEvent *event) override;

private:
    void fitOptionsFont();

    QButtonGroup *m_radioButtons;
    bool m_fitting = false;
};
