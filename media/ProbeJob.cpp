#include "ProbeJob.h"

ProbeJob::ProbeJob(const QString &probeTool, int timeoutMs, QObject *parent)
    : QObject(parent)
    , m_tool(probeTool, timeoutMs)
{
    connect(&m_tool, &ProbeTool::finished, this, [this](const QString &path, const std::optional<QByteArray> &report) {
        Q_EMIT finished(FileProbe::fromReport(path, report));
    });
}
