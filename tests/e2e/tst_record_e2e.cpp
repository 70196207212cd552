#include "real_window.h"

#include "ui/file_info_page.h"

#include <QProcess>
#include <QTabWidget>
#include <QToolButton>
#include <QTreeWidget>

#include <algorithm>
#include <cmath>

using namespace e2e;

class TestRecordEndToEnd : public QObject {
    Q_OBJECT

    static QStringList listed(const RealWindow &w)
    {
        QStringList out;
        QTreeWidget *list = w.find<QTreeWidget>("fileList");
        for (int i = 0; i < list->topLevelItemCount(); ++i)
            out << list->topLevelItem(i)->text(3) + list->topLevelItem(i)->text(0);
        return out;
    }

    static void checkTone(const Decoded &d, double hz)
    {
        const std::vector<float> left = d.left();
        QVERIFY(left.size() > size_t(d.rate / 2));
        const double f = testaudio::dominantFrequency(left, d.rate, size_t(d.rate / 4));
        QVERIFY2(std::abs(f - hz) <= hz * 0.02, qPrintable(QString::number(f)));
    }

private slots:
    void initTestCase()
    {
        QVERIFY2(!pactl({"info"}).isEmpty(), "no private sound server");
    }

    void eachFormatRecordsTheTone_data()
    {
        QTest::addColumn<QString>("extension");
        QTest::addColumn<QString>("codec");
        QTest::newRow("mp3") << ".mp3" << "mp3";
        QTest::newRow("wav") << ".wav" << "pcm_s16le";
        QTest::newRow("wma") << ".wma" << "wmav2";
    }
    void eachFormatRecordsTheTone()
    {
        QFETCH(QString, extension);
        QFETCH(QString, codec);
        SineSource sine(1000);
        RealWindow w;
        w.start();
        w.useFormat(extension);
        w.window->record();
        QVERIFY(w.recording().isActive());
        QVERIFY(w.waitDisplayed(3.0));
        w.window->stop();
        QVERIFY(!w.recording().isActive());
        const QString file = w.path("rec/Untitled1" + extension);
        QCOMPARE(listed(w), QStringList({file}));
        QCOMPARE(testaudio::probe(file, "codec_name"), codec);
        const Decoded d = decode(file);
        QVERIFY2(std::abs(d.seconds() - 3.0) <= 0.25, qPrintable(QString::number(d.seconds())));
        QCOMPARE(d.rate, 44100);
        QCOMPARE(d.channels, extension == ".wav" ? 2 : 2);
        checkTone(d, 1000);
        QCOMPARE(w.errors(), QStringList());
    }

    void timeLimitStopsTheRecording()
    {
        SineSource sine;
        RealWindow w;
        w.start();
        w.useFormat(".wav");
        w.changeSettings([&](RecordingSettings &s) { s.timeLimitSeconds = 2; });
        w.window->record();
        QTRY_VERIFY_WITH_TIMEOUT(!w.recording().isActive(), 6000);
        const Decoded d = decode(w.path("rec/Untitled1.wav"));
        QVERIFY2(d.seconds() >= 1.95 && d.seconds() <= 2.3, qPrintable(QString::number(d.seconds())));
        QCOMPARE(w.find<QTabWidget>("pages")->currentIndex(), 3);
    }

    void splitMakesOneFilePerPart_data()
    {
        QTest::addColumn<int>("limit");
        QTest::addColumn<int>("stopAfterMs");
        QTest::addColumn<QList<double>>("lengths");
        QTest::newRow("split 1 s, stopped after 2.5 s") << 0 << 2500 << QList<double>{1, 1, 0.5};
        QTest::newRow("split 1 s, limit 3 s") << 3 << 0 << QList<double>{1, 1, 1};
    }
    void splitMakesOneFilePerPart()
    {
        QFETCH(int, limit);
        QFETCH(int, stopAfterMs);
        QFETCH(QList<double>, lengths);
        SineSource sine;
        RealWindow w;
        w.start();
        w.useFormat(".wav");
        w.changeSettings([&](RecordingSettings &s) { s.splitEnabled = true; });
        w.changeSettings([&](RecordingSettings &s) { s.splitSeconds = 1; });
        w.changeSettings([&](RecordingSettings &s) { s.timeLimitSeconds = limit; });
        w.window->record();
        if (stopAfterMs > 0) {
            QVERIFY(w.waitDisplayed(stopAfterMs / 1000.0));
            w.window->stop();
        } else {
            QTRY_VERIFY_WITH_TIMEOUT(!w.recording().isActive(), 15000);
        }
        QVERIFY(!w.recording().isActive());
        QCOMPARE(listed(w).size(), lengths.size());
        double total = 0;
        for (int i = 0; i < lengths.size(); ++i) {
            const QString file = w.path(QStringLiteral("rec/Untitled%1.wav").arg(i + 1));
            QCOMPARE(listed(w).at(i), file);
            const Decoded d = decode(file);
            QVERIFY2(std::abs(d.seconds() - lengths[i]) <= 0.15,
                     qPrintable(QStringLiteral("part %1: %2 s").arg(i + 1).arg(d.seconds())));
            total += d.seconds();
        }
        QVERIFY(!QFileInfo::exists(w.path(QStringLiteral("rec/Untitled%1.wav").arg(lengths.size() + 1))));
        Q_UNUSED(total);
    }

