#pragma once

#include "CropKeyframes.h"

#include <QByteArray>
#include <QList>
#include <QSize>

#include <optional>

// Where a video's picture moves, and a crop's path that keeps it inside:
// pure functions of small grey pictures sampled evenly over the video.
namespace MotionPath {

// What moved between one sample and the one before it, in the samples' pixels.
struct Activity
{
    double time = 0;
    std::optional<QRect> moving; // none: nothing moved
    bool cut = false;            // a new scene begins here: nearly every place changed
};

// One sample's picture: width × height bytes of brightness, row by row.
struct Picture
{
    double time = 0;
    QByteArray grey;
};

// What moved between two pictures of size, at the later one's time.
Activity change(const Picture &before, const Picture &now, QSize size);

// Keyframes for a crop of cropSize (in the frame's pixels) that keep the moving picture inside it, for a
// video of frame pixels, sampled at pictures of sampleSize: within a scene the crop stays still while what
// moves stays inside it, and pans in straight lines, as little as it can, when it does not (the shortest
// path through the places that hold it); at a cut it jumps with the scene.
QList<CropKeyframe> path(const QList<Activity> &activity, QSize sampleSize, QSize frame, QSize cropSize);

} // namespace MotionPath
