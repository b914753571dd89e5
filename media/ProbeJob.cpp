#include "ProbeJob.h"

using namespace Qt::StringLiterals;

ProbeJob::ProbeJob(const QString &probeTool, int timeoutMs, QObject *parent)
    : QObject(parent)
    , m_report(probeTool, timeoutMs)
    , m_end(probeTool, timeoutMs)
{
    connect(&m_report, &ProbeTool::finished, this,
            [this](const QString &path, const ProbeTool::Result &result) {
                const FileProbe probe = FileProbe::fromResult(path, result);
                if (!probe.isCroppableVideo() || probe.videoDuration() > 0 || !probe.videoStreamIndex()) {
                    Q_EMIT finished(probe);
                    return;
                }
                m_probe = probe;
                m_end.start(path, endArguments(path, *probe.videoStreamIndex()));
            });
    connect(&m_end, &ProbeTool::finished, this, [this](const QString &, const ProbeTool::Result &listing) {
        const FileProbe probe = std::exchange(m_probe, std::nullopt).value();
        const auto end = listing.report ? endTime(*listing.report) : std::nullopt;
        Q_EMIT finished(end ? probe.withVideoDuration(*end) : probe);
    });
}

QStringList ProbeJob::endArguments(const QString &path, qint64 stream, const QString &format)
{
    // A seek far past the end lands on the last keyframe; reading on from there is cheap.
    return ProbeTool::packetListing(path, QString::number(stream), u"999999999%"_s, format);
}

std::optional<double> ProbeJob::endTime(const QByteArray &listing)
{
    std::optional<double> end;
    for (const ProbeTool::Packet &packet : ProbeTool::packets(listing))
        end = std::max(end.value_or(0), packet.time + packet.duration);
    return end;
}

void ProbeJob::start(const QString &path)
{
    cancel();
    m_report.start(path);
}

void ProbeJob::cancel()
{
    m_report.cancel();
    m_end.cancel();
    m_probe.reset();
}
