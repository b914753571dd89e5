#pragma once

// Where a press lands on the selection, clockwise from the bottom-left corner.
enum class BorderPosition {
    bottomLeft,
    left,
    topLeft,
    top,
    topRight,
    right,
    bottomRight,
    bottom,
    middle, // the press moves the whole rectangle
    none,   // no press in progress
};
