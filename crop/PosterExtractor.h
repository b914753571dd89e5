#pragma once

#include "KeyframeListing.h"
#include "PosterPlanner.h"

#include <QObject>
#include <QProcess>
#include <QSize>
#include <QStringList>
#include <QTimer>

#include <memory>
#include <optional>
#include <vector>

// Makes the eleven poster frames, at 1/12 ... 11/12 of the video, from the
// video stream the probe chose, no larger than the screen shows them.
//
// Opening a file prepares while the probe runs: the video's keyframes are
// listed, and an encoder loads and waits, on a pipe, to learn which frames to
// pick. The planner then decodes each keyframe interval once, and keyframe
// posters in passes over keyframes only, in runs on every core; the frames are
// still announced in order. A run whose decoder reports
// trouble (a seek that landed where references are missing gives grey or
// blocky pictures) has its posters made again by decoding from the start. For
// a frame the encoder cannot make at all, the nearest earlier frame stands in.
class PosterExtractor : public QObject
{
    Q_OBJECT

public:
    // What the posters come from.
    struct Video
    {
        QString path;
        std::optional<qint64> stream; // its index in the file
        QString codec;                // names the decoder in the tool's messages
        double duration = 0;          // of the pictures, in seconds
        double frameRate = 0;
        QSize frame;                  // as stored
        QSize shown;                  // as the viewer sees it
    };

    PosterExtractor(const QString &encoderPath, const QString &probeToolPath, QObject *parent = nullptr);
    ~PosterExtractor() override;

    static constexpr int frameCount = 11;
    // A run that hangs is given up after this long.
    static constexpr int frameTimeoutMs = 60'000;
    // How long the posters wait for a keyframe listing that the probe did not outlast.
    static constexpr int keyframeGraceMs = 300;
    // Files up to this size get an encoder that decodes every picture started while the probe
    // runs, larger ones one that decodes keyframes only.
    static constexpr qint64 warmEncoderFileLimit = 32 * 1024 * 1024;

    // The seek texts for a duration: "6.0", "12.0", ... for 72 seconds.
    static QStringList seekTimes(double duration);
    static QString framePath(const QString &framesDirectory, int n);
    // Whether a run's messages (with their levels) tell of a picture decoded
    // without its references.
    static bool decodeTrouble(const QString &messages, const QString &codec);
    // The posters' size: the picture as shown, within bound.
    static QSize posterSize(QSize shown, QSize bound);

    // Empties framesDirectory and starts what the posters of path will need,
    // while the probe runs.
    void prepare(const QString &path, const QString &framesDirectory);
    // Makes the posters into framesDirectory; finished() or failed() follows,
    // also when the encoder is missing. bound: the largest poster worth making.
    void extractPosterFrames(const Video &video, const QString &framesDirectory, QSize bound);
    // Stops at once; no further signal follows.
    void cancel();
    bool isRunning() const { return m_next > 0; }
    // When poster n's picture is in the video, in seconds: its time, or that
    // of the keyframe or earlier frame that stands in for it.
    double pictureTime(int n) const { return m_pictureTimes.value(n); }

Q_SIGNALS:
    // Frame n has been made (or stood in for); progress is (n - 1) × 10.
    void frameMade(int n, int progress);
    void finished();
    // Not one frame could be made; reason is what the encoder said.
    void failed(const QString &reason);

private:
    // One encoder process and the posters it makes; its timeout runs while it does.
    struct Run
    {
        QProcess process;
        QTimer timeout;
        QList<int> posters;         // emptied once it has ended
        PosterPlanner::Run planned; // empty for a poster decoded from the start
        QString prefix;             // of the files it writes, for a planned run
    };

    std::unique_ptr<Run> newRun(const QStringList &arguments);
    void startWarmEncoder(bool keyframesOnly);
    bool feedWarmEncoder(const PosterPlanner::Run &run);
    void planRuns();
    // Queues a run; it starts when a core is free.
    void queue(std::unique_ptr<Run> run);
    void launchWaiting();
    void runEnded(Run *run);
    // Gives each poster of a planned run the file of the frame picked for it.
    void collect(const Run &run, const QString &messages);
    void announceReady();
    QList<double> posterTimes() const;
    PosterPlanner::Source source() const;
    PosterPlanner::Video costs() const;

    const QString m_encoderPath;
    KeyframeListing m_listing;
    QTimer m_grace;
    QString m_preparedPath;
    std::unique_ptr<Run> m_warm; // loaded, waiting for its filter graph
    QString m_warmGraph;         // the pipe it reads it from
    bool m_warmKeyframesOnly = false;
    Video m_video;
    QString m_framesDirectory;
    QStringList m_seekTimes;
    QSize m_posterSize;
    std::vector<std::unique_ptr<Run>> m_runs;
    QList<bool> m_done;     // per poster, made or given up
    QList<double> m_pictureTimes;
    int m_next = 0;         // the next poster to announce, 1 to 11; 0 when idle
    bool m_madeAny = false;
    QString m_firstError;
};
