#pragma once

#include "FileProbe.h"
#include "ProbeTool.h"

#include <QObject>

// Probes one file without blocking the event loop and hands over the record.
class ProbeJob : public QObject
{
    Q_OBJECT

public:
    explicit ProbeJob(const QString &probeTool, int timeoutMs = ProbeTool::defaultTimeoutMs,
                      QObject *parent = nullptr);

    // Starts probing path; finished() follows, also when the tool cannot run.
    // A job that is still running is cancelled first.
    void start(const QString &path) { m_tool.start(path); }
    // Stops the tool; no finished() follows.
    void cancel() { m_tool.cancel(); }
    bool isRunning() const { return m_tool.isRunning(); }

Q_SIGNALS:
    void finished(const FileProbe &probe);

private:
    ProbeTool m_tool;
};
