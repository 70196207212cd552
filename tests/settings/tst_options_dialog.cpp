// The Options dialog on the recording fake engine: what it shows, what OK takes over, applies
// and writes, and what Cancel leaves behind.
#include "app/window_fixture.h"
#include "options_driver.h"
#include "session/ini_file.h"
#include "session/recorded_files.h"
#include "session/recording_session.h"
#include "ui/options_dialog.h"
#include "session/session_fixture.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QSpinBox>
#include <QRadioButton>
#include <QTimer>
#include <QToolButton>

#include <functional>

namespace {

// Opens the dialog with the menu command and runs `act` on it while it is modal.
// The recorder hands formats to its writer thread: the log is read only once the writer is idle.
bool withOptions(WindowFixture &w, const std::function<void(OptionsDialog *)> &act)
{
    w.recording().flush();
    const bool shown = whileOpen([&] { w.trigger("optionsAction"); }, act);
    w.recording().flush();
    return shown;
}

// Forgets the calls so far, once the writer thread has applied what it was handed.
void clearLogWhenIdle(WindowFixture &w)
{
    w.recording().flush();
    w.engine.log.clear();
}

void writeFile(const QString &path, const QByteArray &text)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(text);
}

QStringList fileLines(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

struct Shown {
    QString format;                 // the selected radio's text
    QString hours, minutes, seconds;
    bool limit = false;             // "Stop recording after " selected
    bool timeFieldsEnabled = false;
    bool split = false;
    bool splitFieldsEnabled = false;
    QString splitMinutes, splitSeconds;
    int mp3 = -2, wav = -2, wma = -2;
};

Shown shown(OptionsDialog *d)
{
    const OptionsControls c(d);
    Shown s;
    s.format = "";
    for (QRadioButton *b : {c.mp3Button, c.wavButton, c.wmaButton, c.flacButton, c.oggButton, c.opusButton})
        if (b->isChecked())
            s.format = b->text();
    s.hours = c.hours->text();
    s.minutes = c.minutes->text();
    s.seconds = c.seconds->text();
    s.limit = c.stopAfterButton->isChecked();
    s.timeFieldsEnabled = c.hours->isEnabled() && c.minutes->isEnabled() && c.seconds->isEnabled();
    s.split = c.splitBox->isChecked();
    s.splitFieldsEnabled = c.splitMinutes->isEnabled() && c.splitSeconds->isEnabled();
    s.splitMinutes = c.splitMinutes->text();
    s.splitSeconds = c.splitSeconds->text();
    s.mp3 = c.mp3List->currentIndex();
    s.wav = c.wavList->currentIndex();
    s.wma = c.wmaList->currentIndex();
    return s;
}

// Types into a field as the user does: the old text selected and replaced.
void type(QWidget *field, const QString &text)
{
    if (auto *spin = qobject_cast<QAbstractSpinBox *>(field))
        spin->selectAll();
    else if (auto *edit = qobject_cast<QLineEdit *>(field))
        edit->selectAll();
    QTest::keyClick(field, Qt::Key_Backspace);
    QTest::keyClicks(field, text);
}

UpDownField *fieldNamed(OptionsDialog *d, const QString &name)
{
    return d->findChild<UpDownField *>(name);
}

// The eleven keys as OK writes them into a new file.
QStringList elevenKeys(const QString &savePath, const QString &format, int timeLimit, int bitrate, int mp3Freq,
                       int mp3Ind, int wavFreq, int channels, int bits, int wavInd, int wmaProfile)
{
    return {"[options]", "savepath=" + savePath, "saveformat=" + format, QString("timelimit=%1").arg(timeLimit),
            "[mp3]", QString("bitrate=%1").arg(bitrate), QString("freq=%1").arg(mp3Freq), QString("ind=%1").arg(mp3Ind),
            "[wav]", QString("freq=%1").arg(wavFreq), QString("ch=%1").arg(channels), QString("bps=%1").arg(bits),
            QString("ind=%1").arg(wavInd), "[wma]", QString("profile=%1").arg(wmaProfile)};
}

// The lines of the FLAC, Ogg Vorbis and Opus sections OK writes with the settings as they start.
const QStringList kNewFormatKeys{"[flac]", "freq=44100", "bps=16", "ch=2", "level=5", "[ogg]", "quality=5",
                                 "[opus]", "bitrate=96", "ch=2"};
// The lines of the start-on-sound section, as they start.
const QStringList kTriggerKeys{"[trigger]", "on=0", "level=-30", "silence=3", "newfile=0"};

// The keys OK writes: the eleven above, whether a lost input device is waited for, and the
// settings of FLAC, Ogg Vorbis and Opus.
QStringList allKeys(const QString &savePath, const QString &format, int timeLimit, int bitrate, int mp3Freq,
                    int mp3Ind, int wavFreq, int channels, int bits, int wavInd, int wmaProfile, int resume = 1)
{
    QStringList keys = elevenKeys(savePath, format, timeLimit, bitrate, mp3Freq, mp3Ind, wavFreq, channels, bits,
                                  wavInd, wmaProfile);
    keys.insert(4, QString("resume=%1").arg(resume));
    keys.insert(5, "prerecord=0");
    return keys + kNewFormatKeys + kTriggerKeys;
}

// A fake engine whose Options dialog component describes every WMA profile with one text.
class DescribedFile : public fake::FakeFile {
public:
    DescribedFile(fake::FakeEngine *engine, const QString &name, QString text)
        : FakeFile(engine, name), m_text(std::move(text)) {}
    QString GetFormatDescription() override
    {
        FakeFile::GetFormatDescription();
        return m_text;
    }

private:
    QString m_text;
};

class DescribingEngine : public fake::FakeEngine {
public:
    QString description;
    std::unique_ptr<engine::IAudioFile2> createFile(const QString &name) override
    {
        if (name == QLatin1String("profileLabels"))
            return std::make_unique<DescribedFile>(this, name, description);
        return FakeEngine::createFile(name);
    }
};

}  // namespace

