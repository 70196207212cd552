#include "engine/engine.h"

#include "engine/file/ffmpeg_audio_file.h"
#include "engine/pulse/pulse_player.h"
#include "engine/pulse/pulse_recorder.h"
#include "engine/tags/taglib_information.h"

#include <csignal>
#include <unistd.h>

namespace engine {

namespace {

class RealEngineFactory : public IEngineFactory {
public:
    std::unique_ptr<IAudioRecord2> createRecorder(const QString &name) override
    {
        auto r = std::make_unique<PulseRecorder>();
        r->setObjectName(name);
        return r;
    }
    std::unique_ptr<IAudioPlayer2> createPlayer(const QString &name) override
    {
        auto p = std::make_unique<PulsePlayer>();
        p->setObjectName(name);
        return p;
    }
    std::unique_ptr<IAudioFile2> createFile(const QString &) override
    {
        return std::make_unique<FfmpegAudioFile>();
    }
    std::unique_ptr<IAudioFile2LameEnc> createLameEncoder(const QString &) override
    {
        return std::make_unique<LameEncoderSettings>();
    }
    std::unique_ptr<IAudioInformation2> createInformation(const QString &name) override
    {
        auto i = std::make_unique<TagLibInformation>();
        i->setObjectName(name);
        return i;
    }
};

}  // namespace

void IAudioFile2::CreateReserved(int fd, const QString &path, int mode)
{
    // A component that cannot write into a descriptor makes the file again by its name.
    ::close(fd);
    Create(path, mode);
}

std::unique_ptr<IEngineFactory> createEngineFactory()
{
    // A process file-size limit ("ulimit -f") must make a write fail with EFBIG, so that the
    // recording goes on in a new file, rather than kill the program (the sound server's
    // shared memory is sized against it too, as soon as a stream is made).
    std::signal(SIGXFSZ, SIG_IGN);
    return std::make_unique<RealEngineFactory>();
}

}  // namespace engine
