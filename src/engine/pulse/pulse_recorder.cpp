#include "engine/pulse/pulse_recorder.h"

#include "engine/pulse/error_codes.h"

#include <QThread>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace engine {

namespace {
constexpr qint64 kRingFrames = 32768;   // enough for the largest snapshot (2 x 4096)
const QString kApplicationName = QStringLiteral("Tavrin Sound Recorder");
// The mix's two streams, as the desktop's mixer lists them (translated there).
const char *const kSideNames[2] = {
    //: The name the desktop's sound settings show for the stream that records the microphone.
    QT_TRANSLATE_NOOP("engine::PulseRecorder", "Recording (microphone)"),
    //: The name the desktop's sound settings show for the stream that records the computer sound.
    QT_TRANSLATE_NOOP("engine::PulseRecorder", "Recording (computer sound)")};

qint64 framesFor(int milliseconds, int rate)
{
    return (qint64(milliseconds) * rate + 500) / 1000;
}
}  // namespace

PulseRecorder::PulseRecorder(QObject *parent)
    : MixerForwarding<IAudioRecord2, pulse::RecordingDevices>(parent),
      m_pulse(std::make_unique<pulse::PulseContext>(kApplicationName)),
      m_devices(std::make_unique<pulse::RecordingDevices>(*m_pulse, m_levels))
{
    m_timer.setTimerType(Qt::PreciseTimer);
    m_timer.setInterval(kTickMs);
    connect(&m_timer, &QTimer::timeout, this, &PulseRecorder::tick);
    m_ring.reset(m_channels, kRingFrames);
    m_blockFrames = CalcArraySize(200);
    // Bursts of server events (a device with several ports, a player starting) come to
    // the window as one change.
    m_devices->setChangeHandler([this] {
        if (!m_devicesChangePending.exchange(true))
            QMetaObject::invokeMethod(
                this,
                [this] {
                    m_devicesChangePending = false;
                    emit OnDevicesChanged(this);
                },
                Qt::QueuedConnection);
    });
    pulse::PulseContext::Lock lock(*m_pulse);
    m_serverHandler = m_pulse->addEventHandler(
        [this](pa_subscription_event_type_t type, quint32) { onServerEvent(type); });
}

PulseRecorder::~PulseRecorder()
{
    {
        pulse::PulseContext::Lock lock(*m_pulse);
        m_ended = true;
        releaseStreams();
        m_pulse->removeEventHandler(m_serverHandler);
    }
    m_devices.reset();
    m_pulse.reset();   // stops and joins the loop thread before the QObject goes
}

void PulseRecorder::SetFormat(int valueB, int valueA)
{
    if (valueB < 1 || valueB > dsp::kMaxChannels || valueA < 1000 || valueA > 384000)
        throw EngineError(tr("Unsupported recording format: %1 channels at %2 Hz")
                              .arg(valueB)
                              .arg(valueA));
    m_channels = valueB;
    m_rate = valueA;
}

qint64 PulseRecorder::CalcArraySize(int milliseconds)
{
    return std::max<qint64>(1, framesFor(milliseconds, m_rate));
}

void PulseRecorder::SetArraySize(qint64 samples)
{
    pulse::PulseContext::Lock lock(*m_pulse);
    m_blockFrames = samples > 0 ? samples : CalcArraySize(200);
}

void PulseRecorder::SetRecordFlag(bool)
{
    // Accepted; capture does not depend on it.
}

qint64 PulseRecorder::SamplesToMs(qint64 samples)
{
    return (samples * 1000 + m_rate / 2) / m_rate;
}

QString PulseRecorder::GetDeviceId()
{
    return m_devices->deviceId();
}

bool PulseRecorder::SetDeviceById(const QString &id)
{
    return m_devices->setDeviceById(id);
}

void PulseRecorder::SetMixLevels(int microphonePercent, int computerPercent)
{
    m_levels.microphone = std::clamp(microphonePercent, 0, 100);
    m_levels.computer = std::clamp(computerPercent, 0, 100);
}

int PulseRecorder::GetMicrophoneMixLevel()
{
    return m_levels.microphone.load();
}

int PulseRecorder::GetComputerMixLevel()
{
    return m_levels.computer.load();
}

