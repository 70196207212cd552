#include "ui/mixer_strip.h"

#include "ui/main_window.h"
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

const char *const kTagProperty = "tag";

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

MixerStrip::MixerStrip(QWidget *parent) : QFrame(parent)
{
    setFrameShape(QFrame::NoFrame);
    resize(115, 186);

    // Lowered outer and raised inner bevel: an etched edge.
    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFrameStyle(QFrame::Box | QFrame::Sunken);
    Panel1->setGeometry(0, 0, 81, 185);

    Label1 = new QLabel(Panel1);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(0, 4, 81, 17);
    Label1->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    Label1->setWordWrap(true);
    Label1->setTextFormat(Qt::PlainText);

    TrackBar2 = new QSlider(Qt::Horizontal, Panel1);
    TrackBar2->setObjectName(QStringLiteral("TrackBar2"));
    TrackBar2->setGeometry(8, 20, 65, 24);
    TrackBar2->setRange(0, 100);
    TrackBar2->setValue(50);
    TrackBar2->setTickInterval(25);
    TrackBar2->setTickPosition(QSlider::TicksBelow);
    TrackBar2->setPageStep(10);
    TrackBar2->setToolTip(QStringLiteral("Balance"));

    Panel2 = new QFrame(Panel1);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    Panel2->setFrameStyle(QFrame::HLine | QFrame::Sunken);
    Panel2->setGeometry(0, 48, 81, 2);

    // The bar's minimum is at the top, where the loudest setting belongs; Up, Page Up and
    // the wheel turned away from the user make it louder.
    TrackBar1 = new VolumeBar(Qt::Vertical, Panel1);
    TrackBar1->setObjectName(QStringLiteral("TrackBar1"));
    TrackBar1->setGeometry(24, 52, 33, 73);
    TrackBar1->setRange(0, 65535);
    TrackBar1->setInvertedAppearance(true);
    TrackBar1->setInvertedControls(true);
    TrackBar1->setTickInterval(5000);
    TrackBar1->setTickPosition(QSlider::TicksBothSides);
    TrackBar1->setSingleStep(655);
    TrackBar1->setPageStep(6554);

    CheckBox1 = new QCheckBox(Panel1);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    CheckBox1->setGeometry(16, 128, 49, 17);
    SetCheckBoxCaption(QStringLiteral("Mute"));

    Button1 = new QPushButton(QStringLiteral("Advanced"), Panel1);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(8, 152, 65, 25);
}

void MixerStrip::SetLineName(const QString &name)
{
    // The label has room for one line only: a wrapped second line would be cut in half.
    const QFontMetrics metrics = Label1->fontMetrics();
    Label1->setText(metrics.horizontalAdvance(name) <= Label1->width()
                        ? name
                        : metrics.elidedText(name, Qt::ElideRight, Label1->width()));
    Label1->setToolTip(name);
}

void MixerStrip::SetCheckBoxCaption(const QString &caption)
{
    CheckBox1->setText(caption);
    const int room = Panel1->width() - CheckBox1->x() - 2;
    CheckBox1->resize(std::clamp(CheckBox1->sizeHint().width(), 49, room), CheckBox1->height());
}

int MixerStrip::Tag(const QObject *control)
{
    return control->property(kTagProperty).toInt();
}

void MixerStrip::SetTag(QObject *control, int line)
{
    control->setProperty(kTagProperty, line);
}

engine::IMixerSide &MixerStrip::side() const
{
    if (m_forRecording)
        return *m_form->AudioRecord1;
    return *m_form->AudioPlayer1;
}

void MixerStrip::AttachHandlers(MainWindow &form, bool forRecording)
{
    m_form = &form;
    m_forRecording = forRecording;
    connect(TrackBar1, &QSlider::valueChanged, this,
            [this](int position) { ui::runCommand([&] { TrackBar1Change(position); }); });
    connect(TrackBar2, &QSlider::valueChanged, this,
            [this](int position) { ui::runCommand([&] { TrackBar2Change(position); }); });
    connect(CheckBox1, &QCheckBox::clicked, this,
            [this](bool checked) { ui::runCommand([&] { CheckBox1Click(checked); }); });
    connect(Button1, &QPushButton::clicked, this, [this] { ui::runCommand([this] { Button1Click(); }); });
}

void MixerStrip::TrackBar1Change(int position)
{
    const int volume = 65535 - position;
    const QString text = QString::number(volume);
    TrackBar1->setToolTip(text);
    QToolTip::showText(QCursor::pos(), text, TrackBar1);
    engine::IMixerSide &mixer = side();
    mixer.SetLine(short(Tag(TrackBar1)));
    mixer.SetLineVolume(volume);
}

void MixerStrip::TrackBar2Change(int position)
{
    engine::IMixerSide &mixer = side();
    mixer.SetLine(short(Tag(TrackBar2)));
    mixer.SetLineBalance(short(position));
}

void MixerStrip::CheckBox1Click(bool checked)
{
    const short line = short(Tag(CheckBox1));
    if (!m_forRecording) {
        m_form->AudioPlayer1->SetLine(line);
        m_form->AudioPlayer1->SetLineMute(checked);
        return;
    }
    m_form->AudioRecord1->SetLine(line);
    m_form->AudioRecord1->SetLineSelected(checked);
    // Selecting one input may deselect others (or be refused): show what the engine did.
    m_form->RefreshRecordingSelection();
}

void MixerStrip::Button1Click()
{
    const short line = short(Tag(Button1));
    engine::IMixerSide &mixer = side();
    mixer.SetLine(line);
    AdvancedControlsDialog dialog(*m_form);
    dialog.ForRecording = m_forRecording;
    dialog.Line = line;
    dialog.exec();
}
