#include "ui/main_window.h"

#include "engine/dsp/spectrum_analysis.h"
#include "session/format_text.h"
#include "session/recorded_files.h"
#include "ui/about_dialog.h"
#include "ui/equalizer_window.h"
#include "ui/file_info_page.h"
#include "ui/global_shortcuts.h"
#include "ui/mixer_pages.h"
#include "ui/options_dialog.h"
#include "ui/path_text.h"
#include "ui/record_sound_page.h"
#include "ui/recording_filters_window.h"
#include "ui/rename_dialog.h"
#include "ui/schedule_dialog.h"
#include "ui/status_panels.h"
#include "ui/tip_of_the_day_dialog.h"
#include "ui/tray_indicator.h"
#include "ui/ui_services.h"
#include "widgets/level_meter.h"
#include "widgets/position_slider.h"
#include "widgets/time_display.h"
#include "widgets/transport_block.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHideEvent>
#include <QIcon>
#include <QLabel>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QStyle>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>

namespace {

constexpr int kTransportPanelHeight = 65;
constexpr int kFileInfoTab = 3;
// How long the status bar says where a marker went, and why listening ended.
constexpr int kMarkerMessageMs = 4000;
constexpr int kMonitorMessageMs = 10000;

QIcon themedIcon(const char *themeName, const char *bundled)
{
    return QIcon::fromTheme(QString::fromLatin1(themeName), QIcon(QString::fromLatin1(bundled)));
}

}  // namespace

// The icons live in the static UI library; the linker keeps them only when asked.
static void initResources()
{
    Q_INIT_RESOURCE(resources);
}

// Built at each call, so the texts come in the language in force.
QStringList openDialogFilters()
{
    return {
        QCoreApplication::translate("MainWindow", "Wav files (*.wav)"),
        QCoreApplication::translate("MainWindow", "MPEG files (*.mp3;*.mp2;*.mp1;*.mpeg)"),
        QCoreApplication::translate("MainWindow", "Ogg Vorbis files (*.ogg)"),
        QCoreApplication::translate("MainWindow", "FLAC files (*.flac)"),
        QCoreApplication::translate("MainWindow", "Opus files (*.opus)"),
        QCoreApplication::translate("MainWindow", "AVI files (*.avi)"),
        QCoreApplication::translate("MainWindow", "G721 files (*.g721)"),
        QCoreApplication::translate("MainWindow", "MPPlus files (*.mpc;*.mp+)"),
        QCoreApplication::translate("MainWindow", "WMA files (*.wma)"),
    };
}

MainWindow::MainWindow(RecorderCore &core, QWidget *parent)
    : QMainWindow(parent),
      m_core(core),
      m_files(&core.files()),
      m_recording(&core.recording()),
      m_playback(&core.playback()),
      m_sleepInhibitor(tr("A recording is running"))
{
    initResources();
    setWindowTitle(ui::applicationTitle);
    setWindowIcon(QIcon(QStringLiteral(":/icons/tavrin-sound-recorder.svg")));
    resize(598, 428);
    setMinimumSize(560, 375);

    m_recording->setQuestions(this);
    // Crash recovery runs while the window is shown (main() starts it): the window says which
    // file it repairs, and what came of it.
    connect(&m_core, &RecorderCore::repairing, this, [this](const QString &name) {
        statusBar()->showMessage(tr("Repairing %1 from a recording that was interrupted...").arg(name));
    });
    connect(&m_core, &RecorderCore::recovered, this, &MainWindow::showRecovery);

    createMenus();
    createToolBar();
    createPages();
    createTransportPanel();
    m_status = std::make_unique<StatusPanels>(statusBar());
    bindSessions();
    // Every tab title shows whole, in any language: the window grows with them where they need it.
    const int tabsWidth = m_pages->tabBar()->sizeHint().width() + 2 * m_pages->style()->pixelMetric(QStyle::PM_DefaultFrameWidth) + 4;
    if (tabsWidth > minimumWidth()) {
        setMinimumWidth(tabsWidth);
        resize(std::max(width(), tabsWidth), height());
    }

    m_tipTimer = new QTimer(this);
    m_tipTimer->setObjectName(QStringLiteral("tipTimer"));
    m_tipTimer->setSingleShot(true);
    m_tipTimer->setInterval(1000);
    connect(m_tipTimer, &QTimer::timeout, this, [this] { ui::runCommand([this] { offerTipOfTheDay(); }); });
    m_tipTimer->start();

    m_fileInfoPage->setColumnWidths();
    // The core may be listening already (pre-record): panel 0 says so from the start.
    if (m_recording->state() != RecordingSession::State::Idle || m_playback->isActive())
        showRunningLook();
    reportDiskTimeLeft();

    // The icon in the desktop's tray: the Action menu's own commands, the window, Quit.
    m_tray = new TrayIndicator(m_core, *this, {m_recordAction, m_pauseAction, m_stopAction, m_addMarkerAction}, this);
    connect(m_tray, &TrayIndicator::quitRequested, this, [this] { ui::runCommand([this] { quit(); }); });
    // A logout on its way (the session manager asks for the data first): closing then ends
    // the program, as it would without the tray.
    connect(qApp, &QGuiApplication::commitDataRequest, this, [this] { m_quitting = true; });
    // The application ends while the window is hidden behind the tray (the window system's
    // quit does not close a hidden window): the run ends as closing ends it.
    connect(qApp, &QCoreApplication::aboutToQuit, this, [this] {
        if (!m_closed) {
            m_quitting = true;
            close();
        }
    });
}

