#include "engine/file/writing_registry.h"

#include <QFileInfo>
#include <QHash>
#include <QMutex>

namespace engine::file {

namespace {

QMutex &registryLock()
{
    static QMutex lock;
    return lock;
}

QHash<QString, int> &registry()
{
    static QHash<QString, int> files;
    return files;
}

QString key(const QString &path)
{
    const QFileInfo info(path);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? info.absoluteFilePath() : canonical;
}

}  // namespace

void registerWriting(const QString &path)
{
    QMutexLocker locker(&registryLock());
    ++registry()[key(path)];
}

void unregisterWriting(const QString &path)
{
    QMutexLocker locker(&registryLock());
    auto it = registry().find(key(path));
    if (it != registry().end() && --it.value() <= 0)
        registry().erase(it);
}

bool isBeingWritten(const QString &path)
{
    QMutexLocker locker(&registryLock());
    return registry().contains(key(path));
}

}  // namespace engine::file
