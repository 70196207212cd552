#include "ui/main_window.h"

#include "ui/ui_services.h"
#include "widgets/level_meter.h"
#include "widgets/spectrum_view.h"
#include "widgets/transport_block.h"
#include "widgets/position_slider.h"
#include "widgets/time_display.h"
#include "ui/file_info_page.h"
#include "ui/rename_dialog.h"
#include "ui/advanced_controls_dialog.h"
#include "ui/equalizer_window.h"
#include "ui/recording_filters_window.h"
#include "ui/record_sound_page.h"
#include "session/ini_file.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QEvent>
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
#include <QVBoxLayout>

namespace {

constexpr int kTransportPanelHeight = 65;
constexpr int kStatusPanelWidths[3] = {60, 320, 300};
constexpr int kStatusPanelPadding = 6;   // frame and margin on each side of a panel's text

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

MainWindow::MainWindow(engine::IEngineFactory &factory, const AppPaths &paths, QWidget *parent)
    : QMainWindow(parent), Engine(factory), Paths(paths)
{
    initResources();
    setWindowTitle(ui::applicationTitle);
    setWindowIcon(QIcon(QStringLiteral(":/icons/tavrin-sound-recorder.svg")));
    resize(598, 428);
    setMinimumSize(560, 375);

    createComponents();
    createMenus();
    createToolBar();
    createPages();
    createTransportPanel();
    createStatusBar();
    connectEngineEvents();

    TimerTip = new QTimer(this);
    TimerTip->setInterval(1000);
    connect(TimerTip, &QTimer::timeout, this, [this] { ui::runCommand([this] { TimerTipTimer(); }); });

    FormCreate();
}

MainWindow::~MainWindow()
{
    // The secondary windows are parented to this window and go with it; the engine
    // components outlive the widgets that point at them.
}

IniFile MainWindow::settingsFile() const
{
    return IniFile(Paths.settingsFile);
}

void MainWindow::createComponents()
{
    AudioRecord1 = Engine.createRecorder(QStringLiteral("AudioRecord1"));
    AudioPlayer1 = Engine.createPlayer(QStringLiteral("AudioPlayer1"));
    AudioFile1 = Engine.createFile(QStringLiteral("AudioFile1"));
    AudioFile2 = Engine.createFile(QStringLiteral("AudioFile2"));
    AudioInformation1 = Engine.createInformation(QStringLiteral("AudioInformation1"));
    Mp3LameEncoder = Engine.createLameEncoder(QStringLiteral("Mp3LameEncoder"));
}

void MainWindow::createMenus()
{
    const auto command = [this](QAction *action, auto fn) {
        connect(action, &QAction::triggered, this, [this, fn] { ui::runCommand([this, fn] { (this->*fn)(); }); });
    };

    QMenu *file = menuBar()->addMenu(QStringLiteral("&File"));
    MenuOpen = file->addAction(themedIcon("document-open", ":/icons/open.svg"), QStringLiteral("&Open"));
    MenuOpen->setShortcut(QKeySequence(QStringLiteral("Ctrl+O")));
    file->addSeparator();
    MenuExit = file->addAction(QStringLiteral("E&xit"));
    command(MenuOpen, &MainWindow::OpenClick);
    command(MenuExit, &MainWindow::ExitClick);

    QMenu *action = menuBar()->addMenu(QStringLiteral("&Action"));
    MenuRecord = action->addAction(QIcon(QStringLiteral(":/icons/record.svg")), QStringLiteral("&Record"));
    MenuRecord->setShortcut(QKeySequence(QStringLiteral("Ctrl+R")));
    action->addSeparator();
    MenuPlay = action->addAction(QIcon(QStringLiteral(":/icons/play.svg")), QStringLiteral("&Play"));
    MenuPlay->setShortcut(QKeySequence(QStringLiteral("Ctrl+P")));
    MenuPause = action->addAction(QIcon(QStringLiteral(":/icons/pause.svg")), QStringLiteral("P&ause"));
    MenuStop = action->addAction(QIcon(QStringLiteral(":/icons/stop.svg")), QStringLiteral("&Stop"));
    MenuStop->setShortcut(QKeySequence(QStringLiteral("Ctrl+S")));
    command(MenuRecord, &MainWindow::StartRecording);
    command(MenuPlay, &MainWindow::StartPlayback);
    command(MenuPause, &MainWindow::PauseClick);
    command(MenuStop, &MainWindow::StopClick);

    QMenu *options = menuBar()->addMenu(QStringLiteral("&Options"));
    MenuRecordingControls = options->addAction(QStringLiteral("&Recording Controls"));
    MenuPlaybackControls = options->addAction(QStringLiteral("&Playback Volume Controls"));
    MenuFileInfo = options->addAction(QStringLiteral("&File Info..."));
    options->addSeparator();
    MenuOptions = options->addAction(themedIcon("preferences-system", ":/icons/options.svg"), QStringLiteral("&Options..."));
    MenuOptions->setShortcut(QKeySequence(Qt::Key_F2));
    connect(MenuRecordingControls, &QAction::triggered, this, [this] { ShowTab(1); });
    connect(MenuPlaybackControls, &QAction::triggered, this, [this] { ShowTab(2); });
    connect(MenuFileInfo, &QAction::triggered, this, [this] { ShowTab(3); });
    command(MenuOptions, &MainWindow::OptionsClick);

    QMenu *help = menuBar()->addMenu(QStringLiteral("&Help"));
    MenuHelpContents = help->addAction(themedIcon("help-contents", ":/icons/help.svg"), QStringLiteral("&Help Contents"));
    MenuHelpContents->setShortcut(QKeySequence(Qt::Key_F1));
    help->addSeparator();
    MenuHomepage = help->addAction(QStringLiteral("Home&page"));
    help->addSeparator();
    MenuTipOfTheDay = help->addAction(QStringLiteral("&Tip of the Day"));
    MenuAbout = help->addAction(themedIcon("help-about", ":/icons/about.svg"), QStringLiteral("&About"));
    command(MenuHelpContents, &MainWindow::HelpContentsClick);
    command(MenuHomepage, &MainWindow::HomepageClick);
    command(MenuTipOfTheDay, &MainWindow::TipOfTheDayClick);
    command(MenuAbout, &MainWindow::AboutClick);
}

void MainWindow::createToolBar()
{
    ToolBar1 = addToolBar(QStringLiteral("Tools"));
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    ToolBar1->setMovable(false);
    ToolBar1->setFloatable(false);
    ToolBar1->setIconSize(QSize(32, 32));
    ToolBar1->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    ToolBar1->toggleViewAction()->setEnabled(false);

    const auto button = [this](const QString &caption, const QString &hint, const QIcon &icon, auto fn) {
        auto *b = new QToolButton(ToolBar1);
        b->setText(caption);
        b->setToolTip(hint);
        b->setStatusTip(hint);
        b->setIcon(icon);
        b->setAutoRaise(true);
        b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        b->setMinimumSize(43, 52);
        connect(b, &QToolButton::clicked, this, [this, fn] { ui::runCommand([this, fn] { (this->*fn)(); }); });
        ToolBar1->addWidget(b);
        return b;
    };
    ToolBtnOpen = button(QStringLiteral("Open"), QStringLiteral("Open a file"),
                         themedIcon("document-open", ":/icons/open.svg"), &MainWindow::OpenClick);
    ToolBtnOptions = button(QStringLiteral("Options"), QStringLiteral("Options"),
                            themedIcon("preferences-system", ":/icons/options.svg"), &MainWindow::OptionsClick);
    ToolBar1->addSeparator();
    ToolBtnHelp = button(QStringLiteral("Help"), QStringLiteral("Help Contents"),
                         themedIcon("help-contents", ":/icons/help.svg"), &MainWindow::HelpContentsClick);
    ToolBtnAbout = button(QStringLiteral("About"), QStringLiteral("About"),
                          themedIcon("help-about", ":/icons/about.svg"), &MainWindow::AboutClick);
}

void MainWindow::createPages()
{
    PageControl1 = new QTabWidget;
    PageControl1->setObjectName(QStringLiteral("PageControl1"));

    TabSheet1 = new RecordSoundPage;
    AudioVisualization1 = TabSheet1->AudioVisualization1;
    TabSheet2 = BuildRecordingControlsPage();
    TabSheet3 = BuildPlaybackControlsPage();
    TabSheet4 = new FileInfoPage(*this);

    PageControl1->addTab(TabSheet1, QStringLiteral("Record Sound"));
    PageControl1->addTab(TabSheet2, QStringLiteral("Recording Controls"));
    PageControl1->addTab(TabSheet3, QStringLiteral("Playback Volume Controls"));
    PageControl1->addTab(TabSheet4, QStringLiteral("File Info"));
    PageControl1->setCurrentIndex(0);

    // The page captions are bold navy; the pages keep the normal font.
    QFont captionFont = PageControl1->tabBar()->font();
    captionFont.setBold(true);
    PageControl1->tabBar()->setFont(captionFont);
    for (int i = 0; i < PageControl1->count(); ++i)
        PageControl1->tabBar()->setTabTextColor(i, QColor(0x00, 0x00, 0x80));
}

void MainWindow::createTransportPanel()
{
    TransportPanel = new QWidget;
    TransportPanel->setObjectName(QStringLiteral("TransportPanel"));
    TransportPanel->setFixedHeight(kTransportPanelHeight);
    TransportPanel->installEventFilter(this);

    SliderB1 = new PositionSlider(TransportPanel);
    SliderB1->setObjectName(QStringLiteral("SliderB1"));
    PlayButtonB1 = new TransportBlock(TransportPanel);
    PlayButtonB1->setObjectName(QStringLiteral("PlayButtonB1"));
    PlayButtonB1->setToolTip(QStringLiteral("Play/Record Control"));
    AmpBar1 = new LevelMeter(TransportPanel);
    AmpBar1->setObjectName(QStringLiteral("AmpBar1"));
    AmpBar2 = new LevelMeter(TransportPanel);
    AmpBar2->setObjectName(QStringLiteral("AmpBar2"));
    TimeDisplay1 = new TimeDisplay(TransportPanel);
    TimeDisplay1->setObjectName(QStringLiteral("TimeDisplay1"));
    TimeDisplay1->setToolTip(QStringLiteral("Time Elapsed"));

    SliderB1->setGeometry(8, 8, 400, 15);
    PlayButtonB1->setGeometry(8, 27, 300, 27);
    AmpBar1->setGeometry(315, 28, 153, 21);
    AmpBar2->setGeometry(315, 43, 153, 13);
    AmpBar2->raise();   // the right-channel meter sits over the lower edge of the left one
    TimeDisplay1->setGeometry(475, 24, 121, 33);

    // Keyboard order along the panel: slider, transport block.
    setTabOrder(SliderB1, PlayButtonB1);

    connect(PlayButtonB1, &TransportBlock::OnMouseClick, this, [this](QObject *sender, int button) {
        ui::runCommand([&] { PlayButtonB1MouseClick(sender, button); });
    });
    connect(PlayButtonB1, &TransportBlock::OnChangeVolume, this, [this](QObject *sender, int volume) {
        ui::runCommand([&] { PlayButtonB1ChangeVolume(sender, volume); });
    });
    connect(SliderB1, &PositionSlider::OnMouseDown, this, [this](QObject *sender) {
        ui::runCommand([&] { SliderB1MouseDown(sender); });
    });
    connect(SliderB1, &PositionSlider::OnMouseUp, this, [this](QObject *sender) {
        ui::runCommand([&] { SliderB1MouseUp(sender); });
    });
    connect(SliderB1, &PositionSlider::OnValueChange, this, [this](QObject *sender, int value) {
        ui::runCommand([&] { SliderB1ValueChange(sender, value); });
    });

    auto *central = new QWidget;
    auto *layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(PageControl1, 1);
    layout->addWidget(TransportPanel);
    setCentralWidget(central);
}

namespace {

// A status bar panel of a designed width that gives way when the window is narrower than
// the three panels together, so no panel ever lies over another.
class StatusPanel : public QLabel {
public:
    StatusPanel(int width, QWidget *parent) : QLabel(parent), m_width(width)
    {
        setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Preferred);
    }
    QSize sizeHint() const override { return {m_width, QLabel::sizeHint().height()}; }
    QSize minimumSizeHint() const override { return {std::min(m_width, 40), QLabel::minimumSizeHint().height()}; }

private:
    int m_width;
};

}  // namespace

