// The Recording Filters window on the fake engine.
#include "app/window_fixture.h"
#include "widgets/quiet_offscreen.h"

#include "ui/recording_filters_window.h"

#include <QCheckBox>
#include <QClipboard>
#include <QLabel>
#include <QPushButton>
#include <QSlider>

#include <limits>

namespace {

const char *const kFilterNames[4] = {"", "Notch", "HighPass", "LowPass"};

QString frequencyCall(int row, int hz)
{
    return QStringLiteral("recorder.Set%1Frequency(%2)").arg(kFilterNames[row]).arg(hz);
}

QString switchCall(int row, bool on)
{
    return QStringLiteral("recorder.Set%1Enabled(%2)").arg(kFilterNames[row], on ? "true" : "false");
}

// Every call that sets a filter, in order.
QStringList filterSets(const WindowFixture &w)
{
    QStringList out;
    for (const QString &c : w.engine.log.matching("recorder.Set"))
        if (c.contains("Notch") || c.contains("HighPass") || c.contains("LowPass"))
            out << c;
    return out;
}

// Every call that reads a filter, in order.
QStringList filterGets(const WindowFixture &w)
{
    QStringList out;
    for (const QString &c : w.engine.log.matching("recorder.Get"))
        if (c.contains("Notch") || c.contains("HighPass") || c.contains("LowPass"))
            out << c;
    return out;
}

// The window made at start-up, and its rows' controls (row 1..3) by their object names.
RecordingFiltersWindow *filtersWindow(const WindowFixture &w)
{
    return w.find<RecordingFiltersWindow>("recordingFiltersWindow");
}

QCheckBox *filterSwitch(const RecordingFiltersWindow *f, int row)
{
    return f->findChild<QCheckBox *>(QStringLiteral("filterSwitch%1").arg(row));
}

QSlider *frequencyBar(const RecordingFiltersWindow *f, int row)
{
    return f->findChild<QSlider *>(QStringLiteral("frequencyBar%1").arg(row));
}

FrequencyEdit *frequencyEdit(const RecordingFiltersWindow *f, int row)
{
    return f->findChild<FrequencyEdit *>(QStringLiteral("frequencyEdit%1").arg(row));
}

QLabel *hzLabel(const RecordingFiltersWindow *f, int row)
{
    return f->findChild<QLabel *>(QStringLiteral("hzLabel%1").arg(row));
}

// "Set Filter" on the Recording Controls tab.
void clickSetFilter(const WindowFixture &w)
{
    w.find<QPushButton>("setFilterButton")->click();
}

// Shows the window and waits until it can take the keyboard.
RecordingFiltersWindow *openFilters(WindowFixture &w)
{
    // The main window's own activation must not arrive after the filter window's.
    if (!QTest::qWaitForWindowActive(w.window.get()))
        qWarning("the main window did not become active");
    clickSetFilter(w);
    RecordingFiltersWindow *f = filtersWindow(w);
    // A tool window shares its owner's activation, so isActiveWindow() says yes at once;
    // the keyboard follows QApplication::activeWindow().
    if (!QTest::qWaitFor([f] { return QApplication::activeWindow() == f; }))
        qWarning("the filter window did not become active");
    return f;
}

// Replaces a box's text by typing, as a user who selected it all would.
void typeInto(FrequencyEdit *edit, const QString &text)
{
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClicks(edit, text);
    if (!edit->hasFocus())
        qWarning("the box has no keyboard focus: leaving it cannot be tested");
}

}  // namespace

