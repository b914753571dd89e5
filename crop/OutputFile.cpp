#include "OutputFile.h"

#include "util/FileRename.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>

#include <filesystem>
#include <system_error>

using namespace Qt::StringLiterals;

namespace OutputFile {

namespace {

const QRegularExpression temporaryName(u"^\\..*\\.tessaly-[0-9a-z]+\\.(?:mp4|m4v|mov|mkv)$"_s);

} // namespace

bool isSameFile(const QString &a, const QString &b)
{
    std::error_code error;
    if (std::filesystem::equivalent(QFileInfo(a).filesystemAbsoluteFilePath(),
                                    QFileInfo(b).filesystemAbsoluteFilePath(), error))
        return true;
    return QDir::cleanPath(QFileInfo(a).absoluteFilePath()) == QDir::cleanPath(QFileInfo(b).absoluteFilePath());
}

QString resolved(const QString &destination)
{
    const QFileInfo info(destination);
    if (!info.isSymLink())
        return destination;
    // A link to a file that is not there yet resolves to where it points.
    const QString target = info.canonicalFilePath();
    return target.isEmpty() ? info.symLinkTarget() : target;
}

std::optional<QString> refusal(const QString &destination)
{
    const QFileInfo info(resolved(destination));
    if (!info.exists())
        return std::nullopt;
    if (info.isDir())
        return QCoreApplication::translate("OutputFile", "%1 is a folder.").arg(QDir::toNativeSeparators(destination));
    // Read-only by its permissions, which root too is asked to respect.
    const auto writable = QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther;
    if (!info.isWritable() || !(info.permissions() & writable))
        return QCoreApplication::translate("OutputFile", "%1 is read-only.").arg(QDir::toNativeSeparators(destination));
    return std::nullopt;
}

std::optional<QString> createTemporaryBeside(const QString &destination, QString *error)
{
    const QFileInfo info(destination);
    const QString folder = info.absolutePath();
    // Short enough that a destination name near the file-system limit still fits.
    const QString base = info.completeBaseName().left(40);
    const QString suffix = QStringList { u"mp4"_s, u"m4v"_s, u"mov"_s, u"mkv"_s }.contains(info.suffix().toLower())
        ? info.suffix().toLower()
        : u"mp4"_s;
    QString reason;
    for (int attempt = 0; attempt < 16; ++attempt) {
        const QString unique = QString::number(QRandomGenerator::global()->generate(), 36);
        const QString path = folder + u"/."_s + base + u".tessaly-"_s + unique + u'.' + suffix;
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

std::optional<QString> place(const QString &temporary, const QString &destination, const QString &agreed,
                             QString *error)
{
    if (!agreed.isEmpty() && FileRename::identity(destination) == agreed) {
        const QFileInfo replaced(destination);
        QFile::setPermissions(temporary, replaced.permissions());
        std::error_code code;
        std::filesystem::rename(QFileInfo(temporary).filesystemAbsoluteFilePath(),
                                replaced.filesystemAbsoluteFilePath(), code);
        if (code && error)
            *error = QString::fromStdString(code.message());
        return code ? std::nullopt : std::optional(destination);
    }
    const QFileInfo info(destination);
    const QString suffix = info.suffix().isEmpty() ? QString() : u'.' + info.suffix();
    for (int n = 1; n < 1000; ++n) {
        const QString candidate = n == 1 ? destination
                                         : u"%1/%2 (%3)%4"_s.arg(info.absolutePath(), info.completeBaseName()).arg(n).arg(suffix);
        switch (FileRename::withoutReplacing(temporary, candidate, error)) {
        case FileRename::Result::moved:
            return candidate;
        case FileRename::Result::failed:
            return std::nullopt;
        case FileRename::Result::taken:
            break;
        }
    }
    return std::nullopt;
}

QString record(const QString &recordsFolder, const QString &temporary)
{
    if (recordsFolder.isEmpty() || !QDir().mkpath(recordsFolder))
        return {};
    QFile note(recordsFolder + u'/' + QFileInfo(temporary).fileName());
    if (!note.open(QIODevice::WriteOnly) || note.write(QFile::encodeName(temporary)) < 0)
        return {};
    return note.fileName();
}

void removeRecorded(const QString &recordsFolder)
{
    for (const QFileInfo &note : QDir(recordsFolder).entryInfoList(QDir::Files | QDir::Hidden)) {
        QFile file(note.absoluteFilePath());
        if (!file.open(QIODevice::ReadOnly))
            continue;
        const QFileInfo temporary(QFile::decodeName(file.readAll()));
        // Only what Tessaly itself names that way, and only a plain file.
        if (temporaryName.match(temporary.fileName()).hasMatch() && temporary.isFile() && !temporary.isSymLink())
            QFile::remove(temporary.absoluteFilePath());
    }
}

} // namespace OutputFile
