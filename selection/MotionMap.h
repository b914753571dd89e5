#pragma once

#include <QImage>
#include <QList>
#include <QRectF>

#include <optional>

// Where the picture changes across a video, from pictures sampled over its
// whole length (the posters), as pure functions of images.
namespace MotionMap {

// The pictures' brightness, 96 wide at their shape: what the map is made of.
QList<QImage> samples(const QList<QImage> &pictures);
// For each place, how far its brightness spreads across the samples (their
// standard deviation, 0 ... 255, in a grayscale image of their size).
QImage spread(const QList<QImage> &samples);
// The map as a translucent heat map: clear where nothing changes, red to
// yellow where much does.
QImage heat(const QImage &spread);
// Whether the picture clearly changes outside crop (a part of the picture,
// 0 ... 1 each way): a place there spreads by more than threshold. Then the
// index of the sample that differs most there from the one before it.
std::optional<int> movingOutside(const QList<QImage> &samples, const QImage &spread, const QRectF &crop,
                                 int threshold = 40);

} // namespace MotionMap
