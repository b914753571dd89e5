#pragma once

#include <QString>

#include <optional>

// The encoder writes beside the destination under a temporary name, and the
// result replaces the destination only once it is known to be good, so a
// cancel or a failure never touches a file the user already had.
namespace OutputFile {

// A new, empty file with a hidden, unique name ending in ".mp4" in the
// destination's folder; nothing (with the reason in error) when the folder
// cannot be written.
std::optional<QString> createTemporaryBeside(const QString &destination, QString *error);

// Moves temporary over destination in one step.
bool replace(const QString &temporary, const QString &destination, QString *error);

} // namespace OutputFile
