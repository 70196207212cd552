// Device indexes stay put for the life of a component, whatever the server does.
#include "engine/pulse/device_table.h"
#include "engine/pulse/mixer_scale.h"

#include <QtTest>

using engine::pulse::DeviceInfo;
using engine::pulse::DeviceTable;

namespace {
DeviceInfo device(quint32 index, const QString &name)
{
    DeviceInfo d;
    d.index = index;
    d.name = name;
    d.description = name.toUpper();
    return d;
}
}  // namespace

class TestDeviceTable : public QObject {
    Q_OBJECT
private slots:
    void indexesSurviveChanges()
    {
        DeviceTable t;
        t.merge({device(0, "a"), device(3, "b")});
        QCOMPARE(t.size(), 2);
        QCOMPARE(t.at(1).name, QStringLiteral("b"));
        QCOMPARE(t.at(1).description, QStringLiteral("B"));

        // "a" vanishes, "c" arrives: "b" keeps index 1, "c" is appended.
        t.merge({device(3, "b"), device(7, "c")});
        QCOMPARE(t.size(), 3);
        QVERIFY(!t.at(0).present);
        QVERIFY(t.at(1).present);
        QCOMPARE(t.indexOfName("c"), 2);

        // "a" comes back with a new server index: its old place again.
        QCOMPARE(t.upsert(device(9, "a")), 0);
        QVERIFY(t.at(0).present);
        QCOMPARE(t.at(0).serverIndex, 9u);
        QCOMPARE(t.size(), 3);
    }

    void removalBySubscriptionEvent()
    {
        DeviceTable t;
        t.merge({device(4, "x"), device(5, "y")});
        t.removeServerIndex(5);
        QVERIFY(t.at(0).present);
        QVERIFY(!t.at(1).present);
        t.removeServerIndex(42);   // unknown: nothing happens
        QVERIFY(t.at(0).present);
        t.markAllAbsent();
        QVERIFY(!t.at(0).present);
        QCOMPARE(t.size(), 2);
        QVERIFY(!t.contains(2));
        QVERIFY(!t.contains(-1));
    }

    void volumeScale_data()
    {
        QTest::addColumn<int>("line");
        QTest::addColumn<quint32>("pa");
        QTest::newRow("silent") << 0 << quint32(PA_VOLUME_MUTED);
        QTest::newRow("full") << 65535 << quint32(PA_VOLUME_NORM);
    }
    void volumeScale()
    {
        QFETCH(int, line);
        QFETCH(quint32, pa);
        QCOMPARE(engine::pulse::paVolumeFromLine(line), pa_volume_t(pa));
        QCOMPARE(engine::pulse::lineVolumeFromPa(pa), line);
    }

    void volumeScaleRoundTripsAndClamps()
    {
        for (int v = 0; v <= 65535; v += 7)
            QCOMPARE(engine::pulse::lineVolumeFromPa(engine::pulse::paVolumeFromLine(v)), v);
        QCOMPARE(engine::pulse::lineVolumeFromPa(PA_VOLUME_NORM * 3 / 2), 65535);   // 150 %
        QCOMPARE(engine::pulse::paVolumeFromLine(70000), pa_volume_t(PA_VOLUME_NORM));
        QCOMPARE(engine::pulse::knobFromLineVolume(engine::pulse::lineVolumeFromKnob(37)), 37);
    }

    void balanceScale_data()
    {
        QTest::addColumn<int>("balance");
        QTest::addColumn<double>("left");    // share of the louder side's volume
        QTest::addColumn<double>("right");
        QTest::newRow("centre") << 50 << 1.0 << 1.0;
        QTest::newRow("all left") << 0 << 1.0 << 0.0;
        QTest::newRow("half right") << 75 << 0.5 << 1.0;
    }
    void balanceScale()
    {
        QFETCH(int, balance);
        QFETCH(double, left);
        QFETCH(double, right);
        pa_channel_map map;
        pa_channel_map_init_stereo(&map);
        const pa_cvolume v = engine::pulse::makeVolume(map, 40000, short(balance));
        const double top = engine::pulse::paVolumeFromLine(40000);
        QVERIFY(std::abs(v.values[0] / top - left) < 0.01);
        QVERIFY(std::abs(v.values[1] / top - right) < 0.01);
        QCOMPARE(engine::pulse::lineBalance(v, map), short(balance));
        QCOMPARE(engine::pulse::lineVolume(v), 40000);
        // Changing the volume keeps the balance.
        const pa_cvolume w = engine::pulse::withLineVolume(v, 20000);
        QCOMPARE(engine::pulse::lineBalance(w, map), short(balance));
    }

    void monoHasNoBalance()
    {
        pa_channel_map map;
        pa_channel_map_init_mono(&map);
        QVERIFY(!engine::pulse::balanceAvailable(map));
        const pa_cvolume v = engine::pulse::makeVolume(map, 1000, 10);
        QCOMPARE(engine::pulse::lineBalance(v, map), short(50));
    }
};

QTEST_APPLESS_MAIN(TestDeviceTable)
#include "tst_device_table.moc"
