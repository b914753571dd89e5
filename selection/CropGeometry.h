#pragma once

#include <QRectF>
#include <QSize>
#include <QString>

#include "util/PixelShape.h"

#include <optional>

// Between the screen and video pixels (origin top-left), and the crop's even
// numbers. W × H is the video's frame size in displayed orientation.
namespace CropGeometry {

// Points per video pixel: 1 when the video fits the container (it is never
// enlarged), otherwise the larger shrink that makes it fit.
double displayScale(qint64 videoWidth, qint64 videoHeight, double containerWidth, double containerHeight);

// The holder's frame in its container: the video at scale s, centred.
QRectF holderFrame(qint64 videoWidth, qint64 videoHeight, double containerWidth, double containerHeight);

// E(v) = 2 × round(v × 0.5), halves away from zero.
qint64 evenRound(double value);

// The crop for a selection in video pixels: each edge rounded to even on its
// own, so an edge on the frame's edge stays there; inside the frame, at least
// 2 x 2.
QRect cropRect(const QRectF &selection, qint64 videoWidth, qint64 videoHeight);

// The crop nearest to wanted that a selection can be: even numbers, at least
// minimum, inside the frame. With a ratio, the height follows the width when
// widthGiven, the width the height otherwise.
QRect fittedCrop(const QRect &wanted, QSize frame, QSize minimum, std::optional<double> ratio, bool widthGiven);

// The frame as the viewer sees it: the stored width stretched by the sample aspect.
QSize displaySize(qint64 storedWidth, qint64 storedHeight, PixelShape aspect);
// A crop of the displayed frame as the crop of the stored pixels: even, inside the frame.
QRect storedCrop(const QRect &displayed, PixelShape aspect, QSize storedFrame);
// An output width as the viewer sees it, in stored pixels: even, at least 2.
int storedWidth(int displayedWidth, PixelShape aspect);

QString sourceLabelText(qint64 videoWidth, qint64 videoHeight);
QString croppedLabelText(QSize cropped);

} // namespace CropGeometry
