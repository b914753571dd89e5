#pragma once

#include "crop/PosterJob.h"

#include <QObject>

#include <memory>

// The posters of the video shown, and those of a new file until its first
// poster replaces them: each set made by its own job into its own folder, so
// that a new file refused or cancelled leaves the shown set whole.
class PosterStrip : public QObject
{
    Q_OBJECT

public:
    PosterStrip(const QString &encoderPath, const QString &probeToolPath, QObject *parent = nullptr);

    // Starts a new file's posters in a fresh folder under base.
    void startIncoming(const PosterPlan::Video &video, QSize posterSize, const QString &base);
    bool hasIncoming() const { return bool(m_incoming.job); }
    // Stops a new file's posters and removes them.
    void dropIncoming();
    void cancel();

    // The shown video's posters made so far, in the order of their times.
    const QList<Poster> &posters() const { return m_shown.posters; }
    QStringList framePaths() const;
    QList<double> pictureTimes() const;

Q_SIGNALS:
    // The new file's first poster is here: its set is now the shown one.
    void incomingAdopted();
    // A poster of the shown set has come, at index among posters().
    void posterMade(int index);
    // All posters of the shown set are made.
    void finished();
    // Not one poster of the new file could be made: the decoder's reason, or it hung.
    void incomingFailed(const QString &reason, bool timedOut);

private:
    struct Set
    {
        std::unique_ptr<PosterJob> job;
        QString folder;
        QList<Poster> posters;
    };

    const QString m_encoderPath;
    const QString m_probeToolPath;
    Set m_shown;
    Set m_incoming;
    int m_opens = 0;
};
