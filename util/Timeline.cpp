#include "Timeline.h"

#include <algorithm>
#include <cmath>

namespace Timeline {

int posterPlace(int n, double duration)
{
    return int(std::lround(n * duration * 1000 / (posterCount + 1)));
}

int posterAt(int value, double duration)
{
    for (int n = 1; n <= posterCount; ++n) {
        if (posterPlace(n, duration) == value)
            return n;
    }
    return 0;
}

int nextPosterPlace(int value, int direction, double duration)
{
    for (int i = 1; i <= posterCount; ++i) {
        const int place = posterPlace(direction > 0 ? i : posterCount + 1 - i, duration);
        if (direction > 0 ? place > value : place < value)
            return place;
    }
    return value;
}

int lastPicture(double duration, double frameRate)
{
    const double frame = frameRate > 0 ? 1 / frameRate : 0.04;
    return std::max(0, int(std::lround((duration - frame) * 1000)));
}

} // namespace Timeline
