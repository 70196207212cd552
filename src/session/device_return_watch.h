// Waits for a lost input device to come back, by its id: it looks once a second and whenever
// the device list changes, and gives up after kWaitSeconds of the wall clock.
#pragma once

#include <QDateTime>
#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>

namespace engine {
class IAudioRecord2;
}

class DeviceReturnWatch : public QObject {
    Q_OBJECT

public:
    static constexpr int kWaitSeconds = 600;
    using Clock = std::function<QDateTime()>;

    DeviceReturnWatch(engine::IAudioRecord2 &recorder, Clock clock, QObject *parent = nullptr);

    // Waits for the device with that id from now on.
    void start(const QString &deviceId);
    void stop();
    bool isWaiting() const { return m_timer.isActive(); }
    // Looks now: a device that is back is made the recorder's current one, and returned()
    // follows.
    void look();

signals:
    void returned();
    void gaveUp();

private:
    engine::IAudioRecord2 &m_recorder;
    Clock m_clock;
    QString m_device;
    QDateTime m_since;
    QTimer m_timer;
};
