#include "MotionMap.h"

#include <algorithm>
#include <cmath>

namespace MotionMap {

QList<QImage> samples(const QList<QImage> &pictures)
{
    const QSize first = pictures.value(0).size();
    const QSize size = first.isEmpty() ? QSize() : QSize(96, std::max(1, qRound(96.0 * first.height() / first.width())));
    QList<QImage> small;
    for (const QImage &picture : pictures) {
        if (!picture.isNull() && size.isValid())
            small << picture.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                         .convertToFormat(QImage::Format_Grayscale8);
    }
    return small;
}

QImage spread(const QList<QImage> &samples)
{
    QImage map(samples.value(0).size(), QImage::Format_Grayscale8);
    if (map.isNull())
        return map;
    for (int y = 0; y < map.height(); ++y) {
        uchar *out = map.scanLine(y);
        for (int x = 0; x < map.width(); ++x) {
            double sum = 0, squares = 0;
            for (const QImage &sample : samples) {
                const double v = sample.constScanLine(y)[x];
                sum += v;
                squares += v * v;
            }
            const double mean = sum / samples.size();
            out[x] = uchar(std::min(255.0, std::sqrt(std::max(0.0, squares / samples.size() - mean * mean))));
        }
    }
    return map;
}

QImage heat(const QImage &spread)
{
    QImage heat(spread.size(), QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < spread.height(); ++y) {
        const uchar *in = spread.constScanLine(y);
        auto *out = reinterpret_cast<QRgb *>(heat.scanLine(y));
        for (int x = 0; x < spread.width(); ++x) {
            const int v = std::min(255, in[x] * 3);
            out[x] = qPremultiply(qRgba(255, v, 0, v * 3 / 4));
        }
    }
    return heat;
}

std::optional<int> movingOutside(const QList<QImage> &samples, const QImage &spread, const QRectF &crop,
                                 int threshold)
{
    const QSize size = spread.size();
    QList<QPoint> moving;
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x) {
            const QPointF centre((x + 0.5) / size.width(), (y + 0.5) / size.height());
            if (!crop.contains(centre) && spread.constScanLine(y)[x] > threshold)
                moving << QPoint(x, y);
        }
    }
    if (moving.isEmpty() || samples.size() < 2)
        return std::nullopt;
    int most = 1;
    double mostChange = -1;
    for (int i = 1; i < samples.size(); ++i) {
        double change = 0;
        for (const QPoint p : moving)
            change += std::abs(samples[i].constScanLine(p.y())[p.x()] - samples[i - 1].constScanLine(p.y())[p.x()]);
        if (change > mostChange) {
            mostChange = change;
            most = i;
        }
    }
    return most;
}

} // namespace MotionMap
