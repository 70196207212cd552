// The mixer tabs: their top rows, the device lists and the line strips.
#include "ui/mixer_pages.h"

#include "session/device_controls.h"
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

}  // namespace

// ---- pages ------------------------------------------------------------------------------

MixerPage::MixerPage(MixerLines &lines, QWidget *parent) : QWidget(parent), m_lines(lines)
{
    m_stripArea = new QScrollArea(this);
    m_stripArea->setObjectName(QStringLiteral("stripArea"));
    m_stripArea->setFrameShape(QFrame::NoFrame);
    m_stripArea->setWidgetResizable(true);
    m_stripArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_stripArea->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Tab goes from the top row straight to the strips' controls; the area scrolls the
    // focused one into view.
    m_stripArea->setFocusPolicy(Qt::NoFocus);
    // The tab's own background shows through: the area only adds a scroll bar when needed.
    m_stripArea->viewport()->setAutoFillBackground(false);
    m_stripHost = new QWidget;
    m_stripHost->setObjectName(QStringLiteral("stripHost"));
    m_stripArea->setWidget(m_stripHost);
    m_stripHost->setAutoFillBackground(false);
    fitHost();
}

void MixerPage::setDeviceList(QComboBox *list)
{
    m_devices = list;
    connect(list, &QComboBox::activated, this, [this](int) { ui::runCommand([this] { chooseDevice(); }); });
}

void MixerPage::fillDeviceList()
{
    int chosen = m_lines.device();
    const int highest = m_lines.highestDevice();
    m_devices->clear();
    for (int i = 0; i <= highest; ++i) {
        m_lines.setDevice(i);
        if (m_lines.deviceAvailable())
            m_devices->addItem(m_lines.deviceName(), i);
        else if (i == chosen)
            ++chosen;
    }
    if (m_lines.highestDevice() < chosen)
        chosen = 0;
    m_lines.setDevice(chosen);
    showCurrentDevice();
}

void MixerPage::showCurrentDevice()
{
    // Not a user's choice: activated() stays silent, so no strips are rebuilt here.
    m_devices->setCurrentIndex(m_devices->findData(m_lines.device()));
}

void MixerPage::chooseDevice()
{
    const QVariant device = m_devices->currentData();
    if (!device.isValid())
        return;
    m_lines.setDevice(device.toInt());
    buildStrips();
    emit deviceChosen();
}

void MixerPage::buildStrips()
{
    const int highest = m_lines.highestLine();
    while (!m_strips.isEmpty())
        delete m_strips.takeLast();
    // A single-line device (highest index 0) shows its one strip too.
    for (int i = 0; i <= highest; ++i) {
        MixerStrip *strip = makeStrip(i, m_stripHost);
        strip->setGeometry(kStripPitch * i, kStripTop, MixerStrip::kWidth, strip->height());
        m_strips.append(strip);
        strip->showLine();
        strip->show();
    }
    fitHost();
    stripsBuilt();
    // New strips join the window's keyboard order at its end: they are put in their place.
    orderKeyboard();
    // The window grows to show every strip; it never shrinks here.
    emit widthNeeded(kStripPitch * highest + 98);
}

void MixerPage::fitHost()
{
    // The host is as large as its strips; a narrower tab scrolls instead of cutting them off.
    QSize size(0, 0);
    for (const MixerStrip *s : std::as_const(m_strips))
        size = size.expandedTo(QSize(s->geometry().right() + 1, s->geometry().bottom() + 1));
    m_stripHost->setMinimumSize(size);
}

void MixerPage::setKeyboardOrder(const QList<QWidget *> &before, const QList<QWidget *> &after)
{
    m_keysBefore = before;
    m_keysAfter = after;
    orderKeyboard();
}

void MixerPage::orderKeyboard()
{
    QList<QWidget *> order = m_keysBefore;
    for (const MixerStrip *strip : std::as_const(m_strips))
        order << strip->keyboardOrder();
    order << m_keysAfter;
    for (qsizetype i = 0; i + 1 < order.size(); ++i)
        setTabOrder(order[i], order[i + 1]);
}

void MixerPage::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    m_stripArea->setGeometry(rect());
    layoutTopRow();
}

void MixerPage::raiseTopRow(const QList<QWidget *> &row)
{
    for (QWidget *w : row)
        w->raise();
}

