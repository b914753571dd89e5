#include "PosterExtractor.h"

#include "media/MpegTimestamps.h"
#include "util/ChildProcess.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>

#include <numeric>

using namespace Qt::StringLiterals;

namespace {

// A poster is judged by its picture: a file that reads as one of a size.
bool isPicture(const QString &path)
{
    return QImageReader(path).size().isValid();
}

} // namespace

PosterExtractor::PosterExtractor(const QString &encoderPath, const QString &probeToolPath, QObject *parent)
    : QObject(parent)
    , m_encoderPath(encoderPath)
    , m_probeToolPath(probeToolPath)
{
    m_timeout.setSingleShot(true);
    m_timeout.setInterval(runTimeoutMs);
    connect(&m_timeout, &QTimer::timeout, this, [this] {
        m_timedOut = true;
        for (Part &part : m_parts)
            part.process.kill();
    });
    // Each poster is renamed into place whole; a short look hands it over without waiting for the run.
    m_poll.setInterval(10);
    connect(&m_poll, &QTimer::timeout, this, &PosterExtractor::collect);
    for (int p = 0; p < partCount; ++p) {
        Part &part = m_parts[p];
        connect(&part.process, &QProcess::readyReadStandardError, this, [&part] { part.read(); });
        connect(&part.process, &QProcess::finished, this, [this, p] { partEnded(p); });
        connect(&part.process, &QProcess::errorOccurred, this, [this, p](QProcess::ProcessError error) {
            if (error == QProcess::FailedToStart && m_next > 0)
                partEnded(p);
        });
    }
}

PosterExtractor::~PosterExtractor()
{
    cancel();
}

QString PosterExtractor::framePath(const QString &framesDirectory, int n)
{
    return framesDirectory + u"/out"_s + QString::number(n) + u".jpg"_s;
}

QSize PosterExtractor::posterSize(QSize shown, QSize bound)
{
    if (shown.isEmpty())
        return {};
    const QSize fitted = shown.scaled(shown.boundedTo(bound.isEmpty() ? shown : bound), Qt::KeepAspectRatio);
    return { std::max(2, fitted.width() & ~1), std::max(2, fitted.height() & ~1) };
}

void PosterExtractor::foresee(const QString &path)
{
    cancel();
    m_foreseen.clear();
    const auto span = MpegTimestamps::readVideoSpan(path);
    if (!span || m_probeToolPath.isEmpty())
        return;
    m_source = { path, std::nullopt, {}, {}, span->start, false, {} };
    m_times = PosterPlanner::posterTimes(span->duration);
    for (int n = 1; n <= listedFirst; ++n)
        m_foreseen << span->start + m_times[n - 1];
    // Only the first part's listing: a third process beside the probe would slow both on two cores.
    startListing(0, PosterPlanner::listedReach + foresight);
}

bool PosterExtractor::isForeseen(const Video &video, const QList<double> &times) const
{
    if (m_foreseen.isEmpty() || video.path != m_source.path || PosterPlanner::seeksByIndex(video.format))
        return false;
    for (qsizetype i = 0; i < m_foreseen.size(); ++i) {
        if (std::abs(video.startTime + times[i] - m_foreseen[i]) > foresight)
            return false;
    }
    return true;
}

void PosterExtractor::extractPosterFrames(const Video &video, const QString &framesDirectory, QSize bound)
{
    const QList<double> times = PosterPlanner::posterTimes(video.duration);
    const double pixels = double(video.frame.width()) * video.frame.height();
    const bool whole = PosterPlanner::decodesWhole(times, video.frameRate, pixels);
    // A listing foreseen for these times goes on.
    const bool foreseen = !whole && isForeseen(video, times);
    m_foreseen.clear();
    if (!foreseen)
        cancel();
    m_framesDirectory = framesDirectory;
    // QDir("") is the working folder, which is no place for posters.
    if (!framesDirectory.isEmpty())
        QDir(framesDirectory).removeRecursively();
    QDir().mkpath(framesDirectory);
    m_source = { video.path, video.stream, video.frame, posterSize(video.shown, bound), video.startTime,
                 PosterPlanner::describesStreams(video.format), video.format };
    m_times = times;
    m_keyframes.clear();
    m_firstError.clear();
    m_placed = QList<bool>(frameCount + 1, false);
    m_pictureTimes = QList<double>(frameCount + 1, 0);
    m_handedOver = 0;
    m_next = 1;
    m_retrying = false;
    m_timedOut = false;
    for (Part &part : m_parts) {
        part.listing = part.listing && foreseen;
        part.inputs.clear();
    }
    if (m_encoderPath.isEmpty()) {
        m_next = 0;
        QMetaObject::invokeMethod(this, [this] { Q_EMIT failed(tr("The encoder (ffmpeg) is missing."), false); },
                                  Qt::QueuedConnection);
        return;
    }
    m_whole = whole;
    m_timeout.start();
    m_poll.start();
    if (m_whole) {
        start(0, m_encoderPath, PosterPlanner::wholeRunArguments(m_source, m_times, runPrefix(0)));
        partEnded(0);
    } else if (PosterPlanner::seeksByIndex(video.format) || m_probeToolPath.isEmpty()) {
        QList<int> posters(frameCount);
        std::iota(posters.begin(), posters.end(), 1);
        startRuns(PosterPlanner::inputs(m_times, posters, {}));
    } else {
        // Each run lists its own posters' keyframes first, both at once.
        m_starting = true;
        for (int p = foreseen ? 1 : 0; p < partCount; ++p)
            startListing(p, PosterPlanner::listedReach);
        m_starting = false;
        // A listing foreseen that has ended already is taken up now.
        partEnded(0);
    }
}

