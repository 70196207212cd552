#include "session/device_return_watch.h"

#include "engine/engine.h"

DeviceReturnWatch::DeviceReturnWatch(engine::IAudioRecord2 &recorder, Clock clock, QObject *parent)
    : QObject(parent), m_recorder(recorder), m_clock(std::move(clock))
{
    m_timer.setInterval(1000);
    connect(&m_timer, &QTimer::timeout, this, &DeviceReturnWatch::look);
    connect(&m_recorder, &engine::IAudioRecord2::OnDevicesChanged, this, [this] {
        if (isWaiting())
            look();
    });
}

void DeviceReturnWatch::start(const QString &deviceId)
{
    m_device = deviceId;
    m_since = m_clock();
    m_timer.start();
}

void DeviceReturnWatch::stop()
{
    m_timer.stop();
}

void DeviceReturnWatch::look()
{
    if (!isWaiting())
        return;
    if (m_since.secsTo(m_clock()) > kWaitSeconds) {
        m_timer.stop();
        emit gaveUp();
        return;
    }
    if (!m_recorder.SetDeviceById(m_device) || !m_recorder.GetDeviceAvailable())
        return;
    m_timer.stop();
    emit returned();
}
