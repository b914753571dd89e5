#pragma once

#include <QString>
#include <QStringList>

namespace Utils {

// The text of every whole match of pattern in text, left to right, without
// overlaps. An invalid pattern writes "invalid regex: ..." on standard output
// and gives an empty list.
QStringList matchesForRegex(const QString &pattern, const QString &text);

// Seconds of a "HH:MM:SS.cc" stamp. The hundredths piece is always divided by
// 100, whatever its length. A stamp that lacks a piece or holds a piece that is
// not a number gives 0.
double secondsFromTimeString(const QString &text);

} // namespace Utils
