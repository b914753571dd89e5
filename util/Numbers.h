#pragma once

#include <QtGlobal>

#include <cmath>
#include <limits>

// Truncates toward zero; values beyond the 64-bit range saturate and NaN gives
// 0, where a plain cast would be undefined.
inline qint64 saturatingTruncate(double value)
{
    if (std::isnan(value))
        return 0;
    if (value >= 9223372036854775807.0)
        return std::numeric_limits<qint64>::max();
    if (value <= -9223372036854775808.0)
        return std::numeric_limits<qint64>::min();
    return static_cast<qint64>(value);
}

#include <QString>

// Fixed-point decimal text to the microsecond, with at least one digit after
// the point and never an exponent, which ffmpeg refuses in times: 6.0, 0.333333,
// 0.00004, 10000000000000000.0.
QString decimalText(double value);
