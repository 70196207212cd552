// The Options dialog on the recording fake engine: what it shows, what OK takes over, applies
// and writes, and what Cancel leaves behind.
#include "app/window_fixture.h"
#include "options_driver.h"
#include "session/ini_file.h"
#include "ui/options_dialog.h"
#include "transport/recording_clock.h"

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
#include <QRadioButton>
#include <QTimer>
#include <QToolButton>

#include <functional>

namespace {

// Opens the dialog with the menu command and runs `act` on it while it is modal.
bool withOptions(WindowFixture &w, const std::function<void(OptionsDialog *)> &act)
{
    return whileOpen([&] { w.form->MenuOptions->trigger(); }, act);
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
    Shown s;
    s.format = d->rbMP3->isChecked() ? "MP3" : d->rbWAV->isChecked() ? "WAV" : d->rbWMA->isChecked() ? "WMA" : "";
    s.hours = d->edHours->text();
    s.minutes = d->edMinutes->text();
    s.seconds = d->edSeconds->text();
    s.limit = d->rbStopAfter->isChecked();
    s.timeFieldsEnabled = d->edHours->isEnabled() && d->edMinutes->isEnabled() && d->edSeconds->isEnabled();
    s.split = d->chSplitEvery->isChecked();
    s.splitFieldsEnabled = d->edSplitMinutes->isEnabled() && d->edSplitSeconds->isEnabled();
    s.splitMinutes = d->edSplitMinutes->text();
    s.splitSeconds = d->edSplitSeconds->text();
    s.mp3 = d->cbMP3->currentIndex();
    s.wav = d->cbWAV->currentIndex();
    s.wma = d->cbWMA->currentIndex();
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
        if (name == QLatin1String("SettingFile"))
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
            if (const QByteArray shot = qgetenv("TAVRIN_OPTIONS_SHOT"); !shot.isEmpty() && points == 0)
                d->grab().save(QString::fromLocal8Bit(shot));
            QCOMPARE(d->windowTitle(), QString("Options"));
            // 319 x 419 at the desktop's 9-point font; larger fonts get the nearest size that fits.
            if (points == 0)
                QCOMPARE(d->size(), QSize(319, 419));
            else
                QVERIFY(d->width() >= 319 && d->height() > 419);
            QCOMPARE(d->minimumSize(), d->maximumSize());
            QVERIFY(d->isModal());
            const Qt::WindowFlags flags = d->windowFlags();
            QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
            QVERIFY(!flags.testFlag(Qt::WindowMinimizeButtonHint) && !flags.testFlag(Qt::WindowMaximizeButtonHint));
            QVERIFY(!flags.testFlag(Qt::WindowContextHelpButtonHint));
            QVERIFY((d->frameGeometry().center() - w.form->frameGeometry().center()).manhattanLength() <= 2);
            QCOMPARE(d->btnSelectDir->toolTip(), QString("select save directory"));
            QVERIFY(d->btnSelectDir->autoRaise() && !d->btnSelectDir->icon().isNull());
            QCOMPARE(d->gbSavePath->title() + "|" + d->gbRecordFormat->title() + "|" + d->gbTimeLimit->title() + "|"
                         + d->gbAutoSplit->title(),
                     QString("Save Path|Record Format|Time Limit|Auto Split"));
            QCOMPARE(d->rbStopAfter->text(), QString("Stop recording after "));
            // Everything fits: the layout needs no more than the fixed size, and every
            // control gets at least the room it asks for.
            const QSize needed = d->layout()->minimumSize();
            QVERIFY2(needed.width() <= d->width() && needed.height() <= d->height(),
                     qPrintable(QString("layout needs %1x%2").arg(needed.width()).arg(needed.height())));
            QStringList units;
            for (QWidget *c : d->findChildren<QWidget *>()) {
                if (!c->isVisible() || qobject_cast<QLineEdit *>(c))
                    continue;
                const QRect inDialog(c->mapTo(d, QPoint(0, 0)), c->size());
                QVERIFY2(d->rect().contains(inDialog), qPrintable(c->metaObject()->className()));
                if (qobject_cast<QAbstractButton *>(c) || qobject_cast<QLabel *>(c) || qobject_cast<QComboBox *>(c))
                    QVERIFY2(c->width() >= c->minimumSizeHint().width(),
                             qPrintable(QString("%1 \"%2\" clipped").arg(c->metaObject()->className(),
                                                                       c->property("text").toString())));
                if (auto *label = qobject_cast<QLabel *>(c))
                    units << label->buddy()->objectName() + "=" + label->text();
            }
            units.sort();
            QCOMPARE(units, QStringList({"edHours=hours", "edMinutes=minutes", "edSeconds=seconds",
                                         "edSplitMinutes=minutes", "edSplitSeconds=seconds"}));
        }));
    }

    void keyboardOrder()
    {
        WindowFixture w;
        w.start();
        QVERIFY(withOptions(w, [&](OptionsDialog *d) {
            const QList<QWidget *> expected{d->EdSavePath, d->btnSelectDir, d->rbMP3, d->cbMP3, d->rbWAV, d->cbWAV,
                                            d->rbWMA, d->cbWMA, d->rbNoLimit, d->rbStopAfter, d->edHours,
                                            d->edMinutes, d->edSeconds, d->btnOK, d->btnCancel, d->chSplitEvery,
                                            d->edSplitMinutes, d->edSplitSeconds};
            QList<QWidget *> chain;
            QWidget *at = d->EdSavePath;
            do {
                if (expected.contains(at))
                    chain << at;
                at = at->nextInFocusChain();
            } while (at != d->EdSavePath && chain.size() < expected.size());
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
            const Shown s = shown(d);
            QCOMPARE(s.format, QString("MP3"));
            QCOMPARE(d->cbMP3->currentText(), QString("44100 Hz, 128 kbps"));
            QCOMPARE(d->cbWAV->currentText(), QString("44100 Hz - 16 bit,Stereo"));
            QVERIFY(d->cbMP3->isEnabled() && !d->cbWAV->isEnabled() && !d->cbWMA->isEnabled());
            QCOMPARE(d->cbMP3->count(), 10);
            QCOMPARE(d->cbWAV->count(), 16);
            QCOMPARE(d->cbWMA->count(), profiles);
            QCOMPARE(s.wma, wmaPosition);
            QCOMPARE(d->EdSavePath->text(), w.programDir() + "Recording/");
            QVERIFY(d->rbNoLimit->isChecked() && !s.limit && !s.timeFieldsEnabled);
            QCOMPARE(s.hours + s.minutes + s.seconds, QString("000"));
            QVERIFY(!s.split && !s.splitFieldsEnabled);
            QCOMPARE(s.splitMinutes + s.splitSeconds, QString("00"));
            d->btnOK->click();
            QVERIFY(!d->isVisible());
        }));
        QCOMPARE(w.errors(), QStringList());
        QCOMPARE(fileLines(w.path("setup.ini")),
                 elevenKeys(w.programDir() + "Recording/", ".mp3", -1, 128, 44100, 5, 44100, 2, 16, 15, 38));
        QCOMPARE(w.form->CurrentSettings.timeLimitSeconds, -1);
    }

    void creationAndShowingCallTheEngineInOrder()
    {
        WindowFixture w;
        w.engine.wmaProfileCount = 3;
        w.start();
        w.engine.log.clear();
        QStringList labels;
        QVERIFY(withOptions(w, [&](OptionsDialog *d) {
            for (int i = 0; i < d->cbWMA->count(); ++i)
                labels << d->cbWMA->itemText(i);
        }));
        // Entry k is labelled with the description of engine profile number k + 1.
        QCOMPARE(labels, QStringList({"profile 0", "profile 1", "profile 2"}));
        QStringList expected{"create(SettingFile)", "SettingFile.SetActive(true)", "SettingFile.GetWmaProfileCount()"};
        for (int number = 1; number <= 3; ++number)
            expected << "SettingFile.SetActive(true)" << QString("SettingFile.SetWmaProfile(%1)").arg(number)
                     << "SettingFile.GetFormatDescription()";
        expected << "SettingFile.SetWmaProfile(38)"
                 // Showing pushes all three formats into the writer, without activating it.
                 << "writer.SetMp3Format(44100,128,2)" << "writer.SetWavFormat(44100,2,16)"
                 << "writer.SetWmaProfile(38)";
        QCOMPARE(w.engine.log.matching(QStringList{"create(SettingFile", "SettingFile.", "reader.", "writer.",
                                                   "mp3Encoder."}),
                 expected);
    }

    void wavChoiceRewritesEveryKey()
    {
        WindowFixture w;
        writeFile(w.path("setup.ini"), "[options]\nsavepath=/old/\nsaveformat=.mp3\n[mp3]\nbitrate=192\nfreq=44100\n"
                                       "ind=7\n[wma]\nprofile=12\n");
        w.start();
        w.engine.log.clear();
        QVERIFY(withOptions(w, [&](OptionsDialog *d) {
            QCOMPARE(d->cbMP3->currentIndex(), 7);
            QCOMPARE(d->cbWMA->currentIndex(), 12);
            d->rbWAV->click();
            QVERIFY(!d->cbMP3->isEnabled() && d->cbWAV->isEnabled() && !d->cbWMA->isEnabled());
            d->cbWAV->setCurrentIndex(d->cbWAV->findText("22050 Hz - 8 bit,Stereo"));
            w.engine.log.clear();
            d->btnOK->click();
        }));
        // Keys already in the file are rewritten in place, the others added to their sections.
        QCOMPARE(fileLines(w.path("setup.ini")),
                 QStringList({"[options]", "savepath=/old/", "saveformat=.wav", "timelimit=-1", "[mp3]", "bitrate=192",
                              "freq=44100", "ind=7", "[wma]", "profile=12", "[wav]", "freq=22050", "ch=2", "bps=8",
                              "ind=10"}));
        const RecordingSettings &s = w.form->CurrentSettings;
        QCOMPARE(QString("%1 %2 %3 %4").arg(s.saveFormat).arg(s.wavFrequency).arg(s.wavChannels).arg(s.wavBitsPerSample),
                 QString(".wav 22050 2 8"));
        QCOMPARE(w.engine.log.matching(QStringList{"writer.Set", "reader.Set"}),
                 QStringList({"reader.SetActive(true)", "writer.SetActive(true)",
                              "writer.SetWavFormat(22050,2,8)", "reader.SetWavFormat(22050,2,8)",
                              "writer.SetMp3Encoder(encoder)", "reader.SetMp3Encoder(encoder)"}));
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
            d->rbStopAfter->click();
            QVERIFY(shown(d).timeFieldsEnabled);
            type(d->edHours, typed[0]);
            type(d->edMinutes, typed[1]);
            type(d->edSeconds, typed[2]);
            d->btnOK->click();
        }));
        QCOMPARE(w.errors(), QStringList());
        QCOMPARE(w.form->CurrentSettings.timeLimitSeconds, seconds);
        QCOMPARE(IniFile(w.path("setup.ini")).readInteger("options", "timelimit", 99999), seconds);
        w.form->CurrentSettings.timeLimitSeconds = 12345;   // reopening reads the file again
        QVERIFY(withOptions(w, [&](OptionsDialog *d) {
            const Shown s = shown(d);
            QCOMPARE(s.limit, limitShown);
            QCOMPARE(d->rbNoLimit->isChecked(), !limitShown);
            QCOMPARE(s.timeFieldsEnabled, limitShown);
            QCOMPARE(QStringList({s.hours, s.minutes, s.seconds}), reopened);
        }));
        QCOMPARE(w.form->CurrentSettings.timeLimitSeconds, seconds);
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
            d->rbStopAfter->click();
            type(d->edSeconds, seconds);
            d->btnOK->click();
        }));
        w.form->StartRecording();
        RecordingClock(w).run(4);
        QCOMPARE(w.form->Recording, stillRecording);
    }

    void splitLivesForTheRunOnly()
    {
        WindowFixture w;
        w.start();
        QVERIFY(withOptions(w, [&](OptionsDialog *d) {
            d->chSplitEvery->click();
            QVERIFY(shown(d).splitFieldsEnabled);
            type(d->edSplitMinutes, "10");
            type(d->edSplitSeconds, "0");
            d->btnOK->click();
        }));
        QVERIFY(w.form->CurrentSettings.splitEnabled);
        QCOMPARE(w.form->CurrentSettings.splitSeconds, 600);
        QVERIFY(!fileLines(w.path("setup.ini")).join("\n").contains("split", Qt::CaseInsensitive));
        QVERIFY(withOptions(w, [&](OptionsDialog *d) {
            const Shown s = shown(d);
            QVERIFY(s.split && s.splitFieldsEnabled);
            QCOMPARE(s.splitMinutes + ":" + s.splitSeconds, QString("10:0"));
            d->chSplitEvery->click();
            QVERIFY(!shown(d).splitFieldsEnabled);
            QCOMPARE(d->edSplitMinutes->text(), QString("10"));   // contents stay
            d->btnOK->click();
        }));
        QVERIFY(!w.form->CurrentSettings.splitEnabled);
        QCOMPARE(w.form->CurrentSettings.splitSeconds, 600);
        QVERIFY(withOptions(w, [&](OptionsDialog *d) {
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
            d->btnSelectDir->click();
            // Taken over at once, before OK.
            QCOMPARE(d->EdSavePath->text(), savePath);
            QCOMPARE(w.form->CurrentSettings.savePath, savePath);
            d->btnCancel->click();
            QVERIFY(!d->isVisible());
        }));
        QCOMPARE(titles, QStringList({"Select a directory to save output files"}));
        QCOMPARE(w.form->CurrentSettings.savePath, savePath);
        QCOMPARE(fileLines(w.path("setup.ini")).join("\n").toUtf8(), before);
    }

    void typedPathIsStoredAsTyped()
    {
        WindowFixture w;
        w.start();
        QVERIFY(withOptions(w, [&](OptionsDialog *d) {
            type(d->EdSavePath, "/data/rec");
            d->btnOK->click();
        }));
        QCOMPARE(w.form->CurrentSettings.savePath, QString("/data/rec"));
        QCOMPARE(IniFile(w.path("setup.ini")).readString("options", "savepath", "?"), QString("/data/rec"));
    }

    void lettersInAField_data()
    {
        QTest::addColumn<bool>("limit");
        QTest::addColumn<bool>("split");
        QTest::addColumn<QString>("field");
        QTest::addColumn<bool>("refused");
        QTest::newRow("minutes of a limit") << true << false << "edMinutes" << true;
        QTest::newRow("minutes, no limit") << false << false << "edMinutes" << false;
        QTest::newRow("hours of a limit") << true << true << "edHours" << true;
        QTest::newRow("split seconds") << true << true << "edSplitSeconds" << true;
        QTest::newRow("split seconds, split clear") << true << false << "edSplitSeconds" << false;
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
            d->rbWAV->click();
            d->cbWAV->setCurrentIndex(0);
            type(d->EdSavePath, "/typed/");
            d->rbStopAfter->click();
            d->chSplitEvery->click();
            type(d->edMinutes, "2");
            UpDownField *f = fieldNamed(d, field);
            type(f, "1o");
            QCOMPARE(f->text(), QString("1o"));   // the field takes what is typed
            if (!limit)
                d->rbNoLimit->click();
            if (!split)
                d->chSplitEvery->click();
            w.engine.log.clear();
            d->btnOK->click();
            stayedOpen = d->isVisible();
        }));
        QCOMPARE(stayedOpen, refused);
        const RecordingSettings &s = w.form->CurrentSettings;
        // What came before the failing conversion stays taken over.
        QCOMPARE(s.savePath, QString("/typed/"));
        QCOMPARE(s.saveFormat, QString(".wav"));
        QCOMPARE(s.wavFrequency, 8000);
        if (refused) {
            QCOMPARE(w.errors(), QStringList({"'1o' is not a valid integer value."}));
            QCOMPARE(w.engine.log.matching(QStringList{"AudioFile", "mp3Encoder"}), QStringList());
            QVERIFY(!QFile::exists(w.path("setup.ini")));
            // The limit counts as taken over when only a split field failed.
            QCOMPARE(s.timeLimitSeconds, field == "edSplitSeconds" ? 120 : -1);
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
            QCOMPARE((indKey == "wav" ? d->cbWAV : d->cbMP3)->currentIndex(), -1);
            (format == "WAV" ? d->rbWAV : d->rbMP3)->click();
            w.engine.log.clear();
            d->btnOK->click();
        }));
        QVERIFY2(w.engine.log.indexOf(applied) >= 0, qPrintable(w.engine.log.calls.join(" ; ")));
        QCOMPARE(IniFile(w.path("setup.ini")).readInteger(indKey, "ind", 99), -1);
    }

    void mp3PositionIsStoredWhileWavIsChosen()
    {
        WindowFixture w;
        w.start();
        QVERIFY(withOptions(w, [&](OptionsDialog *d) {
            d->cbMP3->setCurrentIndex(d->cbMP3->findText("22050 Hz, 64 kbps"));
            d->rbWAV->click();
            d->btnOK->click();
        }));
        QCOMPARE(w.form->CurrentSettings.mp3Frequency, 44100);
        QCOMPARE(w.form->CurrentSettings.mp3Bitrate, 128);
        const IniFile ini(w.path("setup.ini"));
        QCOMPARE(ini.readInteger("mp3", "ind", 99), 2);
        QCOMPARE(ini.readInteger("mp3", "bitrate", 0), 128);
        QVERIFY(withOptions(w, [&](OptionsDialog *d) {
            QCOMPARE(d->cbMP3->currentText(), QString("22050 Hz, 64 kbps"));
        }));
        QCOMPARE(w.form->CurrentSettings.mp3Bitrate, 128);
    }

    void storedFormat_data()
    {
        QTest::addColumn<QString>("saveformat");
        QTest::addColumn<QString>("radio");
        QTest::addColumn<QString>("enabledLists");
        QTest::addColumn<QString>("stored");
        QTest::newRow("upper-case WAV") << ".WAV" << "WAV" << "wav" << ".wav";
        QTest::newRow("wma") << ".wma" << "WMA" << "wma" << ".wma";
        QTest::newRow("other extension") << ".ogg" << "MP3" << "mp3 wav wma" << ".mp3";
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
            QCOMPARE(shown(d).format, radio);
            QStringList lists;
            for (QComboBox *c : {d->cbMP3, d->cbWAV, d->cbWMA})
                if (c->isEnabled())
                    lists << c->objectName().mid(2).toLower();
            QCOMPARE(lists.join(" "), enabledLists);
            d->btnOK->click();
        }));
        QCOMPARE(IniFile(w.path("setup.ini")).readString("options", "saveformat", "?"), stored);
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
        MainWindow form(e, AppPaths::besideProgram(dir.path()));
        QPointer<OptionsDialog> d = new OptionsDialog(form);
        QCOMPARE(d->cbWMA->count(), e.wmaProfileCount);
        for (int i = 0; i < d->cbWMA->count(); ++i)
            QCOMPARE(d->cbWMA->itemText(i), label);
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
            d->rbWAV->click();
            d->cbWAV->setCurrentIndex(5);
            w.engine.log.clear();
            d->btnOK->click();
            stayedOpen = d->isVisible();
        }));
        QVERIFY(stayedOpen);
        QCOMPARE(w.errors(), QStringList({"Unable to write to " + w.path("setup.ini") + "."}));
        QCOMPARE(w.form->CurrentSettings.saveFormat, QString(".wav"));
        QCOMPARE(w.form->CurrentSettings.wavFrequency, 11025);
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
                w.form->MenuOptions->trigger();
            } else if (how == "F2") {
                w.form->activateWindow();
                QVERIFY(QTest::qWaitForWindowActive(w.form.get()));
                QTest::keyClick(w.form.get(), Qt::Key_F2);
            }
            else {
                w.form->ToolBtnOptions->click();
            }
        };
        QPointer<OptionsDialog> first;
        QVERIFY(whileOpen(open, [&](OptionsDialog *d) {
            first = d;
            QCOMPARE(w.form->SettingForm.data(), d);
            QCOMPARE(d->parentWidget(), w.form.get());
            d->rbStopAfter->click();
            d->btnCancel->click();
        }));
        QVERIFY(first.isNull());               // gone once closed
        QVERIFY(w.form->SettingForm.isNull());
        // The next opening builds it afresh, from the file as it is now.
        IniFile(w.path("setup.ini")).writeInteger("options", "timelimit", 120);
        QVERIFY(whileOpen(open, [&](OptionsDialog *d) {
            const Shown s = shown(d);
            QVERIFY(s.limit);
            QCOMPARE(s.minutes, QString("2"));
            d->close();                        // the close box
        }));
        QVERIFY(w.form->SettingForm.isNull());
        QCOMPARE(w.engine.log.count("create(SettingFile)"), 2);
    }

    void cancelTakesNothingOver()
    {
        WindowFixture w;
        writeFile(w.path("setup.ini"), "[options]\ntimelimit=600\n");
        w.start();
        const RecordingSettings before = w.form->CurrentSettings;
        QVERIFY(withOptions(w, [&](OptionsDialog *d) {
            d->rbWMA->click();
            d->cbWMA->setCurrentIndex(3);
            type(d->EdSavePath, "/elsewhere/");
            d->rbNoLimit->click();
            d->chSplitEvery->click();
            type(d->edSplitMinutes, "5");
            QTest::keyClick(d, Qt::Key_Escape);
            QVERIFY(!d->isVisible());
        }));
        const RecordingSettings &s = w.form->CurrentSettings;
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
        QTest::newRow("hours up") << "edHours" << "0" << QList<int>{up, up} << "2";
        QTest::newRow("hours stop at 100") << "edHours" << "99" << QList<int>{up, up} << "100";
        QTest::newRow("hours stop at 0") << "edHours" << "1" << QList<int>{down, down} << "0";
        QTest::newRow("minutes up") << "edMinutes" << "7" << QList<int>{up} << "8";
        QTest::newRow("seconds by 5") << "edSeconds" << "0" << QList<int>{up, up, up} << "15";
        QTest::newRow("seconds stop at 100") << "edSeconds" << "98" << QList<int>{up} << "100";
        QTest::newRow("split minutes by 1") << "edSplitMinutes" << "0" << QList<int>{up} << "1";
        QTest::newRow("split seconds by 5") << "edSplitSeconds" << "10" << QList<int>{down} << "5";
        QTest::newRow("typed beyond range is kept") << "edMinutes" << "250" << QList<int>{} << "250";
        QTest::newRow("typed beyond range steps in") << "edMinutes" << "250" << QList<int>{down} << "100";
        QTest::newRow("letters are kept") << "edHours" << "abc" << QList<int>{} << "abc";
        QTest::newRow("letters step from zero") << "edHours" << "abc" << QList<int>{up} << "1";
        QTest::newRow("letters step from the last number") << "edHours" << "40|x" << QList<int>{up} << "41";
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
            d->rbStopAfter->click();
            d->chSplitEvery->click();
            UpDownField *f = fieldNamed(d, field);
            QCOMPARE(f->singleStep(), field.endsWith("Seconds") ? 5 : 1);
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