MainWindow::~MainWindow()
{
    // The tray's menu holds the window's actions; it goes first.
    delete std::exchange(m_tray, nullptr);
    if (m_heldByTray)
        QGuiApplication::setQuitOnLastWindowClosed(m_quitOnLastWindow);
    // The core goes on without this window: nothing may ask it any more.
    m_recording->setQuestions(nullptr);
}

void MainWindow::applySettings(const RecordingSettings &settings)
{
    m_core.applyRecordingSettings(settings);
}

void MainWindow::setTipOfTheDayOffered(bool offered)
{
    if (offered)
        m_tipTimer->start();
    else
        m_tipTimer->stop();
}

bool MainWindow::confirmRewrite(const QString &)
{
    return ui::confirm(this, tr("Rewrite File?"));
}

// ---- building ----------------------------------------------------------------------------

void MainWindow::createMenus()
{
    const auto command = [this](QAction *action, const char *name, auto fn) {
        action->setObjectName(QString::fromLatin1(name));
        connect(action, &QAction::triggered, this, [this, fn] { ui::runCommand([this, fn] { (this->*fn)(); }); });
    };

    QMenu *file = menuBar()->addMenu(tr("&File"));
    m_openAction = file->addAction(themedIcon("document-open", ":/icons/open.svg"), tr("&Open"));
    m_openAction->setShortcut(QKeySequence(QStringLiteral("Ctrl+O")));
    file->addSeparator();
    QAction *exit = file->addAction(tr("E&xit"));
    command(m_openAction, "openAction", &MainWindow::open);
    command(exit, "exitAction", &MainWindow::exitProgram);

    QMenu *action = menuBar()->addMenu(tr("&Action"));
    QAction *record = m_recordAction = action->addAction(QIcon(QStringLiteral(":/icons/record.svg")), tr("&Record"));
    record->setShortcut(QKeySequence(QStringLiteral("Ctrl+R")));
    action->addSeparator();
    QAction *play = action->addAction(QIcon(QStringLiteral(":/icons/play.svg")), tr("&Play"));
    play->setShortcut(QKeySequence(QStringLiteral("Ctrl+P")));
    QAction *pause = m_pauseAction = action->addAction(QIcon(QStringLiteral(":/icons/pause.svg")), tr("P&ause"));
    QAction *stop = m_stopAction = action->addAction(QIcon(QStringLiteral(":/icons/stop.svg")), tr("&Stop"));
    stop->setShortcut(QKeySequence(QStringLiteral("Ctrl+S")));
    action->addSeparator();
    m_addMarkerAction = action->addAction(QIcon(QStringLiteral(":/icons/marker.svg")), tr("Add &Marker"));
    m_addMarkerAction->setShortcut(QKeySequence(QStringLiteral("Ctrl+M")));
    m_addMarkerAction->setEnabled(false);
    m_addMarkerAction->setObjectName(QStringLiteral("addMarkerAction"));
    connect(m_addMarkerAction, &QAction::triggered, this, [this] { ui::runCommand([this] { addMarker(); }); });
    m_nextMarkerAction = action->addAction(tr("&Next Marker"));
    m_nextMarkerAction->setShortcut(QKeySequence(QStringLiteral("Ctrl+.")));
    m_previousMarkerAction = action->addAction(tr("Pre&vious Marker"));
    m_previousMarkerAction->setShortcut(QKeySequence(QStringLiteral("Ctrl+,")));
    for (QAction *jump : {m_nextMarkerAction, m_previousMarkerAction}) {
        jump->setEnabled(false);
        connect(jump, &QAction::triggered, this, [this, jump] { jumpToMarker(jump == m_nextMarkerAction ? 1 : -1); });
    }
    action->addSeparator();
    m_scheduleAction = action->addAction(tr("Sc&hedule Recording..."));
    command(m_scheduleAction, "scheduleAction", &MainWindow::scheduleRecording);
    command(record, "recordAction", &MainWindow::record);
    command(play, "playAction", &MainWindow::play);
    command(pause, "pauseAction", &MainWindow::pause);
    command(stop, "stopAction", &MainWindow::stop);

    QMenu *options = menuBar()->addMenu(tr("&Options"));
    QAction *recordingControls = options->addAction(tr("&Recording Controls"));
    QAction *playbackControls = options->addAction(tr("&Playback Volume Controls"));
    QAction *fileInfo = options->addAction(tr("&File Info..."));
    options->addSeparator();
    m_optionsAction = options->addAction(themedIcon("preferences-system", ":/icons/options.svg"), tr("&Options..."));
    m_optionsAction->setShortcut(QKeySequence(Qt::Key_F2));
    recordingControls->setObjectName(QStringLiteral("recordingControlsAction"));
    playbackControls->setObjectName(QStringLiteral("playbackControlsAction"));
    fileInfo->setObjectName(QStringLiteral("fileInfoAction"));
    connect(recordingControls, &QAction::triggered, this, [this] { showTab(1); });
    connect(playbackControls, &QAction::triggered, this, [this] { showTab(2); });
    connect(fileInfo, &QAction::triggered, this, [this] { showTab(kFileInfoTab); });
    command(m_optionsAction, "optionsAction", &MainWindow::showOptions);

    QMenu *help = menuBar()->addMenu(tr("&Help"));
    QAction *contents = help->addAction(themedIcon("help-contents", ":/icons/help.svg"), tr("&Help Contents"));
    contents->setShortcut(QKeySequence(Qt::Key_F1));
    help->addSeparator();
    QAction *homePage = help->addAction(tr("Home&page"));
    help->addSeparator();
    QAction *tip = help->addAction(tr("&Tip of the Day"));
    QAction *about = help->addAction(themedIcon("help-about", ":/icons/about.svg"), tr("&About"));
    command(contents, "helpAction", &MainWindow::showHelp);
    command(homePage, "homePageAction", &MainWindow::showHomePage);
    command(tip, "tipOfTheDayAction", &MainWindow::showTipOfTheDay);
    command(about, "aboutAction", &MainWindow::showAbout);
}