RecordingControlsPage::RecordingControlsPage(MixerLines &inputs, QWidget *parent)
    : MixerPage(inputs, parent), m_inputs(inputs)
{
    setObjectName(QStringLiteral("recordingControlsPage"));
    m_label = new QLabel(tr("Input Device"), this);
    m_label->setObjectName(QStringLiteral("inputDeviceLabel"));
    m_label->move(0, 6);
    m_label->resize(m_label->sizeHint());

    m_devices = new QComboBox(this);
    m_devices->setObjectName(QStringLiteral("inputDeviceList"));
    m_devices->setEditable(false);
    m_devices->setGeometry(afterLabel(m_label, 72), 2, 273, m_devices->sizeHint().height());
    m_label->setBuddy(m_devices);
    setDeviceList(m_devices);

    m_filterButton = new QPushButton(tr("Set Filter"), this);
    m_filterButton->setObjectName(QStringLiteral("setFilterButton"));
    m_filterButton->setGeometry(QRect(QPoint(368, 0), atLeast(m_filterButton, 79, 24)));
    connect(m_filterButton, &QPushButton::clicked, this, &RecordingControlsPage::filterWindowRequested);
    m_monitorBox = new QCheckBox(tr("Listen to the input"), this);
    m_monitorBox->setObjectName(QStringLiteral("monitorBox"));
    m_monitorBox->setToolTip(tr("Play what is recorded on the output device while it is captured"));
    m_monitorBox->resize(m_monitorBox->sizeHint());
    m_monitorBox->move(0, (m_filterButton->height() - m_monitorBox->height()) / 2);
    connect(m_monitorBox, &QCheckBox::clicked, this, &RecordingControlsPage::monitoringToggled);
    m_separateBox = new QCheckBox(tr("A file for each side"), this);
    m_separateBox->setObjectName(QStringLiteral("separateSidesBox"));
    m_separateBox->setToolTip(tr("From the next recording on, the microphone and the computer sound are "
                                 "also written each to a file of its own beside the mix, such as "
                                 "\"Untitled4 (microphone).flac\" and \"Untitled4 (computer).flac\""));
    m_separateBox->resize(m_separateBox->sizeHint());
    m_separateBox->hide();
    connect(m_separateBox, &QCheckBox::clicked, this, &RecordingControlsPage::separateSidesToggled);
    // Devices and playing applications come and go.
    connect(&m_inputs, &MixerLines::devicesChanged, this,
            [this] { ui::runCommand([this] { refreshDevices(); }); });

    raiseTopRow({m_label, m_devices, m_monitorBox, m_filterButton});
    // What the two boxes do is more than their captions say: their tooltips say it all.
    m_monitorBox->setAccessibleDescription(m_monitorBox->toolTip());
    m_separateBox->setAccessibleDescription(m_separateBox->toolTip());
    // Along the top row from the left, the strips, and the mix's choice beside them.
    setKeyboardOrder({m_devices, m_monitorBox, m_filterButton}, {m_separateBox});
}

void RecordingControlsPage::showMonitoring(bool on)
{
    m_monitorBox->setChecked(on);
}

void RecordingControlsPage::showSeparateSides(bool on)
{
    m_separateBox->setChecked(on);
}

MixerStrip *RecordingControlsPage::makeStrip(int line, QWidget *parent)
{
    auto *strip = new MixerStrip(m_inputs, line, parent);
    strip->setObjectName(QStringLiteral("recordingStrip%1").arg(line));
    connect(strip, &MixerStrip::selectionChanged, this, &RecordingControlsPage::showSelection);
    return strip;
}

void RecordingControlsPage::stripsBuilt()
{
    m_shownDevice = m_inputs.deviceId();
    // The mix's sides are its strips: the choice to keep them apart stands beside them.
    const bool mix = m_inputs.isMix() && !strips().isEmpty();
    if (mix) {
        const QRect last = strips().last()->geometry();
        const QPoint at = strips().last()->parentWidget()->mapTo(this, last.topRight());
        m_separateBox->move(at.x() + 12, at.y() + 4);
        m_separateBox->raise();
    }
    m_separateBox->setVisible(mix);
}

void RecordingControlsPage::refreshDevices()
{
    fillDeviceList();
    if (!m_shownDevice.isEmpty() && m_inputs.deviceId() != m_shownDevice && m_inputs.setDeviceById(m_shownDevice))
        showCurrentDevice();
    if (m_inputs.deviceId() != m_shownDevice)
        buildStrips();
    emit deviceChosen();
}

