#pragma once

#include "BorderPosition.h"

#include <QPoint>
#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <Qt>

// The selection rectangle's hit test and drag steps. Selections are in video
// pixels of the picture as shown (origin top-left, y down); only the hit test
// works on the screen, where a hand has to find the handles.
namespace SelectionGeometry {

// The smallest crop a drag, a key or a typed number leaves, in video pixels.
inline constexpr double minimumSide = 16.0;
// How wide the grab zone along each edge is on the screen, centred on the line.
inline constexpr double grabWidth = 16.0;

// The handle under p for the selection shown at shown (both on the screen):
// each edge along its whole length, each corner a square, corners winning;
// middle inside, none outside. Towards the inside a zone takes at most a
// third of the side, so that a small selection can still be moved.
BorderPosition borderPositionAt(QPointF p, const QRectF &shown, double grab = grabWidth);

Qt::CursorShape cursorShapeFor(BorderPosition handle);

// A press on the selection: the frame then and the pointer, in video pixels,
// the handle grabbed, and width ÷ height of the frame then.
struct Press
{
    QRectF frame;
    QPointF point;
    BorderPosition handle = BorderPosition::none;
    double ratio = 1.0;
};

// The frame with the pointer at p: the grabbed edges follow the pointer, each
// stopping at the picture's edge and at the minimum size on its own.
// Proportionally, the motion that drives the size moves the grabbed corner or
// edge while the opposite corner (or the centre line) stays, and the size
// stops where the ratio would leave the picture.
QRectF dragStep(const Press &press, QPointF p, bool proportional, QSizeF picture);

// An arrow key's step: (dx, dy) moves the selection, (dw, dh) its right or
// bottom edge, as a drag of the middle or of that edge by as much would; a
// locked selection keeps its ratio about its centre line.
QRectF keyStep(const QRectF &selection, QPoint move, QPoint resize, bool locked, QSizeF picture);

// A selection drawn from anchor towards p: at least the minimum size, inside
// the picture, and of the given ratio when proportional.
QRectF drawnSelection(QPointF anchor, QPointF p, bool proportional, double ratio, QSizeF picture);

// The minimum for a picture smaller than it.
QSizeF minimumIn(QSizeF picture);

} // namespace SelectionGeometry