void MainWindow::createToolBar()
{
    QToolBar *bar = addToolBar(tr("Tools", "tool bar title"));
    bar->setObjectName(QStringLiteral("toolBar"));
    bar->setMovable(false);
    bar->setFloatable(false);
    bar->setIconSize(QSize(32, 32));
    bar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    bar->toggleViewAction()->setEnabled(false);

    const auto button = [this, bar](const char *name, const QString &caption, const QString &hint,
                                    const QIcon &icon, auto fn) {
        auto *b = new QToolButton(bar);
        b->setObjectName(QString::fromLatin1(name));
        b->setText(caption);
        b->setToolTip(hint);
        b->setStatusTip(hint);
        b->setIcon(icon);
        b->setAutoRaise(true);
        b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        b->setMinimumSize(43, 52);
        connect(b, &QToolButton::clicked, this, [fn] { ui::runCommand(fn); });
        bar->addWidget(b);
        return b;
    };
    m_openButton = button("openButton", tr("Open", "tool bar button"), tr("Open a file"),
                          themedIcon("document-open", ":/icons/open.svg"), [this] { open(); });
    m_optionsButton = button("optionsButton", tr("Options", "tool bar button"), tr("Options"),
                             themedIcon("preferences-system", ":/icons/options.svg"), [this] { showOptions(); });
    m_markerButton = button("markerButton", tr("Marker", "tool bar button"),
                            tr("Add a marker where the recording is now (Ctrl+M)"),
                            QIcon(QStringLiteral(":/icons/marker.svg")), [this] { addMarker(); });
    m_markerButton->setEnabled(false);
    bar->addSeparator();
    button("helpButton", tr("Help", "tool bar button"), tr("Help Contents"),
           themedIcon("help-contents", ":/icons/help.svg"), [this] { showHelp(); });
    button("aboutButton", tr("About", "tool bar button"), tr("About"),
           themedIcon("help-about", ":/icons/about.svg"), [this] { showAbout(); });
}

