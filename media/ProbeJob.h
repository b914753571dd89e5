#pragma once

#include "FileProbe.h"
#include "ProbeTool.h"

#include <QObject>

// Probes one file without blocking the event loop and hands over the record.
// A video whose header gives no duration (a browser's or a screen recorder's
// file written to a pipe) has it measured from its last packets.
class ProbeJob : public QObject
{
    Q_OBJECT

public:
    explicit ProbeJob(const QString &probeTool, int timeoutMs = ProbeTool::defaultTimeoutMs,
                      QObject *parent = nullptr);

    // The tool's arguments that list the last packets of stream in path.
    static QStringList endArguments(const QString &path, qint64 stream, const QString &format = QString());
    // Where the listed packets end, from the file's start; nothing when none is listed.
    static std::optional<double> endTime(const QByteArray &listing);

    // Starts probing path; finished() follows, also when the tool cannot run.
    // A job that is still running is cancelled first.
    void start(const QString &path);
    // Stops the tool; no finished() follows.
    void cancel();
    bool isRunning() const { return m_report.isRunning() || m_end.isRunning(); }

Q_SIGNALS:
    void finished(const FileProbe &probe);

private:
    ProbeTool m_report;
    ProbeTool m_end;
    std::optional<FileProbe> m_probe; // while its end is measured
};
