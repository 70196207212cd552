// setup.ini access with the semantics of a Windows private profile:
//   - every read and every write goes to the file itself; nothing is cached;
//   - section and key names match without regard to case; the first of duplicate
//     sections or keys wins;
//   - values are trimmed of surrounding blanks, and one pair of enclosing quotes is removed;
//   - reading never creates the file; the first write creates it (not its folder);
//   - a write replaces the key's line in place, or adds the key at the end of its section,
//     or the section at the end of the file, and keeps every other line byte for byte.
// A write that the file system refuses throws SettingsError "Unable to write to <path>".
#pragma once

#include <QString>

#include <stdexcept>

class SettingsError : public std::runtime_error {
public:
    explicit SettingsError(const QString &text) : std::runtime_error(text.toStdString()) {}
};

class IniFile {
public:
    explicit IniFile(QString path) : m_path(std::move(path)) {}

    const QString &path() const { return m_path; }

    QString ReadString(const QString &section, const QString &key, const QString &defaultValue) const;
    // The value as an integer, or defaultValue when it is absent or not a valid integer.
    int ReadInteger(const QString &section, const QString &key, int defaultValue) const;

    void WriteString(const QString &section, const QString &key, const QString &value);
    void WriteInteger(const QString &section, const QString &key, int value);

private:
    QString m_path;
};
