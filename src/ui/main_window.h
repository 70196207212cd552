// The main window: owns every engine component, holds the transport state that recording and
// playback share, and routes the menu, tool bar and transport block commands.
//
// Its operations live in several files: app/ (shell, start-up, commands), transport/
// (recording and playback), files/ (the recorded-file list and tag editor), mixer/ (device
// lists, strips, equalizer and filter windows), settings/ (Options dialog), dialogs/ (tips,
// About, help).
#pragma once

#include "session/app_paths.h"
#include "engine/engine.h"
#include "session/recording_settings.h"

#include <QMainWindow>
#include <QPointer>
#include <QStringList>

#include <memory>

class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QMenu;
class QPushButton;
class QTabWidget;
class QTimer;
class QToolBar;
class QToolButton;

class PositionSlider;
class TransportBlock;
class LevelMeter;
class TimeDisplay;
class SpectrumView;
class RecordSoundPage;
class FileInfoPage;
class RenameDialog;
class OptionsDialog;
class EqualizerWindow;
class AdvancedControlsDialog;
class RecordingFiltersWindow;
class TipOfTheDayDialog;
class AboutDialog;
class IniFile;

// The open dialog's filters, in order; the first is chosen at first.
const QStringList &openDialogFilters();
// Every text status panel 0 shows; the panel is as wide as the longest.
const QStringList &transportStateTexts();

class MainWindow : public QMainWindow {
    Q_OBJECT

public:
    // Creates the window and runs its create handler (tip timer, list columns, settings).
    MainWindow(engine::IEngineFactory &factory, const AppPaths &paths, QWidget *parent = nullptr);
    ~MainWindow() override;

    // Start-up step 3: the Equalizer window, the advanced controls dialog, the Recording
    // Filters window and the Rename dialog, created hidden in this order.
    void CreateSecondaryWindows();

    engine::IEngineFactory &Engine;
    const AppPaths Paths;
    IniFile settingsFile() const;

    // ---- engine components --------------------------------------------------------
    std::unique_ptr<engine::IAudioRecord2> AudioRecord1;
    std::unique_ptr<engine::IAudioPlayer2> AudioPlayer1;
    std::unique_ptr<engine::IAudioFile2> AudioFile1;          // reads: measures and plays files
    std::unique_ptr<engine::IAudioFile2> AudioFile2;          // writes the recording
    std::unique_ptr<engine::IAudioFile2> AudioFileMeasure;    // measures a file opened while one plays
    std::unique_ptr<engine::IAudioInformation2> AudioInformation1;
    std::unique_ptr<engine::IAudioFile2LameEnc> Mp3LameEncoder;
    engine::IAudioVisualization2 *AudioVisualization1 = nullptr;

    // ---- transport state ------------------------------------------------------------
    bool Playing = false;           // a playback exists (playing or paused)
    bool PlayPaused = false;
    bool Recording = false;         // a recording exists (recording or paused)
    bool RecordPaused = false;
    bool SliderDragging = false;    // the user holds the slider; ticks leave it alone
    qint64 PositionOffset = 0;      // frames added to the engine's CurrentSamples
    qint64 BlockSamples = 0;        // frames in one 200 ms block
    qint64 LastFileLength = 0;      // frames of the file last measured
    int LastFileRate = 0;           // its sample rate, Hz (0 = unknown)
    qint64 RecordOffset = 0;        // frames recorded into the running part before its last pause
    QString CurrentFileName;        // the file Record writes and the tag editor works on
    QString CurrentRecordingName;   // the file of the running (or last) recording part
    int SplitBaseSeconds = 0;       // length of the finished parts of the running recording
    QString PlayFileName;           // the file being played
    QString SelectedFilePath;       // the selected list row's file; empty when none
    RecordingSettings CurrentSettings;

    // ---- controls -------------------------------------------------------------------
    QToolBar *ToolBar1 = nullptr;
    QToolButton *ToolBtnOpen = nullptr;
    QToolButton *ToolBtnOptions = nullptr;
    QToolButton *ToolBtnHelp = nullptr;
    QToolButton *ToolBtnAbout = nullptr;
    QAction *MenuOpen = nullptr;
    QAction *MenuExit = nullptr;
    QAction *MenuRecord = nullptr;
    QAction *MenuPlay = nullptr;
    QAction *MenuPause = nullptr;
    QAction *MenuStop = nullptr;
    QAction *MenuRecordingControls = nullptr;
    QAction *MenuPlaybackControls = nullptr;
    QAction *MenuFileInfo = nullptr;
    QAction *MenuOptions = nullptr;
    QAction *MenuHelpContents = nullptr;
    QAction *MenuHomepage = nullptr;
    QAction *MenuTipOfTheDay = nullptr;
    QAction *MenuAbout = nullptr;
    QTabWidget *PageControl1 = nullptr;
    RecordSoundPage *TabSheet1 = nullptr;      // "Record Sound"
    QWidget *TabSheet2 = nullptr;             // "Recording Controls"
    QWidget *TabSheet3 = nullptr;             // "Playback Volume Controls"
    FileInfoPage *TabSheet4 = nullptr;        // "File Info"
    QWidget *TransportPanel = nullptr;
    PositionSlider *SliderB1 = nullptr;
    TransportBlock *PlayButtonB1 = nullptr;
    LevelMeter *AmpBar1 = nullptr;
    LevelMeter *AmpBar2 = nullptr;
    TimeDisplay *TimeDisplay1 = nullptr;
    QTimer *TimerTip = nullptr;

