#include "PosterJob.h"

#include <QDir>
#include <QFile>
#include <QImageReader>

using namespace Qt::StringLiterals;

PosterJob::PosterJob(const QString &encoderPath, const QString &probeToolPath, QObject *parent)
    : QObject(parent)
    , m_encoderPath(encoderPath)
    , m_probeToolPath(probeToolPath)
{
    // Each poster is renamed into place whole: a short look hands it over without waiting for its run's end
    // (first_poster_ms).
    m_poll.setInterval(10);
    connect(&m_poll, &QTimer::timeout, this, &PosterJob::collect);
    m_timeout.setSingleShot(true);
    m_timeout.setInterval(timeoutMs);
    connect(&m_timeout, &QTimer::timeout, this, [this] {
        m_timedOut = true;
        for (Part &part : m_parts)
            part.tool.reset();
        collect();
    });
}

void PosterJob::start(const PosterPlan::Video &video, QSize posterSize, const QString &folder)
{
    cancel();
    m_folder = folder;
    // QDir("") is the working folder, which is no place for posters.
    if (!folder.isEmpty())
        QDir(folder).removeRecursively();
    QDir().mkpath(folder);
    m_video = video;
    m_size = posterSize;
    m_times = PosterPlan::times(video);
    m_made.clear();
    m_timedOut = false;
    m_next = 0;
    const QList<QList<int>> parts = PosterPlan::parts(video, m_times);
    const bool listing = PosterPlan::listsKeyframes(video, m_times) && !m_probeToolPath.isEmpty();
    for (int p = 0; p < int(m_parts.size()); ++p) {
        m_parts[p] = Part { parts.value(p), {}, nullptr, {} };
        if (!m_parts[p].posters.isEmpty() && listing)
            startListing(p);
        else if (!m_parts[p].posters.isEmpty())
            startRun(p, {});
    }
    m_timeout.start();
    m_poll.start();
}

void PosterJob::startListing(int p)
{
    Part &part = m_parts[p];
    QList<double> times;
    for (const int n : part.posters)
        times << m_times[n];
    part.tool = std::make_unique<ToolRun>();
    // Each part's run starts as soon as its own keyframes are listed.
    connect(part.tool.get(), &ToolRun::ended, this, [this, &part, p] {
        const QList<double> keyframes = PosterPlan::keyframes(part.tool->takeOutput());
        part.tool.release()->deleteLater();
        startRun(p, keyframes);
    });
    part.tool->start(m_probeToolPath, PosterPlan::keyframeListing(m_video, times), timeoutMs);
}

void PosterJob::startRun(int p, const QList<double> &keyframes)
{
    Part &part = m_parts[p];
    part.run = PosterPlan::run(m_video, m_size, m_times, part.posters, p, m_folder, keyframes);
    part.tool = std::make_unique<ToolRun>();
    connect(part.tool.get(), &ToolRun::errorLine, this, [&part](const QString &line) { part.messages += line + u'\n'; });
    connect(part.tool.get(), &ToolRun::ended, this, [this, &part] {
        part.tool.release()->deleteLater();
        collect();
    });
    part.tool->start(m_encoderPath, part.run.arguments);
}

void PosterJob::cancel()
{
    m_next = -1;
    m_poll.stop();
    m_timeout.stop();
    for (Part &part : m_parts)
        part.tool.reset();
}

std::optional<Poster> PosterJob::pictureFor(int n) const
{
    for (int p = 0; p < int(m_parts.size()); ++p) {
        const Part &part = m_parts[p];
        const qsizetype input = part.posters.indexOf(n);
        if (input < 0)
            continue;
        const bool ended = !part.tool && (!part.run.arguments.isEmpty() || m_timedOut);
        const QList<QList<double>> picked = PosterPlan::pickedTimes(part.messages);
        std::optional<Poster> poster;
        if (part.run.seeks.isEmpty()) {
            // A pass from the start picks, in order, the first picture at or past each time (printed rounded).
            const QList<double> times = picked.value(0);
            const auto at = std::find_if(times.cbegin(), times.cend(), [&](double t) { return t >= m_times[n] - 1e-3; });
            if (at != times.cend())
                poster = Poster { PosterPlan::pictureFile(m_folder, p, int(at - times.cbegin())), *at };
        } else if (!picked.value(input).isEmpty()) {
            poster = Poster { PosterPlan::pictureFile(m_folder, p, int(input)),
                              std::max(0.0, part.run.seeks[input] + picked[input].first()) };
        }
        if (poster && QImageReader(poster->path).size().isValid())
            return poster;
        return ended ? std::optional(Poster { QString(), -1 }) : std::nullopt;
    }
    return Poster { QString(), -1 };
}

void PosterJob::collect()
{
    while (m_next >= 0 && m_next < m_times.size()) {
        const auto poster = pictureFor(m_next);
        if (!poster)
            return;
        ++m_next;
        // A picture made for two times is shown once, at its own time.
        const bool again = std::any_of(m_made.cbegin(), m_made.cend(),
                                       [&](const Poster &made) { return std::abs(made.time - poster->time) < 5e-4; });
        if (poster->time < 0 || again)
            continue;
        const Poster placed { u"%1/out%2.jpg"_s.arg(m_folder).arg(m_made.size() + 1), poster->time };
        QFile::remove(placed.path);
        if (!QFile::copy(poster->path, placed.path))
            continue;
        m_made << placed;
        Q_EMIT posterMade(placed);
        if (m_next < 0)
            return; // cancelled by a receiver
    }
    if (m_next < 0)
        return;
    cancel();
    if (!m_made.isEmpty()) {
        Q_EMIT finished();
        return;
    }
    QString reason;
    for (const Part &part : m_parts) {
        if (reason.isEmpty())
            reason = PosterPlan::decisiveError(part.messages);
    }
    Q_EMIT failed(reason, m_timedOut);
}