void PulseRecorder::fail(int code, const QString &text)
{
    m_errorCode = code;
    m_errorText = text;
}

void PulseRecorder::Start()
{
    Q_ASSERT(QThread::currentThread() == thread());
    if (m_capturing)
        return;
    m_errorCode = pulse::kNoError;
    m_errorText.clear();
    // The input may have changed since listening was turned on.
    if (m_monitorOn && !monitorRefusal(m_monitorOutput).isEmpty())
        m_monitorOn = false;
    // Not there: say whether the device or the whole server is missing.
    const auto missing = [this](const QString &text) {
        pulse::PulseContext::Lock lock(*m_pulse);
        const bool server = m_pulse->isReady();
        fail(server ? pulse::kNoDevice : pulse::kNoServer, server ? text : m_pulse->errorText());
    };

    switch (m_devices->kind()) {
    case pulse::ChoiceKind::Device:
    case pulse::ChoiceKind::Nothing: {
        const auto device = m_devices->currentSourceName();
        if (!device) {
            missing(tr("The recording device is not available"));
            return;
        }
        pulse::PulseContext::Lock lock(*m_pulse);
        prepare(Mode::Device);
        //: The name the desktop's sound settings show for the stream that records an input.
        if (!openStream(0, tr("Recording"), *device, PA_INVALID_INDEX, false) ||
            !m_streams[0]->waitReady()) {
            const QString why = m_pulse->errorText();
            m_ended = true;
            releaseStreams();
            //: %1 the input device, %2 the sound server's reason.
            fail(pulse::kStreamFailed, tr("Cannot record from %1: %2").arg(*device, why));
            return;
        }
        break;
    }
    case pulse::ChoiceKind::Application: {
        const auto app = m_devices->currentApplication();
        if (!app) {
            //: %1 is an entry of the input list ("Sound of Firefox").
            missing(tr("%1 is not available").arg(m_devices->deviceName()));
            return;
        }
        pulse::PulseContext::Lock lock(*m_pulse);
        prepare(Mode::Application);
        m_appStream = app->stream.index;
        m_appName = app->stream.application;
        m_appLastUs = pulse::CaptureStream::nowUs();
        const auto sink = m_pulse->device(pulse::DeviceKind::Sink, app->stream.sink);
        //: The name the desktop's sound settings show for the stream that records the program %1.
        if (!sink || !openStream(0, tr("Recording %1").arg(m_appName),
                                 sink->monitorSource, m_appStream, false) ||
            !m_streams[0]->waitReady()) {
            const QString why = m_pulse->errorText();
            m_ended = true;
            releaseStreams();
            //: %1 a playing program, %2 the sound server's reason.
            fail(pulse::kStreamFailed, tr("Cannot record %1: %2").arg(m_appName, why));
            return;
        }
        break;
    }
    case pulse::ChoiceKind::Mix: {
        if (!m_pulse->ensureConnected()) {
            missing(QString());
            return;
        }
        pulse::PulseContext::Lock lock(*m_pulse);
        prepare(Mode::Mix);
        startMix();
        if (m_errorCode != pulse::kNoError)
            return;
        break;
    }
    }
    if (m_monitorOn) {
        pulse::PulseContext::Lock lock(*m_pulse);
        openMonitor();
    }
    m_capturing = true;
    m_timer.start();
}

// Everything the stream callbacks touch is ready before a stream can call them.
void PulseRecorder::prepare(Mode mode)
{
    m_mode = mode;
    m_streamChannels = m_channels;
    m_streamRate = m_rate;
    m_blockChannels = mode == Mode::Mix && m_sidesWanted ? 3 * m_channels : m_channels;
    m_filters.setFormat(m_rate, m_blockChannels);
    m_fill = QByteArray(qsizetype(m_blockFrames * m_blockChannels * qint64(sizeof(float))),
                        Qt::Uninitialized);
    m_fillFrames = 0;
    m_fadeInLeft = qint64(m_rate) * kJoinFadeMs / 1000;
    m_ended = false;
    m_appMoved = false;
    m_appAttempts = 0;
    m_sideAttempts = {0, 0};
    m_following = false;
    m_followAgain = false;
    m_captured = 0;
    m_lost = 0;
    m_overruns = 0;
    m_reconnects = 0;
    m_followMs = 0;
    std::lock_guard guard(m_mutex);
    m_ring.reset(m_channels, kRingFrames);
    m_peakLeft = m_peakRight = 0;
}

