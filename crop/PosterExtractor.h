#pragma once

#include <QObject>
#include <QProcess>
#include <QStringList>
#include <QTimer>

#include <optional>

// Makes the eleven poster frames, at 1/12 ... 11/12 of the video, one encoder
// run after another on the event loop, each from the video stream the probe
// chose. A run that seeks quickly but whose decoder reports trouble (a seek
// that landed where references are missing gives grey or blocky pictures) is
// made again by decoding from the start. For a frame the encoder cannot make
// at all, the nearest earlier frame stands in.
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
    };

    explicit PosterExtractor(const QString &encoderPath, QObject *parent = nullptr);
    ~PosterExtractor() override;

    static constexpr int frameCount = 11;
    // A run that hangs is given up after this long.
    static constexpr int frameTimeoutMs = 60'000;

    // The seek texts for a duration: "6.0", "12.0", ... for 72 seconds.
    static QStringList seekTimes(double duration);
    // Seeking before the input is quick; after it, every frame up to the time is decoded.
    static QStringList posterArguments(const Video &video, const QString &seek, const QString &framePath,
                                       bool decodeFromStart);
    static QString framePath(const QString &framesDirectory, int n);
    // Whether a run's messages tell of a picture decoded without its references.
    static bool decodeTrouble(const QString &messages, const QString &codec);

    // Empties framesDirectory and fills it; finished() or failed() follows,
    // also when the encoder is missing.
    void extractPosterFrames(const Video &video, const QString &framesDirectory);
    // Stops at once; no further signal follows.
    void cancel();
    bool isRunning() const { return m_frame > 0; }

Q_SIGNALS:
    // Frame n has been made (or stood in for); progress is (n - 1) × 10.
    void frameMade(int n, int progress);
    void finished();
    // Not one frame could be made; reason is what the encoder said.
    void failed(const QString &reason);

private:
    void startRun(bool decodeFromStart);
    void runEnded();

    const QString m_encoderPath;
    QProcess m_process;
    QTimer m_timeout;
    Video m_video;
    QString m_framesDirectory;
    QStringList m_seekTimes;
    int m_frame = 0; // 1 to 11 while running, 0 when idle
    bool m_running = false; // a run has started and not yet been dealt with
    bool m_decodingFromStart = false;
    bool m_madeAny = false;
    QString m_firstError;
};
