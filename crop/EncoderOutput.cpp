#include "EncoderOutput.h"

#include <QRegularExpression>

#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;

namespace {

constexpr qsizetype maximumPending = 64 * 1024;

bool looksLikeError(const QString &message)
{
    static const QRegularExpression error(
        u"rror|Invalid|No such file|denied|Could not|Cannot|Unable|not found|too large|No space"_s);
    return message != u"Conversion failed!" && error.match(message).hasMatch();
}

} // namespace

ProgressFigures figuresOf(const EncoderProgress &report, double askedSeconds)
{
    ProgressFigures figures;
    figures.speed = std::isfinite(report.speed) && report.speed > 0 ? report.speed : 0;
    const double done = askedSeconds > 0 && std::isfinite(report.seconds) ? report.seconds / askedSeconds : 0;
    figures.percent = report.ended ? 100 : std::clamp(done * 100, 0.0, 100.0);
    if (report.ended || !(askedSeconds > 0))
        return figures;
    if (figures.speed > 0)
        figures.secondsLeft = std::max(0.0, askedSeconds - report.seconds) / figures.speed;
    // A guess from too little would jump about: after a second of output, or a fiftieth of it.
    if (report.bytes > 0 && report.seconds >= std::min(1.0, askedSeconds / 50) && done > 0)
        figures.expectedBytes = qint64(double(report.bytes) / std::min(done, 1.0));
    return figures;
}

QList<EncoderProgress> EncoderOutput::feedProgress(const QByteArray &piece)
{
    QList<EncoderProgress> reports;
    m_pending += piece;
    qsizetype from = 0;
    for (qsizetype end = m_pending.indexOf('\n'); end >= 0; end = m_pending.indexOf('\n', from)) {
        const QByteArray line = m_pending.mid(from, end - from).trimmed();
        from = end + 1;
        const qsizetype equals = line.indexOf('=');
        if (equals <= 0)
            continue;
        const QByteArray key = line.left(equals);
        const QByteArray value = line.mid(equals + 1);
        bool ok = false;
        if (key == "out_time_us") {
            const double micros = value.toDouble(&ok);
            if (ok && std::isfinite(micros))
                m_report.seconds = std::max(0.0, micros / 1e6);
        } else if (key == "speed") {
            const double speed = value.chopped(value.endsWith('x') ? 1 : 0).trimmed().toDouble(&ok);
            m_report.speed = ok && std::isfinite(speed) ? speed : 0;
        } else if (key == "total_size") {
            const qint64 bytes = value.toLongLong(&ok);
            m_report.bytes = ok ? std::max<qint64>(0, bytes) : m_report.bytes;
        } else if (key == "progress") {
            m_report.ended = value == "end";
            reports << m_report;
        }
    }
    m_pending.remove(0, from);
    // A line that never ends must not grow without bound.
    if (m_pending.size() > maximumPending)
        m_pending.clear();
    return reports;
}

void EncoderOutput::keepMessage(const QString &line)
{
    const QString message = line.trimmed();
    if (message.isEmpty())
        return;
    m_lastMessage = message;
    if (!looksLikeError(message))
        return;
    QString &first = message.startsWith(u'[') ? m_firstPartError : m_firstError;
    if (first.isEmpty())
        first = message;
}

QString EncoderOutput::decisiveMessage() const
{
    return !m_firstError.isEmpty() ? m_firstError : !m_firstPartError.isEmpty() ? m_firstPartError : m_lastMessage;
}