bool PulseRecorder::openStream(int slot, const QString &name, const QString &device,
                               quint32 sinkInput, bool fromLoop)
{
    auto &stream = m_streams[size_t(slot)];
    if (stream)
        stream->close();
    stream = std::make_unique<pulse::CaptureStream>(*m_pulse);
    pulse::CaptureStream::Handlers handlers;
    handlers.data = [this, slot](const float *data, qint64 frames, qint64 capturedUs) {
        onData(slot, data, frames, capturedUs);
    };
    handlers.ended = [this, slot, fromLoop](bool running) { onEnded(slot, running, fromLoop); };
    handlers.overflow = [this] { ++m_overruns; };
    if (fromLoop && m_mode == Mode::Application)
        handlers.ready = [this] {
            m_followMs = double(pulse::CaptureStream::nowUs() - m_appEndedUs) / 1000.0;
        };
    return stream->open(name, device, m_streamRate, m_streamChannels, sinkInput, std::move(handlers));
}

void PulseRecorder::startMix()
{
    QString wanted[2];
    if (const auto server = m_pulse->serverInfo()) {
        if (m_pulse->device(pulse::DeviceKind::Source, server->defaultSource))
            wanted[kMicrophone] = server->defaultSource;
        if (const auto sink = m_pulse->device(pulse::DeviceKind::Sink, server->defaultSink))
            wanted[kComputer] = sink->monitorSource;
    }
    m_mixer.reset(m_rate, m_channels);
    m_mixer.setKeepSides(m_blockChannels != m_streamChannels);
    m_mixer.setLevel(kMicrophone, float(m_levels.microphone.load()) / 100.0f);
    m_mixer.setLevel(kComputer, float(m_levels.computer.load()) / 100.0f);
    if (wanted[kMicrophone].isEmpty() && wanted[kComputer].isEmpty()) {
        m_ended = true;
        fail(pulse::kNoDevice, tr("There is neither a recording device nor a sound output"));
        return;
    }
    for (int i : {kMicrophone, kComputer})
        if (!wanted[i].isEmpty())
            openStream(i, tr(kSideNames[i]), wanted[i], PA_INVALID_INDEX, false);
    bool running = false;
    for (int i : {kMicrophone, kComputer}) {
        auto &stream = m_streams[size_t(i)];
        if (stream && stream->waitReady()) {
            running = true;
        } else if (stream) {
            // That side stays silent until its default device changes.
            stream->close();
            stream.reset();
            m_mixer.stopSide(i);
        }
    }
    if (!running) {
        const QString why = m_pulse->errorText();
        m_ended = true;
        releaseStreams();
        fail(pulse::kStreamFailed,
             //: %1 is the sound server's reason.
             tr("Cannot record the microphone or the computer sound: %1").arg(why));
    }
}

void PulseRecorder::Stop()
{
    Q_ASSERT(QThread::currentThread() == thread());
    m_timer.stop();
    if (m_capturing) {
        m_capturing = false;
        pulse::PulseContext::Lock lock(*m_pulse);
        if (!m_ended) {
            // What the server already handed over belongs to this take.
            for (auto &stream : m_streams)
                if (stream && stream->isReady())
                    stream->readAvailable();
            if (m_mode == Mode::Mix) {
                m_mixer.flush(m_mixed);
                consume(m_mixed.data(), qint64(m_mixed.size()) / m_blockChannels);
                m_mixed.clear();
            }
            m_ended = true;
            releaseStreams();
            if (m_fillFrames > 0) {
                fadeOutTail();
                pushBlock();
            }
        } else {
            releaseStreams();
        }
    }
    // Blocks captured before Stop reach the caller before Stop returns.
    while (deliverOne()) {
    }
}

void PulseRecorder::releaseStreams()
{
    for (auto &stream : m_streams) {
        if (stream)
            stream->close();
        stream.reset();
    }
    closeMonitor();
    m_pulse->cancelQueries(this);
    m_following = false;
    m_followAgain = false;
}

