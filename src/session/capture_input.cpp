#include "session/capture_input.h"

#include "session/capture_ring.h"
#include "session/recording_settings.h"
#include "session/save_format.h"

#include <algorithm>
#include <stdexcept>

CaptureInput::CaptureInput(engine::IAudioRecord2 &recorder, CaptureRing &ring, QObject *parent)
    : QObject(parent), m_recorder(recorder), m_ring(ring)
{
    connect(&m_recorder, &engine::IAudioRecord2::OnEndArrayRecord, this, [this] {
        const qint64 from = m_ring.end();
        if (m_sides == 0)
            m_ring.append(m_recorder.GetArray());
        else
            m_ring.append(withSides(m_recorder.GetArray()));
        emit blockArrived(from);
    });
    connect(&m_recorder, &engine::IAudioRecord2::OnTimer, this, [this](QObject *, qint64 samples, int left, int right) {
        // A tick already on its way when capture stopped shows nothing.
        if (m_running && !m_stopping)
            emit ticked(m_base + samples, left, right);
    });
    connect(&m_recorder, &engine::IAudioRecord2::OnDeviceError, this, [this](QObject *, const QString &text) {
        m_running = false;
        if (m_stopping) {
            if (m_stopFailure.isEmpty())
                m_stopFailure = text;
            return;
        }
        emit lost(text);
    });
}

engine::SampleArray CaptureInput::withSides(const engine::SampleArray &mix) const
{
    const int ch = mix.channels();
    const qint64 frames = mix.frames();
    const int wide = ch * (1 + m_sides);
    std::vector<float> out(size_t(frames * wide), 0.0f);
    for (int k = 0; k <= m_sides; ++k) {
        const engine::SampleArray part = k == 0 ? mix : m_recorder.GetSideArray(k - 1);
        if (part.channels() != ch)
            continue;   // a side that did not come stays silent
        const std::vector<float> samples = part.toFloat();
        const qint64 n = std::min(frames, part.frames());
        for (qint64 f = 0; f < n; ++f)
            std::copy_n(samples.data() + f * ch, ch, out.data() + f * wide + k * ch);
    }
    return engine::SampleArray::fromFloat(out, mix.sampleRate(), wide);
}

void CaptureInput::failStart(const QString &fallback)
{
    const QString reason = m_recorder.GetErrorText();
    throw std::runtime_error((reason.isEmpty() ? fallback : reason).toStdString());
}

void CaptureInput::start(const RecordingSettings &settings)
{
    double seconds = settings.prerecordSeconds + kWriterStallSeconds + 2.0;
    if (settings.triggerOn)
        seconds += std::max<double>(settings.prerecordSeconds, 0.5) + settings.triggerSilenceSeconds;
    const QPair<int, int> format = captureFormatOf(settings);
    m_sides = settings.separateSides && m_recorder.SetSideArrays(true) ? 2 : 0;
    if (m_sides == 0)
        m_recorder.SetSideArrays(false);
    m_ring.reset(format.first, format.second * (1 + m_sides), qint64(seconds * format.first));
    m_recorder.SetRecordFlag(true);
    m_recorder.SetFormat(format.second, format.first);
    m_blockFrames = m_recorder.CalcArraySize(kBlockMs);
    m_recorder.SetArraySize(m_blockFrames);
    m_device = m_recorder.GetDeviceId();
    m_base = 0;
    m_recorder.Start();
    if (m_recorder.GetErrorCode() != 0)
        failStart(tr("The recording could not start"));
    m_running = true;
    emit started();
}

void CaptureInput::resume()
{
    m_recorder.SetRecordFlag(true);
    m_device = m_recorder.GetDeviceId();
    m_base = m_ring.end();
    m_recorder.Start();
    if (m_recorder.GetErrorCode() != 0)
        failStart(tr("Capture did not start again"));
    m_running = true;
}

QString CaptureInput::stop()
{
    m_stopping = true;
    m_stopFailure.clear();
    try {
        m_recorder.Stop();
    } catch (const std::exception &e) {
        if (m_stopFailure.isEmpty())
            m_stopFailure = QString::fromUtf8(e.what());
    }
    m_stopping = false;
    m_running = false;
    return std::exchange(m_stopFailure, QString());
}

bool CaptureInput::listen(const RecordingSettings &settings)
{
    if (settings.prerecordSeconds <= 0) {
        if (m_running)
            stop();
        return false;
    }
    if (m_running)
        return true;
    try {
        start(settings);
    } catch (const std::exception &) {
        return false;   // no input to listen to now; Record says why if it stays so
    }
    return true;
}

bool CaptureInput::sameRing(const RecordingSettings &a, const RecordingSettings &b)
{
    return a.prerecordSeconds == b.prerecordSeconds && a.separateSides == b.separateSides
           && fileExtension(a) == fileExtension(b)
           && captureFormatOf(a) == captureFormatOf(b);
}
