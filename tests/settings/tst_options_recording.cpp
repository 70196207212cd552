// The Options dialog with the real engine: what is chosen in it is what the next recording
// is (checked with ffprobe), a cancelled dialog leaves the format as it was, and every WMA
// entry's label names the profile that choosing it writes.
#include "session/recording_settings.h"
#include "ui/main_window.h"
#include "ui/ui_services.h"
#include "real_window.h"
#include "common/test_audio.h"
#include "options_driver.h"

#include <QAction>
#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {

// A main window on the real engine whose Options dialog the test drives.
struct RealWindow : e2e::RealWindow {
    RealWindow() { start(); }
    bool options(const std::function<void(OptionsDialog *)> &act)
    {
        return whileOpen([this] { window->findChild<QAction *>("optionsAction")->trigger(); }, act);
    }
    void trigger(const char *actionName) { window->findChild<QAction *>(actionName)->trigger(); }
};

// What a file turned out to be, in ffprobe's words.
struct Probed {
    QString codec;
    int rate = 0;
    int channels = 0;
    int bitRate = 0;

    static Probed of(const QString &path)
    {
        // One ffprobe run for the four values (test_audio's probe() asks for one at a time).
        const QStringList lines =
            testaudio::run("ffprobe", {"-v", "error", "-select_streams", "a:0", "-show_entries",
                                       "stream=codec_name,sample_rate,channels,bit_rate", "-of", "default=nw=1", path})
                .split('\n', Qt::SkipEmptyParts);
        QMap<QString, QString> v;
        for (const QString &line : lines)
            v.insert(line.section('=', 0, 0), line.section('=', 1).trimmed());
        return {v.value("codec_name"), v.value("sample_rate").toInt(), v.value("channels").toInt(),
                v.value("bit_rate").toInt()};
    }
    QString text() const { return QString("%1 %2 Hz %3 ch %4 bit/s").arg(codec).arg(rate).arg(channels).arg(bitRate); }
};

// "48 kbps, 22050 Hz, Mono" as ffprobe would report a file in that profile.
Probed wmaLabelled(const QString &label)
{
    const QRegularExpressionMatch m =
        QRegularExpression(QStringLiteral("^(\\d+) kbps, (\\d+) Hz, (Mono|Stereo)$")).match(label);
    if (!m.hasMatch())
        return {};
    return {"wmav2", m.captured(2).toInt(), m.captured(3) == "Mono" ? 1 : 2, m.captured(1).toInt() * 1000};
}

}  // namespace

class TestOptionsRecording : public QObject {
    Q_OBJECT