int PulseRecorder::GetErrorCode()
{
    return m_errorCode;
}

SampleArray PulseRecorder::GetArray()
{
    return m_current;
}

bool PulseRecorder::SetSideArrays(bool on)
{
    m_sidesWanted = on;
    return on && m_devices->kind() == pulse::ChoiceKind::Mix;
}

SampleArray PulseRecorder::GetSideArray(int side)
{
    return side == 0 || side == 1 ? m_currentSides[size_t(side)] : SampleArray();
}

SampleArray PulseRecorder::GetSnapshotArray(int count)
{
    if (count <= 0)
        return SampleArray();
    std::lock_guard guard(m_mutex);
    const std::vector<float> frames = m_ring.frames(m_ring.end(), count);
    return SampleArray::fromFloat(frames, m_streamRate, m_ring.channels());
}

void PulseRecorder::onData(int slot, const float *data, qint64 frames, qint64 capturedUs)
{
    if (m_ended)
        return;
    if (!data)
        m_lost += frames;   // a hole: silence keeps the timeline
    switch (m_mode) {
    case Mode::Device:
        consume(data, frames);
        break;
    case Mode::Application:
        if (m_appMoved) {
            // The first frames after a move: the time the move took becomes silence.
            m_appMoved = false;
            m_appAttempts = 0;
            const double startUs = double(capturedUs) - double(frames) * 1e6 / m_streamRate;
            const qint64 gap = std::clamp<qint64>(
                std::llround((startUs - double(m_appLastUs)) * m_streamRate / 1e6), 0,
                qint64(m_streamRate) * 10);
            if (gap > 0) {
                consume(nullptr, gap);
                m_lost += gap;
            }
        }
        consume(data, frames);
        m_appLastUs = capturedUs;
        break;
    case Mode::Mix:
        if (slot == kMicrophone)
            listenToMicrophone(data, frames);
        m_sideAttempts[size_t(slot)] = 0;
        m_mixer.setLevel(kMicrophone, float(m_levels.microphone.load()) / 100.0f);
        m_mixer.setLevel(kComputer, float(m_levels.computer.load()) / 100.0f);
        m_mixer.push(slot, data, frames, capturedUs, m_mixed);
        m_mixCorrection = m_mixer.correction();
        m_mixOffsetMs = m_mixer.offsetMs();
        if (!m_mixed.empty()) {
            consume(m_mixed.data(), qint64(m_mixed.size()) / m_blockChannels);
            m_mixed.clear();
        }
        break;
    }
}

void PulseRecorder::onEnded(int slot, bool running, bool fromLoop)
{
    if (m_ended || (!running && !fromLoop))
        return;   // stopped by us, or Start is waiting for it and says why
    switch (m_mode) {
    case Mode::Device:
        // The device or the server went away.
        //: %1 is the sound server's reason.
        endCapture(tr("The recording device is no longer available (%1)")
                       .arg(m_pulse->errorText()));
        break;
    case Mode::Application:
        // Moved to another sink (the server ends the stream then), or gone.
        if (running)
            m_appEndedUs = pulse::CaptureStream::nowUs();
        followApplication();
        break;
    case Mode::Mix:
        m_mixer.stopSide(slot);
        if (!running)
            ++m_sideAttempts[size_t(slot)];
        followDefaults();
        break;
    }
}

bool PulseRecorder::captureOver()
{
    if (m_ended)
        return true;
    if (!m_pulse->isReady()) {
        //: %1 is the sound server's reason.
        endCapture(tr("The recording device is no longer available (%1)")
                       .arg(m_pulse->errorText()));
        return true;
    }
    return false;
}

