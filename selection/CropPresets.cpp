#include "CropPresets.h"

#include "CropGeometry.h"

#include <algorithm>
#include <cmath>
#include <tuple>

using namespace Qt::StringLiterals;

namespace CropPresets {

namespace {

constexpr double presetHeights[] = { 1920, 1200, 1080, 900, 720, 640, 480, 360, 240 };

// Two numbers separated by separator; titles come only from the lists here.
std::pair<double, double> splitPair(const QString &title, QChar separator)
{
    const QStringList parts = title.split(separator);
    return { parts.value(0).toDouble(), parts.value(1).toDouble() };
}

} // namespace

QStringList wideRatios()
{
    return { u"16:9"_s, u"4:3"_s, u"1:1"_s, u"7:5"_s, u"5:4"_s, u"5:3"_s, u"3:2"_s };
}

QStringList tallRatios()
{
    return { u"9:16"_s, u"3:4"_s, u"1:1"_s, u"5:7"_s, u"4:5"_s, u"3:5"_s, u"2:3"_s };
}

QStringList presetTitles(qint64 videoWidth, qint64 videoHeight, const QString &ratioTitle)
{
    const auto [a, b] = splitPair(ratioTitle, u':');
    QStringList titles;
    for (const double h : presetHeights) {
        if (!(videoHeight > h))
            continue;
        const qint64 w = CropGeometry::evenRound(h * a / b);
        if (!(videoWidth > w))
            continue;
        titles.append(presetTitle(QSize(int(w), int(h))));
    }
    return titles;
}

QString presetTitle(QSize size)
{
    return QString::number(size.width()) + u'x' + QString::number(size.height());
}

bool fitsRatio(QSize size, const QString &ratioTitle)
{
    const auto [a, b] = splitPair(ratioTitle, u':');
    if (a <= 0 || b <= 0 || size.isEmpty())
        return false;
    return std::abs(size.width() - size.height() * a / b) <= 2 || std::abs(size.height() - size.width() * b / a) <= 2;
}

QRectF placeSelection(const std::optional<QString> &presetTitle, qint64 videoWidth, qint64 videoHeight)
{
    // Without a preset, a square a hand can grab: 100 pixels, or the whole of a smaller picture.
    double w = std::min<double>(100, videoWidth);
    double h = std::min<double>(100, videoHeight);
    if (presetTitle)
        std::tie(w, h) = splitPair(*presetTitle, u'x');
    return QRectF(CropGeometry::evenRound((videoWidth - w) / 2), CropGeometry::evenRound((videoHeight - h) / 2), w, h)
        .intersected(QRectF(0, 0, videoWidth, videoHeight));
}

} // namespace CropPresets
