#include "ui/mixer_strip.h"

#include "session/device_controls.h"
#include "ui/ui_services.h"
#include "ui/advanced_controls_dialog.h"

#include <QCheckBox>
#include <QCursor>
#include <QFontMetrics>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QSlider>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QToolTip>

#include <algorithm>

namespace {

// The volume bar's minimum (the loudest setting) is at the top. Drawn as the mirror image of
// a plain bar, its thumb stays in place while the groove lights up below the thumb: the
// part a listener reads as the level.
class VolumeBar : public QSlider {
public:
    using QSlider::QSlider;

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        QStyleOptionSlider option;
        initStyleOption(&option);
        option.subControls = QStyle::SC_SliderGroove | QStyle::SC_SliderHandle;
        if (tickPosition() != NoTicks)
            option.subControls |= QStyle::SC_SliderTickmarks;
        option.upsideDown = !option.upsideDown;
        option.sliderPosition = option.maximum - (option.sliderPosition - option.minimum);
        option.sliderValue = option.maximum - (option.sliderValue - option.minimum);
        style()->drawComplexControl(QStyle::CC_Slider, &option, &painter, this);
    }
};

}  // namespace

MixerStrip::MixerStrip(MixerLines &lines, int line, QWidget *parent) : QFrame(parent), m_lines(lines), m_line(line)
{
    setFrameShape(QFrame::NoFrame);
    resize(115, 186);

    // Lowered outer and raised inner bevel: an etched edge.
    m_panel = new QFrame(this);
    m_panel->setObjectName(QStringLiteral("panel"));
    m_panel->setFrameStyle(QFrame::Box | QFrame::Sunken);
    m_panel->setGeometry(0, 0, 81, 185);

    m_name = new QLabel(m_panel);
    m_name->setObjectName(QStringLiteral("nameLabel"));
    m_name->setGeometry(0, 4, 81, 17);
    m_name->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    m_name->setWordWrap(true);
    m_name->setTextFormat(Qt::PlainText);

    m_balance = new QSlider(Qt::Horizontal, m_panel);
    m_balance->setObjectName(QStringLiteral("balanceBar"));
    m_balance->setGeometry(8, 20, 65, 24);
    m_balance->setRange(0, 100);
    m_balance->setValue(50);
    m_balance->setTickInterval(25);
    m_balance->setTickPosition(QSlider::TicksBelow);
    m_balance->setPageStep(10);
    m_balance->setToolTip(tr("Balance"));
    m_balance->setAccessibleName(tr("Balance"));

    auto *separator = new QFrame(m_panel);
    separator->setObjectName(QStringLiteral("separator"));
    separator->setFrameStyle(QFrame::HLine | QFrame::Sunken);
    separator->setGeometry(0, 48, 81, 2);

    // The bar's minimum is at the top, where the loudest setting belongs; Up, Page Up and
    // the wheel turned away from the user make it louder.
    m_volume = new VolumeBar(Qt::Vertical, m_panel);
    m_volume->setObjectName(QStringLiteral("volumeBar"));
    m_volume->setGeometry(24, 52, 33, 73);
    m_volume->setRange(0, 65535);
    m_volume->setInvertedAppearance(true);
    m_volume->setInvertedControls(true);
    m_volume->setTickInterval(5000);
    m_volume->setTickPosition(QSlider::TicksBothSides);
    m_volume->setSingleStep(655);
    m_volume->setPageStep(6554);
    m_volume->setAccessibleName(tr("Volume"));

    m_switch = new QCheckBox(m_panel);
    m_switch->setObjectName(QStringLiteral("switchBox"));
    m_switch->setGeometry(16, 128, 49, 17);
    setSwitchCaption(m_lines.isInput() ? tr("Select", "record from this line") : tr("Mute", "silence this line"));

    m_advanced = new QPushButton(tr("Advanced"), m_panel);
    m_advanced->setObjectName(QStringLiteral("advancedButton"));
    m_advanced->setGeometry(8, 152, 65, 25);
}

