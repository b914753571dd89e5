#include "ProbeJob.h"

#include "InputFormats.h"

#include <cmath>

using namespace Qt::StringLiterals;

ProbeJob::ProbeJob(const QString &probeTool, int timeoutMs, QObject *parent)
    : QObject(parent)
    , m_report(probeTool, timeoutMs)
    , m_end(probeTool, timeoutMs)
{
    connect(&m_report, &ProbeTool::finished, this, [this](const QString &path, const ProbeTool::Result &result) {
        m_probe = FileProbe::fromResult(path, result);
        // A file refused needs no length, nor a wait for one.
        if (!m_probe->isCroppableVideo()) {
            m_end.cancel();
            m_listed = true;
        }
        conclude();
    });
    connect(&m_end, &ProbeTool::finished, this, [this](const QString &, const ProbeTool::Result &listing) {
        m_listing = listing.report.value_or(QByteArray());
        m_listed = true;
        conclude();
    });
}

QStringList ProbeJob::endArguments(const QString &path, const QString &format)
{
    // A seek far past the end lands on the last keyframe; reading on from there is cheap.
    return InputFormats::inputOptions(format)
        + QStringList { u"-v"_s, u"error"_s, u"-select_streams"_s, u"v"_s, u"-read_intervals"_s, u"999999999%"_s,
                        u"-show_entries"_s, u"format=start_time:packet=stream_index,pts_time,duration_time"_s, u"-of"_s,
                        u"csv=p=0"_s, path };
}

std::optional<double> ProbeJob::endTime(const QByteArray &listing, qint64 stream)
{
    // "stream_index,pts_time,duration_time" per packet, then the format's start time on a line of its own.
    std::optional<double> end;
    double start = 0;
    for (const QByteArray &line : listing.split('\n')) {
        const QList<QByteArray> fields = line.trimmed().split(',');
        bool isNumber = false;
        const double first = fields.value(0).toDouble(&isNumber);
        if (fields.size() == 1 && isNumber)
            start = first;
        else if (fields.size() >= 3 && isNumber && qint64(first) == stream)
            end = std::max(end.value_or(0), fields[1].toDouble() + fields[2].toDouble());
    }
    if (end)
        *end = std::round((*end - start) * 1e6) / 1e6;
    return end;
}

void ProbeJob::start(const QString &path)
{
    cancel();
    // Both at once, on two cores: the listing costs the open nothing it waits for.
    m_report.start(path);
    m_end.start(path, endArguments(path));
}

void ProbeJob::cancel()
{
    m_report.cancel();
    m_end.cancel();
    m_probe.reset();
    m_listed = false;
}

void ProbeJob::conclude()
{
    if (!m_probe || !m_listed)
        return;
    FileProbe probe = *std::exchange(m_probe, std::nullopt);
    m_listed = false;
    const std::optional<double> end = probe.videoStreamIndex()
        ? endTime(std::exchange(m_listing, QByteArray()), *probe.videoStreamIndex())
        : std::nullopt;
    // An AVI's index counts the empty frames after the last packet listed; elsewhere the packets tell the truth.
    const bool differs = end && *end > 0 && std::abs(*end - probe.videoDuration()) > 0.5;
    if (probe.isCroppableVideo() && (differs || probe.videoDuration() <= 0)
        && !InputFormats::countsEveryFrame(probe.formatName()) && end)
        probe = probe.withVideoDuration(*end);
    Q_EMIT finished(probe);
}
