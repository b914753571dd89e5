#include "FileRename.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>

namespace FileRename {

// Elsewhere a check before the move: not atomic, but never a replace that the check could see.
Result withoutReplacing(const QString &from, const QString &to, QString *error)
{
    if (QFileInfo::exists(to))
        return Result::taken;
    QFile file(from);
    if (file.rename(to))
        return Result::moved;
    if (error)
        *error = file.errorString();
    return Result::failed;
}

QString identity(const QString &path)
{
    const QFileInfo info(path);
    return info.exists() ? info.birthTime().toString(Qt::ISODateWithMs) + u'/' + QString::number(info.size()) : QString();
}

} // namespace FileRename
