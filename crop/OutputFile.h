#pragma once

#include <QString>

#include <optional>

// The encoder writes beside the destination under a temporary name, and the
// result replaces the destination only once it is known to be good, so a
// cancel or a failure never touches a file the user already had.
namespace OutputFile {

// Whether the two paths name one file, however they are written (symlinks,
// "..", hard links).
bool isSameFile(const QString &a, const QString &b);

// The file a destination stands for: the one a symlink points to, or itself.
QString resolved(const QString &destination);

// Why destination may not be replaced (a folder, a read-only file), or
// nothing when it may.
std::optional<QString> refusal(const QString &destination);

// A new, empty file with a hidden, unique name ending in the destination's
// extension (".mp4", ".mov", ".mkv") in the destination's folder; nothing (with the reason in error) when the folder
// cannot be written.
std::optional<QString> createTemporaryBeside(const QString &destination, QString *error);

// Moves temporary into place as destination, in one step: over the file the
// user agreed to replace (agreed: its identity then, FileRename::identity),
// keeping its permission bits, and otherwise only where the name is free.
// A name taken meanwhile by another file is left to it, and the video goes
// beside it under the first free name ("Cropped (2).mp4"). The path it went
// to; nothing, with the reason in error, when it could not be moved.
std::optional<QString> place(const QString &temporary, const QString &destination, const QString &agreed,
                             QString *error);

// Notes temporary in recordsFolder, so that a later launch can remove it
// should this one die first; the record's path, to forget it by.
QString record(const QString &recordsFolder, const QString &temporary);
// Removes the temporary files noted in recordsFolder, which belongs to an
// instance that is gone.
void removeRecorded(const QString &recordsFolder);

} // namespace OutputFile
