// The files handled in this run: every recording part and every opened file, in the order
// they came; the row the user selected; the current file (the one the tag editor works on
// and that Play plays when no row is selected); and the tags of a file.
#pragma once

#include "engine/engine.h"

#include <QList>
#include <QObject>
#include <QString>

#include <memory>
#include <vector>

// A file's tags as the tag editor shows them.
struct FileTags {
    QString title, artist, album, comments, copyright;
    int genre = -1;   // 0..146, -1 = none
    int year = 0;
    int track = 0;
};

class RecordedFiles : public QObject {
    Q_OBJECT

public:
    struct Entry {
        QString path;
        qint64 bytes = 0;
        qint64 durationMs = 0;
        QString folder() const;   // the path up to and with its last "/"
        QString name() const;     // the file name
    };

    explicit RecordedFiles(engine::IEngineFactory &engine, QObject *parent = nullptr);
    ~RecordedFiles() override;

    // ---- the list ---------------------------------------------------------------------
    int count() const { return int(m_entries.size()); }
    const Entry &at(int row) const { return m_entries.at(row); }
    // Measures the file and appends its row; a file that cannot be measured raises an
    // error and adds nothing.
    void add(const QString &path);
    void removeAt(int row);
    // Renames row's file to typedName with the row's own extension (see renamedFileName),
    // never replacing another file; every holder of the old path (the current file, the
    // selection, whoever listens to fileRenamed) follows it. Returns why a name is refused
    // (blank, a "/", taken), or nothing when renamed; raises an error when the system refuses.
    QString rename(int row, const QString &typedName);
    // Deletes row's file from the disk and its row; a file already gone only loses its row.
    void deleteFromDisk(int row);

    // ---- selection and the current file ------------------------------------------------
    int selectedRow() const { return m_selected; }   // -1 for none
    QString selectedPath() const;                    // empty for none
    void select(int row);                            // -1 clears; makes that file current
    QString currentFile() const { return m_current; }
    void setCurrentFile(const QString &path);
    // The file Play plays: the selected row's, else the current one.
    QString fileToPlay() const;

    // ---- tags ---------------------------------------------------------------------------
    QString genreName(int number);                   // 0..146
    FileTags readTags(const QString &path);
    // Writes the tags in the chosen version (see setTagVersion). A year or track number the
    // tag component refuses stops before anything is written and is named in the answer.
    enum class Refused { Nothing, Year, Track };
    Refused writeTags(const QString &path, const FileTags &tags);
    void setTagVersion(int version);   // 1 = ID3v1, 2 = ID3v2
    // FLAC, Ogg Vorbis and Opus files keep their tags as Vorbis comments: no ID3 version.
    static bool hasVorbisComments(const QString &path);
    QString formatDescription(const QString &path);  // as the tag component describes it

    // ---- markers ------------------------------------------------------------------------
    struct FileMarkers {
        int sampleRate = 0;   // of the file; 0 when it cannot be read
        std::vector<engine::FileMarker> markers;
    };
    // The file's markers, chapters other programs wrote included; none when it cannot be read.
    FileMarkers readMarkers(const QString &path);
    // Replaces the file's markers; nothing is written when they are the same. Throws the
    // engine's error.
    void writeMarkers(const QString &path, const std::vector<engine::FileMarker> &markers);

signals:
    void rowAdded(int row);
    void rowRemoved(int row);
    void rowChanged(int row);
    void selectionChanged(int row);
    void currentFileChanged(const QString &path);
    // A file on the disk got another name; everything that holds from follows.
    void fileRenamed(const QString &from, const QString &to);

private:
    engine::IEngineFactory &m_engine;
    std::unique_ptr<engine::IAudioInformation2> m_information;
    std::unique_ptr<engine::IAudioFile2> m_markerFile;   // made when markers are first wanted
    engine::IAudioFile2 &markerFile();
    QList<Entry> m_entries;
    int m_selected = -1;
    QString m_current;
};
