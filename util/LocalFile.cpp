#include "LocalFile.h"

#include <QFileInfo>

#include <filesystem>
#include <system_error>

namespace LocalFile {

Kind kindOf(const QString &path)
{
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::file_status status = fs::status(QFileInfo(path).filesystemFilePath(), error);
    if (error == std::errc::too_many_symbolic_link_levels)
        return Kind::linkLoop;
    // A folder on the way that may not be entered hides the file as much as its own permissions.
    if (error == std::errc::permission_denied)
        return Kind::unreadable;
    switch (status.type()) {
    case fs::file_type::regular: {
        // Without a single read bit, a file is not meant to be read, even where root may.
        const auto reads = fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read;
        const bool readable = QFileInfo(path).isReadable() && (status.permissions() & reads) != fs::perms::none;
        return readable ? Kind::regularFile : Kind::unreadable;
    }
    case fs::file_type::directory:
        return Kind::folder;
    case fs::file_type::fifo:
        return Kind::namedPipe;
    case fs::file_type::block:
    case fs::file_type::character:
        return Kind::device;
    case fs::file_type::socket:
        return Kind::socket;
    case fs::file_type::not_found:
        return Kind::missing;
    default:
        return error ? Kind::missing : Kind::other;
    }
}

} // namespace LocalFile