void PulseRecorder::followApplication()
{
    if (captureOver())
        return;
    if (++m_appAttempts > kFollowAttempts) {
        //: %1 a playing program, %2 the sound server's reason.
        endCapture(tr("%1 cannot be recorded any more (%2)")
                       .arg(m_appName, m_pulse->errorText()));
        return;
    }
    m_pulse->querySinkInput(this, m_appStream, [this](std::optional<pulse::StreamInfo> s) {
        if (m_ended)
            return;
        if (!s) {
            //: %1 is a playing program.
            endCapture(tr("%1 stopped playing").arg(m_appName));
            return;
        }
        m_pulse->queryDevice(this, pulse::DeviceKind::Sink, s->sink,
                             [this](std::optional<pulse::DeviceInfo> sink) {
                                 if (m_ended)
                                     return;
                                 if (!sink || sink->monitorSource.isEmpty()) {
                                     followApplication();   // moved on again: look again
                                     return;
                                 }
                                 m_appMoved = true;
                                 ++m_reconnects;
                                 if (!openStream(0, tr("Recording %1").arg(m_appName),
                                                 sink->monitorSource, m_appStream, true))
                                     followApplication();
                             });
    });
}

void PulseRecorder::onServerEvent(pa_subscription_event_type_t type)
{
    if (m_ended || m_mode != Mode::Mix ||
        (type & PA_SUBSCRIPTION_EVENT_FACILITY_MASK) != PA_SUBSCRIPTION_EVENT_SERVER)
        return;
    // The defaults may have changed (headphones plugged in): both sides may try again.
    m_sideAttempts = {0, 0};
    followDefaults();
}

// Each side of the mix records the server's default device of its kind: when a default
// changes or a side's device went away, that side moves to the default of now.
void PulseRecorder::followDefaults()
{
    if (captureOver())
        return;
    if (m_following) {
        m_followAgain = true;
        return;
    }
    m_following = true;
    m_pulse->queryServer(this, [this](std::optional<pulse::ServerInfo> server) {
        const QString microphone = server ? server->defaultSource : QString();
        const QString output = server ? server->defaultSink : QString();
        m_pulse->queryDevice(this, pulse::DeviceKind::Sink, output,
                             [this, microphone](std::optional<pulse::DeviceInfo> sink) {
            m_following = false;
            if (m_ended)
                return;
            const QString wanted[2] = {microphone, sink ? sink->monitorSource : QString()};
            if (m_monitor && microphone == m_monitorOutputSource) {
                // The new microphone is the sound of the output listened on.
                m_monitorOn = false;
                closeMonitor();
            }
            for (int i : {kMicrophone, kComputer}) {
                auto &stream = m_streams[size_t(i)];
                const bool open = stream && stream->isOpen();
                if (wanted[i].isEmpty() || (open && stream->device() == wanted[i]))
                    continue;
                if (!open && m_sideAttempts[size_t(i)] >= kFollowAttempts)
                    continue;   // keeps failing: wait for the defaults to change
                m_mixer.stopSide(i);
                if (!openStream(i, tr(kSideNames[i]), wanted[i], PA_INVALID_INDEX, true))
                    ++m_sideAttempts[size_t(i)];
            }
            const bool anyOpen = std::any_of(m_streams.begin(), m_streams.end(),
                                             [](const auto &s) { return s && s->isOpen(); });
            if (!anyOpen) {
                //: %1 is the sound server's reason.
                endCapture(tr("Neither the microphone nor the computer sound can be "
                              "recorded any more (%1)")
                               .arg(m_pulse->errorText()));
                return;
            }
            if (std::exchange(m_followAgain, false))
                followDefaults();
        });
    });
}

// Capture ended by itself: hand over what was captured, then the end.
void PulseRecorder::endCapture(const QString &text)
{
    if (m_ended)
        return;
    m_ended = true;
    if (m_mode == Mode::Mix) {
        m_mixer.flush(m_mixed);
        consume(m_mixed.data(), qint64(m_mixed.size()) / m_blockChannels);
        m_mixed.clear();
    }
    if (m_fillFrames > 0)
        pushBlock();
    push({SampleArray(), text});
}