class TestFilterWindow : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        quiet::install();
        QLocale::setDefault(QLocale::c());
    }
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    void windowAsDesigned()
    {
        WindowFixture w;
        w.start();
        RecordingFiltersWindow *f = filtersWindow(w);
        QVERIFY(f);
        QVERIFY(!f->isVisible());
        QCOMPARE(f->windowTitle(), QString("Recording Filters"));
        QVERIFY(!f->isModal());
        QCOMPARE(f->windowFlags() & Qt::WindowType_Mask, Qt::Tool);
        QVERIFY(f->windowFlags() & Qt::WindowStaysOnTopHint);
        QVERIFY(f->windowFlags() & Qt::WindowCloseButtonHint);
        QVERIFY(!(f->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
        QCOMPARE(f->minimumSize(), QSize(380, 120));
        QCOMPARE(f->maximumSize(), QSize(380, 120));

        const QStringList captions{"Notch Filter", "HighPass Filter", "LowPass Filter"};
        const int mins[3] = {40, 100, 100}, maxs[3] = {200, 44100, 44100}, ticks[3] = {5, 1000, 1000},
                  design[3] = {50, 400, 4000}, tops[3] = {16, 48, 80};
        for (int row = 1; row <= 3; ++row) {
            const int i = row - 1;
            QCOMPARE(filterSwitch(f, row)->text(), captions[i]);
            QCOMPARE(filterSwitch(f, row)->geometry(), QRect(16, tops[i], 89, 21));
            QVERIFY(!filterSwitch(f, row)->isChecked());
            QSlider *bar = frequencyBar(f, row);
            QCOMPARE(bar->geometry(), QRect(112, tops[i], 185, 25));
            QCOMPARE(bar->orientation(), Qt::Horizontal);
            QCOMPARE(bar->minimum(), mins[i]);
            QCOMPARE(bar->maximum(), maxs[i]);
            QCOMPARE(bar->tickInterval(), ticks[i]);
            QCOMPARE(bar->tickPosition(), QSlider::TicksBelow);
            QCOMPARE(bar->value(), design[i]);
            QCOMPARE(frequencyEdit(f, row)->geometry(), QRect(304, tops[i] + 2, 41, 21));
            QCOMPARE(frequencyEdit(f, row)->text(), QString::number(design[i]));
        }
        for (int row = 1; row <= 3; ++row)
            QCOMPARE(hzLabel(f, row)->text(), QString("Hz"));
        QCOMPARE(hzLabel(f, 1)->pos(), QPoint(352, 24));
        QCOMPARE(hzLabel(f, 2)->pos(), QPoint(352, 56));
        QCOMPARE(hzLabel(f, 3)->pos(), QPoint(352, 88));
    }

    void designValuesAtStartUpSendNothing()
    {
        WindowFixture w;
        w.start();
        QCOMPARE(filterSets(w), QStringList());
        QCOMPARE(filterGets(w),
                 QStringList({"recorder.GetNotchEnabled()", "recorder.GetHighPassEnabled()",
                              "recorder.GetLowPassEnabled()", "recorder.GetNotchFrequency()",
                              "recorder.GetHighPassFrequency()", "recorder.GetLowPassFrequency()"}));
    }

    void startUpCopiesTheRecorder_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<float>("recorderHz");
        QTest::addColumn<int>("position");   // the bar afterwards
        QTest::addColumn<bool>("sent");      // whether the position went back to the recorder
        const float nan = std::numeric_limits<float>::quiet_NaN();
        const float inf = std::numeric_limits<float>::infinity();
        QTest::newRow("notch 0 Hz: the bottom") << 1 << 0.0f << 40 << true;
        QTest::newRow("notch 50 Hz: as designed") << 1 << 50.0f << 50 << false;
        QTest::newRow("notch 60.5 to even") << 1 << 60.5f << 60 << true;
        QTest::newRow("notch 61.5 to even") << 1 << 61.5f << 62 << true;
        QTest::newRow("notch 49.5 to even is 50") << 1 << 49.5f << 50 << false;
        QTest::newRow("notch 50.5 to even is 50") << 1 << 50.5f << 50 << false;
        QTest::newRow("notch 77.49") << 1 << 77.49f << 77 << true;
        QTest::newRow("notch 199.5 to even") << 1 << 199.5f << 200 << true;
        QTest::newRow("notch above the range") << 1 << 1000.0f << 200 << true;
        QTest::newRow("notch far above") << 1 << 1e20f << 200 << true;
        QTest::newRow("notch infinite") << 1 << inf << 200 << true;
        QTest::newRow("notch negative") << 1 << -3.0f << 40 << true;
        QTest::newRow("notch NaN leaves the bar") << 1 << nan << 50 << false;
        QTest::newRow("high-pass 400 Hz: as designed") << 2 << 400.0f << 400 << false;
        QTest::newRow("high-pass 400.5 to even is 400") << 2 << 400.5f << 400 << false;
        QTest::newRow("high-pass 401.5 to even") << 2 << 401.5f << 402 << true;
        QTest::newRow("high-pass 50 Hz: the bottom") << 2 << 50.0f << 100 << true;
        QTest::newRow("low-pass 4000 Hz: as designed") << 3 << 4000.0f << 4000 << false;
        QTest::newRow("low-pass 48000 Hz: the top") << 3 << 48000.0f << 44100 << true;
        QTest::newRow("low-pass 1234.5 to even") << 3 << 1234.5f << 1234 << true;
    }
    void startUpCopiesTheRecorder()
    {
        QFETCH(int, row);
        QFETCH(float, recorderHz);
        QFETCH(int, position);
        QFETCH(bool, sent);
        WindowFixture w;
        w.start(false);
        float *hz[4] = {nullptr, &w.recorder()->notchHz, &w.recorder()->highPassHz, &w.recorder()->lowPassHz};
        *hz[row] = recorderHz;
        w.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.window.get()));

        RecordingFiltersWindow *f = filtersWindow(w);
        QCOMPARE(frequencyBar(f, row)->value(), position);
        QCOMPARE(frequencyEdit(f, row)->text(), QString::number(position));
        QCOMPARE(filterSets(w), sent ? QStringList{frequencyCall(row, position)} : QStringList());
        for (int other = 1; other <= 3; ++other)
            if (other != row)
                QCOMPARE(frequencyBar(f, other)->value(), QList<int>({0, 50, 400, 4000})[other]);
    }

    void startUpCopiesTheSwitches_data()
    {
        QTest::addColumn<bool>("notch");
        QTest::addColumn<bool>("highPass");
        QTest::addColumn<bool>("lowPass");
        QTest::newRow("all off") << false << false << false;
        QTest::newRow("notch on") << true << false << false;
        QTest::newRow("high-pass and low-pass on") << false << true << true;
        QTest::newRow("all on") << true << true << true;
    }
    void startUpCopiesTheSwitches()
    {
        QFETCH(bool, notch);
        QFETCH(bool, highPass);
        QFETCH(bool, lowPass);
        WindowFixture w;
        w.start(false);
        w.recorder()->notchOn = notch;
        w.recorder()->highPassOn = highPass;
        w.recorder()->lowPassOn = lowPass;
        w.recorder()->notchHz = 0;   // the switches come first, then the bars
        w.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.window.get()));

        RecordingFiltersWindow *f = filtersWindow(w);
        const bool on[4] = {false, notch, highPass, lowPass};
        QStringList expected;
        QStringList gets;
        for (int row = 1; row <= 3; ++row) {
            QCOMPARE(filterSwitch(f, row)->isChecked(), on[row]);
            gets << QStringLiteral("recorder.Get%1Enabled()").arg(kFilterNames[row]);
            if (on[row]) {
                expected << switchCall(row, true);   // a box that changes sends its switch back
                gets << switchCall(row, true);
            }
        }
        expected << frequencyCall(1, 40);
        QCOMPARE(filterSets(w), expected);
        // In order: each switch is sent back right after it was read.
        const QStringList calls = w.engine.log.matching("recorder.");
        QCOMPARE(calls.filter(QRegularExpression("(Notch|HighPass|LowPass)Enabled")), gets);
    }

    void movingABarSendsItAtOnce_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("position");
        QTest::newRow("notch to 60") << 1 << 60;
        QTest::newRow("notch to the bottom") << 1 << 40;
        QTest::newRow("high-pass to 12000") << 2 << 12000;
        QTest::newRow("low-pass to the top") << 3 << 44100;
    }
    void movingABarSendsItAtOnce()
    {
        QFETCH(int, row);
        QFETCH(int, position);
        WindowFixture w;
        w.start();
        RecordingFiltersWindow *f = openFilters(w);
        w.engine.log.clear();
        // As a drag does: the slider position follows the mouse and tracking reports it.
        frequencyBar(f, row)->setSliderPosition(position);
        QCOMPARE(frequencyEdit(f, row)->text(), QString::number(position));
        QCOMPARE(filterSets(w), QStringList{frequencyCall(row, position)});
    }

    void keysMoveTheBar()
    {
        WindowFixture w;
        w.start();
        RecordingFiltersWindow *f = openFilters(w);
        w.engine.log.clear();
        frequencyBar(f, 1)->setFocus();
        for (int i = 0; i < 10; ++i)
            QTest::keyClick(frequencyBar(f, 1), Qt::Key_Right);
        QCOMPARE(frequencyBar(f, 1)->value(), 60);
        QCOMPARE(frequencyEdit(f, 1)->text(), QString("60"));
        QCOMPARE(filterSets(w).size(), 10);
        QCOMPARE(filterSets(w).last(), frequencyCall(1, 60));
        QTest::keyClick(frequencyBar(f, 1), Qt::Key_PageUp);   // a page is one tick
        QCOMPARE(frequencyBar(f, 1)->value(), 65);
    }

    void typingAFrequency_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("barBefore");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("enter");      // else the box is left with Tab
        QTest::addColumn<int>("barAfter");
        QTest::addColumn<bool>("sent");
        QTest::newRow("120 and Enter") << 1 << 50 << "120" << true << 120 << true;
        QTest::newRow("120 and leaving") << 1 << 50 << "120" << false << 120 << true;
        QTest::newRow("500 above the notch range") << 1 << 150 << "500" << false << 200 << true;
        QTest::newRow("-5 below the range") << 1 << 150 << "-5" << true << 40 << true;
        QTest::newRow("+90 with a sign") << 1 << 50 << "+90" << true << 90 << true;
        QTest::newRow("the bar's own value") << 1 << 70 << "70" << true << 70 << false;
        QTest::newRow("above the top while at the top") << 1 << 200 << "900" << false << 200 << false;
        QTest::newRow("12.5 is no whole number") << 1 << 50 << "12.5" << false << 50 << false;
        QTest::newRow("12.5 and Enter") << 1 << 50 << "12.5" << true << 50 << false;
        QTest::newRow("empty") << 1 << 50 << "" << false << 50 << false;
        QTest::newRow("only a sign") << 2 << 400 << "-" << false << 400 << false;
        QTest::newRow("two signs") << 2 << 400 << "+-3" << true << 400 << false;
        QTest::newRow("beyond 32 bits") << 2 << 400 << "99999999999" << false << 400 << false;
        QTest::newRow("high-pass 8000") << 2 << 400 << "8000" << true << 8000 << true;
        QTest::newRow("low-pass 1000") << 3 << 4000 << "1000" << false << 1000 << true;
        QTest::newRow("low-pass 2147483647") << 3 << 4000 << "2147483647" << true << 44100 << true;
    }
    void typingAFrequency()
    {
        QFETCH(int, row);
        QFETCH(int, barBefore);
        QFETCH(QString, typed);
        QFETCH(bool, enter);
        QFETCH(int, barAfter);
        QFETCH(bool, sent);
        WindowFixture w;
        w.start();
        RecordingFiltersWindow *f = openFilters(w);
        frequencyBar(f, row)->setValue(barBefore);
        w.engine.log.clear();

        FrequencyEdit *edit = frequencyEdit(f, row);
        typeInto(edit, typed);
        QCOMPARE(edit->text(), typed);   // every key was accepted
        QCOMPARE(w.beeps, 0);
        QCOMPARE(filterSets(w), QStringList());   // nothing goes before the text is applied
        if (enter) {
            QTest::keyClick(edit, Qt::Key_Return);
        } else {
            QTest::keyClick(edit, Qt::Key_Tab);
            QVERIFY(!edit->hasFocus());
        }
        QCOMPARE(frequencyBar(f, row)->value(), barAfter);
        QCOMPARE(edit->text(), QString::number(barAfter));
        QCOMPARE(filterSets(w), sent ? QStringList{frequencyCall(row, barAfter)} : QStringList());
        QVERIFY(w.errors().isEmpty());
    }

    void refusedKeys_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<int>("beeps");
        QTest::newRow("a letter") << "C" << "1a2" << "12" << 1;
        QTest::newRow("letters and a blank") << "C" << "x 7y" << "7" << 3;
        QTest::newRow("an exponent") << "C" << "1e3" << "13" << 1;
        QTest::newRow("other signs") << "C" << "*/=5%" << "5" << 4;
        QTest::newRow("comma is no separator here") << "C" << "1,5" << "15" << 1;
        QTest::newRow("point in C") << "C" << "1.5" << "1.5" << 0;
        QTest::newRow("comma in German") << "de_DE" << "1,5" << "1,5" << 0;
        QTest::newRow("point in German") << "de_DE" << "1.5" << "15" << 1;
        QTest::newRow("signs pass") << "C" << "+-" << "+-" << 0;
    }
    void refusedKeys()
    {
        QFETCH(QString, locale);
        QFETCH(QString, keys);
        QFETCH(QString, shown);
        QFETCH(int, beeps);
        QLocale::setDefault(QLocale(locale));
        WindowFixture w;
        w.start();
        RecordingFiltersWindow *f = openFilters(w);
        w.engine.log.clear();
        typeInto(frequencyEdit(f, 2), keys);
        QCOMPARE(frequencyEdit(f, 2)->text(), shown);
        QCOMPARE(w.beeps, beeps);
        QCOMPARE(filterSets(w), QStringList());
    }

    void isFrequencyKey_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("accepted");
        for (char c = '0'; c <= '9'; ++c)
            QTest::addRow("digit %c", c) << "C" << int(c) << true;
        QTest::newRow("plus") << "C" << int('+') << true;
        QTest::newRow("minus") << "C" << int('-') << true;
        QTest::newRow("point in C") << "C" << int('.') << true;
        QTest::newRow("comma in C") << "C" << int(',') << false;
        QTest::newRow("comma in French") << "fr_FR" << int(',') << true;
        QTest::newRow("point in French") << "fr_FR" << int('.') << false;
        QTest::newRow("backspace") << "C" << 8 << true;
        QTest::newRow("Ctrl+V") << "C" << 22 << true;
        QTest::newRow("Ctrl+C") << "C" << 3 << true;
        QTest::newRow("escape") << "C" << 27 << true;
        QTest::newRow("carriage return") << "C" << 13 << false;
        QTest::newRow("blank") << "C" << 32 << false;
        QTest::newRow("letter") << "C" << int('k') << false;
        QTest::newRow("delete character") << "C" << 127 << false;
        QTest::newRow("Arabic-Indic digit") << "C" << 0x0663 << false;
    }
    void isFrequencyKey()
    {
        QFETCH(QString, locale);
        QFETCH(int, key);
        QFETCH(bool, accepted);
        QLocale::setDefault(QLocale(locale));
        QCOMPARE(::isFrequencyKey(QChar(key)), accepted);
    }

    void editingKeysStillWork()
    {
        WindowFixture w;
        w.start();
        RecordingFiltersWindow *f = openFilters(w);
        typeInto(frequencyEdit(f, 1), "123");
        QTest::keyClick(frequencyEdit(f, 1), Qt::Key_Backspace);
        QTest::keyClick(frequencyEdit(f, 1), Qt::Key_Home);
        QTest::keyClick(frequencyEdit(f, 1), Qt::Key_Delete);
        QCOMPARE(frequencyEdit(f, 1)->text(), QString("2"));
        QTest::keyClick(frequencyEdit(f, 1), Qt::Key_End);
        QTest::keyClicks(frequencyEdit(f, 1), "0");
        QTest::keyClick(frequencyEdit(f, 1), Qt::Key_Return);
        QCOMPARE(frequencyBar(f, 1)->value(), 40);   // 20 is below the notch range
        QCOMPARE(w.beeps, 0);
    }

    void pastedTextIsCheckedWhenApplied()
    {
        WindowFixture w;
        w.start();
        RecordingFiltersWindow *f = openFilters(w);
        QGuiApplication::clipboard()->setText("abc");
        if (QGuiApplication::clipboard()->text() != "abc")
            QSKIP("this platform offers no clipboard");
        w.engine.log.clear();
        typeInto(frequencyEdit(f, 3), "");
        QTest::keyClick(frequencyEdit(f, 3), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(frequencyEdit(f, 3)->text(), QString("abc"));   // pasted as it is, no beep
        QCOMPARE(w.beeps, 0);
        QTest::keyClick(frequencyEdit(f, 3), Qt::Key_Tab);
        QCOMPARE(frequencyEdit(f, 3)->text(), QString("4000"));
        QCOMPARE(filterSets(w), QStringList());

        QGuiApplication::clipboard()->setText(" 2500 ");
        typeInto(frequencyEdit(f, 3), "");
        QTest::keyClick(frequencyEdit(f, 3), Qt::Key_V, Qt::ControlModifier);
        QTest::keyClick(frequencyEdit(f, 3), Qt::Key_Return);
        QCOMPARE(frequencyBar(f, 3)->value(), 2500);
        QCOMPARE(filterSets(w), QStringList{frequencyCall(3, 2500)});
    }

    void switchesGoAtOnceDuringARecording_data()
    {
        QTest::addColumn<int>("row");
        QTest::newRow("notch") << 1;
        QTest::newRow("high-pass") << 2;
        QTest::newRow("low-pass") << 3;
    }
    void switchesGoAtOnceDuringARecording()
    {
        QFETCH(int, row);
        WindowFixture w;
        w.start();
        w.changeSettings([&](RecordingSettings &s) { s.savePath = w.path("rec/"); });
        w.trigger("recordAction");
        QCOMPARE(w.recording().state(), RecordingSession::State::Recording);
        QVERIFY(w.recorder()->isRunning());
        RecordingFiltersWindow *f = openFilters(w);
        w.engine.log.clear();

        QTest::mouseClick(filterSwitch(f, row), Qt::LeftButton);
        QCOMPARE(filterSets(w), QStringList{switchCall(row, true)});
        QTest::keyClick(filterSwitch(f, row), Qt::Key_Space);
        QCOMPARE(filterSets(w), QStringList({switchCall(row, true), switchCall(row, false)}));
        // The recording goes on untouched.
        QVERIFY(w.recorder()->isRunning());
        QCOMPARE(w.engine.log.count("recorder.Stop"), 0);
        w.recorder()->emitBlock();
        QCOMPARE(w.recording().state(), RecordingSession::State::Recording);

        // A frequency typed meanwhile goes as well.
        typeInto(frequencyEdit(f, row), "150");
        QTest::keyClick(frequencyEdit(f, row), Qt::Key_Return);
        QCOMPARE(filterSets(w).last(), frequencyCall(row, 150));
        w.trigger("stopAction");
    }

    void setFilterShowsAndRaises()
    {
        WindowFixture w;
        w.start();
        w.window->move(60, 40);
        RecordingFiltersWindow *f = filtersWindow(w);
        QVERIFY(!f->isVisible());

        clickSetFilter(w);
        QVERIFY(f->isVisible());
        QTRY_COMPARE(QApplication::activeWindow(), static_cast<QWidget *>(f));
        QCOMPARE(QApplication::activeModalWidget(), nullptr);   // not modal
        const QPoint offset = f->frameGeometry().center() - w.window->frameGeometry().center();
        QVERIFY2(offset.manhattanLength() <= 2, qPrintable(QStringLiteral("%1,%2").arg(offset.x()).arg(offset.y())));

        // Moved aside and behind the main window: a second click brings it to the front
        // where it is.
        f->move(f->pos() + QPoint(30, 20));
        const QPoint movedTo = f->pos();
        w.window->activateWindow();
        QTRY_COMPARE(QApplication::activeWindow(), static_cast<QWidget *>(w.window.get()));
        clickSetFilter(w);
        QTRY_COMPARE(QApplication::activeWindow(), static_cast<QWidget *>(f));
        QCOMPARE(f->pos(), movedTo);

        // The close box hides it; the controls keep their values.
        frequencyBar(f, 2)->setValue(9000);
        filterSwitch(f, 3)->click();
        f->close();
        QVERIFY(!f->isVisible());
        QVERIFY(f == filtersWindow(w));
        clickSetFilter(w);
        QVERIFY(f->isVisible());
        QCOMPARE(frequencyBar(f, 2)->value(), 9000);
        QCOMPARE(frequencyEdit(f, 2)->text(), QString("9000"));
        QVERIFY(filterSwitch(f, 3)->isChecked());
    }
};

QTEST_MAIN(TestFilterWindow)
#include "tst_filter_window.moc"
