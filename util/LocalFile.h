#pragma once

#include <QString>

// What a path names, asked of the file system alone: nothing is opened or
// read, so a named pipe or a device cannot stall the caller.
namespace LocalFile {

enum class Kind {
    regularFile, // a file whose bytes can be read
    missing,
    linkLoop,    // symbolic links that lead back to themselves
    folder,
    namedPipe,
    device,
    socket,
    unreadable,  // a regular file this user may not read
    other,
};

// What path names, following symbolic links.
Kind kindOf(const QString &path);

} // namespace LocalFile
