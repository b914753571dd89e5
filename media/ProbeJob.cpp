#include "ProbeJob.h"

using namespace Qt::StringLiterals;

ProbeJob::ProbeJob(const QString &probeTool, int timeoutMs, QObject *parent)
    : QObject(parent)
    , m_report(probeTool, timeoutMs)
    , m_end(probeTool, timeoutMs)
{
    connect(&m_report, &ProbeTool::finished, this,
            [this](const QString &path, const std::optional<QByteArray> &report) {
                const FileProbe probe = FileProbe::fromReport(path, report);
                if (!probe.isCroppableVideo() || probe.videoDuration() > 0 || !probe.videoStreamIndex()) {
                    Q_EMIT finished(probe);
                    return;
                }
                m_probe = probe;
                m_end.start(path, endArguments(path, *probe.videoStreamIndex()));
            });
    connect(&m_end, &ProbeTool::finished, this, [this](const QString &, const std::optional<QByteArray> &listing) {
        const FileProbe probe = std::exchange(m_probe, std::nullopt).value();
        const auto end = listing ? endTime(*listing) : std::nullopt;
        Q_EMIT finished(end ? probe.withVideoDuration(*end) : probe);
    });
}

QStringList ProbeJob::endArguments(const QString &path, qint64 stream)
{
    // A seek far past the end lands on the last keyframe; reading on from there is cheap.
    return { u"-v"_s, u"error"_s, u"-select_streams"_s, QString::number(stream), u"-read_intervals"_s,
             u"999999999%"_s, u"-show_entries"_s, u"format=start_time:packet=pts_time,duration_time"_s,
             u"-of"_s, u"default=noprint_wrappers=1"_s, path };
}

std::optional<double> ProbeJob::endTime(const QByteArray &listing)
{
    std::optional<double> end;
    double start = 0;
    double pts = 0;
    bool hasPts = false;
    for (const QByteArray &line : listing.split('\n')) {
        const qsizetype equals = line.indexOf('=');
        const QByteArray key = line.left(equals).trimmed();
        bool isNumber = false;
        const double value = line.mid(equals + 1).trimmed().toDouble(&isNumber);
        if (key == "start_time") {
            start = isNumber ? value : 0;
        } else if (key == "pts_time") {
            pts = value;
            hasPts = isNumber;
        } else if (key == "duration_time" && hasPts) {
            end = std::max(end.value_or(0), pts + (isNumber ? value : 0));
        }
    }
    if (!end)
        return std::nullopt;
    return std::max(0.0, *end - start);
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
