#include "widgets/position_slider.h"

#include <QPushButton>
#include <QtTest>

// Records the slider's events in the order they came, and the values the user moved it to.
class SliderLog : public QObject {
public:
    explicit SliderLog(PositionSlider *s)
    {
        connect(s, &PositionSlider::pressed, this, [this] { events << QStringLiteral("down"); });
        connect(s, &PositionSlider::released, this, [this] { events << QStringLiteral("up"); });
        connect(s, &PositionSlider::valueChanged, this, [this, s](int v) {
            QCOMPARE(v, s->value());
            events << QStringLiteral("change");
            values << v;
        });
        connect(s, &PositionSlider::moved, this, [this, s](int v) {
            QCOMPARE(v, s->value());
            moves << v;
        });
    }
    QStringList events;
    QList<int> values;   // every change
    QList<int> moves;    // the user's changes
};

class TestPositionSlider : public QObject {
    Q_OBJECT

    static constexpr int Width = 574;
    // value under x: the track spans the width up to half a thumb at either end.
    static int expectedAt(int x) { return qBound(0, qRound((x - 5) * 1000.0 / (Width - 11)), 1000); }

private slots:
    void setValueClamps_data()
    {
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("expected");
        QTest::newRow("below") << -5 << 0;
        QTest::newRow("start") << 0 << 0;
        QTest::newRow("middle") << 500 << 500;
        QTest::newRow("end") << 1000 << 1000;
        QTest::newRow("above") << 1500 << 1000;
    }
    void setValueClamps()
    {
        QFETCH(int, value);
        QFETCH(int, expected);
        PositionSlider s;
        s.setValue(300);
        SliderLog log(&s);
        s.setValue(value);
        QCOMPARE(s.value(), expected);
        // setValue reports a change, and only a change; it is never a grab nor the user's move.
        QCOMPARE(log.events, expected == 300 ? QStringList() : QStringList{"change"});
        s.setValue(value);
        QCOMPARE(log.values.size(), expected == 300 ? 0 : 1);
        QVERIFY(log.moves.isEmpty());
    }

    void dragFollowsTheMouse_data()
    {
        QTest::addColumn<QList<int>>("xs");   // press, moves..., release
        QTest::newRow("left to right") << QList<int>{20, 100, 287, 500, 560};
        QTest::newRow("right to left") << QList<int>{550, 300, 120, 40};
        QTest::newRow("past both ends") << QList<int>{300, -40, 700, 900};
        QTest::newRow("click without moving") << QList<int>{287, 287};
    }
    void dragFollowsTheMouse()
    {
        QFETCH(QList<int>, xs);
        QWidget window;
        auto *s = new PositionSlider(&window);
        s->setGeometry(8, 8, Width, 15);
        window.show();
        SliderLog log(s);

        QTest::mousePress(s, Qt::LeftButton, {}, QPoint(xs.first(), 7));
        QCOMPARE(log.events.first(), QStringLiteral("down"));
        QVERIFY(s->isDragging());
        QCOMPARE(s->value(), expectedAt(xs.first()));
        for (int i = 1; i + 1 < xs.size(); ++i) {
            QTest::mouseMove(s, QPoint(xs[i], 7));
            QCOMPARE(s->value(), expectedAt(xs[i]));
        }
        QTest::mouseRelease(s, Qt::LeftButton, {}, QPoint(xs.last(), 7));
        QCOMPARE(s->value(), expectedAt(xs.last()));
        QVERIFY(!s->isDragging());

        // One down first, one up last, changes only in between.
        QCOMPARE(log.events.count("down"), 1);
        QCOMPARE(log.events.count("up"), 1);
        QCOMPARE(log.events.last(), QStringLiteral("up"));
        QCOMPARE(log.values.isEmpty() ? 0 : log.values.last(), expectedAt(xs.last()));
        QCOMPARE(log.moves, log.values);   // every change of a drag is the user's
    }

    void ends()
    {
        PositionSlider s;
        s.resize(Width, 15);
        s.show();
        QTest::mouseClick(&s, Qt::LeftButton, {}, QPoint(0, 7));
        QCOMPARE(s.value(), 0);
        QTest::mouseClick(&s, Qt::LeftButton, {}, QPoint(Width - 1, 7));
        QCOMPARE(s.value(), 1000);
        QTest::mouseClick(&s, Qt::LeftButton, {}, QPoint(Width / 2, 7));
        QVERIFY(qAbs(s.value() - 500) <= 2);
    }

    void rightButtonIsNoGrab()
    {
        PositionSlider s;
        s.resize(Width, 15);
        s.show();
        SliderLog log(&s);
        QTest::mouseClick(&s, Qt::RightButton, {}, QPoint(300, 7));
        QVERIFY(log.events.isEmpty());
    }

