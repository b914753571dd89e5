#include "CropGeometry.h"

#include "util/Numbers.h"

#include <QCoreApplication>

#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;

namespace CropGeometry {

namespace {

qint64 evenFloor(qint64 value)
{
    return std::max<qint64>(0, value - value % 2);
}

} // namespace

double displayScale(qint64 videoWidth, qint64 videoHeight, double containerWidth, double containerHeight)
{
    if (containerWidth > videoWidth && containerHeight > videoHeight)
        return 1.0;
    return std::min(containerWidth / videoWidth, containerHeight / videoHeight);
}

QRectF holderFrame(qint64 videoWidth, qint64 videoHeight, double containerWidth, double containerHeight)
{
    const double s = displayScale(videoWidth, videoHeight, containerWidth, containerHeight);
    const double w = videoWidth * s;
    const double h = videoHeight * s;
    return { (containerWidth - w) / 2, (containerHeight - h) / 2, w, h };
}

qint64 evenRound(double value)
{
    return 2 * saturatingTruncate(std::round(value * 0.5));
}

QRect cropRect(const QRectF &selection, qint64 videoWidth, qint64 videoHeight)
{
    // Edges, not sizes, are rounded: a width rounded on its own would leave a gap at the frame's edge.
    const auto span = [](double from, double to, qint64 frame) {
        const qint64 end = evenFloor(frame);
        const qint64 a = std::clamp(evenRound(from), qint64(0), std::max<qint64>(0, end - 2));
        const qint64 b = std::clamp(evenRound(to), std::min(a + 2, end), end);
        return std::pair(a, b - a);
    };
    const auto [x, w] = span(selection.left(), selection.right(), videoWidth);
    const auto [y, h] = span(selection.top(), selection.bottom(), videoHeight);
    return { int(x), int(y), int(w), int(h) };
}

QRect fittedCrop(const QRect &wanted, QSize frame, QSize minimum, std::optional<double> ratio, bool widthGiven)
{
    const qint64 maxW = evenFloor(frame.width()), maxH = evenFloor(frame.height());
    const qint64 minW = std::min<qint64>(evenRound(minimum.width()), maxW);
    const qint64 minH = std::min<qint64>(evenRound(minimum.height()), maxH);
    qint64 w = std::clamp(evenRound(wanted.width()), minW, maxW);
    qint64 h = std::clamp(evenRound(wanted.height()), minH, maxH);
    if (ratio && *ratio > 0) {
        // The given side within what the other side allows, then the other from it.
        const double r = *ratio;
        if (widthGiven) {
            w = std::clamp(evenRound(wanted.width()), std::max(minW, evenRound(minH * r)),
                           std::min(maxW, evenFloor(qint64(maxH * r))));
            h = std::clamp(evenRound(w / r), minH, maxH);
        } else {
            h = std::clamp(evenRound(wanted.height()), std::max(minH, evenRound(minW / r)),
                           std::min(maxH, evenFloor(qint64(maxW / r))));
            w = std::clamp(evenRound(h * r), minW, maxW);
        }
    }
    const qint64 x = std::clamp(evenRound(wanted.x()), qint64(0), evenFloor(frame.width() - w));
    const qint64 y = std::clamp(evenRound(wanted.y()), qint64(0), evenFloor(frame.height() - h));
    return { int(x), int(y), int(w), int(h) };
}

QSize displaySize(qint64 storedWidth, qint64 storedHeight, PixelShape aspect)
{
    if (aspect.isSquare())
        return { int(storedWidth), int(storedHeight) };
    return { int(std::llround(double(storedWidth) * aspect.num / aspect.den)), int(storedHeight) };
}

QRect storedCrop(const QRect &displayed, PixelShape aspect, QSize storedFrame)
{
    if (aspect.isSquare())
        return displayed;
    const double toStored = double(aspect.den) / aspect.num;
    const qint64 w = std::min(evenRound(displayed.width() * toStored), evenFloor(storedFrame.width()));
    const qint64 x = std::clamp(evenRound(displayed.x() * toStored), qint64(0), evenFloor(storedFrame.width() - w));
    return { int(x), displayed.y(), int(w), displayed.height() };
}

int storedWidth(int displayedWidth, PixelShape aspect)
{
    if (aspect.isSquare())
        return displayedWidth;
    return int(std::max<qint64>(2, evenRound(double(displayedWidth) * aspect.den / aspect.num)));
}

QString sourceLabelText(qint64 videoWidth, qint64 videoHeight)
{
    return QCoreApplication::translate("CropGeometry", "Source: %1 x %2").arg(videoWidth).arg(videoHeight);
}

QString croppedLabelText(QSize cropped)
{
    return QCoreApplication::translate("CropGeometry", "Cropped: %1 x %2").arg(cropped.width()).arg(cropped.height());
}

} // namespace CropGeometry
