#include "common/test_audio.h"
#include "engine/dsp/spectrum_analysis.h"

#include <QSignalSpy>
#include <QtTest>

#include <cmath>

using engine::SampleArray;
using namespace engine::dsp;
Q_DECLARE_METATYPE(AnalysisWindow)

namespace {

SampleArray toneBlock(double hz, int frames, int rate, int channels = 1, float amplitude = 0.5f)
{
    return SampleArray::fromFloat(testaudio::tone(hz, double(frames) / rate, rate, channels, amplitude), rate,
                                  channels);
}

// Left and right carry different tones.
SampleArray stereoBlock(double leftHz, double rightHz, int frames, int rate)
{
    const std::vector<float> l = testaudio::tone(leftHz, double(frames) / rate, rate, 1, 0.5f);
    const std::vector<float> r = testaudio::tone(rightHz, double(frames) / rate, rate, 1, 0.3f);
    std::vector<float> v(l.size() * 2);
    for (size_t i = 0; i < l.size(); ++i) {
        v[2 * i] = l[i];
        v[2 * i + 1] = r[i];
    }
    return SampleArray::fromFloat(v, rate, 2);
}

int peakBin(const std::vector<float> &levels)
{
    return int(std::max_element(levels.begin(), levels.end()) - levels.begin());
}

const QList<AnalysisWindow> AllWindows{AnalysisWindow::None, AnalysisWindow::Welch, AnalysisWindow::Bartlett,
                                       AnalysisWindow::Hanning, AnalysisWindow::Hamming};

// The levels the analyser hands over next.
SpectrumLevels nextLevels(QSignalSpy &spy)
{
    if (spy.isEmpty() && !spy.wait(5000))
        return {};
    return spy.takeFirst().at(0).value<SpectrumLevels>();
}

}  // namespace

class TestSpectrumAnalysis : public QObject {
    Q_OBJECT
private slots:
    // ---- the analysis ----

    void windowShapes_data()
    {
        QTest::addColumn<AnalysisWindow>("window");
        QTest::addColumn<double>("edge");     // w[0] and w[N-1]
        QTest::addColumn<double>("centre");   // w at the middle
        QTest::newRow("none") << AnalysisWindow::None << 1.0 << 1.0;
        QTest::newRow("welch") << AnalysisWindow::Welch << 0.0 << 1.0;
        QTest::newRow("bartlett") << AnalysisWindow::Bartlett << 0.0 << 1.0;
        QTest::newRow("hanning") << AnalysisWindow::Hanning << 0.0 << 1.0;
        QTest::newRow("hamming") << AnalysisWindow::Hamming << 0.08 << 1.0;
    }
    void windowShapes()
    {
        QFETCH(AnalysisWindow, window);
        QFETCH(double, edge);
        QFETCH(double, centre);
        for (int n : {256, 1024, 4096}) {
            const std::vector<float> w = analysisWindow(n, window);
            QCOMPARE(int(w.size()), n);
            QVERIFY(std::abs(w.front() - edge) < 1e-6);
            QVERIFY(std::abs(w.back() - edge) < 1e-6);
            QVERIFY(std::abs(w[size_t(n / 2)] - centre) < 5e-3);
            for (int i = 0; i < n / 2; ++i)   // symmetric, rising to the middle
                QVERIFY(std::abs(w[size_t(i)] - w[size_t(n - 1 - i)]) < 1e-5 && w[size_t(i)] <= w[size_t(i + 1)] + 1e-6);
        }
    }

