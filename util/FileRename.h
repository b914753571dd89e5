#pragma once

#include <QString>

// Moving a finished file into place, each in the platform's own atomic way.
namespace FileRename {

enum class Result { moved, taken, failed };

// Moves from to to in one step, unless something is at to already: then
// nothing moves and the result is taken. error: why it failed.
Result withoutReplacing(const QString &from, const QString &to, QString *error = nullptr);

// What tells one file from another at the same path: a file replaced by
// another of the same name, or written to since, has another identity;
// empty when path names none.
QString identity(const QString &path);

} // namespace FileRename
