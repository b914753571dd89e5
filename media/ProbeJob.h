#pragma once

#include "FileProbe.h"

#include <QObject>
#include <QProcess>
#include <QTimer>

// Probes one file without blocking the event loop and hands over the record.
class ProbeJob : public QObject
{
    Q_OBJECT

public:
    explicit ProbeJob(QObject *parent = nullptr);
    ~ProbeJob() override;

    // Starts probing path with probeTool; finished() follows, also when the
    // tool cannot run. A job that is still running is cancelled first.
    void start(const QString &path, const QString &probeTool);
    // Stops the tool; no finished() follows.
    void cancel();
    bool isRunning() const { return !m_path.isEmpty(); }
    // What the tool printed for the latest finished(), to derive the record
    // again for another path (the same file after a rename).
    const std::optional<QByteArray> &report() const { return m_report; }

Q_SIGNALS:
    void finished(const FileProbe &probe);

private:
    void complete(const std::optional<QByteArray> &report);

    QProcess m_process;
    QTimer m_timeout;
    QString m_path;
    std::optional<QByteArray> m_report;
    quint64 m_run = 0; // tells a queued refusal of an earlier start from the current one
};