void MainWindow::createPages()
{
    m_pages = new QTabWidget;
    m_pages->setObjectName(QStringLiteral("pages"));

    m_recordSoundPage = new RecordSoundPage;
    m_recordingControlsPage = new RecordingControlsPage(m_core.inputs());
    m_playbackControlsPage = new PlaybackControlsPage(m_core.outputs(), m_core.equalizer());
    m_fileInfoPage = new FileInfoPage(m_core);

    m_pages->addTab(m_recordSoundPage, tr("Record Sound"));
    m_pages->addTab(m_recordingControlsPage, tr("Recording Controls"));
    m_pages->addTab(m_playbackControlsPage, tr("Playback Volume Controls"));
    m_pages->addTab(m_fileInfoPage, tr("File Info"));
    m_pages->setCurrentIndex(0);

    // The page captions are bold navy; the pages keep the normal font.
    QFont captionFont = m_pages->tabBar()->font();
    captionFont.setBold(true);
    m_pages->tabBar()->setFont(captionFont);
    colourTabCaptions();

    connect(m_pages, &QTabWidget::currentChanged, this, [this] { updateSnapshotNeeds(); });
    connect(m_recordSoundPage, &RecordSoundPage::spectrumSizeChanged, this, [this] { updateSnapshotNeeds(); });
    connect(m_recordingControlsPage, &RecordingControlsPage::filterWindowRequested, this,
            [this] { ui::runCommand([this] { showRecordingFilters(); }); });
    connect(m_recordingControlsPage, &MixerPage::widthNeeded, this,
            [this](int w) { resize(std::max(width(), w), height()); });
    // "Listen to the input": a refusal says why and leaves the box clear.
    m_recordingControlsPage->showMonitoring(m_core.monitoring());
    connect(m_recordingControlsPage, &RecordingControlsPage::monitoringToggled, this, [this](bool on) {
        const QString refusal = m_core.setMonitoring(on);
        m_recordingControlsPage->showMonitoring(m_core.monitoring());
        if (!refusal.isEmpty())
            ui::notice(this, refusal);
    });
    m_recordingControlsPage->showSeparateSides(m_core.separateSides());
    connect(m_recordingControlsPage, &RecordingControlsPage::separateSidesToggled, this, [this](bool on) {
        ui::runCommand([this, on] { m_core.setSeparateSides(on); });
    });
    connect(&m_core, &RecorderCore::monitoringEnded, this, [this](const QString &why) {
        m_recordingControlsPage->showMonitoring(false);
        statusBar()->showMessage(why, kMonitorMessageMs);
    });
    for (MixerPage *page : {static_cast<MixerPage *>(m_recordingControlsPage), static_cast<MixerPage *>(m_playbackControlsPage)})
        connect(page, &MixerPage::deviceChosen, &m_core, &RecorderCore::devicesChosen);
    connect(m_playbackControlsPage, &PlaybackControlsPage::equalizerWindowRequested, this,
            [this] { ui::runCommand([this] { showEqualizer(); }); });
    connect(m_playbackControlsPage, &MixerPage::widthNeeded, this,
            [this](int w) { resize(std::max(width(), w), height()); });
    connect(m_fileInfoPage, &FileInfoPage::playRequested, this, [this] { ui::runCommand([this] { play(); }); });
    connect(m_fileInfoPage, &FileInfoPage::renameRequested, this, [this] {
        ui::runCommand([this] {
            if (m_renameDialog)
                m_renameDialog->exec();
        });
    });
    connect(m_fileInfoPage, &FileInfoPage::fileShown, this, [this](const QString &path, const QString &format) {
        setStatusText(1, path);
        setStatusText(2, shortFormatText(format));
    });
}

void MainWindow::createTransportPanel()
{
    m_transportPanel = new QWidget;
    m_transportPanel->setObjectName(QStringLiteral("transportPanel"));
    m_transportPanel->setFixedHeight(kTransportPanelHeight);
    m_transportPanel->installEventFilter(this);

    m_slider = new PositionSlider(m_transportPanel);
    m_slider->setObjectName(QStringLiteral("positionSlider"));
    m_transport = new TransportBlock(m_transportPanel);
    m_transport->setObjectName(QStringLiteral("transportBlock"));
    m_transport->setToolTip(tr("Play/Record Control"));
    m_leftMeter = new LevelMeter(m_transportPanel);
    m_leftMeter->setObjectName(QStringLiteral("leftMeter"));
    m_rightMeter = new LevelMeter(m_transportPanel);
    m_rightMeter->setObjectName(QStringLiteral("rightMeter"));
    m_timeDisplay = new TimeDisplay(m_transportPanel);
    m_timeDisplay->setObjectName(QStringLiteral("timeDisplay"));
    m_timeDisplay->setToolTip(tr("Time Elapsed"));

    m_slider->setGeometry(8, 8, 400, 15);
    m_transport->setGeometry(8, 27, 300, 27);
    m_leftMeter->setGeometry(315, 28, 153, 21);
    m_rightMeter->setGeometry(315, 43, 153, 13);
    m_rightMeter->raise();   // the right-channel meter sits over the lower edge of the left one
    m_timeDisplay->setGeometry(475, 24, 121, 33);

    // What a screen reader says of each part of the panel.
    m_slider->setAccessibleName(tr("Position"));
    m_slider->setAccessibleDescription(tr("Where the file plays; Left and Right move it"));
    m_transport->setAccessibleName(tr("Transport"));
    m_transport->setAccessibleDescription(tr("Play, Pause, Stop, Record, the volume and Mute"));
    m_leftMeter->setAccessibleName(tr("Left level"));
    m_rightMeter->setAccessibleName(tr("Right level"));
    m_timeDisplay->setAccessibleName(tr("Time Elapsed"));

    // The slider and the transport block act and take the keyboard; the meters and the time
    // display only show, and Tab passes them by.
    m_slider->setFocusPolicy(Qt::StrongFocus);
    m_transport->setFocusPolicy(Qt::StrongFocus);
    for (QWidget *shown : {static_cast<QWidget *>(m_leftMeter), static_cast<QWidget *>(m_rightMeter),
                           static_cast<QWidget *>(m_timeDisplay)})
        shown->setFocusPolicy(Qt::NoFocus);
    // Keyboard order along the panel: slider, transport block.
    setTabOrder(m_slider, m_transport);

    connect(m_transport, &TransportBlock::clicked, this,
            [this](TransportBlock::Button button) { ui::runCommand([&] { onTransportClick(button); }); });
    connect(m_transport, &TransportBlock::volumeChanged, this,
            [this](int volume) { ui::runCommand([&] { m_playback->setVolume(volume); }); });
    connect(m_slider, &PositionSlider::pressed, this,
            [this] { ui::runCommand([this] { m_playback->holdPosition(); }); });
    connect(m_slider, &PositionSlider::released, this,
            [this] { ui::runCommand([this] { m_playback->releasePosition(m_slider->value()); }); });
    connect(m_slider, &PositionSlider::valueChanged, this,
            [this](int value) { ui::runCommand([&] { onSliderValue(value); }); });

    auto *central = new QWidget;
    auto *layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_pages, 1);
    layout->addWidget(m_transportPanel);
    setCentralWidget(central);
}

