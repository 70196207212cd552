// The Options dialog: where new recordings are saved, their format and quality, an optional
// time limit and automatic splitting. It is built afresh at every opening and destroys itself
// when closed; OK takes the fields over into the recording settings, hands the format to the
// engine and writes setup.ini.
#pragma once

#include <QAbstractSpinBox>
#include <QDialog>
#include <QStringList>

#include <memory>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QToolButton;
class RecordingSession;
struct RecordingSettings;

namespace engine {
class IAudioFile2;
class IEngineFactory;
}

// ---- the format catalogues -------------------------------------------------------------

// The entries of the MP3 list, positions 0..9.
const QStringList &mp3Catalogue();

struct Mp3Preset {
    int frequency;   // Hz
    int bitrate;     // kbit/s
};
// The MP3 list's position 0..9 as listed; any other position (-1 = no selection) gives
// 44100 Hz at 128 kbit/s.
Mp3Preset mp3PresetFromIndex(int position);

// The entries of the WAV list, positions 0..15.
const QStringList &wavCatalogue();

struct WavPreset {
    int frequency;       // Hz
    int channels;        // 1 mono, 2 stereo
    int bitsPerSample;   // 8 or 16
};
// position / 4 picks the rate (0: 8000, 1: 11025, 2: 22050, 3: 44100 Hz), position % 4 the
// width and channels (0: 8 bit mono, 1: 16 bit mono, 2: 8 bit stereo, 3: 16 bit stereo),
// both truncated toward zero; a quotient or remainder outside 0..3 keeps that part of
// `current` (so -1 gives 8000 Hz with channels and width kept).
WavPreset wavPresetFromIndex(int position, const WavPreset &current);

// The entries of the FLAC list: rate, width and channels, as the WAV list words them.
const QStringList &flacCatalogue();
// The list position of those settings, -1 when the list has none.
int flacPosition(int frequency, int bitsPerSample, int channels);
// The settings at a list position; any other position gives 44100 Hz, 16 bit, stereo.
WavPreset flacPresetFromIndex(int position);

// The entries of the Ogg Vorbis list: qualities -1..10 at positions 0..11.
const QStringList &vorbisCatalogue();

struct OpusPreset {
    int kbps;
    int channels;
};
// The entries of the Opus list: mono rates, then stereo rates, all at 48000 Hz.
const QStringList &opusCatalogue();
// The position of the nearest rate with those channels.
int opusPosition(int kbps, int channels);
// The settings at a list position; any other position gives 96 kbit/s stereo.
OpusPreset opusPresetFromIndex(int position);

// ---- UpDownField ----------------------------------------------------------------------

// A number field with up/down buttons that takes any typed text: the buttons, the arrow keys
// and the wheel step the number the field shows within 0..100 without wrapping, while what is
// typed is kept as typed (letters included) for OK to convert and report.
class UpDownField : public QAbstractSpinBox {
    Q_OBJECT

public:
    explicit UpDownField(int singleStep, QWidget *parent = nullptr);

    static constexpr int Minimum = 0;
    static constexpr int Maximum = 100;
    int singleStep() const { return m_step; }

    void setText(const QString &text);   // text() gives it back as shown

    void stepBy(int steps) override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    StepEnabled stepEnabled() const override;

private:
    int currentValue() const;   // the shown number, or the last one shown when it is none

    int m_step;
    int m_lastValue = 0;        // the last whole number the field showed
};

// ---- OptionsDialog ---------------------------------------------------------------------

class OptionsDialog : public QDialog {
    Q_OBJECT

public:
    // Builds the dialog for the recording session (creation steps included); it deletes
    // itself when closed. settingsPath: setup.ini.
    OptionsDialog(engine::IEngineFactory &engine, RecordingSession &recording, const QString &settingsPath,
                  QWidget *parent);
    ~OptionsDialog() override;

    // Characters 5..104 of the description of engine profile `number` (counted from 1).
    QString wmaProfileLabel(int number);

    // "OK": the fields become the recording settings, the format goes to the engine and
    // setup.ini is written. A field that does not convert raises an error and ends it there.
    void applyAndClose();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void buildControls();
    void connectHandlers();
    // The fields into s, in order; raises an error at a field that does not convert.
    void takeOverFields(RecordingSettings &s);
    // Creation: the three format lists, the chosen WMA position, which lists are enabled.
    void fillFormatLists();
    // The steps run each time the dialog is shown.
    void prepareForShow();
    void chooseMp3();
    void chooseWav();
    void chooseWma();
    void chooseFlac();
    void chooseOgg();
    void chooseOpus();
    void chooseNoLimit();
    void chooseStopAfter();
    void switchSplit();
    void chooseFolder();
    void cancel();
    void enableFormatLists(const QString &format);
    void enableTimeFields(bool on);
    void enableSplitFields(bool on);

    RecordingSession &m_recording;
    const QString m_settingsPath;
    // The dialog's own file component, used only to label the WMA profiles.
    std::unique_ptr<engine::IAudioFile2> m_profileFile;

    // "Save Path"
    QGroupBox *m_savePathGroup = nullptr;
    QLineEdit *m_savePath = nullptr;
    QToolButton *m_chooseFolderButton = nullptr;
    // "Record Format"
    QGroupBox *m_formatGroup = nullptr;
    QRadioButton *m_mp3Button = nullptr;
    QRadioButton *m_wavButton = nullptr;
    QRadioButton *m_wmaButton = nullptr;
    QComboBox *m_mp3List = nullptr;
    QComboBox *m_wavList = nullptr;
    QComboBox *m_wmaList = nullptr;
    QRadioButton *m_flacButton = nullptr;
    QRadioButton *m_oggButton = nullptr;
    QRadioButton *m_opusButton = nullptr;
    QComboBox *m_flacList = nullptr;
    QSpinBox *m_flacLevel = nullptr;        // compression level 0..8
    QComboBox *m_oggList = nullptr;
    QComboBox *m_opusList = nullptr;
    // "Time Limit"
    QGroupBox *m_timeLimitGroup = nullptr;
    QRadioButton *m_noLimitButton = nullptr;
    QRadioButton *m_stopAfterButton = nullptr;   // "Stop recording after "
    UpDownField *m_hours = nullptr;
    UpDownField *m_minutes = nullptr;
    UpDownField *m_seconds = nullptr;            // steps by 5
    // "Auto Split"
    QGroupBox *m_splitGroup = nullptr;
    QCheckBox *m_splitBox = nullptr;
    UpDownField *m_splitMinutes = nullptr;
    UpDownField *m_splitSeconds = nullptr;       // steps by 5
    // "Before Record": the seconds kept while idle
    QGroupBox *m_prerecordGroup = nullptr;
    QCheckBox *m_prerecordBox = nullptr;         // "Keep the last"
    QSpinBox *m_prerecordSeconds = nullptr;      // 1..30
    // "Start on sound"
    QGroupBox *m_triggerGroup = nullptr;         // checkable: the switch itself
    QSpinBox *m_triggerLevel = nullptr;          // dBFS, -60..0
    QSpinBox *m_triggerSilence = nullptr;        // seconds, 1..60
    QCheckBox *m_triggerNewFileBox = nullptr;
    // "Lost Input Device"
    QGroupBox *m_deviceGroup = nullptr;
    QCheckBox *m_resumeBox = nullptr;
    // bottom row
    QPushButton *m_okButton = nullptr;
    QPushButton *m_cancelButton = nullptr;
};