class TestOptionsDialog : public QObject {
    Q_OBJECT

private slots:
    void looksFinishedAtItsFixedSize_data()
    {
        QTest::addColumn<int>("points");
        QTest::newRow("desktop font") << 0;
        QTest::newRow("11-point font") << 11;
    }
    void looksFinishedAtItsFixedSize()
    {
        QFETCH(int, points);
        const QFont desktopFont = QApplication::font();
        const auto restoreFont = qScopeGuard([&] { QApplication::setFont(desktopFont); });
        if (points > 0)
            QApplication::setFont(QFont(desktopFont.family(), points));
        WindowFixture w;
        w.start();
        QVERIFY(withOptions(w, [&](OptionsDialog *d) {
            const OptionsControls c(d);
            if (const QByteArray shot = qgetenv("TAVRIN_OPTIONS_SHOT"); !shot.isEmpty() && points == 0)
                d->grab().save(QString::fromLocal8Bit(shot));
            QCOMPARE(d->windowTitle(), QString("Options"));
            // 622 x 528 at the desktop's 9-point font; larger fonts get the nearest size that fits.
            if (points == 0)
                QCOMPARE(d->size(), QSize(622, 528));
            else
                QVERIFY(d->width() >= 622 && d->height() > 528);
            QCOMPARE(d->minimumSize(), d->maximumSize());
            QVERIFY(d->isModal());
            const Qt::WindowFlags flags = d->windowFlags();
            QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
            QVERIFY(!flags.testFlag(Qt::WindowMinimizeButtonHint) && !flags.testFlag(Qt::WindowMaximizeButtonHint));
            QVERIFY(!flags.testFlag(Qt::WindowContextHelpButtonHint));
            QVERIFY((d->frameGeometry().center() - w.window->frameGeometry().center()).manhattanLength() <= 2);
            QCOMPARE(c.chooseFolderButton->toolTip(), QString("select save directory"));
            QVERIFY(c.chooseFolderButton->autoRaise() && !c.chooseFolderButton->icon().isNull());
            QCOMPARE(c.savePathGroup->title() + "|" + c.formatGroup->title() + "|" + c.timeLimitGroup->title() + "|"
                         + c.splitGroup->title(),
                     QString("Save Path|Record Format|Time Limit|Auto Split"));
            QCOMPARE(c.stopAfterButton->text(), QString("Stop recording after "));
            // Everything fits: the layout needs no more than the fixed size, and every
            // control gets at least the room it asks for.
            const QSize needed = d->layout()->minimumSize();
            QVERIFY2(needed.width() <= d->width() && needed.height() <= d->height(),
                     qPrintable(QString("layout needs %1x%2").arg(needed.width()).arg(needed.height())));
            QStringList units;
            for (QWidget *child : d->findChildren<QWidget *>()) {
                if (!child->isVisible() || qobject_cast<QLineEdit *>(child))
                    continue;
                const QRect inDialog(child->mapTo(d, QPoint(0, 0)), child->size());
                QVERIFY2(d->rect().contains(inDialog), qPrintable(child->metaObject()->className()));
                if (qobject_cast<QAbstractButton *>(child) || qobject_cast<QLabel *>(child) || qobject_cast<QComboBox *>(child))
                    QVERIFY2(child->width() >= child->minimumSizeHint().width(),
                             qPrintable(QString("%1 \"%2\" clipped").arg(child->metaObject()->className(),
                                                                       child->property("text").toString())));
                // The labels that name a field; the others (the global shortcuts') stand alone.
                if (auto *label = qobject_cast<QLabel *>(child); label && label->buddy())
                    units << label->buddy()->objectName() + "=" + label->text();
            }
            units.sort();
            QCOMPARE(units, QStringList({"flacLevel=Compression level", "hours=hours", "minutes=minutes",
                                         "prerecordSeconds=seconds before Record", "seconds=seconds",
                                         "splitMinutes=minutes", "splitSeconds=seconds",
                                         "triggerLevel=Sound is louder than", "triggerSilence=Pause after a quiet of"}));
        }));
    }

    void keyboardOrder()
    {
        WindowFixture w;
        w.start();
        QVERIFY(withOptions(w, [&](OptionsDialog *d) {
            const OptionsControls c(d);
            // Top to bottom, the left column then the right, OK and Cancel last.
            const QList<QWidget *> expected{c.savePath, c.chooseFolderButton, c.mp3Button, c.mp3List, c.wavButton, c.wavList,
                                            c.wmaButton, c.wmaList, c.noLimitButton, c.stopAfterButton, c.hours,
                                            c.minutes, c.seconds, c.splitBox, c.splitMinutes, c.splitSeconds,
                                            c.okButton, c.cancelButton};
            QList<QWidget *> chain;
            QWidget *at = c.savePath;
            do {
                if (expected.contains(at))
                    chain << at;
                at = at->nextInFocusChain();
            } while (at != c.savePath && chain.size() < expected.size());
            QCOMPARE(chain, expected);
        }));
    }

