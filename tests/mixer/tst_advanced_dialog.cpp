// The advanced controls dialog on the recording fake engine: its layout for a given number
// of controls, and what its switches and bars write.
#include "app/window_fixture.h"
#include "widgets/quiet_offscreen.h"
#include "ui/advanced_controls_dialog.h"
#include "mixer_test_util.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSlider>

namespace {

// A line "Tone" (line 1 of the only device of a side) with the given advanced controls.
void giveControls(fake::MixerWorld &world, std::vector<fake::AdvancedControl> controls)
{
    fake::Device d = fake::FakeEngine::device(QStringLiteral("Card"), {QStringLiteral("Master"), QStringLiteral("Tone")});
    d.lines[1].advanced = std::move(controls);
    world.devices = {d};
}

std::vector<fake::AdvancedControl> controls(int count)
{
    std::vector<fake::AdvancedControl> out;
    for (int k = 0; k < count; ++k)
        out.push_back({QStringLiteral("Control %1").arg(k), QVariant(k % 2 == 0)});
    return out;
}

// The dialog's parts, by their object names.
template <typename T>
T *part(const AdvancedControlsDialog &d, const char *name)
{
    return d.findChild<T *>(QLatin1String(name));
}
QLabel *icon(const AdvancedControlsDialog &d) { return part<QLabel>(d, "icon"); }
QLabel *intro(const AdvancedControlsDialog &d) { return part<QLabel>(d, "introLabel"); }
QGroupBox *controlsGroup(const AdvancedControlsDialog &d) { return part<QGroupBox>(d, "controlsGroup"); }
QLabel *controlsNote(const AdvancedControlsDialog &d) { return part<QLabel>(d, "controlsNote"); }
QPushButton *closeButton(const AdvancedControlsDialog &d) { return part<QPushButton>(d, "closeButton"); }

}  // namespace

class TestAdvancedDialog : public QObject {
    Q_OBJECT

    static void start(WindowFixture &w)
    {
        w.start();
    }

private slots:
    void initTestCase() { quiet::install(); }

