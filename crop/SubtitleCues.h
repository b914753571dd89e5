#pragma once

#include <QByteArray>

// Text subtitles timed to a trim. The encoder keeps no subtitle straight
// across a seek (a line on screen at the trim's start loses its end, the
// whole file may start late), so Tessaly writes each text subtitle to a file
// with the input's own times first, and moves its lines itself.
namespace SubtitleCues {

// The lines of a SubRip file, or of an ASS file (whose header stays), moved
// back by offset seconds and cut to [0, length): a line shown before 0
// starts at 0, one shown past length ends there, and one shown at neither
// goes. length 0: no end. kept: how many lines stay.
QByteArray retimed(const QByteArray &file, bool ass, double offset, double length, int *kept = nullptr);

} // namespace SubtitleCues
