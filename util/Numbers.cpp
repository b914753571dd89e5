#include "Numbers.h"

#include <charconv>

using namespace Qt::StringLiterals;

QString shortestDecimalText(double value)
{
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    QString text = QString::fromLatin1(buffer, result.ptr - buffer);
    const bool plainInteger = std::isfinite(value) && !text.contains(u'.') && !text.contains(u'e');
    if (plainInteger)
        text += u".0"_s;
    return text;
}
