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

QString sourceLabelText(qint64 videoWidth, qint64 videoHeight)
{
    return u"Source: %1 x %2"_s.arg(videoWidth).arg(videoHeight);
}

QString croppedLabelText(QSize cropped)
{
    return u"Cropped: %1 x %2"_s.arg(cropped.width()).arg(cropped.height());
}

} // namespace CropGeometry
