// Markers as cue points with LIST/adtl labels in WAV.
#include "engine/file/marker_io.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QtEndian>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <functional>
#include <map>
#include <random>

namespace engine::file::markers {

// ---- WAV ---------------------------------------------------------------------------------------

struct RiffChunk {
    QByteArray id;
    qint64 offset = 0;   // of its 8-byte header
    qint64 size = 0;     // of its body, without the pad byte
    QByteArray listType; // for LIST chunks
    qint64 end() const { return offset + 8 + size + (size & 1); }
};

struct WavLayout {
    std::vector<RiffChunk> chunks;
    int rate = 0;
};

WavLayout readWavLayout(const Fd &file)
{
    const QByteArray riff = file.readSome(0, 12);
    if (riff.size() < 12 || !riff.startsWith("RIFF") || riff.mid(8, 4) != "WAVE")
        fail(QCoreApplication::translate("FileMarkers", "not a WAV file"));
    WavLayout layout;
    bool data = false;
    for (qint64 at = 12; at + 8 <= file.size();) {
        const QByteArray head = file.readAt(at, 8);
        RiffChunk chunk{head.left(4), at, qFromLittleEndian<quint32>(head.constData() + 4), {}};
        if (chunk.id == "data") {
            data = true;
            // A recording cut short may claim more than there is.
            chunk.size = std::min(chunk.size, file.size() - at - 8);
        } else if (at + 8 + chunk.size > file.size()) {
            //: %1 is the four-letter name of a part of a WAV file ("LIST").
            fail(QCoreApplication::translate("FileMarkers", "the %1 chunk is cut short")
                     .arg(QString::fromLatin1(chunk.id)));
        }
        if (chunk.id == "fmt ") {
            const QByteArray fmt = file.readAt(at + 8, std::min<qint64>(chunk.size, 16));
            if (fmt.size() < 16)
                fail(QCoreApplication::translate("FileMarkers", "the fmt chunk is damaged"));
            layout.rate = int(qFromLittleEndian<quint32>(fmt.constData() + 4));
        }
        if (chunk.id == "LIST" && chunk.size >= 4)
            chunk.listType = file.readAt(at + 8, 4);
        layout.chunks.push_back(chunk);
        at = chunk.end();
    }
    if (layout.rate <= 0 || !data)
        fail(QCoreApplication::translate("FileMarkers", "the WAV file has no fmt or data chunk"));
    return layout;
}

bool isMarkerChunk(const RiffChunk &c)
{
    return c.id == "cue " || (c.id == "LIST" && c.listType == "adtl");
}

std::vector<FileMarker> readWavMarkers(const QString &path)
{
    Fd file(path, false);
    const WavLayout layout = readWavLayout(file);
    std::vector<std::pair<quint32, qint64>> points;   // cue id, frame
    std::map<quint32, QString> names;
    for (const RiffChunk &c : layout.chunks) {
        if (c.id == "cue ") {
            const QByteArray body = file.readAt(c.offset + 8, c.size);
            if (body.size() < 4)
                fail(QCoreApplication::translate("FileMarkers", "the cue chunk is damaged"));
            const quint32 count = qFromLittleEndian<quint32>(body.constData());
            if (qint64(count) * 24 + 4 > body.size())
                fail(QCoreApplication::translate("FileMarkers", "the cue chunk is damaged"));
            for (quint32 i = 0; i < count; ++i) {
                const char *p = body.constData() + 4 + i * 24;
                points.push_back({qFromLittleEndian<quint32>(p), qFromLittleEndian<quint32>(p + 20)});
            }
        } else if (c.id == "LIST" && c.listType == "adtl") {
            const QByteArray body = file.readAt(c.offset + 8, c.size);
            for (qint64 at = 4; at + 8 <= body.size();) {
                const qint64 size = qFromLittleEndian<quint32>(body.constData() + at + 4);
                if (at + 8 + size > body.size())
                    fail(QCoreApplication::translate("FileMarkers", "the adtl list is damaged"));
                if (body.mid(at, 4) == "labl" && size >= 4) {
                    QByteArray text = body.mid(at + 12, size - 4);
                    if (const qsizetype zero = text.indexOf('\0'); zero >= 0)
                        text.truncate(zero);
                    names[qFromLittleEndian<quint32>(body.constData() + at + 8)] = QString::fromUtf8(text);
                }
                at += 8 + size + (size & 1);
            }
        }
    }
    std::vector<FileMarker> markers;
    for (const auto &[id, frame] : points)
        markers.push_back({frame, names.count(id) ? names[id] : QString()});
    return sorted(std::move(markers));
}

QByteArray wavMarkerChunks(const std::vector<FileMarker> &markers)
{
    if (markers.empty())
        return {};
    auto u32 = [](QByteArray &out, quint32 v) {
        char b[4];
        qToLittleEndian(v, b);
        out.append(b, 4);
    };
    QByteArray cue("cue ");
    u32(cue, quint32(4 + 24 * markers.size()));
    u32(cue, quint32(markers.size()));
    QByteArray adtl("LIST");
    u32(adtl, 0);
    adtl.append("adtl");
    quint32 id = 1;
    for (const FileMarker &m : markers) {
        u32(cue, id);
        u32(cue, quint32(m.frame));
        cue.append("data");
        u32(cue, 0);
        u32(cue, 0);
        u32(cue, quint32(m.frame));
        QByteArray text = m.name.toUtf8();
        text.append('\0');
        adtl.append("labl");
        u32(adtl, quint32(4 + text.size()));
        u32(adtl, id++);
        adtl.append(text);
        if (text.size() & 1)
            adtl.append('\0');
    }
    qToLittleEndian<quint32>(quint32(adtl.size() - 8), adtl.data() + 4);
    return cue + adtl;
}

void writeWavMarkers(const QString &path, const std::vector<FileMarker> &markers)
{
    for (const FileMarker &m : markers)
        if (m.frame > 0xFFFFFFFFLL)
            fail(QCoreApplication::translate("FileMarkers", "a marker past the reach of a WAV file"));
    if (readWavMarkers(path) == markers)
        return;
    Fd file(path, true);
    const WavLayout layout = readWavLayout(file);
    const QByteArray chunks = wavMarkerChunks(markers);
    // The old marker chunks at the end are cut off and the new ones written in their place;
    // anywhere else the file is written anew without them.
    qint64 tail = file.size();
    size_t i = layout.chunks.size();
    while (i > 0 && isMarkerChunk(layout.chunks[i - 1]))
        tail = layout.chunks[--i].offset;
    const bool elsewhere = std::any_of(layout.chunks.begin(), layout.chunks.begin() + i, isMarkerChunk);
    const RiffChunk &last = i > 0 ? layout.chunks[i - 1] : layout.chunks.back();
    if (!elsewhere) {
        QByteArray appended;
        if (tail == file.size() && last.end() > file.size())   // an odd data chunk without its pad byte
            appended.append('\0');
        appended.append(chunks);
        file.truncate(tail);
        file.writeAt(tail, appended);
        char size[4];
        qToLittleEndian<quint32>(quint32(file.size() - 8), size);
        file.writeAt(4, QByteArray(size, 4));
        file.sync();
        return;
    }
    replaceFile(path, file, [&](Fd &out) {
        out.writeAt(0, file.readAt(0, 12));
        for (const RiffChunk &c : layout.chunks) {
            if (isMarkerChunk(c))
                continue;
            copyRange(file, c.offset, std::min(c.end(), file.size()), out);
            if (c.end() > file.size())
                out.writeAt(out.size(), QByteArray(1, '\0'));
        }
        out.writeAt(out.size(), chunks);
        char size[4];
        qToLittleEndian<quint32>(quint32(out.size() - 8), size);
        out.writeAt(4, QByteArray(size, 4));
    });
}

}  // namespace engine::file::markers
