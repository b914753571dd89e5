#pragma once

#include <QImage>
#include <QRect>
#include <QRectF>
#include <QStringList>

#include <optional>

// Finds the picture inside black or uniform bars (letterbox, pillarbox, a
// screen recording's dead margins) across several pictures of one video.
//
// On each picture, a row or column is bar when nearly all its pixels are
// within a tolerance of the bar colour, the colour all four corners share:
// JPEG noise stays inside the tolerance, and a logo or a line of subtitles in
// a bar makes its rows content once it covers 2 % of them, so text that the
// viewer may want is kept, while a small logo is not. The edge is placed
// within a pixel by how much of its lines is still bar, so a soft edge
// neither blocks nor shifts it. A picture wholly dark or uniform (a fade, a
// black opening) votes for nothing; the content rectangle is the union of
// the others, so no picture's content is cut.
namespace BorderDetection {

// Per colour channel, what JPEG noise and a soft bar may differ by.
inline constexpr int tolerance = 24;
// The share of a row's or column's pixels that makes it content.
inline constexpr double contentShare = 0.02;

// One picture's content as fractions of its size (0 ... 1), or nothing for a
// picture wholly dark or uniform.
std::optional<QRectF> contentFraction(const QImage &picture);

// The union of the pictures' content, as fractions; nothing when none voted.
std::optional<QRectF> contentFraction(const QList<QImage> &pictures);

// The crop in video pixels for the posters in files: the union of their
// content in a frame of frameSize, even, inside the frame and at least
// minimum; nothing when there is no border (or no poster voted).
std::optional<QRect> cropFor(const QStringList &files, QSize frameSize, QSize minimum);

} // namespace BorderDetection
