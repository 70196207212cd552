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

using mixertest::advancedButton;
using mixertest::balanceBar;
using mixertest::deviceList;
using mixertest::nameLabel;
using mixertest::strips;
using mixertest::switchBox;
using mixertest::volumeBar;

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

QStringList lineNames(const QList<MixerStrip *> &list)
{
    QStringList out;
    for (const MixerStrip *s : list)
        out << nameLabel(s)->toolTip();
    return out;
}

// The tab's strip area, which scrolls sideways, and the strips' parent inside it.
QScrollArea *stripArea(const MainWindow &window, bool recording)
{
    return mixertest::page(window, recording)->findChild<QScrollArea *>(QStringLiteral("stripArea"));
}

QWidget *stripHost(const MixerPage *page)
{
    return page->findChild<QWidget *>(QStringLiteral("stripHost"));
}

void start(WindowFixture &w)
{
    w.start();
}

// The controls of the two mixer tabs' top rows.
struct TopRows {
    explicit TopRows(const WindowFixture &w)
        : inputLabel(w.find<QLabel>("inputDeviceLabel")),
          inputs(w.find<QComboBox>("inputDeviceList")),
          setFilter(w.find<QPushButton>("setFilterButton")),
          outputLabel(w.find<QLabel>("outputDeviceLabel")),
          outputs(w.find<QComboBox>("outputDeviceList")),
          equalizerSwitch(w.find<QCheckBox>("equalizerSwitch")),
          equalizerButton(w.find<QPushButton>("equalizerButton"))
    {
    }
    QLabel *inputLabel;
    QComboBox *inputs;
    QPushButton *setFilter;
    QLabel *outputLabel;
    QComboBox *outputs;
    QCheckBox *equalizerSwitch;
    QPushButton *equalizerButton;
};

