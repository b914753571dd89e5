#include "OutputFile.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <filesystem>
#include <system_error>

using namespace Qt::StringLiterals;

namespace OutputFile {

std::optional<QString> createTemporaryBeside(const QString &destination, QString *error)
{
    const QFileInfo info(destination);
    const QString folder = info.absolutePath();
    // Short enough that a destination name near the file-system limit still fits.
    const QString base = info.completeBaseName().left(40);
    QString reason;
    for (int attempt = 0; attempt < 16; ++attempt) {
        const QString suffix = QString::number(QRandomGenerator::global()->generate(), 36);
        const QString path = folder + u"/."_s + base + u".tessaly-"_s + suffix + u".mp4"_s;
        QFile file(path);
        // NewOnly creates the file with the usual permissions, as the encoder would.
        if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
            return path;
        reason = file.errorString();
        if (!QFileInfo::exists(path))
            break; // not a name clash: the folder cannot be written
    }
    if (error)
        *error = reason;
    return std::nullopt;
}

bool replace(const QString &temporary, const QString &destination, QString *error)
{
    std::error_code code;
    std::filesystem::rename(QFileInfo(temporary).filesystemAbsoluteFilePath(),
                            QFileInfo(destination).filesystemAbsoluteFilePath(), code);
    if (code && error)
        *error = QString::fromStdString(code.message());
    return !code;
}

} // namespace OutputFile