void PosterExtractor::startListing(int p, double reach)
{
    // The first part takes fewer posters, so that they come soon.
    Part &part = m_parts[p];
    part.listing = true;
    part.posters.clear();
    QList<double> listed;
    const int first = p == 0 ? 1 : listedFirst + 1;
    const int last = p == 0 ? listedFirst : frameCount;
    for (int n = first; n <= last; ++n) {
        part.posters << n;
        listed << m_times[n - 1];
    }
    start(p, m_probeToolPath, PosterPlanner::keyframeListingArguments(m_source, listed, reach));
}

QString PosterExtractor::runPrefix(int p) const
{
    return m_framesDirectory + (m_retrying ? u"/retry-"_s : u"/run-"_s) + QChar(char16_t(u'a' + p));
}

void PosterExtractor::start(int p, const QString &program, const QStringList &arguments)
{
    Part &part = m_parts[p];
    part.messages.clear();
    part.picked.clear();
    part.parsed = 0;
    prepareChildProcess(part.process);
    part.process.setProgram(program);
    part.process.setArguments(arguments);
    // One that fails to start reports at once, before its caller has done.
    const bool starting = std::exchange(m_starting, true);
    part.process.start(QIODevice::ReadOnly);
    m_starting = starting;
}

void PosterExtractor::startRuns(const QList<PosterPlanner::Input> &inputs)
{
    const qsizetype first = inputs.size() < 4 ? inputs.size() : inputs.size() / 2;
    m_parts[0].inputs = inputs.mid(0, first);
    m_parts[1].inputs = inputs.mid(first);
    m_starting = true;
    for (int p = 0; p < partCount; ++p)
        startRun(p);
    m_starting = false;
    partEnded(0);
}

void PosterExtractor::startRun(int p)
{
    if (!m_parts[p].inputs.isEmpty())
        start(p, m_encoderPath, PosterPlanner::keyframeRunArguments(m_source, m_parts[p].inputs, runPrefix(p)));
}

void PosterExtractor::partEnded(int p)
{
    Part &part = m_parts[p];
    if (m_next == 0 || part.process.state() != QProcess::NotRunning)
        return;
    part.read(true);
    if (part.listing) {
        part.listing = false;
        QList<double> keyframes;
        if (part.process.exitStatus() == QProcess::NormalExit)
            keyframes = PosterPlanner::keyframeTimes(part.process.readAllStandardOutput());
        part.inputs = PosterPlanner::inputs(m_times, part.posters, keyframes);
        m_keyframes += keyframes;
        std::sort(m_keyframes.begin(), m_keyframes.end());
        startRun(p);
    }
    if (m_starting)
        return;
    for (const Part &other : m_parts) {
        if (other.listing || other.process.state() != QProcess::NotRunning)
            return;
    }
    m_timeout.stop();
    m_poll.stop();
    runsEnded();
}

void PosterExtractor::Part::read(bool ended)
{
    // The times the encoder reports, parsed once a line is whole.
    messages += QString::fromUtf8(process.readAllStandardError());
    const qsizetype whole = ended ? messages.size() : messages.lastIndexOf(u'\n') + 1;
    if (whole <= parsed)
        return;
    const QList<QList<double>> times = PosterPlanner::pickedTimes(messages.mid(parsed, whole - parsed));
    picked.resize(std::max(picked.size(), times.size()));
    for (qsizetype i = 0; i < times.size(); ++i)
        picked[i] += times[i];
    parsed = whole;
}

