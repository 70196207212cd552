#include "engine/tags/taglib_information.h"

#include "engine/file/audio_decoder.h"
#include "engine/file/ffmpeg_util.h"
#include "engine/file/writing_registry.h"

#include <taglib/apetag.h>
#include <taglib/asffile.h>
#include <taglib/asftag.h>
#include <taglib/flacfile.h>
#include <taglib/id3v1genres.h>
#include <taglib/id3v1tag.h>
#include <taglib/id3v2framefactory.h>
#include <taglib/id3v2tag.h>
#include <taglib/infotag.h>
#include <taglib/mpcfile.h>
#include <taglib/mpegfile.h>
#include <taglib/opusfile.h>
#include <taglib/textidentificationframe.h>
#include <taglib/vorbisfile.h>
#include <taglib/wavfile.h>
#include <taglib/xiphcomment.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>
#include <QTemporaryFile>
#include <QThread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace engine {

using Values = TagLibInformation::TagValues;

namespace {

enum class TagKind { Mpeg, Wav, Asf, Vorbis, Opus, Flac, Musepack, None };

TagKind kindOf(const file::AudioDecoder &decoder)
{
    const QString c = decoder.containerName();
    if (c == QLatin1String("mp3"))
        return TagKind::Mpeg;
    if (c == QLatin1String("wav"))
        return TagKind::Wav;
    if (c == QLatin1String("asf"))
        return TagKind::Asf;
    if (c == QLatin1String("ogg") && decoder.codecId() == AV_CODEC_ID_VORBIS)
        return TagKind::Vorbis;
    if (c == QLatin1String("ogg") && decoder.codecId() == AV_CODEC_ID_OPUS)
        return TagKind::Opus;
    if (c == QLatin1String("flac"))
        return TagKind::Flac;
    if (c == QLatin1String("mpc") || c == QLatin1String("mpc8"))
        return TagKind::Musepack;
    return TagKind::None;
}

// Why a file of a kind that holds no tags cannot take them.
QString noTagsText(const file::AudioDecoder &decoder)
{
    const QString c = decoder.containerName();
    if (c == QLatin1String("avi"))
        return TagLibInformation::tr("AVI files hold no tags");
    if (c.startsWith(QLatin1String("g726")))
        return TagLibInformation::tr("Raw G.721 files hold no tags");
    return TagLibInformation::tr("Files of this type hold no tags");
}

TagLib::String toTag(const QString &s)
{
    return TagLib::String(s.toStdString(), TagLib::String::UTF8);
}

QString fromTag(const TagLib::String &s)
{
    return QString::fromStdString(s.to8Bit(true));
}

// The whole leading integer of a text ("7/12" gives 7, "-3" gives -3); 0 without one.
int leadingInt(const QString &text)
{
    const QString t = text.trimmed();
    int end = 0;
    if (end < t.size() && (t[end] == QLatin1Char('-') || t[end] == QLatin1Char('+')))
        ++end;
    while (end < t.size() && t[end].isDigit())
        ++end;
    bool ok = false;
    const int value = t.left(end).toInt(&ok);
    return ok ? value : 0;
}

// The genres a number can be given for, as GetGenreName names them.
constexpr int kLastGenre = 146;

int genreNumber(const QString &name)
{
    if (name.isEmpty())
        return -1;
    const int index = TagLib::ID3v1::genreIndex(toTag(name));
    if (index >= 0 && index < 255)
        return index;
    // "(17)" or "17": a genre given by its number.
    QString t = name.trimmed();
    if (t.startsWith(QLatin1Char('(')) && t.contains(QLatin1Char(')')))
        t = t.mid(1, t.indexOf(QLatin1Char(')')) - 1);
    bool ok = false;
    const int n = t.toInt(&ok);
    return ok && n >= 0 && n < 192 ? n : -1;
}

TagLib::String genreName(int number)
{
    return number >= 0 && number < 192 ? TagLib::ID3v1::genre(number) : TagLib::String();
}

TagLib::String number(int value)
{
    return toTag(QString::number(value));
}

// ---- ID3v2 (MPEG, WAV chunk) ----

QString id3v2Text(TagLib::ID3v2::Tag *tag, const char *id)
{
    const auto &frames = tag->frameListMap()[id];
    return frames.isEmpty() ? QString() : fromTag(frames.front()->toString());
}

void setId3v2Text(TagLib::ID3v2::Tag *tag, const char *id, const QString &text)
{
    tag->removeFrames(id);
    if (text.isEmpty())
        return;
    auto *frame = new TagLib::ID3v2::TextIdentificationFrame(
        id, TagLib::ID3v2::FrameFactory::instance()->defaultTextEncoding());
    frame->setText(toTag(text));
    tag->addFrame(frame);
}

Values readId3v2(TagLib::ID3v2::Tag *tag)
{
    Values v;
    if (!tag)
        return v;
    v.title = fromTag(tag->title());
    v.artist = fromTag(tag->artist());
    v.album = fromTag(tag->album());
    v.comments = fromTag(tag->comment());
    v.copyright = id3v2Text(tag, "TCOP");
    v.genre = genreNumber(fromTag(tag->genre()));
    QString year = id3v2Text(tag, "TDRC");
    if (year.isEmpty())
        year = id3v2Text(tag, "TYER");
    v.year = leadingInt(year);
    v.track = leadingInt(id3v2Text(tag, "TRCK"));
    return v;
}

void writeId3v2(TagLib::ID3v2::Tag *tag, const Values &v)
{
    tag->setTitle(toTag(v.title));
    tag->setArtist(toTag(v.artist));
    tag->setAlbum(toTag(v.album));
    tag->setComment(toTag(v.comments));
    setId3v2Text(tag, "TCOP", v.copyright);
    tag->setGenre(genreName(v.genre));
    // ID3v2.3 keeps the year in four digits.
    tag->removeFrames("TYER");
    setId3v2Text(tag, "TDRC", v.year > 0 && v.year <= 9999 ? QString::number(v.year) : QString());
    setId3v2Text(tag, "TRCK", v.track != 0 ? QString::number(v.track) : QString());
}

// ---- ID3v1 ----

Values readId3v1(TagLib::ID3v1::Tag *tag)
{
    Values v;
    if (!tag)
        return v;
    v.title = fromTag(tag->title());
    v.artist = fromTag(tag->artist());
    v.album = fromTag(tag->album());
    v.comments = fromTag(tag->comment());
    const unsigned genre = tag->genreNumber();
    v.genre = genre < 192 ? int(genre) : -1;
    v.year = int(tag->year());
    v.track = int(tag->track());
    return v;
}

// ID3v1 holds Latin-1 in fixed fields: characters beyond it become "?" (TagLib would
// drop the whole text), and the text is cut to the field.
TagLib::String latin1Field(const QString &text, int bytes)
{
    QString t = text.left(bytes);
    for (QChar &c : t)
        if (c.unicode() > 0xFF)
            c = QLatin1Char('?');
    return toTag(t);
}

void writeId3v1(TagLib::ID3v1::Tag *tag, const Values &v)
{
    const bool withTrack = v.track > 0 && v.track <= 255;
    tag->setTitle(latin1Field(v.title, 30));
    tag->setArtist(latin1Field(v.artist, 30));
    tag->setAlbum(latin1Field(v.album, 30));
    tag->setComment(latin1Field(v.comments, withTrack ? 28 : 30));
    tag->setGenreNumber(v.genre >= 0 && v.genre < 192 ? unsigned(v.genre) : 255);
    tag->setYear(v.year > 0 && v.year <= 9999 ? unsigned(v.year) : 0);
    tag->setTrack(withTrack ? unsigned(v.track) : 0);
}

// ---- RIFF INFO ----

Values readInfo(TagLib::RIFF::Info::Tag *tag)
{
    Values v;
    if (!tag)
        return v;
    v.title = fromTag(tag->fieldText("INAM"));
    v.artist = fromTag(tag->fieldText("IART"));
    v.album = fromTag(tag->fieldText("IPRD"));
    v.comments = fromTag(tag->fieldText("ICMT"));
    v.copyright = fromTag(tag->fieldText("ICOP"));
    v.genre = genreNumber(fromTag(tag->fieldText("IGNR")));
    v.year = leadingInt(fromTag(tag->fieldText("ICRD")));
    QString track = fromTag(tag->fieldText("ITRK"));
    if (track.isEmpty())
        track = fromTag(tag->fieldText("IPRT"));
    v.track = leadingInt(track);
    return v;
}

void setInfoField(TagLib::RIFF::Info::Tag *tag, const char *id, const TagLib::String &text)
{
    if (text.isEmpty())
        tag->removeField(id);
    else
        tag->setFieldText(id, text);
}

void writeInfo(TagLib::RIFF::Info::Tag *tag, const Values &v)
{
    setInfoField(tag, "INAM", toTag(v.title));
    setInfoField(tag, "IART", toTag(v.artist));
    setInfoField(tag, "IPRD", toTag(v.album));
    setInfoField(tag, "ICMT", toTag(v.comments));
    setInfoField(tag, "ICOP", toTag(v.copyright));
    setInfoField(tag, "IGNR", genreName(v.genre));
    setInfoField(tag, "ICRD", v.year > 0 && v.year <= 9999 ? number(v.year) : TagLib::String());
    tag->removeField("IPRT");
    setInfoField(tag, "ITRK", v.track != 0 ? number(v.track) : TagLib::String());
}

bool isEmpty(const Values &v)
{
    return v.title.isEmpty() && v.artist.isEmpty() && v.album.isEmpty() && v.comments.isEmpty()
           && v.copyright.isEmpty() && v.genre < 0 && v.year == 0 && v.track == 0;
}

// ---- ASF ----

Values readAsf(TagLib::ASF::Tag *tag)
{
    Values v;
    if (!tag)
        return v;
    v.title = fromTag(tag->title());
    v.artist = fromTag(tag->artist());
    v.album = fromTag(tag->album());
    v.comments = fromTag(tag->comment());
    v.copyright = fromTag(tag->copyright());
    v.genre = genreNumber(fromTag(tag->genre()));
    const auto &map = tag->attributeListMap();
    if (map.contains("WM/Year") && !map["WM/Year"].isEmpty())
        v.year = leadingInt(fromTag(map["WM/Year"].front().toString()));
    if (map.contains("WM/TrackNumber") && !map["WM/TrackNumber"].isEmpty()) {
        const TagLib::ASF::Attribute &a = map["WM/TrackNumber"].front();
        v.track = a.type() == TagLib::ASF::Attribute::UnicodeType ? leadingInt(fromTag(a.toString()))
                                                                  : int(a.toUInt());
    }
    return v;
}

void writeAsf(TagLib::ASF::Tag *tag, const Values &v)
{
    tag->setTitle(toTag(v.title));
    tag->setArtist(toTag(v.artist));
    tag->setAlbum(toTag(v.album));
    tag->setComment(toTag(v.comments));
    tag->setCopyright(toTag(v.copyright));
    tag->setGenre(genreName(v.genre));
    tag->removeItem("WM/Year");
    if (v.year > 0)
        tag->setAttribute("WM/Year", number(v.year));
    tag->removeItem("WM/TrackNumber");
    tag->removeItem("WM/Track");
    if (v.track != 0)
        tag->setAttribute("WM/TrackNumber", number(v.track));
}

// ---- Xiph comment and APE ----

// A Xiph comment names its genre; only the names of the numbered list (0..146) have a
// number.
int xiphGenreNumber(const QString &name)
{
    const int number = genreNumber(name);
    return number <= kLastGenre ? number : -1;
}

TagLib::String xiphGenreName(int number)
{
    return number >= 0 && number <= kLastGenre ? TagLib::ID3v1::genre(number) : TagLib::String();
}

Values readXiph(TagLib::Ogg::XiphComment *tag)
{
    Values v;
    if (!tag)
        return v;
    const auto &fields = tag->fieldListMap();
    auto field = [&](const char *key) {
        return fields.contains(key) && !fields[key].isEmpty() ? fromTag(fields[key].front()) : QString();
    };
    v.title = fromTag(tag->title());
    v.artist = fromTag(tag->artist());
    v.album = fromTag(tag->album());
    v.comments = fromTag(tag->comment());
    v.copyright = field("COPYRIGHT");
    v.genre = xiphGenreNumber(field("GENRE"));
    v.year = leadingInt(field("DATE"));
    v.track = leadingInt(field("TRACKNUMBER"));
    return v;
}

void setXiphField(TagLib::Ogg::XiphComment *tag, const char *key, const TagLib::String &text)
{
    tag->removeFields(key);
    if (!text.isEmpty())
        tag->addField(key, text, true);
}

// Only the fields whose value differs from what the comment holds are written; the others
// keep their text, so a full date ("2021-03-04"), a genre outside the numbered list or a
// track "3/12" survive an edit of the title.
void writeXiph(TagLib::Ogg::XiphComment *tag, const Values &v)
{
    const Values held = readXiph(tag);
    if (v.title != held.title)
        tag->setTitle(toTag(v.title));
    if (v.artist != held.artist)
        tag->setArtist(toTag(v.artist));
    if (v.album != held.album)
        tag->setAlbum(toTag(v.album));
    if (v.comments != held.comments)
        tag->setComment(toTag(v.comments));
    if (v.copyright != held.copyright)
        setXiphField(tag, "COPYRIGHT", toTag(v.copyright));
    if (v.genre != held.genre)
        setXiphField(tag, "GENRE", xiphGenreName(v.genre));
    if (v.year != held.year)
        setXiphField(tag, "DATE", v.year > 0 ? number(v.year) : TagLib::String());
    if (v.track != held.track)
        setXiphField(tag, "TRACKNUMBER", v.track != 0 ? number(v.track) : TagLib::String());
}

Values readApe(TagLib::APE::Tag *tag)
{
    Values v;
    if (!tag)
        return v;
    const auto &items = tag->itemListMap();
    auto item = [&](const char *key) {
        return items.contains(key) ? fromTag(items[key].toString()) : QString();
    };
    v.title = item("TITLE");
    v.artist = item("ARTIST");
    v.album = item("ALBUM");
    v.comments = item("COMMENT");
    v.copyright = item("COPYRIGHT");
    v.genre = genreNumber(item("GENRE"));
    v.year = leadingInt(item("YEAR"));
    v.track = leadingInt(item("TRACK"));
    return v;
}

void setApeItem(TagLib::APE::Tag *tag, const char *key, const TagLib::String &text)
{
    tag->removeItem(key);
    if (!text.isEmpty())
        tag->addValue(key, text, true);
}

void writeApe(TagLib::APE::Tag *tag, const Values &v)
{
    setApeItem(tag, "Title", toTag(v.title));
    setApeItem(tag, "Artist", toTag(v.artist));
    setApeItem(tag, "Album", toTag(v.album));
    setApeItem(tag, "Comment", toTag(v.comments));
    setApeItem(tag, "Copyright", toTag(v.copyright));
    setApeItem(tag, "Genre", genreName(v.genre));
    setApeItem(tag, "Year", v.year > 0 ? number(v.year) : TagLib::String());
    setApeItem(tag, "Track", v.track != 0 ? number(v.track) : TagLib::String());
}

// ---- whole files ----

TagLib::FileName nativeName(const QByteArray &native)
{
    return TagLib::FileName(native.constData());
}

Values readTags(const QString &path, TagKind kind, int version)
{
    const QByteArray native = QFile::encodeName(path);
    switch (kind) {
    case TagKind::Mpeg: {
        TagLib::MPEG::File f(nativeName(native), false);
        if (!f.isValid())
            return {};
        if (version == 1)
            return f.hasID3v1Tag() ? readId3v1(f.ID3v1Tag()) : Values();
        return f.hasID3v2Tag() ? readId3v2(f.ID3v2Tag()) : Values();
    }
    case TagKind::Wav: {
        TagLib::RIFF::WAV::File f(nativeName(native), false);
        if (!f.isValid())
            return {};
        if (f.hasID3v2Tag() && !f.ID3v2Tag()->isEmpty())
            return readId3v2(f.ID3v2Tag());
        return f.hasInfoTag() ? readInfo(f.InfoTag()) : Values();
    }
    case TagKind::Asf: {
        TagLib::ASF::File f(nativeName(native), false);
        return f.isValid() ? readAsf(f.tag()) : Values();
    }
    case TagKind::Vorbis: {
        TagLib::Ogg::Vorbis::File f(nativeName(native), false);
        return f.isValid() ? readXiph(f.tag()) : Values();
    }
    case TagKind::Opus: {
        TagLib::Ogg::Opus::File f(nativeName(native), false);
        return f.isValid() ? readXiph(f.tag()) : Values();
    }
    case TagKind::Flac: {
        TagLib::FLAC::File f(nativeName(native), false);
        return f.isValid() && f.hasXiphComment() ? readXiph(f.xiphComment()) : Values();
    }
    case TagKind::Musepack: {
        TagLib::MPC::File f(nativeName(native), false);
        return f.isValid() && f.hasAPETag() ? readApe(f.APETag()) : Values();
    }
    case TagKind::None:
        break;
    }
    return {};
}

// Writes the tags into the file at path (the working copy); false when TagLib cannot.
bool writeTags(const QString &path, TagKind kind, int version, const Values &v)
{
    const QByteArray native = QFile::encodeName(path);
    switch (kind) {
    case TagKind::Mpeg: {
        TagLib::MPEG::File f(nativeName(native), false);
        if (!f.isValid() || f.readOnly())
            return false;
        if (version == 1) {
            writeId3v1(f.ID3v1Tag(true), v);
            return f.save(TagLib::MPEG::File::ID3v1, TagLib::File::StripNone, TagLib::ID3v2::v3,
                          TagLib::File::DoNotDuplicate);
        }
        writeId3v2(f.ID3v2Tag(true), v);
        return f.save(TagLib::MPEG::File::ID3v2, TagLib::File::StripNone, TagLib::ID3v2::v3,
                      TagLib::File::DoNotDuplicate);
    }
    case TagKind::Wav: {
        TagLib::RIFF::WAV::File f(nativeName(native), false);
        if (!f.isValid() || f.readOnly())
            return false;
        writeId3v2(f.ID3v2Tag(), v);
        writeInfo(f.InfoTag(), v);
        const auto tags = isEmpty(v) ? TagLib::RIFF::WAV::File::NoTags : TagLib::RIFF::WAV::File::AllTags;
        return f.save(tags, TagLib::File::StripOthers, TagLib::ID3v2::v3);
    }
    case TagKind::Asf: {
        TagLib::ASF::File f(nativeName(native), false);
        if (!f.isValid() || f.readOnly())
            return false;
        writeAsf(f.tag(), v);
        return f.save();
    }
    case TagKind::Vorbis: {
        TagLib::Ogg::Vorbis::File f(nativeName(native), false);
        if (!f.isValid() || f.readOnly())
            return false;
        writeXiph(f.tag(), v);
        return f.save();
    }
    case TagKind::Opus: {
        TagLib::Ogg::Opus::File f(nativeName(native), false);
        if (!f.isValid() || f.readOnly())
            return false;
        writeXiph(f.tag(), v);
        return f.save();
    }
    case TagKind::Flac: {
        TagLib::FLAC::File f(nativeName(native), false);
        if (!f.isValid() || f.readOnly())
            return false;
        writeXiph(f.xiphComment(true), v);
        return f.save();
    }
    case TagKind::Musepack: {
        TagLib::MPC::File f(nativeName(native), false);
        if (!f.isValid() || f.readOnly())
            return false;
        writeApe(f.APETag(true), v);
        return f.save();
    }
    case TagKind::None:
        break;
    }
    return false;
}

// Copies the file's bytes into an open descriptor; 0 or an errno.
int copyContents(const QString &from, int to)
{
    const int in = ::open(QFile::encodeName(from).constData(), O_RDONLY | O_CLOEXEC);
    if (in < 0)
        return errno;
    int error = 0;
    for (;;) {
        const ssize_t n = ::copy_file_range(in, nullptr, to, nullptr, 1 << 24, 0);
        if (n > 0)
            continue;
        if (n == 0)
            break;
        if (errno == EINTR)
            continue;
        if (errno != EXDEV && errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP) {
            error = errno;
            break;
        }
        // Fall back to plain copying from wherever the kernel stopped.
        char buffer[1 << 16];
        for (;;) {
            const ssize_t r = ::read(in, buffer, sizeof buffer);
            if (r == 0)
                break;
            if (r < 0) {
                if (errno == EINTR)
                    continue;
                error = errno;
                break;
            }
            ssize_t done = 0;
            while (done < r) {
                const ssize_t w = ::write(to, buffer + done, size_t(r - done));
                if (w < 0 && errno == EINTR)
                    continue;
                if (w <= 0) {
                    error = w < 0 ? errno : ENOSPC;
                    break;
                }
                done += w;
            }
            if (error)
                break;
        }
        break;
    }
    ::close(in);
    return error;
}

}  // namespace

