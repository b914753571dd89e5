#include "FileRename.h"

#include <QFile>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace FileRename {

namespace {

Result failure(int code, QString *error)
{
    if (code == EEXIST)
        return Result::taken;
    if (error)
        *error = QString::fromLocal8Bit(std::strerror(code));
    return Result::failed;
}

} // namespace

Result withoutReplacing(const QString &from, const QString &to, QString *error)
{
    const QByteArray source = QFile::encodeName(from);
    const QByteArray target = QFile::encodeName(to);
#ifdef Q_OS_LINUX
    if (::renameat2(AT_FDCWD, source.constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE) == 0)
        return Result::moved;
    // File systems without it (some network and FUSE ones) say so; every other failure is final.
    if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP)
        return failure(errno, error);
#endif
    // A hard link is never made over an existing name; the temporary name goes once it is made.
    if (::link(source.constData(), target.constData()) != 0)
        return failure(errno, error);
    ::unlink(source.constData());
    return Result::moved;
}

QString identity(const QString &path)
{
    struct stat status;
    if (::stat(QFile::encodeName(path).constData(), &status) != 0)
        return {};
    // A file deleted and another written under its name may get its inode again, never its time of writing.
#ifdef Q_OS_MACOS
    const timespec &written = status.st_mtimespec;
#else
    const timespec &written = status.st_mtim;
#endif
    return QStringLiteral("%1:%2:%3:%4.%5")
        .arg(quint64(status.st_dev))
        .arg(quint64(status.st_ino))
        .arg(qint64(status.st_size))
        .arg(qint64(written.tv_sec))
        .arg(qint64(written.tv_nsec));
}

} // namespace FileRename
