#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// Where the pictures of an MPEG transport or program stream start and how
// long they last, from the timestamps of the video packets at the file's two
// ends: about what the probe measures, known before it has run. Nothing for
// other containers or where no timestamps are found.
namespace MpegTimestamps {

struct Span
{
    double start;    // the first picture's timestamp, in seconds
    double duration; // from it to the last picture's
};

std::optional<Span> videoSpan(const QByteArray &head, const QByteArray &tail);
// The same from the file's first 256 KiB and last 1 MiB.
std::optional<Span> readVideoSpan(const QString &path);

} // namespace MpegTimestamps
