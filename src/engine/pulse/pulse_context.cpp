// Why one connection per component rather than one per process: every recorder and
// player must behave as an object of its own, so a component that loses its server, waits
// for a slow answer or is being destroyed never holds up another, and its loop thread is
// stopped and joined in its own destructor. The price is one thread and one socket per
// component, and the program has two components that use the server.
#include "engine/pulse/pulse_context.h"

#include <QCoreApplication>

#include <algorithm>
#include <utility>

namespace engine::pulse {

namespace {

constexpr int kReconnectIntervalMs = 1000;

QString text(const char *s)
{
    return s ? QString::fromUtf8(s) : QString();
}

template <typename Ports>
QList<PortInfo> portsOf(Ports *const *ports, quint32 count)
{
    QList<PortInfo> out;
    for (quint32 i = 0; i < count; ++i)
        out.append({text(ports[i]->name), text(ports[i]->description),
                    ports[i]->available != PA_PORT_AVAILABLE_NO});
    return out;
}

// pa_sink_info and pa_source_info share these field names.
template <typename Info>
DeviceInfo deviceFrom(const Info *i)
{
    DeviceInfo d;
    d.index = i->index;
    d.name = text(i->name);
    d.description = text(i->description);
    if (d.description.isEmpty())
        d.description = d.name;
    d.ports = portsOf(i->ports, i->n_ports);
    if (i->active_port)
        d.activePort = text(i->active_port->name);
    d.volume = i->volume;
    d.channelMap = i->channel_map;
    d.mute = i->mute != 0;
    return d;
}

DeviceInfo convert(const pa_sink_info *i)
{
    DeviceInfo d = deviceFrom(i);
    d.monitorSource = text(i->monitor_source_name);
    return d;
}

DeviceInfo convert(const pa_source_info *i)
{
    DeviceInfo d = deviceFrom(i);
    d.monitor = i->monitor_of_sink != PA_INVALID_INDEX;
    return d;
}

StreamInfo convert(const pa_sink_input_info *i)
{
    StreamInfo s;
    s.index = i->index;
    s.sink = i->sink;
    s.name = text(i->name);
    s.application = text(pa_proplist_gets(i->proplist, PA_PROP_APPLICATION_NAME));
    if (s.application.isEmpty())
        s.application = s.name;
    s.volume = i->volume;
    s.channelMap = i->channel_map;
    s.mute = i->mute != 0;
    s.volumeWritable = i->has_volume && i->volume_writable;
    s.processId = text(pa_proplist_gets(i->proplist, PA_PROP_APPLICATION_PROCESS_ID)).toLongLong();
    return s;
}

// One trampoline for every list and by-index/by-name query: copies each item at once.
template <typename Value>
struct Collector {
    std::vector<Value> items;
    bool failed = false;
};

template <typename Info, typename Value>
void collect(pa_context *, const Info *info, int eol, void *userdata)
{
    auto *c = static_cast<Collector<Value> *>(userdata);
    if (eol < 0)
        c->failed = true;
    else if (eol == 0 && info)
        c->items.push_back(convert(info));
}

void onServerInfo(pa_context *, const pa_server_info *i, void *userdata)
{
    auto *out = static_cast<std::optional<ServerInfo> *>(userdata);
    if (i)
        *out = ServerInfo{text(i->default_sink_name), text(i->default_source_name)};
}

void onSuccess(pa_context *, int success, void *userdata)
{
    *static_cast<int *>(userdata) = success;
}

void onOperationState(pa_operation *, void *loop)
{
    pa_threaded_mainloop_signal(static_cast<pa_threaded_mainloop *>(loop), 0);
}

}  // namespace

// An asynchronous query started on the loop thread. The trampolines below copy each item
// at once and hand it on; `end` runs once when the answer is complete (or failed).
struct PendingQuery {
    const void *owner = nullptr;
    OperationPtr op;
    std::function<void(const void *item)> item;
    std::function<void()> end;
    ~PendingQuery()
    {
        // A running query would call back into freed memory: cancel it first.
        if (op && pa_operation_get_state(op.get()) == PA_OPERATION_RUNNING)
            pa_operation_cancel(op.get());
    }
};

namespace {
template <typename Info>
void onQueried(pa_context *, const Info *info, int eol, void *userdata)
{
    auto *q = static_cast<PendingQuery *>(userdata);
    if (eol == 0 && info)
        q->item(info);
    else if (q->end)
        std::exchange(q->end, nullptr)();
}

void onQueriedServer(pa_context *, const pa_server_info *info, void *userdata)
{
    auto *q = static_cast<PendingQuery *>(userdata);
    if (info)
        q->item(info);
    if (q->end)
        std::exchange(q->end, nullptr)();
}

}  // namespace

PulseContext::PulseContext(const QString &applicationName) : m_applicationName(applicationName)
{
}

PulseContext::~PulseContext()
{
    if (!m_loop)
        return;
    {
        Lock lock(*this);
        dropContextLocked();
    }
    pa_threaded_mainloop_stop(m_loop);
    pa_threaded_mainloop_free(m_loop);
}

PulseContext::Lock::Lock(PulseContext &pulse)
{
    if (pulse.m_loop && !pa_threaded_mainloop_in_thread(pulse.m_loop)) {
        m_loop = pulse.m_loop;
        pa_threaded_mainloop_lock(m_loop);
    }
}

PulseContext::Lock::~Lock()
{
    if (m_loop)
        pa_threaded_mainloop_unlock(m_loop);
}

bool PulseContext::ensureConnected()
{
    if (!m_loop) {
        m_loop = pa_threaded_mainloop_new();
        if (!m_loop) {
            m_error = QCoreApplication::translate("PulseContext", "Cannot create the sound server connection");
            return false;
        }
        pa_threaded_mainloop_set_name(m_loop, "tavrin-pulse");
        if (pa_threaded_mainloop_start(m_loop) < 0) {
            pa_threaded_mainloop_free(m_loop);
            m_loop = nullptr;
            m_error = QCoreApplication::translate("PulseContext", "Cannot start the sound server connection");
            return false;
        }
    }
    Lock lock(*this);
    if (isReady())
        return true;
    if (m_lastAttempt.isValid() && m_lastAttempt.elapsed() < kReconnectIntervalMs)
        return false;
    m_lastAttempt.start();
    return connectLocked();
}

bool PulseContext::connectLocked()
{
    dropContextLocked();
    ProplistPtr props(pa_proplist_new());
    pa_proplist_sets(props.get(), PA_PROP_APPLICATION_NAME, m_applicationName.toUtf8().constData());
    pa_proplist_sets(props.get(), PA_PROP_APPLICATION_ID, "tavrin-sound-recorder");
    pa_proplist_sets(props.get(), PA_PROP_APPLICATION_ICON_NAME, "audio-input-microphone");
    m_context = pa_context_new_with_proplist(pa_threaded_mainloop_get_api(m_loop),
                                             m_applicationName.toUtf8().constData(), props.get());
    if (!m_context) {
        m_error = QCoreApplication::translate("PulseContext", "Cannot create the sound server connection");
        return false;
    }
    pa_context_set_state_callback(m_context, &PulseContext::onContextState, this);
    // No autospawn: a machine without a server gets a clear error, not a surprise daemon.
    if (pa_context_connect(m_context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0) {
        m_error = errorText();
        dropContextLocked();
        return false;
    }
    waitUntil([this] {
        const pa_context_state_t s = pa_context_get_state(m_context);
        return s == PA_CONTEXT_READY || !PA_CONTEXT_IS_GOOD(s);
    });
    if (!isReady()) {
        m_error = pa_context_get_state(m_context) == PA_CONTEXT_READY
                      ? QString()
                      //: %1 is the sound server's own text ("Connection refused").
                      : QCoreApplication::translate("PulseContext", "No sound server answers (%1)")
                            .arg(errorText());
        dropContextLocked();
        return false;
    }
    pa_context_set_subscribe_callback(m_context, &PulseContext::onSubscription, this);
    const auto mask = pa_subscription_mask_t(PA_SUBSCRIPTION_MASK_SINK |
                                             PA_SUBSCRIPTION_MASK_SOURCE |
                                             PA_SUBSCRIPTION_MASK_SINK_INPUT |
                                             PA_SUBSCRIPTION_MASK_SERVER);
    int ok = 0;
    wait(OperationPtr(pa_context_subscribe(m_context, mask, onSuccess, &ok)));
    m_error.clear();
    return isReady();
}

void PulseContext::dropContextLocked()
{
    if (!m_context)
        return;
    pa_context_set_state_callback(m_context, nullptr, nullptr);
    pa_context_set_subscribe_callback(m_context, nullptr, nullptr);
    pa_context_disconnect(m_context);
    pa_context_unref(m_context);
    m_context = nullptr;
    m_pending.clear();
}

bool PulseContext::isReady() const
{
    return m_context && pa_context_get_state(m_context) == PA_CONTEXT_READY;
}

QString PulseContext::errorText() const
{
    if (!m_context)
        return m_error.isEmpty() ? QCoreApplication::translate("PulseContext", "No sound server") : m_error;
    return text(pa_strerror(pa_context_errno(m_context)));
}

void PulseContext::signal()
{
    if (m_loop)
        pa_threaded_mainloop_signal(m_loop, 0);
}

bool PulseContext::waitUntil(const std::function<bool()> &done, int timeoutMs)
{
    if (done())
        return true;
    if (!m_loop || pa_threaded_mainloop_in_thread(m_loop))
        return false;   // the loop thread must never wait for itself
    struct Timer {
        pa_threaded_mainloop *loop;
        bool fired = false;
    } timer{m_loop};
    pa_mainloop_api *api = pa_threaded_mainloop_get_api(m_loop);
    timeval when;
    pa_gettimeofday(&when);
    pa_timeval_add(&when, pa_usec_t(timeoutMs) * PA_USEC_PER_MSEC);
    pa_time_event *event = api->time_new(
        api, &when,
        [](pa_mainloop_api *, pa_time_event *, const timeval *, void *userdata) {
            auto *t = static_cast<Timer *>(userdata);
            t->fired = true;
            pa_threaded_mainloop_signal(t->loop, 0);
        },
        &timer);
    while (!done() && !timer.fired)
        pa_threaded_mainloop_wait(m_loop);
    api->time_free(event);
    return done();
}

bool PulseContext::wait(OperationPtr op, int timeoutMs)
{
    if (!op)
        return false;
    pa_operation_set_state_callback(op.get(), onOperationState, m_loop);
    const bool finished = waitUntil(
        [&] { return pa_operation_get_state(op.get()) != PA_OPERATION_RUNNING; }, timeoutMs);
    if (!finished)
        pa_operation_cancel(op.get());
    pa_operation_set_state_callback(op.get(), nullptr, nullptr);
    return finished && pa_operation_get_state(op.get()) == PA_OPERATION_DONE;
}

void PulseContext::onContextState(pa_context *, void *self)
{
    static_cast<PulseContext *>(self)->signal();
}

void PulseContext::onSubscription(pa_context *, pa_subscription_event_type_t t, quint32 index,
                                  void *self)
{
    auto *p = static_cast<PulseContext *>(self);
    // A handler may add or remove handlers: call a snapshot.
    const auto handlers = p->m_eventHandlers;
    for (const auto &h : handlers)
        h.second(t, index);
}

int PulseContext::addEventHandler(EventHandler handler)
{
    m_eventHandlers.emplace_back(m_nextHandler, std::move(handler));
    return m_nextHandler++;
}

void PulseContext::removeEventHandler(int id)
{
    std::erase_if(m_eventHandlers, [id](const auto &h) { return h.first == id; });
}

void PulseContext::cancelQueries(const void *owner)
{
    std::erase_if(m_pending, [owner](const std::unique_ptr<PendingQuery> &q) { return q->owner == owner; });
}

std::optional<ServerInfo> PulseContext::serverInfo()
{
    if (!isReady())
        return std::nullopt;
    std::optional<ServerInfo> out;
    if (!wait(OperationPtr(pa_context_get_server_info(m_context, onServerInfo, &out))))
        return std::nullopt;
    return out;
}

std::optional<std::vector<DeviceInfo>> PulseContext::devices(DeviceKind kind)
{
    if (!isReady())
        return std::nullopt;
    Collector<DeviceInfo> c;
    pa_operation *op = kind == DeviceKind::Sink
        ? pa_context_get_sink_info_list(m_context, collect<pa_sink_info, DeviceInfo>, &c)
        : pa_context_get_source_info_list(m_context, collect<pa_source_info, DeviceInfo>, &c);
    if (!wait(OperationPtr(op)) || c.failed)
        return std::nullopt;
    return std::move(c.items);
}

std::optional<DeviceInfo> PulseContext::device(DeviceKind kind, const QString &name)
{
    if (!isReady() || name.isEmpty())
        return std::nullopt;
    Collector<DeviceInfo> c;
    const QByteArray n = name.toUtf8();
    pa_operation *op = kind == DeviceKind::Sink
        ? pa_context_get_sink_info_by_name(m_context, n.constData(),
                                           collect<pa_sink_info, DeviceInfo>, &c)
        : pa_context_get_source_info_by_name(m_context, n.constData(),
                                             collect<pa_source_info, DeviceInfo>, &c);
    if (!wait(OperationPtr(op)) || c.items.empty())
        return std::nullopt;
    return c.items.front();
}

std::optional<DeviceInfo> PulseContext::device(DeviceKind kind, quint32 index)
{
    if (!isReady() || index == PA_INVALID_INDEX)
        return std::nullopt;
    Collector<DeviceInfo> c;
    pa_operation *op = kind == DeviceKind::Sink
        ? pa_context_get_sink_info_by_index(m_context, index, collect<pa_sink_info, DeviceInfo>, &c)
        : pa_context_get_source_info_by_index(m_context, index,
                                              collect<pa_source_info, DeviceInfo>, &c);
    if (!wait(OperationPtr(op)) || c.items.empty())
        return std::nullopt;
    return c.items.front();
}

std::optional<std::vector<StreamInfo>> PulseContext::sinkInputs()
{
    if (!isReady())
        return std::nullopt;
    Collector<StreamInfo> c;
    if (!wait(OperationPtr(pa_context_get_sink_input_info_list(
            m_context, collect<pa_sink_input_info, StreamInfo>, &c))) ||
        c.failed)
        return std::nullopt;
    return std::move(c.items);
}

std::optional<StreamInfo> PulseContext::sinkInput(quint32 index)
{
    if (!isReady() || index == PA_INVALID_INDEX)
        return std::nullopt;
    Collector<StreamInfo> c;
    if (!wait(OperationPtr(pa_context_get_sink_input_info(
            m_context, index, collect<pa_sink_input_info, StreamInfo>, &c))) ||
        c.items.empty())
        return std::nullopt;
    return c.items.front();
}

bool PulseContext::runSuccess(pa_operation *op)
{
    // The success flag is filled by the callback before the operation turns DONE.
    return op != nullptr && wait(OperationPtr(op));
}

bool PulseContext::setDeviceVolume(DeviceKind kind, quint32 index, const pa_cvolume &volume)
{
    if (!isReady())
        return false;
    int ok = 0;
    pa_operation *op = kind == DeviceKind::Sink
        ? pa_context_set_sink_volume_by_index(m_context, index, &volume, onSuccess, &ok)
        : pa_context_set_source_volume_by_index(m_context, index, &volume, onSuccess, &ok);
    return runSuccess(op) && ok;
}

bool PulseContext::setDeviceMute(DeviceKind kind, quint32 index, bool mute)
{
    if (!isReady())
        return false;
    int ok = 0;
    pa_operation *op = kind == DeviceKind::Sink
        ? pa_context_set_sink_mute_by_index(m_context, index, mute, onSuccess, &ok)
        : pa_context_set_source_mute_by_index(m_context, index, mute, onSuccess, &ok);
    return runSuccess(op) && ok;
}

bool PulseContext::setDevicePort(DeviceKind kind, quint32 index, const QString &port)
{
    if (!isReady())
        return false;
    int ok = 0;
    const QByteArray p = port.toUtf8();
    pa_operation *op = kind == DeviceKind::Sink
        ? pa_context_set_sink_port_by_index(m_context, index, p.constData(), onSuccess, &ok)
        : pa_context_set_source_port_by_index(m_context, index, p.constData(), onSuccess, &ok);
    return runSuccess(op) && ok;
}

bool PulseContext::setSinkInputVolume(quint32 index, const pa_cvolume &volume)
{
    if (!isReady())
        return false;
    int ok = 0;
    return runSuccess(pa_context_set_sink_input_volume(m_context, index, &volume, onSuccess, &ok)) &&
           ok;
}

bool PulseContext::setSinkInputMute(quint32 index, bool mute)
{
    if (!isReady())
        return false;
    int ok = 0;
    return runSuccess(pa_context_set_sink_input_mute(m_context, index, mute, onSuccess, &ok)) &&
           ok;
}

PendingQuery &PulseContext::newQuery(const void *owner)
{
    // Finished queries are released here; cancelled ones never call back and go the same
    // way. A query whose callback is running now is still RUNNING and stays.
    std::erase_if(m_pending, [](const std::unique_ptr<PendingQuery> &q) {
        return !q->op || pa_operation_get_state(q->op.get()) != PA_OPERATION_RUNNING;
    });
    m_pending.push_back(std::make_unique<PendingQuery>());
    m_pending.back()->owner = owner;
    return *m_pending.back();
}

void PulseContext::queryDevice(const void *owner, DeviceKind kind, quint32 index,
                               std::function<void(std::optional<DeviceInfo>)> f)
{
    if (!isReady()) {
        f(std::nullopt);
        return;
    }
    PendingQuery &q = newQuery(owner);
    auto found = std::make_shared<std::optional<DeviceInfo>>();
    if (kind == DeviceKind::Sink) {
        q.item = [found](const void *i) { *found = convert(static_cast<const pa_sink_info *>(i)); };
        q.op.reset(pa_context_get_sink_info_by_index(m_context, index, onQueried<pa_sink_info>, &q));
    } else {
        q.item = [found](const void *i) { *found = convert(static_cast<const pa_source_info *>(i)); };
        q.op.reset(pa_context_get_source_info_by_index(m_context, index, onQueried<pa_source_info>, &q));
    }
    q.end = [found, f] { f(*found); };
    if (!q.op)
        std::exchange(q.end, nullptr)();
}

void PulseContext::queryDevice(const void *owner, DeviceKind kind, const QString &name,
                               std::function<void(std::optional<DeviceInfo>)> f)
{
    if (!isReady() || name.isEmpty()) {
        f(std::nullopt);
        return;
    }
    PendingQuery &q = newQuery(owner);
    auto found = std::make_shared<std::optional<DeviceInfo>>();
    const QByteArray n = name.toUtf8();
    if (kind == DeviceKind::Sink) {
        q.item = [found](const void *i) { *found = convert(static_cast<const pa_sink_info *>(i)); };
        q.op.reset(pa_context_get_sink_info_by_name(m_context, n.constData(), onQueried<pa_sink_info>, &q));
    } else {
        q.item = [found](const void *i) { *found = convert(static_cast<const pa_source_info *>(i)); };
        q.op.reset(pa_context_get_source_info_by_name(m_context, n.constData(), onQueried<pa_source_info>, &q));
    }
    q.end = [found, f] { f(*found); };
    if (!q.op)
        std::exchange(q.end, nullptr)();
}

void PulseContext::querySinkInput(const void *owner, quint32 index,
                                  std::function<void(std::optional<StreamInfo>)> f)
{
    if (!isReady() || index == PA_INVALID_INDEX) {
        f(std::nullopt);
        return;
    }
    PendingQuery &q = newQuery(owner);
    auto found = std::make_shared<std::optional<StreamInfo>>();
    q.item = [found](const void *i) { *found = convert(static_cast<const pa_sink_input_info *>(i)); };
    q.end = [found, f] { f(*found); };
    q.op.reset(pa_context_get_sink_input_info(m_context, index, onQueried<pa_sink_input_info>, &q));
    if (!q.op)
        std::exchange(q.end, nullptr)();
}

void PulseContext::queryServer(const void *owner, std::function<void(std::optional<ServerInfo>)> f)
{
    if (!isReady()) {
        f(std::nullopt);
        return;
    }
    PendingQuery &q = newQuery(owner);
    auto found = std::make_shared<std::optional<ServerInfo>>();
    q.item = [found](const void *i) {
        const auto *info = static_cast<const pa_server_info *>(i);
        *found = ServerInfo{text(info->default_sink_name), text(info->default_source_name)};
    };
    q.end = [found, f] { f(*found); };
    q.op.reset(pa_context_get_server_info(m_context, onQueriedServer, &q));
    if (!q.op)
        std::exchange(q.end, nullptr)();
}

}  // namespace engine::pulse