void MainWindow::bindSessions()
{
    RecordingSession *recording = m_recording;
    connect(recording, &RecordingSession::stateChanged, this, [this] {
        updateCommands();
        showRunningLook();
        updateSnapshotNeeds();
        // The machine is not suspended under a running recording.
        if (m_recording->isActive())
            m_sleepInhibitor.hold();
        else
            m_sleepInhibitor.release();
    });
    connect(recording, &RecordingSession::partStarted, this, &MainWindow::showFile);
    connect(recording, &RecordingSession::partRenamed, this, [this](const QString &path) {
        setStatusText(1, shortenPath(path, fontMetrics(), statusPanelWidth(1) - 8));
    });
    connect(recording, &RecordingSession::runEnded, this, &MainWindow::onRecordingEnded);
    connect(recording, &RecordingSession::tick, this, &MainWindow::onRecordingTick);
    connect(recording, &RecordingSession::snapshotReady, m_recordSoundPage->spectrum(),
            [this](const engine::SampleArray &s) { m_recordSoundPage->spectrum()->DrawArray(s); });
    connect(recording, &RecordingSession::failed, this, [](const QString &text) { ui::errorBox(text); });
    connect(recording, &RecordingSession::notice, this, [this](const QString &text) { ui::notice(this, text); });
    connect(recording, &RecordingSession::scheduleCountdown, this, [this](qint64 secondsLeft) {
        // A playback that runs meanwhile keeps panel 0.
        if (m_recording->state() == RecordingSession::State::Scheduled && !m_playback->isActive())
            setStatusText(0, countdownText(secondsLeft));
    });
    connect(m_recordingControlsPage, &MixerPage::deviceChosen, recording, &RecordingSession::inputChanged);
    connect(recording, &RecordingSession::diskTimeLeftChanged, this,
            [this](qint64 seconds) { m_status->showDiskTimeLeft(seconds); });

    PlaybackSession *playback = m_playback;
    connect(playback, &PlaybackSession::stateChanged, this, [this](PlaybackSession::State state) {
        if (state == PlaybackSession::State::Stopped) {
            showTransportEnded();
            m_fileInfoPage->setApplyEnabled(true);
        } else {
            showRunningLook();
            if (state == PlaybackSession::State::Paused) {
                m_leftMeter->setValue(0);
                m_rightMeter->setValue(0);
            } else {
                setStatusText(1, m_playback->playingFile());
                m_slider->setMarks(m_playback->shownMarkerPlaces());
            }
        }
        updateCommands();
        updateSnapshotNeeds();
    });
    connect(playback, &PlaybackSession::tick, this, &MainWindow::onPlaybackTick);
    connect(playback, &PlaybackSession::snapshotReady, m_recordSoundPage->spectrum(),
            [this](const engine::SampleArray &s) { m_recordSoundPage->spectrum()->DrawArray(s); });
    connect(playback, &PlaybackSession::failed, this, [](const QString &text) { ui::errorBox(text); });

    connect(m_files, &RecordedFiles::fileRenamed, this, &MainWindow::onFileRenamed);
}

void MainWindow::createSecondaryWindows()
{
    m_equalizerWindow = new EqualizerWindow(m_core.equalizer(), this);
    connect(m_equalizerWindow, &EqualizerWindow::bandsChanged, m_playbackControlsPage,
            &PlaybackControlsPage::switchEqualizerOnOnce);
    m_filtersWindow = new RecordingFiltersWindow(m_core.filters(), this);
    m_renameDialog = new RenameDialog(m_core, this);
}

void MainWindow::colourTabCaptions()
{
    // Navy on a light window; on a dark one navy would vanish, so a light blue takes its place.
    const bool dark = m_pages->tabBar()->palette().color(QPalette::Window).lightness() < 128;
    const QColor caption = dark ? QColor(0x8c, 0xb4, 0xff) : QColor(0x00, 0x00, 0x80);
    for (int i = 0; i < m_pages->count(); ++i)
        m_pages->tabBar()->setTabTextColor(i, caption);
}

