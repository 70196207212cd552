#include "ui/advanced_controls_dialog.h"

#include "ui/main_window.h"
#include "ui/ui_services.h"
#include "ui/mixer_strip.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QSlider>

namespace {

QLabel *wrappedText(const QString &text, QWidget *parent, int x, int y, int width)
{
    auto *label = new QLabel(text, parent);
    label->setWordWrap(true);
    label->setTextFormat(Qt::PlainText);
    label->setGeometry(x, y, width, label->heightForWidth(width));
    return label;
}

}  // namespace

AdvancedControlsDialog::AdvancedControlsDialog(MainWindow &form) : QDialog(&form), m_form(form)
{
    setObjectName(QStringLiteral("frmAdv"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setWindowTitle(QStringLiteral("Dialog"));
    setFixedSize(390, 203);

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    const QIcon icon = QIcon::fromTheme(QStringLiteral("multimedia-volume-control"),
                                        QIcon(QStringLiteral(":/icons/tavrin-sound-recorder.svg")));
    Image1->setPixmap(icon.pixmap(32, 32));
    Image1->setGeometry(12, 4, 32, 32);

    Label1 = wrappedText(QStringLiteral("These settings can be used to make fine adjustments to your audio."),
                         this, 69, 8, 289);
    Label1->setObjectName(QStringLiteral("Label1"));

    GroupBox1 = new QGroupBox(QStringLiteral("Other Controls"), this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    GroupBox1->setGeometry(16, 56, 361, 105);
    Label2 = wrappedText(QStringLiteral("These settings make other changes to how your audio sounds. "
                                        "See your hardware documentation for details."),
                         GroupBox1, 16, 32, 321);
    Label2->setObjectName(QStringLiteral("Label2"));

    btnClose = new QPushButton(QStringLiteral("Close"), this);
    btnClose->setObjectName(QStringLiteral("btnClose"));
    btnClose->setGeometry(300, 168, 75, 25);
    btnClose->setDefault(true);
    connect(btnClose, &QPushButton::clicked, this, &QDialog::accept);
}

int AdvancedControlsDialog::OuterHeight() const
{
    return height() + kFrameHeight;
}

engine::IMixerSide &AdvancedControlsDialog::side() const
{
    if (ForRecording)
        return *m_form.AudioRecord1;
    return *m_form.AudioPlayer1;
}

void AdvancedControlsDialog::addressLine() const
{
    // Nothing but this dialog addresses the side while it is open, but setting the line
    // again costs one call and keeps every write on the line the dialog shows.
    if (Line >= 0)
        side().SetLine(Line);
}

void AdvancedControlsDialog::showSwitches()
{
    // A device may refuse a switch or change others with it (its ports: exactly one is
    // on), so the boxes show what it holds now rather than what was clicked.
    engine::IMixerSide &mixer = side();
    for (QCheckBox *box : std::as_const(m_switches)) {
        const bool on = mixer.srcAdvancedValue(short(MixerStrip::Tag(box))).toBool();
        const QSignalBlocker quiet(box);
        box->setChecked(on);
    }
}

void AdvancedControlsDialog::showEvent(QShowEvent *event)
{
    // Built before the base class centres the dialog, so it centres at its final size.
    if (!m_built && !event->spontaneous())
        ui::runCommand([this] { FormShow(); });
    QDialog::showEvent(event);
}

void AdvancedControlsDialog::FormShow()
{
    if (m_built)
        return;
    m_built = true;
    engine::IMixerSide &mixer = side();
    addressLine();
    setWindowTitle(QStringLiteral("Advanced Properties for ") + mixer.GetLineName());
    const int highest = mixer.GetAdvancedCount();
    if (highest < 0)
        return;

    GroupBox1->resize(GroupBox1->width(), 23 * highest + 113);
    const int groupBottom = GroupBox1->y() + GroupBox1->height();
    btnClose->move(btnClose->x(), groupBottom + 8);
    setFixedHeight(groupBottom + 70 - kFrameHeight);

    for (int k = 0; k <= highest; ++k) {
        const QVariant value = mixer.srcAdvancedValue(short(k));
        const QString text = QString::number(k + 1) + QLatin1Char(' ') + mixer.GetAdvancedName(short(k));
        const int y = 80 + 23 * k;
        if (value.typeId() == QMetaType::Bool) {
            auto *box = new QCheckBox(text, GroupBox1);
            box->setObjectName(QStringLiteral("ch%1").arg(k));
            box->setGeometry(16, y, 220, 17);
            box->setChecked(value.toBool());
            MixerStrip::SetTag(box, k);
            box->show();
            m_switches.append(box);
            connect(box, &QCheckBox::clicked, this, [this, k](bool checked) {
                ui::runCommand([&] {
                    addressLine();
                    side().SetAdvancedValue(short(k), QVariant(checked));
                    showSwitches();
                });
            });
        } else {
            auto *bar = new QSlider(Qt::Horizontal, GroupBox1);
            bar->setObjectName(QStringLiteral("tb%1").arg(k));
            bar->setGeometry(16, y, 109, 17);
            bar->setRange(0, 65535);
            bar->setTickInterval(5000);
            bar->setTickPosition(QSlider::TicksBelow);
            bar->setSingleStep(655);
            bar->setPageStep(6554);
            bar->setValue(value.toInt());
            MixerStrip::SetTag(bar, k);
            bar->show();
            auto *label = new QLabel(text, GroupBox1);
            label->setObjectName(QStringLiteral("lb%1").arg(k));
            label->setTextFormat(Qt::PlainText);
            label->setGeometry(145, y, label->sizeHint().width(), 17);
            label->show();
            connect(bar, &QSlider::valueChanged, this, [this, k](int position) {
                ui::runCommand([&] {
                    addressLine();
                    side().SetAdvancedValue(short(k), QVariant(int(position)));
                });
            });
        }
    }
}
