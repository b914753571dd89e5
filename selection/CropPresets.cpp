#include "CropPresets.h"

#include "CropGeometry.h"
#include "SelectionGeometry.h"

#include <algorithm>

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
        titles.append(QString::number(w) + u'x' + QString::number(qint64(h)));
    }
    return titles;
}

QRectF placeSelection(const std::optional<QString> &presetTitle, qint64 videoWidth, qint64 videoHeight,
                      double scale)
{
    const double holderWidth = videoWidth * scale;
    const double holderHeight = videoHeight * scale;
    const double minimumWidth = std::min(SelectionGeometry::minimumSide, holderWidth);
    const double minimumHeight = std::min(SelectionGeometry::minimumSide, holderHeight);

    double w = minimumWidth;
    double h = minimumHeight;
    if (presetTitle) {
        const auto [pw, ph] = splitPair(*presetTitle, u'x');
        w = std::max(minimumWidth, pw * scale);
        h = std::max(minimumHeight, ph * scale);
    }
    return { holderWidth * 0.5 - w * 0.5, holderHeight * 0.5 - h * 0.5, w, h };
}

} // namespace CropPresets
