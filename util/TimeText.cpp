#include "TimeText.h"

#include <QStringList>

#include <cmath>

using namespace Qt::StringLiterals;

namespace TimeText {

QString format(double seconds)
{
    const qint64 millis = std::isfinite(seconds) && seconds > 0 ? std::llround(seconds * 1000) : 0;
    return QString::asprintf("%02lld:%02lld:%02lld.%03lld", millis / 3'600'000, millis / 60'000 % 60,
                             millis / 1000 % 60, millis % 1000);
}

std::optional<double> parse(const QString &text)
{
    const QStringList parts = text.trimmed().split(u':');
    if (parts.size() > 3)
        return std::nullopt;
    double seconds = 0;
    for (qsizetype i = 0; i < parts.size(); ++i) {
        bool ok = false;
        // Hours and minutes are whole; the seconds may have a fraction. C locale: "1.5", never "1,5".
        const double value = i + 1 < parts.size() ? double(parts[i].toUInt(&ok)) : parts[i].toDouble(&ok);
        const bool wholeBelowSixty = i == 0 || value < 60;
        if (!ok || value < 0 || !std::isfinite(value) || !wholeBelowSixty)
            return std::nullopt;
        seconds = seconds * 60 + value;
    }
    return seconds;
}

} // namespace TimeText
