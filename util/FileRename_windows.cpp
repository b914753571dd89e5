#include "FileRename.h"

#include <QDateTime>
#include <QFileInfo>

#include <windows.h>

namespace FileRename {

Result withoutReplacing(const QString &from, const QString &to, QString *error)
{
    // Without MOVEFILE_REPLACE_EXISTING the move fails where the name is taken.
    if (::MoveFileExW(reinterpret_cast<const wchar_t *>(from.utf16()), reinterpret_cast<const wchar_t *>(to.utf16()),
                      MOVEFILE_WRITE_THROUGH))
        return Result::moved;
    const DWORD code = ::GetLastError();
    if (code == ERROR_ALREADY_EXISTS || code == ERROR_FILE_EXISTS)
        return Result::taken;
    if (error)
        *error = QStringLiteral("error %1").arg(code);
    return Result::failed;
}

QString identity(const QString &path)
{
    const QFileInfo info(path);
    return info.exists() ? info.birthTime().toString(Qt::ISODateWithMs) + u'/' + QString::number(info.size()) : QString();
}

} // namespace FileRename