    void withoutSetupIni_data()
    {
        QTest::addColumn<int>("profiles");
        QTest::addColumn<int>("wmaPosition");
        QTest::newRow("40 profiles") << 40 << 38;
        QTest::newRow("39 profiles") << 39 << 38;
        QTest::newRow("38 profiles") << 38 << -1;
        QTest::newRow("no WMA encoder") << 0 << -1;
    }
    void withoutSetupIni()
    {
        QFETCH(int, profiles);
        QFETCH(int, wmaPosition);
        WindowFixture w;
        w.engine.wmaProfileCount = profiles;
        w.start();
        QVERIFY(withOptions(w, [&](OptionsDialog *d) {
            const OptionsControls c(d);
            const Shown s = shown(d);
            QCOMPARE(s.format, QString("MP3"));
            QCOMPARE(c.mp3List->currentText(), QString("44100 Hz, 128 kbps"));
            QCOMPARE(c.wavList->currentText(), QString("44100 Hz - 16 bit,Stereo"));
            QVERIFY(c.mp3List->isEnabled() && !c.wavList->isEnabled() && !c.wmaList->isEnabled());
            QCOMPARE(c.mp3List->count(), 10);
            QCOMPARE(c.wavList->count(), 16);
            QCOMPARE(c.wmaList->count(), profiles);
            QCOMPARE(s.wma, wmaPosition);
            QCOMPARE(c.savePath->text(), w.programDir() + "Recording/");
            QVERIFY(c.noLimitButton->isChecked() && !s.limit && !s.timeFieldsEnabled);
            QCOMPARE(s.hours + s.minutes + s.seconds, QString("000"));
            QVERIFY(!s.split && !s.splitFieldsEnabled);
            QCOMPARE(s.splitMinutes + s.splitSeconds, QString("00"));
            c.okButton->click();
            QVERIFY(!d->isVisible());
        }));
        QCOMPARE(w.errors(), QStringList());
        QCOMPARE(fileLines(w.path("setup.ini")),
                 allKeys(w.programDir() + "Recording/", ".mp3", -1, 128, 44100, 5, 44100, 2, 16, 15, 38));
        QCOMPARE(w.recording().settings().timeLimitSeconds, -1);
    }

    void theWmaListNamesTheEnginesProfiles()
    {
        WindowFixture w;
        w.engine.wmaProfileCount = 3;
        w.start();
        w.engine.log.clear();
        QStringList labels;
        QVERIFY(withOptions(w, [&](OptionsDialog *d) {
            const OptionsControls c(d);
            for (int i = 0; i < c.wmaList->count(); ++i)
                labels << c.wmaList->itemText(i);
        }));
        // Entry k is labelled with the description of engine profile number k + 1.
        QCOMPARE(labels, QStringList({"profile 0", "profile 1", "profile 2"}));
        // Every profile was described by its number.
        for (int number = 1; number <= 3; ++number)
            QCOMPARE(w.engine.log.count(QString("profileLabels.SetWmaProfile(%1)").arg(number)), 1);
        // Showing gives the writer no format but the one in force.
        QStringList formats = w.engine.log.matching(QStringList{"writer.SetMp3Format", "writer.SetWavFormat",
                                                                "writer.SetWmaProfile"});
        formats.removeAll("writer.SetMp3Format(44100,128,2)");
        QCOMPARE(formats, QStringList());
    }

    void wavChoiceRewritesEveryKey()
    {
        WindowFixture w;
        writeFile(w.path("setup.ini"), "[options]\nsavepath=/old/\nsaveformat=.mp3\n[mp3]\nbitrate=192\nfreq=44100\n"
                                       "ind=7\n[wma]\nprofile=12\n");
        w.start();
        w.engine.log.clear();
        QVERIFY(withOptions(w, [&](OptionsDialog *d) {
            const OptionsControls c(d);
            QCOMPARE(c.mp3List->currentIndex(), 7);
            QCOMPARE(c.wmaList->currentIndex(), 12);
            c.wavButton->click();
            QVERIFY(!c.mp3List->isEnabled() && c.wavList->isEnabled() && !c.wmaList->isEnabled());
            c.wavList->setCurrentIndex(c.wavList->findText("22050 Hz - 8 bit,Stereo"));
            clearLogWhenIdle(w);
            c.okButton->click();
        }));
        // Keys already in the file are rewritten in place, the others added to their sections.
        QCOMPARE(fileLines(w.path("setup.ini")),
                 QStringList({"[options]", "savepath=/old/", "saveformat=.wav", "timelimit=-1", "resume=1", "prerecord=0", "[mp3]",
                              "bitrate=192", "freq=44100", "ind=7", "[wma]", "profile=12", "[wav]", "freq=22050", "ch=2",
                              "bps=8", "ind=10"}) + kNewFormatKeys + kTriggerKeys);
        const RecordingSettings &s = w.recording().settings();
        QCOMPARE(QString("%1 %2 %3 %4").arg(s.saveFormat).arg(s.wavFrequency).arg(s.wavChannels).arg(s.wavBitsPerSample),
                 QString(".wav 22050 2 8"));
        // The components that write and measure recordings get the WAV format, and nothing else.
        const QStringList calls = w.engine.log.matching(QStringList{"writer.Set", "recordingReader.Set"});
        QCOMPARE(QSet<QString>(calls.begin(), calls.end()),
                 QSet<QString>({"recordingReader.SetActive(true)", "writer.SetActive(true)",
                                "writer.SetWavFormat(22050,2,8)", "recordingReader.SetWavFormat(22050,2,8)",
                                "writer.SetMp3Encoder(encoder)", "recordingReader.SetMp3Encoder(encoder)"}));
    }

