#include "ScratchDirectory.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

using namespace Qt::StringLiterals;

namespace {

const QString lockName = u"lock"_s;
const QString prefix = u"tessaly-"_s;

bool ownedByThisUser(const QFileInfo &info)
{
#ifdef Q_OS_UNIX
    return info.ownerId() == ::getuid();
#else
    Q_UNUSED(info);
    return true;
#endif
}

} // namespace

ScratchDirectory::ScratchDirectory(const QString &base)
{
    const QString folder = base.isEmpty() ? QDir::tempPath() : base;
    removeAbandonedRoots(folder);

    QTemporaryDir created(folder + u'/' + prefix + u"XXXXXX"_s);
    if (!created.isValid())
        return;
    created.setAutoRemove(false);
    auto lock = std::make_unique<QLockFile>(created.path() + u'/' + lockName);
    lock->setStaleLockTime(0);
    if (!lock->tryLock(0)) {
        QDir(created.path()).removeRecursively();
        return;
    }
    m_root = created.path();
    m_lock = std::move(lock);
}

ScratchDirectory::~ScratchDirectory()
{
    removeScratchDirectory();
}

QString ScratchDirectory::framesDirectory() const
{
    return m_root + u"/Images"_s;
}

void ScratchDirectory::removeScratchDirectory()
{
    if (m_root.isEmpty())
        return;
    m_lock.reset();
    QDir(m_root).removeRecursively();
    m_root.clear();
}

void ScratchDirectory::removeAbandonedRoots(const QString &base)
{
    const QFileInfoList candidates = QDir(base).entryInfoList({ prefix + u'*' },
                                                              QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden);
    for (const QFileInfo &candidate : candidates) {
        if (candidate.isSymLink() || !ownedByThisUser(candidate))
            continue;
        const QString lockPath = candidate.absoluteFilePath() + u'/' + lockName;
        // An instance that is just starting has made its folder but not yet its lock.
        if (!QFileInfo::exists(lockPath)
            && candidate.lastModified().secsTo(QDateTime::currentDateTime()) < 60)
            continue;
        QLockFile lock(lockPath);
        lock.setStaleLockTime(0);
        // The lock of a live instance holds; the lock of a dead one is stale and taken over.
        if (!lock.tryLock(0))
            continue;
        lock.unlock();
        QDir(candidate.absoluteFilePath()).removeRecursively();
    }
}
