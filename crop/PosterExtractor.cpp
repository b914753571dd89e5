#include "PosterExtractor.h"

#include "util/ChildProcess.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>

using namespace Qt::StringLiterals;

namespace {

QString runPrefix(const QString &framesDirectory, bool retry)
{
    return framesDirectory + (retry ? u"/retry-"_s : u"/run-"_s);
}

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
        for (Part &part : m_parts)
            part.process.kill();
    });
    // Each poster is renamed into place whole; a short look hands it over without waiting for the run.
    m_poll.setInterval(10);
    connect(&m_poll, &QTimer::timeout, this, &PosterExtractor::collect);
    for (Part &part : m_parts) {
        connect(&part.process, &QProcess::readyReadStandardError, this, [&part] { part.read(); });
        connect(&part.process, &QProcess::finished, this, &PosterExtractor::partEnded);
        connect(&part.process, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
            if (error == QProcess::FailedToStart && m_next > 0)
                partEnded();
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

void PosterExtractor::extractPosterFrames(const Video &video, const QString &framesDirectory, QSize bound)
{
    cancel();
    m_framesDirectory = framesDirectory;
    // QDir("") is the working folder, which is no place for posters.
    if (!framesDirectory.isEmpty())
        QDir(framesDirectory).removeRecursively();
    QDir().mkpath(framesDirectory);
    m_duration = video.duration;
    m_source = { video.path, video.stream, video.frame, posterSize(video.shown, bound) };
    m_times = PosterPlanner::posterTimes(video.duration);
    m_keyframes.clear();
    m_firstError.clear();
    m_placed = QList<bool>(frameCount + 1, false);
    m_pictureTimes = QList<double>(frameCount + 1, 0);
    m_handedOver = 0;
    m_next = 1;
    if (m_encoderPath.isEmpty()) {
        m_next = 0;
        QMetaObject::invokeMethod(this, [this] { Q_EMIT failed(tr("The encoder (ffmpeg) is missing.")); },
                                  Qt::QueuedConnection);
        return;
    }
    const double pixels = double(video.frame.width()) * video.frame.height();
    if (PosterPlanner::decodesWhole(m_times, video.frameRate, pixels)) {
        m_inputs.clear();
        start(Stage::Posters, m_encoderPath,
              { PosterPlanner::wholeRunArguments(m_source, m_times, runPrefix(m_framesDirectory, false)) });
    } else if (PosterPlanner::seeksByIndex(video.format) || m_probeToolPath.isEmpty()) {
        m_stage = Stage::Posters;
        listingEnded();
    } else {
        start(Stage::Listing, m_probeToolPath, { PosterPlanner::keyframeListingArguments(m_source, m_times) });
    }
}

void PosterExtractor::start(Stage stage, const QString &program, const QList<QStringList> &parts,
                            const QList<qsizetype> &firsts)
{
    m_stage = stage;
    m_partCount = int(parts.size());
    m_timeout.start();
    if (stage != Stage::Listing)
        m_poll.start();
    // A part that fails to start reports at once; the stage ends only once every part has been started.
    m_starting = true;
    for (qsizetype p = 0; p < parts.size(); ++p) {
        Part &part = m_parts[p];
        part.messages.clear();
        part.picked.clear();
        part.parsed = 0;
        part.first = firsts.value(p);
        prepareChildProcess(part.process);
        part.process.setProgram(program);
        part.process.setArguments(parts[p]);
        part.process.start(QIODevice::ReadOnly);
    }
    m_starting = false;
    partEnded();
}

void PosterExtractor::startKeyframeRun(Stage stage)
{
    const qsizetype count = m_inputs.size();
    const QList<qsizetype> firsts = count < 4 ? QList<qsizetype> { 0 } : QList<qsizetype> { 0, count / 2 };
    const QString prefix = runPrefix(m_framesDirectory, stage == Stage::Retry);
    QList<QStringList> parts;
    for (qsizetype p = 0; p < firsts.size(); ++p) {
        const qsizetype first = firsts[p];
        const qsizetype size = (p + 1 < firsts.size() ? firsts[p + 1] : count) - first;
        parts << PosterPlanner::keyframeRunArguments(m_source, m_inputs.mid(first, size),
                                                     prefix + QChar(char16_t(u'a' + p)));
    }
    start(stage, m_encoderPath, parts, firsts);
}

void PosterExtractor::partEnded()
{
    if (m_starting)
        return;
    for (int i = 0; i < m_partCount; ++i) {
        Part &part = m_parts[i];
        if (part.process.state() != QProcess::NotRunning)
            return;
        part.read(true);
    }
    if (m_next == 0)
        return;
    m_timeout.stop();
    m_poll.stop();
    if (m_stage == Stage::Listing)
        listingEnded();
    else
        runEnded();
}

void PosterExtractor::listingEnded()
{
    if (m_stage == Stage::Listing && m_parts[0].process.exitStatus() == QProcess::NormalExit)
        m_keyframes = PosterPlanner::keyframeTimes(m_parts[0].process.readAllStandardOutput());
    m_inputs = PosterPlanner::inputs(m_times, m_keyframes);
    startKeyframeRun(Stage::Posters);
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
    const QString prefix = runPrefix(m_framesDirectory, m_stage == Stage::Retry);
    if (m_inputs.isEmpty()) {
        // A pass from the start picks, in order, the first picture at or past each time (printed rounded).
        const QList<double> times = m_parts[0].picked.value(0);
        const auto at = std::find_if(times.cbegin(), times.cend(), [&](double t) { return t >= m_times[n - 1] - 1e-3; });
        if (at == times.cend())
            return std::nullopt;
        return std::pair(prefix + u"0_%1.jpg"_s.arg(at - times.cbegin() + 1), *at);
    }
    for (qsizetype i = 0; i < m_inputs.size(); ++i) {
        if (!m_inputs[i].posters.contains(n))
            continue;
        int part = 0;
        while (part + 1 < m_partCount && i >= m_parts[part + 1].first)
            ++part;
        const qsizetype input = i - m_parts[part].first;
        const QList<double> times = m_parts[part].picked.value(input);
        if (times.isEmpty())
            return std::nullopt;
        return std::pair(u"%1%2%3.jpg"_s.arg(prefix, QChar(char16_t(u'a' + part))).arg(input),
                         std::max(0.0, m_inputs[i].seek + times.front()));
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

void PosterExtractor::runEnded()
{
    if (m_next == 0)
        return;
    collect();
    if (m_next == 0 || m_next > frameCount) {
        if (m_next > frameCount)
            finish();
        return;
    }
    for (int i = 0; i < m_partCount && m_firstError.isEmpty(); ++i)
        m_firstError = PosterPlanner::decisiveError(m_parts[i].messages);
    if (m_stage == Stage::Retry || !retry())
        finish();
}

bool PosterExtractor::retry()
{
    // A poster its keyframe cannot make is tried once from the keyframe before: the listed one, or
    // where an index finds it, at or before a poster's interval or ten seconds earlier, whichever is
    // nearer. Only that keyframe is decoded, never the pictures up to the poster's time.
    QList<PosterPlanner::Input> again;
    for (const PosterPlanner::Input &input : std::as_const(m_inputs)) {
        QList<int> missing;
        for (const int n : input.posters) {
            if (!m_placed[n])
                missing << n;
        }
        const auto before = std::lower_bound(m_keyframes.cbegin(), m_keyframes.cend(), input.seek - 0.001);
        const double seek = before != m_keyframes.cbegin()
            ? *(before - 1) + 0.0005
            : std::max(0.0, input.seek - std::min(m_duration / 12, 10.0));
        if (!missing.isEmpty() && seek < input.seek)
            again.append(PosterPlanner::Input { seek, missing });
    }
    if (again.isEmpty())
        return false;
    m_inputs = again;
    startKeyframeRun(Stage::Retry);
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
        Q_EMIT failed(m_firstError);
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
