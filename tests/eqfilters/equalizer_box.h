// The "Equalizer" switch, the Equalizer window's parts and the keyboard road to its bands,
// for the window tests.
#pragma once

#include "ui/main_window.h"
#include "ui/equalizer_window.h"
#include "widgets/equalizer_bands.h"

#include <QCheckBox>
#include <QPushButton>
#include <QtTest>

#include <cstdlib>

namespace eqtest {

// The playback tab's "Equalizer" switch (tristate, grayed until the user or the bands set it).
inline QCheckBox *equalizerBox(const MainWindow &window)
{
    return window.findChild<QCheckBox *>(QStringLiteral("equalizerSwitch"));
}

// The Equalizer window made at start-up, and its bands and "Close" button.
inline EqualizerWindow *equalizerWindow(const MainWindow &window)
{
    return window.findChild<EqualizerWindow *>(QStringLiteral("equalizerWindow"));
}

inline EqualizerBands *bands(const MainWindow &window)
{
    return equalizerWindow(window)->findChild<EqualizerBands *>(QStringLiteral("equalizerBands"));
}

inline QPushButton *closeButton(const MainWindow &window)
{
    return equalizerWindow(window)->findChild<QPushButton *>(QStringLiteral("closeButton"));
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