void MixerStrip::setLineName(const QString &name)
{
    // The label has room for one line only: a wrapped second line would be cut in half.
    const QFontMetrics metrics = m_name->fontMetrics();
    m_name->setText(metrics.horizontalAdvance(name) <= m_name->width()
                        ? name
                        : metrics.elidedText(name, Qt::ElideRight, m_name->width()));
    m_name->setToolTip(name);
    // Every strip has the same controls: a screen reader names each with its line.
    //: %1 is the name of the mixer line
    m_volume->setAccessibleName(tr("%1 volume").arg(name));
    //: %1 is the name of the mixer line
    m_balance->setAccessibleName(tr("%1 balance").arg(name));
    //: record from this line; %1 is the name of the mixer line
    const QString select = tr("Select %1");
    //: silence this line; %1 is the name of the mixer line
    const QString mute = tr("Mute %1");
    m_switch->setAccessibleName((m_lines.isInput() ? select : mute).arg(name));
    //: %1 is the name of the mixer line
    m_advanced->setAccessibleName(tr("Advanced controls of %1").arg(name));
}

QList<QWidget *> MixerStrip::keyboardOrder() const
{
    return {m_balance, m_volume, m_switch, m_advanced};
}

void MixerStrip::setSwitchCaption(const QString &caption)
{
    m_switch->setText(caption);
    const int room = m_panel->width() - m_switch->x() - 2;
    m_switch->resize(std::clamp(m_switch->sizeHint().width(), 49, room), m_switch->height());
}

void MixerStrip::showLine()
{
    m_lines.setLine(m_line);
    setLineName(m_lines.lineName());

    m_volume->setEnabled(m_lines.volumeAvailable());
    m_volume->setValue(65535 - m_lines.volume());
    m_volume->setToolTip(QString::number(65535 - m_volume->value()));

    m_balance->setEnabled(m_lines.balanceAvailable());
    m_balance->setValue(m_lines.balance());

    m_switch->setEnabled(m_lines.switchAvailable());
    m_switch->setChecked(m_lines.switchedOn());
    m_advanced->setVisible(m_lines.highestAdvanced() >= 0);

    // Only now: everything above was the engine's own state, not a change to send.
    connect(m_volume, &QSlider::valueChanged, this,
            [this](int position) { ui::runCommand([&] { changeVolume(position); }); });
    connect(m_balance, &QSlider::valueChanged, this,
            [this](int position) { ui::runCommand([&] { changeBalance(position); }); });
    connect(m_switch, &QCheckBox::clicked, this,
            [this](bool checked) { ui::runCommand([&] { switchLine(checked); }); });
    connect(m_advanced, &QPushButton::clicked, this, [this] { ui::runCommand([this] { showAdvancedControls(); }); });
}

void MixerStrip::showSelection()
{
    if (!m_lines.isInput())
        return;
    m_lines.setLine(m_line);
    const QSignalBlocker quiet(m_switch);
    m_switch->setChecked(m_lines.switchedOn());
}

void MixerStrip::changeVolume(int position)
{
    const int volume = 65535 - position;
    const QString text = QString::number(volume);
    m_volume->setToolTip(text);
    QToolTip::showText(QCursor::pos(), text, m_volume);
    m_lines.setLine(m_line);
    m_lines.setVolume(volume);
}

void MixerStrip::changeBalance(int position)
{
    m_lines.setLine(m_line);
    m_lines.setBalance(position);
}

void MixerStrip::switchLine(bool checked)
{
    m_lines.setLine(m_line);
    m_lines.setSwitchedOn(checked);
    // Selecting one input may deselect others (or be refused): the page shows what happened.
    if (m_lines.isInput())
        emit selectionChanged();
}

void MixerStrip::showAdvancedControls()
{
    m_lines.setLine(m_line);
    AdvancedControlsDialog dialog(m_lines, m_line, window());
    dialog.exec();
}