void MainWindow::createStatusBar()
{
    QStatusBar *bar = statusBar();
    bar->setSizeGripEnabled(true);
    for (int i = 0; i < 3; ++i) {
        int width = kStatusPanelWidths[i];
        if (i == 0) {
            // Wide enough for the longest state text in the desktop's font.
            const QFontMetrics metrics(bar->font());
            for (const QString &text : transportStateTexts())
                width = std::max(width, metrics.horizontalAdvance(text) + 2 * kStatusPanelPadding);
        }
        auto *panel = new StatusPanel(width, bar);
        panel->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        panel->setFrameShape(QFrame::Panel);
        panel->setFrameShadow(QFrame::Sunken);
        panel->setTextFormat(Qt::PlainText);
        panel->setMaximumWidth(width);
        if (i == 0)
            panel->setMinimumWidth(width);
        bar->addWidget(panel);
        m_statusPanels[i] = panel;
    }
}

void MainWindow::connectEngineEvents()
{
    // Engine events are commands of their own: an error ends the handler and shows its text.
    connect(AudioRecord1.get(), &engine::IAudioRecord2::OnEndArrayRecord, this, [this](QObject *s, int n) {
        ui::runCommand([&] { AudioRecord1EndArrayRecord(s, n); });
    });
    connect(AudioRecord1.get(), &engine::IAudioRecord2::OnTimer, this,
            [this](QObject *s, qint64 samples, int l, int r) {
                ui::runCommand([&] { AudioRecord1Timer(s, samples, l, r); });
            });
    connect(AudioRecord1.get(), &engine::IAudioRecord2::OnDeviceError, this,
            [this](QObject *s, const QString &text) { ui::runCommand([&] { AudioRecord1DeviceError(s, text); }); });

    connect(AudioPlayer1.get(), &engine::IAudioPlayer2::OnEndArrayPlay, this,
            [this](QObject *) { ui::runCommand([this] { FeedPlayer(); }); });
    connect(AudioPlayer1.get(), &engine::IAudioPlayer2::OnRequestOnLoadArray, this,
            [this](QObject *) { ui::runCommand([this] { FeedPlayer(); }); });
    connect(AudioPlayer1.get(), &engine::IAudioPlayer2::OnEndPlay, this,
            [this](QObject *) { ui::runCommand([this] { StopPlayback(); }); });
    connect(AudioPlayer1.get(), &engine::IAudioPlayer2::OnTimer, this,
            [this](QObject *s, qint64 samples, int l, int r) {
                ui::runCommand([&] { AudioPlayer1Timer(s, samples, l, r); });
            });
    connect(AudioPlayer1.get(), &engine::IAudioPlayer2::OnDeviceError, this,
            [this](QObject *s, const QString &text) { ui::runCommand([&] { AudioPlayer1DeviceError(s, text); }); });
}

