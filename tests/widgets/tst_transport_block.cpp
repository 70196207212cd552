#include "widgets/transport_block.h"

#include <QPushButton>
#include <QtTest>

using Button = TransportBlock::Button;
using Part = TransportBlock::Part;
using State = TransportBlock::State;

namespace {

void showState(TransportBlock &b, State s)
{
    switch (s) {
    case State::Stopped: b.showStopped(); break;
    case State::Playing: b.showPlaying(); break;
    case State::Paused: b.showPaused(); break;
    case State::Recording: b.showRecording(); break;
    }
}

}  // namespace

class TestTransportBlock : public QObject {
    Q_OBJECT
private slots:
    void clickNamesTheButton_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<Part>("part");
        QTest::addColumn<Button>("button");
        for (int width : {250, 290, 692}) {
            const QByteArray w = QByteArray::number(width);
            QTest::newRow("play " + w) << width << Part::Play << Button::Play;
            QTest::newRow("pause " + w) << width << Part::Pause << Button::Pause;
            QTest::newRow("stop " + w) << width << Part::Stop << Button::Stop;
            QTest::newRow("record " + w) << width << Part::Record << Button::Record;
            QTest::newRow("mute " + w) << width << Part::Mute << Button::Mute;
        }
    }
    void clickNamesTheButton()
    {
        QFETCH(int, width);
        QFETCH(Part, part);
        QFETCH(Button, button);
        TransportBlock b;
        b.resize(width, 27);
        b.show();
        QSignalSpy clicks(&b, &TransportBlock::clicked);
        QSignalSpy volume(&b, &TransportBlock::volumeChanged);
        const QRect r = b.partRect(part);
        QVERIFY(b.rect().contains(r));
        QTest::mouseClick(&b, Qt::LeftButton, {}, r.center());
        QCOMPARE(clicks.size(), 1);
        QCOMPARE(clicks.at(0).at(0).value<Button>(), button);
        QCOMPARE(volume.size(), 0);
        // Both ends of every button answer.
        QTest::mouseClick(&b, Qt::LeftButton, {}, r.topLeft() + QPoint(1, 1));
        QTest::mouseClick(&b, Qt::LeftButton, {}, r.bottomRight() - QPoint(1, 1));
        QCOMPARE(clicks.size(), 3);
    }

    void partsDoNotOverlapAndMuteIsAtTheRightEnd_data()
    {
        QTest::addColumn<int>("width");
        for (int w : {250, 290, 400, 692, 1000})
            QTest::newRow(QByteArray::number(w)) << w;
    }
    void partsDoNotOverlapAndMuteIsAtTheRightEnd()
    {
        QFETCH(int, width);
        TransportBlock b;
        b.resize(width, 27);
        const QList<Part> parts{Part::Play, Part::Pause, Part::Stop, Part::Record, Part::Knob, Part::Mute};
        for (int i = 0; i < parts.size(); ++i) {
            QVERIFY(b.rect().contains(b.partRect(parts[i])));
            for (int j = i + 1; j < parts.size(); ++j)
                QVERIFY(!b.partRect(parts[i]).intersects(b.partRect(parts[j])));
        }
        QVERIFY(b.partRect(Part::Mute).right() >= width - 3);
        QVERIFY(b.partRect(Part::Knob).right() < b.partRect(Part::Mute).left());
        QVERIFY(b.partRect(Part::Knob).left() > b.partRect(Part::Record).right());
    }

    void clickElsewhereGivesNothing_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<QString>("where");
        for (int width : {250, 692}) {
            const QByteArray w = QByteArray::number(width);
            QTest::newRow("knob " + w) << width << "knob";
            QTest::newRow("between stop and record " + w) << width << "gap";
            QTest::newRow("between knob and record " + w) << width << "middle";
            QTest::newRow("knob's corner " + w) << width << "knob corner";
        }
    }
    void clickElsewhereGivesNothing()
    {
        QFETCH(int, width);
        QFETCH(QString, where);
        TransportBlock b;
        b.resize(width, 27);
        b.show();
        QPoint at;
        const QRect knob = b.partRect(Part::Knob);
        if (where == "knob")
            at = knob.center();
        else if (where == "gap")
            at = QPoint((b.partRect(Part::Stop).right() + b.partRect(Part::Record).left()) / 2, 13);
        else if (where == "middle")
            at = QPoint((b.partRect(Part::Record).right() + knob.left()) / 2, 13);
        else
            at = knob.topLeft();
        QCOMPARE(b.partAt(at), where == "knob" ? Part::Knob : Part::None);
        QSignalSpy clicks(&b, &TransportBlock::clicked);
        QTest::mouseClick(&b, Qt::LeftButton, {}, at);
        QCOMPARE(clicks.size(), 0);
    }

    void releaseOutsideTheButtonCancels()
    {
        TransportBlock b;
        b.resize(290, 27);
        b.show();
        QSignalSpy clicks(&b, &TransportBlock::clicked);
        QTest::mousePress(&b, Qt::LeftButton, {}, b.partRect(Part::Play).center());
        QTest::mouseMove(&b, b.partRect(Part::Stop).center());
        QTest::mouseRelease(&b, Qt::LeftButton, {}, b.partRect(Part::Stop).center());
        QCOMPARE(clicks.size(), 0);
    }

    void muteIsToggledBeforeTheClick()
    {
        TransportBlock b;
        b.resize(290, 27);
        b.show();
        QList<bool> seen;
        connect(&b, &TransportBlock::clicked, this, [&](Button button) {
            QCOMPARE(button, Button::Mute);
            seen << b.mute();
        });
        QCOMPARE(b.mute(), false);
        QTest::mouseClick(&b, Qt::LeftButton, {}, b.partRect(Part::Mute).center());
        QTest::mouseClick(&b, Qt::LeftButton, {}, b.partRect(Part::Mute).center());
        b.setMute(true);
        QTest::mouseClick(&b, Qt::LeftButton, {}, b.partRect(Part::Mute).center());
        QCOMPARE(seen, (QList<bool>{true, false, false}));
        QCOMPARE(b.mute(), false);
    }

    void setMuteAndSetVolumeEmitNothing()
    {
        TransportBlock b;
        QSignalSpy clicks(&b, &TransportBlock::clicked);
        QSignalSpy volume(&b, &TransportBlock::volumeChanged);
        b.setMute(true);
        QCOMPARE(b.mute(), true);
        b.setVolume(35);
        QCOMPARE(b.volume(), 35);
        b.setVolume(140);
        QCOMPARE(b.volume(), 100);
        b.setVolume(-3);
        QCOMPARE(b.volume(), 0);
        QCOMPARE(clicks.size(), 0);
        QCOMPARE(volume.size(), 0);
    }

    void showMethodsSetTheState_data()
    {
        QTest::addColumn<State>("state");
        QTest::newRow("stopped") << State::Stopped;
        QTest::newRow("playing") << State::Playing;
        QTest::newRow("paused") << State::Paused;
        QTest::newRow("recording") << State::Recording;
    }
    void showMethodsSetTheState()
    {
        QFETCH(State, state);
        TransportBlock b;
        b.resize(290, 27);
        b.show();
        showState(b, state);
        QCOMPARE(b.state(), state);
        // Clicks on every part leave the shown state alone.
        for (Part part : {Part::Play, Part::Pause, Part::Stop, Part::Record, Part::Knob, Part::Mute})
            QTest::mouseClick(&b, Qt::LeftButton, {}, b.partRect(part).center());
        QTest::keyClick(&b, Qt::Key_Space);
        QCOMPARE(b.state(), state);
    }

    void activeButtonIsLit_data()
    {
        QTest::addColumn<State>("state");
        QTest::addColumn<Part>("lit");
        QTest::addColumn<QString>("hue");
        QTest::newRow("playing: green play") << State::Playing << Part::Play << "green";
        QTest::newRow("paused: amber pause") << State::Paused << Part::Pause << "amber";
        QTest::newRow("recording: red record") << State::Recording << Part::Record << "red";
    }
    void activeButtonIsLit()
    {
        QFETCH(State, state);
        QFETCH(Part, lit);
        QFETCH(QString, hue);
        TransportBlock b;
        b.resize(290, 27);
        auto hueAt = [&](Part part) {
            const QImage img = b.grab().toImage();
            const QRect r = b.partRect(part);
            // Beside the symbol, inside the border.
            return QColor(img.pixel(r.left() + 3, r.center().y() + 3));
        };
        const QColor before = hueAt(lit);
        showState(b, state);
        const QColor after = hueAt(lit);
        QVERIFY(before.hsvSaturation() < 60);   // an unlit button is grey
        QVERIFY2(after.hsvSaturation() > 120, qPrintable(after.name()));
        const int h = after.hsvHue();
        if (hue == "green")
            QVERIFY2(h > 90 && h < 150, qPrintable(after.name()));
        else if (hue == "amber")
            QVERIFY2(h > 25 && h < 50, qPrintable(after.name()));
        else
            QVERIFY2(h < 15 || h > 345, qPrintable(after.name()));
        // The other transport buttons stay grey.
        for (Part other : {Part::Play, Part::Pause, Part::Stop, Part::Record}) {
            if (other != lit)
                QVERIFY(hueAt(other).hsvSaturation() < 60);
        }
    }

    void knobDragChangesTheVolume_data()
    {
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("dy");   // upward is positive
        QTest::addColumn<int>("expected");
        QTest::newRow("up") << 50 << 20 << 70;
        QTest::newRow("down") << 50 << -35 << 15;
        QTest::newRow("past the top") << 90 << 40 << 100;
        QTest::newRow("past the bottom") << 10 << -40 << 0;
    }
    void knobDragChangesTheVolume()
    {
        QFETCH(int, start);
        QFETCH(int, dy);
        QFETCH(int, expected);
        QWidget window;
        auto *b = new TransportBlock(&window);
        b->setGeometry(0, 60, 290, 27);
        window.resize(300, 150);
        window.show();
        b->setVolume(start);
        QSignalSpy volume(b, &TransportBlock::volumeChanged);
        QSignalSpy clicks(b, &TransportBlock::clicked);
        const QPoint c = b->partRect(Part::Knob).center();
        QTest::mousePress(b, Qt::LeftButton, {}, c);
        QTest::mouseMove(b, c - QPoint(0, dy / 2));
        QTest::mouseMove(b, c - QPoint(0, dy));
        QTest::mouseRelease(b, Qt::LeftButton, {}, c - QPoint(0, dy));
        QCOMPARE(b->volume(), expected);
        QVERIFY(volume.size() >= 1);
        QCOMPARE(volume.last().at(0).toInt(), expected);
        QCOMPARE(clicks.size(), 0);
    }

    void wheelOnTheKnob()
    {
        TransportBlock b;
        b.resize(290, 27);
        b.show();
        b.setVolume(50);
        QSignalSpy volume(&b, &TransportBlock::volumeChanged);
        const QPoint c = b.partRect(Part::Knob).center();
        QWheelEvent up(c, b.mapToGlobal(c), QPoint(), QPoint(0, 120), Qt::NoButton, Qt::NoModifier,
                       Qt::NoScrollPhase, false);
        QApplication::sendEvent(&b, &up);
        QCOMPARE(b.volume(), 52);
        QCOMPARE(volume.size(), 1);
        // Over a button the wheel does nothing.
        const QPoint p = b.partRect(Part::Play).center();
        QWheelEvent elsewhere(p, b.mapToGlobal(p), QPoint(), QPoint(0, 120), Qt::NoButton, Qt::NoModifier,
                              Qt::NoScrollPhase, false);
        QApplication::sendEvent(&b, &elsewhere);
        QCOMPARE(b.volume(), 52);
    }

    void keyboard()
    {
        QWidget window;
        auto *before = new QPushButton(QStringLiteral("before"), &window);
        before->setGeometry(0, 0, 80, 25);
        auto *b = new TransportBlock(&window);
        b->setGeometry(0, 40, 290, 27);
        auto *after = new QPushButton(QStringLiteral("after"), &window);
        after->setGeometry(0, 80, 80, 25);
        window.resize(300, 120);
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        before->setFocus();
        QSignalSpy clicks(b, &TransportBlock::clicked);
        QSignalSpy volume(b, &TransportBlock::volumeChanged);

        // Tab enters at Play and walks through every part before it leaves.
        QTest::keyClick(before, Qt::Key_Tab);
        QVERIFY(b->hasFocus());
        QCOMPARE(b->focusedPart(), Part::Play);
        QTest::keyClick(b, Qt::Key_Space);
        QTest::keyClick(b, Qt::Key_Tab);
        QCOMPARE(b->focusedPart(), Part::Pause);
        QTest::keyClick(b, Qt::Key_Return);
        QTest::keyClick(b, Qt::Key_Right);
        QCOMPARE(b->focusedPart(), Part::Stop);
        QTest::keyClick(b, Qt::Key_Enter);
        QTest::keyClick(b, Qt::Key_Tab);
        QTest::keyClick(b, Qt::Key_Space);
        QCOMPARE(clicks.size(), 4);
        const QList<Button> walked{Button::Play, Button::Pause, Button::Stop, Button::Record};
        for (int i = 0; i < 4; ++i)
            QCOMPARE(clicks.at(i).at(0).value<Button>(), walked[i]);

        // On the knob the arrows turn it.
        QTest::keyClick(b, Qt::Key_Tab);
        QCOMPARE(b->focusedPart(), Part::Knob);
        b->setVolume(50);
        QTest::keyClick(b, Qt::Key_Up);
        QTest::keyClick(b, Qt::Key_PageDown);
        QCOMPARE(b->volume(), 41);
        QCOMPARE(volume.size(), 2);
        QTest::keyClick(b, Qt::Key_Space);
        QCOMPARE(clicks.size(), 4);

        QTest::keyClick(b, Qt::Key_Tab);
        QCOMPARE(b->focusedPart(), Part::Mute);
        QTest::keyClick(b, Qt::Key_Space);
        QCOMPARE(clicks.size(), 5);
        QCOMPARE(clicks.last().at(0).value<Button>(), Button::Mute);
        QVERIFY(b->mute());

        QTest::keyClick(b, Qt::Key_Tab);
        QVERIFY(after->hasFocus());
        // Shift+Tab comes back in at the last part.
        QTest::keyClick(after, Qt::Key_Backtab);
        QVERIFY(b->hasFocus());
        QCOMPARE(b->focusedPart(), Part::Mute);
    }

    void disabledIgnoresTheUser()
    {
        TransportBlock b;
        b.resize(290, 27);
        b.show();
        b.setEnabled(false);
        QSignalSpy clicks(&b, &TransportBlock::clicked);
        QSignalSpy volume(&b, &TransportBlock::volumeChanged);
        for (Part part : {Part::Play, Part::Record, Part::Mute})
            QTest::mouseClick(&b, Qt::LeftButton, {}, b.partRect(part).center());
        QTest::keyClick(&b, Qt::Key_Space);
        QCOMPARE(clicks.size(), 0);
        QCOMPARE(volume.size(), 0);
        QCOMPARE(b.mute(), false);
        // The program still shows states on a disabled block.
        b.showRecording();
        QCOMPARE(b.state(), State::Recording);
    }
};

QTEST_MAIN(TestTransportBlock)
#include "tst_transport_block.moc"
