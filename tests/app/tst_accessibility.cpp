// For every user: each control the keyboard reaches has a name a screen reader can say, the
// painted controls say what they show (role, name, value or text), and under a dark palette
// what they draw stands out from their background as much as under the light one.
#include "window_fixture.h"

#include "ui/colour_scheme.h"
#include "ui/equalizer_window.h"
#include "ui/options_dialog.h"
#include "widgets/equalizer_bands.h"
#include "widgets/level_meter.h"
#include "widgets/position_slider.h"
#include "widgets/spectrum_view.h"
#include "widgets/time_display.h"
#include "widgets/transport_block.h"

#include <QAbstractSpinBox>
#include <QAccessible>
#include <QComboBox>
#include <QImage>

#include <cmath>
#include <functional>
#include <map>
#include <memory>

namespace {

QAccessibleInterface *accessibleOf(QObject *object)
{
    return object ? QAccessible::queryAccessibleInterface(object) : nullptr;
}

QString nameOf(QAccessibleInterface *i)
{
    return i ? i->text(QAccessible::Name) : QString();
}

// Relative luminance and the contrast ratio of two colours (1 = none, 21 = black on white).
double luminance(QRgb c)
{
    const auto channel = [](int v) {
        const double s = v / 255.0;
        return s <= 0.03928 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(qRed(c)) + 0.7152 * channel(qGreen(c)) + 0.0722 * channel(qBlue(c));
}

double contrast(QRgb a, QRgb b)
{
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

struct Legibility {
    QRgb background = 0;   // the most common colour
    double drawn = 0;      // share of the other pixels that stand out from it (contrast >= 3)
};

Legibility legibilityOf(QWidget &widget)
{
    const QImage image = widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
    std::map<QRgb, int> counts;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            ++counts[image.pixel(x, y)];
    Legibility l;
    int most = 0;
    for (const auto &[colour, n] : counts)
        if (n > most) {
            most = n;
            l.background = colour;
        }
    int other = 0, standing = 0;
    for (const auto &[colour, n] : counts) {
        if (colour == l.background)
            continue;
        other += n;
        if (contrast(colour, l.background) >= 3.0)
            standing += n;
    }
    l.drawn = other > 0 ? double(standing) / other : 0.0;
    return l;
}

// Whether widget is a part of a T (a spin box's line edit, a combo box's list).
template <typename T>
bool insideOf(QWidget *widget)
{
    for (QWidget *w = widget->parentWidget(); w; w = w->parentWidget())
        if (qobject_cast<T *>(w))
            return true;
    return false;
}

}  // namespace

class TestAccessibility : public QObject {
    Q_OBJECT

private slots:
    void everyFocusableControlHasAName()
    {
        WindowFixture w;
        w.start();
        OptionsDialog options(*w.core, w.window.get());
        QStringList nameless;
        for (QWidget *top : {static_cast<QWidget *>(w.window.get()), static_cast<QWidget *>(&options)}) {
            for (QWidget *c : top->findChildren<QWidget *>()) {
                // Qt's own parts speak through the control they belong to.
                if (!(c->focusPolicy() & Qt::TabFocus) || c->focusProxy() || c->objectName().startsWith(QLatin1String("qt_"))
                    || insideOf<QAbstractSpinBox>(c) || insideOf<QComboBox>(c))
                    continue;
                if (nameOf(accessibleOf(c)).trimmed().isEmpty())
                    nameless << QStringLiteral("%1 (%2)").arg(c->objectName(), QString::fromLatin1(c->metaObject()->className()));
            }
        }
        QVERIFY2(nameless.isEmpty(), qPrintable(nameless.join(QLatin1Char('\n'))));
    }

    void paintedControlsSayWhatTheyShow()
    {
        WindowFixture w;
        w.start();
        auto *left = w.find<LevelMeter>("leftMeter");
        left->setValue(42);
        QAccessibleInterface *meter = accessibleOf(left);
        QVERIFY(meter && meter->valueInterface());
        QCOMPARE(meter->role(), QAccessible::ProgressBar);
        QCOMPARE(nameOf(meter), QString("Left level"));
        QCOMPARE(nameOf(accessibleOf(w.find<LevelMeter>("rightMeter"))), QString("Right level"));
        QCOMPARE(meter->valueInterface()->currentValue().toInt(), 42);
        QCOMPARE(meter->valueInterface()->maximumValue().toInt(), 100);

        QAccessibleInterface *time = accessibleOf(w.find<TimeDisplay>("timeDisplay"));
        QVERIFY(time && time->textInterface());
        QCOMPARE(nameOf(time), QString("Time Elapsed"));
        QCOMPARE(time->textInterface()->text(0, time->textInterface()->characterCount()), QString("00:00:00.000"));

        auto *position = w.find<PositionSlider>("positionSlider");
        QAccessibleInterface *slider = accessibleOf(position);
        QVERIFY(slider && slider->valueInterface());
        QCOMPARE(slider->role(), QAccessible::Slider);
        QVERIFY(!nameOf(slider).isEmpty());

        auto *transport = w.find<TransportBlock>("transportBlock");
        QAccessibleInterface *block = accessibleOf(transport);
        QVERIFY(block);
        QStringList buttons;
        QAccessibleInterface *volume = nullptr;
        for (int i = 0; i < block->childCount(); ++i) {
            QAccessibleInterface *part = block->child(i);
            QVERIFY(part);
            if (part->role() == QAccessible::Button)
                buttons << nameOf(part);
            if (part->role() == QAccessible::Dial)
                volume = part;
        }
        for (const char *b : {"Play", "Pause", "Stop", "Record", "Mute"})
            QVERIFY2(buttons.contains(b), qPrintable(buttons.join(", ")));
        QVERIFY(volume && volume->valueInterface());
        transport->setVolume(65);
        QCOMPARE(volume->valueInterface()->currentValue().toInt(), 65);

        auto *bands = w.window->findChild<EqualizerBands *>("equalizerBands");
        QAccessibleInterface *equalizer = accessibleOf(bands);
        QVERIFY(equalizer);
        QCOMPARE(equalizer->childCount(), 12);
        for (int i = 0; i < equalizer->childCount(); ++i) {
            QAccessibleInterface *band = equalizer->child(i);
            QCOMPARE(band->role(), QAccessible::Slider);
            QVERIFY2(nameOf(band).contains("Hz"), qPrintable(nameOf(band)));
            QVERIFY(band->valueInterface());
        }

        QAccessibleInterface *spectrum = accessibleOf(w.window->findChild<SpectrumView *>("spectrumView"));
        QVERIFY(spectrum);
        QVERIFY(!nameOf(spectrum).isEmpty() && !spectrum->text(QAccessible::Description).isEmpty());
    }

    void paintedControlsStayLegibleWhenDark_data()
    {
        QTest::addColumn<QString>("control");
        for (const char *c : {"level meter", "time display", "position slider", "transport block", "equalizer bands"})
            QTest::newRow(c) << QString(c);
    }
    void paintedControlsStayLegibleWhenDark()
    {
        QFETCH(QString, control);
        const std::map<QString, std::function<std::unique_ptr<QWidget>()>> make{
            {"level meter", [] { auto m = std::make_unique<LevelMeter>(); m->setValue(90); return std::unique_ptr<QWidget>(std::move(m)); }},
            {"time display", [] { return std::unique_ptr<QWidget>(std::make_unique<TimeDisplay>()); }},
            {"position slider", [] { return std::unique_ptr<QWidget>(std::make_unique<PositionSlider>()); }},
            {"transport block", [] { return std::unique_ptr<QWidget>(std::make_unique<TransportBlock>()); }},
            {"equalizer bands", [] { return std::unique_ptr<QWidget>(std::make_unique<EqualizerBands>()); }},
        };
        Legibility looks[2];
        for (const bool dark : {false, true}) {
            QWidget host;
            host.setPalette(dark ? ui::darkPalette() : QApplication::palette());
            host.setAutoFillBackground(true);
            QWidget *widget = make.at(control)().release();
            widget->setParent(&host);   // the host owns it from here
            const QSize size = widget->sizeHint().expandedTo(QSize(120, 20));
            widget->resize(size);
            host.resize(size);
            looks[dark] = legibilityOf(*widget);
        }
        qInfo("light: %.2f of what is drawn stands out; dark: %.2f (background lightness %d)", looks[0].drawn,
              looks[1].drawn, QColor(looks[1].background).lightness());
        // Dark means dark, and what is drawn on it stands out as on light: at least half as
        // much (a display that is dark in both looks stands out on light only), or a fifth of
        // it all. Drawn dark on dark, symbols and scales fall far below either.
        QVERIFY2(QColor(looks[1].background).lightness() < 128, qPrintable(QColor(looks[1].background).name()));
        QVERIFY2(looks[1].drawn >= std::min(0.2, 0.5 * looks[0].drawn), qPrintable(QString::number(looks[1].drawn)));
    }
};

QTEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
