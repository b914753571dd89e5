#include "PosterPlanner.h"

#include "media/InputFormats.h"
#include "media/ProbeTool.h"
#include "util/Numbers.h"
#include "util/Timeline.h"

#include <QRegularExpression>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace PosterPlanner {

namespace {

QString streamOf(const Source &source)
{
    return source.stream ? QString::number(*source.stream) : u"v:0"_s;
}

// Smaller than the video, or in the shape of pixels that are not square: ",scale=w:h", else nothing.
QString scaleFilter(const Source &source)
{
    if (!source.posterSize.isValid() || source.posterSize == source.frame)
        return {};
    return u",scale=%1:%2:flags=bilinear"_s.arg(source.posterSize.width()).arg(source.posterSize.height());
}

const QStringList quietHead { u"-loglevel"_s, u"level+info"_s, u"-nostats"_s };

// An input's options before its path: where the header tells what a run needs, no stream analysis,
// which learns it by decoding pictures from the file's start (a sixth of each input's time, and a
// picture before the whole pass's first poster).
QStringList analysisOf(const Source &source)
{
    return InputFormats::inputOptions(source.format)
        + (source.described ? QStringList { u"-nofind_stream_info"_s } : QStringList {});
}

// Whether a format's names ("mov,mp4,m4a,…") include one of names.
bool isOneOf(const QString &formatName, const QStringList &names)
{
    const QStringList own = formatName.split(u',');
    return std::any_of(own.cbegin(), own.cend(), [&](const QString &name) { return names.contains(name); });
}

} // namespace

QStringList posterOutput(int frames, const QString &file)
{
    // JPEG quality near what the eye tells from the video, at a tenth of the size of the best; a
    // poster is renamed into place whole, so a reader never sees half of one. One thread: on more,
    // the encoder holds a picture back until the next, or the end, arrives.
    QStringList arguments { u"-threads"_s, u"1"_s, u"-fps_mode"_s, u"passthrough"_s, u"-frames:v"_s,
                            QString::number(frames), u"-q:v"_s, u"3"_s, u"-atomic_writing"_s, u"1"_s };
    if (frames == 1)
        arguments << u"-update"_s << u"1"_s;
    return arguments << u"-y"_s << file;
}

QList<double> posterTimes(double duration)
{
    QList<double> times;
    // The marks of the slider, whole milliseconds: a seek of whole milliseconds lands on whole ticks
    // of every time base in use, so a picture's time comes back exact, whichever encoder reports it.
    for (int n = 1; n <= Timeline::posterCount; ++n)
        times << Timeline::posterPlace(n, duration) / 1000.0;
    return times;
}

bool decodesWhole(const QList<double> &times, double frameRate, double pixelsPerPicture)
{
    const double last = times.isEmpty() ? 0 : *std::max_element(times.cbegin(), times.cend());
    const double rate = frameRate > 0 ? frameRate : 30;
    return (last * rate + 1) * pixelsPerPicture <= wholePixelBudget;
}

bool seeksByIndex(const QString &formatName)
{
    return isOneOf(formatName, { u"mov"_s, u"matroska"_s, u"avi"_s, u"flv"_s, u"asf"_s });
}

bool describesStreams(const QString &formatName)
{
    return isOneOf(formatName, { u"mov"_s, u"matroska"_s });
}

double seekLead(const QString &formatName)
{
    return seeksByIndex(formatName) ? 0 : 10;
}

QStringList keyframeListingArguments(const Source &source, const QList<double> &times, double reach)
{
    QStringList intervals;
    for (const double time : times)
        intervals << decimalText(std::max(0.0, source.startTime + time - reach)) + u"%+"_s + decimalText(2 * reach);
    return ProbeTool::packetListing(source.path, streamOf(source), intervals.join(u','));
}

QList<double> keyframeTimes(const QByteArray &listing)
{
    QList<double> times;
    for (const ProbeTool::Packet &packet : ProbeTool::packets(listing)) {
        if (packet.keyframe)
            times << packet.time;
    }
    std::sort(times.begin(), times.end());
    times.erase(std::unique(times.begin(), times.end()), times.end());
    return times;
}

QList<Input> inputs(const QList<double> &times, const QList<int> &posters, const QList<double> &keyframes)
{
    QList<Input> planned;
    for (const int n : posters) {
        const double time = times[n - 1];
        // Keyframes listed for other times say nothing of those between.
        const auto reached = std::lower_bound(keyframes.cbegin(), keyframes.cend(), time - listedReach);
        const auto after = std::upper_bound(reached, keyframes.cend(), time + 1e-6);
        double seek = time;
        // Half a millisecond on, so that a time printed rounded down still reaches its keyframe.
        if (after != reached)
            seek = *(after - 1) + 0.0005;
        else if (after != keyframes.cend() && *after <= time + listedReach)
            seek = *after + 0.0005;
        const auto same = std::find_if(planned.begin(), planned.end(), [&](const Input &in) { return in.seek == seek; });
        if (same != planned.end())
            same->posters << n;
        else
            planned.append(Input { seek, { n } });
    }
    return planned;
}

QStringList keyframeRunArguments(const Source &source, const QList<Input> &inputs, const QString &prefix)
{
    QStringList arguments = quietHead;
    QStringList outputs;
    for (qsizetype i = 0; i < inputs.size(); ++i) {
        // One picture each: decoding ahead on other threads only costs time.
        arguments << analysisOf(source) << u"-noaccurate_seek"_s << u"-threads"_s << u"1"_s << u"-ss"_s
                  << decimalText(inputs[i].seek) << u"-i"_s << source.path;
        // A chain of its own for each: one graph over every input would start only once all had
        // decoded a picture, and hold back the first poster until the last.
        outputs << u"-map"_s << u"%1:%2"_s.arg(i).arg(streamOf(source)) << u"-filter:v"_s
                << u"select='eq(key,1)',trim=end_frame=1,showinfo@in%1=checksum=0%2"_s.arg(i).arg(scaleFilter(source))
                << posterOutput(1, u"%1%2.jpg"_s.arg(prefix).arg(i));
    }
    return arguments + outputs;
}

QStringList wholeRunArguments(const Source &source, const QList<double> &times, const QString &prefix)
{
    // The first picture at or past each time, once whichever times it serves.
    QStringList picks;
    for (const double time : times) {
        const QString pick = u"gte(t,%1)*(lt(prev_t,%1)+isnan(prev_t))"_s.arg(decimalText(time));
        if (!picks.contains(pick))
            picks << pick;
    }
    const QString graph = u"[0:%1]select='%2',showinfo@in0=checksum=0%3[out0]"_s.arg(streamOf(source), picks.join(u'+'),
                                                                        scaleFilter(source));
    return quietHead + analysisOf(source)
        + QStringList { u"-i"_s, source.path, u"-filter_complex"_s, graph, u"-map"_s, u"[out0]"_s }
        + posterOutput(int(picks.size()), prefix + u"0_%d.jpg"_s);
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

} // namespace PosterPlanner