    void designedLayout()
    {
        WindowFixture w;
        start(w);
        AdvancedControlsDialog dialog(w.core->outputs(), -1, w.window.get());
        QCOMPARE(dialog.windowTitle(), QString("Dialog"));
        QCOMPARE(dialog.size(), QSize(390, 203));
        QCOMPARE(dialog.outerHeight(), 231);
        QCOMPARE(icon(dialog)->pos(), QPoint(12, 4));
        QVERIFY(!icon(dialog)->pixmap().isNull());
        QCOMPARE(intro(dialog)->text(), QString("These settings can be used to make fine adjustments to your audio."));
        QCOMPARE(intro(dialog)->pos(), QPoint(69, 8));
        QCOMPARE(intro(dialog)->width(), 289);
        QVERIFY(intro(dialog)->wordWrap());
        QCOMPARE(controlsGroup(dialog)->title(), QString("Other Controls"));
        QCOMPARE(controlsGroup(dialog)->geometry(), QRect(16, 56, 361, 105));
        QCOMPARE(controlsNote(dialog)->text(), QString("These settings make other changes to how your audio sounds. "
                                                "See your hardware documentation for details."));
        QCOMPARE(controlsNote(dialog)->pos(), QPoint(16, 32));
        QCOMPARE(controlsNote(dialog)->width(), 321);
        QCOMPARE(closeButton(dialog)->text(), QString("Close"));
        QCOMPARE(closeButton(dialog)->geometry(), QRect(300, 168, 75, 25));
        QVERIFY(closeButton(dialog)->isDefault());
        // A dialog frame with the system menu only: no minimise, maximise or help buttons.
        const Qt::WindowFlags flags = dialog.windowFlags();
        QVERIFY(flags & Qt::WindowSystemMenuHint);
        QVERIFY(!(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint |
                           Qt::WindowContextHelpButtonHint)));
        // None is shown at start-up.
        for (const AdvancedControlsDialog *d : w.window->findChildren<AdvancedControlsDialog *>())
            QVERIFY(!d->isVisible());
    }

    void layoutFollowsTheControls_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<QList<int>>("tops");
        QTest::addColumn<int>("groupHeight");
        QTest::addColumn<int>("closeTop");
        QTest::addColumn<int>("outerHeight");
        QTest::newRow("three controls") << 3 << QList<int>{80, 103, 126} << 159 << 223 << 285;
        QTest::newRow("one control") << 1 << QList<int>{80} << 113 << 177 << 239;
        QTest::newRow("none: the designed layout") << 0 << QList<int>{} << 105 << 168 << 231;
    }

    void layoutFollowsTheControls()
    {
        QFETCH(int, count);
        QFETCH(QList<int>, tops);
        QFETCH(int, groupHeight);
        QFETCH(int, closeTop);
        QFETCH(int, outerHeight);
        WindowFixture w;
        giveControls(w.engine.outputs, controls(count));
        start(w);
        w.player()->SetLine(1);

        AdvancedControlsDialog dialog(w.core->outputs(), 1, w.window.get());
        dialog.show();
        QCOMPARE(dialog.windowTitle(), QString("Advanced Properties for Tone"));
        QList<int> shown;
        for (int k = 0; k < count; ++k) {
            QWidget *c = controlsGroup(dialog)->findChild<QWidget *>(QStringLiteral("ch%1").arg(k));
            QVERIFY(c);
            shown << c->y();
        }
        QCOMPARE(shown, tops);
        QCOMPARE(controlsGroup(dialog)->height(), groupHeight);
        QCOMPARE(closeButton(dialog)->y(), closeTop);
        QCOMPARE(dialog.outerHeight(), outerHeight);
        QCOMPARE(dialog.width(), 390);
        // The Close button stays inside the dialog with about the designed margin below it.
        const int margin = dialog.height() - closeButton(dialog)->geometry().bottom() - 1;
        QVERIFY2(margin >= 8 && margin <= 10, qPrintable(QString::number(margin)));
        // Centred on the main window.
        QVERIFY((dialog.geometry().center() - w.window->geometry().center()).manhattanLength() <= 2);
        QCOMPARE(w.errors(), QStringList());
    }

    void switchesAndBars()
    {
        WindowFixture w;
        giveControls(w.engine.outputs, {{"Loudness", true}, {"Bass", 30000}, {"Surround", false}});
        start(w);
        w.player()->SetLine(1);
        w.engine.log.clear();

        AdvancedControlsDialog dialog(w.core->outputs(), 1, w.window.get());
        dialog.buildControls();
        // Building read the values and wrote nothing.
        QCOMPARE(w.engine.log.count("player.SetAdvancedValue"), 0);
        QCOMPARE(w.engine.log.count("recorder."), 0);

        auto *loudness = dialog.findChild<QCheckBox *>("ch0");
        QVERIFY(loudness);
        QCOMPARE(loudness->text(), QString("1 Loudness"));
        QCOMPARE(loudness->geometry(), QRect(16, 80, 220, 17));
        QVERIFY(loudness->isChecked());

        auto *bass = dialog.findChild<QSlider *>("tb1");
        QVERIFY(bass);
        QCOMPARE(bass->geometry(), QRect(16, 103, 109, 17));
        QCOMPARE(bass->orientation(), Qt::Horizontal);
        QCOMPARE(bass->minimum(), 0);
        QCOMPARE(bass->maximum(), 65535);
        QCOMPARE(bass->tickInterval(), 5000);
        QCOMPARE(bass->value(), 30000);
        QLabel *bassText = nullptr;
        for (QLabel *l : controlsGroup(dialog)->findChildren<QLabel *>())
            if (l->text() == QLatin1String("2 Bass"))
                bassText = l;
        QVERIFY(bassText);
        QCOMPARE(bassText->pos(), QPoint(145, 103));
        QCOMPARE(bassText->height(), 17);

        auto *surround = dialog.findChild<QCheckBox *>("ch2");
        QVERIFY(surround);
        QVERIFY(!surround->isChecked());

        // A switch sends a boolean, a bar an integer, each to the dialog's own line; after a
        // switch the switches are read back.
        w.engine.log.clear();
        loudness->click();
        bass->setValue(12345);
        surround->click();
        QCOMPARE(w.engine.log.calls,
                 QStringList({"player.SetLine(1)", "player.SetAdvancedValue(0,false)",
                              "player.srcAdvancedValue(0)", "player.srcAdvancedValue(2)",
                              "player.SetLine(1)", "player.SetAdvancedValue(1,12345)",
                              "player.SetLine(1)", "player.SetAdvancedValue(2,true)",
                              "player.srcAdvancedValue(0)", "player.srcAdvancedValue(2)"}));
        QVERIFY(!loudness->isChecked());
        QVERIFY(surround->isChecked());
        const auto &stored = w.engine.outputs.devices[0].lines[1].advanced;
        QCOMPARE(stored[0].value.typeId(), QMetaType::Bool);
        QCOMPARE(stored[0].value, QVariant(false));
        QCOMPARE(stored[1].value.typeId(), QMetaType::Int);
        QCOMPARE(stored[1].value, QVariant(12345));
        QCOMPARE(stored[2].value, QVariant(true));
    }

    // The boxes show what the device holds after every click, also when it refused the
    // change or changed other switches with it, as a device's port switches do.
    void switchesShowWhatTheDeviceHolds_data()
    {
        QTest::addColumn<int>("clicked");
        QTest::addColumn<QList<bool>>("shown");
        QTest::newRow("the active port off: refused") << 0 << QList<bool>{true, false, false};
        QTest::newRow("another port on: the old one goes off") << 2 << QList<bool>{false, false, true};
    }
    void switchesShowWhatTheDeviceHolds()
    {
        QFETCH(int, clicked);
        QFETCH(QList<bool>, shown);
        WindowFixture w;
        giveControls(w.engine.outputs, {{"Speakers", true}, {"Headphones", false},
                                        {"Line Out", false}, {"Level", 100}});
        w.engine.outputs.devices[0].lines[1].advancedArePorts = true;
        start(w);
        w.player()->SetLine(1);
        AdvancedControlsDialog dialog(w.core->outputs(), 1, w.window.get());
        dialog.buildControls();
        w.engine.log.clear();
        dialog.findChild<QCheckBox *>(QStringLiteral("ch%1").arg(clicked))->click();
        QList<bool> ticks;
        for (int k = 0; k < 3; ++k)
            ticks << dialog.findChild<QCheckBox *>(QStringLiteral("ch%1").arg(k))->isChecked();
        QCOMPARE(ticks, shown);
        // One write, then the switches read back; setting the boxes wrote nothing more.
        QCOMPARE(w.engine.log.count("player.SetAdvancedValue"), 1);
        QCOMPARE(w.engine.log.count("player.srcAdvancedValue"), 3);
        QCOMPARE(dialog.findChild<QSlider *>("tb3")->value(), 100);
        QCOMPARE(w.errors(), QStringList());
    }

    void recordingSideAddressesTheRecorder()
    {
        WindowFixture w;
        giveControls(w.engine.inputs, {{"Boost", 100}});
        start(w);
        w.recorder()->SetLine(1);
        w.engine.log.clear();

        AdvancedControlsDialog dialog(w.core->inputs(), 1, w.window.get());
        dialog.buildControls();
        QCOMPARE(dialog.windowTitle(), QString("Advanced Properties for Tone"));
        dialog.findChild<QSlider *>("tb0")->setValue(200);
        QCOMPARE(w.engine.log.count("player."), 0);
        QCOMPARE(w.engine.log.calls.mid(w.engine.log.calls.size() - 2),
                 QStringList({"recorder.SetLine(1)", "recorder.SetAdvancedValue(0,200)"}));
        QCOMPARE(w.engine.inputs.devices[0].lines[1].advanced[0].value, QVariant(200));
    }

    void withoutAGivenLineTheCurrentOneIsUsed()
    {
        WindowFixture w;
        giveControls(w.engine.outputs, {{"Loudness", false}});
        start(w);
        w.player()->SetLine(1);
        AdvancedControlsDialog dialog(w.core->outputs(), -1, w.window.get());
        dialog.buildControls();
        w.engine.log.clear();
        dialog.findChild<QCheckBox *>("ch0")->click();
        QCOMPARE(w.engine.log.calls, QStringList({"player.SetAdvancedValue(0,true)",
                                                  "player.srcAdvancedValue(0)"}));
    }

    void closeAccepts()
    {
        WindowFixture w;
        giveControls(w.engine.outputs, controls(1));
        start(w);
        AdvancedControlsDialog dialog(w.core->outputs(), 1, w.window.get());
        dialog.show();
        QVERIFY(dialog.isVisible());
        closeButton(dialog)->click();
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
    }

    void engineErrorIsShownAndTheDialogStays()
    {
        WindowFixture w;
        giveControls(w.engine.outputs, controls(1));
        start(w);
        AdvancedControlsDialog dialog(w.core->outputs(), 5, w.window.get());   // no such line: the engine refuses to name it
        dialog.show();
        QCOMPARE(w.errors(), QStringList({"No such mixer line: 5."}));
        QVERIFY(dialog.isVisible());
        QCOMPARE(dialog.windowTitle(), QString("Dialog"));
        closeButton(dialog)->click();
    }
};

QTEST_MAIN(TestAdvancedDialog)
#include "tst_advanced_dialog.moc"
