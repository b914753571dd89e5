#pragma once

#include "crop/PosterExtractor.h"

#include <QObject>

#include <memory>

// The posters of the video shown, and those of a new file until its first
// poster replaces them: each set made by its own extractor into its own
// folder, so that a new file refused or cancelled leaves the shown set whole.
class PosterStrip : public QObject
{
    Q_OBJECT

public:
    PosterStrip(const QString &encoderPath, const QString &probeToolPath, QObject *parent = nullptr);
    ~PosterStrip() override;

    // A new file is being probed: its first posters' keyframes may be listed meanwhile.
    void foreseeIncoming(const QString &path);
    // Starts a new file's posters in a fresh folder under base.
    void startIncoming(const PosterExtractor::Video &video, const QString &base, QSize bound);
    bool hasIncoming() const { return bool(m_incoming.extractor); }
    // Stops a new file's posters and removes them.
    void dropIncoming();
    void cancel();

    // The poster that stands for slider place n: n once made, else the last made before it; 0 if none.
    int shownPoster(int n) const;
    double pictureTime(int n) const;
    QString framePath(int n) const { return PosterExtractor::framePath(m_shown.folder, n); }
    QStringList framePaths() const;
    QList<double> pictureTimes() const;

Q_SIGNALS:
    // The new file's first poster is here: its set is now the shown one.
    void incomingAdopted();
    // A poster of the shown set, in slider order; progress in percent.
    void frameMade(int n, int progress);
    // All posters of the shown set are made.
    void finished();
    // Not one poster of the new file could be made, as the encoder said, or in time.
    void incomingFailed(const QString &reason, bool timedOut);

private:
    struct Set
    {
        std::unique_ptr<PosterExtractor> extractor;
        QString folder;
    };

    // The new file's extractor, made on first use.
    PosterExtractor *incoming();

    const QString m_encoderPath;
    const QString m_probeToolPath;
    Set m_shown;
    Set m_incoming;
    int m_opens = 0;
};