    void timeLimit_data()
    {
        QTest::addColumn<QStringList>("typed");        // hours, minutes, seconds
        QTest::addColumn<int>("seconds");
        QTest::addColumn<bool>("limitShown");
        QTest::addColumn<QStringList>("reopened");
        QTest::newRow("1:30:15") << QStringList{"1", "30", "15"} << 5415 << true << QStringList{"1", "30", "15"};
        QTest::newRow("90 minutes") << QStringList{"0", "90", "0"} << 5400 << true << QStringList{"1", "30", "0"};
        QTest::newRow("beyond the spin range") << QStringList{"0", "0", "3725"} << 3725 << true << QStringList{"1", "2", "5"};
        QTest::newRow("hexadecimal") << QStringList{"$2", " 0", "0"} << 7200 << true << QStringList{"2", "0", "0"};
        QTest::newRow("all zero") << QStringList{"0", "0", "0"} << 0 << false << QStringList{"0", "0", "0"};
        QTest::newRow("negative") << QStringList{"0", "-1", "30"} << -30 << false << QStringList{"0", "0", "0"};
    }
    void timeLimit()
    {
        QFETCH(QStringList, typed);
        QFETCH(int, seconds);
        QFETCH(bool, limitShown);
        QFETCH(QStringList, reopened);
        WindowFixture w;
        w.start();
        QVERIFY(withOptions(w, [&](OptionsDialog *d) {
            const OptionsControls c(d);
            c.stopAfterButton->click();
            QVERIFY(shown(d).timeFieldsEnabled);
            type(c.hours, typed[0]);
            type(c.minutes, typed[1]);
            type(c.seconds, typed[2]);
            c.okButton->click();
        }));
        QCOMPARE(w.errors(), QStringList());
        QCOMPARE(w.recording().settings().timeLimitSeconds, seconds);
        QCOMPARE(IniFile(w.path("setup.ini")).readInteger("options", "timelimit", 99999), seconds);
        w.changeSettings([](RecordingSettings &s) { s.timeLimitSeconds = 12345; });   // reopening reads the file again
        QVERIFY(withOptions(w, [&](OptionsDialog *d) {
            const OptionsControls c(d);
            const Shown s = shown(d);
            QCOMPARE(s.limit, limitShown);
            QCOMPARE(c.noLimitButton->isChecked(), !limitShown);
            QCOMPARE(s.timeFieldsEnabled, limitShown);
            QCOMPARE(QStringList({s.hours, s.minutes, s.seconds}), reopened);
        }));
        QCOMPARE(w.recording().settings().timeLimitSeconds, seconds);
    }

    void recordingFollowsTheLimitChosen_data()
    {
        QTest::addColumn<QString>("seconds");
        QTest::addColumn<bool>("stillRecording");
        QTest::newRow("zero is no limit") << "0" << true;
        QTest::newRow("two seconds") << "2" << false;
    }
    void recordingFollowsTheLimitChosen()
    {
        QFETCH(QString, seconds);
        QFETCH(bool, stillRecording);
        WindowFixture w;
        w.start();
        QVERIFY(withOptions(w, [&](OptionsDialog *d) {
            const OptionsControls c(d);
            c.stopAfterButton->click();
            type(c.seconds, seconds);
            c.okButton->click();
        }));
        w.trigger("recordAction");
        RecordingClock(w.engine, [&w] { w.recording().flush(); }).run(4);
        QCOMPARE(w.recording().isActive(), stillRecording);
    }

    void splitLivesForTheRunOnly()
    {
        WindowFixture w;
        w.start();
        QVERIFY(withOptions(w, [&](OptionsDialog *d) {
            const OptionsControls c(d);
            c.splitBox->click();
            QVERIFY(shown(d).splitFieldsEnabled);
            type(c.splitMinutes, "10");
            type(c.splitSeconds, "0");
            c.okButton->click();
        }));
        QVERIFY(w.recording().settings().splitEnabled);
        QCOMPARE(w.recording().settings().splitSeconds, 600);
        QVERIFY(!fileLines(w.path("setup.ini")).join("\n").contains("split", Qt::CaseInsensitive));
        QVERIFY(withOptions(w, [&](OptionsDialog *d) {
            const OptionsControls c(d);
            const Shown s = shown(d);
            QVERIFY(s.split && s.splitFieldsEnabled);
            QCOMPARE(s.splitMinutes + ":" + s.splitSeconds, QString("10:0"));
            c.splitBox->click();
            QVERIFY(!shown(d).splitFieldsEnabled);
            QCOMPARE(c.splitMinutes->text(), QString("10"));   // contents stay
            c.okButton->click();
        }));
        QVERIFY(!w.recording().settings().splitEnabled);
        QCOMPARE(w.recording().settings().splitSeconds, 600);
        QVERIFY(withOptions(w, [&](OptionsDialog *d) {
            const OptionsControls c(d);
            const Shown s = shown(d);
            QVERIFY(!s.split && !s.splitFieldsEnabled);
            QCOMPARE(s.splitMinutes + ":" + s.splitSeconds, QString("0:0"));
        }));
    }

