#pragma once

#include <QList>
#include <QRect>
#include <QString>

// A crop that moves: the selection at moments of the video. Between two
// keyframes the crop glides along a monotone cubic through them (it never
// overshoots, eases in at the first and out at the last, and keeps still
// between two equal places), before the first and after the last it holds.
// Every keyframe has the same size.
struct CropKeyframe
{
    double time = 0; // seconds from the video's start
    QRect crop;
    bool operator==(const CropKeyframe &other) const { return time == other.time && crop == other.crop; }
};

namespace CropKeyframes {

// Keyframes this close in time are one.
constexpr double sameTime = 0.0005;

// Where the crop stands at time: even, the keyframes' size; an empty rectangle without keyframes.
QRect cropAt(const QList<CropKeyframe> &keys, double time);
// The index of the keyframe at time, or -1.
int indexAt(const QList<CropKeyframe> &keys, double time);
// keys with crop at time: the keyframe there moved, or a new one, in time order. A crop of a new
// size resizes every keyframe about its centre, within frame.
QList<CropKeyframe> placed(QList<CropKeyframe> keys, double time, const QRect &crop, QSize frame);

// The crop filter whose position follows its input's time t, which counts from offset seconds into
// the video: exact at each keyframe, even, the same size throughout.
QString filterText(const QList<CropKeyframe> &keys, double offset);

} // namespace CropKeyframes
