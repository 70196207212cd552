// The mixer tabs: their top rows, the device lists and the line strips.
#include "ui/mixer_pages.h"

#include "ui/main_window.h"
#include "ui/ui_services.h"
#include "ui/mixer_strip.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QResizeEvent>
#include <QScrollArea>
#include <QScrollBar>

#include <algorithm>

namespace {

// At least the designed size, more when the desktop's font needs it.
QSize atLeast(const QWidget *w, int width, int height)
{
    const QSize hint = w->sizeHint();
    return {std::max(width, hint.width()), std::max(height, hint.height())};
}

// A list's left edge: as designed, or just clear of its label in a wider font.
int afterLabel(const QLabel *label, int designed)
{
    return std::max(designed, label->x() + label->width() + 4);
}

// The "Equalizer" switch starts grayed ("nothing sent yet"); the user can only check or
// clear it, so grayed never comes back once left.
class EqualizerSwitch : public QCheckBox {
public:
    using QCheckBox::QCheckBox;

protected:
    void nextCheckState() override
    {
        setCheckState(checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
    }
};

RecordingControlsPage *recordingPage(const MainWindow &form)
{
    auto *page = qobject_cast<RecordingControlsPage *>(form.TabSheet2);
    Q_ASSERT(page);
    return page;
}

PlaybackControlsPage *playbackPage(const MainWindow &form)
{
    auto *page = qobject_cast<PlaybackControlsPage *>(form.TabSheet3);
    Q_ASSERT(page);
    return page;
}

// Lists the available devices of one side with their engine indexes and picks the initial
// device: the engine's current one, or the first available after it.
void fillDeviceList(engine::IMixerSide &side, QComboBox *list)
{
    int chosen = side.GetDevice();
    const int highest = side.GetDeviceCount();
    list->clear();
    for (int i = 0; i <= highest; ++i) {
        side.SetDevice(short(i));
        if (side.GetDeviceAvailable())
            list->addItem(side.GetDeviceName(), i);
        else if (i == chosen)
            ++chosen;
    }
    if (side.GetDeviceCount() < chosen)
        chosen = 0;
    side.SetDevice(short(chosen));
    // Not a user's choice: activated() stays silent, so no strips are rebuilt here.
    list->setCurrentIndex(list->findData(chosen));
}

void buildStrips(MainWindow &form, MixerPage &page, bool forRecording)
{
    engine::IMixerSide &side = forRecording ? static_cast<engine::IMixerSide &>(*form.AudioRecord1)
                                            : static_cast<engine::IMixerSide &>(*form.AudioPlayer1);
    const int highest = side.GetLineCount();
    page.DestroyStrips();
    const QString prefix = forRecording ? QStringLiteral("sfr") : QStringLiteral("sf");
    // A single-line device (highest index 0) shows its one strip too.
    for (int i = 0; i <= highest; ++i) {
        MixerStrip *strip = page.AddStrip(prefix + QString::number(i), i);
        side.SetLine(short(i));
        strip->SetLineName(side.GetLineName());

        strip->TrackBar1->setEnabled(side.GetLineVolumeAvailable());
        strip->TrackBar1->setValue(65535 - side.GetLineVolume());
        strip->TrackBar1->setToolTip(QString::number(65535 - strip->TrackBar1->value()));
        MixerStrip::SetTag(strip->TrackBar1, i);

        strip->TrackBar2->setEnabled(side.GetLineBalanceAvailable());
        strip->TrackBar2->setValue(side.GetLineBalance());
        MixerStrip::SetTag(strip->TrackBar2, i);

        if (forRecording) {
            strip->SetCheckBoxCaption(QStringLiteral("Select"));
            strip->CheckBox1->setEnabled(form.AudioRecord1->GetLineSelectAvailable());
            strip->CheckBox1->setChecked(form.AudioRecord1->GetLineSelected());
        } else {
            strip->CheckBox1->setEnabled(form.AudioPlayer1->GetLineMuteAvailable());
            strip->CheckBox1->setChecked(form.AudioPlayer1->GetLineMute());
        }
        MixerStrip::SetTag(strip->CheckBox1, i);

        MixerStrip::SetTag(strip->Button1, i);
        strip->Button1->setVisible(side.GetAdvancedCount() >= 0);

        // Only now: everything above was the engine's own state, not a change to send.
        strip->AttachHandlers(form, forRecording);
    }
    // The window grows to show every strip; it never shrinks here.
    form.resize(std::max(form.width(), MixerPage::kStripPitch * highest + 98), form.height());
}

}  // namespace

// ---- pages ------------------------------------------------------------------------------

MixerPage::MixerPage(QWidget *parent) : QWidget(parent)
{
    StripArea = new QScrollArea(this);
    StripArea->setObjectName(QStringLiteral("StripArea"));
    StripArea->setFrameShape(QFrame::NoFrame);
    StripArea->setWidgetResizable(true);
    StripArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    StripArea->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Tab goes from the top row straight to the strips' controls; the area scrolls the
    // focused one into view.
    StripArea->setFocusPolicy(Qt::NoFocus);
    // The tab's own background shows through: the area only adds a scroll bar when needed.
    StripArea->viewport()->setAutoFillBackground(false);
    StripHost = new QWidget;
    StripHost->setObjectName(QStringLiteral("StripHost"));
    StripArea->setWidget(StripHost);
    StripHost->setAutoFillBackground(false);
    fitHost();
}

MixerStrip *MixerPage::AddStrip(const QString &name, int index)
{
    auto *strip = new MixerStrip(StripHost);
    strip->setObjectName(name);
    strip->setGeometry(kStripPitch * index, kStripTop, kStripWidth, strip->height());
    m_strips.append(strip);
    fitHost();
    strip->show();
    return strip;
}

void MixerPage::DestroyStrips()
{
    while (!m_strips.isEmpty())
        delete m_strips.takeLast();
    fitHost();
}

void MixerPage::fitHost()
{
    // The host is as large as its strips; a narrower tab scrolls instead of cutting them off.
    QSize size(0, 0);
    for (const MixerStrip *s : std::as_const(m_strips))
        size = size.expandedTo(QSize(s->geometry().right() + 1, s->geometry().bottom() + 1));
    StripHost->setMinimumSize(size);
}

void MixerPage::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    StripArea->setGeometry(rect());
    LayoutTopRow();
}

