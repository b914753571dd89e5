#pragma once

#include "util/ChildProcess.h"

#include <QObject>
#include <QProcess>

#include <optional>

// The keyframe times of a video's streams, as the probe tool lists its
// packets, gathered in the background while the probe itself runs.
class KeyframeListing : public QObject
{
    Q_OBJECT

public:
    explicit KeyframeListing(const QString &probeToolPath, QObject *parent = nullptr);
    ~KeyframeListing() override;

    // The keyframe times of stream (the first listed without one) in the
    // tool's listing of "stream_index,pts_time,flags" lines, sorted.
    static QList<double> keyframeTimes(const QByteArray &listing, std::optional<qint64> stream);

    // Starts listing path's video packets; in the background, behind more urgent work.
    void start(const QString &path, ChildPriority priority);
    void cancel();
    bool isListing(const QString &path) const { return m_path == path && m_process.state() != QProcess::NotRunning; }
    // The stream's keyframes, once the listing of path has ended; empty otherwise.
    QList<double> keyframes(const QString &path, std::optional<qint64> stream);

Q_SIGNALS:
    void finished();

private:
    QProcess m_process;
    QString m_path;
    bool m_done = false;
    QByteArray m_listed;
};
