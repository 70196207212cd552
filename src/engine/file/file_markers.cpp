#include "engine/file/file_markers.h"

#include "engine/file/ffmpeg_util.h"
#include "engine/file/marker_io.h"

extern "C" {
#include <libavformat/avformat.h>
}

namespace engine::file {

using namespace markers;

StreamShape probeShape(const QString &path)
{
    quietFfmpegLog();
    AVFormatContext *context = nullptr;
    const QByteArray native = QFile::encodeName(path);
    if (avformat_open_input(&context, native.constData(), nullptr, nullptr) < 0)
        return {};
    StreamShape shape;
    if (avformat_find_stream_info(context, nullptr) >= 0) {
        const int index = av_find_best_stream(context, AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0);
        if (index >= 0) {
            const AVStream *stream = context->streams[index];
            shape.sampleRate = stream->codecpar->sample_rate;
            if (stream->duration > 0 && stream->duration != AV_NOPTS_VALUE)
                shape.frames = av_rescale_q(stream->duration, stream->time_base, AVRational{1, shape.sampleRate});
            else if (context->duration > 0)
                shape.frames = av_rescale(context->duration, shape.sampleRate, AV_TIME_BASE);
        }
    }
    avformat_close_input(&context);
    return shape;
}

std::vector<FileMarker> readMarkers(const QString &path)
{
    try {
        switch (kindOf(path)) {
        case Kind::Wav:
            return readWavMarkers(path);
        case Kind::Mp3:
            return readMp3Markers(path);
        case Kind::Wma:
            return readWmaMarkers(path);
        case Kind::Flac:
            return readFlacMarkers(path);
        case Kind::Ogg:
            return readOggMarkers(path);
        }
    } catch (const MarkerFailure &f) {
        //: %1 the file, %2 why ("the file is cut short").
        throw EngineError(QCoreApplication::translate("FileMarkers", "Cannot read the markers of %1: %2")
                              .arg(path, f.reason));
    }
    return {};
}

void writeMarkers(const QString &path, const std::vector<FileMarker> &markers)
{
    try {
        checkMarkers(markers);
        const std::vector<FileMarker> list = sorted(markers);
        switch (kindOf(path)) {
        case Kind::Wav:
            return writeWavMarkers(path, list);
        case Kind::Mp3:
            return writeMp3Markers(path, list);
        case Kind::Wma:
            return writeWmaMarkers(path, list);
        case Kind::Flac:
            return writeFlacMarkers(path, list);
        case Kind::Ogg:
            return writeOggMarkers(path, list);
        }
    } catch (const MarkerFailure &f) {
        //: %1 the file, %2 why ("the file is cut short").
        throw EngineError(QCoreApplication::translate("FileMarkers", "Cannot write the markers of %1: %2")
                              .arg(path, f.reason));
    }
}

}  // namespace engine::file
