#include "monitor_tap.h"

#include "test_audio.h"

#include <QElapsedTimer>
#include <QTest>

namespace e2e {

bool MonitorTap::start()
{
    connect(rec.get(), &engine::IAudioRecord2::OnEndArrayRecord, this, [this](QObject *, int) {
        const engine::SampleArray b = rec->GetArray();
        const std::vector<float> f = testaudio::channel(b.toFloat(), b.channels(), 0);
        left.insert(left.end(), f.begin(), f.end());
    });
    rec->SetFormat(2, kRate);
    rec->SetArraySize(rec->CalcArraySize(20));
    rec->Start();
    if (rec->GetErrorCode() != 0)
        return false;
    QElapsedTimer clock;
    clock.start();
    while (left.empty() && clock.elapsed() < 5000)
        QTest::qWait(10);
    return !left.empty();
}

bool MonitorTap::sounding() const
{
    const size_t n = kRate / 10;
    return left.size() >= n && testaudio::rmsDb(std::vector<float>(left.end() - long(n), left.end())) > -40;
}

double MonitorTap::levelDb(double from, double to, double hz) const
{
    const size_t a = std::min(left.size(), size_t(from * kRate));
    const size_t b = std::min(left.size(), size_t(to * kRate));
    return testaudio::toneLevelDb(std::vector<float>(left.begin() + long(a), left.begin() + long(b)), kRate, hz);
}

MonitorTap::Heard MonitorTap::heard(double thresholdDb) const
{
    Heard h;
    const size_t win = size_t(kRate / 100);
    for (size_t i = 0; i + win <= left.size(); i += win) {
        const double db = testaudio::rmsDb(std::vector<float>(left.begin() + long(i), left.begin() + long(i + win)));
        if (db > thresholdDb) {
            h.seconds += 0.01;
            if (h.first < 0)
                h.first = double(i) / kRate;
            h.last = double(i + win) / kRate;
        }
    }
    return h;
}

}  // namespace e2e
