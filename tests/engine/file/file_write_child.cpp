// Records a 1 kHz tone into the file it is given (the type follows the extension: WAV
// 44.1 kHz stereo 16-bit, MP3 128 kbit/s, WMA profile 38, FLAC 44.1 kHz stereo 16-bit
// level 5, Ogg Vorbis quality 5, Opus 96 kbit/s stereo) in 200 ms blocks at the pace of
// a real recording, until it is killed. Before each block it prints the frames handed
// over once that block is in, so the last line read is what had been captured when it
// died.
#include "common/test_audio.h"
#include "engine/file/ffmpeg_audio_file.h"

#include <QCoreApplication>
#include <QThread>

#include <chrono>
#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc < 2)
        return 2;
    constexpr int rate = 44100;
    constexpr int channels = 2;
    constexpr int block = rate / 5;
    try {
        engine::FfmpegAudioFile file;
        file.SetWavFormat(rate, channels, 16);
        file.SetMp3Format(rate, 128, channels);
        file.SetWmaProfile(38);
        file.SetFlacFormat(rate, channels, 16, 5);
        file.SetVorbisQuality(5);
        file.SetOpusFormat(96, channels);
        file.Create(QString::fromLocal8Bit(argv[1]), 0);
        // A minute at most, in case nobody comes to kill it.
        const std::vector<float> tone = testaudio::tone(1000, 60, rate, channels);
        const auto start = std::chrono::steady_clock::now();
        for (qint64 at = 0; at + block <= qint64(tone.size()) / channels; at += block) {
            std::this_thread::sleep_until(start + std::chrono::milliseconds(at * 1000 / rate));
            std::printf("%lld\n", static_cast<long long>(at + block));
            std::fflush(stdout);
            file.WriteArray(engine::SampleArray::fromFloat(tone.data() + at * channels, block, rate, channels));
        }
        file.Close();
    } catch (const engine::EngineError &e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 3;
}
