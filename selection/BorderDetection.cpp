#include "BorderDetection.h"

#include "CropGeometry.h"

#include <QImageReader>

#include <algorithm>
#include <cmath>
#include <vector>

namespace BorderDetection {

namespace {

int distance(QRgb a, QRgb b)
{
    return std::max({ std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)), std::abs(qBlue(a) - qBlue(b)) });
}

// The colour every corner shares, or nothing when the corners differ (content reaches them).
std::optional<QRgb> barColour(const QImage &image)
{
    const int w = image.width(), h = image.height();
    const QRgb corners[] = { image.pixel(0, 0), image.pixel(w - 1, 0), image.pixel(0, h - 1), image.pixel(w - 1, h - 1) };
    for (const QRgb corner : corners) {
        if (distance(corner, corners[0]) > tolerance)
            return std::nullopt;
    }
    int r = 0, g = 0, b = 0;
    for (const QRgb corner : corners)
        r += qRed(corner), g += qGreen(corner), b += qBlue(corner);
    return qRgb(r / 4, g / 4, b / 4);
}

struct Line
{
    int differing = 0;   // pixels beyond the tolerance
    double distance = 0; // summed distance from the bar colour
};

// How many lines a soft edge (scaling, JPEG's blocks and halved colour) spreads over.
constexpr int edgeWidth = 3;

// Where content begins, in lines from the first one, for lines running from
// the bar inward: the first content line, moved on by how much of each line
// of the edge is still bar. A blur spreads an edge but keeps that sum.
double edgeAt(const std::vector<Line> &lines, qsizetype first, int step, int length)
{
    const auto at = [&](qsizetype i) { return lines[size_t(std::clamp<qsizetype>(i, 0, qsizetype(lines.size()) - 1))]; };
    // Content just inside the edge looks like the edge's own, unlike the picture's middle.
    const double level = std::max(1.0, at(first + step * edgeWidth).distance / length);
    double edge = 0;
    for (int k = 0; k < edgeWidth; ++k)
        edge += 1 - std::clamp(at(first + step * k).distance / length / level, 0.0, 1.0);
    // A blur moves an edge by a line at most; more would be content that darkens toward the bar, which is kept.
    return std::min(edge, double(edgeWidth - 1));
}

// The edges, in pixels, of the lines that are content along one axis.
std::optional<std::pair<double, double>> contentSpan(const std::vector<Line> &lines, int length)
{
    const auto isContent = [&](const Line &line) { return line.differing > contentShare * length; };
    const auto first = std::find_if(lines.cbegin(), lines.cend(), isContent);
    if (first == lines.cend())
        return std::nullopt;
    const qsizetype from = first - lines.cbegin();
    const qsizetype to = std::find_if(lines.crbegin(), lines.crend(), isContent).base() - lines.cbegin() - 1;
    const double start = double(from) + edgeAt(lines, from, 1, length);
    const double end = double(to) + 1 - edgeAt(lines, to, -1, length);
    return std::pair(start, std::max(end, start + 1));
}

} // namespace

std::optional<QRectF> contentFraction(const QImage &picture)
{
    if (picture.isNull())
        return std::nullopt;
    const QImage image = picture.convertToFormat(QImage::Format_RGB32);
    const int w = image.width(), h = image.height();
    const auto bar = barColour(image);
    if (!bar)
        return QRectF(0, 0, 1, 1);
    std::vector<Line> rows(static_cast<size_t>(h)), columns(static_cast<size_t>(w));
    for (int y = 0; y < h; ++y) {
        const auto *pixels = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        Line &row = rows[size_t(y)];
        for (int x = 0; x < w; ++x) {
            const int d = distance(pixels[x], *bar);
            const bool differs = d > tolerance;
            row.differing += differs;
            row.distance += d;
            columns[size_t(x)].differing += differs;
            columns[size_t(x)].distance += d;
        }
    }
    const auto vertical = contentSpan(rows, w);
    const auto horizontal = contentSpan(columns, h);
    if (!vertical || !horizontal)
        return std::nullopt;
    return QRectF(horizontal->first / w, vertical->first / h, (horizontal->second - horizontal->first) / w,
                  (vertical->second - vertical->first) / h);
}

std::optional<QRectF> contentFraction(const QList<QImage> &pictures)
{
    std::optional<QRectF> content;
    for (const QImage &picture : pictures) {
        if (const auto one = contentFraction(picture))
            content = content ? content->united(*one) : *one;
    }
    return content;
}

std::optional<QRect> cropFor(const QStringList &files, QSize frameSize, QSize minimum)
{
    QList<QImage> posters;
    for (const QString &file : files) {
        QImageReader reader(file);
        // An edge is placed within a fraction of a line, so 480 columns are plenty; JPEG's own
        // reduced decoding (a half, a quarter) reads a full HD poster several times faster.
        for (int reduction : { 4, 2 }) {
            if (reader.size().width() / reduction >= 480) {
                reader.setScaledSize(reader.size() / reduction);
                break;
            }
        }
        posters << reader.read();
    }
    const auto content = contentFraction(posters);
    if (!content)
        return std::nullopt;
    const double w = frameSize.width(), h = frameSize.height();
    const qint64 left = CropGeometry::evenRound(content->left() * w);
    const qint64 top = CropGeometry::evenRound(content->top() * h);
    const qint64 right = CropGeometry::evenRound(content->right() * w);
    const qint64 bottom = CropGeometry::evenRound(content->bottom() * h);
    const QRect crop = CropGeometry::fittedCrop(QRect(int(left), int(top), int(right - left), int(bottom - top)),
                                                frameSize, minimum, std::nullopt, true);
    // Within a pixel or two of the frame is no border.
    const QRect whole = CropGeometry::fittedCrop(QRect(QPoint(0, 0), frameSize), frameSize, minimum, std::nullopt, true);
    const bool bordered = crop.left() - whole.left() > 2 || crop.top() - whole.top() > 2
        || whole.right() - crop.right() > 2 || whole.bottom() - crop.bottom() > 2;
    return bordered ? std::optional(crop) : std::nullopt;
}

} // namespace BorderDetection
