// Markers kept inside a closed recording as chapters (see IAudioFile2::GetMarkers and
// SetMarkers in engine.h): ID3v2 CHAP/CTOC frames in MP3, CHAPTERnnn Vorbis comments in
// FLAC, Ogg Vorbis and Opus, cue and LIST/adtl chunks in WAV, the Marker Object in WMA.
//
// The writers leave room for them when a file is made (kMarkerRoom bytes: ID3v2 padding, a
// FLAC PADDING block, zeros after the Ogg comment packet, an ASF Padding Object), so that
// writing markers later changes those bytes in place. Only when the room is too small is
// the file written anew, into a new file in the same folder that is then renamed over it.
#pragma once

#include "engine/engine.h"

#include <QByteArray>
#include <QString>

#include <vector>

namespace engine::file {

// Room left for markers in a new file: about a hundred named markers.
constexpr int kMarkerRoom = 16 * 1024;
// FLAC comments take about 80 bytes a marker; a FLAC file's first blocks are judged
// against the file size limit with a wide margin, which a larger block would cross early.
constexpr int kFlacMarkerRoom = 12 * 1024;
constexpr int kMaxMarkers = 999;

// The file's markers in order; throws EngineError when it cannot be read.
std::vector<FileMarker> readMarkers(const QString &path);

// Replaces the file's markers (none: removes them); throws EngineError ("Cannot write the
// markers of <path>: <reason>") and leaves the file as it was when it cannot. An unchanged
// list leaves the file untouched.
void writeMarkers(const QString &path, const std::vector<FileMarker> &markers);

// Sample rate and length in frames of a closed file, as its container tells them.
struct StreamShape {
    int sampleRate = 0;
    qint64 frames = 0;
};
StreamShape probeShape(const QString &path);

// The Ogg header pages a muxer wrote (everything before the first audio page) with
// `room` zero bytes added after the comment packet, pages laid out and numbered as
// before; the input unchanged when that cannot be done.
QByteArray padOggHeaders(const QByteArray &pages, int room);

// The ASF header object at the start of `head` with a Padding Object of `room` bytes
// added at its end (sizes, object count and file size kept right); empty when `head`
// does not start with a whole header object.
QByteArray padAsfHeader(const QByteArray &head, int room);

}  // namespace engine::file