void MainWindow::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::PaletteChange && m_pages)
        colourTabCaptions();
}

// ---- layout and showing --------------------------------------------------------------------

void MainWindow::layoutTransportPanel()
{
    const int w = m_transportPanel->width();
    m_slider->setGeometry(8, 8, w - 24, 15);
    m_transport->setGeometry(8, 27, w - 308, 27);
    const int metersLeft = m_transport->x() + m_transport->width() + 7;
    m_leftMeter->move(metersLeft, 28);
    m_rightMeter->move(metersLeft, 43);
    m_timeDisplay->move(m_leftMeter->x() + m_leftMeter->width() + 7, 24);
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_transportPanel && event->type() == QEvent::Resize)
        layoutTransportPanel();
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (m_heldByTray) {
        m_heldByTray = false;
        QGuiApplication::setQuitOnLastWindowClosed(m_quitOnLastWindow);
    }
    if (m_shown)
        return;
    m_shown = true;
    if (const QScreen *screen = this->screen()) {
        const QRect area = screen->availableGeometry();
        move(area.center() - QPoint(frameGeometry().width() / 2, frameGeometry().height() / 2));
    }
    firstShow();
}

void MainWindow::firstShow()
{
    // Each step runs on its own: a failure is shown and the window still comes up complete.
    ui::runCommand([this] { layoutTransportPanel(); });
    ui::runCommand([this] {
        m_playbackControlsPage->fillDeviceList();
        m_recordingControlsPage->fillDeviceList();
    });
    ui::runCommand([this] { m_fileInfoPage->fillGenreList(); });
    ui::runCommand([this] {
        if (m_filtersWindow)
            m_filtersWindow->syncFromRecorder();
    });
    ui::runCommand([this] { m_playback->prepare(); });
    ui::runCommand([this] {
        m_playbackControlsPage->buildStrips();
        m_recordingControlsPage->buildStrips();
    });
    ui::runCommand([this] { m_recordSoundPage->initSpectrumOptions(); });
    ui::runCommand([this] { m_transport->setVolume(m_playback->volume()); });
    // The button shows the line it switches: the output device itself.
    ui::runCommand([this] { m_transport->setMute(m_playback->muted()); });
    updateSnapshotNeeds();
}

void MainWindow::showRecovery(const RecoveryReport &recovered)
{
    // A recording that a crash cut short was repaired and listed: the user is told once.
    statusBar()->clearMessage();
    if (!recovered.said.isEmpty()) {
        showTab(kFileInfoTab);
        ui::notice(this, recovered.said.join(QLatin1Char('\n')));
    }
    // One on a drive that is not there now waits for it, unless the user lets it go.
    for (const RecoveryReport::Unreachable &part : recovered.unreachable) {
        if (!ui::ask(this, part.text, tr("&Wait for It"), tr("&Forget It")))
            forgetInterruptedPart(part.journalPath);
    }
}

void MainWindow::hideEvent(QHideEvent *event)
{
    QMainWindow::hideEvent(event);
    // Hidden behind the tray (not closed): a box of the program's that closes meanwhile, the
    // last window on the screen, must not end the program and the run with it.
    if (!m_closed && !event->spontaneous() && !m_heldByTray && m_tray && m_tray->isVisible()) {
        m_heldByTray = true;
        m_quitOnLastWindow = QGuiApplication::quitOnLastWindowClosed();
        QGuiApplication::setQuitOnLastWindowClosed(false);
    }
}

bool MainWindow::closeHidesToTray() const
{
    // The cheap checks first: whether the tray is still there is asked of the desktop.
    return m_recording->isActive() && m_core.settings().closesToTray() && m_tray && m_tray->isPresent();
}

void MainWindow::exitProgram()
{
    if (closeHidesToTray())
        quit();
    else
        close();
}

void MainWindow::quit()
{
    // The safe answer is the first: Enter and Escape keep the run going.
    if (m_recording->isActive()
        && ui::ask(this, tr("A recording is running. Quitting stops it and keeps what was recorded."),
                   tr("Keep recording"), tr("Stop and quit")))
        return;
    quitNow();
}

void MainWindow::quitNow()
{
    m_quitting = true;
    close();
    // A window hidden behind the tray closes without ending the application itself.
    QCoreApplication::quit();
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    // During a run, with the option on and the tray there, the window goes behind the tray's
    // icon and the run goes on.
    if (!m_closed && !m_quitting && closeHidesToTray()) {
        event->ignore();
        hide();
        return;
    }
    if (!m_closed) {
        m_closed = true;
        // A playback and a run end as Stop ends them; the mix levels are kept for the next
        // start.
        ui::runCommand([this] { m_core.shutDown(); });
    }
    QMainWindow::closeEvent(event);
}

void MainWindow::showTab(int index)
{
    m_pages->setCurrentIndex(index);
}

