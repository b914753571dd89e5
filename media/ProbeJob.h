#pragma once

#include "FileProbe.h"
#include "ProbeTool.h"

#include <QObject>

// Probes one file without blocking the event loop and hands over the record.
// Beside the report, the video's last packets are listed: where they end
// other than the header says (a stream copied through a pipe, a cut file, a
// live recording), the video lasts until they end.
class ProbeJob : public QObject
{
    Q_OBJECT

public:
    explicit ProbeJob(const QString &probeTool, int timeoutMs = ProbeTool::defaultTimeoutMs,
                      QObject *parent = nullptr);

    // The tool's arguments that list the last packets of every video stream in path.
    static QStringList endArguments(const QString &path, const QString &format = QString());
    // Where stream's listed packets end, from the file's start; nothing when none is listed.
    static std::optional<double> endTime(const QByteArray &listing, qint64 stream);

    // Starts probing path; finished() follows, also when the tool cannot run.
    // A job that is still running is cancelled first.
    void start(const QString &path);
    // Stops the tool; no finished() follows.
    void cancel();
    bool isRunning() const { return m_report.isRunning() || m_end.isRunning(); }

Q_SIGNALS:
    void finished(const FileProbe &probe);

private:
    void conclude();

    ProbeTool m_report;
    ProbeTool m_end;
    std::optional<FileProbe> m_probe; // once reported
    QByteArray m_listing;             // the last packets
    bool m_listed = false;            // once they are listed, or need not be
};
