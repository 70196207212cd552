// Small helpers around FFmpeg's C interface: owners for its objects and readable error
// texts. Internal to the engine.
#pragma once

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/audio_fifo.h>
#include <libswresample/swresample.h>
}

#include <QString>

#include <memory>

namespace engine::file {

// FFmpeg's text for an AVERROR code ("Invalid data found when processing input").
QString avErrorText(int error);
// The system's text for an errno value ("No space left on device").
QString systemErrorText(int error);

struct FormatInputDeleter {
    void operator()(AVFormatContext *c) const { avformat_close_input(&c); }
};
struct CodecContextDeleter {
    void operator()(AVCodecContext *c) const { avcodec_free_context(&c); }
};
struct SwrDeleter {
    void operator()(SwrContext *c) const { swr_free(&c); }
};
struct PacketDeleter {
    void operator()(AVPacket *p) const { av_packet_free(&p); }
};
struct FrameDeleter {
    void operator()(AVFrame *f) const { av_frame_free(&f); }
};
struct AudioFifoDeleter {
    void operator()(AVAudioFifo *f) const { av_audio_fifo_free(f); }
};

using FormatInputPtr = std::unique_ptr<AVFormatContext, FormatInputDeleter>;
using CodecContextPtr = std::unique_ptr<AVCodecContext, CodecContextDeleter>;
using SwrPtr = std::unique_ptr<SwrContext, SwrDeleter>;
using PacketPtr = std::unique_ptr<AVPacket, PacketDeleter>;
using FramePtr = std::unique_ptr<AVFrame, FrameDeleter>;
using AudioFifoPtr = std::unique_ptr<AVAudioFifo, AudioFifoDeleter>;

// Keeps FFmpeg's own logging quiet: the engine reports failures itself, and a broken file
// must not fill the terminal with decoder complaints.
void quietFfmpegLog();

// "Mono", "Stereo" or "<n> channels".
QString channelsText(int channels);

}  // namespace engine::file
