// The Equalizer and Recording Filters windows driving the real engine on the private sound
// server: what the user does in the windows is heard in the sound at once.
#include "widgets/quiet_offscreen.h"
#include "engine/pulse/pulse_test_util.h"
#include "equalizer_box.h"
#include "monitor_tap.h"
#include "real_window.h"

#include "ui/equalizer_window.h"
#include "ui/recording_filters_window.h"

#include <QCheckBox>
#include <QPushButton>
#include <QSlider>
#include <QTimer>

#include <algorithm>
#include <cmath>

using namespace e2e;

namespace {

constexpr int kRate = 44100;

double median(std::vector<double> v)
{
    if (v.empty())
        return std::nan("");
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

}  // namespace

class TestEqFiltersSound : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        quiet::install();
        QVERIFY2(!pactl({"info"}).isEmpty(), "no private sound server");
        pactl({"set-default-source", "tavrin_null.monitor"});
    }

    void raisingThe1kBandRaisesAPlayingTone()
    {
        RealWindow w;
        w.start();
        // -20 dBFS, so that 12 dB more stays far below full scale.
        const QString file = testaudio::makeWithFfmpeg(w.path("tone.wav"), "aevalsrc=0.1*sin(2*PI*1000*t):s=44100:d=4");
        QVERIFY(!file.isEmpty());
        MonitorTap tap;
        QVERIFY(tap.start());

        w.window->openFile(file);
        w.window->play();
        QCOMPARE(w.window->playback().state(), PlaybackSession::State::Playing);
        QTRY_VERIFY_WITH_TIMEOUT(tap.sounding(), 5000);
        QTest::qWait(1000);

        // Through the window: the user opens it, picks the 1 kHz band (band 7) with the arrow
        // keys, raises it 12 dB and closes the window.
        double switchedAt = -1;
        QTimer::singleShot(0, w.window.get(), [&] {
            EqualizerWindow *eq = eqtest::equalizerWindow(*w.window);
            if (QApplication::activeModalWidget() == eq) {
                switchedAt = tap.seconds();
                eqtest::moveBand(eqtest::bands(*w.window), 7, 12);
            }
            QTest::mouseClick(eqtest::closeButton(*w.window), Qt::LeftButton);
        });
        w.window->showEqualizer();
        QVERIFY(switchedAt > 0);
        QCOMPARE(eqtest::bands(*w.window)->band(7), 12.0f);
        QCOMPARE(eqtest::equalizerBox(*w.window)->checkState(), Qt::Checked);

        QTRY_VERIFY_WITH_TIMEOUT(tap.seconds() >= switchedAt + 1.3, 5000);
        QCOMPARE(w.window->playback().state(), PlaybackSession::State::Playing);
        w.window->stop();
        tap.stop();

        // Before: the half second up to the change. After: from 300 ms on (the server's
        // buffer and the equalizer's glide), another second.
        const double before = tap.levelDb(switchedAt - 0.6, switchedAt - 0.1, 1000);
        const double after = tap.levelDb(switchedAt + 0.3, switchedAt + 1.3, 1000);
        qInfo("1 kHz tone: %.2f dBFS, %.2f dBFS with band 7 at +12 dB", before, after);
        // Played at -20 dBFS; the program's stream volume may take a little off.
        QVERIFY2(before > -30 && before < -19, qPrintable(QString::number(before)));
        QVERIFY2(std::abs(after - before - 12.0) <= 1.5, qPrintable(QStringLiteral("%1 -> %2").arg(before).arg(after)));
        QCOMPARE(w.errors(), QStringList());
    }

    void lowPassCutsARecordedToneFromTheMomentItIsOn()
    {
        SineSource sine(8000);
        RealWindow w;
        w.start();
        RecordingSettings settings = w.window->recording().settings();
        settings.wavFrequency = kRate;
        settings.wavChannels = 2;
        settings.wavBitsPerSample = 16;
        w.window->applySettings(settings);
        w.useFormat(".wav");
        engine::IAudioRecord2 &recorder = w.window->recording().recorder();
        pulsetest::Capture cap(&recorder);   // the blocks the program writes

        w.window->record();
        QCOMPARE(w.window->recording().state(), RecordingSession::State::Recording);
        QTRY_VERIFY_WITH_TIMEOUT(cap.blocks.size() >= 5, 8000);

        // The user opens the window and sets the low-pass to 1 kHz; it is still off.
        w.window->findChild<QPushButton *>("setFilterButton")->click();
        auto *f = w.window->findChild<RecordingFiltersWindow *>("recordingFiltersWindow");
        QTRY_COMPARE(QApplication::activeWindow(), static_cast<QWidget *>(f));
        auto *lowPassEdit = f->findChild<FrequencyEdit *>("frequencyEdit3");
        auto *lowPassBar = f->findChild<QSlider *>("frequencyBar3");
        auto *lowPassSwitch = f->findChild<QCheckBox *>("filterSwitch3");
        lowPassEdit->setFocus();
        QTest::keyClick(lowPassEdit, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(lowPassEdit, "1000");
        QTest::keyClick(lowPassEdit, Qt::Key_Return);
        QCOMPARE(lowPassBar->value(), 1000);
        QCOMPARE(recorder.GetLowPassFrequency(), 1000.0f);
        QVERIFY(!recorder.GetLowPassEnabled());
        QTRY_VERIFY_WITH_TIMEOUT(cap.blocks.size() >= 8, 5000);

        // Switched on with the mouse: every block from the next one on is without the tone.
        QCoreApplication::processEvents();
        const size_t switchedAt = cap.blocks.size();
        QTest::mouseClick(lowPassSwitch, Qt::LeftButton);
        QVERIFY(lowPassSwitch->isChecked());
        QVERIFY(recorder.GetLowPassEnabled());
        QTRY_VERIFY_WITH_TIMEOUT(cap.blocks.size() >= switchedAt + 8, 5000);
        w.window->stop();
        QCOMPARE(w.window->recording().state(), RecordingSession::State::Idle);

        auto level = [&](size_t i) {
            return testaudio::toneLevelDb(testaudio::channel(cap.blocks[i].toFloat(), 2, 0), kRate, 8000);
        };
        std::vector<double> open;
        for (size_t i = 2; i + 1 < switchedAt; ++i)
            open.push_back(level(i));
        const double unfiltered = median(open);
        qInfo("8 kHz tone: %.1f dBFS unfiltered", unfiltered);
        QVERIFY2(unfiltered > -25, qPrintable(QString::number(unfiltered)));
        double loudestAfter = -200;
        for (size_t i = switchedAt + 1; i < cap.blocks.size(); ++i) {
            if (cap.blocks[i].frames() < kRate / 20)
                continue;   // the short last block
            const double l = level(i);
            loudestAfter = std::max(loudestAfter, l);
            QVERIFY2(unfiltered - l >= 30, qPrintable(QStringLiteral("block %1: %2 dBFS").arg(i).arg(l)));
        }
        qInfo("8 kHz tone: at most %.1f dBFS with the low-pass at 1 kHz on", loudestAfter);

        // The file holds the same: loud, then quiet for the last second.
        const Decoded d = decode(w.window->recording().partPath());
        QVERIFY(d.seconds() > 2.5);
        const std::vector<float> left = d.left();
        const auto part = [&](double from, double to) {
            return std::vector<float>(left.begin() + long(from * d.rate), left.begin() + long(to * d.rate));
        };
        const double fileOpen = testaudio::toneLevelDb(part(0.4, 1.2), d.rate, 8000);
        const double fileEnd = testaudio::toneLevelDb(part(d.seconds() - 1.0, d.seconds() - 0.1), d.rate, 8000);
        QVERIFY2(fileOpen - fileEnd >= 30, qPrintable(QStringLiteral("%1 -> %2").arg(fileOpen).arg(fileEnd)));
        QCOMPARE(w.errors(), QStringList());
    }
};

QTEST_MAIN(TestEqFiltersSound)
#include "tst_eq_filters_sound.moc"
