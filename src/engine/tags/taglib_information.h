// TagLibInformation: the tags and stream facts of one file, on TagLib.
//
// Tag versions (SetTagVersion; 2 until called):
//   - MPEG audio files (MP1/MP2/MP3): 1 reads and writes the ID3v1 tag, 2 the ID3v2 tag
//     (written as ID3v2.3, the version most players read). A save writes the chosen
//     version only and leaves the other tag as it is.
//   - WAV, WMA, Ogg Vorbis, Opus, FLAC and Musepack carry their own kind of tag, used
//     whatever the version: WAV an ID3v2 chunk plus RIFF INFO (loads prefer the ID3v2
//     chunk), WMA its ASF attributes, Ogg Vorbis, Opus and FLAC their Xiph (Vorbis)
//     comment (TITLE, ARTIST, ALBUM, COMMENT, COPYRIGHT, GENRE, DATE, TRACKNUMBER),
//     Musepack its APE tag (FFmpeg would read an ID3v1 tag behind a Musepack stream as one
//     more frame of audio).
//   - AVI and raw G.721 hold no tags: loads give empty values, saves throw.
// A missing tag loads as empty texts, year 0, track 0, genre -1.
//
// Values that a tag cannot hold are stored the way tag readers expect:
//   - ID3v1: texts are cut to their fields (30 characters; a comment 28 when a track is
//     set) in Latin-1, other characters becoming "?"; a year outside 1..9999, a track
//     outside 1..255 and a genre outside 0..191 are left out; ID3v1 has no copyright
//     field, so the copyright is not stored.
//   - ID3v2 (and WAV's RIFF INFO beside it): texts in full; a year outside 1..9999 (the
//     four digits of ID3v2.3) is left out; a track of 0 is left out, any other track
//     (negative or above 255 too) is stored as its decimal text and read back as it is.
//   - APE, ASF, Xiph: texts in full; any year above 0 and any track but 0 as text.
//   - Everywhere: genre -1 (or beyond 191) means no genre.
// The genre is stored by its ID3v1 name ("Rock"); a name that is no ID3v1 genre loads as
// -1. A Xiph comment knows the numbered genres 0..146 only: any other name ("Synthpop")
// loads as -1.
//
// A Xiph comment save changes only the fields whose value differs from what the file
// holds: a full date ("2021-03-04"), a genre outside the numbered list or a track
// "3/12" keep their text while another field is edited.
//
// Safety: a save copies the file beside itself, writes the tags into the copy with
// TagLib, checks that the copy still holds the same audio, then renames it over the
// original. A crash, a full disk or a TagLib failure therefore never leaves a damaged
// file, and the audio data is never rewritten in place. A file that this process is
// recording into is refused.
//
// Errors: LoadFromFile and SaveToFile throw EngineError with a readable text ("Cannot
// open /x/y.mp3: No such file or directory", "Cannot write tags to /x/y.avi: AVI files
// hold no tags").
#pragma once

#include "engine/engine.h"

namespace engine {

class TagLibInformation : public IAudioInformation2 {
    Q_OBJECT
public:
    explicit TagLibInformation(QObject *parent = nullptr);
    ~TagLibInformation() override;

    void LoadFromFile(const QString &path) override;
    void SaveToFile(const QString &path) override;
    void SetTagVersion(short version) override;   // 1 = ID3v1, 2 = ID3v2
    QString GetGenreName(int number) override;    // 0..146; empty outside
    void SetInfoFlag(bool on) override;           // accepted, no effect
    qint64 GetFileSize() override;                // bytes of the loaded file
    qint64 GetDuration() override;                // milliseconds, truncated
    QString GetFormatDescription() override;      // as FfmpegAudioFile describes the file

    QString infoTitle() const override { return m_values.title; }
    void setInfoTitle(const QString &value) override { m_values.title = value; }
    QString infoArtist() const override { return m_values.artist; }
    void setInfoArtist(const QString &value) override { m_values.artist = value; }
    QString infoAlbum() const override { return m_values.album; }
    void setInfoAlbum(const QString &value) override { m_values.album = value; }
    QString infoComments() const override { return m_values.comments; }
    void setInfoComments(const QString &value) override { m_values.comments = value; }
    QString infoCopyright() const override { return m_values.copyright; }
    void setInfoCopyright(const QString &value) override { m_values.copyright = value; }
    int infoGenre() const override { return m_values.genre; }     // -1 = none
    void setInfoGenre(int value) override { m_values.genre = value; }
    int infoYear() const override { return m_values.year; }       // 0 = none
    void setInfoYear(int value) override { m_values.year = value; }
    int infoTrack() const override { return m_values.track; }     // 0 = none
    void setInfoTrack(int value) override { m_values.track = value; }

    short tagVersion() const { return m_version; }

    struct TagValues {
        QString title;
        QString artist;
        QString album;
        QString comments;
        QString copyright;
        int genre = -1;
        int year = 0;
        int track = 0;
    };

private:
    TagValues m_values;
    short m_version = 2;
    qint64 m_fileSize = 0;
    qint64 m_durationMs = 0;
    QString m_description;
};

}  // namespace engine
