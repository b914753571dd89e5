#pragma once

// The scrubber's slider in milliseconds from the video's start, and the
// places of the eleven posters on it, at n / 12 of the duration.
namespace Timeline {

inline constexpr int posterCount = 11;

// The place of poster n, 1 ... 11.
int posterPlace(int n, double duration);
// The poster placed at value; 0 when none is.
int posterAt(int value, double duration);
// The place of the next poster after value (direction 1) or before it (-1); value when there is none.
int nextPosterPlace(int value, int direction, double duration);
// The last picture's time: a frame before the end.
int lastPicture(double duration, double frameRate);

} // namespace Timeline
