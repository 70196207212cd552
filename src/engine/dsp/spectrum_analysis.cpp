#include "engine/dsp/spectrum_analysis.h"

#include <QCoreApplication>
#include <QThread>

extern "C" {
#include <libavutil/mem.h>
#include <libavutil/tx.h>
}

#include <algorithm>
#include <cmath>

namespace engine::dsp {

int validSpectrumSize(int size)
{
    if (size <= 512)
        return 256;
    if (size <= 2048)
        return 1024;
    return 4096;
}

std::vector<float> analysisWindow(int size, AnalysisWindow window)
{
    std::vector<float> w(size_t(std::max(size, 0)), 1.0f);
    if (size < 2)
        return w;
    const double m = size - 1;
    for (int n = 0; n < size; ++n) {
        const double x = n / m;   // 0..1 across the window
        double v = 1.0;
        switch (window) {
        case AnalysisWindow::Welch: { const double t = 2 * x - 1; v = 1 - t * t; break; }
        case AnalysisWindow::Bartlett: v = 1 - std::abs(2 * x - 1); break;
        case AnalysisWindow::Hanning: v = 0.5 - 0.5 * std::cos(2 * M_PI * x); break;
        case AnalysisWindow::Hamming: v = 0.54 - 0.46 * std::cos(2 * M_PI * x); break;
        case AnalysisWindow::None: break;
        }
        w[size_t(n)] = float(v);
    }
    return w;
}

// ---- the transform ------------------------------------------------------------------------

struct SpectrumTransform::Plan {
    int size = 0;
    std::optional<AnalysisWindow> window;
    AVTXContext *tx = nullptr;
    av_tx_fn fn = nullptr;
    float *in = nullptr;            // av_malloc'd: the transform wants aligned buffers
    AVComplexFloat *out = nullptr;
    std::vector<float> coefficients;
    double gain = 1.0;              // scales |X| to the amplitude of a sine

    ~Plan()
    {
        av_tx_uninit(&tx);
        av_free(in);
        av_free(out);
    }
};

SpectrumTransform::SpectrumTransform() = default;
SpectrumTransform::~SpectrumTransform() = default;

SpectrumTransform::Plan &SpectrumTransform::plan(int size, AnalysisWindow window)
{
    for (auto &p : m_plans) {
        if (p->size == size) {
            if (p->window != window) {
                p->coefficients = analysisWindow(size, window);
                double sum = 0;
                for (float v : p->coefficients)
                    sum += v;
                p->gain = sum > 0 ? 2.0 / sum : 0.0;
                p->window = window;
            }
            return *p;
        }
    }
    auto p = std::make_unique<Plan>();
    p->size = size;
    const float scale = 1.0f;
    if (av_tx_init(&p->tx, &p->fn, AV_TX_FLOAT_RDFT, 0, size, &scale, 0) < 0)
        //: %1 is the number of points of the spectrum's Fourier transform (256, 1024, 4096).
        throw EngineError(QCoreApplication::translate("SpectrumAnalysis", "Cannot set up a %1-point FFT")
                              .arg(size));
    p->in = static_cast<float *>(av_malloc(size_t(size) * sizeof(float)));
    p->out = static_cast<AVComplexFloat *>(av_malloc(size_t(size / 2 + 1) * sizeof(AVComplexFloat)));
    if (!p->in || !p->out)
        //: %1 is the number of points of the spectrum's Fourier transform (256, 1024, 4096).
        throw EngineError(QCoreApplication::translate("SpectrumAnalysis", "Out of memory for a %1-point FFT")
                              .arg(size));
    std::fill(p->out, p->out + size / 2 + 1, AVComplexFloat{0.0f, 0.0f});
    m_plans.push_back(std::move(p));
    return plan(size, window);
}

SpectrumLevels SpectrumTransform::analyse(const SampleArray &samples, int size, AnalysisWindow window)
{
    SpectrumLevels levels;
    const qint64 frames = samples.frames();
    const int channels = samples.channels();
    if (frames <= 0 || channels <= 0)
        return levels;
    size = validSpectrumSize(size);
    Plan &pl = plan(size, window);

    levels.size = size;
    levels.sampleRate = samples.sampleRate() > 0 ? samples.sampleRate() : 44100;
    const qint64 count = std::min<qint64>(frames, size);
    const qint64 first = frames - count;   // the newest frames
    const int pad = int(size - count);
    const float *f32 = samples.floatData();
    const qint16 *i16 = samples.int16Data();
    const int bins = size / 2 + 1;

    for (int c = 0; c < std::min(channels, 2); ++c) {
        std::fill(pl.in, pl.in + pad, 0.0f);
        for (qint64 i = 0; i < count; ++i) {
            const qint64 at = (first + i) * channels + c;
            float v = f32 ? f32[at] : float(i16[at]) * (1.0f / 32768.0f);
            if (!std::isfinite(v))
                v = 0.0f;
            pl.in[pad + i] = v * pl.coefficients[size_t(pad + i)];
        }
        pl.fn(pl.tx, pl.out, pl.in, sizeof(float));
        // The end bins of a real signal's spectrum are real; this libavutil leaves their
        // imaginary parts unwritten.
        pl.out[0].im = 0.0f;
        pl.out[bins - 1].im = 0.0f;
        std::vector<float> &level = c == 0 ? levels.left : levels.right;
        level.resize(size_t(bins));
        for (int k = 0; k < bins; ++k) {
            // The end bins have no mirror image, so they carry the full amplitude once.
            const double g = (k == 0 || k == bins - 1) ? pl.gain / 2 : pl.gain;
            const double amp = std::hypot(double(pl.out[k].re), double(pl.out[k].im)) * g;
            const double db = amp > 1e-12 ? 20.0 * std::log10(amp) : SpectrumFloorDb;
            level[size_t(k)] = float(std::clamp(db - SpectrumFloorDb, 0.0, 100.0));
        }
    }
    return levels;
}

SpectrumLevels analyseSpectrum(const SampleArray &samples, int size, AnalysisWindow window)
{
    thread_local SpectrumTransform transform;
    return transform.analyse(samples, size, window);
}

// ---- the analyser -------------------------------------------------------------------------

SpectrumAnalyser::SpectrumAnalyser(QObject *parent) : QObject(parent), m_thread(&SpectrumAnalyser::run, this) {}

SpectrumAnalyser::~SpectrumAnalyser()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_stop = true;
    }
    m_wake.notify_all();
    m_thread.join();
    // Levels the worker posted and the UI thread has not seen go with this object.
}

