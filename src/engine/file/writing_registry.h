// The files this process is writing right now. A tag write must not touch a file that a
// recording is still appending to.
#pragma once

#include <QString>

namespace engine::file {

void registerWriting(const QString &path);
void unregisterWriting(const QString &path);
bool isBeingWritten(const QString &path);

}  // namespace engine::file
