#include "widgets/level_meter.h"

#include <QtTest>

class TestLevelMeter : public QObject {
    Q_OBJECT
private slots:
    void valueRange_data()
    {
        QTest::addColumn<int>("level");
        QTest::addColumn<int>("expected");
        QTest::newRow("below") << -20 << 0;
        QTest::newRow("silence") << 0 << 0;
        QTest::newRow("middle") << 55 << 55;
        QTest::newRow("full scale") << 100 << 100;
        QTest::newRow("above") << 130 << 100;
    }
    void valueRange()
    {
        QFETCH(int, level);
        QFETCH(int, expected);
        LevelMeter bar;
        bar.setValue(level);
        QCOMPARE(bar.value(), expected);
        QCOMPARE(bar.property("value").toInt(), expected);
    }

    void zonesAreGreenYellowRed_data()
    {
        QTest::addColumn<int>("height");
        QTest::newRow("meter 1") << 21;
        QTest::newRow("meter 2") << 13;
    }
    void zonesAreGreenYellowRed()
    {
        QFETCH(int, height);
        LevelMeter bar;
        bar.resize(153, height);
        bar.setValue(100);
        const QImage full = bar.grab().toImage();
        const int y = height / 2;
        // x of a level on the 153 pixel bar (2 px frame each side).
        auto xOf = [](double level) { return 2 + int(level / 100.0 * 149); };
        auto hueAt = [&](const QImage &img, double level) {
            // The segment may have a gap at this x; take the brightest of three pixels.
            QColor best;
            for (int dx = -1; dx <= 1; ++dx) {
                const QColor c(img.pixel(xOf(level) + dx, y));
                if (!best.isValid() || c.value() > best.value())
                    best = c;
            }
            return best;
        };
        const QColor green = hueAt(full, 40), yellow = hueAt(full, 88), red = hueAt(full, 99);
        QVERIFY2(green.hsvHue() > 90 && green.hsvHue() < 150, qPrintable(green.name()));
        QVERIFY2(yellow.hsvHue() > 35 && yellow.hsvHue() < 65, qPrintable(yellow.name()));
        QVERIFY2(red.hsvHue() < 15 || red.hsvHue() > 345, qPrintable(red.name()));

        // At level 50 the upper half is dark.
        bar.setValue(0);
        LevelMeter half;
        half.resize(153, height);
        half.setValue(50);
        const QImage img = half.grab().toImage();
        QVERIFY(hueAt(img, 30).value() > 150);
        QVERIFY(hueAt(img, 75).value() < 90);
    }

    void peakHoldsThenFallsWhileShown()
    {
        LevelMeter bar;
        bar.resize(153, 21);
        bar.setValue(90);
        bar.setValue(20);
        QCOMPARE(bar.value(), 20);
        QCOMPARE(bar.peak(), 90.0);
        // Hidden: nothing moves.
        QVERIFY(!bar.isPeakFalling());
        QTest::qWait(100);
        QCOMPARE(bar.peak(), 90.0);

        bar.show();
        QVERIFY(bar.isPeakFalling());
        QTest::qWait(200);
        QCOMPARE(bar.peak(), 90.0);   // still held
        QTRY_VERIFY_WITH_TIMEOUT(bar.peak() < 89.0, 2000);
        QTRY_COMPARE_WITH_TIMEOUT(bar.peak(), 20.0, 5000);
        // Sitting on the bar, the marker needs no timer.
        QVERIFY(!bar.isPeakFalling());

        // A new peak starts it again; silence lets it fall to 0 and stop.
        bar.setValue(60);
        bar.setValue(0);
        QVERIFY(bar.isPeakFalling());
        QTRY_COMPARE_WITH_TIMEOUT(bar.peak(), 0.0, 5000);
        QVERIFY(!bar.isPeakFalling());
    }

    void hidingStopsTheTimer()
    {
        LevelMeter bar;
        bar.show();
        bar.setValue(80);
        bar.setValue(0);
        QVERIFY(bar.isPeakFalling());
        bar.hide();
        QVERIFY(!bar.isPeakFalling());
        bar.show();
        QVERIFY(bar.isPeakFalling());
    }

    void peakMarkerIsDrawn()
    {
        LevelMeter bar;
        bar.resize(153, 21);
        bar.setValue(70);
        bar.setValue(10);
        const QImage img = bar.grab().toImage();
        // Bright pixels around level 70, dark between 25 and 60.
        int bright = 0;
        for (int x = 2 + int(0.66 * 149); x <= 2 + int(0.71 * 149); ++x)
            bright = std::max(bright, QColor(img.pixel(x, 10)).value());
        QVERIFY(bright > 180);
        for (int x = 2 + int(0.25 * 149); x <= 2 + int(0.6 * 149); ++x)
            QVERIFY(QColor(img.pixel(x, 10)).value() < 90);
    }
};

QTEST_MAIN(TestLevelMeter)
#include "tst_level_meter.moc"