    void keyboardMove_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("expected");
        QTest::newRow("right") << int(Qt::Key_Right) << 500 << 510;
        QTest::newRow("up") << int(Qt::Key_Up) << 500 << 510;
        QTest::newRow("left") << int(Qt::Key_Left) << 500 << 490;
        QTest::newRow("down") << int(Qt::Key_Down) << 500 << 490;
        QTest::newRow("page up") << int(Qt::Key_PageUp) << 500 << 600;
        QTest::newRow("page down") << int(Qt::Key_PageDown) << 500 << 400;
        QTest::newRow("home") << int(Qt::Key_Home) << 500 << 0;
        QTest::newRow("end") << int(Qt::Key_End) << 500 << 1000;
        QTest::newRow("page up near the end") << int(Qt::Key_PageUp) << 950 << 1000;
        QTest::newRow("left at the start") << int(Qt::Key_Left) << 0 << 0;
    }
    void keyboardMove()
    {
        QFETCH(int, key);
        QFETCH(int, start);
        QFETCH(int, expected);
        PositionSlider s;
        s.setValue(start);
        SliderLog log(&s);
        QTest::keyClick(&s, Qt::Key(key));
        QCOMPARE(s.value(), expected);
        // One grab around the move; a move only when the value changed.
        QCOMPARE(log.events.count("down"), 1);
        QCOMPARE(log.events.count("up"), 1);
        QCOMPARE(log.events.first(), QStringLiteral("down"));
        QCOMPARE(log.events.last(), QStringLiteral("up"));
        QCOMPARE(log.moves, expected == start ? QList<int>() : QList<int>{expected});
    }

    void heldKeyIsOneMove()
    {
        // Auto-repeat sends release/press pairs; the owner sees one grab for the whole hold.
        PositionSlider s;
        s.setValue(100);
        SliderLog log(&s);
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Right, Qt::NoModifier);
        QApplication::sendEvent(&s, &press);
        for (int i = 0; i < 4; ++i) {
            QKeyEvent rel(QEvent::KeyRelease, Qt::Key_Right, Qt::NoModifier, QString(), true);
            QApplication::sendEvent(&s, &rel);
            QKeyEvent rep(QEvent::KeyPress, Qt::Key_Right, Qt::NoModifier, QString(), true);
            QApplication::sendEvent(&s, &rep);
        }
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_Right, Qt::NoModifier);
        QApplication::sendEvent(&s, &release);
        QCOMPARE(s.value(), 150);
        QCOMPARE(log.events.count("down"), 1);
        QCOMPARE(log.events.count("change"), 5);
        QCOMPARE(log.events.first(), QStringLiteral("down"));
        QCOMPARE(log.events.last(), QStringLiteral("up"));
    }

    void reachableWithTab()
    {
        QWidget window;
        auto *before = new QPushButton(QStringLiteral("before"), &window);
        auto *s = new PositionSlider(&window);
        s->setGeometry(8, 40, 300, 15);
        window.show();
        activate(&window);
        before->setFocus();
        QTest::keyClick(before, Qt::Key_Tab);
        QVERIFY(s->hasFocus());
    }

    void disabledIgnoresTheUser()
    {
        PositionSlider s;
        s.resize(Width, 15);
        s.show();
        s.setValue(200);
        s.setEnabled(false);
        SliderLog log(&s);
        QTest::mouseClick(&s, Qt::LeftButton, {}, QPoint(400, 7));
        QTest::keyClick(&s, Qt::Key_End);
        QCOMPARE(s.value(), 200);
        QVERIFY(log.events.isEmpty());
        // The program still moves it.
        s.setValue(600);
        QCOMPARE(s.value(), 600);
    }

    void disablingMidDragLetsGo()
    {
        PositionSlider s;
        s.resize(Width, 15);
        s.show();
        SliderLog log(&s);
        QTest::mousePress(&s, Qt::LeftButton, {}, QPoint(100, 7));
        s.setEnabled(false);
        QCOMPARE(log.events.last(), QStringLiteral("up"));
        QVERIFY(!s.isDragging());
    }

    void stripColourPaintsTheGroove()
    {
        PositionSlider s;
        s.resize(Width, 15);
        s.setValue(100);
        const QColor strip(0x33, 0x99, 0x66);
        s.setStripColor(strip);
        QCOMPARE(s.stripColor(), strip);
        const QImage img = s.grab().toImage();
        // Right of the thumb the groove shows the strip colour.
        QCOMPARE(QColor(img.pixel(Width - 40, 8)), strip);
        // Left of it the passed part shows another colour.
        QVERIFY(QColor(img.pixel(20, 8)) != strip);
    }

private:
    static void activate(QWidget *window)
    {
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window));
    }
};

QTEST_MAIN(TestPositionSlider)
#include "tst_position_slider.moc"
