#pragma once

#include <QObject>
#include <QProcess>
#include <QStringList>
#include <QTimer>

// Makes the eleven poster frames, at 1/12 ... 11/12 of the video, one encoder
// run after another on the event loop. For a frame the encoder cannot make
// (a time past the last frame) the nearest earlier frame stands in.
class PosterExtractor : public QObject
{
    Q_OBJECT

public:
    explicit PosterExtractor(const QString &encoderPath, QObject *parent = nullptr);
    ~PosterExtractor() override;

    static constexpr int frameCount = 11;
    // A run that hangs is given up after this long.
    static constexpr int frameTimeoutMs = 60'000;

    // The seek texts for a duration: "6.0", "12.0", ... for 72 seconds.
    static QStringList seekTimes(double duration);
    static QStringList posterArguments(const QString &seek, const QString &inputPath, const QString &framePath);
    static QString framePath(const QString &framesDirectory, int n);

    // Empties framesDirectory and fills it; finished() follows, also when the
    // encoder is missing.
    void extractPosterFrames(const QString &inputPath, double duration, const QString &framesDirectory);
    // Stops at once; no further signal follows.
    void cancel();
    bool isRunning() const { return m_frame > 0; }

Q_SIGNALS:
    // Frame n has been made (or stood in for); progress is (n - 1) × 10.
    void frameMade(int n, int progress);
    void finished();

private:
    void startRun();
    void runEnded();

    const QString m_encoderPath;
    QProcess m_process;
    QTimer m_timeout;
    QString m_inputPath;
    QString m_framesDirectory;
    QStringList m_seekTimes;
    int m_frame = 0; // 1 to 11 while running, 0 when idle
};
