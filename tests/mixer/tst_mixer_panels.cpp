// The mixer tabs on the recording fake engine: device lists, strips and their handlers,
// and the top rows' layout.
#include "app/window_fixture.h"
#include "widgets/quiet_offscreen.h"
#include "ui/advanced_controls_dialog.h"
#include "mixer_test_util.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollArea>
#include <QScrollBar>
#include <QSlider>
#include <QTabWidget>
#include <QTimer>
#include <QToolTip>

using mixertest::strips;

namespace {

fake::Line line(const QString &name, int volume = 32768, int balance = 50, bool mute = false)
{
    fake::Line l;
    l.name = name;
    l.volume = volume;
    l.balance = balance;
    l.mute = mute;
    return l;
}

fake::Device device(const QString &name, std::vector<fake::Line> lines, bool available = true)
{
    fake::Device d;
    d.name = name;
    d.available = available;
    d.lines = std::move(lines);
    return d;
}

// Devices named D0, D1, ... with two lines each; availability from a string of 0 and 1.
std::vector<fake::Device> devices(const QString &availability)
{
    std::vector<fake::Device> out;
    for (int i = 0; i < availability.size(); ++i)
        out.push_back(device(QStringLiteral("D%1").arg(i),
                             {line(QStringLiteral("Master %1").arg(i)), line(QStringLiteral("Own %1").arg(i))},
                             availability[i] == QLatin1Char('1')));
    return out;
}

fake::MixerWorld &world(WindowFixture &w, bool recording)
{
    return recording ? w.engine.inputs : w.engine.outputs;
}

QString sideName(bool recording)
{
    return recording ? QStringLiteral("recorder.") : QStringLiteral("player.");
}

QComboBox *deviceList(const MainWindow &form, bool recording)
{
    return recording ? form.DeviceComboIn : form.DeviceCombo;
}

QStringList lineNames(const QList<MixerStrip *> &list)
{
    QStringList out;
    for (const MixerStrip *s : list)
        out << s->Label1->toolTip();
    return out;
}

void start(WindowFixture &w)
{
    w.start();
}

// The user picks a list item with the keyboard, as with the mouse: activated() follows.
void chooseItem(MainWindow &form, bool recording, int row)
{
    form.ShowTab(recording ? 1 : 2);
    QComboBox *list = deviceList(form, recording);
    list->setFocus();
    while (list->currentIndex() < row)
        QTest::keyClick(list, Qt::Key_Down);
    while (list->currentIndex() > row)
        QTest::keyClick(list, Qt::Key_Up);
}

}  // namespace