    // Status bar panels 0..2: transport state, file path, format.
    QString StatusText(int panel) const;
    void SetStatusText(int panel, const QString &text);
    int StatusPanelWidth(int panel) const;

    // ---- shell (app/main_window.cpp) ----------------------------------------------------
    void LayoutTransportPanel();
    void ApplyOutputFormat();
    void FormShow();                          // the first show's steps, in order
    bool FormShown() const { return m_shown; }
    void OpenClick();
    void ExitClick();
    void PauseClick();                        // playback first, then recording
    void StopClick();
    void PlayButtonB1MouseClick(QObject *sender, int button);
    void ShowTab(int index);

    // ---- recording (transport/recording.cpp) -------------------------------------------
    // A recording run lasts from Record to its end (Stop, the time limit, a failure); it may
    // hold several parts (files) when it splits.
    void StartRecording();
    void PauseRecording();
    void StopRecording();
    // Ends the run as Stop does and then reports reason ("The recording was stopped: ...").
    void EndRecording(const QString &reason);
    void MakeNewRecordingFile();
    void LoadOpenedFileInfo();
    void AudioRecord1EndArrayRecord(QObject *sender, int nBlock);
    void AudioRecord1Timer(QObject *sender, qint64 currentSamples, int levelLeft, int levelRight);
    void AudioRecord1DeviceError(QObject *sender, const QString &text);
    void SetRecordingLook(bool recording);    // "Open" and "Options" disabled while recording
    void ShowIdleRecordingLook();             // the look after a recording ends or fails to start
    void ShowRunningLook();                   // panel 0 and the transport block show what still runs
    void ShowTransportEnded();                // meters, slider, time and spectrum back to rest
    engine::IAudioFile2 &MeasuringFile();     // AudioFile1, or a reader of its own while a file plays
    void DeliverPendingBlocks();              // blocks captured before a Stop reach the file first
    void StartRecordingPart();                // the next "Untitled" file, capture started
    void ResumeRecording();
    void SplitRecording();
    void AbandonRecordingPart();              // a part that never started: nothing of it is kept
    void FailRecording(const QString &reason);
    // Ends the run: the open part (when partOpen) is finalised, every per-run value reset,
    // the part listed, and a failure met on the way reported once.
    void EndRecordingRun(bool partOpen);

    // ---- playback (transport/playback.cpp) ---------------------------------------------
    void StartPlayback();
    void PausePlayback();
    void StopPlayback();
    void FeedPlayer();
    void AudioPlayer1Timer(QObject *sender, qint64 currentSamples, int levelLeft, int levelRight);
    void AudioPlayer1DeviceError(QObject *sender, const QString &text);
    void SliderB1MouseDown(QObject *sender);
    void SliderB1MouseUp(QObject *sender);
    void SliderB1ValueChange(QObject *sender, int value);
    void PlayButtonB1ChangeVolume(QObject *sender, int volume);
    void ToggleMute();                        // transport code 7

    // ---- recorded files and tags (files/) ----------------------------------------------
    RenameDialog *RenameForm = nullptr;
    FileInfoPage *FileInfo() const { return TabSheet4; }
    void AddRecordedFile(const QString &path);
    void ResetFileInfo();                     // the tag editor's Reset
    void SetResetEnabled(bool on);            // the tag editor's "Reset"
    void SetApplyEnabled(bool on);            // the tag editor's "Apply"
    void FillGenreList();                     // first-show step 3

    // ---- mixer, equalizer and filters (mixer/) -----------------------------------------
    EqualizerWindow *frmEQ = nullptr;
    AdvancedControlsDialog *frmAdv = nullptr;
    RecordingFiltersWindow *frmRecFlt = nullptr;
    QComboBox *DeviceComboIn = nullptr;
    QPushButton *btnSetFilter = nullptr;
    QComboBox *DeviceCombo = nullptr;
    QCheckBox *chEqualizer = nullptr;
    QPushButton *btnEqualizer = nullptr;
    QWidget *BuildRecordingControlsPage();
    QWidget *BuildPlaybackControlsPage();
    void FillDeviceLists();
    void BuildPlaybackStrips();
    void BuildRecordingStrips();
    void DeviceComboClick();
    void DeviceComboInClick();
    void RefreshRecordingSelection();
    void SyncFilterWindow();
    void btnSetFilterClick();
    void ToolBtnEqualizerClick();
    void chEqualizerClick();

    // ---- settings (settings/) ----------------------------------------------------------
    QPointer<OptionsDialog> SettingForm;
    void OptionsClick();

    // ---- tips, About and help (dialogs/) -----------------------------------------------
    QPointer<TipOfTheDayDialog> TipForm;
    QPointer<AboutDialog> AboutBox;
    void TimerTipTimer();
    void TipOfTheDayClick();
    void AboutClick();
    void HelpContentsClick();
    void HomepageClick();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Recording run state.
    bool m_partEnding = false;       // capture is being stopped and the last blocks written
    QString m_recordingFailure;      // the first failure met while m_partEnding
    QString m_reservedFile;          // the file the starting part created; empty once it records
    struct ShownFile {
        QString current, panel1, panel2;
    };
    ShownFile m_shownBeforeStart;    // what the window showed before a part started

    void createComponents();
    void createMenus();
    void createToolBar();
    void createPages();
    void createTransportPanel();
    void createStatusBar();
    void connectEngineEvents();
    void FormCreate();
    void FormClose();

    bool m_shown = false;
    bool m_closed = false;
    QLabel *m_statusPanels[3] = {nullptr, nullptr, nullptr};
};