QString MainWindow::statusText(int panel) const
{
    return m_status->text(panel);
}

void MainWindow::setStatusText(int panel, const QString &text)
{
    m_status->setText(panel, text);
}

int MainWindow::statusPanelWidth(int panel) const
{
    return m_status->width(panel);
}

// ---- commands ------------------------------------------------------------------------------

void MainWindow::open()
{
    const QString path = ui::getOpenFileName(this, tr("Open file"), openDialogFilters());
    if (!path.isEmpty())
        openFile(path);
}

void MainWindow::openFile(const QString &path)
{
    const PlaybackSession::FileFacts facts = m_core.openFile(path);
    showFile(path, facts.description);
    if (!m_playback->isActive())
        m_slider->setMarks(m_playback->shownMarkerPlaces());
}

void MainWindow::record()
{
    m_core.record();
    // A recording that could not start changed no state: the look says what runs anyway.
    showRunningLook();
}

void MainWindow::play()
{
    m_core.play(m_slider->value());
    showRunningLook();
}

void MainWindow::pause()
{
    m_core.pause();
}

void MainWindow::stop()
{
    m_core.stop();
}

void MainWindow::addMarker(const QString &name)
{
    statusBar()->showMessage(m_core.addMarker(name), kMarkerMessageMs);
}

void MainWindow::jumpToMarker(int direction)
{
    const int place = m_playback->jumpToMarker(direction);
    if (place >= 0)
        m_slider->setValue(place);
}

void MainWindow::onTransportClick(TransportBlock::Button button)
{
    switch (button) {
    case TransportBlock::Button::Play:
        play();
        break;
    case TransportBlock::Button::Pause:
        pause();
        break;
    case TransportBlock::Button::Stop:
        stop();
        break;
    case TransportBlock::Button::Record:
        record();
        break;
    case TransportBlock::Button::Mute:
        m_playback->setMuted(m_transport->mute());
        break;
    }
}

