#include "CropGeometry.h"

#include "util/Numbers.h"

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

QSize croppedSize(QSizeF selectionSize, double scale, qint64 videoWidth, qint64 videoHeight)
{
    // The encoder refuses a crop larger than the frame.
    const qint64 w = std::min(evenRound(selectionSize.width() / scale), evenFloor(videoWidth));
    const qint64 h = std::min(evenRound(selectionSize.height() / scale), evenFloor(videoHeight));
    return { int(w), int(h) };
}

QRect cropRect(const QRectF &selection, double scale, qint64 videoWidth, qint64 videoHeight)
{
    const QSize size = croppedSize(selection.size(), scale, videoWidth, videoHeight);
    const double maxY = selection.y() + selection.height();
    const qint64 x = std::clamp(evenRound(selection.x() / scale), qint64(0), evenFloor(videoWidth - size.width()));
    const qint64 y = std::clamp(evenRound(videoHeight - maxY / scale), qint64(0),
                                evenFloor(videoHeight - size.height()));
    return { QPoint(int(x), int(y)), size };
}

QRectF selectionFrame(const QRect &crop, double scale, qint64 videoHeight)
{
    return { crop.x() * scale, double(videoHeight - crop.y() - crop.height()) * scale, crop.width() * scale,
             crop.height() * scale };
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
    return u"Source: %1 x %2"_s.arg(videoWidth).arg(videoHeight);
}

QString croppedLabelText(QSize cropped)
{
    return u"Cropped: %1 x %2"_s.arg(cropped.width()).arg(cropped.height());
}

} // namespace CropGeometry