TagLibInformation::TagLibInformation(QObject *parent) : IAudioInformation2(parent)
{
    file::quietFfmpegLog();
}

TagLibInformation::~TagLibInformation() = default;

void TagLibInformation::LoadFromFile(const QString &path)
{
    Q_ASSERT(QThread::currentThread() == thread());
    file::AudioDecoder decoder;
    if (!decoder.open(path))
        throw EngineError(decoder.errorText());
    m_fileSize = QFileInfo(path).size();
    m_durationMs = decoder.sampleRate() > 0 ? decoder.length() * 1000 / decoder.sampleRate() : 0;
    m_description = decoder.description();
    const TagKind kind = kindOf(decoder);
    decoder.close();
    m_values = readTags(path, kind, m_version);
}

void TagLibInformation::SaveToFile(const QString &path)
{
    Q_ASSERT(QThread::currentThread() == thread());
    const auto fail = [&](const QString &reason) {
        //: %1 the file, %2 why ("The file is being recorded").
        throw EngineError(tr("Cannot write tags to %1: %2").arg(path, reason));
    };
    if (file::isBeingWritten(path))
        fail(tr("The file is being recorded"));

    file::AudioDecoder decoder;
    if (!decoder.open(path))
        fail(decoder.errorReason());
    const TagKind kind = kindOf(decoder);
    const QString noTags = noTagsText(decoder);
    const qint64 length = decoder.length();
    const int rate = decoder.sampleRate();
    decoder.close();
    if (kind == TagKind::None)
        fail(noTags);

    // Work on a copy in the same folder (so the rename is atomic), with the original's
    // permissions; a symbolic link keeps pointing at the file it names.
    const QFileInfo info(path);
    const QString target = info.canonicalFilePath().isEmpty() ? info.absoluteFilePath()
                                                              : info.canonicalFilePath();
    const QString folder = QFileInfo(target).absolutePath();
    const QStorageInfo storage(folder);
    if (storage.isValid() && storage.bytesAvailable() >= 0
        && storage.bytesAvailable() < info.size() + (1 << 20))
        fail(file::systemErrorText(ENOSPC));

    QTemporaryFile copy(folder + QLatin1String("/.") + QFileInfo(target).fileName()
                        + QLatin1String(".XXXXXX"));
    if (!copy.open())
        fail(copy.errorString());
    struct stat st {};
    if (::stat(QFile::encodeName(target).constData(), &st) == 0)
        ::fchmod(copy.handle(), st.st_mode & 07777);
    if (const int error = copyContents(target, copy.handle()))
        fail(file::systemErrorText(error));
    const QString copyPath = copy.fileName();

    if (!writeTags(copyPath, kind, m_version, m_values))
        fail(tr("The tag could not be written"));

    // The copy must still hold the same audio before it may replace the original.
    file::AudioDecoder check;
    if (!check.open(copyPath) || check.length() != length || check.sampleRate() != rate)
        fail(tr("The tag could not be written without harm to the audio"));
    check.close();

    const int fd = ::open(QFile::encodeName(copyPath).constData(), O_RDONLY | O_CLOEXEC);
    if (fd >= 0) {
        const int r = ::fsync(fd);
        const int error = errno;
        ::close(fd);
        if (r != 0)
            fail(file::systemErrorText(error));
    }
    if (::rename(QFile::encodeName(copyPath).constData(), QFile::encodeName(target).constData()) != 0)
        fail(file::systemErrorText(errno));
    copy.setAutoRemove(false);
    m_fileSize = QFileInfo(target).size();
}

void TagLibInformation::SetTagVersion(short version)
{
    m_version = version <= 1 ? 1 : 2;
}

QString TagLibInformation::GetGenreName(int number)
{
    if (number < 0 || number > kLastGenre)
        return {};
    return fromTag(TagLib::ID3v1::genre(number));
}

void TagLibInformation::SetInfoFlag(bool on)
{
    Q_UNUSED(on);
}

qint64 TagLibInformation::GetFileSize()
{
    return m_fileSize;
}

qint64 TagLibInformation::GetDuration()
{
    return m_durationMs;
}

QString TagLibInformation::GetFormatDescription()
{
    return m_description;
}

}  // namespace engine
