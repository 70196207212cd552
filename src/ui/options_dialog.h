// The Options dialog: where new recordings are saved, their format and quality, an optional
// time limit and automatic splitting, what the program does in the background and its global
// shortcuts. It is built afresh at every opening and destroys itself when closed; OK takes the
// fields over into the recording settings, hands the format to the engine and writes
// setup.ini.
#pragma once

#include "session/save_format.h"

#include <QAbstractSpinBox>
#include <QDialog>
#include <QPointer>
#include <QStringList>

#include <memory>
#include <optional>

class GlobalShortcuts;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QToolButton;
class RecorderCore;
struct RecordingSettings;

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
    // Builds the dialog for the core's recording settings (creation steps included); it
    // deletes itself when closed.
    OptionsDialog(RecorderCore &core, QWidget *parent);
    ~OptionsDialog() override;

    // "OK": the fields become the recording settings, the format goes to the engine and
    // setup.ini is written. A field that does not convert raises an error and ends it there.
    void applyAndClose();

    // The global shortcuts the dialog shows and lets the user change; without them (or while
    // the desktop has none) it tells what to do instead.
    void setGlobalShortcuts(GlobalShortcuts *shortcuts);

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
    void enableFormatLists(std::optional<SaveFormat> format);   // nothing: a format not known
    QRadioButton *formatButton(SaveFormat format) const;
    void enableTimeFields(bool on);
    void enableSplitFields(bool on);
    // The shortcuts' bound keys, or the text for a desktop without global shortcuts.
    void showShortcuts();
    // The fixed size that holds every control whole, at least 622 x 471.
    void fitSize();

    RecorderCore &m_core;
    QPointer<GlobalShortcuts> m_shortcuts;

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
    // "In the background"
    QGroupBox *m_backgroundGroup = nullptr;
    QCheckBox *m_trayBox = nullptr;
    QCheckBox *m_notifyBox = nullptr;
    // "Global shortcuts": each shortcut's name and bound keys, and "Change…"; or the text
    // for a desktop without them
    QGroupBox *m_shortcutsGroup = nullptr;
    QList<QLabel *> m_shortcutNames;
    QList<QLabel *> m_shortcutKeys;
    QPushButton *m_changeShortcutsButton = nullptr;
    QLabel *m_shortcutsMissing = nullptr;
    // bottom row
    QPushButton *m_okButton = nullptr;
    QPushButton *m_cancelButton = nullptr;
};
