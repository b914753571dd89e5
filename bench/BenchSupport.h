#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

namespace Bench {

double median(QList<double> values);
// Wall-clock milliseconds that run takes.
double millisecondsOf(const std::function<void()> &run);
// Runs a and b alternately, rounds times each, and gives the two medians in ms.
std::pair<double, double> sideBySide(int rounds, const std::function<void()> &a, const std::function<void()> &b);
// Prints "BENCH name value unit".
void report(const char *name, double value, const char *unit);

} // namespace Bench

namespace Bench {
// Runs program with arguments through posix_spawn, reading its standard output
// and error to the end, with no Qt in between; gives the bytes read.
qint64 spawnAndDrain(const QString &program, const QStringList &arguments);
} // namespace Bench
