// Markers as ID3v2 CHAP/CTOC frames in MP3.
#include "engine/file/marker_io.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QtEndian>

#include <taglib/chapterframe.h>
#include <taglib/id3v2frame.h>
#include <taglib/id3v2header.h>
#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>
#include <taglib/tableofcontentsframe.h>
#include <taglib/textidentificationframe.h>
#include <taglib/tfilestream.h>

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

// ---- MP3 ---------------------------------------------------------------------------------------

TagLib::String toTagString(const QString &s)
{
    return TagLib::String(s.toStdString(), TagLib::String::UTF8);
}

QString fromTagString(const TagLib::String &s)
{
    return QString::fromStdString(s.to8Bit(true));
}

// The ID3v2 tag at the start of the file: its size (0 = none) and version.
struct Id3Head {
    qint64 size = 0;
    int version = 3;
};

Id3Head id3HeadOf(const Fd &file)
{
    const QByteArray h = file.readSome(0, 10);
    if (h.size() < 10 || !h.startsWith("ID3"))
        return {};
    for (int i = 6; i < 10; ++i)
        if (h[i] & 0x80)
            fail(QCoreApplication::translate("FileMarkers", "the ID3v2 tag is damaged"));
    const qint64 body = (qint64(h[6]) << 21) | (qint64(h[7]) << 14) | (qint64(h[8]) << 7) | qint64(h[9]);
    const qint64 size = 10 + body + ((h[5] & 0x10) ? 10 : 0);
    if (size > file.size())
        fail(QCoreApplication::translate("FileMarkers", "the ID3v2 tag is cut short"));
    return {size, h[3] == 4 ? 4 : 3};
}

std::vector<FileMarker> chaptersOf(TagLib::ID3v2::Tag *tag, int rate)
{
    std::vector<FileMarker> markers;
    if (!tag)
        return markers;
    const TagLib::ID3v2::FrameList chapters = tag->frameList("CHAP");
    std::vector<const TagLib::ID3v2::ChapterFrame *> ordered;
    for (auto *frame : chapters)
        if (auto *c = dynamic_cast<const TagLib::ID3v2::ChapterFrame *>(frame))
            ordered.push_back(c);
    std::vector<FileMarker> list;
    for (const auto *c : ordered) {
        QString name;
        const TagLib::ID3v2::FrameList titles = c->embeddedFrameList("TIT2");
        if (!titles.isEmpty())
            name = fromTagString(titles.front()->toString());
        list.push_back({msToFrames(c->startTime(), rate), name});
    }
    return sorted(std::move(list));
}

struct Mp3Tag {
    Id3Head head;
    std::unique_ptr<TagLib::FileStream> stream;
    std::unique_ptr<TagLib::MPEG::File> file;
    TagLib::ID3v2::Tag *tag = nullptr;
};

Mp3Tag openMp3Tag(const QString &path, const Fd &fd)
{
    Mp3Tag t;
    t.head = id3HeadOf(fd);
    t.stream = std::make_unique<TagLib::FileStream>(QFile::encodeName(path).constData(), true);
    if (!t.stream->isOpen())
        fail(QCoreApplication::translate("FileMarkers", "cannot be opened"));
    t.file = std::make_unique<TagLib::MPEG::File>(t.stream.get(), TagLib::ID3v2::FrameFactory::instance(), false);
    if (!t.file->isValid())
        fail(QCoreApplication::translate("FileMarkers", "not an MP3 file"));
    t.tag = t.head.size > 0 ? t.file->ID3v2Tag(false) : nullptr;
    return t;
}

int mp3Rate(const QString &path, StreamShape *shape)
{
    *shape = probeShape(path);
    if (shape->sampleRate <= 0)
        fail(QCoreApplication::translate("FileMarkers", "no MP3 audio found"));
    return shape->sampleRate;
}

std::vector<FileMarker> readMp3Markers(const QString &path)
{
    Fd fd(path, false);
    Mp3Tag t = openMp3Tag(path, fd);
    if (!t.tag || t.tag->frameList("CHAP").isEmpty())
        return {};
    StreamShape shape;
    return chaptersOf(t.tag, mp3Rate(path, &shape));
}

void writeMp3Markers(const QString &path, const std::vector<FileMarker> &markers)
{
    Fd fd(path, true);
    Mp3Tag t = openMp3Tag(path, fd);
    if (!t.tag && markers.empty())
        return;
    StreamShape shape;
    const int rate = mp3Rate(path, &shape);
    if (chaptersOf(t.tag, rate) == inMs(markers, rate)
        && (!t.tag || t.tag->frameList("CTOC").isEmpty() == markers.empty()))
        return;
    TagLib::ID3v2::Tag fresh;
    TagLib::ID3v2::Tag *tag = t.tag ? t.tag : &fresh;
    tag->removeFrames("CHAP");
    tag->removeFrames("CTOC");
    const auto encoding = t.head.version == 4 ? TagLib::String::UTF8 : TagLib::String::UTF16;
    if (!markers.empty()) {
        const qint64 endMs = std::max<qint64>(framesToMs(shape.frames, rate), framesToMs(markers.back().frame, rate));
        TagLib::ByteVectorList children;
        for (size_t i = 0; i < markers.size(); ++i) {
            const TagLib::ByteVector id(QStringLiteral("chp%1").arg(i).toLatin1().constData());
            const qint64 start = framesToMs(markers[i].frame, rate);
            const qint64 end = i + 1 < markers.size() ? framesToMs(markers[i + 1].frame, rate) : endMs;
            auto *title = new TagLib::ID3v2::TextIdentificationFrame("TIT2", encoding);
            title->setText(toTagString(markers[i].name));
            TagLib::ID3v2::FrameList embedded;
            embedded.append(title);
            tag->addFrame(new TagLib::ID3v2::ChapterFrame(id, quint32(start), quint32(end), 0xFFFFFFFFu,
                                                          0xFFFFFFFFu, embedded));
            children.append(id);
        }
        auto *toc = new TagLib::ID3v2::TableOfContentsFrame("toc", children);
        toc->setIsTopLevel(true);
        toc->setIsOrdered(true);
        tag->addFrame(toc);
    }
    const auto version = t.head.version == 4 ? TagLib::ID3v2::v4 : TagLib::ID3v2::v3;
    TagLib::ByteVector rendered = tag->render(version);
    const QByteArray bytes(rendered.data(), rendered.size());
    if (t.head.size > 0 && bytes.size() == t.head.size) {
        fd.writeAt(0, bytes);
        fd.sync();
        return;
    }
    // More than the tag's room: a new tag with room to spare, then the audio.
    QByteArray grown = bytes;
    grown[5] = char(grown[5] & ~0x10);   // no footer
    grown.append(QByteArray(kMarkerRoom, '\0'));
    const qint64 body = grown.size() - 10;
    for (int i = 0; i < 4; ++i)
        grown[9 - i] = char((body >> (7 * i)) & 0x7F);
    const qint64 audio = t.head.size;
    t.file.reset();
    t.stream.reset();
    replaceFile(path, fd, [&](Fd &out) {
        out.writeAt(0, grown);
        copyRange(fd, audio, fd.size(), out);
    });
}

}  // namespace engine::file::markers
