#include "engine/file/ffmpeg_util.h"

extern "C" {
#include <libavutil/log.h>
}

#include <QCoreApplication>

#include <cstring>
#include <mutex>

namespace engine::file {

QString avErrorText(int error)
{
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    if (av_strerror(error, text, sizeof text) < 0)
        //: An FFmpeg failure without a text of its own; %1 is its error number.
        return QCoreApplication::translate("FfmpegUtil", "Error %1").arg(error);
    return QString::fromLocal8Bit(text);
}

QString systemErrorText(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

void quietFfmpegLog()
{
    static std::once_flag once;
    std::call_once(once, [] {
        if (av_log_get_level() > AV_LOG_FATAL && !qEnvironmentVariableIsSet("TAVRIN_FFMPEG_LOG"))
            av_log_set_level(AV_LOG_FATAL);
    });
}

QString channelsText(int channels)
{
    if (channels == 1)
        //: One channel, at the end of a file format ("PCM: 44100 Hz, 16 bit, Mono").
        return QCoreApplication::translate("FfmpegUtil", "Mono");
    if (channels == 2)
        //: Two channels, at the end of a file format ("PCM: 44100 Hz, 16 bit, Stereo").
        return QCoreApplication::translate("FfmpegUtil", "Stereo");
    return QCoreApplication::translate("FfmpegUtil", "%1 channels").arg(channels);
}

}  // namespace engine::file
