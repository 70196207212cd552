#include "monitor_tap.h"
#include "real_window.h"

#include "widgets/transport_block.h"
#include "widgets/position_slider.h"

#include <QAction>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>

using namespace e2e;


class TestPlayEndToEnd : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY2(!pactl({"info"}).isEmpty(), "no private sound server");
        pactl({"set-default-source", "tavrin_null.monitor"});
    }

    void eachTypeIsHeardForItsFullLength_data()
    {
        QTest::addColumn<QString>("extension");
        QTest::newRow("wav") << "wav";
        QTest::newRow("mp3") << "mp3";
        QTest::newRow("ogg") << "ogg";
        QTest::newRow("wma") << "wma";
    }
    void eachTypeIsHeardForItsFullLength()
    {
        QFETCH(QString, extension);
        RealWindow w;
        w.start();
        const QString file = testaudio::makeWithFfmpeg(w.path("tone." + extension), "sine=frequency=1000:sample_rate=44100:duration=2");
        QVERIFY(!file.isEmpty());
        MonitorTap tap;
        QVERIFY(tap.start());
        QTest::qWait(300);
        tap.left.clear();
        w.openFileAnswers << file;
        w.action("openAction")->trigger();
        w.action("playAction")->trigger();
        QVERIFY(w.playback().isActive());
        QCOMPARE(w.window->statusText(0), QString("Playing..."));
        QTRY_VERIFY_WITH_TIMEOUT(!w.playback().isActive(), 6000);
        QTest::qWait(300);
        tap.stop();
        QCOMPARE(w.window->statusText(0), QString("Stop"));
        QCOMPARE(w.find<PositionSlider>("positionSlider")->value(), 0);
        const auto h = tap.heard();
        QVERIFY2(std::abs(h.seconds - 2.0) <= 0.06, qPrintable(QString::number(h.seconds)));
        const double f = testaudio::dominantFrequency(tap.left, MonitorTap::kRate, size_t(h.first * MonitorTap::kRate) + 2205);
        QVERIFY2(std::abs(f - 1000) < 20, qPrintable(QString::number(f)));
        QCOMPARE(w.errors(), QStringList());
    }

    void pauseAndResumeLoseAndRepeatNothing()
    {
        RealWindow w;
        w.start();
        const QString file = testaudio::makeWithFfmpeg(w.path("tone.wav"), "sine=frequency=1000:sample_rate=44100:duration=2");
        MonitorTap tap;
        QVERIFY(tap.start());
        QTest::qWait(300);
        tap.left.clear();
        w.files().setCurrentFile(file);
        w.window->play();
        QTest::qWait(800);
        w.window->pause();
        QVERIFY((w.playback().state() == PlaybackSession::State::Paused));
        QTest::qWait(500);
        w.window->play();
        QVERIFY(w.playback().isActive() && !(w.playback().state() == PlaybackSession::State::Paused));
        QTRY_VERIFY_WITH_TIMEOUT(!w.playback().isActive(), 6000);
        QTest::qWait(300);
        tap.stop();
        const auto h = tap.heard();
        QVERIFY2(std::abs(h.seconds - 2.0) <= 0.06, qPrintable(QString::number(h.seconds)));
        QVERIFY2(std::abs((h.last - h.first) - 2.5) <= 0.1, qPrintable(QString::number(h.last - h.first)));
    }

    void sliderAtHalfPlaysTheSecondHalf()
    {
        RealWindow w;
        w.start();
        const QString file = w.path("halves.wav");
        int code = -1;
        testaudio::run("ffmpeg", {"-v", "error", "-y", "-f", "lavfi", "-i", "sine=frequency=500:sample_rate=44100:duration=1",
                                  "-f", "lavfi", "-i", "sine=frequency=1500:sample_rate=44100:duration=1",
                                  "-filter_complex", "[0][1]concat=n=2:v=0:a=1", "-ac", "2", file}, &code);
        QCOMPARE(code, 0);
        MonitorTap tap;
        QVERIFY(tap.start());
        QTest::qWait(300);
        tap.left.clear();
        w.openFileAnswers << file;
        w.window->open();
        w.find<PositionSlider>("positionSlider")->setValue(500);
        w.window->play();
        QTRY_VERIFY_WITH_TIMEOUT(!w.playback().isActive(), 5000);
        QTest::qWait(300);
        tap.stop();
        const auto h = tap.heard();
        QVERIFY2(std::abs(h.seconds - 1.0) <= 0.06, qPrintable(QString::number(h.seconds)));
        std::vector<float> sound(tap.left.begin() + long(h.first * MonitorTap::kRate), tap.left.begin() + long(h.last * MonitorTap::kRate));
        QVERIFY(testaudio::toneLevelDb(sound, MonitorTap::kRate, 1500) > testaudio::toneLevelDb(sound, MonitorTap::kRate, 500) + 30);
    }

    void knobSetsTheStreamVolume()
    {
        RealWindow w;
        w.start();
        const QString file = testaudio::makeWithFfmpeg(w.path("long.wav"), "sine=frequency=440:sample_rate=44100:duration=6");
        w.files().setCurrentFile(file);
        w.window->play();
        QVERIFY(w.playback().isActive());
        emit w.find<TransportBlock>("transportBlock")->volumeChanged(50);
        const QJsonArray inputs = QJsonDocument::fromJson(pactl({"-f", "json", "list", "sink-inputs"}).toUtf8()).array();
        bool found = false;
        for (const QJsonValue &v : inputs) {
            const QJsonObject o = v.toObject();
            const QJsonObject vol = o.value("volume").toObject();
            for (const QString &ch : vol.keys()) {
                const QString percent = vol.value(ch).toObject().value("value_percent").toString();
                QCOMPARE(percent, QString("50%"));
                found = true;
            }
        }
        QVERIFY(found);
        w.window->stop();
    }

    void filesThatCannotPlay_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("error");   // how the error box begins and ends
        QTest::newRow("missing") << "missing" << "Cannot open %1:|No such file or directory.";
        QTest::newRow("random bytes") << "garbage" << "Cannot open %1:|.";
        QTest::newRow("zero bytes") << "zero" << "Cannot open %1:|.";
        QTest::newRow("no samples") << "nosamples" << "Cannot play %1:|it holds no sound.";
    }
    void filesThatCannotPlay()
    {
        QFETCH(QString, kind);
        QFETCH(QString, error);
        RealWindow w;
        w.start();
        const QString file = w.path("bad.wav");
        if (kind == "garbage") {
            QFile f(file);
            QVERIFY(f.open(QIODevice::WriteOnly));
            QByteArray junk(20000, '\0');
            for (int i = 0; i < junk.size(); ++i)
                junk[i] = char((i * 7919) ^ (i >> 3));
            f.write(junk);
        } else if (kind == "zero") {
            QFile f(file);
            QVERIFY(f.open(QIODevice::WriteOnly));
        } else if (kind == "nosamples") {
            // A WAV header with no data after it.
            auto f = w.factory->createFile("w");
            f->SetActive(true);
            f->SetWavFormat(44100, 2, 16);
            f->Create(file, 0);
            f->Close();
        }
        w.files().setCurrentFile(file);
        w.action("playAction")->trigger();
        QVERIFY(!w.playback().isActive());
        QCOMPARE(w.window->statusText(0), QString("Stop"));
        // The user is told why, in the engine's words.
        QCOMPARE(w.errors().size(), 1);
        const QString text = w.errors().constFirst();
        QVERIFY2(text.startsWith(error.section('|', 0, 0).arg(file)) && text.endsWith(error.section('|', 1)),
                 qPrintable(text));
    }
};

QTEST_MAIN(TestPlayEndToEnd)
#include "tst_play_e2e.moc"
