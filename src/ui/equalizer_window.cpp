#include "ui/equalizer_window.h"

#include "session/device_controls.h"
#include "ui/ui_services.h"
#include "ui/window_placement.h"
#include "widgets/equalizer_bands.h"

#include <QPushButton>

const QStringList &EqualizerWindow::bandLabels()
{
    static const QStringList labels = {
        QStringLiteral("36"),  QStringLiteral("63"),   QStringLiteral("109"), QStringLiteral("190"),
        QStringLiteral("330"), QStringLiteral("574"),  QStringLiteral("1k"),  QStringLiteral("1.7k"),
        QStringLiteral("3k"),  QStringLiteral("5.3k"), QStringLiteral("9.2k"), QStringLiteral("16k")};
    return labels;
}

EqualizerWindow::EqualizerWindow(PlaybackEqualizer &equalizer, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint
                          | Qt::WindowStaysOnTopHint | Qt::MSWindowsFixedSizeDialogHint),
      m_equalizer(equalizer)
{
    setObjectName(QStringLiteral("equalizerWindow"));
    setWindowTitle(tr("Equalizer"));
    setModal(true);
    setFixedSize(340, 160);

    m_bands = new EqualizerBands(this);
    m_bands->setObjectName(QStringLiteral("equalizerBands"));
    m_bands->setGeometry(0, 0, 340, 118);
    m_bands->setLabels(bandLabels());
    m_bands->setAccessibleName(tr("Equalizer"));
    m_bands->setAccessibleDescription(tr("Twelve bands from 36 Hz to 16 kHz, each from -15 to 15 dB"));
    // The bands are set from the keyboard too.
    m_bands->setFocusPolicy(Qt::StrongFocus);

    m_closeButton = new QPushButton(tr("Close"), this);
    m_closeButton->setObjectName(QStringLiteral("closeButton"));
    m_closeButton->setGeometry(136, 128, 75, 25);
    // Enter must not close the window while the bands have the keyboard.
    m_closeButton->setAutoDefault(false);

    setTabOrder(m_bands, m_closeButton);

    connect(m_bands, &EqualizerBands::bandChanged, this, [this] { ui::runCommand([this] { sendBands(); }); });
    connect(m_closeButton, &QPushButton::clicked, this, &QWidget::close);
}

void EqualizerWindow::sendBands()
{
    PlaybackEqualizer::Bands bands{};
    for (int i = 0; i < EqualizerBands::BandCount; ++i)
        bands[size_t(i)] = m_bands->band(i + 1);
    m_equalizer.setBands(bands);
    emit bandsChanged();
}

void EqualizerWindow::centreOnMainWindow()
{
    centreOnOwner(this, parentWidget());
}
