// setup.ini access with the semantics of a Windows private profile:
//   - every read and every write goes to the file itself; nothing is cached;
//   - section and key names match without regard to case; the first of duplicate
//     sections or keys wins;
//   - values are trimmed of surrounding blanks, and one pair of enclosing quotes is removed;
//   - reading never creates the file; the first write creates it (not its folder);
//   - a write replaces the key's line in place, or adds the key at the end of its section,
//     or the section at the end of the file, and keeps every other line byte for byte.
// Only a regular file is read; anything else in its place (a FIFO, a folder, a socket) reads
// as absent and is never replaced. A symbolic link is followed: reads and writes go to the
// file it leads to, and the link stays.
// A write builds the new contents beside the file and renames them into place, so a write
// the file system refuses (a full disk) leaves the old file whole; several keys written
// together form one such change. A refused write throws SettingsError
// "Unable to write to <path>". A replaced file keeps its permissions.
#pragma once

#include <QCoreApplication>
#include <QList>
#include <QString>

#include <stdexcept>

class SettingsError : public std::runtime_error {
public:
    explicit SettingsError(const QString &text) : std::runtime_error(text.toStdString()) {}
};

class IniFile {
    Q_DECLARE_TR_FUNCTIONS(IniFile)

public:
    explicit IniFile(QString path) : m_path(std::move(path)) {}

    const QString &path() const { return m_path; }

    QString readString(const QString &section, const QString &key, const QString &defaultValue) const;
    // The value as an integer, or defaultValue when it is absent or not a valid integer.
    int readInteger(const QString &section, const QString &key, int defaultValue) const;

    // One key's new value, for writing several keys at once.
    struct Entry {
        Entry(QString section, QString key, QString value)
            : section(std::move(section)), key(std::move(key)), value(std::move(value)) {}
        Entry(QString section, QString key, int value)
            : Entry(std::move(section), std::move(key), QString::number(value)) {}
        QString section, key, value;
    };

    void writeString(const QString &section, const QString &key, const QString &value);
    void writeInteger(const QString &section, const QString &key, int value);
    // Writes the entries in their order as one change of the file: all of them reach it, or
    // (when refused) none and the old file stays as it was.
    void write(const QList<Entry> &entries);

private:
    QString m_path;
};
