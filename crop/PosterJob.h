#pragma once

#include "PosterPlan.h"
#include "util/ToolRun.h"

#include <QObject>
#include <QTimer>

#include <array>
#include <memory>

// One poster: its picture's file and its own time.
struct Poster
{
    QString path;
    double time = 0;
};

// Makes a video's posters into a folder, as PosterPlan plans them, and hands
// them over one by one in the order of their times, as each is ready; a
// picture made twice (two times reaching one keyframe) is handed over once.
// Only a video of which not one poster can be made fails.
class PosterJob : public QObject
{
    Q_OBJECT

public:
    PosterJob(const QString &encoderPath, const QString &probeToolPath, QObject *parent = nullptr);

    // A run that hangs is given up after this long.
    static constexpr int timeoutMs = 60'000;

    // Empties folder and makes the posters of video into it, posterSize large.
    void start(const PosterPlan::Video &video, QSize posterSize, const QString &folder);
    // Stops at once; no further signal follows.
    void cancel();
    bool isRunning() const { return m_next >= 0; }

Q_SIGNALS:
    void posterMade(const Poster &poster);
    void finished();
    // reason: the decoder's decisive line; timedOut: a run hung.
    void failed(const QString &reason, bool timedOut);

private:
    struct Part
    {
        QList<int> posters;
        PosterPlan::Run run; // once planned: where keyframes are listed first, after the listing
        std::unique_ptr<ToolRun> tool;
        QString messages;
    };

    void startListing(int p);
    void startRun(int p, const QList<double> &keyframes);

    // Hands over what is ready, in order; finishes once every poster is made or cannot be.
    void collect();
    // Poster n's file and time once its run wrote it; nothing yet; a time below 0 when it never will be.
    std::optional<Poster> pictureFor(int n) const;

    const QString m_encoderPath;
    const QString m_probeToolPath;
    PosterPlan::Video m_video;
    QSize m_size;
    QString m_folder;
    QList<double> m_times;
    std::array<Part, 2> m_parts;
    QTimer m_poll;
    QTimer m_timeout;
    QList<Poster> m_made;
    int m_next = -1; // the next poster to hand over; -1 when idle
    bool m_timedOut = false;
};
