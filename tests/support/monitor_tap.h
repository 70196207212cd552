// Records the null sink's monitor, where everything the program plays is heard.
#pragma once

#include "engine/engine.h"

#include <QObject>

#include <memory>
#include <vector>

namespace e2e {

class MonitorTap : public QObject {
public:
    static constexpr int kRate = 44100;

    std::unique_ptr<engine::IEngineFactory> factory = engine::createEngineFactory();
    std::unique_ptr<engine::IAudioRecord2> rec = factory->createRecorder("tap");
    std::vector<float> left;   // the left channel since start()

    // Starts capture in 20 ms blocks and waits for the monitor's first data (an idle null
    // sink's monitor wakes only after a while); false when it did not come.
    bool start();
    void stop() { rec->Stop(); }

    double seconds() const { return double(left.size()) / kRate; }
    // Whether the last 100 ms carry sound.
    bool sounding() const;
    // Level of hz between two times, in dBFS.
    double levelDb(double from, double to, double hz) const;

    // Seconds whose 10 ms windows carry sound, and the first and last such time.
    struct Heard {
        double seconds = 0, first = -1, last = -1;
    };
    Heard heard(double thresholdDb = -40) const;
};

}  // namespace e2e