void PulseRecorder::consume(const float *data, qint64 frames)
{
    const int ch = m_blockChannels;
    while (frames > 0) {
        const qint64 block = std::max<qint64>(1, m_blockFrames);
        const qint64 needBytes = block * ch * qint64(sizeof(float));
        if (m_fill.size() < needBytes)
            m_fill.resize(qsizetype(needBytes));
        const qint64 n = std::min(frames, block - m_fillFrames);
        float *dst = reinterpret_cast<float *>(m_fill.data()) + m_fillFrames * ch;
        if (data)
            std::memcpy(dst, data, size_t(n * ch) * sizeof(float));
        else
            std::memset(dst, 0, size_t(n * ch) * sizeof(float));
        m_filters.process(dst, n);
        if (m_fadeInLeft > 0)
            fadeIn(dst, n);
        if (m_monitor && m_mode != Mode::Mix)
            m_monitor->write(dst, n);
        // The meters and the spectrum show the sum alone.
        const float *mixed = dst;
        if (ch != m_streamChannels) {
            const int mixCh = m_streamChannels;
            m_sumScratch.resize(size_t(n * mixCh));
            for (qint64 f = 0; f < n; ++f)
                std::memcpy(m_sumScratch.data() + f * mixCh, dst + f * ch, size_t(mixCh) * sizeof(float));
            mixed = m_sumScratch.data();
        }
        {
            std::lock_guard guard(m_mutex);
            m_ring.append(mixed, n);
            dsp::accumulatePeaks(mixed, n, m_streamChannels, m_peakLeft, m_peakRight);
        }
        m_fillFrames += n;
        m_captured += n;
        if (m_fillFrames >= block)
            pushBlock();
        frames -= n;
        if (data)
            data += n * ch;
    }
}

// The sound on either side of a pause never lines up; a few milliseconds of fade at each
// end of a take keep the join from clicking.
void PulseRecorder::fadeIn(float *frames, qint64 n)
{
    const qint64 total = std::max<qint64>(1, qint64(m_streamRate) * kJoinFadeMs / 1000);
    const int ch = m_blockChannels;
    for (qint64 i = 0; i < n && m_fadeInLeft > 0; ++i, --m_fadeInLeft) {
        const double x = double(total - m_fadeInLeft) / double(total);
        const float g = float(0.5 - 0.5 * std::cos(M_PI * x));
        for (int c = 0; c < ch; ++c)
            frames[i * ch + c] *= g;
    }
}

void PulseRecorder::fadeOutTail()
{
    const qint64 total = std::min<qint64>(m_fillFrames,
                                          std::max<qint64>(1, qint64(m_streamRate) * kJoinFadeMs / 1000));
    const int ch = m_blockChannels;
    float *frames = reinterpret_cast<float *>(m_fill.data()) + (m_fillFrames - total) * ch;
    for (qint64 i = 0; i < total; ++i) {
        const double x = double(i + 1) / double(total);
        const float g = float(0.5 + 0.5 * std::cos(M_PI * x));
        for (int c = 0; c < ch; ++c)
            frames[i * ch + c] *= g;
    }
}

void PulseRecorder::pushBlock()
{
    QByteArray bytes = std::move(m_fill);
    const int ch = m_streamChannels;
    if (m_blockChannels == ch) {
        bytes.resize(qsizetype(m_fillFrames * ch * qint64(sizeof(float))));
        push({SampleArray(SampleFormat::Float32, m_streamRate, ch, std::move(bytes)), {}, {}});
    } else {
        // The sum and each side, as blocks of their own.
        Event event;
        std::array<QByteArray, 3> parts;
        const qsizetype partBytes = qsizetype(m_fillFrames * ch * qint64(sizeof(float)));
        for (QByteArray &part : parts)
            part = QByteArray(partBytes, Qt::Uninitialized);
        const float *src = reinterpret_cast<const float *>(bytes.constData());
        for (qint64 f = 0; f < m_fillFrames; ++f)
            for (size_t k = 0; k < parts.size(); ++k)
                std::memcpy(reinterpret_cast<float *>(parts[k].data()) + f * ch,
                            src + (f * 3 + qint64(k)) * ch, size_t(ch) * sizeof(float));
        event.block = SampleArray(SampleFormat::Float32, m_streamRate, ch, std::move(parts[0]));
        for (size_t k = 0; k < 2; ++k)
            event.sides[k] = SampleArray(SampleFormat::Float32, m_streamRate, ch, std::move(parts[k + 1]));
        push(std::move(event));
    }
    m_fill = QByteArray(qsizetype(std::max<qint64>(1, m_blockFrames) * m_blockChannels *
                                  qint64(sizeof(float))),
                        Qt::Uninitialized);
    m_fillFrames = 0;
}