    void folderButton_data()
    {
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("savePath");
        QTest::newRow("separator added") << "/music/new" << "/music/new/";
        QTest::newRow("separator kept") << "/music/new/" << "/music/new/";
        QTest::newRow("chooser cancelled") << "" << "/old/";
    }
    void folderButton()
    {
        QFETCH(QString, chosen);
        QFETCH(QString, savePath);
        WindowFixture w;
        writeFile(w.path("setup.ini"), "[options]\nsavepath=/old/\n");
        w.start();
        QStringList titles;
        ui::Hooks hooks;
        hooks.box = [&](const ui::Box &b) {
            w.boxes << b;
            return true;
        };
        hooks.chooseFolder = [&](const QString &title) {
            titles << title;
            return chosen;
        };
        ui::setHooks(hooks);
        const QByteArray before = fileLines(w.path("setup.ini")).join("\n").toUtf8();
        QVERIFY(withOptions(w, [&](OptionsDialog *d) {
            const OptionsControls c(d);
            c.chooseFolderButton->click();
            // Taken over at once, before OK.
            QCOMPARE(c.savePath->text(), savePath);
            QCOMPARE(w.recording().settings().savePath, savePath);
            c.cancelButton->click();
            QVERIFY(!d->isVisible());
        }));
        QCOMPARE(titles, QStringList({"Select a directory to save output files"}));
        QCOMPARE(w.recording().settings().savePath, savePath);
        QCOMPARE(fileLines(w.path("setup.ini")).join("\n").toUtf8(), before);
    }

    void typedPathIsStoredAsTyped()
    {
        WindowFixture w;
        w.start();
        QVERIFY(withOptions(w, [&](OptionsDialog *d) {
            const OptionsControls c(d);
            type(c.savePath, "/data/rec");
            c.okButton->click();
        }));
        QCOMPARE(w.recording().settings().savePath, QString("/data/rec"));
        QCOMPARE(IniFile(w.path("setup.ini")).readString("options", "savepath", "?"), QString("/data/rec"));
    }

    void lettersInAField_data()
    {
        QTest::addColumn<bool>("limit");
        QTest::addColumn<bool>("split");
        QTest::addColumn<QString>("field");
        QTest::addColumn<bool>("refused");
        QTest::newRow("minutes of a limit") << true << false << "minutes" << true;
        QTest::newRow("minutes, no limit") << false << false << "minutes" << false;
        QTest::newRow("hours of a limit") << true << true << "hours" << true;
        QTest::newRow("split seconds") << true << true << "splitSeconds" << true;
        QTest::newRow("split seconds, split clear") << true << false << "splitSeconds" << false;
    }
    void lettersInAField()
    {
        QFETCH(bool, limit);
        QFETCH(bool, split);
        QFETCH(QString, field);
        QFETCH(bool, refused);
        WindowFixture w;
        w.start();
        bool stayedOpen = false;
        QVERIFY(withOptions(w, [&](OptionsDialog *d) {
            const OptionsControls c(d);
            c.wavButton->click();
            c.wavList->setCurrentIndex(0);
            type(c.savePath, "/typed/");
            c.stopAfterButton->click();
            c.splitBox->click();
            type(c.minutes, "2");
            UpDownField *f = fieldNamed(d, field);
            type(f, "1o");
            QCOMPARE(f->text(), QString("1o"));   // the field takes what is typed
            if (!limit)
                c.noLimitButton->click();
            if (!split)
                c.splitBox->click();
            clearLogWhenIdle(w);
            c.okButton->click();
            stayedOpen = d->isVisible();
        }));
        QCOMPARE(stayedOpen, refused);
        const RecordingSettings &s = w.recording().settings();
        // What came before the failing conversion stays taken over.
        QCOMPARE(s.savePath, QString("/typed/"));
        QCOMPARE(s.saveFormat, QString(".wav"));
        QCOMPARE(s.wavFrequency, 8000);
        if (refused) {
            QCOMPARE(w.errors(), QStringList({"'1o' is not a valid integer value."}));
            QVERIFY(!QFile::exists(w.path("setup.ini")));
            // The limit counts as taken over when only a split field failed.
            QCOMPARE(s.timeLimitSeconds, field == "splitSeconds" ? 120 : -1);
            QCOMPARE(s.splitEnabled, false);
        } else {
            QCOMPARE(w.errors(), QStringList());
            QVERIFY(QFile::exists(w.path("setup.ini")));
            QCOMPARE(s.timeLimitSeconds, limit ? 120 : -1);
        }
    }

