#include "Resources.h"

#include <QCoreApplication>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace Resources {

std::optional<QString> pathForResource(const QString &name)
{
    if (name.isEmpty() || name.contains(u'/'))
        return std::nullopt;

    const QString appDir = QCoreApplication::applicationDirPath();
    // The build tree keeps the tools in resources/ beside the programs; an
    // installed tessaly keeps them in its libexec folder.
    const QString folders[] = {
        appDir + u"/resources"_s,
        appDir + u'/' + QString::fromUtf8(TESSALY_INSTALLED_RESOURCES),
    };
    // Windows finds programs by their suffix.
#ifdef Q_OS_WIN
    const QString file = name + u".exe"_s;
#else
    const QString &file = name;
#endif
    for (const QString &folder : folders) {
        const QFileInfo candidate(folder + u'/' + file);
        if (candidate.isFile() && candidate.isExecutable())
            return candidate.absoluteFilePath();
    }
    return std::nullopt;
}

} // namespace Resources