std::optional<std::pair<QString, double>> PosterExtractor::pictureFor(int n) const
{
    if (m_whole) {
        // A pass from the start picks, in order, the first picture at or past each time (printed rounded).
        const QList<double> times = m_parts[0].picked.value(0);
        const auto at = std::find_if(times.cbegin(), times.cend(), [&](double t) { return t >= m_times[n - 1] - 1e-3; });
        if (at == times.cend())
            return std::nullopt;
        return std::pair(runPrefix(0) + u"0_%1.jpg"_s.arg(at - times.cbegin() + 1), *at);
    }
    for (int p = 0; p < partCount; ++p) {
        const Part &part = m_parts[p];
        for (qsizetype i = 0; i < part.inputs.size(); ++i) {
            if (!part.inputs[i].posters.contains(n))
                continue;
            const QList<double> times = part.picked.value(i);
            if (times.isEmpty())
                return std::nullopt;
            return std::pair(runPrefix(p) + QString::number(i) + u".jpg"_s,
                             std::max(0.0, part.inputs[i].seek + times.front()));
        }
    }
    return std::nullopt;
}

void PosterExtractor::collect()
{
    for (int n = 1; n <= frameCount; ++n) {
        if (m_placed[n])
            continue;
        const auto picture = pictureFor(n);
        if (!picture || !QFileInfo::exists(picture->first))
            continue;
        const QString frame = framePath(m_framesDirectory, n);
        QFile::remove(frame);
        m_placed[n] = QFile::copy(picture->first, frame) && isPicture(frame);
        m_pictureTimes[n] = picture->second;
    }
    while (m_next > 0 && m_next <= frameCount && m_placed[m_next]) {
        const int n = m_next++;
        m_handedOver = n;
        Q_EMIT frameMade(n, (n - 1) * 10);
    }
}

void PosterExtractor::runsEnded()
{
    collect();
    if (m_next == 0 || m_next > frameCount) {
        if (m_next > frameCount)
            finish();
        return;
    }
    for (const Part &part : m_parts) {
        if (m_firstError.isEmpty())
            m_firstError = PosterPlanner::decisiveError(part.messages);
    }
    if (m_retrying || m_timedOut || !retry())
        finish();
}

bool PosterExtractor::retry()
{
    // A poster its keyframe cannot make is tried once from the keyframe before: the one listed within
    // its reach, or where an index finds it, at or before a poster's interval or ten seconds earlier,
    // whichever is nearer. Only that keyframe is decoded, never the pictures up to the poster's time.
    QList<PosterPlanner::Input> again;
    for (const Part &part : m_parts) {
        for (const PosterPlanner::Input &input : part.inputs) {
            QList<int> missing;
            for (const int n : input.posters) {
                if (!m_placed[n])
                    missing << n;
            }
            const auto before = std::lower_bound(m_keyframes.cbegin(), m_keyframes.cend(), input.seek - 0.001);
            const double reached = m_times[input.posters.first() - 1] - PosterPlanner::listedReach;
            const double seek = before != m_keyframes.cbegin() && *(before - 1) >= reached
                ? *(before - 1) + 0.0005
                : std::max(0.0, input.seek - std::min(m_times.first(), 10.0));
            if (!missing.isEmpty() && seek < input.seek)
                again.append(PosterPlanner::Input { seek, missing });
        }
    }
    if (again.isEmpty())
        return false;
    m_retrying = true;
    m_timeout.start();
    m_poll.start();
    startRuns(again);
    return true;
}

void PosterExtractor::finish()
{
    // The nearest poster made, earlier ones first, stands in for one that could not be made.
    const auto nearestPlaced = [this](int n) {
        for (int distance = 1; distance < frameCount; ++distance) {
            for (const int other : { n - distance, n + distance }) {
                if (other >= 1 && other <= frameCount && m_placed[other])
                    return other;
            }
        }
        return 0;
    };
    const bool madeAny = std::count(m_placed.cbegin(), m_placed.cend(), true) > 0;
    for (int n = m_next; madeAny && n <= frameCount; ++n) {
        if (const int other = nearestPlaced(n); !m_placed[n] && other > 0) {
            QFile::copy(framePath(m_framesDirectory, other), framePath(m_framesDirectory, n));
            m_pictureTimes[n] = m_pictureTimes[other];
        }
        m_placed[n] = true;
    }
    if (madeAny)
        collect();
    if (m_next == 0)
        return; // cancelled by a receiver
    m_next = 0;
    if (madeAny)
        Q_EMIT finished();
    else
        Q_EMIT failed(m_firstError, m_timedOut);
}

void PosterExtractor::cancel()
{
    m_next = 0;
    m_timeout.stop();
    m_poll.stop();
    for (Part &part : m_parts) {
        if (part.process.state() != QProcess::NotRunning) {
            const QSignalBlocker blocker(part.process);
            part.process.kill();
            part.process.waitForFinished(-1);
        }
    }
}
