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

QList<Run> runs(const Video &video, QSize posterSize, const QList<double> &times, const QString &folder)
{
    QList<int> all;
    for (int n = 0; n < times.size(); ++n)
        all << n;
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
        QString files = pictureFile(folder, 0, 0);
        if (picks.size() > 1)
            files.replace(u"-0.jpg"_s, u"-%d.jpg"_s);
        return { { quietHead + inputOf(video)
                       + QStringList { u"-i"_s, video.path, u"-filter_complex"_s, graph, u"-map"_s, u"[out0]"_s,
                                       u"-start_number"_s, u"0"_s }
                       + jpegOutput(int(picks.size()), files),
                   all, {} } };
    }
    // A run opens all its inputs before it decodes any: the first run's fewer inputs bring its first poster sooner.
    const qsizetype first = all.size() < 4 ? all.size() : all.size() / 2;
    QList<Run> planned;
    for (const QList<int> &posters : { all.mid(0, first), all.mid(first) }) {
        if (posters.isEmpty())
            continue;
        Run run { quietHead, posters, {} };
        QStringList outputs;
        const int r = int(planned.size());
        for (qsizetype i = 0; i < posters.size(); ++i) {
            // One picture each: decoding ahead on other threads only costs time. A seek by the index lands on
            // the keyframe at or before; elsewhere anywhere near, and the first keyframe after is taken.
            const double seek = times[posters[i]];
            run.seeks << seek;
            run.arguments << inputOf(video) << u"-noaccurate_seek"_s << u"-threads"_s << u"1"_s << u"-ss"_s
                          << decimalText(seek) << u"-i"_s << video.path;
            // A chain of its own for each: one graph over every input would start only once all had decoded a
            // picture, and hold back the first poster until the last.
            outputs << u"-map"_s << u"%1:%2"_s.arg(i).arg(streamOf(video)) << u"-filter:v"_s
                    << u"select='eq(key,1)',trim=end_frame=1,showinfo@in%1=checksum=0%2"_s.arg(i).arg(
                           scaleFilter(video, posterSize))
                    << jpegOutput(1, pictureFile(folder, r, int(i)));
        }
        run.arguments += outputs;
        planned << run;
    }
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