    void storedPositionOutsideAList_data()
    {
        QTest::addColumn<QByteArray>("ini");
        QTest::addColumn<QString>("format");
        QTest::addColumn<QString>("applied");
        QTest::addColumn<QString>("indKey");
        QTest::newRow("wav 16") << QByteArray("[wav]\nfreq=11025\nch=1\nbps=8\nind=16\n") << "WAV"
                                << "writer.SetWavFormat(8000,1,8)" << "wav";
        QTest::newRow("wav -4") << QByteArray("[wav]\nfreq=22050\nch=2\nbps=16\nind=-4\n") << "WAV"
                                << "writer.SetWavFormat(8000,2,16)" << "wav";
        QTest::newRow("mp3 10") << QByteArray("[mp3]\nfreq=22050\nbitrate=40\nind=10\n") << "MP3"
                                << "writer.SetMp3Format(44100,128,2)" << "mp3";
    }
    void storedPositionOutsideAList()
    {
        QFETCH(QByteArray, ini);
        QFETCH(QString, format);
        QFETCH(QString, applied);
        QFETCH(QString, indKey);
        WindowFixture w;
        writeFile(w.path("setup.ini"), ini);
        w.start();
        QVERIFY(withOptions(w, [&](OptionsDialog *d) {
            const OptionsControls c(d);
            QCOMPARE((indKey == "wav" ? c.wavList : c.mp3List)->currentIndex(), -1);
            (format == "WAV" ? c.wavButton : c.mp3Button)->click();
            clearLogWhenIdle(w);
            c.okButton->click();
        }));
        QVERIFY2(w.engine.log.indexOf(applied) >= 0, qPrintable(w.engine.log.calls.join(" ; ")));
        QCOMPARE(IniFile(w.path("setup.ini")).readInteger(indKey, "ind", 99), -1);
    }

    void mp3PositionIsStoredWhileWavIsChosen()
    {
        WindowFixture w;
        w.start();
        QVERIFY(withOptions(w, [&](OptionsDialog *d) {
            const OptionsControls c(d);
            c.mp3List->setCurrentIndex(c.mp3List->findText("22050 Hz, 64 kbps"));
            c.wavButton->click();
            c.okButton->click();
        }));
        QCOMPARE(w.recording().settings().mp3Frequency, 44100);
        QCOMPARE(w.recording().settings().mp3Bitrate, 128);
        const IniFile ini(w.path("setup.ini"));
        QCOMPARE(ini.readInteger("mp3", "ind", 99), 2);
        QCOMPARE(ini.readInteger("mp3", "bitrate", 0), 128);
        QVERIFY(withOptions(w, [&](OptionsDialog *d) {
            const OptionsControls c(d);
            QCOMPARE(c.mp3List->currentText(), QString("22050 Hz, 64 kbps"));
        }));
        QCOMPARE(w.recording().settings().mp3Bitrate, 128);
    }

    void storedFormat_data()
    {
        QTest::addColumn<QString>("saveformat");
        QTest::addColumn<QString>("radio");
        QTest::addColumn<QString>("enabledLists");
        QTest::addColumn<QString>("stored");
        QTest::newRow("upper-case WAV") << ".WAV" << "WAV" << "wav" << ".wav";
        QTest::newRow("wma") << ".wma" << "WMA" << "wma" << ".wma";
        QTest::newRow("flac") << ".flac" << "FLAC" << "flac" << ".flac";
        QTest::newRow("ogg") << ".ogg" << "Ogg" << "ogg" << ".ogg";
        QTest::newRow("opus") << ".OPUS" << "Opus" << "opus" << ".opus";
        QTest::newRow("other extension") << ".aac" << "MP3" << "mp3 wav wma flac ogg opus" << ".mp3";
    }
    void storedFormat()
    {
        QFETCH(QString, saveformat);
        QFETCH(QString, radio);
        QFETCH(QString, enabledLists);
        QFETCH(QString, stored);
        WindowFixture w;
        writeFile(w.path("setup.ini"), "[options]\nsaveformat=" + saveformat.toUtf8() + "\n");
        w.start();
        QVERIFY(withOptions(w, [&](OptionsDialog *d) {
            const OptionsControls c(d);
            QCOMPARE(shown(d).format, radio);
            QStringList lists;
            for (QComboBox *list : {c.mp3List, c.wavList, c.wmaList, c.flacList, c.oggList, c.opusList})
                if (list->isEnabled())
                    lists << list->objectName().chopped(4);   // "mp3List": "mp3"
            QCOMPARE(lists.join(" "), enabledLists);
            c.okButton->click();
        }));
        QCOMPARE(IniFile(w.path("setup.ini")).readString("options", "saveformat", "?"), stored);
    }