void MainWindow::FormCreate()
{
    TimerTip->start();
    TabSheet4->SetColumnWidths();
    ui::runCommand([this] {
        LoadSettings(settingsFile(), CurrentSettings, Paths.defaultSavePath);
        ApplyOutputFormat();
    });
}

void MainWindow::CreateSecondaryWindows()
{
    frmEQ = new EqualizerWindow(*this);
    frmAdv = new AdvancedControlsDialog(*this);
    frmRecFlt = new RecordingFiltersWindow(*this);
    RenameForm = new RenameDialog(this);
}

void MainWindow::ApplyOutputFormat()
{
    ::ApplyOutputFormat(CurrentSettings, *AudioFile1, *AudioFile2, *Mp3LameEncoder);
    if (AudioFileMeasure)
        ::ApplyOutputFormat(CurrentSettings, *AudioFileMeasure, *AudioFileMeasure, *Mp3LameEncoder);
}

const QStringList &transportStateTexts()
{
    static const QStringList texts{QStringLiteral("Stop"), QStringLiteral("Playing..."),
                                   QStringLiteral("Recording..."), QStringLiteral("Pause")};
    return texts;
}

QString MainWindow::StatusText(int panel) const
{
    return m_statusPanels[panel]->text();
}

void MainWindow::SetStatusText(int panel, const QString &text)
{
    m_statusPanels[panel]->setText(text);
}

