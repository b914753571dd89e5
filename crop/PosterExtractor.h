#pragma once

#include "PosterPlanner.h"
#include "util/Timeline.h"

#include <QObject>
#include <QProcess>
#include <QSize>
#include <QTimer>

#include <optional>

// Makes the eleven posters, at 1/12 ... 11/12 of the video, from the video
// stream the probe chose, no larger than the screen shows them, and hands
// them over one by one in slider order as each is ready.
//
// Two encoder runs, one for each of two cores, seek to their posters' times
// and decode one keyframe for each; where the container's seeks do not land
// on keyframes, each run first lists the packets around its times to find them.
// A video cheap to decode whole gets exact pictures from one pass instead. Each poster is
// judged by its own picture: one that cannot be made from its keyframe is
// tried once from the keyframe before, and the nearest poster made stands in
// for one that still fails. Only a video of which not one poster can be made
// fails.
class PosterExtractor : public QObject
{
    Q_OBJECT

public:
    // What the pictures come from.
    struct Video
    {
        QString path;
        std::optional<qint64> stream; // its index in the file
        QString format;               // the container, as the probe names it
        double duration = 0;          // of the pictures, in seconds
        double frameRate = 0;
        QSize frame;                  // as stored
        QSize shown;                  // as the viewer sees it
        double startTime = 0;         // of the file's timestamps
        int rotation = 0;             // clockwise, for showing
    };

    PosterExtractor(const QString &encoderPath, const QString &probeToolPath, QObject *parent = nullptr);
    ~PosterExtractor() override;

    static constexpr int frameCount = Timeline::posterCount;
    // A run that hangs is given up after this long.
    static constexpr int runTimeoutMs = 60'000;

    static QString framePath(const QString &framesDirectory, int n);
    // The posters' size: the picture as shown, within bound.
    static QSize posterSize(QSize shown, QSize bound);

    // While path is being probed: where its container needs keyframes listed
    // and its own timestamps tell its length, lists the first poster's
    // keyframes at once; extractPosterFrames() takes the listing over if the
    // probe agrees, so the first poster waits for one process less.
    void foresee(const QString &path);
    // Empties framesDirectory and makes the posters into it; frameMade() for
    // each, then finished() or failed() follows, also when the encoder is
    // missing. bound: the largest poster worth making.
    void extractPosterFrames(const Video &video, const QString &framesDirectory, QSize bound);
    // Stops at once; no further signal follows.
    void cancel();
    bool isRunning() const { return m_next > 0; }
    // Whether poster n has been handed over.
    bool isMade(int n) const { return n >= 1 && n <= m_handedOver; }
    // When poster n's picture is in the video, in seconds from its start: the
    // time of the decoded picture shown, not the time asked for.
    double pictureTime(int n) const { return m_pictureTimes.value(n); }

Q_SIGNALS:
    // Poster n is in place; progress is (n - 1) × 10.
    void frameMade(int n, int progress);
    void finished();
    // Not one poster could be made; reason is the encoder's decisive error.
    void failed(const QString &reason, bool timedOut);

private:
    // An encoder run, or first the listing of its posters' keyframes, then the run.
    struct Part
    {
        QProcess process;
        bool listing = false;
        QList<int> posters;                 // those its listing is for
        QList<PosterPlanner::Input> inputs; // of its run; empty for a whole pass
        QString messages;
        QList<QList<double>> picked; // per input, the times of the pictures it picked
        qsizetype parsed = 0;        // of the messages
        // Takes what the process wrote; once it has ended, an unfinished last line too.
        void read(bool ended = false);
    };

    // Starts part p's process; a part that fails to start ends only once every part has been started.
    void start(int p, const QString &program, const QStringList &arguments);
    // The inputs split over two encoders, one for each of two cores; the first, which opens all its
    // inputs before it decodes any, takes the smaller half.
    void startRuns(const QList<PosterPlanner::Input> &inputs);
    // Part p lists its posters' keyframes within reach of their times.
    void startListing(int p, double reach);
    void startRun(int p);
    void partEnded(int p);
    void runsEnded();
    // Moves every picture now written into place and hands over those next in order.
    void collect();
    // The file and time of poster n's picture, once the run has written it.
    std::optional<std::pair<QString, double>> pictureFor(int n) const;
    QString runPrefix(int p) const;
    bool retry();
    void finish();

    const QString m_encoderPath;
    const QString m_probeToolPath;
    static constexpr int partCount = 2;
    // Where keyframes are listed first, how many posters the first part takes: the first poster waits
    // for its listing and for its run, which opens all its inputs before it decodes any.
    static constexpr int listedFirst = 1;
    // How far the probe's times may lie from those foreseen: a foreseen listing reaches that much further.
    static constexpr double foresight = 1;
    bool isForeseen(const Video &video, const QList<double> &times) const;
    Part m_parts[partCount];
    bool m_starting = false;
    bool m_retrying = false;
    bool m_timedOut = false; // a run hung: no retry, and the failure says so
    bool m_whole = false;
    QTimer m_timeout;
    QTimer m_poll;
    QString m_framesDirectory;
    PosterPlanner::Source m_source;
    QList<double> m_times;
    QList<double> m_keyframes; // listed, sorted
    QList<double> m_foreseen;  // the timestamps the first part lists around before the probe
    QString m_firstError;
    QList<bool> m_placed;                 // per poster, its own picture in place
    QList<double> m_pictureTimes;
    int m_next = 0; // the next poster to hand over, 1 to 11; 0 when idle
    int m_handedOver = 0;
};
