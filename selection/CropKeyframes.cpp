#include "CropKeyframes.h"

#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;

namespace {

using Axis = int (QRect::*)() const;

// Fritsch and Carlson's tangents: the curve through the keyframes stays monotone between them.
QList<double> tangents(const QList<CropKeyframe> &keys, Axis axis)
{
    const qsizetype n = keys.size();
    QList<double> slopes(n - 1);
    for (qsizetype i = 0; i + 1 < n; ++i)
        slopes[i] = ((keys[i + 1].crop.*axis)() - (keys[i].crop.*axis)()) / (keys[i + 1].time - keys[i].time);
    QList<double> m(n, 0.0);
    for (qsizetype i = 1; i + 1 < n; ++i) {
        const double before = slopes[i - 1], after = slopes[i];
        if (before * after <= 0)
            continue; // a turn or a stop: still there
        // The weighted harmonic mean, which keeps the curve within the two neighbours.
        const double h0 = keys[i].time - keys[i - 1].time, h1 = keys[i + 1].time - keys[i].time;
        m[i] = (2 * h1 + h0 + h1 + 2 * h0) / ((2 * h1 + h0) / before + (h1 + 2 * h0) / after);
    }
    return m;
}

// The eased way from one keyframe to the next, 0 at u = 0 and delta at u = 1, exactly.
double segment(double u, double delta, double startPull, double endPull)
{
    return delta * u * u * (3 - 2 * u) + startPull * u * (u - 1) * (u - 1) + endPull * u * u * (u - 1);
}

double evenNearest(double value)
{
    return 2 * std::round(value / 2);
}

// The piece from keyframe i to the next, at time: exact at both ends.
double pieceAt(const QList<CropKeyframe> &keys, const QList<double> &m, Axis axis, qsizetype i, double time)
{
    const double h = keys[i + 1].time - keys[i].time;
    const double u = std::clamp((time - keys[i].time) / h, 0.0, 1.0);
    const double from = (keys[i].crop.*axis)();
    return from + segment(u, (keys[i + 1].crop.*axis)() - from, h * m[i], h * m[i + 1]);
}

double positionAt(const QList<CropKeyframe> &keys, Axis axis, double time)
{
    if (keys.size() < 2)
        return (keys.first().crop.*axis)();
    // The piece that starts at the last keyframe at or before time, the first before the first, the last after the last.
    const auto after = std::upper_bound(keys.begin() + 1, keys.end() - 1, time,
                                        [](double t, const CropKeyframe &key) { return t < key.time; });
    return evenNearest(pieceAt(keys, tangents(keys, axis), axis, after - keys.begin() - 1, time));
}

QString number(double value)
{
    QString text = QString::number(value, 'f', 6);
    while (text.endsWith(u'0'))
        text.chop(1);
    if (text.endsWith(u'.'))
        text.chop(1);
    return text == u"-0"_s ? u"0"_s : text;
}

// Pieces first ... last of positionAt() for ffmpeg's expression evaluator, where t counts from offset: a balanced
// tree of comparisons, so that each picture evaluates one piece and the parser's nesting stays shallow however
// many keyframes there are.
QString pieces(const QList<CropKeyframe> &keys, const QList<double> &m, Axis axis, double offset, qsizetype first,
               qsizetype last)
{
    if (first < last) {
        const qsizetype middle = (first + last) / 2;
        return u"if(lt(t,%1),%2,%3)"_s.arg(number(keys[middle + 1].time - offset),
                                             pieces(keys, m, axis, offset, first, middle),
                                             pieces(keys, m, axis, offset, middle + 1, last));
    }
    const double h = keys[first + 1].time - keys[first].time;
    const double from = (keys[first].crop.*axis)();
    const double delta = (keys[first + 1].crop.*axis)() - from;
    if (delta == 0 && m[first] == 0 && m[first + 1] == 0)
        return number(from);
    return u"%1+(st(0,clip((t-%2)/%3,0,1));%4*ld(0)*ld(0)*(3-2*ld(0))+%5*ld(0)*(ld(0)-1)*(ld(0)-1)"
           "+%6*ld(0)*ld(0)*(ld(0)-1))"_s.arg(number(from), number(keys[first].time - offset), number(h), number(delta),
                                                number(h * m[first]), number(h * m[first + 1]));
}

QString expression(const QList<CropKeyframe> &keys, Axis axis, double offset)
{
    return u"2*round((%1)/2)"_s.arg(pieces(keys, tangents(keys, axis), axis, offset, 0, keys.size() - 2));
}

} // namespace

namespace CropKeyframes {

QRect cropAt(const QList<CropKeyframe> &keys, double time)
{
    if (keys.isEmpty())
        return {};
    QRect crop = keys.first().crop;
    crop.moveTo(int(positionAt(keys, &QRect::x, time)), int(positionAt(keys, &QRect::y, time)));
    return crop;
}

int indexAt(const QList<CropKeyframe> &keys, double time)
{
    for (qsizetype i = 0; i < keys.size(); ++i) {
        if (std::abs(keys[i].time - time) < sameTime)
            return int(i);
    }
    return -1;
}

QList<CropKeyframe> placed(QList<CropKeyframe> keys, double time, const QRect &crop, QSize frame)
{
    if (!keys.isEmpty() && keys.first().crop.size() != crop.size()) {
        for (CropKeyframe &key : keys) {
            QRect resized(QPoint(), crop.size());
            resized.moveCenter(key.crop.center());
            const int x = std::clamp(resized.x(), 0, frame.width() - crop.width());
            const int y = std::clamp(resized.y(), 0, frame.height() - crop.height());
            resized.moveTo(x - x % 2, y - y % 2);
            key.crop = resized;
        }
    }
    if (const int at = indexAt(keys, time); at >= 0) {
        keys[at].crop = crop;
        return keys;
    }
    const auto later = std::find_if(keys.begin(), keys.end(), [time](const CropKeyframe &key) { return key.time > time; });
    keys.insert(later, CropKeyframe { time, crop });
    return keys;
}

QString filterText(const QList<CropKeyframe> &keys, double offset)
{
    const QRect first = keys.first().crop;
    return u"crop=w=%1:h=%2:x='%3':y='%4'"_s.arg(first.width())
        .arg(first.height())
        .arg(expression(keys, &QRect::x, offset), expression(keys, &QRect::y, offset));
}

} // namespace CropKeyframes