int MainWindow::StatusPanelWidth(int panel) const
{
    return m_statusPanels[panel]->width();
}

void MainWindow::LayoutTransportPanel()
{
    const int w = TransportPanel->width();
    SliderB1->setGeometry(8, 8, w - 24, 15);
    PlayButtonB1->setGeometry(8, 27, w - 308, 27);
    const int metersLeft = PlayButtonB1->x() + PlayButtonB1->width() + 7;
    AmpBar1->move(metersLeft, 28);
    AmpBar2->move(metersLeft, 43);
    TimeDisplay1->move(AmpBar1->x() + AmpBar1->width() + 7, 24);
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == TransportPanel && event->type() == QEvent::Resize)
        LayoutTransportPanel();
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (m_shown)
        return;
    m_shown = true;
    if (const QScreen *screen = this->screen()) {
        const QRect area = screen->availableGeometry();
        move(area.center() - QPoint(frameGeometry().width() / 2, frameGeometry().height() / 2));
    }
    FormShow();
}

void MainWindow::FormShow()
{
    // Each step runs on its own: a failure is shown and the window still comes up complete.
    ui::runCommand([this] { LayoutTransportPanel(); });
    ui::runCommand([this] { FillDeviceLists(); });
    ui::runCommand([this] {
        FillGenreList();
        AudioInformation1->SetInfoFlag(true);
    });
    ui::runCommand([this] { SyncFilterWindow(); });
    Playing = false;
    PlayPaused = false;
    Recording = false;
    ui::runCommand([this] {
        AudioPlayer1->SetPlayFlag(true);
        AudioPlayer1->SetPlayOption(80);
    });
    ui::runCommand([this] {
        BuildPlaybackStrips();
        BuildRecordingStrips();
    });
    ui::runCommand([this] { TabSheet1->InitSpectrumOptions(); });
    ui::runCommand([this] { PlayButtonB1->SetVolume(AudioPlayer1->GetVolume()); });
    ui::runCommand([this] {
        // The button shows the line it switches: the output device itself.
        AudioPlayer1->SetLine(0);
        PlayButtonB1->SetMute(AudioPlayer1->GetLineMute());
    });
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (!m_closed) {
        m_closed = true;
        FormClose();
    }
    QMainWindow::closeEvent(event);
}