    // Records about a second from the null sink's monitor; *path gets the file made.
    static void recordASecond(RealWindow &w, QString *path)
    {
        w.trigger("recordAction");
        QVERIFY2(w.window->recording().isActive(), qPrintable(w.errors().join(" | ")));
        QVERIFY(w.waitDisplayed(1.0, 15000));
        w.trigger("stopAction");
        QVERIFY(!w.window->recording().isActive());
        *path = w.window->recording().partPath();
        QVERIFY(QFileInfo(*path).size() > 0);
    }

private slots:
    void recordingsFollowTheDialog_data()
    {
        QTest::addColumn<QString>("format");     // radio chosen and OK'd
        QTest::addColumn<QString>("entry");      // list entry chosen with it
        QTest::addColumn<QString>("other");      // radio chosen before Cancel
        QTest::addColumn<QString>("extension");
        QTest::newRow("MP3") << "MP3" << "22050 Hz, 64 kbps" << "WAV" << ".mp3";
        QTest::newRow("WAV") << "WAV" << "11025 Hz - 8 bit,Mono" << "WMA" << ".wav";
        QTest::newRow("WMA") << "WMA" << "22050 Hz, Mono" << "MP3" << ".wma";
    }
    void recordingsFollowTheDialog()
    {
        QFETCH(QString, format);
        QFETCH(QString, entry);
        QFETCH(QString, other);
        QFETCH(QString, extension);
        RealWindow w;
        const auto radio = [](OptionsDialog *d, const QString &name) {
            return OptionsControls(d).formatButton(name);
        };
        const auto list = [](OptionsDialog *d, const QString &name) {
            return OptionsControls(d).formatList(name);
        };

        QString label;
        QVERIFY(w.options([&](OptionsDialog *d) {
            radio(d, format)->click();
            QComboBox *c = list(d, format);
            // For WMA, the first profile at that rate and channel count, whatever its bit rate.
            const int at = format == "WMA" ? c->findText(entry, Qt::MatchEndsWith) : c->findText(entry);
            QVERIFY2(at >= 0, qPrintable(entry));
            c->setCurrentIndex(at);
            label = c->currentText();
            OptionsControls(d).okButton->click();
        }));
        QCOMPARE(w.errors(), QStringList());
        QCOMPARE(w.window->recording().settings().saveFormat, extension);

        Probed expected;
        if (format == "MP3")
            expected = {"mp3", 22050, 2, 64000};
        else if (format == "WAV")
            expected = {"pcm_u8", 11025, 1, 11025 * 8};
        else
            expected = wmaLabelled(label);
        QVERIFY2(!expected.codec.isEmpty(), qPrintable(label));

        QString first;
        recordASecond(w, &first);
        if (QTest::currentTestFailed())
            return;
        QVERIFY(first.endsWith("Untitled1" + extension));
        QCOMPARE(Probed::of(first).text(), expected.text());

        // Another format picked, then Cancel: the next recording is still what OK chose.
        QVERIFY(w.options([&](OptionsDialog *d) {
            radio(d, other)->click();
            list(d, other)->setCurrentIndex(0);
            OptionsControls(d).cancelButton->click();
        }));
        QString second;
        recordASecond(w, &second);
        if (QTest::currentTestFailed())
            return;
        QVERIFY(second.endsWith("Untitled2" + extension));
        QCOMPARE(Probed::of(second).text(), expected.text());
        QCOMPARE(w.errors(), QStringList());
    }

    void everyWmaEntryWritesTheProfileItNames()
    {
        RealWindow w;
        QStringList labels;
        QVERIFY(w.options([&](OptionsDialog *d) {
            const OptionsControls c(d);
            for (int i = 0; i < c.wmaList->count(); ++i)
                labels << c.wmaList->itemText(i);
        }));
        QVERIFY(labels.size() > 38);
        QCOMPARE(labels.value(38), QString("128 kbps, 44100 Hz, Stereo"));   // the default position

        const std::vector<float> tone = testaudio::tone(440, 0.3, 44100, 2);
        for (int k = 0; k < labels.size(); ++k) {
            QVERIFY(w.options([&](OptionsDialog *d) {
                const OptionsControls c(d);
                c.wmaButton->click();
                c.wmaList->setCurrentIndex(k);
                c.okButton->click();
            }));
            const RecordingSettings &settings = w.window->recording().settings();
            QCOMPARE(settings.wmaProfile, k);
            // Written the way a recording is: by a file component given the settings in force,
            // into a ".wma" file.
            auto writer = w.factory->createFile(QStringLiteral("writer"));
            auto encoder = w.factory->createLameEncoder(QStringLiteral("mp3Encoder"));
            applyOutputFormat(settings, *writer, *encoder);
            const QString path = w.dir.filePath(QString("profile%1.wma").arg(k));
            writer->Create(path, 0);
            writer->WriteArray(engine::SampleArray::fromFloat(tone, 44100, 2));
            writer->Close();
            QCOMPARE(Probed::of(path).text(), wmaLabelled(labels[k]).text());
        }
        QCOMPARE(w.errors(), QStringList());
    }
};

QTEST_MAIN(TestOptionsRecording)
#include "tst_options_recording.moc"
