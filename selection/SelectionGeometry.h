#pragma once

#include "BorderPosition.h"

#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <Qt>

// The selection rectangle's hit test and drag step. Rectangles are (x, y,
// width, height) in points with the origin at the bottom-left and y up.
namespace SelectionGeometry {

inline constexpr double five = 5.0;     // thickness of an edge handle
inline constexpr double ten = 5.0;      // side of a corner handle
inline constexpr double fifteen = 15.0; // half the length of an edge handle
inline constexpr double thirty = 30.0;  // length of an edge handle
inline constexpr double minimumSide = 100.0;

// x0 <= x < x0 + w and y0 <= y < y0 + h: the maximum edges are outside.
bool holds(const QRectF &zone, QPointF p);
// Whether inner lies entirely within outer; shared edges allowed.
bool contains(const QRectF &outer, const QRectF &inner);

// The handle under p, in the rectangle's own coordinates; corners win over
// edges, and anything else (even outside) is middle.
BorderPosition borderPositionAt(QPointF p, QSizeF size);

Qt::CursorShape cursorShapeFor(BorderPosition handle);

struct DragState
{
    QRectF frame;        // in the holder's coordinates
    QPointF draggedPoint; // reference pointer position, in the rectangle's own coordinates
};

// One drag event: the pointer is at p (own coordinates of the current frame).
// The reference point may move even when the new frame is rejected, in which
// case the frame stays as it was.
DragState dragStep(const DragState &state, QPointF p, BorderPosition handle, bool proportional, double ratio,
                   const QRectF &holderBounds);

} // namespace SelectionGeometry
