#include "real_window.h"

#include "engine/controls/play_button_b2.h"
#include "engine/controls/slider_b2.h"

#include <QAction>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>

using namespace e2e;

namespace {

// Records the null sink's monitor, where everything the program plays is heard.
class MonitorTap : public QObject {
public:
    std::unique_ptr<engine::IEngineFactory> factory = engine::createEngineFactory();
    std::unique_ptr<engine::IAudioRecord2> rec = factory->createRecorder("tap");
    std::vector<float> left;
    int rate = 44100;

    void start()
    {
        connect(rec.get(), &engine::IAudioRecord2::OnEndArrayRecord, this, [this](QObject *, int) {
            const engine::SampleArray b = rec->GetArray();
            const std::vector<float> f = testaudio::channel(b.toFloat(), b.channels(), 0);
            left.insert(left.end(), f.begin(), f.end());
        });
        rec->SetFormat(2, rate);
        rec->SetArraySize(rec->CalcArraySize(20));
        rec->Start();
        QCOMPARE(rec->GetErrorCode(), 0);
        // An idle null sink's monitor wakes up only after a while: wait for its first data.
        QTRY_VERIFY_WITH_TIMEOUT(!left.empty(), 5000);
        QTest::qWait(300);
        left.clear();
    }
    void stop() { rec->Stop(); }

    // Seconds of the recording whose 10 ms windows carry sound; first and last such time.
    struct Heard {
        double seconds = 0, first = -1, last = -1;
    };
    Heard heard(double thresholdDb = -40) const
    {
        Heard h;
        const size_t win = size_t(rate / 100);
        for (size_t i = 0; i + win <= left.size(); i += win) {
            const double db = testaudio::rmsDb(std::vector<float>(left.begin() + long(i), left.begin() + long(i + win)));
            if (db > thresholdDb) {
                h.seconds += 0.01;
                if (h.first < 0)
                    h.first = double(i) / rate;
                h.last = double(i + win) / rate;
            }
        }
        return h;
    }
};

QString makeFile(const QString &path, const QString &source)
{
    int code = -1;
    testaudio::run("ffmpeg", {"-v", "error", "-y", "-f", "lavfi", "-i", source, "-ac", "2", "-ar", "44100", path}, &code);
    return code == 0 ? path : QString();
}

}  // namespace

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
        const QString file = makeFile(w.path("tone." + extension), "sine=frequency=1000:sample_rate=44100:duration=2");
        QVERIFY(!file.isEmpty());
        MonitorTap tap;
        tap.start();
        w.openFileAnswers << file;
        w.form->MenuOpen->trigger();
        w.form->MenuPlay->trigger();
        QVERIFY(w.form->Playing);
        QCOMPARE(w.form->StatusText(0), QString("Playing..."));
        QTRY_VERIFY_WITH_TIMEOUT(!w.form->Playing, 6000);
        QTest::qWait(300);
        tap.stop();
        QCOMPARE(w.form->StatusText(0), QString("Stop"));
        QCOMPARE(w.form->SliderB1->Value(), 0);
        const auto h = tap.heard();
        QVERIFY2(std::abs(h.seconds - 2.0) <= 0.06, qPrintable(QString::number(h.seconds)));
        const double f = testaudio::dominantFrequency(tap.left, tap.rate, size_t(h.first * tap.rate) + 2205);
        QVERIFY2(std::abs(f - 1000) < 20, qPrintable(QString::number(f)));
        QCOMPARE(w.errors(), QStringList());
    }

    void pauseAndResumeLoseAndRepeatNothing()
    {
        RealWindow w;
        w.start();
        const QString file = makeFile(w.path("tone.wav"), "sine=frequency=1000:sample_rate=44100:duration=2");
        MonitorTap tap;
        tap.start();
        w.form->CurrentFileName = file;
        w.form->StartPlayback();
        QTest::qWait(800);
        w.form->PauseClick();
        QVERIFY(w.form->PlayPaused);
        QTest::qWait(500);
        w.form->StartPlayback();
        QVERIFY(w.form->Playing && !w.form->PlayPaused);
        QTRY_VERIFY_WITH_TIMEOUT(!w.form->Playing, 6000);
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
        tap.start();
        w.openFileAnswers << file;
        w.form->OpenClick();
        w.form->SliderB1->SetValue(500);
        w.form->StartPlayback();
        QTRY_VERIFY_WITH_TIMEOUT(!w.form->Playing, 5000);
        QTest::qWait(300);
        tap.stop();
        const auto h = tap.heard();
        QVERIFY2(std::abs(h.seconds - 1.0) <= 0.06, qPrintable(QString::number(h.seconds)));
        std::vector<float> sound(tap.left.begin() + long(h.first * tap.rate), tap.left.begin() + long(h.last * tap.rate));
        QVERIFY(testaudio::toneLevelDb(sound, tap.rate, 1500) > testaudio::toneLevelDb(sound, tap.rate, 500) + 30);
    }

    void knobSetsTheStreamVolume()
    {
        RealWindow w;
        w.start();
        const QString file = makeFile(w.path("long.wav"), "sine=frequency=440:sample_rate=44100:duration=6");
        w.form->CurrentFileName = file;
        w.form->StartPlayback();
        QVERIFY(w.form->Playing);
        emit w.form->PlayButtonB1->OnChangeVolume(w.form->PlayButtonB1, 50);
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
        w.form->StopClick();
    }

    void filesThatCannotPlay_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("panel0");
        QTest::newRow("missing") << "missing" << "Stop";
        QTest::newRow("random bytes") << "garbage" << "";
        QTest::newRow("zero bytes") << "zero" << "";
        QTest::newRow("no samples") << "nosamples" << "Stop";
    }
    void filesThatCannotPlay()
    {
        QFETCH(QString, kind);
        QFETCH(QString, panel0);
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
        w.form->CurrentFileName = file;
        w.form->MenuPlay->trigger();
        QVERIFY(!w.form->Playing);
        QCOMPARE(w.form->StatusText(0), panel0);
        QCOMPARE(w.errors(), QStringList());
    }
};

QTEST_MAIN(TestPlayEndToEnd)
#include "tst_play_e2e.moc"
