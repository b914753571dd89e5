#include "PosterPlan.h"

#include "media/InputFormats.h"
#include "util/Numbers.h"

#include <QRegularExpression>

#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;

namespace PosterPlan {

namespace {

QString streamOf(const Video &video)
{
    return video.stream ? QString::number(*video.stream) : u"v:0"_s;
}

// Smaller than the video, or in the shape of pixels that are not square: ",scale=w:h", else nothing.
QString scaleFilter(const Video &video, QSize size)
{
    if (!size.isValid() || size == video.frame)
        return {};
    return u",scale=%1:%2:flags=bilinear"_s.arg(size.width()).arg(size.height());
}

// An input's options before its path. Where the header tells what a run needs, no stream analysis, which
// learns it by decoding pictures from the file's start: a sixth of each input's time (first_poster_ms).
QStringList inputOf(const Video &video)
{
    return InputFormats::inputOptions(video.format)
        + (InputFormats::describesStreams(video.format) ? QStringList { u"-nofind_stream_info"_s } : QStringList {});
}

const QStringList quietHead { u"-loglevel"_s, u"level+info"_s, u"-nostats"_s, u"-nostdin"_s };

} // namespace

QList<double> times(const Video &video)
{
    QList<double> times;
    const double rate = video.frameRate > 0 ? video.frameRate : 25;
    const int pictures = int(std::floor(video.duration * rate + 0.5));
    if (pictures >= 1 && pictures < count) {
        for (int k = 0; k < pictures; ++k)
            times << std::floor(k * 1000 / rate) / 1000;
        return times;
    }
    for (int n = 1; n <= count; ++n)
        times << std::round(n * video.duration * 1000 / (count + 1)) / 1000;
    return times;
}

bool decodesWhole(const Video &video, const QList<double> &times)
{
    const double last = times.isEmpty() ? 0 : times.last();
    const double rate = video.frameRate > 0 ? video.frameRate : 30;
    return (last * rate + 1) * video.frame.width() * video.frame.height() <= wholePixelBudget;
}

QSize posterSize(QSize shown, QSize bound)
{
    if (shown.isEmpty())
        return {};
    const QSize fitted = shown.scaled(shown.boundedTo(bound.isEmpty() ? shown : bound), Qt::KeepAspectRatio);
    return { std::max(2, fitted.width() & ~1), std::max(2, fitted.height() & ~1) };
}

QString pictureFile(const QString &folder, int run, int output)
{
    return u"%1/run%2-%3.jpg"_s.arg(folder).arg(run).arg(output);
}

QList<QList<int>> parts(const Video &video, const QList<double> &times)
{
    QList<int> all;
    for (int n = 0; n < times.size(); ++n)
        all << n;
    if (decodesWhole(video, times))
        return { all };
    // A run opens all its inputs before it decodes any: the first run's fewer inputs bring its first poster
    // sooner; where keyframes are listed first, its listing is shorter too (first_poster_ms).
    const qsizetype first = listsKeyframes(video, times) ? 1 : all.size() < 4 ? all.size() : all.size() / 2;
    QList<QList<int>> split { all.mid(0, first) };
    if (first < all.size())
        split << all.mid(first);
    return split;
}

bool listsKeyframes(const Video &video, const QList<double> &times)
{
    return !decodesWhole(video, times) && !InputFormats::seeksByIndex(video.format);
}

QStringList keyframeListing(const Video &video, const QList<double> &times)
{
    // Keyframes at most 10 s apart, the longest encoders use by default, leave one within 5 s of a time.
    QStringList intervals;
    for (const double time : times)
        intervals << decimalText(std::max(0.0, video.startTime + time - 5)) + u"%+10.0"_s;
    return InputFormats::inputOptions(video.format)
        + QStringList { u"-v"_s, u"error"_s, u"-select_streams"_s, streamOf(video), u"-read_intervals"_s,
                        intervals.join(u','), u"-show_entries"_s, u"format=start_time:packet=pts_time,flags"_s,
                        u"-of"_s, u"csv=p=0"_s, video.path };
}

QList<double> keyframes(const QByteArray &listing)
{
    // "pts_time,flags" per packet, then the format's start time on a line of its own.
    QList<double> times;
    double start = 0;
    for (const QByteArray &line : listing.split('\n')) {
        const QList<QByteArray> fields = line.trimmed().split(',');
        bool isTime = false;
        const double time = fields.value(0).toDouble(&isTime);
        if (isTime && fields.size() == 1)
            start = time;
        else if (isTime && fields.value(1).contains('K'))
            times << time;
    }
    for (double &time : times)
        time = std::round((time - start) * 1e6) / 1e6;
    std::sort(times.begin(), times.end());
    return times;
}

Run run(const Video &video, QSize posterSize, const QList<double> &times, const QList<int> &posters, int p,
        const QString &folder, const QList<double> &keyframes)
{
    if (decodesWhole(video, times)) {
        // The first picture at or past each time, once whichever times it serves.
        QStringList picks;
        for (const double time : times) {
            const QString pick = u"gte(t,%1)*(lt(prev_t,%1)+isnan(prev_t))"_s.arg(decimalText(time));
            if (!picks.contains(pick))
                picks << pick;
        }
        const QString graph = u"[0:%1]select='%2',showinfo@in0=checksum=0%3[out0]"_s.arg(
            streamOf(video), picks.join(u'+'), scaleFilter(video, posterSize));
        // Numbered from 0, as pictureFile() counts; a single picture is written under its own name.
        QString files = pictureFile(folder, p, 0);
        if (picks.size() > 1)
            files.replace(u"-0.jpg"_s, u"-%d.jpg"_s);
        return { quietHead + inputOf(video)
                     + QStringList { u"-i"_s, video.path, u"-filter_complex"_s, graph, u"-map"_s, u"[out0]"_s,
                                     u"-start_number"_s, u"0"_s }
                     + jpegOutput(int(picks.size()), files),
                 posters, {} };
    }
    Run planned { quietHead, posters, {} };
    QStringList outputs;
    for (qsizetype i = 0; i < posters.size(); ++i) {
        // A seek by the index lands on the keyframe at or before; elsewhere on the keyframe listed within 5 s,
        // the last at or before the time, else the first after (half a millisecond on, so that a time printed
        // rounded down still reaches it); where none is listed, anywhere near, and the first keyframe after.
        const double time = times[posters[i]];
        const auto reached = std::lower_bound(keyframes.cbegin(), keyframes.cend(), time - 5);
        const auto after = std::upper_bound(reached, keyframes.cend(), time + 1e-6);
        double seek = time;
        if (after != reached)
            seek = *(after - 1) + 0.0005;
        else if (after != keyframes.cend() && *after <= time + 5)
            seek = *after + 0.0005;
        planned.seeks << seek;
        // One picture each: decoding ahead on other threads only costs time.
        planned.arguments << inputOf(video) << u"-noaccurate_seek"_s << u"-threads"_s << u"1"_s << u"-ss"_s
                          << decimalText(seek) << u"-i"_s << video.path;
        // A chain of its own for each: one graph over every input would start only once all had decoded a
        // picture, and hold back the first poster until the last.
        outputs << u"-map"_s << u"%1:%2"_s.arg(i).arg(streamOf(video)) << u"-filter:v"_s
                << u"select='eq(key,1)',trim=end_frame=1,showinfo@in%1=checksum=0%2"_s.arg(i).arg(
                       scaleFilter(video, posterSize))
                << jpegOutput(1, pictureFile(folder, p, int(i)));
    }
    planned.arguments += outputs;
    return planned;
}

QStringList jpegOutput(int frames, const QString &file)
{
    // JPEG quality near what the eye tells from the video, at a tenth of the size of the best; a
    // picture is renamed into place whole, so a reader never sees half of one. One thread: on more,
    // the encoder holds a picture back until the next, or the end, arrives.
    QStringList arguments { u"-threads"_s, u"1"_s, u"-fps_mode"_s, u"passthrough"_s, u"-frames:v"_s,
                            QString::number(frames), u"-q:v"_s, u"3"_s, u"-atomic_writing"_s, u"1"_s };
    if (frames == 1)
        arguments << u"-update"_s << u"1"_s;
    return arguments << u"-y"_s << file;
}

QList<QList<double>> pickedTimes(const QString &messages)
{
    // "[showinfo@in2 @ 0x…] [info] n:   0 pts: 1024 pts_time:0.08 …"
    static const QRegularExpression picked(
        u"\\[showinfo@in(\\d+) @ [^\\]]*\\] \\[info\\] n: *\\d+ pts: *-?\\d+ pts_time:(\\S+)"_s);
    QList<QList<double>> times;
    for (auto it = picked.globalMatch(messages); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        const int input = match.captured(1).toInt();
        if (times.size() <= input)
            times.resize(input + 1);
        times[input] << match.captured(2).toDouble();
    }
    return times;
}

QString decisiveError(const QString &messages)
{
    // "[h264 @ 0x…] [error] …" or "[error] …"; a warning (a seek into an open GOP, an old pixel format) is no failure.
    static const QRegularExpression error(u"^(?:\\[[^\\]]* @ [^\\]]*\\] )*\\[(?:error|fatal)\\] (.+)$"_s,
                                          QRegularExpression::MultilineOption);
    return error.match(messages).captured(1).trimmed();
}

} // namespace PosterPlan
