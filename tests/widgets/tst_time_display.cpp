#include "widgets/time_display.h"

#include <QtTest>

class TestTimeDisplay : public QObject {
    Q_OBJECT
private slots:
    void totalCarriesIntoFields_data()
    {
        QTest::addColumn<qint64>("total");
        QTest::addColumn<int>("hours");
        QTest::addColumn<int>("minutes");
        QTest::addColumn<int>("seconds");
        QTest::addColumn<int>("ms");
        QTest::addColumn<QString>("text");
        QTest::newRow("zero") << qint64(0) << 0 << 0 << 0 << 0 << "00:00:00.000";
        QTest::newRow("below a second") << qint64(999) << 0 << 0 << 0 << 999 << "00:00:00.999";
        QTest::newRow("one second") << qint64(1000) << 0 << 0 << 1 << 0 << "00:00:01.000";
        QTest::newRow("just below a minute") << qint64(59999) << 0 << 0 << 59 << 999 << "00:00:59.999";
        QTest::newRow("one minute") << qint64(60000) << 0 << 1 << 0 << 0 << "00:01:00.000";
        QTest::newRow("1 h 30 min 15 s") << qint64(5415000) << 1 << 30 << 15 << 0 << "01:30:15.000";
        QTest::newRow("just below an hour") << qint64(3599999) << 0 << 59 << 59 << 999 << "00:59:59.999";
        QTest::newRow("25 hours and a bit") << qint64(90061001) << 25 << 1 << 1 << 1 << "25:01:01.001";
        QTest::newRow("100 hours") << qint64(360000000) << 100 << 0 << 0 << 0 << "100:00:00.000";
        QTest::newRow("negative counts as zero") << qint64(-5) << 0 << 0 << 0 << 0 << "00:00:00.000";
    }
    void totalCarriesIntoFields()
    {
        QFETCH(qint64, total);
        QFETCH(int, hours);
        QFETCH(int, minutes);
        QFETCH(int, seconds);
        QFETCH(int, ms);
        QFETCH(QString, text);
        TimeDisplay d;
        d.setHours(7);   // stale fields must not survive a new total
        d.setMinutes(7);
        d.setSeconds(7);
        d.setMilliseconds(total);
        QCOMPARE(d.hours(), hours);
        QCOMPARE(d.minutes(), minutes);
        QCOMPARE(d.seconds(), seconds);
        QCOMPARE(d.milliseconds(), ms);
        QCOMPARE(d.text(), text);
    }

    void fieldsSetOneByOne_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<int>("value");
        QTest::addColumn<QString>("text");   // after starting from 01:02:03.004
        QTest::newRow("hours") << "hours" << 5 << "05:02:03.004";
        QTest::newRow("minutes") << "minutes" << 45 << "01:45:03.004";
        QTest::newRow("seconds") << "seconds" << 59 << "01:02:59.004";
        QTest::newRow("seconds clamped") << "seconds" << 75 << "01:02:59.004";
        QTest::newRow("minutes clamped low") << "minutes" << -1 << "01:00:03.004";
        QTest::newRow("hours zero") << "hours" << 0 << "00:02:03.004";
    }
    void fieldsSetOneByOne()
    {
        QFETCH(QString, field);
        QFETCH(int, value);
        QFETCH(QString, text);
        TimeDisplay d;
        d.setMilliseconds(3723004);
        QCOMPARE(d.text(), QStringLiteral("01:02:03.004"));
        if (field == "hours")
            d.setHours(value);
        else if (field == "minutes")
            d.setMinutes(value);
        else
            d.setSeconds(value);
        QCOMPARE(d.text(), text);
        // The same fields are reachable by name.
        QCOMPARE(d.property(field.toLatin1()).toInt(),
                 field == "hours" ? d.hours() : field == "minutes" ? d.minutes() : d.seconds());
    }

    void stopSequenceClearsEverything()
    {
        TimeDisplay d;
        d.setMilliseconds(5415321);
        d.setMilliseconds(0);
        d.setSeconds(0);
        d.setMinutes(0);
        d.setHours(0);
        QCOMPARE(d.text(), QStringLiteral("00:00:00.000"));
    }

    void previewBelowASecondAfterALongTotal()
    {
        // The slider preview writes small totals after large ones.
        TimeDisplay d;
        d.setMilliseconds(7322500);
        d.setSeconds(0);
        d.setMilliseconds(500);
        QCOMPARE(d.hours(), 0);
        QCOMPARE(d.minutes(), 0);
        QCOMPARE(d.seconds(), 0);
        QCOMPARE(d.milliseconds(), 500);
    }

    void digitsAreDrawn()
    {
        TimeDisplay d;
        d.resize(121, 33);
        const QImage zero = d.grab().toImage();
        d.setMilliseconds(5415123);
        const QImage later = d.grab().toImage();
        QVERIFY(zero != later);
        d.setMilliseconds(0);
        QCOMPARE(d.grab().toImage(), zero);
    }
};

QTEST_MAIN(TestTimeDisplay)
#include "tst_time_display.moc"
