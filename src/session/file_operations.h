// Renaming and deleting the files of the recorded-file list, and the new-name rule of the
// Rename dialog.
#pragma once

#include <QString>
#include <QStringList>

#include <utility>
#include <vector>

// The name a rename gives: the typed text without its last extension, followed by the old
// name's extension (from its last "." on, dot included; nothing when it has none).
// "take2.wav" for "Untitled1.mp3" gives "take2.mp3"; ".wav" gives ".mp3".
QString renamedFileName(const QString &typed, const QString &oldName);

// The extension of a file name from its last "." on, dot included; empty when none.
QString fileExtension(const QString &name);

struct DiskResult {
    enum Outcome {
        Done,        // renamed, or deleted
        NameTaken,   // rename: a file of the new name exists and was left alone
        Missing,     // delete: the file was not there
        Failed,      // the system refused; reason says why
    };
    Outcome outcome = Done;
    QString reason;   // the system's text for Failed ("Permission denied")
};

// Renames from to to, never replacing an existing file of the new name.
DiskResult renameWithoutReplacing(const QString &from, const QString &to);

// Deletes one file (never a folder).
DiskResult deleteFromDisk(const QString &path);

// folder and name joined by exactly one "/" ("a/rec" + "x.mp3" and "a/rec/" + "x.mp3" both
// give "a/rec/x.mp3").
QString joinPath(const QString &folder, const QString &name);

// A file made for a recording, still open: whatever later happens to its name, the
// descriptor is that file.
class ReservedFile {
public:
    ReservedFile() = default;
    ReservedFile(QString path, int fd) : m_path(std::move(path)), m_fd(fd) {}
    ReservedFile(ReservedFile &&other) noexcept;
    ReservedFile &operator=(ReservedFile &&other) noexcept;
    ~ReservedFile();   // closes the descriptor if it was not taken

    const QString &path() const { return m_path; }
    int fd() const { return m_fd; }
    // The descriptor, now the caller's to close.
    int take() { return std::exchange(m_fd, -1); }

private:
    QString m_path;
    int m_fd = -1;
};

// Creates the first free folder/<stem><n><extension>, n = 1, 2, ..., exclusively: any
// directory entry (a dangling link too) makes a name taken, a link is never followed, and two
// programs never get the same name. Returns it open for reading and writing; throws
// std::runtime_error ("Cannot create <path>: <reason>") when the system refuses.
ReservedFile reserveNumberedFile(const QString &folder, const QString &stem, const QString &extension);

// The file of a recording's next part in folder: reserveNumberedFile(folder, "Untitled", ...)
// without a stem; with one, stem + extension for the first part (taken already: throws
// "Cannot write <path>: the file exists"), else the first free "<stem> <n><extension>", n >= 2.
//
// With companions (name suffixes such as " (microphone)"), the name is one whose companion
// files ("Untitled4 (microphone).flac") are free as well; they are made too, exclusively, and
// handed out in *made in the same order.
ReservedFile reservePartFile(const QString &folder, const QString &stem, const QString &extension, bool firstPart,
                             const QStringList &companions = {}, std::vector<ReservedFile> *made = nullptr);

// The name of a file beside path that carries suffix before the extension:
// "/rec/Untitled4.flac" and " (microphone)" give "/rec/Untitled4 (microphone).flac".
QString companionPath(const QString &path, const QString &suffix);

// False when path names something the file system cannot hold as written: text decoded from
// bytes that were not valid UTF-8 (shown as U+FFFD) would be stored as other bytes, so a
// folder made from it would not be the one the user named. A path that exists as written is
// always usable.
bool pathSurvivesFileSystem(const QString &path);

// Whether two paths name the same file: the same text, or the same file once links and
// "." / ".." are resolved.
bool sameFile(const QString &a, const QString &b);

// The n-th name to try for a file called name: name itself for n = 1, then
// "Untitled3 (2).wav", "Untitled3 (3).wav", ...
QString numberedVariant(const QString &name, int n);

// Gives the file open as fd (read and write) a name in folder (made with its parents when
// missing): name, or the first free numberedVariant of it. An existing entry is never
// replaced or followed. Where the file has a name on folder's file system (sourcePath), the
// new name is one more link to it; otherwise it is copied into a new file. Returns the new
// path; throws std::runtime_error ("Cannot create <path>: <reason>").
QString giveNameTo(int fd, const QString &sourcePath, const QString &folder, const QString &name);
