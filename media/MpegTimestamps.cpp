#include "MpegTimestamps.h"

#include <QFile>
#include <QList>

namespace MpegTimestamps {

namespace {

constexpr double ticksPerSecond = 90'000;
constexpr qint64 wrap = qint64(1) << 33; // timestamps are 33 bits wide

bool isMpegStream(const QByteArray &head)
{
    const auto at = [&](qsizetype i) { return i < head.size() ? uchar(head[i]) : 0; };
    // Transport packets of 188 bytes, or of 192 with a time code first; else a program stream's pack.
    for (const auto &[first, size] : { std::pair(0, 188), std::pair(4, 192) }) {
        if (at(first) == 0x47 && at(first + size) == 0x47 && at(first + 2 * size) == 0x47)
            return true;
    }
    return head.startsWith(QByteArray("\0\0\1\xba", 4));
}

// A timestamp's five bytes: its prefix ("0010", or "0011" with a decoding time after), 33 bits and
// three marker bits.
std::optional<qint64> timestampAt(const uchar *t)
{
    if ((t[0] >> 5) != 1 || !(t[0] & 1) || !(t[2] & 1) || !(t[4] & 1))
        return std::nullopt;
    return qint64((t[0] >> 1) & 7) << 30 | qint64(t[1]) << 22 | qint64(t[2] >> 1) << 15 | qint64(t[3]) << 7
        | qint64(t[4] >> 1);
}

// The presentation timestamps in the headers of the video packets found in bytes.
QList<qint64> videoTimestamps(const QByteArray &bytes)
{
    QList<qint64> stamps;
    const auto *b = reinterpret_cast<const uchar *>(bytes.constData());
    const qsizetype size = bytes.size();
    for (qsizetype i = 0; i + 32 <= size; ++i) {
        if (b[i] != 0 || b[i + 1] != 0 || b[i + 2] != 1 || (b[i + 3] & 0xf0) != 0xe0)
            continue;
        const uchar *h = b + i + 6;
        std::optional<qint64> stamp;
        if ((h[0] & 0xc0) == 0x80) {
            // MPEG-2: flags, then the header's length and the timestamp.
            if (h[1] & 0x80)
                stamp = timestampAt(h + 3);
        } else {
            // MPEG-1: stuffing, a buffer size, then the timestamp.
            qsizetype k = 0;
            while (k < 16 && h[k] == 0xff)
                ++k;
            if ((h[k] & 0xc0) == 0x40)
                k += 2;
            stamp = timestampAt(h + k);
        }
        if (stamp)
            stamps << *stamp;
    }
    return stamps;
}

// b - a, across a wrap of the timestamps.
qint64 after(qint64 a, qint64 b)
{
    return ((b - a) % wrap + wrap + wrap / 2) % wrap - wrap / 2;
}

} // namespace

std::optional<Span> videoSpan(const QByteArray &head, const QByteArray &tail)
{
    if (!isMpegStream(head))
        return std::nullopt;
    const QList<qint64> first = videoTimestamps(head);
    const QList<qint64> last = videoTimestamps(tail);
    if (first.isEmpty() || last.isEmpty())
        return std::nullopt;
    // Pictures are stored out of order: the earliest of the first ones, the latest of the last.
    qint64 start = first.front();
    for (const qint64 stamp : first)
        start = after(start, stamp) < 0 ? stamp : start;
    qint64 end = 0;
    for (const qint64 stamp : last)
        end = std::max(end, (stamp - start + wrap) % wrap);
    if (end == 0)
        return std::nullopt;
    // As the demuxer counts: a start within a minute of the wrap lies before zero.
    if (start > wrap - 60 * qint64(ticksPerSecond))
        start -= wrap;
    return Span { start / ticksPerSecond, end / ticksPerSecond };
}

std::optional<Span> readVideoSpan(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    // A look at the first packets before any more is read: most files opened are of other kinds.
    if (!isMpegStream(file.peek(512)))
        return std::nullopt;
    const QByteArray head = file.read(256 * 1024);
    const qint64 tailSize = 1024 * 1024;
    if (!file.seek(std::max<qint64>(0, file.size() - tailSize)))
        return std::nullopt;
    return videoSpan(head, file.read(tailSize));
}

} // namespace MpegTimestamps