    void toneLevelAndBin_data()
    {
        QTest::addColumn<int>("size");
        QTest::addColumn<AnalysisWindow>("window");
        for (int size : {256, 1024, 4096})
            for (AnalysisWindow w : AllWindows)
                QTest::addRow("%d points, window %d", size, int(w)) << size << w;
    }
    void toneLevelAndBin()
    {
        // 1 kHz at 32 kHz falls on a bin centre at every size, so each window reads the
        // tone's own level: 0.5 of full scale is -6.02 dB, level 93.98.
        QFETCH(int, size);
        QFETCH(AnalysisWindow, window);
        const SpectrumLevels f = analyseSpectrum(toneBlock(1000, size * 2, 32000), size, window);
        QCOMPARE(f.size, size);
        QCOMPARE(f.sampleRate, 32000);
        QCOMPARE(int(f.left.size()), size / 2 + 1);
        QVERIFY(!f.isStereo());
        const int bin = peakBin(f.left);
        QCOMPARE(bin, int(std::lround(1000 / f.binHz())));
        const double expected = 100 + 20 * std::log10(0.5);
        QVERIFY2(std::abs(f.left[size_t(bin)] - expected) < 0.5, qPrintable(QString::number(f.left[size_t(bin)])));
    }

    void endBins_data()
    {
        QTest::addColumn<QString>("signal");
        QTest::addColumn<double>("dc");        // expected level of bin 0
        QTest::addColumn<double>("nyquist");   // and of the last bin
        const double half = 100 + 20 * std::log10(0.5);
        QTest::newRow("offset of 0.5") << "dc" << half << 0.0;
        QTest::newRow("alternating 0.5") << "nyquist" << 0.0 << half;
        QTest::newRow("tone between") << "tone" << 0.0 << 0.0;
    }
    void endBins()
    {
        QFETCH(QString, signal);
        QFETCH(double, dc);
        QFETCH(double, nyquist);
        for (int size : {256, 1024, 4096}) {
            std::vector<float> v(size_t(2 * size));
            for (size_t i = 0; i < v.size(); ++i)
                v[i] = signal == "dc" ? 0.5f : signal == "nyquist" ? (i % 2 ? -0.5f : 0.5f)
                                                                     : float(0.5 * std::sin(2 * M_PI * 1000 * double(i) / 32000));
            const SpectrumLevels f = analyseSpectrum(SampleArray::fromFloat(v, 32000, 1), size, AnalysisWindow::None);
            QVERIFY2(std::abs(f.left.front() - dc) < 0.5, qPrintable(QString::number(f.left.front())));
            QVERIFY2(std::abs(f.left.back() - nyquist) < 0.5, qPrintable(QString::number(f.left.back())));
        }
    }

    void windowsTameLeakage()
    {
        // Off a bin centre, the bare block leaks far up the spectrum; a Hanning window does not.
        const SampleArray block = toneBlock(1000, 2048, 44100);
        const SpectrumLevels bare = analyseSpectrum(block, 1024, AnalysisWindow::None);
        const SpectrumLevels hann = analyseSpectrum(block, 1024, AnalysisWindow::Hanning);
        const int far = int(8000 / bare.binHz());
        QVERIFY(bare.left[size_t(far)] > hann.left[size_t(far)] + 30);
        QCOMPARE(peakBin(bare.left), peakBin(hann.left));
    }

    void stereoChannelsApart()
    {
        const SpectrumLevels f = analyseSpectrum(stereoBlock(1000, 3000, 1024, 32000), 1024, AnalysisWindow::Hanning);
        QVERIFY(f.isStereo());
        QCOMPARE(peakBin(f.left), 32);
        QCOMPARE(peakBin(f.right), 96);
    }

    void int16MatchesFloat()
    {
        const std::vector<float> v = testaudio::tone(2000, 0.1, 32000, 1, 0.5f);
        std::vector<qint16> s(v.size());
        for (size_t i = 0; i < v.size(); ++i)
            s[i] = qint16(std::lround(v[i] * 32767));
        const SpectrumLevels a = analyseSpectrum(SampleArray::fromFloat(v, 32000, 1), 1024, AnalysisWindow::Hamming);
        const SpectrumLevels b =
            analyseSpectrum(SampleArray::fromInt16(s.data(), qint64(s.size()), 32000, 1), 1024, AnalysisWindow::Hamming);
        QCOMPARE(peakBin(a.left), peakBin(b.left));
        QVERIFY(std::abs(a.left[64] - b.left[64]) < 0.1);
    }