void RecordingControlsPage::showSelection()
{
    for (MixerStrip *strip : strips())
        strip->showSelection();
}

void RecordingControlsPage::layoutTopRow()
{
    m_filterButton->move(width() - m_filterButton->width() - 2, m_filterButton->y());
    m_monitorBox->move(m_filterButton->x() - 8 - m_monitorBox->width(), m_monitorBox->y());
    m_devices->resize(m_monitorBox->x() - m_devices->x() - 8, m_devices->height());
}

PlaybackControlsPage::PlaybackControlsPage(MixerLines &outputs, PlaybackEqualizer &equalizer, QWidget *parent)
    : MixerPage(outputs, parent), m_outputs(outputs), m_equalizer(equalizer)
{
    setObjectName(QStringLiteral("playbackControlsPage"));
    m_label = new QLabel(tr("Output Device"), this);
    m_label->setObjectName(QStringLiteral("outputDeviceLabel"));
    m_label->move(0, 6);
    m_label->resize(m_label->sizeHint());

    m_devices = new QComboBox(this);
    m_devices->setObjectName(QStringLiteral("outputDeviceList"));
    m_devices->setEditable(false);
    m_devices->setGeometry(afterLabel(m_label, 80), 2, 265, m_devices->sizeHint().height());
    m_label->setBuddy(m_devices);
    setDeviceList(m_devices);

    m_equalizerSwitch = new EqualizerSwitch(tr("Equalizer", "switch"), this);
    m_equalizerSwitch->setObjectName(QStringLiteral("equalizerSwitch"));
    m_equalizerSwitch->setTristate(true);
    m_equalizerSwitch->setCheckState(Qt::PartiallyChecked);
    m_equalizerSwitch->setGeometry(QRect(QPoint(360, 4), atLeast(m_equalizerSwitch, 73, 17)));
    connect(m_equalizerSwitch, &QCheckBox::clicked, this, [this] { ui::runCommand([this] { switchEqualizer(); }); });

    // The equalizer's own window is opened from here, beside its switch.
    m_equalizerButton = new QPushButton(tr("Equalizer..."), this);
    m_equalizerButton->setObjectName(QStringLiteral("equalizerButton"));
    m_equalizerButton->setGeometry(QRect(QPoint(m_equalizerSwitch->x() + m_equalizerSwitch->width() + 8, 0),
                                         atLeast(m_equalizerButton, 79, 24)));
    connect(m_equalizerButton, &QPushButton::clicked, this, &PlaybackControlsPage::equalizerWindowRequested);

    raiseTopRow({m_label, m_devices, m_equalizerSwitch, m_equalizerButton});
    setKeyboardOrder({m_devices, m_equalizerSwitch, m_equalizerButton}, {});
}

MixerStrip *PlaybackControlsPage::makeStrip(int line, QWidget *parent)
{
    auto *strip = new MixerStrip(m_outputs, line, parent);
    strip->setObjectName(QStringLiteral("playbackStrip%1").arg(line));
    return strip;
}

void PlaybackControlsPage::switchEqualizer()
{
    // The grayed state only says "nothing sent yet": the first click leaves it for good, and
    // from then on the box is a plain two-state switch.
    if (m_equalizerSwitch->checkState() == Qt::PartiallyChecked)
        m_equalizerSwitch->setCheckState(Qt::Checked);
    m_equalizerSwitch->setTristate(false);
    m_equalizer.setOn(m_equalizerSwitch->checkState() == Qt::Checked);
}

void PlaybackControlsPage::switchEqualizerOnOnce()
{
    if (m_equalizerSwitch->checkState() != Qt::PartiallyChecked)
        return;
    // Setting the state is no click, so the switch is sent here, once.
    m_equalizerSwitch->setCheckState(Qt::Checked);
    m_equalizerSwitch->setTristate(false);
    m_equalizer.setOn(true);
}

void PlaybackControlsPage::layoutTopRow()
{
    // Button at the right edge as "Set Filter" is on the other tab, the switch just left of
    // it, and the list filling the rest.
    m_equalizerButton->move(width() - m_equalizerButton->width() - 2, m_equalizerButton->y());
    m_equalizerSwitch->move(m_equalizerButton->x() - 8 - m_equalizerSwitch->width(), m_equalizerSwitch->y());
    m_devices->resize(m_equalizerSwitch->x() - m_devices->x() - 8, m_devices->height());
}
