// Value types the engine copies PulseAudio's C structs into, and owners for its objects.
#pragma once

#include <pulse/pulseaudio.h>

#include <QList>
#include <QString>

#include <memory>

namespace engine::pulse {

struct OperationDeleter {
    void operator()(pa_operation *op) const { pa_operation_unref(op); }
};
using OperationPtr = std::unique_ptr<pa_operation, OperationDeleter>;

struct StreamDeleter {
    void operator()(pa_stream *s) const { pa_stream_unref(s); }
};
using StreamPtr = std::unique_ptr<pa_stream, StreamDeleter>;

struct ProplistDeleter {
    void operator()(pa_proplist *p) const { pa_proplist_free(p); }
};
using ProplistPtr = std::unique_ptr<pa_proplist, ProplistDeleter>;

enum class DeviceKind { Sink, Source };

struct PortInfo {
    QString name;
    QString description;
    bool available = true;   // false only when the server knows it is unplugged
};

// A sink or a source.
struct DeviceInfo {
    quint32 index = PA_INVALID_INDEX;
    QString name;          // the server's stable name, e.g. "tavrin_null.monitor"
    QString description;   // what a desktop mixer shows, e.g. "Monitor of Null Output"
    QList<PortInfo> ports;
    QString activePort;    // name; empty without ports
    pa_cvolume volume{};
    pa_channel_map channelMap{};
    bool mute = false;
    bool monitor = false;  // a source that monitors a sink
    QString monitorSource; // a sink's monitor (the source that records what it plays)
};

// A playback stream of some application (a sink input).
struct StreamInfo {
    quint32 index = PA_INVALID_INDEX;
    quint32 sink = PA_INVALID_INDEX;
    QString name;          // media name
    QString application;   // application.name, or the media name when there is none
    pa_cvolume volume{};
    pa_channel_map channelMap{};
    bool mute = false;
    bool volumeWritable = false;
    qint64 processId = 0;  // application.process.id, 0 when unknown
};

struct ServerInfo {
    QString defaultSink;
    QString defaultSource;
};

}  // namespace engine::pulse
