#include "SelectionGeometry.h"

#include <algorithm>

namespace SelectionGeometry {

BorderPosition borderPositionAt(QPointF p, const QRectF &shown, double grab)
{
    const double out = grab / 2;
    const double inX = std::min(grab / 2, shown.width() / 3), inY = std::min(grab / 2, shown.height() / 3);
    const double x = p.x(), y = p.y();
    if (x < shown.left() - out || x > shown.right() + out || y < shown.top() - out || y > shown.bottom() + out)
        return BorderPosition::none;
    const bool left = x < shown.left() + inX, right = !left && x > shown.right() - inX;
    const bool top = y < shown.top() + inY, bottom = !top && y > shown.bottom() - inY;
    if (top)
        return left ? BorderPosition::topLeft : right ? BorderPosition::topRight : BorderPosition::top;
    if (bottom)
        return left ? BorderPosition::bottomLeft : right ? BorderPosition::bottomRight : BorderPosition::bottom;
    return left ? BorderPosition::left : right ? BorderPosition::right : BorderPosition::middle;
}

Qt::CursorShape cursorShapeFor(BorderPosition handle)
{
    switch (handle) {
    case BorderPosition::bottomLeft:
    case BorderPosition::topRight:
        return Qt::SizeBDiagCursor;
    case BorderPosition::topLeft:
    case BorderPosition::bottomRight:
        return Qt::SizeFDiagCursor;
    case BorderPosition::left:
    case BorderPosition::right:
        return Qt::SizeHorCursor;
    case BorderPosition::top:
    case BorderPosition::bottom:
        return Qt::SizeVerCursor;
    case BorderPosition::middle:
        return Qt::OpenHandCursor;
    case BorderPosition::none:
        break;
    }
    return Qt::CrossCursor;
}

namespace {

struct Bounds
{
    double x0, y0, x1, y1;
};

Bounds edgesOf(const QRectF &r)
{
    return { r.x(), r.y(), r.x() + r.width(), r.y() + r.height() };
}

// Between low and high; high wins where they cross, so that the frame stays
// inside the picture.
double clampInside(double value, double low, double high)
{
    return std::min(std::max(value, low), high);
}

bool movesLeft(BorderPosition h)
{
    return h == BorderPosition::bottomLeft || h == BorderPosition::left || h == BorderPosition::topLeft;
}

bool movesRight(BorderPosition h)
{
    return h == BorderPosition::topRight || h == BorderPosition::right || h == BorderPosition::bottomRight;
}

bool movesBottom(BorderPosition h)
{
    return h == BorderPosition::bottomLeft || h == BorderPosition::bottom || h == BorderPosition::bottomRight;
}

bool movesTop(BorderPosition h)
{
    return h == BorderPosition::topLeft || h == BorderPosition::top || h == BorderPosition::topRight;
}

QRectF freeStep(const Press &press, double dx, double dy, const Bounds &s, QSizeF minimum)
{
    const Bounds f = edgesOf(press.frame);
    Bounds r = f;
    if (press.handle == BorderPosition::middle) {
        const double w = f.x1 - f.x0, h = f.y1 - f.y0;
        r.x0 = std::max(s.x0, std::min(f.x0 + dx, s.x1 - w));
        r.y0 = std::max(s.y0, std::min(f.y0 + dy, s.y1 - h));
        return { r.x0, r.y0, w, h };
    }
    if (movesLeft(press.handle))
        r.x0 = std::max(s.x0, std::min(f.x0 + dx, f.x1 - minimum.width()));
    if (movesRight(press.handle))
        r.x1 = std::min(s.x1, std::max(f.x1 + dx, f.x0 + minimum.width()));
    if (movesTop(press.handle))
        r.y0 = std::max(s.y0, std::min(f.y0 + dy, f.y1 - minimum.height()));
    if (movesBottom(press.handle))
        r.y1 = std::min(s.y1, std::max(f.y1 + dy, f.y0 + minimum.height()));
    return { r.x0, r.y0, r.x1 - r.x0, r.y1 - r.y0 };
}

QRectF proportionalStep(const Press &press, double dx, double dy, const Bounds &s, QSizeF minimum)
{
    const Bounds f = edgesOf(press.frame);
    const double r = press.ratio;
    const double cx = (f.x0 + f.x1) / 2, cy = (f.y0 + f.y1) / 2;
    const double w = f.x1 - f.x0, h = f.y1 - f.y0;
    // Room for the height from a fixed corner or centre line, along each axis.
    const double rightward = (s.x1 - f.x0) / r, leftward = (f.x1 - s.x0) / r;
    const double upward = f.y1 - s.y0, downward = s.y1 - f.y0;
    const double across = 2 * std::min(cx - s.x0, s.x1 - cx) / r, along = 2 * std::min(cy - s.y0, s.y1 - cy);

    double height = h, room = h;
    switch (press.handle) {
    case BorderPosition::topRight:
        height = h - dy, room = std::min(rightward, upward);
        break;
    case BorderPosition::topLeft:
        height = h - dy, room = std::min(leftward, upward);
        break;
    case BorderPosition::bottomLeft:
        height = h + dy, room = std::min(leftward, downward);
        break;
    case BorderPosition::bottomRight:
        height = (w + dx) / r, room = std::min(rightward, downward);
        break;
    case BorderPosition::top:
        height = h - dy, room = std::min(upward, across);
        break;
    case BorderPosition::bottom:
        height = h + dy, room = std::min(downward, across);
        break;
    case BorderPosition::right:
        height = (w + dx) / r, room = std::min(rightward, along);
        break;
    case BorderPosition::left:
        height = (w - dx) / r, room = std::min(leftward, along);
        break;
    case BorderPosition::middle:
    case BorderPosition::none:
        break;
    }
    height = clampInside(height, std::max(minimum.height(), minimum.width() / r), room);
    const double width = r * height;

    switch (press.handle) {
    case BorderPosition::topRight:
        return { f.x0, f.y1 - height, width, height };
    case BorderPosition::topLeft:
        return { f.x1 - width, f.y1 - height, width, height };
    case BorderPosition::bottomLeft:
        return { f.x1 - width, f.y0, width, height };
    case BorderPosition::bottomRight:
        return { f.x0, f.y0, width, height };
    case BorderPosition::top:
        return { cx - width / 2, f.y1 - height, width, height };
    case BorderPosition::bottom:
        return { cx - width / 2, f.y0, width, height };
    case BorderPosition::right:
        return { f.x0, cy - height / 2, width, height };
    case BorderPosition::left:
        return { f.x1 - width, cy - height / 2, width, height };
    case BorderPosition::middle:
    case BorderPosition::none:
        break;
    }
    return press.frame;
}

} // namespace

QSizeF minimumIn(QSizeF picture)
{
    return { std::min(minimumSide, picture.width()), std::min(minimumSide, picture.height()) };
}

QRectF dragStep(const Press &press, QPointF p, bool proportional, QSizeF picture)
{
    const double dx = p.x() - press.point.x();
    const double dy = p.y() - press.point.y();
    const Bounds s { 0, 0, picture.width(), picture.height() };
    if (press.handle == BorderPosition::none)
        return press.frame;
    if (proportional && press.handle != BorderPosition::middle && press.ratio > 0)
        return proportionalStep(press, dx, dy, s, minimumIn(picture));
    return freeStep(press, dx, dy, s, minimumIn(picture));
}

QRectF keyStep(const QRectF &selection, QPoint move, QPoint resize, bool locked, QSizeF picture)
{
    const bool resizes = !resize.isNull();
    const BorderPosition handle =
        !resizes ? BorderPosition::middle : resize.x() != 0 ? BorderPosition::right : BorderPosition::bottom;
    const Press press { selection, QPointF(0, 0), handle, selection.width() / selection.height() };
    return dragStep(press, QPointF(resizes ? resize : move), locked && resizes, picture);
}

QRectF drawnSelection(QPointF anchor, QPointF p, bool proportional, double ratio, QSizeF picture)
{
    const Bounds s { 0, 0, picture.width(), picture.height() };
    const QSizeF minimum = minimumIn(picture);
    anchor = { std::clamp(anchor.x(), s.x0, s.x1), std::clamp(anchor.y(), s.y0, s.y1) };
    const bool rightward = p.x() >= anchor.x(), downward = p.y() >= anchor.y();
    // The room from the anchor in the pointer's direction, or the whole picture when that is too little.
    const double roomX = rightward ? s.x1 - anchor.x() : anchor.x() - s.x0;
    const double roomY = downward ? s.y1 - anchor.y() : anchor.y() - s.y0;
    double w = std::abs(p.x() - anchor.x());
    double h = std::abs(p.y() - anchor.y());
    if (proportional && ratio > 0) {
        const double least = std::min(std::max(minimum.height(), minimum.width() / ratio),
                                      std::min(picture.width() / ratio, picture.height()));
        h = std::clamp(std::max(h, w / ratio), least, std::max(least, std::min(roomX / ratio, roomY)));
        w = ratio * h;
    } else {
        w = std::clamp(w, minimum.width(), std::max(roomX, minimum.width()));
        h = std::clamp(h, minimum.height(), std::max(roomY, minimum.height()));
    }
    const double x = rightward ? anchor.x() : anchor.x() - w;
    const double y = downward ? anchor.y() : anchor.y() - h;
    // A minimum that does not fit beside the anchor is pushed inside.
    return { std::clamp(x, s.x0, std::max(s.x0, s.x1 - w)), std::clamp(y, s.y0, std::max(s.y0, s.y1 - h)), w, h };
}

} // namespace SelectionGeometry
