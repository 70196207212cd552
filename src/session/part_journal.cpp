#include "session/part_journal.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>

namespace {

const QString kJournalSuffix = QStringLiteral(".journal");

std::unique_ptr<QLockFile> lockFor(const QString &journalPath)
{
    auto lock = std::make_unique<QLockFile>(PartJournal::lockPathOf(journalPath));
    // A lock is stale only when the program that took it is gone, never because it is old:
    // a recording may run for days.
    lock->setStaleLockTime(0);
    return lock;
}

QByteArray native(const QString &path)
{
    return QFile::encodeName(path);
}

// Values stay on one line whatever bytes a path holds.
QByteArray escaped(const QByteArray &value)
{
    QByteArray out;
    out.reserve(value.size());
    for (const char c : value) {
        if (c == '\\')
            out += "\\\\";
        else if (c == '\n')
            out += "\\n";
        else if (c == '\r')
            out += "\\r";
        else
            out += c;
    }
    return out;
}

QByteArray unescaped(const QByteArray &value)
{
    QByteArray out;
    out.reserve(value.size());
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (value[i] != '\\' || i + 1 == value.size()) {
            out += value[i];
            continue;
        }
        const char next = value[++i];
        out += next == 'n' ? '\n' : next == 'r' ? '\r' : next;
    }
    return out;
}

QByteArray textOf(const JournalEntry &e)
{
    QByteArray text = "[part]\n";
    text += "path=" + escaped(native(e.partPath)) + '\n';
    text += "device=" + QByteArray::number(quint64(e.device)) + '\n';
    text += "inode=" + QByteArray::number(quint64(e.inode)) + '\n';
    text += "format=" + escaped(e.format.toUtf8()) + '\n';
    text += "started=" + e.started.toString(Qt::ISODate).toUtf8() + '\n';
    if (!e.secondName.isEmpty())
        text += "second=" + escaped(native(e.secondName)) + '\n';
    if (e.repairStarted)
        text += "repair=started\n";
    if (e.told)
        text += "told=1\n";
    for (const engine::FileMarker &m : e.markers)
        text += "marker=" + QByteArray::number(m.frame) + ' ' + escaped(m.name.toUtf8()) + '\n';
    return text;
}

bool writeAll(int fd, const QByteArray &bytes)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += n;
    }
    return true;
}

// Makes a new file of these bytes, synced; never opens anything that was there.
bool createFile(const QByteArray &path, const QByteArray &bytes)
{
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0)
        return false;
    const bool ok = writeAll(fd, bytes) && ::fdatasync(fd) == 0;
    if (::close(fd) != 0 || !ok) {
        ::unlink(path.constData());
        return false;
    }
    return true;
}

