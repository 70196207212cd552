// The mixer tabs on the real engine and the private sound server: what the strips do is
// seen by pactl, and opening the tabs changes nothing on the server.
#include "ui/main_window.h"
#include "ui/ui_services.h"
#include "real_window.h"
#include "common/test_audio.h"
#include "mixer_test_util.h"

#include <QCheckBox>
#include <QComboBox>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QProcess>
#include <QSlider>
#include <QTemporaryDir>
#include <QtTest>

using mixertest::balanceBar;
using mixertest::deviceList;
using mixertest::nameLabel;
using mixertest::strips;
using mixertest::switchBox;
using mixertest::volumeBar;

namespace {

QJsonArray pactlJson(const QStringList &args)
{
    const QString out = testaudio::run(QStringLiteral("pactl"), QStringList{QStringLiteral("-f"), QStringLiteral("json")} + args);
    return QJsonDocument::fromJson(out.toUtf8()).array();
}

int pactl(const QStringList &args, QString *output = nullptr)
{
    int code = -1;
    const QString out = testaudio::run(QStringLiteral("pactl"), args, &code);
    if (output)
        *output = out;
    return code;
}

QJsonObject findBy(const QJsonArray &list, const QString &key, const QString &value)
{
    for (const QJsonValue &v : list)
        if (v.toObject().value(key).toString() == value)
            return v.toObject();
    return {};
}

QJsonObject sinkDescribed(const QString &description)
{
    return findBy(pactlJson({"list", "sinks"}), "description", description);
}

QJsonObject sourceDescribed(const QString &description)
{
    return findBy(pactlJson({"list", "sources"}), "description", description);
}

QJsonObject streamOf(const QString &application)
{
    for (const QJsonValue &v : pactlJson({"list", "sink-inputs"})) {
        const QJsonObject o = v.toObject();
        if (o.value("properties").toObject().value("application.name").toString() == application)
            return o;
    }
    return {};
}

// Per-channel raw volumes (PA_VOLUME_NORM = 65536 is 100 %).
QList<qint64> volumes(const QJsonObject &o)
{
    QList<qint64> out;
    const QJsonObject v = o.value("volume").toObject();
    for (const QString &channel : {QStringLiteral("front-left"), QStringLiteral("front-right"), QStringLiteral("mono")})
        if (v.contains(channel))
            out << v.value(channel).toObject().value("value").toInteger();
    return out;
}

// Everything of the server's mixer that a careless panel could change.
QStringList mixerState()
{
    QStringList out;
    for (const char *kind : {"sinks", "sources", "sink-inputs"})
        for (const QJsonValue &v : pactlJson({"list", kind})) {
            const QJsonObject o = v.toObject();
            QStringList values;
            for (qint64 x : volumes(o))
                values << QString::number(x);
            out << QStringLiteral("%1 %2%3: %4 mute=%5 port=%6")
                       .arg(kind, o.value("name").toString(), QString::number(o.value("index").toInt()),
                            values.join(','), o.value("mute").toBool() ? "yes" : "no",
                            o.value("active_port").toString());
        }
    return out;
}


// Another application playing into the default sink (silence, for ten seconds at most).
class OtherApplication {
public:
    explicit OtherApplication(const QString &name)
    {
        m_pacat.start("pacat", {"--playback", "--raw", "--format=s16le", "--rate=44100", "--channels=2",
                                "--client-name=" + name});
        if (m_pacat.waitForStarted(5000))
            m_pacat.write(QByteArray(44100 * 4 * 10, '\0'));
    }
    ~OtherApplication()
    {
        m_pacat.kill();
        m_pacat.waitForFinished(5000);
    }

private:
    QProcess m_pacat;
};

using e2e::RealWindow;

bool near(qint64 actual, qint64 expected, qint64 slack = 2)
{
    return qAbs(actual - expected) <= slack;
}

}  // namespace

class TestMixerSound : public QObject {
    Q_OBJECT

    QString m_sink;     // the default sink's name and its monitor's
    QString m_monitor;

    void resetServer()
    {
        pactl({"set-sink-volume", m_sink, "100%"});
        pactl({"set-sink-mute", m_sink, "0"});
        pactl({"set-source-volume", m_monitor, "100%"});
        pactl({"set-source-mute", m_monitor, "0"});
    }

private slots:
    void initTestCase()
    {
        QString info;
        QCOMPARE(pactl({"get-default-sink"}, &info), 0);
        m_sink = info.trimmed();
        m_monitor = m_sink + ".monitor";
        QVERIFY(!m_sink.isEmpty());
    }

    void init() { resetServer(); }
    void cleanup() { resetServer(); }

