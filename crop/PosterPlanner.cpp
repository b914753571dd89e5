#include "PosterPlanner.h"

#include "util/Numbers.h"

#include <algorithm>
#include <map>
#include <optional>

using namespace Qt::StringLiterals;

namespace PosterPlanner {

namespace {

// JPEG quality: near what the eye tells from the video, at a tenth of the size of the best.
const QStringList quality { u"-q:v"_s, u"3"_s };

QList<double> offsetsOf(const Input &input)
{
    QList<double> offsets;
    for (const Poster &poster : input.posters) {
        if (!offsets.contains(poster.offset))
            offsets << poster.offset;
    }
    return offsets;
}

// Smaller than the video, or in the shape of pixels that are not square: "scale=w:h", else nothing.
QString scaleFilter(const Source &source)
{
    if (!source.posterSize.isValid() || source.posterSize == source.frame)
        return {};
    return u"scale=%1:%2:flags=bilinear"_s.arg(source.posterSize.width()).arg(source.posterSize.height());
}

// An unknown rate counts as a common one.
double rateOf(const Video &video)
{
    return video.frameRate > 0 ? video.frameRate : 30;
}

// The keyframe at or before t; before the first keyframe, the first one.
QList<double>::const_iterator keyframeFor(const QList<double> &keyframes, double t)
{
    const auto after = std::upper_bound(keyframes.cbegin(), keyframes.cend(), t);
    return after == keyframes.cbegin() ? after : after - 1;
}

bool isKeyframePoster(const Input &input)
{
    return input.atKeyframe
        && std::all_of(input.posters.cbegin(), input.posters.cend(), [](const Poster &p) { return p.offset == 0; });
}

// Keyframe posters close enough joined into inputs that decode keyframes only, no
// more of them to one input than leaves work for every run.
std::vector<Input> joinedKeyframePosters(std::map<double, Input> inputs, const QList<double> &keyframes,
                                         double pixels, int runs)
{
    const auto keyframePosters = std::count_if(inputs.cbegin(), inputs.cend(),
                                               [](const auto &entry) { return isKeyframePoster(entry.second); });
    const auto perInput = (keyframePosters + std::max(1, runs) - 1) / std::max(1, runs);
    std::vector<Input> joined;
    std::optional<size_t> open; // the input the next keyframe poster may join
    qsizetype joinedSeeks = 0;
    for (auto &[seek, input] : inputs) {
        if (!isKeyframePoster(input)) {
            joined.push_back(std::move(input));
            continue;
        }
        if (open) {
            Input &into = joined[*open];
            const double last = into.seek + into.posters.back().offset;
            const auto skipped = std::lower_bound(keyframes.cbegin(), keyframes.cend(), seek)
                - std::upper_bound(keyframes.cbegin(), keyframes.cend(), last);
            if (joinedSeeks < perInput && double(skipped) * pixels <= skippedKeyframeBudget) {
                for (const Poster &poster : std::as_const(input.posters))
                    into.posters.append({ poster.number, seek - into.seek });
                into.keyframesOnly = true;
                into.cost += double(skipped + 1) * pixels;
                ++joinedSeeks;
                continue;
            }
        }
        joined.push_back(std::move(input));
        open = joined.size() - 1;
        joinedSeeks = 1;
    }
    return joined;
}

} // namespace

bool decodesWhole(const QList<double> &times, const Video &video)
{
    const double last = times.isEmpty() ? 0 : *std::max_element(times.cbegin(), times.cend());
    return (last * rateOf(video) + 1) * video.pixels <= exactPixelBudget;
}

std::optional<Input> keyframesFromStart(const QList<double> &times, const QList<double> &keyframes, const Video &video)
{
    if (keyframes.isEmpty() || decodesWhole(times, video))
        return std::nullopt;
    Input sweep { 0, true, {}, 0, true };
    qsizetype decoded = 0;
    for (qsizetype i = 0; i < times.size(); ++i) {
        const auto keyframe = keyframeFor(keyframes, times[i]);
        const double offset = std::max(0.0, times[i] - *keyframe);
        // A poster that is exact by the rule needs the pictures between.
        if (offset > 0 && (offset * rateOf(video) + 1) * video.pixels <= exactPixelBudget)
            return std::nullopt;
        sweep.posters.append({ int(i) + 1, *keyframe });
        decoded = std::max(decoded, keyframe - keyframes.cbegin() + 1);
    }
    sweep.cost = double(decoded) * video.pixels;
    if (sweep.posters.isEmpty() || sweep.cost > keyframeSweepBudget)
        return std::nullopt;
    return sweep;
}

QList<Run> plan(const QList<double> &times, const QList<double> &keyframes_, const Video &video, int runs)
{
    const double rate = rateOf(video);
    // From the start, the first picture is where decoding begins, keyframe or not.
    const QList<double> keyframes = decodesWhole(times, video) ? QList<double> { 0 } : keyframes_;
    std::map<double, Input> inputs; // by seek time
    for (qsizetype i = 0; i < times.size(); ++i) {
        const int number = int(i) + 1;
        const double t = times[i];
        if (keyframes.isEmpty()) {
            auto [it, added] = inputs.try_emplace(t, Input { t, false, {}, video.pixels });
            it->second.posters.append({ number, 0 });
            continue;
        }
        const double keyframe = *keyframeFor(keyframes, t);
        const double offset = std::max(0.0, t - keyframe);
        const double cost = (offset * rate + 1) * video.pixels;
        auto [it, added] = inputs.try_emplace(keyframe, Input { keyframe, true, {}, video.pixels });
        Input &input = it->second;
        if (cost <= exactPixelBudget) {
            input.posters.append({ number, offset });
            input.cost = std::max(input.cost, cost);
        } else {
            input.posters.append({ number, 0 });
        }
    }

    // The inputs in poster order, each to the run with the least work so far.
    std::vector<Input> ordered = joinedKeyframePosters(std::move(inputs), keyframes, video.pixels, runs);
    if (ordered.empty())
        return {};
    std::sort(ordered.begin(), ordered.end(),
              [](const Input &a, const Input &b) { return a.posters.front().number < b.posters.front().number; });
    QList<Run> planned(std::max(1, std::min(runs, int(ordered.size()))));
    QList<double> load(planned.size(), 0);
    for (Input &input : ordered) {
        const auto lightest = std::distance(load.begin(), std::min_element(load.begin(), load.end()));
        load[lightest] += input.cost;
        planned[lightest].append(std::move(input));
    }
    return planned;
}

QStringList inputArguments(const Source &source, const Run &run)
{
    QStringList arguments;
    for (const Input &input : run) {
        // At a known keyframe the seek lands on it exactly; elsewhere on the keyframe before.
        if (!input.atKeyframe)
            arguments << u"-noaccurate_seek"_s;
        // For single pictures, decoding frames ahead on other threads only costs time.
        if (input.keyframesOnly)
            arguments << u"-skip_frame"_s << u"nokey"_s;
        if (input.keyframesOnly || offsetsOf(input) == QList<double> { 0 })
            arguments << u"-threads"_s << u"1"_s;
        arguments << u"-ss"_s << shortestDecimalText(input.seek) << u"-i"_s << source.path;
    }
    return arguments;
}

QString filterGraph(const Source &source, const Run &run)
{
    const QString stream = source.stream ? QString::number(*source.stream) : u"v:0"_s;
    const QString scale = scaleFilter(source);
    QStringList chains;
    for (qsizetype i = 0; i < run.size(); ++i) {
        // Times count from the seek; a frame is picked once whichever offsets it serves.
        QStringList picks;
        // A keyframe's time, as listed, may be printed a hair late.
        const double early = run[i].keyframesOnly ? 0.001 : 0;
        for (const double offset : offsetsOf(run[i])) {
            const QString from = shortestDecimalText(offset > 0 ? offset - early : offset);
            picks << u"gte(t,%1)*(lt(prev_t,%1)+isnan(prev_t))"_s.arg(from);
        }
        chains << u"[%1:%2]select='%3',showinfo@in%1%4[out%1]"_s.arg(i).arg(
            stream, picks.join(u'+'), scale.isEmpty() ? QString() : u',' + scale);
    }
    return chains.join(u';');
}

QStringList outputArguments(const Run &run, const QString &prefix, std::optional<int> frames)
{
    QStringList arguments;
    for (qsizetype i = 0; i < run.size(); ++i) {
        arguments << u"-map"_s << u"[out%1]"_s.arg(i) << u"-fps_mode"_s << u"passthrough"_s << u"-frames:v"_s
                  << QString::number(frames.value_or(int(offsetsOf(run[i]).size()))) << quality << u"-y"_s
                  << u"%1%2_%d.jpg"_s.arg(prefix).arg(i);
    }
    return arguments;
}

QStringList runArguments(const Source &source, const Run &run, const QString &prefix)
{
    return QStringList { u"-loglevel"_s, u"level+info"_s, u"-nostats"_s } + inputArguments(source, run)
        + QStringList { u"-filter_complex"_s, filterGraph(source, run) } + outputArguments(run, prefix);
}

QStringList fromStartArguments(const Source &source, const QString &seek, const QString &framePath)
{
    QStringList arguments { u"-loglevel"_s, u"level+warning"_s, u"-i"_s, source.path, u"-ss"_s, seek, u"-map"_s,
                            source.stream ? u"0:"_s + QString::number(*source.stream) : u"0:v:0"_s,
                            u"-frames:v"_s, u"1"_s };
    if (const QString scale = scaleFilter(source); !scale.isEmpty())
        arguments << u"-vf"_s << scale;
    return arguments + quality + QStringList { u"-y"_s, framePath };
}

} // namespace PosterPlanner