    void newFormatsTakeTheirChoices_data()
    {
        QTest::addColumn<QString>("format");
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QStringList>("keys");
        QTest::newRow("flac") << "FLAC" << "96000 Hz - 24 bit,Mono"
                              << QStringList{"[flac]", "freq=96000", "bps=24", "ch=1", "level=8"};
        QTest::newRow("ogg") << "Ogg" << "Quality 7 (about 224 kbps)" << QStringList{"[ogg]", "quality=7"};
        QTest::newRow("opus") << "Opus" << "48000 Hz, 32 kbps, Mono" << QStringList{"[opus]", "bitrate=32", "ch=1"};
    }
    void newFormatsTakeTheirChoices()
    {
        // Each new format offers its own list beside MP3's, WAV's and WMA's; OK writes what
        // was chosen, and the next recording is written so.
        QFETCH(QString, format);
        QFETCH(QString, entry);
        QFETCH(QStringList, keys);
        WindowFixture w;
        w.start();
        QVERIFY(withOptions(w, [&](OptionsDialog *d) {
            const OptionsControls c(d);
            QRadioButton *button = format == "FLAC" ? c.flacButton : format == "Ogg" ? c.oggButton : c.opusButton;
            QComboBox *list = format == "FLAC" ? c.flacList : format == "Ogg" ? c.oggList : c.opusList;
            QVERIFY(!list->isEnabled());
            button->click();
            QVERIFY(list->isEnabled() && !c.mp3List->isEnabled());
            QCOMPARE(c.flacLevel->isEnabled(), format == "FLAC");
            list->setCurrentIndex(list->findText(entry));
            QVERIFY(list->currentIndex() >= 0);
            c.flacLevel->setValue(8);
            c.okButton->click();
        }));
        const QStringList lines = fileLines(w.path("setup.ini"));
        const qsizetype at = lines.indexOf(keys.first());
        QVERIFY(at >= 0);
        QCOMPARE(lines.mid(at, keys.size()), keys);
        QCOMPARE(w.recording().settings().saveFormat, "." + format.toLower());
    }

    void beforeRecordAndStartOnSound()
    {
        // Preselected from setup.ini; OK writes what was chosen and the session takes it.
        WindowFixture w;
        writeFile(w.path("setup.ini"), "[options]\nprerecord=8\n[trigger]\non=1\nlevel=-42\nsilence=5\nnewfile=1\n");
        w.start();
        QVERIFY(withOptions(w, [&](OptionsDialog *d) {
            auto *keep = d->findChild<QCheckBox *>("prerecordBox");
            auto *seconds = d->findChild<QSpinBox *>("prerecordSeconds");
            auto *trigger = d->findChild<QGroupBox *>("triggerGroup");
            auto *level = d->findChild<QSpinBox *>("triggerLevel");
            auto *silence = d->findChild<QSpinBox *>("triggerSilence");
            auto *newFile = d->findChild<QCheckBox *>("triggerNewFileBox");
            QVERIFY(keep->isChecked() && seconds->isEnabled());
            QCOMPARE(seconds->value(), 8);
            QVERIFY(trigger->isChecked() && newFile->isChecked());
            QCOMPARE(level->value(), -42);
            QCOMPARE(silence->value(), 5);
            keep->click();
            QVERIFY(!seconds->isEnabled());
            level->setValue(-20);
            newFile->click();
            d->findChild<QPushButton *>("okButton")->click();
        }));
        const QStringList lines = fileLines(w.path("setup.ini"));
        QVERIFY(lines.contains("prerecord=0"));
        QCOMPARE(lines.mid(lines.indexOf("[trigger]"), 5), QStringList({"[trigger]", "on=1", "level=-20", "silence=5", "newfile=0"}));
        const RecordingSettings &s = w.recording().settings();
        QCOMPARE(QString("%1 %2 %3 %4 %5").arg(s.prerecordSeconds).arg(s.triggerOn).arg(s.triggerLevelDb)
                     .arg(s.triggerSilenceSeconds).arg(s.triggerNewFile),
                 QString("0 1 -20 5 0"));
    }

    void shortDescriptionsGiveEmptyEntries_data()
    {
        QTest::addColumn<QString>("description");
        QTest::addColumn<QString>("label");
        QTest::newRow("empty") << "" << "";
        QTest::newRow("three characters") << "WMA" << "";
        QTest::newRow("four characters") << "WMA " << "";
        QTest::newRow("five characters") << "WMA x" << "x";
        QTest::newRow("long") << "WMA " + QString(150, 'a') << QString(100, 'a');
    }
    void shortDescriptionsGiveEmptyEntries()
    {
        QFETCH(QString, description);
        QFETCH(QString, label);
        QTemporaryDir dir;
        DescribingEngine e;
        e.description = description;
        RecorderCore core(e, AppPaths::besideProgram(dir.path()));
        QPointer<OptionsDialog> d = new OptionsDialog(core, nullptr);
        const OptionsControls c(d);
        QCOMPARE(c.wmaList->count(), e.wmaProfileCount);
        for (int i = 0; i < c.wmaList->count(); ++i)
            QCOMPARE(c.wmaList->itemText(i), label);
        delete d;
    }

    void unwritableSetupIniKeepsTheDialogOpen()
    {
        WindowFixture w;
        // A folder in the file's place: no write can succeed, whoever runs the test.
        QVERIFY(QDir(w.dir.path()).mkdir("setup.ini"));
        w.start();
        bool stayedOpen = false;
        QVERIFY(withOptions(w, [&](OptionsDialog *d) {
            const OptionsControls c(d);
            c.wavButton->click();
            c.wavList->setCurrentIndex(5);
            clearLogWhenIdle(w);
            c.okButton->click();
            stayedOpen = d->isVisible();
        }));
        QVERIFY(stayedOpen);
        QCOMPARE(w.errors(), QStringList({"Unable to write to " + w.path("setup.ini") + "."}));
        QCOMPARE(w.recording().settings().saveFormat, QString(".wav"));
        QCOMPARE(w.recording().settings().wavFrequency, 11025);
        QVERIFY(w.engine.log.indexOf("writer.SetWavFormat(11025,1,16)") >= 0);
    }