    void stripMovesReachTheServer()
    {
        RealWindow w;
        w.start();
        MainWindow &f = *w.window;
        const QString sinkDescription = deviceList(f, false)->currentText();
        const QString sourceDescription = deviceList(f, true)->currentText();
        QCOMPARE(sinkDescribed(sinkDescription).value("name").toString(), m_sink);
        QCOMPARE(sourceDescribed(sourceDescription).value("name").toString(), m_monitor);

        // Playback line 0 is the sink itself.
        MixerStrip *master = strips(f, false).value(0);
        QVERIFY(master);
        QCOMPARE(nameLabel(master)->text(), QString("Master"));
        QCOMPARE(volumeBar(master)->value(), 0);   // 100 %: the thumb at the top

        volumeBar(master)->setValue(65535 - 32768);
        QList<qint64> v = volumes(sinkDescribed(sinkDescription));
        QCOMPARE(v.size(), 2);
        QVERIFY2(near(v[0], 32768) && near(v[1], 32768), qPrintable(QString("%1 %2").arg(v[0]).arg(v[1])));

        balanceBar(master)->setValue(0);   // all to the left
        v = volumes(sinkDescribed(sinkDescription));
        QVERIFY2(near(v[0], 32768) && v[1] < 1000, qPrintable(QString("%1 %2").arg(v[0]).arg(v[1])));
        balanceBar(master)->setValue(50);
        v = volumes(sinkDescribed(sinkDescription));
        QVERIFY(near(v[0], v[1]));

        switchBox(master)->click();
        QCOMPARE(sinkDescribed(sinkDescription).value("mute").toBool(), true);
        switchBox(master)->click();
        QCOMPARE(sinkDescribed(sinkDescription).value("mute").toBool(), false);

        // The recording side's line is the source's volume.
        MixerStrip *capture = strips(f, true).value(0);
        QVERIFY(capture);
        volumeBar(capture)->setValue(65535 - 16384);
        v = volumes(sourceDescribed(sourceDescription));
        QVERIFY2(!v.isEmpty() && near(v[0], 16384), qPrintable(QString::number(v.value(0))));
        QCOMPARE(w.errors(), QStringList());
    }

    void openingTheTabsChangesNothing()
    {
        // Values no panel would write by accident.
        pactl({"set-sink-volume", m_sink, "30%", "45%"});
        pactl({"set-sink-mute", m_sink, "1"});
        pactl({"set-source-volume", m_monitor, "63%"});
        const QStringList before = mixerState();

        {
            RealWindow w;
            w.start();
            for (int tab : {1, 2, 1}) {
                w.window->showTab(tab);
                QTest::qWait(100);
            }
            QVERIFY(!strips(*w.window, false).isEmpty());
            QVERIFY(!strips(*w.window, true).isEmpty());
            QCOMPARE(w.errors(), QStringList());
        }
        QCOMPARE(mixerState(), before);
    }

    void bothOutputsListed()
    {
        testaudio::NullSink extra("tavrin_mixer_extra", "Mixer Test Output");
        QVERIFY(extra.loaded());
        RealWindow w;
        w.start();
        MainWindow &f = *w.window;
        QComboBox *outputList = deviceList(f, false);
        QComboBox *inputList = deviceList(f, true);

        QStringList outputs;
        for (int i = 0; i < outputList->count(); ++i)
            outputs << outputList->itemText(i);
        QVERIFY2(outputs.contains("Null Output") && outputs.contains("Mixer Test Output"), qPrintable(outputs.join(", ")));
        QStringList inputs;
        for (int i = 0; i < inputList->count(); ++i)
            inputs << inputList->itemText(i);
        QVERIFY2(inputs.contains("Monitor of Mixer Test Output"), qPrintable(inputs.join(", ")));

        // Choosing the new output puts its own Master on the strips.
        const QList<qint64> untouched = volumes(sinkDescribed("Null Output"));
        f.showTab(2);
        outputList->setFocus();
        const int row = outputs.indexOf("Mixer Test Output");
        while (outputList->currentIndex() != row)
            QTest::keyClick(outputList, row > outputList->currentIndex() ? Qt::Key_Down : Qt::Key_Up);
        MixerStrip *master = strips(f, false).value(0);
        QVERIFY(master);
        volumeBar(master)->setValue(65535 - 20000);
        const QList<qint64> v = volumes(sinkDescribed("Mixer Test Output"));
        QVERIFY2(!v.isEmpty() && near(v[0], 20000), qPrintable(QString::number(v.value(0))));
        QCOMPARE(volumes(sinkDescribed("Null Output")), untouched);

        // Every item's attached index names that device in the engine.
        engine::IAudioPlayer2 &player = f.playback().player();
        for (int i = 0; i < outputList->count(); ++i) {
            player.SetDevice(short(outputList->itemData(i).toInt()));
            QCOMPARE(player.GetDeviceName(), outputList->itemText(i));
        }
        QCOMPARE(w.errors(), QStringList());
    }

    void otherApplicationHasItsStrip()
    {
        OtherApplication player("Mixer Test Tone");
        QTRY_VERIFY_WITH_TIMEOUT(!streamOf("Mixer Test Tone").isEmpty(), 10000);
        RealWindow w;
        w.start();

        MixerStrip *line = nullptr;
        const QList<MixerStrip *> list = strips(*w.window, false);
        for (int i = 2; i < list.size(); ++i)
            if (nameLabel(list[i])->toolTip() == QLatin1String("Mixer Test Tone"))
                line = list[i];
        QVERIFY2(line, "no strip for the other application");
        QCOMPARE(nameLabel(list[1])->toolTip(), QString("Tavrin Sound Recorder"));

        volumeBar(line)->setValue(65535 - 20000);
        const QList<qint64> v = volumes(streamOf("Mixer Test Tone"));
        QVERIFY2(!v.isEmpty() && near(v[0], 20000), qPrintable(QString::number(v.value(0))));
        switchBox(line)->click();
        QCOMPARE(streamOf("Mixer Test Tone").value("mute").toBool(), true);
        QCOMPARE(w.errors(), QStringList());
    }
};

QTEST_MAIN(TestMixerSound)
#include "tst_mixer_sound.moc"
