#include "PosterStrip.h"

#include <QDir>

namespace {

// QDir("") is the working folder: an empty name removes nothing.
void removeFolder(const QString &folder)
{
    if (!folder.isEmpty())
        QDir(folder).removeRecursively();
}

} // namespace

PosterStrip::PosterStrip(const QString &encoderPath, const QString &probeToolPath, QObject *parent)
    : QObject(parent)
    , m_encoderPath(encoderPath)
    , m_probeToolPath(probeToolPath)
{
}

void PosterStrip::startIncoming(const PosterPlan::Video &video, QSize posterSize, const QString &base)
{
    dropIncoming();
    m_incoming.folder = base + u'/' + QString::number(++m_opens);
    m_incoming.job = std::make_unique<PosterJob>(m_encoderPath, m_probeToolPath);
    PosterJob *job = m_incoming.job.get();
    // Word from a job that has been let go is not heard.
    connect(job, &PosterJob::posterMade, this, [this, job](const Poster &poster) {
        if (job == m_incoming.job.get()) {
            removeFolder(m_shown.folder);
            m_shown = std::move(m_incoming);
            m_incoming = {};
            Q_EMIT incomingAdopted();
        }
        if (job != m_shown.job.get())
            return;
        QList<Poster> &posters = m_shown.posters;
        const auto at = std::upper_bound(posters.begin(), posters.end(), poster.time,
                                         [](double time, const Poster &made) { return time < made.time; });
        const int index = int(at - posters.begin());
        posters.insert(at, poster);
        Q_EMIT posterMade(index);
    });
    connect(job, &PosterJob::finished, this, [this, job] {
        if (job == m_shown.job.get())
            Q_EMIT finished();
    });
    connect(job, &PosterJob::failed, this, [this, job](const QString &reason, bool timedOut) {
        if (job != m_incoming.job.get())
            return;
        // It lives on a little while it tells of its failure.
        m_incoming.job.release()->deleteLater();
        dropIncoming();
        Q_EMIT incomingFailed(reason, timedOut);
    });
    job->start(video, posterSize, m_incoming.folder);
}

void PosterStrip::dropIncoming()
{
    m_incoming.job.reset();
    removeFolder(m_incoming.folder);
    m_incoming = {};
}

void PosterStrip::cancel()
{
    dropIncoming();
    if (m_shown.job)
        m_shown.job->cancel();
}

QStringList PosterStrip::framePaths() const
{
    QStringList paths;
    for (const Poster &poster : m_shown.posters)
        paths << poster.path;
    return paths;
}

QList<double> PosterStrip::pictureTimes() const
{
    QList<double> times;
    for (const Poster &poster : m_shown.posters)
        times << poster.time;
    return times;
}
