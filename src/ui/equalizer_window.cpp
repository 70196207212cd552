#include "ui/equalizer_window.h"

#include "ui/main_window.h"
#include "ui/ui_services.h"
#include "widgets/equalizer_bands.h"
#include "ui/window_placement.h"

#include <QCheckBox>
#include <QPushButton>

const QStringList &EqualizerWindow::BandLabels()
{
    static const QStringList labels = {
        QStringLiteral("36"),  QStringLiteral("63"),   QStringLiteral("109"), QStringLiteral("190"),
        QStringLiteral("330"), QStringLiteral("574"),  QStringLiteral("1k"),  QStringLiteral("1.7k"),
        QStringLiteral("3k"),  QStringLiteral("5.3k"), QStringLiteral("9.2k"), QStringLiteral("16k")};
    return labels;
}

EqualizerWindow::EqualizerWindow(MainWindow &form)
    : QDialog(&form, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint
                         | Qt::WindowStaysOnTopHint | Qt::MSWindowsFixedSizeDialogHint),
      m_form(form)
{
    setObjectName(QStringLiteral("frmEQ"));
    setWindowTitle(QStringLiteral("Equalizer"));
    setModal(true);
    setFixedSize(340, 160);

    Equalizer1 = new EqualizerBands(this);
    Equalizer1->setObjectName(QStringLiteral("Equalizer1"));
    Equalizer1->setGeometry(0, 0, 340, 118);
    Equalizer1->SetLabels(BandLabels());

    BtnClose = new QPushButton(QStringLiteral("Close"), this);
    BtnClose->setObjectName(QStringLiteral("BtnClose"));
    BtnClose->setGeometry(136, 128, 75, 25);
    // Enter must not close the window while the bands have the keyboard.
    BtnClose->setAutoDefault(false);

    connect(Equalizer1, &EqualizerBands::OnValueChange, this, [this](QObject *sender, int band) {
        ui::runCommand([&] { Equalizer1ValueChange(sender, band); });
    });
    connect(BtnClose, &QPushButton::clicked, this, [this] { ui::runCommand([this] { BtnCloseClick(); }); });
}

void EqualizerWindow::Equalizer1ValueChange(QObject *, int)
{
    engine::BandArray bands{};
    for (int i = 0; i < EqualizerBands::BandCount; ++i)
        bands[size_t(i)] = Equalizer1->Band(i + 1);
    m_form.AudioPlayer1->SetEqualizerBands(bands);

    QCheckBox *box = m_form.chEqualizer;
    if (box && box->checkState() == Qt::PartiallyChecked) {
        // Setting the state is no click, so the switch is sent here, once.
        box->setCheckState(Qt::Checked);
        box->setTristate(false);
        m_form.AudioPlayer1->SetEqualizerEnabled(true);
    }
}

void EqualizerWindow::BtnCloseClick()
{
    close();
}

void EqualizerWindow::centreOnMainWindow()
{
    CentreOnOwner(this, &m_form);
}

// ---- the main window's equalizer commands ----------------------------------------------

void MainWindow::ToolBtnEqualizerClick()
{
    if (!frmEQ)
        return;
    frmEQ->centreOnMainWindow();
    frmEQ->exec();
}

void MainWindow::chEqualizerClick()
{
    if (!chEqualizer)
        return;
    // The grayed state only says "nothing sent yet": the first click leaves it for good, and
    // from then on the box is a plain two-state switch.
    if (chEqualizer->checkState() == Qt::PartiallyChecked)
        chEqualizer->setCheckState(Qt::Checked);
    chEqualizer->setTristate(false);
    AudioPlayer1->SetEqualizerEnabled(chEqualizer->checkState() == Qt::Checked);
}
