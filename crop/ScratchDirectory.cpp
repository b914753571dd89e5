#include "ScratchDirectory.h"

#include "OutputFile.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

using namespace Qt::StringLiterals;

namespace {

const QString lockName = u"tessaly.lock"_s;
const QString outputsName = u"Outputs"_s;
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

QString ScratchDirectory::outputRecordsDirectory() const
{
    return m_root + u'/' + outputsName;
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
        // Without Tessaly's lock the folder is not Tessaly's, or its instance is just starting.
        if (!QFileInfo(lockPath).isFile())
            continue;
        QLockFile lock(lockPath);
        lock.setStaleLockTime(0);
        // The lock of a live instance holds; the lock of a dead one is stale and taken over.
        if (!lock.tryLock(0))
            continue;
        OutputFile::removeRecorded(candidate.absoluteFilePath() + u'/' + outputsName);
        lock.unlock();
        QDir(candidate.absoluteFilePath()).removeRecursively();
    }
}
