#include "ui/advanced_controls_dialog.h"

#include "session/device_controls.h"
#include "ui/ui_services.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QSlider>

namespace {

// Each switch and bar knows the number of the advanced control it shows.
const char *const kControlProperty = "control";

QLabel *wrappedText(const QString &text, QWidget *parent, int x, int y, int width)
{
    auto *label = new QLabel(text, parent);
    label->setWordWrap(true);
    label->setTextFormat(Qt::PlainText);
    label->setGeometry(x, y, width, label->heightForWidth(width));
    return label;
}

}  // namespace

AdvancedControlsDialog::AdvancedControlsDialog(MixerLines &lines, int line, QWidget *parent)
    : QDialog(parent), m_lines(lines), m_line(line)
{
    setObjectName(QStringLiteral("advancedControlsDialog"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    //: the caption until the controls of the line are built
    setWindowTitle(tr("Dialog"));
    setFixedSize(390, 203);

    m_icon = new QLabel(this);
    m_icon->setObjectName(QStringLiteral("icon"));
    const QIcon icon = QIcon::fromTheme(QStringLiteral("multimedia-volume-control"),
                                        QIcon(QStringLiteral(":/icons/tavrin-sound-recorder.svg")));
    m_icon->setPixmap(icon.pixmap(32, 32));
    m_icon->setGeometry(12, 4, 32, 32);

    m_intro = wrappedText(tr("These settings can be used to make fine adjustments to your audio."),
                         this, 69, 8, 289);
    m_intro->setObjectName(QStringLiteral("introLabel"));

    m_controls = new QGroupBox(tr("Other Controls"), this);
    m_controls->setObjectName(QStringLiteral("controlsGroup"));
    m_controls->setGeometry(16, 56, 361, 105);
    m_controlsNote = wrappedText(tr("These settings make other changes to how your audio sounds. "
                                    "See your hardware documentation for details."),
                         m_controls, 16, 32, 321);
    m_controlsNote->setObjectName(QStringLiteral("controlsNote"));

    m_closeButton = new QPushButton(tr("Close"), this);
    m_closeButton->setObjectName(QStringLiteral("closeButton"));
    m_closeButton->setGeometry(300, 168, 75, 25);
    m_closeButton->setDefault(true);
    connect(m_closeButton, &QPushButton::clicked, this, &QDialog::accept);
}

int AdvancedControlsDialog::outerHeight() const
{
    return height() + kFrameHeight;
}

void AdvancedControlsDialog::addressLine() const
{
    // Nothing but this dialog addresses the side while it is open, but setting the line
    // again costs one call and keeps every write on the line the dialog shows.
    if (m_line >= 0)
        m_lines.setLine(m_line);
}

void AdvancedControlsDialog::showSwitches()
{
    // A device may refuse a switch or change others with it (its ports: exactly one is
    // on), so the boxes show what it holds now rather than what was clicked.
    MixerLines &mixer = m_lines;
    for (QCheckBox *box : std::as_const(m_switches)) {
        const bool on = mixer.advancedValue(box->property(kControlProperty).toInt()).toBool();
        const QSignalBlocker quiet(box);
        box->setChecked(on);
    }
}

void AdvancedControlsDialog::showEvent(QShowEvent *event)
{
    // Built before the base class centres the dialog, so it centres at its final size.
    if (!m_built && !event->spontaneous())
        ui::runCommand([this] { buildControls(); });
    QDialog::showEvent(event);
}

void AdvancedControlsDialog::buildControls()
{
    if (m_built)
        return;
    m_built = true;
    MixerLines &mixer = m_lines;
    addressLine();
    //: %1 is the name of the mixer line
    setWindowTitle(tr("Advanced Properties for %1").arg(mixer.lineName()));
    const int highest = mixer.highestAdvanced();
    if (highest < 0)
        return;

    m_controls->resize(m_controls->width(), 23 * highest + 113);
    const int groupBottom = m_controls->y() + m_controls->height();
    m_closeButton->move(m_closeButton->x(), groupBottom + 8);
    setFixedHeight(groupBottom + 70 - kFrameHeight);

    // Tab goes down the controls and then to Close; Close keeps the focus it starts with.
    QWidget *previous = nullptr;
    const auto next = [this, &previous](QWidget *control) {
        if (previous)
            setTabOrder(previous, control);
        previous = control;
    };
    for (int k = 0; k <= highest; ++k) {
        const QVariant value = mixer.advancedValue(k);
        const QString text = QString::number(k + 1) + QLatin1Char(' ') + mixer.advancedName(k);
        const int y = 80 + 23 * k;
        if (value.typeId() == QMetaType::Bool) {
            auto *box = new QCheckBox(text, m_controls);
            box->setObjectName(QStringLiteral("ch%1").arg(k));
            box->setGeometry(16, y, 220, 17);
            box->setChecked(value.toBool());
            box->setProperty(kControlProperty, k);
            box->show();
            m_switches.append(box);
            next(box);
            connect(box, &QCheckBox::clicked, this, [this, k](bool checked) {
                ui::runCommand([&] {
                    addressLine();
                    m_lines.setAdvancedValue(k, QVariant(checked));
                    showSwitches();
                });
            });
        } else {
            auto *bar = new QSlider(Qt::Horizontal, m_controls);
            bar->setObjectName(QStringLiteral("tb%1").arg(k));
            bar->setGeometry(16, y, 109, 17);
            bar->setRange(0, 65535);
            bar->setTickInterval(5000);
            bar->setTickPosition(QSlider::TicksBelow);
            bar->setSingleStep(655);
            bar->setPageStep(6554);
            bar->setValue(value.toInt());
            bar->setProperty(kControlProperty, k);
            bar->show();
            next(bar);
            auto *label = new QLabel(text, m_controls);
            label->setObjectName(QStringLiteral("lb%1").arg(k));
            label->setTextFormat(Qt::PlainText);
            label->setGeometry(145, y, label->sizeHint().width(), 17);
            label->setBuddy(bar);   // the bar's name, for a screen reader
            label->show();
            connect(bar, &QSlider::valueChanged, this, [this, k](int position) {
                ui::runCommand([&] {
                    addressLine();
                    m_lines.setAdvancedValue(k, QVariant(int(position)));
                });
            });
        }
    }
    if (previous)
        setTabOrder(previous, m_closeButton);
    m_closeButton->setFocus();
}
