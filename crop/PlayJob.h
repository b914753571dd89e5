#pragma once

#include "PosterPlan.h"
#include "util/ToolRun.h"

#include <QImage>
#include <QObject>

// Plays a video's pictures at their real speed, from a time, at the size
// they are shown: ffmpeg decodes and scales them and writes them through a
// pipe as it reads the input at its own rate, so nothing waits on the
// window's thread. Without sound.
class PlayJob : public QObject
{
    Q_OBJECT

public:
    explicit PlayJob(const QString &encoderPath, QObject *parent = nullptr);

    void start(const PosterPlan::Video &video, double from, QSize size);
    void stop();
    bool isPlaying() const { return m_run.isRunning(); }

Q_SIGNALS:
    // The picture due now, and its time in the video.
    void picture(const QImage &image, double time);
    // The video's end is reached, or it could not be played.
    void ended();

private:
    void read();

    const QString m_encoderPath;
    ToolRun m_run;
    QSize m_size;
    double m_from = 0;
    double m_frameRate = 25;
    qint64 m_count = 0;
    QByteArray m_pending;
};