void syncFolder(const QString &folder)
{
    const int fd = ::open(native(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

bool statOf(int fd, struct stat *st)
{
    return ::fstat(fd, st) == 0;
}

}  // namespace

QString PartJournal::folderOf(const QString &settingsFolder)
{
    return QDir(settingsFolder).filePath(QStringLiteral("journals"));
}

QString PartJournal::lockPathOf(const QString &journalPath)
{
    return journalPath.left(journalPath.size() - kJournalSuffix.size()) + QStringLiteral(".lock");
}

bool PartJournal::secureFolder(const QString &journals)
{
    const QByteArray path = native(journals);
    if (::mkdir(path.constData(), 0700) != 0 && errno != EEXIST) {
        // Its parent may be missing still (the settings folder is made by its first write).
        if (errno != ENOENT || !QDir().mkpath(QFileInfo(journals).path()) || ::mkdir(path.constData(), 0700) != 0)
            return false;
    }
    struct stat st {};
    if (::lstat(path.constData(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::geteuid())
        return false;
    if ((st.st_mode & 077) != 0 && ::chmod(path.constData(), 0700) != 0)
        return false;
    return true;
}

std::optional<JournalEntry> PartJournal::read(const QString &path)
{
    const QByteArray file = native(path);
    const int fd = ::open(file.constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    struct stat st {};
    QByteArray text;
    if (statOf(fd, &st) && S_ISREG(st.st_mode) && st.st_uid == ::geteuid() && st.st_size <= 256 * 1024) {
        text.resize(qsizetype(st.st_size));
        qsizetype done = 0;
        while (done < text.size()) {
            const ssize_t n = ::read(fd, text.data() + done, size_t(text.size() - done));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                break;
            done += n;
        }
        text.truncate(done);
    }
    ::close(fd);

    JournalEntry e;
    bool named = false;
    for (const QByteArray &line : text.split('\n')) {
        const qsizetype eq = line.indexOf('=');
        if (eq <= 0)
            continue;
        const QByteArray key = line.left(eq).trimmed();
        const QByteArray value = unescaped(line.mid(eq + 1));
        if (key == "path") {
            e.partPath = QFile::decodeName(value);
            named = !value.isEmpty();
        } else if (key == "device") {
            e.device = dev_t(value.toULongLong());
        } else if (key == "inode") {
            e.inode = ino_t(value.toULongLong());
        } else if (key == "format") {
            e.format = QString::fromUtf8(value);
        } else if (key == "started") {
            e.started = QDateTime::fromString(QString::fromUtf8(value), Qt::ISODate);
        } else if (key == "second") {
            // Only a name inside the journals folder.
            const QString name = QFile::decodeName(value);
            if (!name.contains(QLatin1Char('/')) && name != QLatin1String(".") && name != QLatin1String(".."))
                e.secondName = name;
        } else if (key == "repair") {
            e.repairStarted = value == "started";
        } else if (key == "told") {
            e.told = value == "1";
        } else if (key == "marker") {
            const qsizetype blank = value.indexOf(' ');
            bool ok = false;
            const qint64 frame = value.left(blank).toLongLong(&ok);
            if (ok && frame >= 0 && blank > 0 && e.markers.size() < 999)
                e.markers.push_back({frame, QString::fromUtf8(value.mid(blank + 1))});
        }
    }
    if (!named)
        return std::nullopt;
    return e;
}

bool PartJournal::write(const QString &path, const JournalEntry &entry)
{
    const QByteArray target = native(path);
    const QByteArray beside = target + ".new";
    ::unlink(beside.constData());   // left by a write that was cut short
    if (!createFile(beside, textOf(entry)))
        return false;
    if (::rename(beside.constData(), target.constData()) != 0) {
        ::unlink(beside.constData());
        return false;
    }
    syncFolder(QFileInfo(path).path());
    return true;
}

void PartJournal::remove(const QString &path)
{
    // The second name goes first: a journal without it is harmless, a second name without a
    // journal would keep a whole recording's space for nothing.
    if (const std::optional<JournalEntry> e = read(path); e && !e->secondName.isEmpty())
        ::unlink(native(QFileInfo(path).dir().filePath(e->secondName)).constData());
    QFile::remove(path);
    QFile::remove(path + QStringLiteral(".new"));
}

std::unique_ptr<PartJournal> PartJournal::open(const QString &folder, const QString &partPath, int fd,
                                               const QString &format)
{
    if (folder.isEmpty())
        return nullptr;
    const QString dir = folderOf(folder);
    struct stat st {};
    if (!secureFolder(dir) || !statOf(fd, &st))
        return nullptr;
    JournalEntry entry;
    entry.partPath = QFileInfo(partPath).absoluteFilePath();
    entry.device = st.st_dev;
    entry.inode = st.st_ino;
    entry.format = format;
    entry.started = QDateTime::currentDateTime();

    static std::atomic<int> counter{0};
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QString base = QDir(dir).filePath(
            QStringLiteral("part-%1-%2").arg(QCoreApplication::applicationPid()).arg(++counter));
        const QString journal = base + kJournalSuffix;
        std::unique_ptr<QLockFile> lock = lockFor(journal);
        if (!lock->tryLock(0))
            continue;   // a journal of that name is someone's: the next name
        entry.secondName = QFileInfo(base).fileName() + format;
        if (!createFile(native(journal), textOf(entry))) {
            if (errno == EEXIST)
                continue;
            return nullptr;
        }
        std::unique_ptr<PartJournal> j(new PartJournal(journal, std::move(lock), entry));
        j->makeSecondName(fd);
        return j;
    }
    return nullptr;
}

PartJournal::PartJournal(QString journalPath, std::unique_ptr<QLockFile> lock, JournalEntry entry)
    : m_path(std::move(journalPath)), m_lock(std::move(lock)), m_entry(std::move(entry))
{
}

PartJournal::~PartJournal()
{
    if (!m_kept)
        remove(m_path);
    m_lock->unlock();
}

void PartJournal::makeSecondName(int fd)
{
    // The journal names the second name before it exists: a journal whose second name is
    // missing is harmless, a second name no journal names would never be removed.
    const QString second = QFileInfo(m_path).dir().filePath(m_entry.secondName);
    const QByteArray self = "/proc/self/fd/" + QByteArray::number(fd);
    if (::linkat(AT_FDCWD, self.constData(), AT_FDCWD, native(second).constData(), AT_SYMLINK_FOLLOW) == 0)
        return;
    // Another file system (or one without hard links): no second name.
    m_entry.secondName.clear();
    write(m_path, m_entry);
}

QString PartJournal::secondNamePath() const
{
    if (m_entry.secondName.isEmpty())
        return QString();
    return QFileInfo(m_path).dir().filePath(m_entry.secondName);
}

bool PartJournal::setMarkers(const std::vector<engine::FileMarker> &markers)
{
    if (m_entry.markers == markers)
        return true;
    m_entry.markers = markers;
    return write(m_path, m_entry);
}

void PartJournal::setPart(const QString &partPath, int fd)
{
    struct stat st {};
    if (!statOf(fd, &st))
        return;
    m_entry.partPath = QFileInfo(partPath).absoluteFilePath();
    if (st.st_dev != m_entry.device || st.st_ino != m_entry.inode) {
        // A copy: the old second name holds the old file, which nothing needs any more.
        if (!m_entry.secondName.isEmpty())
            ::unlink(native(secondNamePath()).constData());
        m_entry.device = st.st_dev;
        m_entry.inode = st.st_ino;
        m_entry.secondName = QFileInfo(m_path).completeBaseName() + m_entry.format;
        write(m_path, m_entry);
        makeSecondName(fd);
        return;
    }
    write(m_path, m_entry);
}

QString InterruptedPart::secondNamePath() const
{
    if (entry.secondName.isEmpty())
        return QString();
    return QFileInfo(journalPath).dir().filePath(entry.secondName);
}

InterruptedParts::InterruptedParts(const QString &folder)
{
    if (folder.isEmpty())
        return;
    const QString journals = PartJournal::folderOf(folder);
    // Only a folder that is the user's own and closed to others is trusted.
    if (!QFileInfo(journals).isDir() || !PartJournal::secureFolder(journals))
        return;
    const QDir dir(journals);
    const QStringList names = dir.entryList({QStringLiteral("*") + kJournalSuffix}, QDir::Files | QDir::System, QDir::Name);
    for (const QString &name : names) {
        const QString journal = dir.filePath(name);
        std::shared_ptr<QLockFile> lock = lockFor(journal);
        if (!lock->tryLock(0))
            continue;   // a living program records into it
        const std::optional<JournalEntry> entry = PartJournal::read(journal);
        if (!entry) {
            lock->unlock();
            continue;   // not a journal of ours: left alone
        }
        m_parts.append({journal, *entry});
        m_locks.append(std::move(lock));
    }
}

InterruptedParts::~InterruptedParts()
{
    for (const std::shared_ptr<QLockFile> &lock : std::as_const(m_locks))
        lock->unlock();
}

void InterruptedParts::forget(const InterruptedPart &part)
{
    PartJournal::remove(part.journalPath);
}

bool InterruptedParts::update(InterruptedPart &part)
{
    return PartJournal::write(part.journalPath, part.entry);
}
