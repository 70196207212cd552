// What the decoder reads from a file's own bytes where FFmpeg alone would be wrong or would
// refuse: the frames a cut-short WAV file really holds, and an Ogg file of header packets only.
#pragma once

#include "engine/file/ffmpeg_util.h"

#include <QString>

namespace engine::file {

// Frames in the data chunk of a PCM WAV file, limited to what the file really holds (a
// recording cut short has a header that promises more). -1 when the layout is not
// plain RIFF.
qint64 riffPcmFrames(const QString &path, int blockAlign);

// A logical Ogg stream that holds its header packets and nothing else: what a recording
// of nothing leaves, and what FFmpeg will not open.
struct HeaderOnlyOgg {
    bool valid = false;
    AVCodecID codec = AV_CODEC_ID_NONE;
    int sampleRate = 0;
    int channels = 0;
};

HeaderOnlyOgg readHeaderOnlyOgg(const QString &path);

}  // namespace engine::file
