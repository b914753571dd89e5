#include "EncoderOutput.h"

#include "util/Utils.h"

#include <QRegularExpression>
#include <QStringDecoder>

#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;

namespace {

constexpr qsizetype maximumPending = 64 * 1024;

const QString timePattern = u"([0-9][0-9]):([0-9][0-9]):([0-9][0-9]).([0-9][0-9])"_s;

bool looksLikeError(const QString &message)
{
    static const QRegularExpression error(
        u"rror|Invalid|No such file|denied|Could not|Cannot|Unable|not found|too large|No space"_s);
    return message != u"Conversion failed!" && error.match(message).hasMatch();
}

} // namespace

std::optional<double> progressPercent(const QByteArray &piece, double duration)
{
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    const QString text = decoder(piece);
    if (decoder.hasError() || !text.contains(u"time="_s))
        return std::nullopt;
    const QStringList matches = Utils::matchesForRegex(timePattern, text);
    if (matches.isEmpty())
        return std::nullopt;
    const double percent = Utils::secondsFromTimeString(matches.first()) / duration * 100.0;
    if (!std::isfinite(percent))
        return std::nullopt;
    return std::clamp(percent, 0.0, 100.0);
}

std::optional<double> EncoderOutput::feed(const QByteArray &chunk, double duration)
{
    m_pending += chunk;
    const qsizetype end = std::max(m_pending.lastIndexOf('\r'), m_pending.lastIndexOf('\n')) + 1;
    // A line that never ends must not grow without bound.
    const qsizetype complete = end > 0 ? end : (m_pending.size() > maximumPending ? m_pending.size() : 0);
    if (complete == 0)
        return std::nullopt;
    const QByteArray text = m_pending.left(complete);
    m_pending.remove(0, complete);
    keepMessages(text);
    return progressPercent(text, duration);
}

void EncoderOutput::keepMessages(const QByteArray &text)
{
    for (const QByteArray &line : text.split('\n')) {
        const QByteArray bytes = line.mid(line.lastIndexOf('\r') + 1).trimmed();
        if (bytes.isEmpty() || bytes.contains("time="))
            continue;
        const QString message = QString::fromUtf8(bytes);
        m_lastMessage = message;
        if (!looksLikeError(message))
            continue;
        QString &first = message.startsWith(u'[') ? m_firstPartError : m_firstError;
        if (first.isEmpty())
            first = message;
    }
}

QString EncoderOutput::decisiveMessage() const
{
    return !m_firstError.isEmpty() ? m_firstError : !m_firstPartError.isEmpty() ? m_firstPartError : m_lastMessage;
}
