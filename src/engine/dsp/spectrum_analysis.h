// Spectrum analysis for the spectrum view: levels per frequency bin of the newest frames of
// a block, as a plain function, and an analyser that does the work on a thread of its own
// and hands finished levels back to the UI thread.
#pragma once

#include "engine/engine.h"

#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace engine::dsp {

// Analysis windows, in WindowFFTType order (0..4).
enum class AnalysisWindow { None, Welch, Bartlett, Hanning, Hamming };
constexpr int AnalysisWindowCount = 5;

// Drawing styles of the view (VisType 0..5); the analyser only keeps the number.
constexpr int VisTypeCount = 6;

// Levels are 0..100: one unit per dB above SpectrumFloorDb, so a full-scale sine reads 100.
constexpr double SpectrumFloorDb = -100.0;

// One analysed block.
struct SpectrumLevels {
    std::vector<float> left;    // level per bin 0..size/2, 0..100; first channel
    std::vector<float> right;   // the same for the second channel; empty for mono
    int sampleRate = 0;         // Hz
    int size = 0;               // FFT points

    bool isEmpty() const { return left.empty(); }
    bool isStereo() const { return !right.empty(); }
    double binHz() const { return size > 0 ? double(sampleRate) / size : 0.0; }
};

// The nearest of the supported sizes 256, 1024 and 4096.
int validSpectrumSize(int size);

// The window's coefficients for `size` points.
std::vector<float> analysisWindow(int size, AnalysisWindow window);

// Keeps FFT plans and windows between calls; one thread at a time.
class SpectrumTransform {
public:
    SpectrumTransform();
    ~SpectrumTransform();
    SpectrumTransform(const SpectrumTransform &) = delete;
    SpectrumTransform &operator=(const SpectrumTransform &) = delete;

    // Analyses the newest `size` frames of `samples` (zero-padded in front when the block
    // is shorter) per channel, the first two channels. An empty block gives empty levels; a
    // block without a rate is taken as 44.1 kHz. Throws EngineError when no FFT can be set up.
    SpectrumLevels analyse(const SampleArray &samples, int size, AnalysisWindow window);

private:
    struct Plan;
    Plan &plan(int size, AnalysisWindow window);
    std::vector<std::unique_ptr<Plan>> m_plans;
};

// The same with the calling thread's own plans.
SpectrumLevels analyseSpectrum(const SampleArray &samples, int size, AnalysisWindow window);

// The spectrum's contract: DrawArray hands the block to a worker thread (a block that comes
// while the worker is busy replaces the one still waiting, so a slow analysis never piles
// up), and levelsReady brings the finished levels back on the UI thread.
class SpectrumAnalyser : public QObject, public IAudioVisualization2 {
    Q_OBJECT
    Q_PROPERTY(int VisType READ GetVisType WRITE SetVisType NOTIFY visTypeChanged)
    Q_PROPERTY(int WindowArraySize READ GetWindowArraySize WRITE SetWindowArraySize)
    Q_PROPERTY(int WindowFFTType READ GetWindowFFTType WRITE SetWindowFFTType)

public:
    explicit SpectrumAnalyser(QObject *parent = nullptr);
    ~SpectrumAnalyser() override;

    // Analyses the newest WindowArraySize frames per channel at the current window; an
    // empty array clears at once (levelsReady with empty levels, and nothing of the blocks
    // before it follows).
    void DrawArray(const SampleArray &samples) override;

    int GetVisType() const override { return m_visType; }          // 0..5
    void SetVisType(int type) override;                            // clamped to 0..5
    int GetWindowArraySize() const override { return m_size; }     // 256, 1024 or 4096 points
    void SetWindowArraySize(int size) override;                    // the nearest of those
    int GetWindowFFTType() const override { return m_window; }     // 0..4, see AnalysisWindow
    void SetWindowFFTType(int type) override;                      // clamped to 0..4

signals:
    void levelsReady(const engine::dsp::SpectrumLevels &levels);   // UI thread; empty = clear
    void visTypeChanged(int type);

private:
    struct Job {
        SampleArray samples;
        int size;
        AnalysisWindow window;
        quint64 generation;
    };
    void run();

    int m_visType = 2;
    int m_size = 1024;
    int m_window = 0;
    // Bumped by a clear, so that levels of the blocks before it are dropped; UI thread only.
    quint64 m_generation = 0;

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::optional<Job> m_pending;   // the newest block the worker has not taken yet
    bool m_stop = false;
    std::thread m_thread;
};

}  // namespace engine::dsp
