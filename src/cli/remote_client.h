// --remote: tells the running window's remote control what to do, over the session bus.
#pragma once

#include <QString>

#include <cstdio>

// Calls "record", "pause", "stop" or "marker", or prints the state word, the elapsed time and the file,
// one per line ("status"). Returns the exit status: 0, or 1 with a message on err when no
// window runs ("Tavrin Sound Recorder is not running.") or the window refused.
// "marker" adds a marker named markerName ("" for "Marker n").
int callRemote(const QString &command, const QString &markerName, std::FILE *out, std::FILE *err);
