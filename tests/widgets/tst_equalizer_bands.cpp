#include "widgets/equalizer_bands.h"

#include <QtTest>

#include "quiet_offscreen.h"

class TestEqualizerBands : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { quiet::install(); }

    void startsFlat()
    {
        EqualizerBands eq;
        QCOMPARE(eq.Min(), -15.0f);
        QCOMPARE(eq.Max(), 15.0f);
        for (int i = 1; i <= 12; ++i) {
            QCOMPARE(eq.band(i), 0.0f);
            QCOMPARE(eq.property(QByteArray("band") + QByteArray::number(i)).toFloat(), 0.0f);
        }
        QCOMPARE(eq.labels(), (QStringList{"31", "63", "125", "250", "500", "1k", "2k", "3k", "4k", "6k", "8k", "16k"}));
    }

    void setBandClampsAndIsSilent_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<float>("value");
        QTest::addColumn<float>("expected");
        QTest::newRow("band 1") << 1 << 5.5f << 5.5f;
        QTest::newRow("band 12 negative") << 12 << -7.25f << -7.25f;
        QTest::newRow("above the range") << 6 << 20.0f << 15.0f;
        QTest::newRow("below the range") << 7 << -40.0f << -15.0f;
        QTest::newRow("at Max") << 3 << 15.0f << 15.0f;
    }
    void setBandClampsAndIsSilent()
    {
        QFETCH(int, index);
        QFETCH(float, value);
        QFETCH(float, expected);
        EqualizerBands eq;
        QSignalSpy spy(&eq, &EqualizerBands::bandChanged);
        eq.setBand(index, value);
        QCOMPARE(eq.band(index), expected);
        QCOMPARE(eq.property(QByteArray("band") + QByteArray::number(index)).toFloat(), expected);
        for (int i = 1; i <= 12; ++i) {
            if (i != index)
                QCOMPARE(eq.band(i), 0.0f);
        }
        QCOMPARE(spy.size(), 0);
    }

    void bandsOutsideOneToTwelveAreIgnored()
    {
        EqualizerBands eq;
        eq.setBand(0, 3);
        eq.setBand(13, 3);
        eq.setBand(-1, 3);
        QCOMPARE(eq.band(0), 0.0f);
        QCOMPARE(eq.band(13), 0.0f);
        for (int i = 1; i <= 12; ++i)
            QCOMPARE(eq.band(i), 0.0f);
        eq.setProperty("band5", 4.5f);
        QCOMPARE(eq.band(5), 4.5f);
    }

    void clickMovesThatBand_data()
    {
        QTest::addColumn<int>("band");
        QTest::addColumn<float>("target");
        QTest::newRow("band 1 up") << 1 << 6.0f;
        QTest::newRow("band 6 down") << 6 << -9.0f;
        QTest::newRow("band 12 to the top") << 12 << 15.0f;
        QTest::newRow("band 8 to the bottom") << 8 << -15.0f;
    }
    void clickMovesThatBand()
    {
        QFETCH(int, band);
        QFETCH(float, target);
        EqualizerBands eq;
        eq.resize(340, 118);
        eq.show();
        QSignalSpy spy(&eq, &EqualizerBands::bandChanged);
        const QPoint at(eq.bandColumn(band).center().x(), eq.yForValue(target));
        QTest::mouseClick(&eq, Qt::LeftButton, {}, at);
        QVERIFY2(qAbs(eq.band(band) - target) <= 0.5f, qPrintable(QString::number(eq.band(band))));
        QCOMPARE(spy.size(), 1);
        QCOMPARE(spy.at(0).at(0).toInt(), band);
        for (int i = 1; i <= 12; ++i) {
            if (i != band)
                QCOMPARE(eq.band(i), 0.0f);
        }
    }

    void dragTheThumb()
    {
        EqualizerBands eq;
        eq.resize(340, 118);
        eq.show();
        eq.setBand(4, 3.0f);
        QSignalSpy spy(&eq, &EqualizerBands::bandChanged);
        // Grabbing the thumb off-centre does not make it jump.
        const QPoint grab = eq.thumbRect(4).center() + QPoint(0, 2);
        QTest::mousePress(&eq, Qt::LeftButton, {}, grab);
        QCOMPARE(eq.band(4), 3.0f);
        QCOMPARE(spy.size(), 0);
        // Up by the pixels of 6 dB, then down past the bottom.
        const int up = eq.yForValue(3.0f) - eq.yForValue(9.0f);
        QTest::mouseMove(&eq, grab - QPoint(0, up));
        QVERIFY2(qAbs(eq.band(4) - 9.0f) <= 0.5f, qPrintable(QString::number(eq.band(4))));
        QTest::mouseMove(&eq, QPoint(grab.x() + 60, 400));   // off the column: still band 4
        QCOMPARE(eq.band(4), -15.0f);
        QTest::mouseRelease(&eq, Qt::LeftButton, {}, QPoint(grab.x() + 60, 400));
        QVERIFY(spy.size() >= 2);
        for (const auto &args : spy)
            QCOMPARE(args.at(0).toInt(), 4);
        QCOMPARE(eq.band(5), 0.0f);
    }

    void doubleClickResets()
    {
        EqualizerBands eq;
        eq.resize(340, 118);
        eq.show();
        eq.setBand(9, -6.0f);
        QSignalSpy spy(&eq, &EqualizerBands::bandChanged);
        QTest::mouseDClick(&eq, Qt::LeftButton, {}, eq.thumbRect(9).center());
        QCOMPARE(eq.band(9), 0.0f);
        QCOMPARE(spy.last().at(0).toInt(), 9);
    }

    void keyboard_data()
    {
        QTest::addColumn<QList<int>>("keys");
        QTest::addColumn<int>("band");
        QTest::addColumn<float>("expected");
        QTest::newRow("up on band 1") << QList<int>{Qt::Key_Up} << 1 << 1.0f;
        QTest::newRow("right twice, page up") << QList<int>{Qt::Key_Right, Qt::Key_Right, Qt::Key_PageUp} << 3 << 5.0f;
        QTest::newRow("to band 12, down") << QList<int>{Qt::Key_Right, Qt::Key_Right, Qt::Key_Right, Qt::Key_Right,
                                                         Qt::Key_Right, Qt::Key_Right, Qt::Key_Right, Qt::Key_Right,
                                                         Qt::Key_Right, Qt::Key_Right, Qt::Key_Right, Qt::Key_Right,
                                                         Qt::Key_Down}
                                          << 12 << -1.0f;
        QTest::newRow("end is the bottom") << QList<int>{Qt::Key_Right, Qt::Key_End} << 2 << -15.0f;
    }
    void keyboard()
    {
        QFETCH(QList<int>, keys);
        QFETCH(int, band);
        QFETCH(float, expected);
        EqualizerBands eq;
        QSignalSpy spy(&eq, &EqualizerBands::bandChanged);
        for (int k : keys)
            QTest::keyClick(&eq, Qt::Key(k));
        QCOMPARE(eq.focusedBand(), band);
        QCOMPARE(eq.band(band), expected);
        QCOMPARE(spy.size(), 1);
        QCOMPARE(spy.at(0).at(0).toInt(), band);
    }

    void labelsAreSettable()
    {
        EqualizerBands eq;
        eq.resize(340, 118);
        const QImage before = eq.grab().toImage();
        const QStringList labels{"32", "64", "125", "250", "500", "1k", "2k", "4k", "6k", "8k", "12k", "16k"};
        eq.setLabels(labels);
        QCOMPARE(eq.labels(), labels);
        QVERIFY(eq.grab().toImage() != before);
        eq.setLabels({"a", "b"});
        QCOMPARE(eq.labels().size(), 12);
        QCOMPARE(eq.labels().at(1), QStringLiteral("b"));
        QCOMPARE(eq.labels().at(11), QString());
    }
};

QTEST_MAIN(TestEqualizerBands)
#include "tst_equalizer_bands.moc"
