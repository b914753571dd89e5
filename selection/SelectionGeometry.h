#pragma once

#include "BorderPosition.h"

#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <Qt>

// The selection rectangle's hit test, drag step and drawing. Rectangles are
// (x, y, width, height) in points with the origin at the bottom-left and y up.
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

// A press on the selection: the frame then and the pointer, in the holder's
// coordinates, the handle grabbed, and width ÷ height of the frame then.
struct Press
{
    QRectF frame;
    QPointF point;
    BorderPosition handle = BorderPosition::none;
    double ratio = 1.0;
};

// The frame with the pointer at p (holder coordinates): the grabbed edges
// follow the pointer, each stopping at the holder's edge and at the minimum
// size on its own. Proportionally, the motion that drives the size moves the
// grabbed corner or edge while the opposite corner (or the centre line) stays,
// and the size stops where the ratio would leave the holder.
QRectF dragStep(const Press &press, QPointF p, bool proportional, const QRectF &holderBounds);

// A selection drawn from anchor towards p, in the holder's coordinates: at
// least the minimum size, inside the holder, and of the given ratio when
// proportional.
QRectF drawnSelection(QPointF anchor, QPointF p, bool proportional, double ratio, const QRectF &holderBounds);

} // namespace SelectionGeometry