void PulseRecorder::push(Event event)
{
    {
        std::lock_guard guard(m_mutex);
        m_events.push_back(std::move(event));
    }
    // One delivery per event; a delivery that finds the queue empty (Stop got there first)
    // does nothing.
    QMetaObject::invokeMethod(this, [this] { deliverOne(); }, Qt::QueuedConnection);
}

bool PulseRecorder::deliverOne()
{
    Event event;
    {
        std::lock_guard guard(m_mutex);
        if (m_events.empty())
            return false;
        event = std::move(m_events.front());
        m_events.pop_front();
    }
    if (!event.block.isEmpty()) {
        m_current = event.block;
        m_currentSides = event.sides;
        emit OnEndArrayRecord(this, ++m_blockNumber);
        return true;
    }
    // The end of a capture that failed.
    m_timer.stop();
    m_capturing = false;
    {
        pulse::PulseContext::Lock lock(*m_pulse);
        releaseStreams();
    }
    m_errorCode = pulse::kDeviceLost;
    m_errorText = event.error;
    emit OnDeviceError(this, event.error);
    return true;
}

void PulseRecorder::tick()
{
    if (!m_capturing)
        return;
    float left, right;
    {
        std::lock_guard guard(m_mutex);
        left = m_peakLeft;
        right = m_peakRight;
        m_peakLeft = m_peakRight = 0;
    }
    emit OnTimer(this, m_captured.load(), dsp::levelFromPeak(left), dsp::levelFromPeak(right));
}

QString PulseRecorder::monitorRefusal(const QString &outputId)
{
    //: %1 is why ("there is no output device").
    const QString no = tr("Listening to the input is not possible: %1");
    if (m_devices->kind() == pulse::ChoiceKind::Application)
        //: %1 is an entry of the input list ("Sound of Firefox").
        return no.arg(tr("%1 plays on an output already").arg(m_devices->deviceName()));
    if (!m_pulse->ensureConnected()) {
        pulse::PulseContext::Lock lock(*m_pulse);
        return no.arg(m_pulse->errorText());
    }
    std::optional<QString> input;
    if (m_devices->kind() != pulse::ChoiceKind::Mix)
        input = m_devices->currentSourceName();
    pulse::PulseContext::Lock lock(*m_pulse);
    const auto server = m_pulse->serverInfo();
    const QString sinkName = outputId.isEmpty() && server ? server->defaultSink : outputId;
    const auto sink = m_pulse->device(pulse::DeviceKind::Sink, sinkName);
    if (!sink)
        return no.arg(outputId.isEmpty()
                          ? tr("there is no output device")
                          : tr("the output device %1 is not available").arg(outputId));
    if (m_devices->kind() == pulse::ChoiceKind::Mix && server)
        input = server->defaultSource;   // the microphone side is what is played
    if (!input || input->isEmpty())
        return {};   // nothing to record now: looked at again when capture starts
    const auto source = m_pulse->device(pulse::DeviceKind::Source, *input);
    if (source && source->name == sink->monitorSource)
        //: %1 an input device ("Monitor of Built-in Audio"), %2 the output device it is the
        //: sound of ("Built-in Audio").
        return no.arg(tr("%1 is the sound of %2 itself, which would play back into itself")
                          .arg(source->description, sink->description));
    return {};
}

QString PulseRecorder::SetMonitor(bool on, const QString &outputDeviceId)
{
    Q_ASSERT(QThread::currentThread() == thread());
    const QString why = on ? monitorRefusal(outputDeviceId) : QString();
    pulse::PulseContext::Lock lock(*m_pulse);
    closeMonitor();
    m_monitorOn = on && why.isEmpty();
    m_monitorOutput = outputDeviceId;
    if (m_monitorOn && m_capturing && !m_ended)
        openMonitor();
    return why;
}

bool PulseRecorder::GetMonitor()
{
    Q_ASSERT(QThread::currentThread() == thread());
    if (m_monitorOn && !monitorRefusal(m_monitorOutput).isEmpty()) {
        // The input chosen since would play back into the output.
        pulse::PulseContext::Lock lock(*m_pulse);
        m_monitorOn = false;
        closeMonitor();
    }
    return m_monitorOn;
}