// The user picks a list item with the keyboard, as with the mouse: activated() follows.
void chooseItem(MainWindow &window, bool recording, int row)
{
    window.showTab(recording ? 1 : 2);
    QComboBox *list = deviceList(window, recording);
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
        QComboBox *list = deviceList(*w.window, recording);
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
        QCOMPARE(lineNames(strips(*w.window, recording)), QStringList({"a0", "b0"}));

        w.engine.log.clear();
        chooseItem(*w.window, recording, 1);
        const QString side = sideName(recording);
        QVERIFY2(w.engine.log.calls.startsWith(side + "SetDevice(2)"), qPrintable(w.engine.log.calls.join(" ; ")));
        QCOMPARE(w.engine.log.count(side + "SetDevice("), 1);
        QCOMPARE(int(world(w, recording).current), 2);
        QCOMPARE(lineNames(strips(*w.window, recording)), QStringList({"a2", "b2", "c2"}));
        QCOMPARE(w.errors(), QStringList());
    }

    void selectingFromCodeIsNoChoice()
    {
        WindowFixture w;
        w.engine.outputs.devices = devices("11");
        w.engine.inputs.devices = devices("11");
        start(w);
        w.engine.log.clear();
        deviceList(*w.window, false)->setCurrentIndex(1);
        deviceList(*w.window, true)->setCurrentIndex(1);
        QCOMPARE(w.engine.log.calls, QStringList());
    }

    void fillingTheListsBuildsNoStrips()
    {
        WindowFixture w;
        start(w);
        const QList<MixerStrip *> before = strips(*w.window, false);
        w.engine.log.clear();
        mixertest::page(*w.window, false)->fillDeviceList();
        mixertest::page(*w.window, true)->fillDeviceList();
        QCOMPARE(w.engine.log.count("player.GetLineCount"), 0);
        QCOMPARE(w.engine.log.count("recorder.GetLineCount"), 0);
        QCOMPARE(strips(*w.window, false), before);
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
            R"(^(player|recorder)\.(SetLineVolume|SetLineBalance|SetLineMute|SetLineSelected|SetAdvancedValue)\()");
        QCOMPARE(w.engine.log.calls.filter(mixerWrite), QStringList());

        // Rebuilding, refilling and opening the tabs only read (and address lines and devices).
        w.engine.log.clear();
        mixertest::page(*w.window, false)->fillDeviceList();
        mixertest::page(*w.window, true)->fillDeviceList();
        mixertest::page(*w.window, false)->buildStrips();
        mixertest::page(*w.window, true)->buildStrips();
        w.window->showTab(1);
        w.window->showTab(2);
        QCoreApplication::processEvents();
        static const QRegularExpression readOnly(R"(^(player|recorder)\.(Get\w+|SetLine|SetDevice)\()");
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

        const QList<MixerStrip *> list = strips(*w.window, false);
        QCOMPARE(list.size(), 8);
        for (int i = 0; i < 8; ++i) {
            QCOMPARE(list[i]->objectName(), QStringLiteral("playbackStrip%1").arg(i));
            QCOMPARE(list[i]->geometry(), QRect(79 * i, 26, 81, 186));
        }
        QCOMPARE(w.window->width(), 651);
        // At that width every strip is in view: nothing to scroll.
        w.window->showTab(2);
        QCoreApplication::processEvents();
        QCOMPARE(stripArea(*w.window, false)->horizontalScrollBar()->maximum(), 0);

        // Fewer lines elsewhere never shrink the window.
        mixertest::page(*w.window, true)->buildStrips();
        QCOMPARE(w.window->width(), 651);
    }

    void narrowTabScrollsToEveryStrip()
    {
        WindowFixture w;
        std::vector<fake::Line> lines;
        for (int i = 0; i < 10; ++i)
            lines.push_back(line(QStringLiteral("Line %1").arg(i)));
        w.engine.inputs.devices = {device("Card", lines)};
        start(w);
        w.window->showTab(1);
        w.window->resize(560, w.window->height());
        QCoreApplication::processEvents();

        MixerPage *page = mixertest::page(*w.window, true);
        const QList<MixerStrip *> list = page->strips();
        QCOMPARE(list.last()->geometry(), QRect(79 * 9, 26, 81, 186));   // kept on resize
        QScrollArea *area = stripArea(*w.window, true);
        QScrollBar *bar = area->horizontalScrollBar();
        QVERIFY(bar->maximum() > 0);
        QVERIFY(!area->viewport()->rect().contains(
            list.last()->mapTo(area->viewport(), list.last()->rect().topRight())));
        bar->setValue(bar->maximum());
        QCoreApplication::processEvents();
        QVERIFY(area->viewport()->rect().contains(
            list.last()->mapTo(area->viewport(), list.last()->rect().topRight())));
        QCOMPARE(list.last()->geometry(), QRect(79 * 9, 26, 81, 186));
    }

    void stripShowsTheLine()
    {
        WindowFixture w;
        w.engine.outputs.devices = {device("Speakers", {line("Loud", 65535, 50, true), line("Silent", 0, 0),
                                                        line("Half", 32768, 100)})};
        start(w);
        w.window->showTab(2);
        QCoreApplication::processEvents();
        const QList<MixerStrip *> list = strips(*w.window, false);
        QCOMPARE(list.size(), 3);
        QCOMPARE(nameLabel(list[0])->text(), QString("Loud"));
        QCOMPARE(switchBox(list[0])->text(), QString("Mute"));
        QVERIFY(switchBox(list[0])->isChecked());
        QVERIFY(!switchBox(list[1])->isChecked());

        // Volume: 65535 puts the thumb at the top, 0 at the bottom.
        QCOMPARE(volumeBar(list[0])->value(), 0);
        QCOMPARE(volumeBar(list[1])->value(), 65535);
        QCOMPARE(volumeBar(list[2])->value(), 65535 - 32768);
        const QRect loud = mixertest::handleRect(volumeBar(list[0]));
        const QRect silent = mixertest::handleRect(volumeBar(list[1]));
        const QRect half = mixertest::handleRect(volumeBar(list[2]));
        QVERIFY(loud.top() < half.top() && half.top() < silent.top());
        QVERIFY(loud.top() <= 4);
        QVERIFY(silent.bottom() >= volumeBar(list[1])->height() - 5);

        // Balance: 50 in the middle, 0 at the left, 100 at the right.
        QCOMPARE(balanceBar(list[0])->value(), 50);
        const QRect centre = mixertest::handleRect(balanceBar(list[0]));
        QVERIFY(qAbs(centre.center().x() - mixertest::grooveRect(balanceBar(list[0])).center().x()) <= 1);
        QVERIFY(mixertest::handleRect(balanceBar(list[1])).left() < centre.left());
        QVERIFY(mixertest::handleRect(balanceBar(list[2])).left() > centre.left());
    }

    void stripLayout()
    {
        WindowFixture w;
        start(w);
        MixerStrip *strip = strips(*w.window, false).first();
        QCOMPARE(strip->findChild<QFrame *>("panel")->geometry(), QRect(0, 0, 81, 185));
        QCOMPARE(nameLabel(strip)->geometry(), QRect(0, 4, 81, 17));
        QVERIFY(nameLabel(strip)->wordWrap());
        QCOMPARE(balanceBar(strip)->geometry(), QRect(8, 20, 65, 24));
        QCOMPARE(strip->findChild<QFrame *>("separator")->geometry(), QRect(0, 48, 81, 2));
        QCOMPARE(volumeBar(strip)->geometry(), QRect(24, 52, 33, 73));
        QCOMPARE(switchBox(strip)->pos(), QPoint(16, 128));
        QCOMPARE(advancedButton(strip)->geometry(), QRect(8, 152, 65, 25));
        QCOMPARE(advancedButton(strip)->text(), QString("Advanced"));
        QCOMPARE(volumeBar(strip)->orientation(), Qt::Vertical);
        QCOMPARE(volumeBar(strip)->tickInterval(), 5000);
        QCOMPARE(volumeBar(strip)->tickPosition(), QSlider::TicksBothSides);
        QCOMPARE(balanceBar(strip)->maximum(), 100);
        QCOMPARE(balanceBar(strip)->tickInterval(), 25);
    }

    void longNameShortenedWholeInTooltip()
    {
        WindowFixture w;
        w.engine.outputs.devices = {device("Speakers", {line("Master"), line("A very long application name")})};
        start(w);
        MixerStrip *strip = strips(*w.window, false)[1];
        QVERIFY(nameLabel(strip)->text() != nameLabel(strip)->toolTip());
        QVERIFY(nameLabel(strip)->text().endsWith(QChar(0x2026)));
        QCOMPARE(nameLabel(strip)->toolTip(), QString("A very long application name"));
        QVERIFY(nameLabel(strip)->fontMetrics().horizontalAdvance(nameLabel(strip)->text()) <= 81);
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
        w.window->showTab(recording ? 1 : 2);
        QSlider *bar = volumeBar(strips(*w.window, recording)[1]);
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
        balanceBar(strips(*w.window, recording)[0])->setValue(30);
        QCOMPARE(w.engine.log.calls, QStringList({side + "SetLine(0)", side + "SetLineBalance(30)"}));
        QCOMPARE(world(w, recording).devices[0].lines[0].balance, 30);
    }

    void muteBoxWrites()
    {
        WindowFixture w;
        start(w);
        MixerStrip *strip = strips(*w.window, false)[1];
        w.engine.log.clear();
        switchBox(strip)->click();
        QCOMPARE(w.engine.log.calls, QStringList({"player.SetLine(1)", "player.SetLineMute(true)"}));
        switchBox(strip)->click();
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
        const QList<MixerStrip *> list = strips(*w.window, true);
        QCOMPARE(switchBox(list[0])->text(), QString("Select"));
        QVERIFY(switchBox(list[0])->isChecked());

        w.engine.log.clear();
        switchBox(list[2])->click();
        QCOMPARE(w.engine.log.calls.mid(0, 2), QStringList({"recorder.SetLine(2)", "recorder.SetLineSelected(true)"}));
        QCOMPARE(w.engine.log.count("recorder.SetLineSelected"), 1);   // the refresh writes nothing
        QCOMPARE(w.engine.log.count("recorder.GetLineSelected"), 3);
        QList<bool> boxes;
        for (const MixerStrip *s : list)
            boxes << switchBox(s)->isChecked();
        QCOMPARE(boxes, shown);
    }

    void newDeviceReplacesEveryStrip()
    {
        WindowFixture w;
        w.engine.outputs.devices = {device("D0", {line("a"), line("b"), line("c")}), device("D1", {line("x"), line("y")})};
        start(w);
        MixerPage *page = mixertest::page(*w.window, false);

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
        stripHost(page)->installEventFilter(&watch);
        chooseItem(*w.window, false, 1);
        stripHost(page)->removeEventFilter(&watch);

        QCOMPARE(watch.events, QStringList({"removed playbackStrip2", "removed playbackStrip1", "removed playbackStrip0",
                                            "added", "added"}));
        const QList<MixerStrip *> list = strips(*w.window, false);
        QCOMPARE(list.size(), 2);
        QCOMPARE(list[0]->objectName(), QString("playbackStrip0"));
        QCOMPARE(list[1]->objectName(), QString("playbackStrip1"));
        QCOMPARE(lineNames(list), QStringList({"x", "y"}));
        QCOMPARE(stripHost(page)->findChildren<MixerStrip *>().size(), 2);
    }

    void inputListFollowsTheServer()
    {
        // Devices come and go while the program runs: the list follows, the chosen device
        // stays chosen while it is there, and its strips are built anew only when it goes.
        WindowFixture w;
        w.engine.inputs.devices = {device("In0", {line("a")}), device("In1", {line("x"), line("y")})};
        w.engine.inputs.current = 1;
        start(w);
        QComboBox *list = mixertest::deviceList(*w.window, true);
        const MixerStrip *before = strips(*w.window, true).first();

        w.engine.inputs.devices.insert(w.engine.inputs.devices.begin(), device("New", {line("n")}));
        w.recorder()->emitDevicesChanged();
        QCOMPARE(list->count(), 3);
        QCOMPARE(list->currentText(), QString("In1"));
        QCOMPARE(w.recorder()->GetDeviceName(), QString("In1"));
        QCOMPARE(strips(*w.window, true).first(), before);   // the same device: no new strips

        w.engine.inputs.devices[2].available = false;   // In1 goes
        w.recorder()->emitDevicesChanged();
        QCOMPARE(list->count(), 2);
        QCOMPARE(lineNames(strips(*w.window, true)), QStringList({"n"}));
        QCOMPARE(w.errors(), QStringList());
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
        const QList<MixerStrip *> built = strips(*w.window, recording);
        QCOMPARE(built.size(), lines);
        for (int i = 0; i < lines; ++i) {
            QCOMPARE(built[i]->objectName(),
                     (recording ? QString("recordingStrip") : QString("playbackStrip")) + QString::number(i));
            QCOMPARE(nameLabel(built[i])->text(), QStringLiteral("L%1").arg(i));
            QVERIFY(built[i]->isVisibleTo(mixertest::page(*w.window, recording)));
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
        const QList<MixerStrip *> list = strips(*w.window, recording);
        QVERIFY(!volumeBar(list[0])->isEnabled());
        QVERIFY(!balanceBar(list[0])->isEnabled());
        QVERIFY(!switchBox(list[0])->isEnabled());
        QVERIFY(advancedButton(list[0])->isHidden());
        QVERIFY(volumeBar(list[1])->isEnabled());
        QVERIFY(balanceBar(list[1])->isEnabled());
        QVERIFY(switchBox(list[1])->isEnabled());
        QVERIFY(!advancedButton(list[1])->isHidden());
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
        w.window->showTab(recording ? 1 : 2);
        const QString side = sideName(recording);

        QString caption;
        QStringList controls;
        QTimer::singleShot(0, this, [&] {
            auto *dialog = qobject_cast<AdvancedControlsDialog *>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            caption = dialog->windowTitle();
            const QGroupBox *group = dialog->findChild<QGroupBox *>("controlsGroup");
            for (const QWidget *c : group->findChildren<QWidget *>(QRegularExpression("^(ch|tb)\\d$")))
                controls << c->objectName();
            // Another line is addressed meanwhile; the dialog's write still lands on its own.
            w.engine.log.clear();
            (recording ? static_cast<engine::IMixerSide *>(w.recorder())
                       : static_cast<engine::IMixerSide *>(w.player()))
                ->SetLine(0);
            dialog->findChild<QCheckBox *>("ch0")->click();
            dialog->findChild<QPushButton *>("closeButton")->click();
        });
        advancedButton(strips(*w.window, recording)[1])->click();

        QCOMPARE(caption, QString("Advanced Properties for Tone"));
        controls.sort();
        QCOMPARE(controls, QStringList({"ch0", "tb1"}));
        QCOMPARE(w.engine.log.calls, QStringList({side + "SetLine(0)", side + "SetLine(1)", side + "SetAdvancedValue(0,false)",
                                                  side + "srcAdvancedValue(0)"}));
        QCOMPARE(world(w, recording).devices[0].lines[1].advanced[0].value, QVariant(false));
        // Gone once closed: each opening makes a dialog of its own.
        QCOMPARE(w.window->findChildren<AdvancedControlsDialog *>(), QList<AdvancedControlsDialog *>());
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
        MainWindow &f = *w.window;
        const QList<QRect> stripsBefore = {strips(f, false)[0]->geometry(), strips(f, false)[1]->geometry()};
        f.resize(windowWidth, f.height());
        for (int tab : {1, 2}) {
            f.showTab(tab);
            QCoreApplication::processEvents();
        }
        const TopRows t(w);

        // Recording tab: the button keeps 2 pixels to the right edge, the list ends 4 before it.
        const int recWidth = mixertest::page(f, true)->width();
        QCOMPARE(t.setFilter->geometry().right() + 1, recWidth - 2);
        QCOMPARE(t.setFilter->y(), 0);
        const QCheckBox *monitor = w.find<QCheckBox>("monitorBox");
        QCOMPARE(monitor->geometry().right() + 1, t.setFilter->x() - 8);
        QCOMPARE(t.inputs->x() + t.inputs->width(), monitor->x() - 8);
        QCOMPARE(t.inputs->y(), 2);

        // Playback tab: the list ends 8 before the switch; the switch and its window's button
        // sit at the right edge.
        const int playWidth = mixertest::page(f, false)->width();
        QCOMPARE(t.outputs->x() + t.outputs->width(), t.equalizerSwitch->x() - 8);
        QCOMPARE(t.outputs->y(), 2);
        QCOMPARE(t.equalizerSwitch->y(), 4);
        QCOMPARE(t.equalizerSwitch->geometry().right() + 1 + 8, t.equalizerButton->x());
        QCOMPARE(t.equalizerButton->geometry().right() + 1, playWidth - 2);
        QCOMPARE(t.equalizerButton->y(), 0);

        // Labels in front of their lists, nothing overlapping.
        for (QWidget *label : {t.inputLabel, t.outputLabel}) {
            QCOMPARE(label->pos(), QPoint(0, 6));
        }
        QVERIFY(t.inputLabel->geometry().right() < t.inputs->x());
        QVERIFY(t.outputLabel->geometry().right() < t.outputs->x());

        // Strips keep their places.
        QCOMPARE(strips(f, false)[0]->geometry(), stripsBefore[0]);
        QCOMPARE(strips(f, false)[1]->geometry(), stripsBefore[1]);
    }

    void topRowsAsDesigned()
    {
        WindowFixture w;
        start(w);
        const TopRows t(w);
        QCOMPARE(t.inputLabel->text(), QString("Input Device"));
        QCOMPARE(t.outputLabel->text(), QString("Output Device"));
        QCOMPARE(t.setFilter->text(), QString("Set Filter"));
        QVERIFY(t.setFilter->width() >= 79 && t.setFilter->height() >= 24);
        QVERIFY(!t.inputs->isEditable());
        QVERIFY(!t.outputs->isEditable());
        QCOMPARE(t.equalizerSwitch->text(), QString("Equalizer"));
        QVERIFY(t.equalizerSwitch->isTristate());
        QCOMPARE(t.equalizerSwitch->checkState(), Qt::PartiallyChecked);
        QCOMPARE(t.equalizerButton->text(), QString("Equalizer..."));
    }

    void equalizerSwitchNeverGraysAgain()
    {
        WindowFixture w;
        start(w);
        QCheckBox *box = w.find<QCheckBox>("equalizerSwitch");
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