    void pauseJoinsWithoutGapOrClick()
    {
        SineSource sine(1000);
        RealWindow w;
        w.start();
        w.useFormat(".wav");
        w.window->record();
        QVERIFY(w.waitDisplayed(1.0));
        w.window->pause();
        QVERIFY((w.recording().state() == RecordingSession::State::Paused));
        QTest::qWait(1000);
        w.window->record();
        QVERIFY(w.recording().isActive() && !(w.recording().state() == RecordingSession::State::Paused));
        QVERIFY(w.waitDisplayed(2.0));
        w.window->stop();

        const Decoded d = decode(w.path("rec/Untitled1.wav"));
        QVERIFY2(std::abs(d.seconds() - 2.0) <= 0.25, qPrintable(QString::number(d.seconds())));
        const std::vector<float> x = d.left();
        const size_t edge = size_t(d.rate / 50);   // the fades at the very start and end
        float amplitude = 0;
        for (size_t i = edge; i + edge < x.size(); ++i)
            amplitude = std::max(amplitude, std::abs(x[i]));
        QVERIFY(amplitude > 0.01f);
        // No click: a 1 kHz sine moves at most 2 sin(pi 1000/44100) = 0.14 of its amplitude
        // from one sample to the next; a raw join may jump by up to twice the amplitude.
        float step = 0;
        for (size_t i = edge + 1; i + edge < x.size(); ++i)
            step = std::max(step, std::abs(x[i] - x[i - 1]));
        QVERIFY2(step < 0.25f * amplitude, qPrintable(QStringLiteral("step %1 of %2").arg(step).arg(amplitude)));
        // No gap: every 10 ms stays within 6 dB of the tone's level.
        const size_t win = size_t(d.rate / 100);
        const double full = 20 * std::log10(amplitude / std::sqrt(2.0));
        for (size_t i = edge; i + win + edge < x.size(); i += win / 2) {
            const double level = testaudio::rmsDb(std::vector<float>(x.begin() + long(i), x.begin() + long(i + win)));
            QVERIFY2(level > full - 6, qPrintable(QStringLiteral("%1 dB at %2 s").arg(level).arg(double(i) / d.rate)));
        }
    }

    void lostInputFinishesAndListsTheFile()
    {
        SineSource sine;
        RealWindow w;
        w.start();
        w.useFormat(".wav");
        w.window->record();
        QVERIFY(w.waitDisplayed(1.2));
        sine.unload();
        QTRY_VERIFY_WITH_TIMEOUT(!w.recording().isActive(), 5000);
        const QString file = w.path("rec/Untitled1.wav");
        QCOMPARE(listed(w), QStringList({file}));
        QCOMPARE(w.errors().size(), 1);
        QVERIFY2(w.errors().first().startsWith("The recording was stopped: "), qPrintable(w.errors().first()));
        const Decoded d = decode(file);
        QVERIFY2(d.seconds() >= 1.0 && d.seconds() <= 1.6, qPrintable(QString::number(d.seconds())));
        QCOMPARE(w.window->statusText(0), QString("Stop"));
        QVERIFY(w.find<QToolButton>("openButton")->isEnabled());
    }

    void recordWithTheInputGoneLeavesNoFile_data()
    {
        QTest::addColumn<QString>("extension");
        QTest::newRow("wav") << ".wav";
        QTest::newRow("mp3") << ".mp3";
    }
    void recordWithTheInputGoneLeavesNoFile()
    {
        QFETCH(QString, extension);
        RealWindow w;
        {
            SineSource sine;
            w.start();
            w.useFormat(extension);
        }   // the input the recorder was set to is gone
        w.action("recordAction")->trigger();
        QVERIFY(!w.recording().isActive());
        QCOMPARE(w.errors().size(), 1);
        QVERIFY2(w.errors().first().contains("not available") || w.errors().first().contains("Cannot record"),
                 qPrintable(w.errors().first()));
        QCOMPARE(listed(w), QStringList());
        QVERIFY(!QFileInfo::exists(w.path("rec/Untitled1" + extension)));
        QCOMPARE(w.window->statusText(0), QString("Stop"));
    }

    void killedRecorderLeavesAPlayableWav()
    {
        SineSource sine;
        QTemporaryDir dir;
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        child.setProcessEnvironment(env);
        child.start(RECORD_CHILD, {dir.path()});
        QVERIFY(child.waitForStarted());
        QVERIFY(child.waitForReadyRead(10000));
        const QString file = QString::fromLocal8Bit(child.readLine()).trimmed();
        QVERIFY2(file.endsWith(".wav"), qPrintable(file + child.readAllStandardError()));
        QTest::qWait(3000);
        child.kill();   // SIGKILL: nothing gets to finish the file
        QVERIFY(child.waitForFinished());
        const Decoded d = decode(file);
        QVERIFY2(d.seconds() >= 2.0, qPrintable(QString::number(d.seconds())));
        const double probed = testaudio::probe(file, "duration").toDouble();
        QVERIFY2(probed >= 2.0, qPrintable(QString::number(probed)));
        checkTone(d, 1000);
    }
};

QTEST_MAIN(TestRecordEndToEnd)
#include "tst_record_e2e.moc"
