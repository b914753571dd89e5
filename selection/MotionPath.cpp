#include "MotionPath.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <tuple>

namespace {

// Brightness changes under this many levels are grain or compression, not motion.
constexpr int movedLevels = 24;
// A new scene: this share of the picture changed.
constexpr double cutShare = 0.5;
// The share of the moving pixels left out at each side, as stray specks.
constexpr double specks = 0.03;
// Room kept between what moves and the crop's edge, as a share of the crop: the glide through a
// bend of the path stays this close to it.
constexpr double margin = 0.08;
// Seconds of the ease at a bend.
constexpr double shoulder = 0.5;

struct Vertex
{
    double time;
    double place;
};

// The span holding all but the specks of counts, as [first, last + 1).
std::pair<int, int> span(const QList<int> &counts, int total)
{
    const double skip = total * specks;
    int first = 0, last = int(counts.size()) - 1;
    for (double seen = 0; first < last && (seen += counts[first]) <= skip;)
        ++first;
    for (double seen = 0; last > first && (seen += counts[last]) <= skip;)
        --last;
    return { first, last + 1 };
}

// The shortest path through the corridors [low, high] at times: still where one place holds a run of them,
// straight lines elsewhere, bending only where a corridor's edge forces it (a taut string).
QList<Vertex> tautString(const QList<double> &times, const QList<double> &low, const QList<double> &high)
{
    const qsizetype n = times.size();
    // It starts still, in the middle of what the first corridors share.
    double from = low[0], to = high[0];
    for (qsizetype k = 1; k < n && std::max(from, low[k]) <= std::min(to, high[k]); ++k) {
        from = std::max(from, low[k]);
        to = std::min(to, high[k]);
    }
    QList<Vertex> path { { times[0], (from + to) / 2 } };
    qsizetype apex = 0;
    while (apex + 1 < n) {
        const Vertex at = path.last();
        double lowSlope = -std::numeric_limits<double>::infinity();
        double highSlope = std::numeric_limits<double>::infinity();
        qsizetype lowAt = -1, highAt = -1;
        qsizetype bend = -1;
        double bendPlace = 0;
        for (qsizetype j = apex + 1; j < n; ++j) {
            const double dt = times[j] - at.time;
            const double floor = (low[j] - at.place) / dt, ceiling = (high[j] - at.place) / dt;
            if (floor > highSlope) {
                bend = highAt;
                bendPlace = high[highAt];
                break;
            }
            if (ceiling < lowSlope) {
                bend = lowAt;
                bendPlace = low[lowAt];
                break;
            }
            if (floor > lowSlope) {
                lowSlope = floor;
                lowAt = j;
            }
            if (ceiling < highSlope) {
                highSlope = ceiling;
                highAt = j;
            }
        }
        if (bend < 0) {
            // To the end, as still as the corridors allow.
            const double slope = std::clamp(0.0, lowSlope, highSlope);
            path << Vertex { times[n - 1], at.place + slope * (times[n - 1] - at.time) };
            break;
        }
        path << Vertex { times[bend], bendPlace };
        apex = bend;
    }
    return path;
}

double placeAt(const QList<Vertex> &path, double time)
{
    if (time <= path.first().time)
        return path.first().place;
    for (qsizetype i = 1; i < path.size(); ++i) {
        if (time <= path[i].time) {
            const double u = (time - path[i - 1].time) / (path[i].time - path[i - 1].time);
            return path[i - 1].place + u * (path[i].place - path[i - 1].place);
        }
    }
    return path.last().place;
}

// The crop's path along one axis for one scene: where it must stand to hold [start, end) of what moves.
QList<Vertex> axisPath(const QList<double> &times, const QList<std::pair<double, double>> &held, double frame,
                       double crop)
{
    const double room = frame - crop;
    QList<double> low, high;
    for (const auto &[start, end] : held) {
        const double keep = crop * margin;
        double a = end + keep - crop, b = start - keep;
        // Wider than the crop: any place within it, so that the crop stays still while a busy picture churns.
        if (a > b)
            std::tie(a, b) = std::pair(start, end - crop);
        if (a > b)
            a = b = (start + end - crop) / 2;
        low << std::clamp(a, 0.0, room);
        high << std::clamp(b, 0.0, room);
    }
    return tautString(times, low, high);
}

} // namespace

