#pragma once

#include "PosterPlan.h"
#include "selection/MotionPath.h"
#include "util/ToolRun.h"

#include <QObject>

// Follow the Motion's analysis: ffmpeg decodes the whole video to small grey
// pictures, a few a second, through a pipe; what moves between them becomes
// a crop path of keyframes. Cancelled by a newer request or by the user.
class FollowJob : public QObject
{
    Q_OBJECT

public:
    explicit FollowJob(const QString &encoderPath, QObject *parent = nullptr);

    // Pictures a second, and their width: enough to see a subject move, cheap to decode to.
    static constexpr int samplesPerSecond = 4;
    static constexpr int sampleWidth = 192;

    // Keyframes for a crop of cropSize, in the pixels shown of video.
    void start(const PosterPlan::Video &video, QSize cropSize);
    void cancel();
    bool isRunning() const { return m_run.isRunning(); }

Q_SIGNALS:
    void progress(double percent);
    void finished(const QList<CropKeyframe> &keys);
    void failed(const QString &reason);

private:
    void read();
    void ended(ToolRun::Outcome outcome, int exitCode);

    const QString m_encoderPath;
    ToolRun m_run;
    QSize m_sampleSize;
    QSize m_frame;
    QSize m_cropSize;
    double m_duration = 0;
    QByteArray m_pending;
    MotionPath::Picture m_last;
    qsizetype m_count = 0;
    QList<MotionPath::Activity> m_activity;
    QString m_lastError;
};
