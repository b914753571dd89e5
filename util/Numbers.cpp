#include "Numbers.h"

using namespace Qt::StringLiterals;

QString decimalText(double value)
{
    if (!std::isfinite(value))
        return u"0.0"_s;
    QString text = QString::number(value, 'f', 6);
    while (text.endsWith(u'0') && !text.endsWith(u".0"_s))
        text.chop(1);
    return text == u"-0.0"_s ? u"0.0"_s : text;
}
