// Helpers shared by the mixer tests: the mixer tabs and their strips are found by their
// object names, as a user finds them by their place.
#pragma once

#include "ui/main_window.h"
#include "ui/mixer_pages.h"
#include "ui/mixer_strip.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QStyle>
#include <QStyleOptionSlider>

namespace mixertest {

// "Recording Controls" (tab 1) or "Playback Volume Controls" (tab 2).
inline MixerPage *page(const MainWindow &window, bool recording)
{
    return window.findChild<MixerPage *>(recording ? QStringLiteral("recordingControlsPage")
                                                   : QStringLiteral("playbackControlsPage"));
}

inline QList<MixerStrip *> strips(const MainWindow &window, bool recording)
{
    return page(window, recording)->strips();
}

// The tab's "Input Device" or "Output Device" list.
inline QComboBox *deviceList(const MainWindow &window, bool recording)
{
    return window.findChild<QComboBox *>(recording ? QStringLiteral("inputDeviceList")
                                                   : QStringLiteral("outputDeviceList"));
}

// A strip's controls.
inline QLabel *nameLabel(const MixerStrip *s) { return s->findChild<QLabel *>(QStringLiteral("nameLabel")); }
inline QSlider *volumeBar(const MixerStrip *s) { return s->findChild<QSlider *>(QStringLiteral("volumeBar")); }
inline QSlider *balanceBar(const MixerStrip *s) { return s->findChild<QSlider *>(QStringLiteral("balanceBar")); }
inline QCheckBox *switchBox(const MixerStrip *s) { return s->findChild<QCheckBox *>(QStringLiteral("switchBox")); }
inline QPushButton *advancedButton(const MixerStrip *s)
{
    return s->findChild<QPushButton *>(QStringLiteral("advancedButton"));
}

// The slider's handle as the style draws it, in slider coordinates.
inline QRect handleRect(QSlider *slider)
{
    struct Probe : QSlider {
        using QSlider::initStyleOption;
    };
    QStyleOptionSlider option;
    static_cast<Probe *>(slider)->initStyleOption(&option);
    return slider->style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, slider);
}

inline QRect grooveRect(QSlider *slider)
{
    struct Probe : QSlider {
        using QSlider::initStyleOption;
    };
    QStyleOptionSlider option;
    static_cast<Probe *>(slider)->initStyleOption(&option);
    return slider->style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderGroove, slider);
}

}  // namespace mixertest
