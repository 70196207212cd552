// Renaming and deleting the files of the recorded-file list, and the new-name rule of the
// Rename dialog.
#pragma once

#include <QString>

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

// Creates the first free folder/<stem><n><extension>, n = 1, 2, ..., exclusively: any
// directory entry (a dangling link too) makes a name taken, a link is never followed, and two
// programs never get the same name. Returns its path; throws std::runtime_error ("Cannot
// create <path>: <reason>") when the system refuses.
QString reserveNumberedFile(const QString &folder, const QString &stem, const QString &extension);

// False when path names something the file system cannot hold as written: text decoded from
// bytes that were not valid UTF-8 (shown as U+FFFD) would be stored as other bytes, so a
// folder made from it would not be the one the user named. A path that exists as written is
// always usable.
bool pathSurvivesFileSystem(const QString &path);

// Whether two paths name the same file: the same text, or the same file once links and
// "." / ".." are resolved.
bool sameFile(const QString &a, const QString &b);
