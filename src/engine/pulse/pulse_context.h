// One connection to the sound server: a pa_threaded_mainloop and its pa_context.
//
// Each recorder and each player owns one (see the note in pulse_context.cpp). The loop and
// the connection are made on first use; without a server every query answers "nothing"
// and connecting is tried again at most once a second.
//
// Locking: methods marked "lock held" must be called inside a Lock; they may wait for the
// server, which releases the lock while waiting. Callbacks run on the loop thread with the
// lock already held and never take it.
#pragma once

#include "engine/pulse/pulse_types.h"

#include <QElapsedTimer>
#include <QString>

#include <functional>
#include <optional>
#include <vector>

namespace engine::pulse {

struct PendingQuery;

class PulseContext {
public:
    // Longest wait for one answer of the server.
    static constexpr int kTimeoutMs = 5000;

    explicit PulseContext(const QString &applicationName);
    ~PulseContext();
    PulseContext(const PulseContext &) = delete;
    PulseContext &operator=(const PulseContext &) = delete;

    // Scoped loop lock; does nothing inside the loop thread (which already holds it).
    class Lock {
    public:
        explicit Lock(PulseContext &pulse);
        ~Lock();
        Lock(const Lock &) = delete;
        Lock &operator=(const Lock &) = delete;

    private:
        pa_threaded_mainloop *m_loop = nullptr;
    };

    // Not lock held (takes the lock itself). True when the connection is ready.
    bool ensureConnected();

    // Lock held.
    bool isReady() const;
    pa_context *context() const { return m_context; }
    QString errorText() const;   // the last error of the connection, readable
    // Waits for the operation to finish (or the timeout); true when it completed.
    bool wait(OperationPtr op, int timeoutMs = kTimeoutMs);
    // Waits until done() holds (re-checked at every wake-up) or the timeout passes.
    bool waitUntil(const std::function<bool()> &done, int timeoutMs = kTimeoutMs);
    // Wakes every waiter; for callbacks.
    void signal();

    // Queries, lock held; nullopt when the server cannot answer.
    std::optional<ServerInfo> serverInfo();
    std::optional<std::vector<DeviceInfo>> devices(DeviceKind kind);
    std::optional<DeviceInfo> device(DeviceKind kind, const QString &name);
    std::optional<DeviceInfo> device(DeviceKind kind, quint32 index);
    std::optional<std::vector<StreamInfo>> sinkInputs();
    std::optional<StreamInfo> sinkInput(quint32 index);

    // Writes, lock held; they return when the server has applied them. False when the
    // target is gone or there is no server; errorText() tells why.
    bool setDeviceVolume(DeviceKind kind, quint32 index, const pa_cvolume &volume);
    bool setDeviceMute(DeviceKind kind, quint32 index, bool mute);
    bool setDevicePort(DeviceKind kind, quint32 index, const QString &port);
    bool setSinkInputVolume(quint32 index, const pa_cvolume &volume);
    bool setSinkInputMute(quint32 index, bool mute);

    // Asynchronous queries for the loop thread (lock held); the answer arrives on the loop
    // thread, nullopt when the server has no such thing. `owner` tags the query so that its
    // owner can cancel what it started (cancelQueries).
    void queryDevice(const void *owner, DeviceKind kind, quint32 index,
                     std::function<void(std::optional<DeviceInfo>)> f);
    void queryDevice(const void *owner, DeviceKind kind, const QString &name,
                     std::function<void(std::optional<DeviceInfo>)> f);
    void querySinkInput(const void *owner, quint32 index,
                        std::function<void(std::optional<StreamInfo>)> f);
    void queryServer(const void *owner, std::function<void(std::optional<ServerInfo>)> f);

    // Subscription to sink, source, sink-input and server events; handlers are called on the
    // loop thread. Lock held; the number identifies the handler for removal.
    using EventHandler = std::function<void(pa_subscription_event_type_t type, quint32 index)>;
    int addEventHandler(EventHandler handler);
    void removeEventHandler(int id);
    // Cancels the queries `owner` started (their callbacks will not run); lock held, never
    // from inside one of those callbacks.
    void cancelQueries(const void *owner);

private:
    static void onContextState(pa_context *c, void *self);
    static void onSubscription(pa_context *c, pa_subscription_event_type_t t, quint32 index,
                               void *self);
    bool connectLocked();
    void dropContextLocked();
    bool runSuccess(pa_operation *op);
    PendingQuery &newQuery(const void *owner);

    QString m_applicationName;
    pa_threaded_mainloop *m_loop = nullptr;
    pa_context *m_context = nullptr;
    std::vector<std::pair<int, EventHandler>> m_eventHandlers;
    int m_nextHandler = 1;
    std::vector<std::unique_ptr<PendingQuery>> m_pending;
    QElapsedTimer m_lastAttempt;
    QString m_error;
};

}  // namespace engine::pulse