    void openingCommands_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("menu") << "menu";
        QTest::newRow("F2") << "F2";
        QTest::newRow("tool bar") << "toolbar";
    }
    void openingCommands()
    {
        QFETCH(QString, how);
        WindowFixture w;
        w.start();
        const auto open = [&] {
            if (how == "menu") {
                w.trigger("optionsAction");
            } else if (how == "F2") {
                w.window->activateWindow();
                QVERIFY(QTest::qWaitForWindowActive(w.window.get()));
                QTest::keyClick(w.window.get(), Qt::Key_F2);
            }
            else {
                w.find<QToolButton>("optionsButton")->click();
            }
        };
        QPointer<OptionsDialog> first;
        QVERIFY(whileOpen(open, [&](OptionsDialog *d) {
            const OptionsControls c(d);
            first = d;
            QCOMPARE(w.window->findChildren<OptionsDialog *>(), QList<OptionsDialog *>({d}));
            QCOMPARE(d->parentWidget(), w.window.get());
            c.stopAfterButton->click();
            c.cancelButton->click();
        }));
        QVERIFY(first.isNull());               // gone once closed
        QVERIFY(w.window->findChildren<OptionsDialog *>().isEmpty());
        // The next opening builds it afresh, from the file as it is now.
        IniFile(w.path("setup.ini")).writeInteger("options", "timelimit", 120);
        QVERIFY(whileOpen(open, [&](OptionsDialog *d) {
            const Shown s = shown(d);
            QVERIFY(s.limit);
            QCOMPARE(s.minutes, QString("2"));
            d->close();                        // the close box
        }));
        QVERIFY(w.window->findChildren<OptionsDialog *>().isEmpty());
        QCOMPARE(w.engine.log.count("profileLabels.GetWmaProfileCount()"), 2);   // its lists filled anew
    }

    void cancelTakesNothingOver()
    {
        WindowFixture w;
        writeFile(w.path("setup.ini"), "[options]\ntimelimit=600\n");
        w.start();
        const RecordingSettings before = w.recording().settings();
        QVERIFY(withOptions(w, [&](OptionsDialog *d) {
            const OptionsControls c(d);
            c.wmaButton->click();
            c.wmaList->setCurrentIndex(3);
            type(c.savePath, "/elsewhere/");
            c.noLimitButton->click();
            c.splitBox->click();
            type(c.splitMinutes, "5");
            QTest::keyClick(d, Qt::Key_Escape);
            QVERIFY(!d->isVisible());
        }));
        const RecordingSettings &s = w.recording().settings();
        QCOMPARE(s.saveFormat, before.saveFormat);
        QCOMPARE(s.savePath, before.savePath);
        QCOMPARE(s.wmaProfile, before.wmaProfile);
        QVERIFY(!s.splitEnabled);
        // Showing the dialog did read the stored limit.
        QCOMPARE(s.timeLimitSeconds, 600);
        QCOMPARE(fileLines(w.path("setup.ini")), QStringList({"[options]", "timelimit=600"}));
    }

    void upDownButtons_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("start");
        QTest::addColumn<QList<int>>("keys");
        QTest::addColumn<QString>("shown");
        const int up = Qt::Key_Up, down = Qt::Key_Down;
        QTest::newRow("hours up") << "hours" << "0" << QList<int>{up, up} << "2";
        QTest::newRow("hours stop at 100") << "hours" << "99" << QList<int>{up, up} << "100";
        QTest::newRow("hours stop at 0") << "hours" << "1" << QList<int>{down, down} << "0";
        QTest::newRow("minutes up") << "minutes" << "7" << QList<int>{up} << "8";
        QTest::newRow("seconds by 5") << "seconds" << "0" << QList<int>{up, up, up} << "15";
        QTest::newRow("seconds stop at 100") << "seconds" << "98" << QList<int>{up} << "100";
        QTest::newRow("split minutes by 1") << "splitMinutes" << "0" << QList<int>{up} << "1";
        QTest::newRow("split seconds by 5") << "splitSeconds" << "10" << QList<int>{down} << "5";
        QTest::newRow("typed beyond range is kept") << "minutes" << "250" << QList<int>{} << "250";
        QTest::newRow("typed beyond range steps in") << "minutes" << "250" << QList<int>{down} << "100";
        QTest::newRow("letters are kept") << "hours" << "abc" << QList<int>{} << "abc";
        QTest::newRow("letters step from zero") << "hours" << "abc" << QList<int>{up} << "1";
        QTest::newRow("letters step from the last number") << "hours" << "40|x" << QList<int>{up} << "41";
    }
    void upDownButtons()
    {
        QFETCH(QString, field);
        QFETCH(QString, start);
        QFETCH(QList<int>, keys);
        QFETCH(QString, shown);
        WindowFixture w;
        w.start();
        QVERIFY(withOptions(w, [&](OptionsDialog *d) {
            const OptionsControls c(d);
            c.stopAfterButton->click();
            c.splitBox->click();
            UpDownField *f = fieldNamed(d, field);
            QCOMPARE(f->singleStep(), field.endsWith("seconds", Qt::CaseInsensitive) ? 5 : 1);
            for (const QString &text : start.split('|'))
                type(f, text);
            for (int key : keys)
                QTest::keyClick(f, Qt::Key(key));
            QCOMPARE(f->text(), shown);
        }));
    }
};

QTEST_MAIN(TestOptionsDialog)
#include "tst_options_dialog.moc"
