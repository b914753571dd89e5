#include "Utils.h"

#include "Diagnostics.h"

#include <QRegularExpression>

#include <charconv>
#include <optional>

using namespace Qt::StringLiterals;

namespace Utils {

QStringList matchesForRegex(const QString &pattern, const QString &text)
{
    const QRegularExpression regex(pattern);
    if (!regex.isValid()) {
        writeDiagnostic(u"invalid regex: "_s + regex.errorString());
        return {};
    }

    QStringList matches;
    auto it = regex.globalMatch(text);
    while (it.hasNext())
        matches.append(it.next().captured(0));
    return matches;
}

namespace {

// The whole piece as a C-locale floating-point number, nothing left over.
// from_chars rather than strtod: the application runs under the user's locale,
// which may use a decimal comma.
std::optional<double> strictDouble(const QString &piece)
{
    const QByteArray bytes = piece.toUtf8();
    const char *begin = bytes.constData();
    const char *end = begin + bytes.size();
    if (begin != end && *begin == '+') {
        ++begin;
        if (begin != end && *begin == '-')
            return std::nullopt;
    }
    double value = 0;
    const auto [stop, error] = std::from_chars(begin, end, value);
    if (error != std::errc() || stop != end)
        return std::nullopt;
    return value;
}

} // namespace

double secondsFromTimeString(const QString &text)
{
    const QStringList dotPieces = text.split(u'.', Qt::SkipEmptyParts);
    if (dotPieces.size() < 2)
        return 0.0;
    const QStringList clockPieces = dotPieces.first().split(u':', Qt::SkipEmptyParts);
    if (clockPieces.size() < 3)
        return 0.0;

    const auto hours = strictDouble(clockPieces.at(0));
    const auto minutes = strictDouble(clockPieces.at(1));
    const auto seconds = strictDouble(clockPieces.last());
    const auto hundredths = strictDouble(dotPieces.last());
    if (!hours || !minutes || !seconds || !hundredths)
        return 0.0;

    return *hours * 3600 + (*minutes * 60 + (*hundredths / 100 + *seconds));
}

} // namespace Utils
