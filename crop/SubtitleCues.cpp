#include "SubtitleCues.h"

#include <QList>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>
#include <optional>

using namespace Qt::StringLiterals;

namespace SubtitleCues {

namespace {

struct Span
{
    double start;
    double end;
};

// The part of [start, end) within the trim, moved to count from its start.
std::optional<Span> cut(double start, double end, double offset, double length)
{
    Span span { std::max(0.0, start - offset), end - offset };
    if (length > 0)
        span.end = std::min(span.end, length);
    if (span.end <= span.start)
        return std::nullopt;
    return span;
}

// "01:02:03,456" (SubRip) or "1:02:03.45" (ASS).
double seconds(const QString &h, const QString &m, const QString &s, const QString &fraction)
{
    return h.toInt() * 3600 + m.toInt() * 60 + s.toInt() + fraction.toInt() / std::pow(10.0, fraction.size());
}

QByteArray srtTime(double t)
{
    const qint64 ms = std::llround(t * 1000);
    return QString::asprintf("%02lld:%02lld:%02lld,%03lld", ms / 3'600'000, ms / 60'000 % 60, ms / 1000 % 60, ms % 1000)
        .toLatin1();
}

QByteArray assTime(double t)
{
    const qint64 cs = std::llround(t * 100);
    return QString::asprintf("%lld:%02lld:%02lld.%02lld", cs / 360'000, cs / 6000 % 60, cs / 100 % 60, cs % 100).toLatin1();
}

QByteArray retimedSrt(const QByteArray &file, double offset, double length, int &kept)
{
    static const QRegularExpression timing(
        u"^\\s*(\\d+):(\\d{2}):(\\d{2})[,.](\\d{1,3})\\s*-->\\s*(\\d+):(\\d{2}):(\\d{2})[,.](\\d{1,3})"_s);
    QByteArray out;
    // A block: its number, its timing, its text; blocks are parted by an empty line.
    const QList<QByteArray> blocks = QByteArray(file).replace("\r\n", "\n").split('\n');
    QList<QByteArray> block;
    const auto flush = [&] {
        const qsizetype at = std::find_if(block.cbegin(), block.cend(), [](const QByteArray &line) {
                                 return line.contains("-->");
                             }) - block.cbegin();
        if (at < block.size()) {
            const QRegularExpressionMatch m = timing.match(QString::fromUtf8(block[at]));
            const auto span = m.hasMatch() ? cut(seconds(m.captured(1), m.captured(2), m.captured(3), m.captured(4)),
                                                 seconds(m.captured(5), m.captured(6), m.captured(7), m.captured(8)),
                                                 offset, length)
                                           : std::nullopt;
            if (span) {
                out += QByteArray::number(++kept) + '\n' + srtTime(span->start) + " --> " + srtTime(span->end) + '\n';
                for (qsizetype i = at + 1; i < block.size(); ++i)
                    out += block[i] + '\n';
                out += '\n';
            }
        }
        block.clear();
    };
    for (const QByteArray &line : blocks) {
        if (line.trimmed().isEmpty())
            flush();
        else
            block << line;
    }
    flush();
    return out;
}

QByteArray retimedAss(const QByteArray &file, double offset, double length, int &kept)
{
    static const QRegularExpression time(u"^\\s*(\\d+):(\\d{2}):(\\d{2})\\.(\\d{1,3})\\s*$"_s);
    QByteArray out;
    for (const QByteArray &line : QByteArray(file).replace("\r\n", "\n").split('\n')) {
        if (!line.startsWith("Dialogue:")) {
            out += line + '\n';
            continue;
        }
        // "Dialogue: Layer,Start,End,Style,…": the text after the ninth comma may hold commas of its own.
        QList<QByteArray> fields = line.mid(9).split(',');
        if (fields.size() < 10)
            continue;
        const QRegularExpressionMatch a = time.match(QString::fromLatin1(fields[1]));
        const QRegularExpressionMatch b = time.match(QString::fromLatin1(fields[2]));
        if (!a.hasMatch() || !b.hasMatch())
            continue;
        const auto span = cut(seconds(a.captured(1), a.captured(2), a.captured(3), a.captured(4)),
                              seconds(b.captured(1), b.captured(2), b.captured(3), b.captured(4)), offset, length);
        if (!span)
            continue;
        fields[1] = assTime(span->start);
        fields[2] = assTime(span->end);
        out += "Dialogue:" + fields.join(',') + '\n';
        ++kept;
    }
    return out;
}

} // namespace

QByteArray retimed(const QByteArray &file, bool ass, double offset, double length, int *kept)
{
    int count = 0;
    const QByteArray out = ass ? retimedAss(file, offset, length, count) : retimedSrt(file, offset, length, count);
    if (kept)
        *kept = count;
    return out;
}

} // namespace SubtitleCues