    void newestFramesAreAnalysed()
    {
        // 3072 frames of 500 Hz, then 1024 of 3 kHz: a 1024-point look sees only the latter.
        std::vector<float> v = testaudio::tone(500, 3072.0 / 32000, 32000, 1, 0.5f);
        const std::vector<float> tail = testaudio::tone(3000, 1024.0 / 32000, 32000, 1, 0.5f);
        v.insert(v.end(), tail.begin(), tail.end());
        const SpectrumLevels f = analyseSpectrum(SampleArray::fromFloat(v, 32000, 1), 1024, AnalysisWindow::Hanning);
        QCOMPARE(peakBin(f.left), 96);
        QVERIFY(f.left[16] < 40);
        // The 4096-point look sees both.
        const SpectrumLevels wide = analyseSpectrum(SampleArray::fromFloat(v, 32000, 1), 4096, AnalysisWindow::Hanning);
        QVERIFY(wide.left[64] > 80);
        QVERIFY(wide.left[384] > 60);   // heard through the window's falling edge
    }

    void shortBlockIsPadded()
    {
        const SpectrumLevels f = analyseSpectrum(toneBlock(1000, 300, 32000), 4096, AnalysisWindow::None);
        QCOMPARE(f.size, 4096);
        QVERIFY(std::abs(peakBin(f.left) * f.binHz() - 1000) < 40);
    }

    void emptyOrBrokenInput()
    {
        QVERIFY(analyseSpectrum(SampleArray(), 1024, AnalysisWindow::None).isEmpty());
        std::vector<float> v(2048, std::nanf(""));
        const SpectrumLevels f = analyseSpectrum(SampleArray::fromFloat(v, 44100, 1), 1024, AnalysisWindow::None);
        QVERIFY(!f.isEmpty());
        for (float x : f.left)
            QCOMPARE(x, 0.0f);
        // A block without a rate is drawn as 44.1 kHz rather than not at all.
        QCOMPARE(analyseSpectrum(SampleArray::fromFloat(testaudio::tone(1000, 0.05, 44100, 1), 0, 1), 256,
                                 AnalysisWindow::None)
                     .sampleRate,
                 44100);
    }

    // ---- the analyser ----

    void contractDefaultsAndRanges()
    {
        SpectrumAnalyser analyser;
        QCOMPARE(analyser.property("VisType").toInt(), 2);
        QCOMPARE(analyser.property("WindowArraySize").toInt(), 1024);
        QCOMPARE(analyser.property("WindowFFTType").toInt(), 0);
        engine::IAudioVisualization2 *contract = &analyser;
        QSignalSpy visType(&analyser, &SpectrumAnalyser::visTypeChanged);
        contract->SetVisType(5);
        QCOMPARE(contract->GetVisType(), 5);
        contract->SetVisType(9);
        QCOMPARE(contract->GetVisType(), 5);
        contract->SetVisType(-2);
        QCOMPARE(contract->GetVisType(), 0);
        QCOMPARE(visType.size(), 2);   // a style that stays what it was is no change
        contract->SetWindowFFTType(4);
        QCOMPARE(contract->GetWindowFFTType(), 4);
        contract->SetWindowFFTType(-1);
        QCOMPARE(contract->GetWindowFFTType(), 0);
        contract->SetWindowFFTType(7);
        QCOMPARE(contract->GetWindowFFTType(), 4);
    }