void MainWindow::FormClose()
{
    if (Playing)
        ui::runCommand([this] { StopPlayback(); });
    if (Recording)
        ui::runCommand([this] { StopRecording(); });
    ui::runCommand([this] { AudioFile1->SetActive(false); });
    ui::runCommand([this] { AudioFile2->SetActive(false); });
}

void MainWindow::ExitClick()
{
    close();
}

void MainWindow::PauseClick()
{
    if (Playing)
        PausePlayback();
    if (Recording)
        PauseRecording();
}

void MainWindow::StopClick()
{
    if (Playing)
        StopPlayback();
    if (Recording)
        StopRecording();
}

void MainWindow::PlayButtonB1MouseClick(QObject *, int button)
{
    switch (button) {
    case 1:
        StartPlayback();
        break;
    case 2:
        PauseClick();
        break;
    case 3:
        StopClick();
        break;
    case 4:
        StartRecording();
        break;
    case 7:
        ToggleMute();
        break;
    default:
        break;
    }
}

void MainWindow::ShowTab(int index)
{
    PageControl1->setCurrentIndex(index);
}

void MainWindow::SetRecordingLook(bool recording)
{
    ToolBtnOptions->setEnabled(!recording);
    ToolBtnOpen->setEnabled(!recording);
    MenuOpen->setEnabled(!recording);
    MenuOptions->setEnabled(!recording);
}
