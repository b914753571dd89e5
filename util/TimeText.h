#pragma once

#include <QString>

#include <optional>

// Times as the trim fields show them: "hh:mm:ss.mmm".
namespace TimeText {

// 75.5 gives "00:01:15.500"; a negative or not finite time gives "00:00:00.000".
QString format(double seconds);
// "01:15.5", "75.5", "00:01:15.500" give 75.5; nothing for anything else.
std::optional<double> parse(const QString &text);

} // namespace TimeText
