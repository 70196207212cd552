// Helpers for the tests that run against the private sound server.
#pragma once

#include "common/test_audio.h"
#include "engine/engine.h"
#include "engine/pulse/pulse_recorder.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QDeadlineTimer>
#include <QObject>
#include <QProcess>
#include <QSignalSpy>
#include <QStringList>
#include <QTemporaryDir>
#include <QThread>

#include <functional>
#include <vector>

namespace pulsetest {

// `pactl -f json <args>` parsed.
inline QJsonArray pactlJson(const QStringList &args)
{
    const QString out =
        testaudio::run(QStringLiteral("pactl"), QStringList{QStringLiteral("-f"), QStringLiteral("json")} + args);
    return QJsonDocument::fromJson(out.toUtf8()).array();
}

inline int pactl(const QStringList &args, QString *output = nullptr)
{
    int code = -1;
    const QString out = testaudio::run(QStringLiteral("pactl"), args, &code);
    if (output)
        *output = out;
    return code;
}

using testaudio::loadNullSink;

// The index of the available device of that description; -1 when none.
template <typename Side>
int deviceNamed(Side &side, const QString &description)
{
    const short count = side.GetDeviceCount();
    for (short i = 0; i <= count; ++i) {
        side.SetDevice(i);
        if (side.GetDeviceAvailable() && side.GetDeviceName() == description)
            return i;
    }
    return -1;
}

inline QJsonObject findByName(const QJsonArray &list, const QString &name)
{
    for (const QJsonValue &v : list)
        if (v.toObject().value(QStringLiteral("name")).toString() == name)
            return v.toObject();
    return {};
}

// Raw per-channel volumes of a sink/source/sink-input object of pactl's JSON.
inline std::vector<qint64> channelVolumes(const QJsonObject &o)
{
    std::vector<qint64> out;
    const QJsonObject vol = o.value(QStringLiteral("volume")).toObject();
    for (const QString &key : {QStringLiteral("front-left"), QStringLiteral("front-right"),
                               QStringLiteral("mono")})
        if (vol.contains(key))
            out.push_back(vol.value(key).toObject().value(QStringLiteral("value")).toInteger());
    return out;
}

// Collects what a recorder delivers.
class Capture : public QObject {
public:
    explicit Capture(engine::IAudioRecord2 *recorder) : m_recorder(recorder)
    {
        QObject::connect(recorder, &engine::IAudioRecord2::OnEndArrayRecord, this,
                         [this](QObject *, int) {
                             const engine::SampleArray a = m_recorder->GetArray();
                             blocks.push_back(a);
                             const std::vector<float> f = a.toFloat();
                             samples.insert(samples.end(), f.begin(), f.end());
                             events << QStringLiteral("block");
                             if (onBlock)
                                 onBlock(int(blocks.size()));
                         });
        QObject::connect(recorder, &engine::IAudioRecord2::OnTimer, this,
                         [this](QObject *, qint64 current, int l, int r) {
                             ticks.push_back(current);
                             levels.push_back(std::max(l, r));
                         });
        QObject::connect(recorder, &engine::IAudioRecord2::OnDeviceError, this,
                         [this](QObject *, const QString &text) {
                             events << QStringLiteral("error");
                             errors << text;
                         });
    }
    qint64 frames() const
    {
        qint64 n = 0;
        for (const auto &b : blocks)
            n += b.frames();
        return n;
    }

    std::vector<engine::SampleArray> blocks;
    std::vector<float> samples;   // every block, interleaved
    std::vector<qint64> ticks;
    std::vector<int> levels;
    QStringList events;
    QStringList errors;
    std::function<void(int)> onBlock;

private:
    engine::IAudioRecord2 *m_recorder;
};

// Feeds a player from a buffer in blocks, one per request, then an empty block.
class Feeder : public QObject {
public:
    Feeder(engine::IAudioPlayer2 *player, std::vector<float> samples, int rate, int channels)
        : m_player(player), m_samples(std::move(samples)), m_rate(rate), m_channels(channels)
    {
        m_block = player->CalcArraySize(200);
        QObject::connect(player, &engine::IAudioPlayer2::OnEndArrayPlay, this,
                         [this](QObject *) { ++requests; feed(); });
        QObject::connect(player, &engine::IAudioPlayer2::OnRequestOnLoadArray, this,
                         [this](QObject *) { ++requests; feed(); });
        QObject::connect(player, &engine::IAudioPlayer2::OnEndPlay, this,
                         [this](QObject *) { ++ends; });
    }
    // As the program does: two blocks right after Play.
    void start()
    {
        feed();
        feed();
    }
    void feed()
    {
        if (!active)
            return;
        const qint64 total = qint64(m_samples.size()) / m_channels;
        const qint64 n = std::min(m_block, total - m_pos);
        if (n <= 0) {
            m_player->LoadArray(engine::SampleArray());
            return;
        }
        m_player->LoadArray(engine::SampleArray::fromFloat(m_samples.data() + m_pos * m_channels, n,
                                                           m_rate, m_channels));
        m_pos += n;
    }
    qint64 totalFrames() const { return qint64(m_samples.size()) / m_channels; }

