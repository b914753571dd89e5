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

PosterStrip::~PosterStrip()
{
    cancel();
}

void PosterStrip::foreseeIncoming(const QString &path)
{
    dropIncoming();
    incoming()->foresee(path);
}

void PosterStrip::startIncoming(const PosterExtractor::Video &video, const QString &base, QSize bound)
{
    // One that has only foreseen keeps what it foresaw, if it is of this file.
    if (m_incoming.extractor && m_incoming.extractor->isRunning())
        dropIncoming();
    m_incoming.folder = base + u'/' + QString::number(++m_opens);
    incoming()->extractPosterFrames(video, m_incoming.folder, bound);
}

PosterExtractor *PosterStrip::incoming()
{
    if (m_incoming.extractor)
        return m_incoming.extractor.get();
    m_incoming.extractor = std::make_unique<PosterExtractor>(m_encoderPath, m_probeToolPath);
    PosterExtractor *extractor = m_incoming.extractor.get();
    // Word from an extractor that has been let go is not heard.
    connect(extractor, &PosterExtractor::frameMade, this, [this, extractor](int n, int progress) {
        if (extractor == m_incoming.extractor.get()) {
            m_shown.extractor.reset();
            removeFolder(m_shown.folder);
            m_shown = std::move(m_incoming);
            m_incoming = {};
            Q_EMIT incomingAdopted();
        }
        if (extractor == m_shown.extractor.get())
            Q_EMIT frameMade(n, progress);
    });
    connect(extractor, &PosterExtractor::finished, this, [this, extractor] {
        if (extractor == m_shown.extractor.get())
            Q_EMIT finished();
    });
    connect(extractor, &PosterExtractor::failed, this, [this, extractor](const QString &reason, bool timedOut) {
        if (extractor != m_incoming.extractor.get())
            return;
        // It lives on a little while it tells of its failure.
        m_incoming.extractor.release()->deleteLater();
        dropIncoming();
        Q_EMIT incomingFailed(reason, timedOut);
    });
    return extractor;
}

void PosterStrip::dropIncoming()
{
    if (m_incoming.extractor)
        m_incoming.extractor->cancel();
    m_incoming.extractor.reset();
    removeFolder(m_incoming.folder);
    m_incoming = {};
}

void PosterStrip::cancel()
{
    dropIncoming();
    if (m_shown.extractor)
        m_shown.extractor->cancel();
}

int PosterStrip::shownPoster(int n) const
{
    const PosterExtractor *posters = m_shown.extractor.get();
    if (!posters)
        return 0;
    while (n > 1 && !posters->isMade(n))
        --n;
    return posters->isMade(n) ? n : 0;
}

double PosterStrip::pictureTime(int n) const
{
    return m_shown.extractor ? m_shown.extractor->pictureTime(n) : 0;
}

QStringList PosterStrip::framePaths() const
{
    QStringList paths;
    for (int n = 1; n <= PosterExtractor::frameCount; ++n)
        paths << framePath(n);
    return paths;
}

QList<double> PosterStrip::pictureTimes() const
{
    QList<double> times;
    for (int n = 1; n <= PosterExtractor::frameCount; ++n)
        times << pictureTime(n);
    return times;
}