void MixerPage::raiseTopRow(const QList<QWidget *> &row)
{
    for (QWidget *w : row)
        w->raise();
}

RecordingControlsPage::RecordingControlsPage(QWidget *parent) : MixerPage(parent)
{
    Label1 = new QLabel(QStringLiteral("Input Device"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->move(0, 6);
    Label1->resize(Label1->sizeHint());

    DeviceComboIn = new QComboBox(this);
    DeviceComboIn->setObjectName(QStringLiteral("DeviceComboIn"));
    DeviceComboIn->setEditable(false);
    DeviceComboIn->setGeometry(afterLabel(Label1, 72), 2, 273, DeviceComboIn->sizeHint().height());

    btnSetFilter = new QPushButton(QStringLiteral("Set Filter"), this);
    btnSetFilter->setObjectName(QStringLiteral("btnSetFilter"));
    btnSetFilter->setGeometry(QRect(QPoint(368, 0), atLeast(btnSetFilter, 79, 24)));

    raiseTopRow({Label1, DeviceComboIn, btnSetFilter});
}

void RecordingControlsPage::LayoutTopRow()
{
    btnSetFilter->move(width() - btnSetFilter->width() - 2, btnSetFilter->y());
    DeviceComboIn->resize(btnSetFilter->x() - DeviceComboIn->x() - 4, DeviceComboIn->height());
}

PlaybackControlsPage::PlaybackControlsPage(QWidget *parent) : MixerPage(parent)
{
    Label1 = new QLabel(QStringLiteral("Output Device"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->move(0, 6);
    Label1->resize(Label1->sizeHint());

    DeviceCombo = new QComboBox(this);
    DeviceCombo->setObjectName(QStringLiteral("DeviceCombo"));
    DeviceCombo->setEditable(false);
    DeviceCombo->setGeometry(afterLabel(Label1, 80), 2, 265, DeviceCombo->sizeHint().height());

    chEqualizer = new EqualizerSwitch(QStringLiteral("Equalizer"), this);
    chEqualizer->setObjectName(QStringLiteral("chEqualizer"));
    chEqualizer->setTristate(true);
    chEqualizer->setCheckState(Qt::PartiallyChecked);
    chEqualizer->setGeometry(QRect(QPoint(360, 4), atLeast(chEqualizer, 73, 17)));

    // The equalizer's own window is opened from here, beside its switch.
    btnEqualizer = new QPushButton(QStringLiteral("Equalizer..."), this);
    btnEqualizer->setObjectName(QStringLiteral("btnEqualizer"));
    btnEqualizer->setGeometry(QRect(QPoint(chEqualizer->x() + chEqualizer->width() + 8, 0),
                                    atLeast(btnEqualizer, 79, 24)));

    raiseTopRow({Label1, DeviceCombo, chEqualizer, btnEqualizer});
}

void PlaybackControlsPage::LayoutTopRow()
{
    // Button at the right edge as "Set Filter" is on the other tab, the switch just left of
    // it, and the list filling the rest.
    btnEqualizer->move(width() - btnEqualizer->width() - 2, btnEqualizer->y());
    chEqualizer->move(btnEqualizer->x() - 8 - chEqualizer->width(), chEqualizer->y());
    DeviceCombo->resize(chEqualizer->x() - DeviceCombo->x() - 8, DeviceCombo->height());
}

// ---- the main window's mixer operations -------------------------------------------------

QWidget *MainWindow::BuildRecordingControlsPage()
{
    auto *page = new RecordingControlsPage;
    page->setObjectName(QStringLiteral("TabSheet2"));
    DeviceComboIn = page->DeviceComboIn;
    btnSetFilter = page->btnSetFilter;
    connect(DeviceComboIn, &QComboBox::activated, this,
            [this](int) { ui::runCommand([this] { DeviceComboInClick(); }); });
    connect(btnSetFilter, &QPushButton::clicked, this,
            [this] { ui::runCommand([this] { btnSetFilterClick(); }); });
    return page;
}

QWidget *MainWindow::BuildPlaybackControlsPage()
{
    auto *page = new PlaybackControlsPage;
    page->setObjectName(QStringLiteral("TabSheet3"));
    DeviceCombo = page->DeviceCombo;
    chEqualizer = page->chEqualizer;
    btnEqualizer = page->btnEqualizer;
    connect(DeviceCombo, &QComboBox::activated, this,
            [this](int) { ui::runCommand([this] { DeviceComboClick(); }); });
    connect(chEqualizer, &QCheckBox::clicked, this,
            [this] { ui::runCommand([this] { chEqualizerClick(); }); });
    connect(btnEqualizer, &QPushButton::clicked, this,
            [this] { ui::runCommand([this] { ToolBtnEqualizerClick(); }); });
    return page;
}

void MainWindow::FillDeviceLists()
{
    fillDeviceList(*AudioPlayer1, DeviceCombo);
    fillDeviceList(*AudioRecord1, DeviceComboIn);
}

void MainWindow::BuildPlaybackStrips()
{
    buildStrips(*this, *playbackPage(*this), false);
}

void MainWindow::BuildRecordingStrips()
{
    buildStrips(*this, *recordingPage(*this), true);
}

void MainWindow::DeviceComboClick()
{
    const QVariant device = DeviceCombo->currentData();
    if (!device.isValid())
        return;
    AudioPlayer1->SetDevice(short(device.toInt()));
    BuildPlaybackStrips();
}

void MainWindow::DeviceComboInClick()
{
    const QVariant device = DeviceComboIn->currentData();
    if (!device.isValid())
        return;
    AudioRecord1->SetDevice(short(device.toInt()));
    BuildRecordingStrips();
}

void MainWindow::RefreshRecordingSelection()
{
    const int highest = AudioRecord1->GetLineCount();
    const QList<MixerStrip *> &strips = recordingPage(*this)->Strips();
    for (int i = 0; i <= highest; ++i) {
        AudioRecord1->SetLine(short(i));
        const bool selected = AudioRecord1->GetLineSelected();
        if (i < strips.size()) {
            // Shows the engine's state; nothing is written back.
            const QSignalBlocker quiet(strips[i]->CheckBox1);
            strips[i]->CheckBox1->setChecked(selected);
        }
    }
}
