// Renaming and deleting the files of the recorded-file list, and the new-name rule of the
// Rename dialog.
#pragma once

#include <QString>

// The name a rename gives: the typed text without its last extension, followed by the old
// name's extension (from its last "." on, dot included; nothing when it has none).
// "take2.wav" for "Untitled1.mp3" gives "take2.mp3"; ".wav" gives ".mp3".
QString RenamedFileName(const QString &typed, const QString &oldName);

// The extension of a file name from its last "." on, dot included; empty when none.
QString FileExtension(const QString &name);

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
DiskResult RenameWithoutReplacing(const QString &from, const QString &to);

// Deletes one file (never a folder).
DiskResult DeleteFromDisk(const QString &path);

// Whether two paths name the same file: the same text, or the same file once links and
// "." / ".." are resolved.
bool SameFile(const QString &a, const QString &b);
