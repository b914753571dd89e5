#pragma once

#include <QtGlobal>

// A pixel's width ÷ height as a fraction: 1:1 for square pixels, 64:45 for
// PAL's 16:9 picture stored 720 pixels wide.
struct PixelShape
{
    qint64 num = 1;
    qint64 den = 1;

    bool isSquare() const { return num == den || num <= 0 || den <= 0; }
};