class TestMixerPanels : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { quiet::install(); }

    void deviceChoice_data()
    {
        QTest::addColumn<bool>("recording");
        QTest::addColumn<QString>("availability");
        QTest::addColumn<int>("current");
        QTest::addColumn<int>("chosen");
        QTest::addColumn<QStringList>("listed");
        QTest::addColumn<int>("row");
        for (const bool rec : {false, true}) {
            const char *side = rec ? "input: " : "output: ";
            const auto row = [&](const char *name) -> QTestData & { return QTest::newRow((QByteArray(side) + name).constData()) << rec; };
            row("all available") << "111" << 1 << 1 << QStringList{"D0", "D1", "D2"} << 1;
            row("current unavailable, next taken") << "101" << 1 << 2 << QStringList{"D0", "D2"} << 1;
            row("a run of unavailable devices") << "1001" << 1 << 3 << QStringList{"D0", "D3"} << 1;
            row("beyond the highest index") << "110" << 2 << 0 << QStringList{"D0", "D1"} << 0;
            row("gap before the current device") << "101" << 2 << 2 << QStringList{"D0", "D2"} << 1;
            row("nothing available") << "0" << 0 << 0 << QStringList{} << -1;
            row("no devices at all") << "" << 0 << 0 << QStringList{} << -1;
        }
    }

    void deviceChoice()
    {
        QFETCH(bool, recording);
        QFETCH(QString, availability);
        QFETCH(int, current);
        QFETCH(int, chosen);
        QFETCH(QStringList, listed);
        QFETCH(int, row);
        WindowFixture w;
        world(w, recording).devices = devices(availability);
        world(w, recording).current = short(current);
        start(w);

        QCOMPARE(int(world(w, recording).current), chosen);
        QComboBox *list = deviceList(*w.form, recording);
        QStringList shown;
        for (int i = 0; i < list->count(); ++i) {
            shown << list->itemText(i);
            // The attached index is the device's own, whatever its place in the list.
            QCOMPARE(list->itemData(i).toInt(), list->itemText(i).mid(1).toInt());
        }
        QCOMPARE(shown, listed);
        QCOMPARE(list->currentIndex(), row);
    }

    void choosingAnItemSendsItsAttachedIndex_data()
    {
        QTest::addColumn<bool>("recording");
        QTest::newRow("output") << false;
        QTest::newRow("input") << true;
    }

    void choosingAnItemSendsItsAttachedIndex()
    {
        QFETCH(bool, recording);
        WindowFixture w;
        world(w, recording).devices = {
            device("D0", {line("a0"), line("b0")}),
            device("D1", {line("a1")}, false),
            device("D2", {line("a2"), line("b2"), line("c2")}),
        };
        start(w);
        QCOMPARE(lineNames(strips(*w.form, recording)), QStringList({"a0", "b0"}));

        w.engine.log.clear();
        chooseItem(*w.form, recording, 1);
        const QString side = sideName(recording);
        QVERIFY2(w.engine.log.calls.startsWith(side + "SetDevice(2)"), qPrintable(w.engine.log.calls.join(" ; ")));
        QCOMPARE(w.engine.log.count(side + "SetDevice("), 1);
        QCOMPARE(int(world(w, recording).current), 2);
        QCOMPARE(lineNames(strips(*w.form, recording)), QStringList({"a2", "b2", "c2"}));
        QCOMPARE(w.errors(), QStringList());
    }

    void selectingFromCodeIsNoChoice()
    {
        WindowFixture w;
        w.engine.outputs.devices = devices("11");
        w.engine.inputs.devices = devices("11");
        start(w);
        w.engine.log.clear();
        w.form->DeviceCombo->setCurrentIndex(1);
        w.form->DeviceComboIn->setCurrentIndex(1);
        QCOMPARE(w.engine.log.calls, QStringList());
    }

    void fillingTheListsBuildsNoStrips()
    {
        WindowFixture w;
        start(w);
        const QList<MixerStrip *> before = strips(*w.form, false);
        w.engine.log.clear();
        w.form->FillDeviceLists();
        QCOMPARE(w.engine.log.count("player.GetLineCount"), 0);
        QCOMPARE(w.engine.log.count("recorder.GetLineCount"), 0);
        QCOMPARE(strips(*w.form, false), before);
    }

    void buildingWritesNothing()
    {
        WindowFixture w;
        fake::Line bass = line("Bass", 1000, 20, true);
        bass.advanced = {{"Loudness", true}, {"Tone", 1234}};
        w.engine.outputs.devices = {device("Speakers", {line("Master", 65535, 0), line("Own", 0, 100), bass}),
                                    device("Headphones", {line("Master", 4000, 70)})};
        w.engine.inputs.devices = {device("Card", {line("Mic", 200, 10, false), line("Line", 60000, 90, true)})};
        start(w);

        // Start-up built everything; not one mixer value went back to the engine.
        static const QRegularExpression mixerWrite(
            R"(^Audio(Player|Record)1\.(SetLineVolume|SetLineBalance|SetLineMute|SetLineSelected|SetAdvancedValue)\()");
        QCOMPARE(w.engine.log.calls.filter(mixerWrite), QStringList());

        // Rebuilding, refilling and opening the tabs only read (and address lines and devices).
        w.engine.log.clear();
        w.form->FillDeviceLists();
        w.form->BuildPlaybackStrips();
        w.form->BuildRecordingStrips();
        w.form->ShowTab(1);
        w.form->ShowTab(2);
        QCoreApplication::processEvents();
        static const QRegularExpression readOnly(R"(^Audio(Player|Record)1\.(Get\w+|SetLine|SetDevice)\()");
        QVERIFY(!w.engine.log.calls.isEmpty());
        for (const QString &call : w.engine.log.calls)
            QVERIFY2(readOnly.match(call).hasMatch(), qPrintable(call));
        QCOMPARE(w.engine.outputs.devices[0].lines[2].volume, 1000);
        QCOMPARE(w.engine.outputs.devices[0].lines[2].balance, 20);
        QCOMPARE(w.engine.outputs.devices[0].lines[2].advanced[1].value, QVariant(1234));
        QCOMPARE(w.errors(), QStringList());
    }

    void eightLinesWidenTheWindow()
    {
        WindowFixture w;
        std::vector<fake::Line> lines;
        for (int i = 0; i < 8; ++i)
            lines.push_back(line(QStringLiteral("Line %1").arg(i)));
        w.engine.outputs.devices = {device("Speakers", lines)};
        start(w);

        const QList<MixerStrip *> list = strips(*w.form, false);
        QCOMPARE(list.size(), 8);
        for (int i = 0; i < 8; ++i) {
            QCOMPARE(list[i]->objectName(), QStringLiteral("sf%1").arg(i));
            QCOMPARE(list[i]->geometry(), QRect(79 * i, 26, 81, 186));
        }
        QCOMPARE(w.form->width(), 651);
        // At that width every strip is in view: nothing to scroll.
        w.form->ShowTab(2);
        QCoreApplication::processEvents();
        QCOMPARE(mixertest::page(*w.form, false)->StripArea->horizontalScrollBar()->maximum(), 0);

        // Fewer lines elsewhere never shrink the window.
        w.form->BuildRecordingStrips();
        QCOMPARE(w.form->width(), 651);
    }

    void narrowTabScrollsToEveryStrip()
    {
        WindowFixture w;
        std::vector<fake::Line> lines;
        for (int i = 0; i < 10; ++i)
            lines.push_back(line(QStringLiteral("Line %1").arg(i)));
        w.engine.inputs.devices = {device("Card", lines)};
        start(w);
        w.form->ShowTab(1);
        w.form->resize(560, w.form->height());
        QCoreApplication::processEvents();

        MixerPage *page = mixertest::page(*w.form, true);
        const QList<MixerStrip *> list = page->Strips();
        QCOMPARE(list.last()->geometry(), QRect(79 * 9, 26, 81, 186));   // kept on resize
        QScrollBar *bar = page->StripArea->horizontalScrollBar();
        QVERIFY(bar->maximum() > 0);
        QVERIFY(!page->StripArea->viewport()->rect().contains(
            list.last()->mapTo(page->StripArea->viewport(), list.last()->rect().topRight())));
        bar->setValue(bar->maximum());
        QCoreApplication::processEvents();
        QVERIFY(page->StripArea->viewport()->rect().contains(
            list.last()->mapTo(page->StripArea->viewport(), list.last()->rect().topRight())));
        QCOMPARE(list.last()->geometry(), QRect(79 * 9, 26, 81, 186));
    }

    void stripShowsTheLine()
    {
        WindowFixture w;
        w.engine.outputs.devices = {device("Speakers", {line("Loud", 65535, 50, true), line("Silent", 0, 0),
                                                        line("Half", 32768, 100)})};
        start(w);
        w.form->ShowTab(2);
        QCoreApplication::processEvents();
        const QList<MixerStrip *> list = strips(*w.form, false);
        QCOMPARE(list.size(), 3);
        QCOMPARE(list[0]->Label1->text(), QString("Loud"));
        QCOMPARE(list[0]->CheckBox1->text(), QString("Mute"));
        QVERIFY(list[0]->CheckBox1->isChecked());
        QVERIFY(!list[1]->CheckBox1->isChecked());

        // Volume: 65535 puts the thumb at the top, 0 at the bottom.
        QCOMPARE(list[0]->TrackBar1->value(), 0);
        QCOMPARE(list[1]->TrackBar1->value(), 65535);
        QCOMPARE(list[2]->TrackBar1->value(), 65535 - 32768);
        const QRect loud = mixertest::handleRect(list[0]->TrackBar1);
        const QRect silent = mixertest::handleRect(list[1]->TrackBar1);
        const QRect half = mixertest::handleRect(list[2]->TrackBar1);
        QVERIFY(loud.top() < half.top() && half.top() < silent.top());
        QVERIFY(loud.top() <= 4);
        QVERIFY(silent.bottom() >= list[1]->TrackBar1->height() - 5);

        // Balance: 50 in the middle, 0 at the left, 100 at the right.
        QCOMPARE(list[0]->TrackBar2->value(), 50);
        const QRect centre = mixertest::handleRect(list[0]->TrackBar2);
        QVERIFY(qAbs(centre.center().x() - mixertest::grooveRect(list[0]->TrackBar2).center().x()) <= 1);
        QVERIFY(mixertest::handleRect(list[1]->TrackBar2).left() < centre.left());
        QVERIFY(mixertest::handleRect(list[2]->TrackBar2).left() > centre.left());
    }

    void stripLayout()
    {
        WindowFixture w;
        start(w);
        MixerStrip *strip = strips(*w.form, false).first();
        QCOMPARE(strip->Panel1->geometry(), QRect(0, 0, 81, 185));
        QCOMPARE(strip->Label1->geometry(), QRect(0, 4, 81, 17));
        QVERIFY(strip->Label1->wordWrap());
        QCOMPARE(strip->TrackBar2->geometry(), QRect(8, 20, 65, 24));
        QCOMPARE(strip->Panel2->geometry(), QRect(0, 48, 81, 2));
        QCOMPARE(strip->TrackBar1->geometry(), QRect(24, 52, 33, 73));
        QCOMPARE(strip->CheckBox1->pos(), QPoint(16, 128));
        QCOMPARE(strip->Button1->geometry(), QRect(8, 152, 65, 25));
        QCOMPARE(strip->Button1->text(), QString("Advanced"));
        QCOMPARE(strip->TrackBar1->orientation(), Qt::Vertical);
        QCOMPARE(strip->TrackBar1->tickInterval(), 5000);
        QCOMPARE(strip->TrackBar1->tickPosition(), QSlider::TicksBothSides);
        QCOMPARE(strip->TrackBar2->maximum(), 100);
        QCOMPARE(strip->TrackBar2->tickInterval(), 25);
    }

    void longNameShortenedWholeInTooltip()
    {
        WindowFixture w;
        w.engine.outputs.devices = {device("Speakers", {line("Master"), line("A very long application name")})};
        start(w);
        MixerStrip *strip = strips(*w.form, false)[1];
        QVERIFY(strip->Label1->text() != strip->Label1->toolTip());
        QVERIFY(strip->Label1->text().endsWith(QChar(0x2026)));
        QCOMPARE(strip->Label1->toolTip(), QString("A very long application name"));
        QVERIFY(strip->Label1->fontMetrics().horizontalAdvance(strip->Label1->text()) <= 81);
    }

    void volumeBarWrites_data()
    {
        QTest::addColumn<bool>("recording");
        QTest::newRow("playback") << false;
        QTest::newRow("recording") << true;
    }

    void volumeBarWrites()
    {
        QFETCH(bool, recording);
        WindowFixture w;
        world(w, recording).devices = {device("Card", {line("Zero"), line("One")})};
        start(w);
        w.form->ShowTab(recording ? 1 : 2);
        QSlider *bar = strips(*w.form, recording)[1]->TrackBar1;
        const QString side = sideName(recording);

        w.engine.log.clear();
        bar->setValue(1000);
        QCOMPARE(w.engine.log.calls, QStringList({side + "SetLine(1)", side + "SetLineVolume(64535)"}));
        QCOMPARE(bar->toolTip(), QString("64535"));
        QCOMPARE(QToolTip::text(), QString("64535"));
        QCOMPARE(world(w, recording).devices[0].lines[1].volume, 64535);

        // Up makes it louder, as the thumb moves up.
        w.engine.log.clear();
        bar->setFocus();
        QTest::keyClick(bar, Qt::Key_Up);
        QCOMPARE(w.engine.log.calls, QStringList({side + "SetLine(1)", side + "SetLineVolume(65190)"}));
    }

    void balanceBarWrites_data() { volumeBarWrites_data(); }

    void balanceBarWrites()
    {
        QFETCH(bool, recording);
        WindowFixture w;
        world(w, recording).devices = {device("Card", {line("Zero"), line("One")})};
        start(w);
        const QString side = sideName(recording);
        w.engine.log.clear();
        strips(*w.form, recording)[0]->TrackBar2->setValue(30);
        QCOMPARE(w.engine.log.calls, QStringList({side + "SetLine(0)", side + "SetLineBalance(30)"}));
        QCOMPARE(world(w, recording).devices[0].lines[0].balance, 30);
    }

    void muteBoxWrites()
    {
        WindowFixture w;
        start(w);
        MixerStrip *strip = strips(*w.form, false)[1];
        w.engine.log.clear();
        strip->CheckBox1->click();
        QCOMPARE(w.engine.log.calls, QStringList({"player.SetLine(1)", "player.SetLineMute(true)"}));
        strip->CheckBox1->click();
        QCOMPARE(w.engine.log.calls.last(), QString("player.SetLineMute(false)"));
        QVERIFY(!w.engine.outputs.devices[0].lines[1].mute);
    }

    void selectRefreshesEveryBox_data()
    {
        QTest::addColumn<bool>("exclusive");
        QTest::addColumn<QList<bool>>("shown");
        QTest::newRow("one input at a time") << true << QList<bool>{false, false, true};
        QTest::newRow("several inputs") << false << QList<bool>{true, false, true};
    }

    void selectRefreshesEveryBox()
    {
        QFETCH(bool, exclusive);
        QFETCH(QList<bool>, shown);
        WindowFixture w;
        w.engine.inputs.devices = {device("Card", {line("Mic", 100, 50, true), line("Line"), line("CD")})};
        w.engine.inputs.exclusiveSelect = exclusive;
        start(w);
        const QList<MixerStrip *> list = strips(*w.form, true);
        QCOMPARE(list[0]->CheckBox1->text(), QString("Select"));
        QVERIFY(list[0]->CheckBox1->isChecked());

        w.engine.log.clear();
        list[2]->CheckBox1->click();
        QCOMPARE(w.engine.log.calls.mid(0, 3), QStringList({"recorder.SetLine(2)", "recorder.SetLineSelected(true)",
                                                            "recorder.GetLineCount()"}));
        QCOMPARE(w.engine.log.count("recorder.SetLineSelected"), 1);   // the refresh writes nothing
        QCOMPARE(w.engine.log.count("recorder.GetLineSelected"), 3);
        QList<bool> boxes;
        for (const MixerStrip *s : list)
            boxes << s->CheckBox1->isChecked();
        QCOMPARE(boxes, shown);
    }

    void newDeviceReplacesEveryStrip()
    {
        WindowFixture w;
        w.engine.outputs.devices = {device("D0", {line("a"), line("b"), line("c")}), device("D1", {line("x"), line("y")})};
        start(w);
        MixerPage *page = mixertest::page(*w.form, false);

        // The strip area sees the old strips leave, last first, before any new one comes.
        struct Watch : QObject {
            QStringList events;
            bool eventFilter(QObject *, QEvent *e) override
            {
                if (e->type() == QEvent::ChildRemoved)
                    events << "removed " + static_cast<QChildEvent *>(e)->child()->objectName();
                else if (e->type() == QEvent::ChildAdded)
                    events << "added";
                return false;
            }
        } watch;
        page->StripHost->installEventFilter(&watch);
        chooseItem(*w.form, false, 1);
        page->StripHost->removeEventFilter(&watch);

        QCOMPARE(watch.events, QStringList({"removed sf2", "removed sf1", "removed sf0", "added", "added"}));
        const QList<MixerStrip *> list = strips(*w.form, false);
        QCOMPARE(list.size(), 2);
        QCOMPARE(list[0]->objectName(), QString("sf0"));
        QCOMPARE(list[1]->objectName(), QString("sf1"));
        QCOMPARE(lineNames(list), QStringList({"x", "y"}));
        QCOMPARE(page->StripHost->findChildren<MixerStrip *>().size(), 2);
    }

    void oneStripPerLine_data()
    {
        QTest::addColumn<bool>("recording");
        QTest::addColumn<int>("lines");
        QTest::newRow("input, no lines") << true << 0;
        QTest::newRow("input, a single line") << true << 1;
        QTest::newRow("input, three lines") << true << 3;
        QTest::newRow("output, a single line") << false << 1;
    }

    void oneStripPerLine()
    {
        QFETCH(bool, recording);
        QFETCH(int, lines);
        WindowFixture w;
        std::vector<fake::Line> list;
        for (int i = 0; i < lines; ++i)
            list.push_back(line(QStringLiteral("L%1").arg(i)));
        world(w, recording).devices = {device("Card", list)};
        start(w);
        const QList<MixerStrip *> built = strips(*w.form, recording);
        QCOMPARE(built.size(), lines);
        for (int i = 0; i < lines; ++i) {
            QCOMPARE(built[i]->objectName(), (recording ? QString("sfr") : QString("sf")) + QString::number(i));
            QCOMPARE(built[i]->Label1->text(), QStringLiteral("L%1").arg(i));
            QVERIFY(built[i]->isVisibleTo(mixertest::page(*w.form, recording)));
        }
    }

    void unavailableControlsAreDisabled_data() { volumeBarWrites_data(); }

    void unavailableControlsAreDisabled()
    {
        QFETCH(bool, recording);
        WindowFixture w;
        fake::Line bare = line("Bare");
        bare.volumeAvailable = false;
        bare.balanceAvailable = false;
        bare.muteAvailable = false;
        fake::Line full = line("Full");
        full.advanced = {{"Loudness", false}};
        world(w, recording).devices = {device("Card", {bare, full})};
        start(w);
        const QList<MixerStrip *> list = strips(*w.form, recording);
        QVERIFY(!list[0]->TrackBar1->isEnabled());
        QVERIFY(!list[0]->TrackBar2->isEnabled());
        QVERIFY(!list[0]->CheckBox1->isEnabled());
        QVERIFY(list[0]->Button1->isHidden());
        QVERIFY(list[1]->TrackBar1->isEnabled());
        QVERIFY(list[1]->TrackBar2->isEnabled());
        QVERIFY(list[1]->CheckBox1->isEnabled());
        QVERIFY(!list[1]->Button1->isHidden());
    }

    void advancedButtonOpensTheDialog_data() { volumeBarWrites_data(); }

    void advancedButtonOpensTheDialog()
    {
        QFETCH(bool, recording);
        WindowFixture w;
        fake::Line tone = line("Tone");
        tone.advanced = {{"Loudness", true}, {"Bass", 30000}};
        world(w, recording).devices = {device("Card", {line("Zero"), tone})};
        start(w);
        w.form->ShowTab(recording ? 1 : 2);
        const QString side = sideName(recording);

        QString caption;
        bool forRecording = !recording;
        QStringList controls;
        QTimer::singleShot(0, this, [&] {
            auto *dialog = qobject_cast<AdvancedControlsDialog *>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            caption = dialog->windowTitle();
            forRecording = dialog->ForRecording;
            for (const QWidget *c : dialog->GroupBox1->findChildren<QWidget *>(QRegularExpression("^(ch|tb)\\d$")))
                controls << c->objectName();
            // Another line is addressed meanwhile; the dialog's write still lands on its own.
            w.engine.log.clear();
            (recording ? static_cast<engine::IMixerSide *>(w.form->AudioRecord1.get())
                       : static_cast<engine::IMixerSide *>(w.form->AudioPlayer1.get()))
                ->SetLine(0);
            dialog->findChild<QCheckBox *>("ch0")->click();
            dialog->btnClose->click();
        });
        strips(*w.form, recording)[1]->Button1->click();

        QCOMPARE(caption, QString("Advanced Properties for Tone"));
        QCOMPARE(forRecording, recording);
        controls.sort();
        QCOMPARE(controls, QStringList({"ch0", "tb1"}));
        QCOMPARE(w.engine.log.calls, QStringList({side + "SetLine(0)", side + "SetLine(1)", side + "SetAdvancedValue(0,false)",
                                                  side + "srcAdvancedValue(0)"}));
        QCOMPARE(world(w, recording).devices[0].lines[1].advanced[0].value, QVariant(false));
        // Gone once closed; only the dialog made at start-up remains.
        QCOMPARE(w.form->findChildren<AdvancedControlsDialog *>(), QList<AdvancedControlsDialog *>({w.form->frmAdv}));
        QCOMPARE(w.errors(), QStringList());
    }

    void topRows_data()
    {
        QTest::addColumn<int>("windowWidth");
        QTest::newRow("minimum") << 560;
        QTest::newRow("initial") << 598;
        QTest::newRow("wide") << 800;
        QTest::newRow("wider") << 1100;
    }

    void topRows()
    {
        QFETCH(int, windowWidth);
        WindowFixture w;
        start(w);
        MainWindow &f = *w.form;
        const QList<QRect> stripsBefore = {strips(f, false)[0]->geometry(), strips(f, false)[1]->geometry()};
        f.resize(windowWidth, f.height());
        for (int tab : {1, 2}) {
            f.ShowTab(tab);
            QCoreApplication::processEvents();
        }

        // Recording tab: the button keeps 2 pixels to the right edge, the list ends 4 before it.
        const int recWidth = f.TabSheet2->width();
        QCOMPARE(f.btnSetFilter->geometry().right() + 1, recWidth - 2);
        QCOMPARE(f.btnSetFilter->y(), 0);
        QCOMPARE(f.DeviceComboIn->x() + f.DeviceComboIn->width(), f.btnSetFilter->x() - 4);
        QCOMPARE(f.DeviceComboIn->y(), 2);

        // Playback tab: the list ends 8 before the switch; the switch and its window's button
        // sit at the right edge.
        const int playWidth = f.TabSheet3->width();
        QCOMPARE(f.DeviceCombo->x() + f.DeviceCombo->width(), f.chEqualizer->x() - 8);
        QCOMPARE(f.DeviceCombo->y(), 2);
        QCOMPARE(f.chEqualizer->y(), 4);
        QCOMPARE(f.chEqualizer->geometry().right() + 1 + 8, f.btnEqualizer->x());
        QCOMPARE(f.btnEqualizer->geometry().right() + 1, playWidth - 2);
        QCOMPARE(f.btnEqualizer->y(), 0);

        // Labels in front of their lists, nothing overlapping.
        for (QWidget *label : {f.TabSheet2->findChild<QLabel *>("Label1"), f.TabSheet3->findChild<QLabel *>("Label1")}) {
            QCOMPARE(label->pos(), QPoint(0, 6));
        }
        QVERIFY(f.TabSheet2->findChild<QLabel *>("Label1")->geometry().right() < f.DeviceComboIn->x());
        QVERIFY(f.TabSheet3->findChild<QLabel *>("Label1")->geometry().right() < f.DeviceCombo->x());

        // Strips keep their places.
        QCOMPARE(strips(f, false)[0]->geometry(), stripsBefore[0]);
        QCOMPARE(strips(f, false)[1]->geometry(), stripsBefore[1]);
    }

    void topRowsAsDesigned()
    {
        WindowFixture w;
        start(w);
        MainWindow &f = *w.form;
        QCOMPARE(f.TabSheet2->findChild<QLabel *>("Label1")->text(), QString("Input Device"));
        QCOMPARE(f.TabSheet3->findChild<QLabel *>("Label1")->text(), QString("Output Device"));
        QCOMPARE(f.btnSetFilter->text(), QString("Set Filter"));
        QVERIFY(f.btnSetFilter->width() >= 79 && f.btnSetFilter->height() >= 24);
        QVERIFY(!f.DeviceComboIn->isEditable());
        QVERIFY(!f.DeviceCombo->isEditable());
        QCOMPARE(f.chEqualizer->text(), QString("Equalizer"));
        QVERIFY(f.chEqualizer->isTristate());
        QCOMPARE(f.chEqualizer->checkState(), Qt::PartiallyChecked);
        QCOMPARE(f.btnEqualizer->text(), QString("Equalizer..."));
    }

    void equalizerSwitchNeverGraysAgain()
    {
        WindowFixture w;
        start(w);
        QCheckBox *box = w.form->chEqualizer;
        box->click();
        QCOMPARE(box->checkState(), Qt::Checked);
        box->click();
        QCOMPARE(box->checkState(), Qt::Unchecked);
        box->click();
        QCOMPARE(box->checkState(), Qt::Checked);
        box->click();
        QCOMPARE(box->checkState(), Qt::Unchecked);
    }
};

QTEST_MAIN(TestMixerPanels)
#include "tst_mixer_panels.moc"