qint64 PulseRecorder::monitorDroppedFrames()
{
    pulse::PulseContext::Lock lock(*m_pulse);
    return m_monitor ? m_monitor->droppedFrames() : 0;
}

int PulseRecorder::monitorUnderruns()
{
    pulse::PulseContext::Lock lock(*m_pulse);
    return m_monitor ? m_monitor->underruns() : 0;
}

void PulseRecorder::openMonitor()
{
    closeMonitor();
    // The default output is taken as it is now: the stream stays on it, so a later default
    // can never be the input's own device.
    QString sinkName = m_monitorOutput;
    if (sinkName.isEmpty())
        if (const auto server = m_pulse->serverInfo())
            sinkName = server->defaultSink;
    const auto sink = m_pulse->device(pulse::DeviceKind::Sink, sinkName);
    if (!sink) {
        m_monitorOn = false;
        return;
    }
    m_monitorOutputSource = sink->monitorSource;
    m_monitorFilters.setFormat(m_streamRate, m_streamChannels);
    m_monitor = std::make_unique<pulse::MonitorStream>(*m_pulse);
    // The output went away or refused the stream: listening ends, the recording goes on.
    if (!m_monitor->open(sink->name, m_streamRate, m_streamChannels, [this] { m_monitorOn = false; })) {
        m_monitorOn = false;
        m_monitor.reset();
    }
}

void PulseRecorder::closeMonitor()
{
    if (m_monitor)
        m_monitor->close();
    m_monitor.reset();
}

void PulseRecorder::listenToMicrophone(const float *data, qint64 frames)
{
    if (!m_monitor)
        return;
    if (!m_monitor->isOpen()) {
        closeMonitor();   // it failed: listening is over
        return;
    }
    const size_t samples = size_t(frames * m_streamChannels);
    if (data)
        m_monitorScratch.assign(data, data + samples);
    else
        m_monitorScratch.assign(samples, 0.0f);
    for (auto f : {dsp::RecordingFilters::Notch, dsp::RecordingFilters::HighPass,
                   dsp::RecordingFilters::LowPass}) {
        m_monitorFilters.setEnabled(f, m_filters.enabled(f));
        m_monitorFilters.setFrequency(f, m_filters.frequency(f));
    }
    m_monitorFilters.process(m_monitorScratch.data(), frames);
    m_monitor->write(m_monitorScratch.data(), frames);
}

bool PulseRecorder::GetNotchEnabled() { return m_filters.enabled(dsp::RecordingFilters::Notch); }
void PulseRecorder::SetNotchEnabled(bool on) { m_filters.setEnabled(dsp::RecordingFilters::Notch, on); }
float PulseRecorder::GetNotchFrequency() { return m_filters.frequency(dsp::RecordingFilters::Notch); }
void PulseRecorder::SetNotchFrequency(float hz) { m_filters.setFrequency(dsp::RecordingFilters::Notch, hz); }
bool PulseRecorder::GetHighPassEnabled() { return m_filters.enabled(dsp::RecordingFilters::HighPass); }
void PulseRecorder::SetHighPassEnabled(bool on) { m_filters.setEnabled(dsp::RecordingFilters::HighPass, on); }
float PulseRecorder::GetHighPassFrequency() { return m_filters.frequency(dsp::RecordingFilters::HighPass); }
void PulseRecorder::SetHighPassFrequency(float hz) { m_filters.setFrequency(dsp::RecordingFilters::HighPass, hz); }
bool PulseRecorder::GetLowPassEnabled() { return m_filters.enabled(dsp::RecordingFilters::LowPass); }
void PulseRecorder::SetLowPassEnabled(bool on) { m_filters.setEnabled(dsp::RecordingFilters::LowPass, on); }
float PulseRecorder::GetLowPassFrequency() { return m_filters.frequency(dsp::RecordingFilters::LowPass); }
void PulseRecorder::SetLowPassFrequency(float hz) { m_filters.setFrequency(dsp::RecordingFilters::LowPass, hz); }

bool PulseRecorder::GetLineSelectAvailable() { return m_devices->selectAvailable(); }
bool PulseRecorder::GetLineSelected() { return m_devices->selected(); }
void PulseRecorder::SetLineSelected(bool selected) { m_devices->setSelected(selected); }

}  // namespace engine
