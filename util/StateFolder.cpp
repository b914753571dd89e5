#include "StateFolder.h"

#include <QDir>
#include <QStandardPaths>

using namespace Qt::StringLiterals;

QString stateFolder()
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    // Qt names no state location before 6.7; the XDG rule is short.
    QString base = qEnvironmentVariable("XDG_STATE_HOME");
    if (base.isEmpty() || QDir::isRelativePath(base))
        base = QDir::homePath() + u"/.local/state"_s;
    return base + u"/tessaly"_s;
#else
    return QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation) + u"/State"_s;
#endif
}
