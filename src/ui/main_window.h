// The main window: it owns the recording and playback sessions and the run's file list,
// builds the pages and the transport panel, and binds them: a command from the menu, the
// tool bar or the transport block goes to a session, and what a session reports reaches the
// screen.
#pragma once

#include "engine/engine.h"
#include "session/app_paths.h"
#include "session/part_recovery.h"
#include "session/playback_session.h"
#include "session/recording_session.h"
#include "ui/sleep_inhibitor.h"
#include "widgets/transport_block.h"

#include <QMainWindow>
#include <QPointer>
#include <QStringList>

#include <memory>

class QAction;
class QLabel;
class QTabWidget;
class QTimer;
class QToolBar;
class QToolButton;

class AboutDialog;
class EqualizerWindow;
class FileInfoPage;
class IniFile;
class LevelMeter;
class OptionsDialog;
class PlaybackControlsPage;
class PositionSlider;
class RecordSoundPage;
class RecordedFiles;
class RecordingControlsPage;
class RecordingFiltersWindow;
class RenameDialog;
class TimeDisplay;
class TipOfTheDayDialog;
class TransportBlock;

// The open dialog's filters, in order; the first is chosen at first.
const QStringList &openDialogFilters();
// Every text status panel 0 shows; the panel is as wide as the longest.
const QStringList &transportStateTexts();

class MainWindow : public QMainWindow, private RecordingQuestions {
    Q_OBJECT

public:
    // Builds the window, loads the settings and arms the Tip of the Day's timer.
    MainWindow(engine::IEngineFactory &engine, const AppPaths &paths, QWidget *parent = nullptr);
    ~MainWindow() override;

    // Start-up, before the first show: the Equalizer window, the Recording Filters window
    // and the Rename dialog, made hidden.
    void createSecondaryWindows();
    // Whether the Tip of the Day offers itself a second after start-up (the default).
    void setTipOfTheDayOffered(bool offered);

    RecordingSession &recording() { return *m_recording; }
    PlaybackSession &playback() { return *m_playback; }
    RecordedFiles &files() { return *m_files; }
    const AppPaths &paths() const { return m_paths; }
    IniFile settingsFile() const;
    // New settings in force: the recording session takes them and the format goes to the engine.
    void applySettings(const RecordingSettings &settings);

    // Status bar panels 0..2: what runs, the current file, its format.
    QString statusText(int panel) const;
    int statusPanelWidth(int panel) const;

public slots:
    // The commands, as the menu, the tool bar and the transport block give them.
    void open();                          // the open dialog, then openFile
    void openFile(const QString &path);   // measures, shows and lists the file
    void record();
    void play();
    void pause();                         // playback first, then recording
    void stop();
    // "Schedule Recording...": a run that starts by itself at a chosen time.
    void scheduleRecording();
    void showTab(int index);
    void showOptions();
    void showEqualizer();
    void showRecordingFilters();
    void showTipOfTheDay();
    void showAbout();
    void showHelp();
    void showHomePage();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool confirmRewrite(const QString &path) override;

    void createMenus();
    void createToolBar();
    void createPages();
    void createTransportPanel();
    void createStatusBar();
    void bindSessions();
    void firstShow();
    void showRecovery(const RecoveryReport &recovered);
    void layoutTransportPanel();
    void setStatusText(int panel, const QString &text);

    // What the screen shows of the sessions.
    void showFile(const QString &path, const QString &formatDescription);
    void showRunningLook();
    void showTransportEnded();
    void updateCommands();
    void updateSnapshotNeeds();
    bool recordingOwnsDisplay() const;
    void onRecordingTick(qint64 elapsedMs, int left, int right);
    void onPlaybackTick(qint64 positionMs, int perMille, int left, int right);
    void onRecordingEnded();
    void onFileRenamed(const QString &from, const QString &to);
    void onSliderValue(int value);
    void onTransportClick(TransportBlock::Button button);
    void offerTipOfTheDay();

    engine::IEngineFactory &m_engine;
    const AppPaths m_paths;
    std::unique_ptr<RecordedFiles> m_files;
    std::unique_ptr<RecordingSession> m_recording;
    std::unique_ptr<PlaybackSession> m_playback;
    StartupRecovery *m_recovery = nullptr;

    QAction *m_openAction = nullptr;
    QAction *m_optionsAction = nullptr;
    QAction *m_scheduleAction = nullptr;
    QToolButton *m_openButton = nullptr;
    QToolButton *m_optionsButton = nullptr;
    QTabWidget *m_pages = nullptr;
    RecordSoundPage *m_recordSoundPage = nullptr;
    RecordingControlsPage *m_recordingControlsPage = nullptr;
    PlaybackControlsPage *m_playbackControlsPage = nullptr;
    FileInfoPage *m_fileInfoPage = nullptr;
    QWidget *m_transportPanel = nullptr;
    PositionSlider *m_slider = nullptr;
    TransportBlock *m_transport = nullptr;
    LevelMeter *m_leftMeter = nullptr;
    LevelMeter *m_rightMeter = nullptr;
    TimeDisplay *m_timeDisplay = nullptr;
    QLabel *m_statusPanels[3] = {nullptr, nullptr, nullptr};
    QLabel *m_diskTimeLeft = nullptr;
    SleepInhibitor m_sleepInhibitor{QStringLiteral("A recording is running")};
    QTimer *m_tipTimer = nullptr;

    EqualizerWindow *m_equalizerWindow = nullptr;
    RecordingFiltersWindow *m_filtersWindow = nullptr;
    RenameDialog *m_renameDialog = nullptr;
    QPointer<OptionsDialog> m_optionsDialog;
    QPointer<TipOfTheDayDialog> m_tipDialog;
    QPointer<AboutDialog> m_aboutDialog;

    bool m_shown = false;
    bool m_closed = false;
};
