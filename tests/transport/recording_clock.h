// Drives the fake recorder as capture would: one 200 ms block and one tick at a time.
#pragma once

#include "../app/window_fixture.h"

struct RecordingClock {
    WindowFixture &w;
    qint64 partFrames = 0;   // frames captured since the recorder's last Start
    int starts = 0;

    explicit RecordingClock(WindowFixture &fixture) : w(fixture) {}

    // Runs for the given seconds of capture, or until the recorder stops by itself.
    void run(double seconds)
    {
        const int steps = int(seconds * 5 + 0.5);
        for (int i = 0; i < steps; ++i) {
            const int s = w.engine.log.count("AudioRecord1.Start()");
            if (s != starts) {
                starts = s;
                partFrames = 0;
            }
            if (!w.recorder()->isRunning())
                return;
            partFrames += w.recorder()->blockSize();
            w.recorder()->emitBlock();
            w.recorder()->emitTimer(partFrames, 40, 60);
        }
    }
};
