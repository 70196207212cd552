// The writers' sample converter (wav_writer.cpp, encoded_writer.cpp). Internal to them.
#pragma once

#include "engine/engine.h"
#include "engine/file/ffmpeg_util.h"

extern "C" {
#include <libavutil/channel_layout.h>
#include <libavutil/samplefmt.h>
}

#include <algorithm>

namespace engine::file {

// Converts blocks of any format, rate and channel count into one output format, through
// libswresample.
class SampleConverter {
public:
    SampleConverter(AVSampleFormat format, int rate, int channels)
        : m_format(format), m_rate(rate), m_channels(channels)
    {
    }
    ~SampleConverter()
    {
        if (m_planes)
            av_freep(&m_planes[0]);
        av_freep(&m_planes);
    }

    // Converts a block (after the tail of an earlier input format, if the format
    // changed); returns the frames now in planes().
    int convert(const SampleArray &in)
    {
        const int inRate = in.sampleRate() > 0 ? in.sampleRate() : m_rate;
        const AVSampleFormat inFormat = in.sampleFormat() == SampleFormat::Int16
                                            ? AV_SAMPLE_FMT_S16
                                            : AV_SAMPLE_FMT_FLT;
        int produced = 0;
        if (!m_swr || inRate != m_inRate || in.channels() != m_inChannels || inFormat != m_inFormat) {
            if (m_swr)
                produced = drain(0);
            if (!configure(inRate, in.channels(), inFormat))
                return produced;
        }
        const int frames = int(in.frames());
        const int room = swr_get_out_samples(m_swr.get(), frames);
        reserve(produced + room);
        const uint8_t *input = reinterpret_cast<const uint8_t *>(in.data().constData());
        uint8_t *out[AV_NUM_DATA_POINTERS] = {};
        pointersAt(produced, out);
        const int n = swr_convert(m_swr.get(), out, room, &input, frames);
        return produced + std::max(n, 0);
    }

    // The resampler's tail at the end of the file.
    int flush() { return m_swr ? drain(0) : 0; }

    uint8_t **planes() const { return m_planes; }

private:
    bool configure(int inRate, int inChannels, AVSampleFormat inFormat)
    {
        m_swr.reset();
        if (inChannels <= 0)
            return false;
        AVChannelLayout inLayout{}, outLayout{};
        av_channel_layout_default(&inLayout, inChannels);
        av_channel_layout_default(&outLayout, m_channels);
        SwrContext *swr = nullptr;
        int r = swr_alloc_set_opts2(&swr, &outLayout, m_format, m_rate, &inLayout, inFormat,
                                    inRate, 0, nullptr);
        av_channel_layout_uninit(&inLayout);
        av_channel_layout_uninit(&outLayout);
        if (r < 0)
            return false;
        // Mono to stereo and back keep their level (FFmpeg's default would mix at -3 dB).
        if (inChannels == 1 && m_channels == 2) {
            const double m[2] = {1.0, 1.0};
            swr_set_matrix(swr, m, 1);
        } else if (inChannels == 2 && m_channels == 1) {
            const double m[2] = {0.5, 0.5};
            swr_set_matrix(swr, m, 2);
        }
        if (swr_init(swr) < 0) {
            swr_free(&swr);
            return false;
        }
        m_swr.reset(swr);
        m_inRate = inRate;
        m_inChannels = inChannels;
        m_inFormat = inFormat;
        return true;
    }

    int drain(int offset)
    {
        const int room = swr_get_out_samples(m_swr.get(), 0);
        if (room <= 0)
            return offset;
        reserve(offset + room);
        uint8_t *out[AV_NUM_DATA_POINTERS] = {};
        pointersAt(offset, out);
        const int n = swr_convert(m_swr.get(), out, room, nullptr, 0);
        return offset + std::max(n, 0);
    }

    void reserve(int frames)
    {
        if (frames <= m_capacity)
            return;
        const int capacity = std::max(frames, m_capacity * 2);
        uint8_t **planes = nullptr;
        int linesize = 0;
        if (av_samples_alloc_array_and_samples(&planes, &linesize, m_channels, capacity, m_format, 0) < 0)
            throw std::bad_alloc();
        if (m_planes) {
            av_samples_copy(planes, m_planes, 0, 0, m_capacity, m_channels, m_format);
            av_freep(&m_planes[0]);
            av_freep(&m_planes);
        }
        m_planes = planes;
        m_capacity = capacity;
    }

    void pointersAt(int offset, uint8_t **out) const
    {
        const int bytes = av_get_bytes_per_sample(m_format);
        if (av_sample_fmt_is_planar(m_format)) {
            for (int c = 0; c < m_channels; ++c)
                out[c] = m_planes[c] + qsizetype(offset) * bytes;
        } else {
            out[0] = m_planes[0] + qsizetype(offset) * bytes * m_channels;
        }
    }

    AVSampleFormat m_format;
    int m_rate;
    int m_channels;
    SwrPtr m_swr;
    int m_inRate = 0;
    int m_inChannels = 0;
    AVSampleFormat m_inFormat = AV_SAMPLE_FMT_NONE;
    uint8_t **m_planes = nullptr;
    int m_capacity = 0;
};

}  // namespace engine::file