    void sizesSnapToTheSupportedOnes_data()
    {
        QTest::addColumn<int>("size");
        QTest::addColumn<int>("expected");
        QTest::newRow("tiny") << 10 << 256;
        QTest::newRow("256") << 256 << 256;
        QTest::newRow("1000") << 1000 << 1024;
        QTest::newRow("1024") << 1024 << 1024;
        QTest::newRow("3000") << 3000 << 4096;
        QTest::newRow("huge") << 100000 << 4096;
    }
    void sizesSnapToTheSupportedOnes()
    {
        QFETCH(int, size);
        QFETCH(int, expected);
        QCOMPARE(validSpectrumSize(size), expected);
        SpectrumAnalyser analyser;
        analyser.SetWindowArraySize(size);
        QCOMPARE(analyser.GetWindowArraySize(), expected);
    }

    void analysesAtItsSettingsLater_data()
    {
        QTest::addColumn<int>("size");
        QTest::addColumn<AnalysisWindow>("window");
        for (int size : {256, 1024, 4096})
            for (AnalysisWindow w : {AnalysisWindow::None, AnalysisWindow::Hamming})
                QTest::addRow("%d points, window %d", size, int(w)) << size << w;
    }
    void analysesAtItsSettingsLater()
    {
        QFETCH(int, size);
        QFETCH(AnalysisWindow, window);
        SpectrumAnalyser analyser;
        analyser.SetWindowArraySize(size);
        analyser.SetWindowFFTType(int(window));
        QSignalSpy levels(&analyser, &SpectrumAnalyser::levelsReady);
        // The feed hands twice the size.
        const SampleArray block = stereoBlock(1000, 3000, 2 * size, 32000);
        analyser.DrawArray(block);
        QCOMPARE(levels.size(), 0);   // DrawArray only hands the block over
        const SpectrumLevels got = nextLevels(levels);
        QCOMPARE(got.size, size);
        QVERIFY(got.isStereo());
        QCOMPARE(peakBin(got.left), size * 1000 / 32000);
        QCOMPARE(peakBin(got.right), size * 3000 / 32000);
        // What the worker found is what the analysis finds.
        const SpectrumLevels direct = analyseSpectrum(block, size, window);
        QCOMPARE(got.left, direct.left);
        QCOMPARE(got.right, direct.right);
    }

    void emptyArrayClearsAtOnce()
    {
        SpectrumAnalyser analyser;
        QSignalSpy levels(&analyser, &SpectrumAnalyser::levelsReady);
        analyser.DrawArray(toneBlock(1000, 2048, 44100));
        analyser.DrawArray(SampleArray());
        QCOMPARE(levels.size(), 1);
        QVERIFY(levels.at(0).at(0).value<SpectrumLevels>().isEmpty());
        // Nothing of the block before the clear shows up after it.
        QVERIFY(!levels.wait(300));
        analyser.DrawArray(toneBlock(1000, 2048, 44100));
        QVERIFY(levels.wait(5000));
        QVERIFY(!levels.last().at(0).value<SpectrumLevels>().isEmpty());
    }

    void aBusyWorkerTakesTheNewestBlock()
    {
        // Blocks that come faster than the worker analyses them replace one another; the
        // newest is always analysed, so the last levels are those of the last block.
        constexpr int Blocks = 200;
        QList<SampleArray> blocks;
        for (int i = 0; i < Blocks; ++i)
            blocks << toneBlock(i + 1 < Blocks ? 500 : 3000, 8192, 32000);
        SpectrumAnalyser analyser;
        analyser.SetWindowArraySize(4096);
        QSignalSpy levels(&analyser, &SpectrumAnalyser::levelsReady);
        for (const SampleArray &b : blocks)
            analyser.DrawArray(b);
        QTRY_VERIFY_WITH_TIMEOUT(!levels.isEmpty() && peakBin(levels.last().at(0).value<SpectrumLevels>().left) == 384,
                                 5000);
        QVERIFY(!levels.wait(200));
        QVERIFY2(levels.size() < Blocks, qPrintable(QString::number(levels.size())));
    }
};

QTEST_GUILESS_MAIN(TestSpectrumAnalysis)
#include "tst_spectrum_analysis.moc"
