#include "session/ini_file.h"

#include "session/convert.h"

#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QSaveFile>

#include <optional>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QList<QByteArray> splitLines(const QByteArray &text)
{
    // Keeps each line's own ending so that untouched lines are written back unchanged.
    QList<QByteArray> lines;
    qsizetype start = 0;
    while (start < text.size()) {
        qsizetype end = text.indexOf('\n', start);
        if (end < 0) {
            lines.append(text.mid(start));
            break;
        }
        lines.append(text.mid(start, end - start + 1));
        start = end + 1;
    }
    return lines;
}

QString lineText(const QByteArray &line)
{
    QByteArray t = line;
    while (t.endsWith('\n') || t.endsWith('\r'))
        t.chop(1);
    return QString::fromUtf8(t);
}

// The section name when the line is a section header.
bool sectionName(const QString &line, QString *name)
{
    const QString t = line.trimmed();
    if (!t.startsWith(QLatin1Char('[')))
        return false;
    const qsizetype close = t.indexOf(QLatin1Char(']'));
    if (close < 0)
        return false;
    *name = t.mid(1, close - 1).trimmed();
    return true;
}

// The key and value when the line is "key=value".
bool keyValue(const QString &line, QString *key, QString *value)
{
    const qsizetype eq = line.indexOf(QLatin1Char('='));
    if (eq <= 0)
        return false;
    *key = line.left(eq).trimmed();
    if (key->isEmpty() || key->startsWith(QLatin1Char(';')))
        return false;
    QString v = line.mid(eq + 1).trimmed();
    if (v.size() >= 2
        && ((v.startsWith(QLatin1Char('"')) && v.endsWith(QLatin1Char('"')))
            || (v.startsWith(QLatin1Char('\'')) && v.endsWith(QLatin1Char('\'')))))
        v = v.mid(1, v.size() - 2);
    *value = v;
    return true;
}

bool sameName(const QString &a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

bool isRegularFile(const struct stat &st)
{
    return S_ISREG(st.st_mode);
}

// The bytes of the file at path when it is a regular file (links followed); nothing for
// anything else. A FIFO is never opened: opening one for reading waits for a writer, which
// would hang the program before its window shows. forWriting also asks that the file may be
// written, so that a read-only file is refused rather than replaced.
std::optional<QByteArray> readRegularFile(const QString &path, bool forWriting = false)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat st {};
    if (::stat(name.constData(), &st) != 0 || !isRegularFile(st))
        return std::nullopt;
    // Non-blocking and checked again once open, in case something else took its place
    // in between.
    const int fd = ::open(name.constData(), (forWriting ? O_RDWR : O_RDONLY) | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    if (::fstat(fd, &st) != 0 || !isRegularFile(st)) {
        ::close(fd);
        return std::nullopt;
    }
    QFile f;
    if (!f.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return std::nullopt;
    }
    return f.readAll();
}

struct WriteTarget {
    QString path;
    bool exists = false;
};

// Where a write goes: the path itself, or the file its chain of symbolic links leads to (so
// the links stay). Nothing when the write must be refused: a loop of links, or something
// other than a regular file in the place (a FIFO, a folder, a socket, a device).
std::optional<WriteTarget> writeTarget(const QString &path)
{
    QFileInfo info(path);
    for (int depth = 0; info.isSymLink(); ++depth) {
        if (depth == 40)
            return std::nullopt;
        info.setFile(info.symLinkTarget());
    }
    const QString target = info.filePath();
    const QByteArray name = QFile::encodeName(target);
    struct stat st {};
    if (::lstat(name.constData(), &st) != 0) {
        if (errno == ENOENT)
            return WriteTarget{target, false};
        return std::nullopt;
    }
    if (!isRegularFile(st))
        return std::nullopt;
    return WriteTarget{target, true};
}

// Sets key=value in the lines of a file as one profile write does.
void applyEntry(QList<QByteArray> &lines, const QString &section, const QString &key,
                const QString &value)
{
    QByteArray eol = "\n";
    for (const QByteArray &l : lines)
        if (l.endsWith("\r\n")) {
            eol = "\r\n";
            break;
        }
    const QByteArray newLine = (key + QLatin1Char('=') + value).toUtf8() + eol;

    qsizetype sectionAt = -1;   // index of the section header
    qsizetype lastKeyAt = -1;   // index of the section's last key line
    qsizetype keyAt = -1;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString line = lineText(lines[i]);
        QString name;
        if (sectionName(line, &name)) {
            if (sectionAt >= 0)
                break;
            if (sameName(name, section)) {
                sectionAt = i;
                lastKeyAt = i;
            }
            continue;
        }
        if (sectionAt < 0)
            continue;
        QString k, v;
        if (keyValue(line, &k, &v)) {
            lastKeyAt = i;
            if (sameName(k, key)) {
                keyAt = i;
                break;
            }
        } else if (!line.trimmed().isEmpty()) {
            lastKeyAt = i;
        }
    }

    // A last line without its line end gets one before anything follows it.
    if (!lines.isEmpty() && !lines.last().endsWith('\n') && keyAt != lines.size() - 1)
        lines.last().append(eol);

    if (keyAt >= 0) {
        lines[keyAt] = newLine;
    } else if (sectionAt >= 0) {
        lines.insert(lastKeyAt + 1, newLine);
    } else {
        lines.append((QLatin1Char('[') + section + QLatin1Char(']')).toUtf8() + eol);
        lines.append(newLine);
    }
}

}  // namespace