void MainWindow::scheduleRecording()
{
    if (m_recording->isActive())
        return;
    ScheduleDialog dialog([this] { return m_recording->now(); }, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const QDateTime at = dialog.startAt();
    if (!at.isValid()) {
        ui::errorBox(tr("That time has passed; choose a later one."));
        return;
    }
    m_recording->schedule(at, dialog.lengthSeconds());
}

void MainWindow::setGlobalShortcuts(GlobalShortcuts *shortcuts)
{
    m_globalShortcuts = shortcuts;
}

void MainWindow::showOptions()
{
    if (!m_optionsDialog)
        m_optionsDialog = new OptionsDialog(m_core, this);
    m_optionsDialog->setGlobalShortcuts(m_globalShortcuts);
    // Modal; closing it in any way deletes it, and the QPointer forgets it.
    m_optionsDialog->exec();
}

void MainWindow::showEqualizer()
{
    if (!m_equalizerWindow)
        return;
    m_equalizerWindow->centreOnMainWindow();
    m_equalizerWindow->exec();
}

void MainWindow::showRecordingFilters()
{
    if (m_filtersWindow)
        m_filtersWindow->showOrRaise();
}

void MainWindow::offerTipOfTheDay()
{
    // A box the user has not answered yet (a file named at start-up that does not open)
    // comes first; the tip waits for it.
    if (QApplication::activeModalWidget()) {
        m_tipTimer->start();
        return;
    }
    if (m_core.settings().showsTips())
        showTipOfTheDay();
}

void MainWindow::showTipOfTheDay()
{
    if (!m_tipDialog)
        m_tipDialog = new TipOfTheDayDialog(m_core.settings(), m_core.paths().tipsFile, this);
    if (m_tipDialog->isVisible()) {
        m_tipDialog->raise();
        m_tipDialog->activateWindow();
        return;
    }
    m_tipDialog->exec();
}

void MainWindow::showAbout()
{
    if (!m_aboutDialog)
        m_aboutDialog = new AboutDialog(this);
    if (m_aboutDialog->isVisible()) {
        m_aboutDialog->raise();
        m_aboutDialog->activateWindow();
        return;
    }
    m_aboutDialog->exec();
}

void MainWindow::showHelp()
{
    // The manual's presence is not checked: a missing file is the desktop's to report.
    ui::openUrl(QUrl::fromLocalFile(m_core.paths().helpFile));
}

void MainWindow::showHomePage()
{
    ui::openUrl(QUrl(homePageAddress));
}

// ---- what the sessions report --------------------------------------------------------------

void MainWindow::showFile(const QString &path, const QString &formatDescription)
{
    // A dialog that has just closed repaints first; nothing else is handled here, so no
    // block or tick can slip in between the steps of a command.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest);

    m_transport->setEnabled(true);
    m_slider->setEnabled(!m_recording->isActive());
    m_slider->setStripColor(palette().color(QPalette::Base));
    m_fileInfoPage->resetTags();
    setStatusText(1, shortenPath(path, fontMetrics(), statusPanelWidth(1) - 8));
    setStatusText(2, shortFormatText(formatDescription));
    showRunningLook();
    m_fileInfoPage->setResetEnabled(true);
    m_fileInfoPage->setApplyEnabled(true);
}

void MainWindow::updateCommands()
{
    // Open and Options wait while a recording exists; the slider has nothing to show then.
    const bool recording = m_recording->isActive();
    m_openButton->setEnabled(!recording);
    m_optionsButton->setEnabled(!recording);
    m_openAction->setEnabled(!recording);
    m_optionsAction->setEnabled(!recording);
    m_scheduleAction->setEnabled(!recording);
    const RecordingSession::State state = m_recording->state();
    const bool markable = state == RecordingSession::State::Recording || state == RecordingSession::State::Paused
                          || state == RecordingSession::State::WaitingForSound;
    m_addMarkerAction->setEnabled(markable);
    m_markerButton->setEnabled(markable);
    m_nextMarkerAction->setEnabled(m_playback->isActive());
    m_previousMarkerAction->setEnabled(m_playback->isActive());
    m_slider->setEnabled(!recording);
    if (recording)
        m_slider->setValue(0);
}

void MainWindow::showRunningLook()
{
    // Panel 0 and the transport block say what runs, as the core sees it.
    const RecorderCore::TransportStatus status = m_core.transportStatus();
    setStatusText(0, status.text);
    switch (status.look) {
    case RecorderCore::Look::Recording:
        m_transport->showRecording();
        break;
    case RecorderCore::Look::Paused:
        m_transport->showPaused();
        break;
    case RecorderCore::Look::Playing:
        m_transport->showPlaying();
        break;
    case RecorderCore::Look::Stopped:
        m_transport->showStopped();
        break;
    }
}

void MainWindow::showTransportEnded()
{
    m_leftMeter->setValue(0);
    m_rightMeter->setValue(0);
    if (!m_playback->positionHeld())
        m_slider->setValue(0);   // a slider the user holds stays where it is
    showRunningLook();
    if (!m_playback->isActive() && !m_recording->isActive()) {
        m_timeDisplay->setMilliseconds(0);
        m_timeDisplay->setSeconds(0);
        m_timeDisplay->setMinutes(0);
        m_timeDisplay->setHours(0);
        m_recordSoundPage->spectrum()->DrawArray(engine::SampleArray());
    }
}

void MainWindow::onRecordingEnded()
{
    showTransportEnded();
    m_playback->setShownFile(m_recording->lastPartFrames(), m_recording->lastPartRate());
    m_slider->setMarks({});
    ui::runCommand([this] { m_fileInfoPage->resetTags(); });
    m_fileInfoPage->setApplyEnabled(true);
    showTab(kFileInfoTab);
}

void MainWindow::updateSnapshotNeeds()
{
    // Snapshots are taken only for a spectrum that shows: the recording's while it runs,
    // else the playback's.
    const bool visible = m_shown && m_pages->currentWidget() == m_recordSoundPage;
    m_core.setSpectrumFrames(visible ? 2 * m_recordSoundPage->spectrum()->GetWindowArraySize() : 0);
}

void MainWindow::reportDiskTimeLeft()
{
    m_status->showDiskTimeLeft(m_recording->secondsLeftOnDisk());
}

void MainWindow::onRecordingTick(qint64 elapsedMs, int left, int right)
{
    if (!m_core.recordingOwnsDisplay() && m_playback->isActive())
        return;
    m_leftMeter->setValue(left);
    m_rightMeter->setValue(right);
    m_timeDisplay->setMilliseconds(elapsedMs);
}

void MainWindow::onPlaybackTick(qint64 positionMs, int perMille, int left, int right)
{
    m_leftMeter->setValue(left);
    m_rightMeter->setValue(right);
    if (m_core.recordingOwnsDisplay())
        return;   // while both run, the recording owns the time display, the spectrum and the slider
    m_timeDisplay->setMilliseconds(positionMs);
    if (!m_playback->positionHeld())
        m_slider->setValue(perMille);
}

void MainWindow::onSliderValue(int value)
{
    if (m_playback->isActive() || m_recording->isActive())
        return;
    const qint64 t = m_playback->previewMs(value);
    if (t < 1000)
        m_timeDisplay->setSeconds(0);
    if (t < 60000)
        m_timeDisplay->setMinutes(0);
    m_timeDisplay->setMilliseconds(t);
}

void MainWindow::onFileRenamed(const QString &from, const QString &to)
{
    m_playback->followRename(from, to);
    // Panel 1 shows the path whole or shortened; either way it follows the file.
    const QString shown = statusText(1);
    const int width = statusPanelWidth(1) - 8;
    if (shown == from)
        setStatusText(1, to);
    else if (shown == shortenPath(from, fontMetrics(), width))
        setStatusText(1, shortenPath(to, fontMetrics(), width));
}

void openFromCommandLine(MainWindow &window, const QString &path)
{
    ui::runCommand([&] { window.openFile(path); });
}