void SpectrumAnalyser::SetVisType(int type)
{
    type = std::clamp(type, 0, VisTypeCount - 1);
    if (type == m_visType)
        return;
    m_visType = type;
    emit visTypeChanged(type);
}

void SpectrumAnalyser::SetWindowArraySize(int size)
{
    m_size = validSpectrumSize(size);
}

void SpectrumAnalyser::SetWindowFFTType(int type)
{
    m_window = std::clamp(type, 0, AnalysisWindowCount - 1);
}

void SpectrumAnalyser::DrawArray(const SampleArray &samples)
{
    Q_ASSERT(QThread::currentThread() == thread());
    if (samples.isEmpty()) {
        ++m_generation;
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_pending.reset();
        }
        emit levelsReady(SpectrumLevels());
        return;
    }
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        // The array shares its samples; the copy costs no sample copy.
        m_pending = Job{samples, m_size, AnalysisWindow(m_window), m_generation};
    }
    m_wake.notify_one();
}

void SpectrumAnalyser::run()
{
    SpectrumTransform transform;   // this thread's plans
    std::unique_lock<std::mutex> lock(m_mutex);
    for (;;) {
        m_wake.wait(lock, [this] { return m_stop || m_pending; });
        if (m_stop)
            return;
        Job job = std::move(*m_pending);
        m_pending.reset();
        lock.unlock();
        SpectrumLevels levels;
        try {
            levels = transform.analyse(job.samples, job.size, job.window);
        } catch (const std::exception &) {
            // No FFT of that size: the view keeps what it shows rather than the program failing.
        }
        if (!levels.isEmpty()) {
            QMetaObject::invokeMethod(
                this,
                [this, generation = job.generation, levels = std::move(levels)] {
                    if (generation == m_generation)
                        emit levelsReady(levels);
                },
                Qt::QueuedConnection);
        }
        lock.lock();
    }
}

}  // namespace engine::dsp
