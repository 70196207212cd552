// --remote: tells the running window's remote control what to do, over the session bus.
#pragma once

#include <QString>

#include <cstdio>

// Calls "record", "pause" or "stop", or prints the state word, the elapsed time and the file,
// one per line ("status"). Returns the exit status: 0, or 1 with a message on err when no
// window runs ("Tavrin Sound Recorder is not running.") or the window refused.
int callRemote(const QString &command, std::FILE *out, std::FILE *err);
