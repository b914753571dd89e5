#include "SelectionGeometry.h"

#include <algorithm>

namespace SelectionGeometry {

bool holds(const QRectF &zone, QPointF p)
{
    return zone.x() <= p.x() && p.x() < zone.x() + zone.width() && zone.y() <= p.y()
        && p.y() < zone.y() + zone.height();
}

bool contains(const QRectF &outer, const QRectF &inner)
{
    return inner.x() >= outer.x() && inner.y() >= outer.y()
        && inner.x() + inner.width() <= outer.x() + outer.width()
        && inner.y() + inner.height() <= outer.y() + outer.height();
}

BorderPosition borderPositionAt(QPointF p, QSizeF size)
{
    const double w = size.width();
    const double h = size.height();
    const struct
    {
        BorderPosition position;
        QRectF zone;
    } zones[] = {
        { BorderPosition::bottomLeft, { 0, 0, ten, ten } },
        { BorderPosition::topLeft, { 0, h - ten, ten, ten } },
        { BorderPosition::topRight, { w - ten, h - ten, ten, ten } },
        { BorderPosition::bottomRight, { w - ten, 0, ten, ten } },
        { BorderPosition::left, { 0, h * 0.5 - fifteen, five, thirty } },
        { BorderPosition::top, { w * 0.5 - fifteen, h - five, thirty, five } },
        { BorderPosition::right, { w - five, h * 0.5 - fifteen, five, thirty } },
        { BorderPosition::bottom, { w * 0.5 - fifteen, 0, thirty, five } },
    };
    for (const auto &[position, zone] : zones) {
        if (holds(zone, p))
            return position;
    }
    return BorderPosition::middle;
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
    return Qt::ArrowCursor;
}

DragState dragStep(const DragState &state, QPointF p, BorderPosition handle, bool proportional, double ratio,
                   const QRectF &holderBounds)
{
    const double dx = p.x() - state.draggedPoint.x();
    const double dy = p.y() - state.draggedPoint.y();
    const double x = state.frame.x(), y = state.frame.y();
    const double w = state.frame.width(), h = state.frame.height();
    const double r = ratio;

    double nx = x, ny = y, nw = w, nh = h;
    QPointF reference = state.draggedPoint;
    switch (handle) {
    case BorderPosition::bottomLeft:
        if (proportional)
            nx = x + r * dy, ny = y + dy, nw = r * (h - dy), nh = h - dy;
        else
            nx = x + dx, ny = y + dy, nw = w - dx, nh = h - dy;
        break;
    case BorderPosition::left:
        if (proportional)
            nx = x + dx, ny = y + 0.5 * (dx / r), nw = w - dx, nh = (w - dx) / r;
        else
            nx = x + dx, nw = w - dx;
        break;
    case BorderPosition::topLeft:
        if (proportional) {
            nx = x - r * dy, nw = r * (h + dy), nh = h + dy;
            reference = p;
        } else {
            nx = x + dx, nw = w - dx, nh = h + dy;
            // The origin follows the pointer in x only; y is measured afresh.
            reference.setY(p.y());
        }
        break;
    case BorderPosition::top:
        if (proportional)
            nx = x - 0.5 * r * dy, nw = r * (h + dy), nh = h + dy;
        else
            nh = h + dy;
        reference = p;
        break;
    case BorderPosition::topRight:
        if (proportional)
            nw = r * (h + dy), nh = h + dy;
        else
            nw = w + dx, nh = h + dy;
        reference = p;
        break;
    case BorderPosition::right:
        if (proportional)
            ny = y - 0.5 * (dx / r), nw = w + dx, nh = (w + dx) / r;
        else
            nw = w + dx;
        reference = p;
        break;
    case BorderPosition::bottomRight:
        if (proportional) {
            ny = y - dx / r, nw = w + dx, nh = (w + dx) / r;
            reference = p;
        } else {
            ny = y + dy, nw = w + dx, nh = h - dy;
            // The origin follows the pointer in y only; x is measured afresh.
            reference.setX(p.x());
        }
        break;
    case BorderPosition::bottom:
        if (proportional)
            nx = x + 0.5 * r * dy, ny = y + dy, nw = r * (h - dy), nh = h - dy;
        else
            ny = y + dy, nh = h - dy;
        break;
    case BorderPosition::middle:
        nx = x + dx, ny = y + dy;
        break;
    case BorderPosition::none:
        break;
    }

    const QRectF &s = holderBounds;
    if (nx < s.x()) {
        nx = s.x();
        nw = w;
    }
    if (ny < s.y()) {
        ny = s.y();
        nh = h;
    }
    nx = std::min(nx, s.x() + s.width() - w);
    ny = std::min(ny, s.y() + s.height() - h);

    // A holder smaller than the minimum would otherwise refuse every step.
    const double minimumWidth = std::min(minimumSide, s.width());
    const double minimumHeight = std::min(minimumSide, s.height());
    const QRectF proposal(nx, ny, nw, nh);
    if (nw < minimumWidth || nh < minimumHeight || !contains(s, proposal))
        return { state.frame, reference };
    return { proposal, reference };
}

} // namespace SelectionGeometry
