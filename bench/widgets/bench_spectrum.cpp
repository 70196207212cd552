// The spectrum's cost: 10 s of sound fed at 20 blocks a second (as the recorder's and the
// player's ticks feed it), each block analysed (as the analyser's worker does) and painted
// at the Record Sound tab's usual size. Prints the CPU time as a share of one core per FFT
// size and style, against the 3 % budget, and beside the ffmpeg command line's showfreqs
// filter doing the same job.
#include "engine/dsp/spectrum_analysis.h"
#include "widgets/spectrum_view.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QProcess>

#include <sys/resource.h>

#include <cmath>
#include <cstdio>
#include <ctime>
#include <random>

namespace {

constexpr int Rate = 44100;
constexpr int seconds = 10;
constexpr int BlocksPerSecond = 20;
constexpr QSize ViewSize(365, 230);
constexpr double BudgetPercent = 3.0;

double processCpuSeconds()
{
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);   // all threads: QPainter may hand fills to a pool
    return ts.tv_sec + ts.tv_nsec / 1e9;
}

double childrenCpuSeconds()
{
    rusage ru{};
    getrusage(RUSAGE_CHILDREN, &ru);
    return ru.ru_utime.tv_sec + ru.ru_utime.tv_usec / 1e6 + ru.ru_stime.tv_sec + ru.ru_stime.tv_usec / 1e6;
}

// Ten seconds of something music-like: a few voices with vibrato over soft noise.
std::vector<float> makeSound()
{
    std::vector<float> v(size_t(Rate) * (seconds + 1) * 2);
    std::mt19937 rng(7);
    std::normal_distribution<float> noise(0, 0.01f);
    const double voices[] = {110, 164.8, 220, 330, 440, 659, 880, 1320, 2640, 5280};
    for (size_t i = 0; i < v.size() / 2; ++i) {
        const double t = double(i) / Rate;
        double l = 0, r = 0;
        for (int k = 0; k < 10; ++k) {
            const double f = voices[k] * (1 + 0.004 * std::sin(2 * M_PI * 5 * t + k));
            const double a = 0.15 / (1 + k) * (0.6 + 0.4 * std::sin(2 * M_PI * 0.3 * t * (k + 1)));
            l += a * std::sin(2 * M_PI * f * t);
            r += a * std::sin(2 * M_PI * f * 1.003 * t + 0.5);
        }
        v[2 * i] = float(l) + noise(rng);
        v[2 * i + 1] = float(r) + noise(rng);
    }
    return v;
}

struct Cost {
    double analyse = 0;   // CPU seconds
    double render = 0;
};

Cost run(const std::vector<float> &sound, int size, SpectrumView::Kind kind)
{
    engine::dsp::SpectrumTransform transform;
    SpectrumView view;
    view.resize(ViewSize);
    view.setStyleKind(kind);
    QImage target(ViewSize, QImage::Format_ARGB32_Premultiplied);
    Cost cost;
    const int blocks = seconds * BlocksPerSecond;
    const qint64 want = 2 * size;   // the feed asks for twice the FFT size
    for (int b = 0; b < blocks; ++b) {
        const qint64 end = qint64(b + 1) * Rate / BlocksPerSecond + want;
        const engine::SampleArray block = engine::SampleArray::fromFloat(&sound[size_t(end - want) * 2], want, Rate, 2);
        const double t0 = processCpuSeconds();
        engine::dsp::SpectrumLevels levels = transform.analyse(block, size, engine::dsp::AnalysisWindow::Hanning);
        const double t1 = processCpuSeconds();
        spectrum::SpectrumFrame frame;
        frame.left = std::move(levels.left);
        frame.right = std::move(levels.right);
        frame.sampleRate = levels.sampleRate;
        frame.size = levels.size;
        view.showFrame(std::move(frame));
        view.render(&target);   // what a repaint of the widget does
        const double t2 = processCpuSeconds();
        cost.analyse += t1 - t0;
        cost.render += t2 - t1;   // the view's fall-off and the painting
    }
    return cost;
}

// ffmpeg's showfreqs: 1024-point FFTs of the same kind of sound, drawn as bars at the same
// size and rate. Returns its CPU seconds, or a negative value when ffmpeg is not there.
double peer(int size)
{
    const double before = childrenCpuSeconds();
    QProcess ffmpeg;
    const QString graph = QStringLiteral("sine=f=440:d=%1:r=%2,aformat=channel_layouts=stereo,"
                                         "showfreqs=s=%3x%4:rate=%5:win_size=%6:overlap=0:win_func=hann:fscale=log")
                              .arg(seconds)
                              .arg(Rate)
                              .arg(ViewSize.width())
                              .arg(ViewSize.height())
                              .arg(BlocksPerSecond)
                              .arg(size);
    ffmpeg.start(QStringLiteral("ffmpeg"), {"-hide_banner", "-loglevel", "error", "-nostdin", "-threads", "1",
                                            "-filter_threads", "1", "-f", "lavfi", "-i", graph, "-f", "null", "-"});
    if (!ffmpeg.waitForFinished(120000) || ffmpeg.exitStatus() != QProcess::NormalExit || ffmpeg.exitCode() != 0)
        return -1;
    return childrenCpuSeconds() - before;
}

const char *styleName(int v)
{
    static const char *names[] = {"vtFFTAnalog", "vtFFTLinear", "vtFFTNormal", "vtFFTFire", "vtFFTGlass", "vtFFTKryptonite"};
    return names[v];
}

}  // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const std::vector<float> sound = makeSound();
    std::printf("spectrum view %dx%d, %d blocks/s for %d s of stereo sound at %d Hz, Hanning window\n",
                ViewSize.width(), ViewSize.height(), BlocksPerSecond, seconds, Rate);
    std::printf("%6s  %-16s %12s %12s %14s\n", "points", "style", "analyse ms", "paint ms", "% of one core");
    double worst1024 = 0, sum1024 = 0;
    for (int size : {256, 1024, 4096}) {
        for (int v = 0; v < spectrum::SpectrumStyle::KindCount; ++v) {
            const Cost c = run(sound, size, SpectrumView::Kind(v));
            const int blocks = seconds * BlocksPerSecond;
            const double percent = (c.analyse + c.render) / seconds * 100;
            std::printf("%6d  %-16s %12.3f %12.3f %13.2f%%\n", size, styleName(v), c.analyse / blocks * 1000,
                        c.render / blocks * 1000, percent);
            if (size == 1024) {
                worst1024 = std::max(worst1024, percent);
                sum1024 += percent;
            }
        }
    }
    std::printf("\n1024 points: worst style %.2f %% of one core, mean %.2f %% (budget %.1f %%, worst/budget %.2f)\n",
                worst1024, sum1024 / spectrum::SpectrumStyle::KindCount, BudgetPercent, worst1024 / BudgetPercent);
    const double ff = peer(1024);
    if (ff < 0) {
        std::printf("peer: ffmpeg showfreqs could not run\n");
    } else {
        const double ffPercent = ff / seconds * 100;
        std::printf("peer: ffmpeg showfreqs (1024 points, same size and rate, one thread): %.2f %% of one core; "
                    "ours (worst style) / ffmpeg = %.2f\n",
                    ffPercent, worst1024 / ffPercent);
    }
    std::fflush(stdout);
    return worst1024 <= BudgetPercent ? 0 : 1;
}
