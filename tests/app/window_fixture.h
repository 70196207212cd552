// A main window on the recording fake engine, in a program folder of its own, with every
// message box and file chooser answered by the test. Controls are found by their object
// names, as a user finds them by their place: the window has no public fields.
#pragma once

#include "fakes/fake_engine.h"
#include "session/recorded_files.h"
#include "support/window_harness.h"

struct WindowFixture : WindowHarness {
    fake::FakeEngine engine;
    // Leaves the start-up tip timer running; otherwise it is stopped at once, so that no
    // Tip of the Day opens over a test that runs longer than a second.
    bool offerTips = false;

    // Builds the window as start-up does; show = run the first show's steps too.
    void start(bool show = true) { build(engine, offerTips, show); }
    ~WindowFixture() { tearDown(); }

    fake::FakeRecorder *recorder() const { return engine.recorder(); }
    fake::FakePlayer *player() const { return engine.player(); }
};