    bool active = true;
    int requests = 0;
    int ends = 0;

private:
    engine::IAudioPlayer2 *m_player;
    std::vector<float> m_samples;
    int m_rate;
    int m_channels;
    qint64 m_block = 0;
    qint64 m_pos = 0;
};

// An idle null sink renders in 2 s strides, so its monitor answers late and a new stream
// on it stalls for a while. A low-latency reader on the monitor keeps it running briskly.
class KeepAwake {
public:
    bool start()
    {
        m_recorder.SetFormat(2, 44100);
        QSignalSpy first(&m_recorder, &engine::IAudioRecord2::OnEndArrayRecord);
        m_recorder.Start();
        return m_recorder.GetErrorCode() == 0 && first.wait(8000);
    }
    void stop() { m_recorder.Stop(); }

private:
    engine::PulseRecorder m_recorder;
};

// A tone (-12 dBFS, stereo) played by paplay as an application of the given name, into the
// default sink or a named one, until stop().
class TonePlayer {
public:
    TonePlayer() = default;
    TonePlayer(const TonePlayer &) = delete;
    ~TonePlayer() { stop(); }
    bool start(double hz, const QString &application, const QString &sink = {}, int seconds = 60)
    {
        const QString file = m_dir.filePath(QStringLiteral("tone.wav"));
        int code = -1;
        testaudio::run(QStringLiteral("ffmpeg"),
                       {QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-y"),
                        QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
                        QStringLiteral("aevalsrc=0.25*sin(2*PI*%1*t)|0.25*sin(2*PI*%1*t):s=44100:d=%2")
                            .arg(hz)
                            .arg(seconds),
                        file},
                       &code);
        if (code != 0)
            return false;
        m_application = application;
        QStringList args{QStringLiteral("--property=application.name=%1").arg(application)};
        if (!sink.isEmpty())
            args << QStringLiteral("--device=%1").arg(sink);
        m_process.start(QStringLiteral("paplay"), args << file);
        return m_process.waitForStarted() && sinkInput() >= 0;
    }
    void stop()
    {
        if (m_process.state() == QProcess::NotRunning)
            return;
        m_process.terminate();
        if (!m_process.waitForFinished(3000)) {
            m_process.kill();
            m_process.waitForFinished(3000);
        }
    }
    // The server's index of its stream (waits up to 5 s for it to appear); -1 when none.
    int sinkInput() const
    {
        const QDeadlineTimer deadline(5000);
        do {
            for (const QJsonValue &v : pactlJson({QStringLiteral("list"), QStringLiteral("sink-inputs")})) {
                const QJsonObject o = v.toObject();
                if (o.value(QStringLiteral("properties")).toObject().value(QStringLiteral("application.name")).toString() ==
                    m_application)
                    return o.value(QStringLiteral("index")).toInt();
            }
            QThread::msleep(50);
        } while (!deadline.hasExpired());
        return -1;
    }

private:
    QTemporaryDir m_dir;
    QProcess m_process;
    QString m_application;
};

// A low-latency reader on a monitor, so that a new capture there answers at once.
class MonitorReader {
public:
    explicit MonitorReader(const QString &source)
    {
        m_process.setStandardOutputFile(QProcess::nullDevice());
        m_process.start(QStringLiteral("parec"),
                        {QStringLiteral("--device=%1").arg(source), QStringLiteral("--latency-msec=20")});
        m_process.waitForStarted();
    }
    ~MonitorReader()
    {
        m_process.kill();
        m_process.waitForFinished(3000);
    }

private:
    QProcess m_process;
};

// The interleaved samples of the blocks whose RMS is above `thresholdDb`.
inline std::vector<float> loudPart(const Capture &c, double thresholdDb)
{
    std::vector<float> out;
    for (const auto &b : c.blocks) {
        const std::vector<float> f = b.toFloat();
        if (testaudio::rmsDb(f) > thresholdDb)
            out.insert(out.end(), f.begin(), f.end());
    }
    return out;
}

}  // namespace pulsetest
