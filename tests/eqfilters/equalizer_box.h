// The "Equalizer" box and the keyboard road to the equalizer's bands, for the window tests.
#pragma once

#include "ui/main_window.h"
#include "ui/ui_services.h"
#include "widgets/equalizer_bands.h"

#include <QCheckBox>
#include <QtTest>

#include <cstdlib>

namespace eqtest {

// The playback tab's "Equalizer" box once that tab has one; until then a box made as that tab
// makes it (tristate, grayed, its clicks going to chEqualizerClick).
inline QCheckBox *equalizerBox(MainWindow &f)
{
    if (!f.chEqualizer) {
        auto *box = new QCheckBox(QStringLiteral("Equalizer"), &f);
        box->setTristate(true);
        box->setCheckState(Qt::PartiallyChecked);
        box->setGeometry(10, 80, 100, 20);
        box->show();
        QObject::connect(box, &QCheckBox::clicked, &f, [&f] { ui::runCommand([&f] { f.chEqualizerClick(); }); });
        f.chEqualizer = box;
    }
    return f.chEqualizer;
}

// Moves band `band` (1..12) by `steps` dB with the keyboard, as a user would: the arrows
// choose the band, Up and Down move it by 1 dB.
inline void moveBand(EqualizerBands *eq, int band, int steps)
{
    for (int i = 0; i < EqualizerBands::BandCount; ++i)
        QTest::keyClick(eq, Qt::Key_Left);
    for (int i = 1; i < band; ++i)
        QTest::keyClick(eq, Qt::Key_Right);
    for (int i = 0; i < std::abs(steps); ++i)
        QTest::keyClick(eq, steps > 0 ? Qt::Key_Up : Qt::Key_Down);
}

}  // namespace eqtest