namespace MotionPath {

Activity change(const Picture &before, const Picture &now, QSize size)
{
    const int w = size.width(), h = size.height();
    Activity step { now.time, std::nullopt, false };
    if (before.grey.size() < w * h || now.grey.size() < w * h)
        return step;
    QList<int> columns(w, 0), rows(h, 0);
    int moved = 0;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const int i = y * w + x;
            if (std::abs(int(uchar(now.grey[i])) - int(uchar(before.grey[i]))) > movedLevels) {
                ++columns[x];
                ++rows[y];
                ++moved;
            }
        }
    }
    step.cut = moved > cutShare * w * h;
    // A few pixels are noise, not a subject.
    if (!step.cut && moved >= std::max(4, w * h / 2000)) {
        const auto [left, right] = span(columns, moved);
        const auto [top, bottom] = span(rows, moved);
        step.moving = QRect(left, top, right - left, bottom - top);
    }
    return step;
}

QList<CropKeyframe> path(const QList<Activity> &activity, QSize sampleSize, QSize frame, QSize cropSize)
{
    if (activity.isEmpty() || sampleSize.isEmpty())
        return {};
    const double sx = double(frame.width()) / sampleSize.width(), sy = double(frame.height()) / sampleSize.height();
    QList<CropKeyframe> keys;
    for (qsizetype start = 0; start < activity.size();) {
        qsizetype end = start + 1;
        while (end < activity.size() && !activity[end].cut)
            ++end;
        // What moves, where last seen: a subject that stops stays where it stopped.
        QList<double> times;
        QList<std::pair<double, double>> across, down;
        std::optional<QRect> seen;
        for (qsizetype n = start; n < end; ++n)
            if ((seen = activity[n].moving))
                break;
        const QRect middle(QPoint(frame.width() / 2, frame.height() / 2), QSize(1, 1));
        for (qsizetype n = start; n < end; ++n) {
            if (activity[n].moving)
                seen = activity[n].moving;
            const QRectF where = seen ? QRectF(seen->x() * sx, seen->y() * sy, seen->width() * sx, seen->height() * sy)
                                      : QRectF(middle);
            times << activity[n].time;
            across << std::pair(where.left(), where.right());
            down << std::pair(where.top(), where.bottom());
        }
        // The scene's last keyframe stands just before the next scene's first, so the crop jumps with the cut.
        if (end < activity.size())
            times.last() = std::max(times.last(), activity[end].time - 0.001);
        const QList<Vertex> xs = axisPath(times, across, frame.width(), cropSize.width());
        const QList<Vertex> ys = axisPath(times, down, frame.height(), cropSize.height());
        QList<double> at;
        for (const QList<Vertex> *axis : { &xs, &ys })
            for (const Vertex &vertex : *axis)
                at << vertex.time;
        std::sort(at.begin(), at.end());
        at.erase(std::unique(at.begin(), at.end(),
                             [](double a, double b) { return std::abs(a - b) < CropKeyframes::sameTime; }),
                 at.end());
        const auto even = [](double place, int room) {
            return std::clamp(int(std::lround(place / 2)) * 2, 0, room - room % 2);
        };
        const auto keyAt = [&](double time) {
            return CropKeyframe { time, QRect(QPoint(even(placeAt(xs, time), frame.width() - cropSize.width()),
                                                     even(placeAt(ys, time), frame.height() - cropSize.height())),
                                              cropSize) };
        };
        QList<CropKeyframe> scene;
        for (const double time : at) {
            // The glide eases in and out where the path bends; a keyframe a shoulder's length from each end of a
            // pan keeps the ease short and the pan straight.
            if (!scene.isEmpty() && time - scene.last().time > 3 * shoulder && keyAt(time).crop != scene.last().crop)
                scene << keyAt(scene.last().time + shoulder) << keyAt(time - shoulder);
            scene << keyAt(time);
        }
        // Where it stands still, its first and last keyframes say so.
        for (qsizetype i = scene.size() - 2; i > 0; --i) {
            if (scene[i - 1].crop == scene[i].crop && scene[i].crop == scene[i + 1].crop)
                scene.removeAt(i);
        }
        keys += scene;
        start = end;
    }
    return keys;
}

} // namespace MotionPath