QString IniFile::readString(const QString &section, const QString &key,
                            const QString &defaultValue) const
{
    const std::optional<QByteArray> text = readRegularFile(m_path);
    if (!text)
        return defaultValue;
    const QList<QByteArray> lines = splitLines(*text);
    bool inSection = false;
    bool sectionSeen = false;
    for (const QByteArray &raw : lines) {
        const QString line = lineText(raw);
        QString name;
        if (sectionName(line, &name)) {
            if (inSection)
                break;   // the first section of that name is the one that counts
            inSection = !sectionSeen && sameName(name, section);
            sectionSeen = sectionSeen || inSection;
            continue;
        }
        QString k, v;
        if (inSection && keyValue(line, &k, &v) && sameName(k, key))
            return v;
    }
    return defaultValue;
}

int IniFile::readInteger(const QString &section, const QString &key, int defaultValue) const
{
    const QString text = readString(section, key, QString());
    return parseInteger(text).value_or(defaultValue);
}

void IniFile::writeString(const QString &section, const QString &key, const QString &value)
{
    write({Entry(section, key, value)});
}

void IniFile::write(const QList<Entry> &entries)
{
    const auto refuse = [this]() {
        //: %1 is the settings file's path.
        return SettingsError(tr("Unable to write to %1").arg(m_path));
    };

    const std::optional<WriteTarget> target = writeTarget(m_path);
    if (!target)
        throw refuse();
    QList<QByteArray> lines;
    if (target->exists) {
        const std::optional<QByteArray> old = readRegularFile(target->path, true);
        if (!old)
            throw refuse();
        lines = splitLines(*old);
    }
    for (const Entry &e : entries)
        applyEntry(lines, e.section, e.key, e.value);

    QByteArray out;
    for (const QByteArray &l : lines)
        out += l;
    // The new contents go to a temporary file beside the old one and replace it by a
    // rename only once they are all on the disk; QSaveFile gives the new file the old one's
    // permissions. Its commit() forgets a failed flush of its buffer (a full disk), and a
    // full disk may show only when the data reaches it, so both are checked here first.
    QSaveFile f(target->path);
    if (!f.open(QIODevice::WriteOnly))
        throw refuse();
    const bool written = f.write(out) == out.size() && f.flush() &&
                         f.error() == QFileDevice::NoError &&
                         (::fsync(f.handle()) == 0 || errno == EINVAL);
    if (!written) {
        f.cancelWriting();
        throw refuse();
    }
    if (!f.commit())
        throw refuse();
}

void IniFile::writeInteger(const QString &section, const QString &key, int value)
{
    writeString(section, key, QString::number(value));
}
