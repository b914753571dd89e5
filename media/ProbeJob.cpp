#include "ProbeJob.h"

ProbeJob::ProbeJob(QObject *parent)
    : QObject(parent)
{
    m_timeout.setSingleShot(true);
    m_timeout.setInterval(FileProbe::toolTimeoutMs);
    connect(&m_timeout, &QTimer::timeout, this, [this] {
        FileProbe::writeTimeout(m_path);
        m_process.kill();
    });
    connect(&m_process, &QProcess::finished, this, [this] {
        complete(m_process.readAllStandardOutput());
    });
    connect(&m_process, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error != QProcess::FailedToStart)
            return;
        FileProbe::writeStartFailure(m_process.program(), m_process.errorString());
        complete(std::nullopt);
    });
}

ProbeJob::~ProbeJob()
{
    cancel();
}

void ProbeJob::start(const QString &path, const QString &probeTool)
{
    cancel();
    m_path = path;
    if (!FileProbe::mayProbe(path)) {
        const quint64 run = m_run;
        QMetaObject::invokeMethod(this, [this, run] {
            if (run == m_run)
                complete(std::nullopt);
        }, Qt::QueuedConnection);
        return;
    }
    FileProbe::prepareToolProcess(m_process, probeTool, path);
    m_process.start(QIODevice::ReadOnly);
    m_timeout.start();
}

void ProbeJob::cancel()
{
    ++m_run;
    m_timeout.stop();
    m_path.clear();
    if (m_process.state() != QProcess::NotRunning) {
        const QSignalBlocker blocker(m_process);
        m_process.kill();
        m_process.waitForFinished(-1);
    }
}

void ProbeJob::complete(const std::optional<QByteArray> &report)
{
    if (m_path.isEmpty())
        return;
    const QString path = std::exchange(m_path, QString());
    m_timeout.stop();
    m_report = report;
    Q_EMIT finished(FileProbe::fromReport(path, report));
}
