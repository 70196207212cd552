// The main window: it shows the recorder core built in main() and calls it. It builds the
// pages and the transport panel and binds them: a command from the menu, the tool bar or the
// transport block goes to the core, and what the core's sessions report reaches the screen.
#pragma once

#include "session/recorder_core.h"
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
class GlobalShortcuts;
class LevelMeter;
class OptionsDialog;
class PlaybackControlsPage;
class PositionSlider;
class RecordSoundPage;
class RecordedFiles;
class RecordingControlsPage;
class RecordingFiltersWindow;
class RenameDialog;
class StatusPanels;
class TimeDisplay;
class TipOfTheDayDialog;
class TransportBlock;
class TrayIndicator;

// The open dialog's filters, in order; the first is chosen at first.
QStringList openDialogFilters();

class MainWindow : public QMainWindow, private RecordingQuestions {
    Q_OBJECT

public:
    // Builds the window over the core (which outlives it) and arms the Tip of the Day's timer.
    explicit MainWindow(RecorderCore &core, QWidget *parent = nullptr);
    ~MainWindow() override;

    // Start-up, before the first show: the Equalizer window, the Recording Filters window
    // and the Rename dialog, made hidden.
    void createSecondaryWindows();
    // Whether the Tip of the Day offers itself a second after start-up (the default).
    void setTipOfTheDayOffered(bool offered);

    RecorderCore &core() { return m_core; }
    RecordingSession &recording() { return *m_recording; }
    PlaybackSession &playback() { return *m_playback; }
    RecordedFiles &files() { return *m_files; }
    const AppPaths &paths() const { return m_core.paths(); }
    // New settings in force: the recording session takes them and the format goes to the engine.
    void applySettings(const RecordingSettings &settings);

    // Status bar panels 0..2: what runs, the current file, its format.
    QString statusText(int panel) const;
    int statusPanelWidth(int panel) const;
    // Puts text into a panel; the format's panel (2) grows to show it whole.
    void setStatusText(int panel, const QString &text);

    // The icon in the desktop's tray, made with the window (hidden where the desktop has none).
    TrayIndicator *trayIndicator() const { return m_tray; }

public slots:
    // The commands, as the menu, the tool bar and the transport block give them.
    void open();                          // the open dialog, then openFile
    void openFile(const QString &path);   // measures, shows and lists the file
    void record();
    void play();
    void pause();                         // playback first, then recording
    void stop();
    // "Add Marker": a marker where capture is now, said in the status bar; throws the
    // refusal ("Not recording").
    void addMarker(const QString &name = QString());
    // "Next Marker" (+1), "Previous Marker" (-1) of the file being played.
    void jumpToMarker(int direction);
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
    // The tray's Quit: during a run it asks first ("Stop and quit"), then ends as quitNow().
    void quit();
    // The program ends without a question, even where closing would only hide the window
    // behind the tray: a run ends as Stop ends it, the window closes and the application
    // quits. For SIGTERM, a logout and the answered Quit.
    void quitNow();
    // The desktop's global shortcuts, shown and changed in Options (none: Options says they
    // are not available).
    void setGlobalShortcuts(GlobalShortcuts *shortcuts);

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    bool confirmRewrite(const QString &path) override;

    // Closing now would hide the window behind the tray, the run going on: a run exists, the
    // option is on and the tray's icon is there.
    bool closeHidesToTray() const;
    // File / Exit: ends the program as closing did; where closing would only hide the window,
    // as the tray's Quit does.
    void exitProgram();

    void createMenus();
    void createToolBar();
    void createPages();
    void createTransportPanel();
    void colourTabCaptions();   // the page captions' colour, for a light or a dark window
    void bindSessions();
    void firstShow();
    void showRecovery(const RecoveryReport &recovered);
    void layoutTransportPanel();

    // What the screen shows of the sessions.
    void showFile(const QString &path, const QString &formatDescription);
    void showRunningLook();
    void showTransportEnded();
    void updateCommands();
    void updateSnapshotNeeds();
    void reportDiskTimeLeft();
    void onRecordingTick(qint64 elapsedMs, int left, int right);
    void onPlaybackTick(qint64 positionMs, int perMille, int left, int right);
    void onRecordingEnded();
    void onFileRenamed(const QString &from, const QString &to);
    void onSliderValue(int value);
    void onTransportClick(TransportBlock::Button button);
    void offerTipOfTheDay();

    RecorderCore &m_core;
    RecordedFiles *m_files;
    RecordingSession *m_recording;
    PlaybackSession *m_playback;

    QAction *m_openAction = nullptr;
    QAction *m_optionsAction = nullptr;
    QAction *m_scheduleAction = nullptr;
    QAction *m_recordAction = nullptr;
    QAction *m_pauseAction = nullptr;
    QAction *m_stopAction = nullptr;
    QAction *m_addMarkerAction = nullptr;
    QToolButton *m_markerButton = nullptr;
    QAction *m_nextMarkerAction = nullptr;
    QAction *m_previousMarkerAction = nullptr;
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
    std::unique_ptr<StatusPanels> m_status;
    SleepInhibitor m_sleepInhibitor;   // the reason it gives the desktop is set by the constructor
    QTimer *m_tipTimer = nullptr;

    EqualizerWindow *m_equalizerWindow = nullptr;
    RecordingFiltersWindow *m_filtersWindow = nullptr;
    RenameDialog *m_renameDialog = nullptr;
    QPointer<OptionsDialog> m_optionsDialog;
    QPointer<GlobalShortcuts> m_globalShortcuts;   // shown and changed in Options
    QPointer<TipOfTheDayDialog> m_tipDialog;
    QPointer<AboutDialog> m_aboutDialog;
    TrayIndicator *m_tray = nullptr;

    bool m_shown = false;
    bool m_closed = false;
    bool m_quitting = false;      // closing ends the program, tray or not
    bool m_heldByTray = false;    // hidden behind the tray: the last window closing is no quit
    bool m_quitOnLastWindow = true;
};

// Opens a file named on the command line as File / Open does (shown and listed); a file that
// cannot be opened is reported in the error box and the window goes on.
void openFromCommandLine(MainWindow &window, const QString &path);
