#include "engine/engine.h"

#include "engine/file/audio_file.h"
#include "engine/pulse/audio_player.h"
#include "engine/pulse/audio_record.h"
#include "engine/tags/audio_information.h"

namespace engine {

namespace {

class RealEngineFactory : public IEngineFactory {
public:
    std::unique_ptr<IAudioRecord2> createRecorder(const QString &name) override
    {
        auto r = std::make_unique<TAudioRecord2>();
        r->setObjectName(name);
        return r;
    }
    std::unique_ptr<IAudioPlayer2> createPlayer(const QString &name) override
    {
        auto p = std::make_unique<TAudioPlayer2>();
        p->setObjectName(name);
        return p;
    }
    std::unique_ptr<IAudioFile2> createFile(const QString &) override
    {
        return std::make_unique<TAudioFile2>();
    }
    std::unique_ptr<IAudioFile2LameEnc> createLameEncoder(const QString &) override
    {
        return std::make_unique<TAudioFile2LameEnc>();
    }
    std::unique_ptr<IAudioInformation2> createInformation(const QString &name) override
    {
        auto i = std::make_unique<TAudioInformation2>();
        i->setObjectName(name);
        return i;
    }
};

}  // namespace

std::unique_ptr<IEngineFactory> createEngineFactory()
{
    return std::make_unique<RealEngineFactory>();
}

}  // namespace engine
