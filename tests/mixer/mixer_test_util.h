// Helpers shared by the mixer tests.
#pragma once

#include "ui/main_window.h"
#include "ui/mixer_pages.h"
#include "ui/mixer_strip.h"

#include <QDir>
#include <QFile>
#include <QSlider>
#include <QStyle>
#include <QStyleOptionSlider>

namespace mixertest {

inline MixerPage *page(const MainWindow &form, bool recording)
{
    return qobject_cast<MixerPage *>(recording ? form.TabSheet2 : form.TabSheet3);
}

inline QList<MixerStrip *> strips(const MainWindow &form, bool recording)
{
    return page(form, recording)->Strips();
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
