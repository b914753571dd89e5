#include "PosterExtractor.h"

#include "EncoderOutput.h"
#include "util/ChildProcess.h"
#include "util/Numbers.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QRegularExpression>
#include <QThread>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

using namespace Qt::StringLiterals;

namespace {

int cores()
{
    return std::max(1, QThread::idealThreadCount());
}

QList<int> postersOf(const PosterPlanner::Run &run)
{
    QList<int> posters;
    for (const PosterPlanner::Input &input : run) {
        for (const PosterPlanner::Poster &poster : input.posters)
            posters << poster.number;
    }
    return posters;
}

} // namespace

PosterExtractor::PosterExtractor(const QString &encoderPath, const QString &probeToolPath, QObject *parent)
    : QObject(parent)
    , m_encoderPath(encoderPath)
    , m_listing(probeToolPath)
{
    connect(&m_listing, &KeyframeListing::finished, this, &PosterExtractor::planRuns);
    m_grace.setSingleShot(true);
    m_grace.setInterval(keyframeGraceMs);
    connect(&m_grace, &QTimer::timeout, this, &PosterExtractor::planRuns);
}

PosterExtractor::~PosterExtractor()
{
    cancel();
}

QStringList PosterExtractor::seekTimes(double duration)
{
    const double step = duration / 12.0;
    QStringList times;
    for (int n = 1; n <= frameCount; ++n)
        times << shortestDecimalText(n * step);
    return times;
}

QString PosterExtractor::framePath(const QString &framesDirectory, int n)
{
    return framesDirectory + u"/out"_s + QString::number(n) + u".jpg"_s;
}

bool PosterExtractor::decodeTrouble(const QString &messages, const QString &codec)
{
    // The decoder warns as "[hevc @ 0x…] [error] …"; a demuxer that cannot find a keyframe says so too.
    static const QRegularExpression decoder(u"^\\[(\\S+) @ [^\\]]*\\] \\[(warning|error|fatal)\\]"_s,
                                            QRegularExpression::MultilineOption);
    for (auto it = decoder.globalMatch(messages); it.hasNext();) {
        if (it.next().captured(1) == codec)
            return true;
    }
    return messages.contains(u"Missing key frame"_s) || messages.contains(u"could not seek"_s);
}

QSize PosterExtractor::posterSize(QSize shown, QSize bound)
{
    if (shown.isEmpty())
        return {};
    const QSize fitted = shown.scaled(shown.boundedTo(bound.isEmpty() ? shown : bound), Qt::KeepAspectRatio);
    return { std::max(2, fitted.width() & ~1), std::max(2, fitted.height() & ~1) };
}

QList<double> PosterExtractor::posterTimes() const
{
    QList<double> times;
    for (const QString &time : m_seekTimes)
        times << time.toDouble();
    return times;
}

PosterPlanner::Video PosterExtractor::costs() const
{
    return { m_video.frameRate, double(m_video.frame.width()) * m_video.frame.height() };
}

PosterPlanner::Source PosterExtractor::source() const
{
    return { m_video.path, m_video.stream, m_video.frame, m_posterSize };
}

std::unique_ptr<PosterExtractor::Run> PosterExtractor::newRun(const QStringList &arguments)
{
    auto run = std::make_unique<Run>();
    Run *r = run.get();
    prepareChildProcess(r->process);
    r->process.setProcessChannelMode(QProcess::ForwardedOutputChannel);
    r->process.setProgram(m_encoderPath);
    r->process.setArguments(arguments);
    r->timeout.setSingleShot(true);
    r->timeout.setInterval(frameTimeoutMs);
    connect(&r->timeout, &QTimer::timeout, &r->process, &QProcess::kill);
    connect(&r->process, &QProcess::finished, this, [this, r] { runEnded(r); });
    connect(&r->process, &QProcess::errorOccurred, this, [this, r](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            runEnded(r);
    });
    return run;
}

void PosterExtractor::prepare(const QString &path, const QString &framesDirectory)
{
    cancel();
    m_preparedPath = path;
    m_framesDirectory = framesDirectory;
    QDir(framesDirectory).removeRecursively();
    QDir().mkpath(framesDirectory);
    // A small file is mostly cheap to decode whole, which needs no keyframes: their listing then
    // yields to the probe and the encoder. A large file's posters wait for its keyframes.
    const bool large = QFileInfo(path).size() > warmEncoderFileLimit;
    m_listing.start(path, large ? ChildPriority::Normal : ChildPriority::Background);
    startWarmEncoder(large);
}

void PosterExtractor::startWarmEncoder(bool keyframesOnly)
{
#ifdef Q_OS_UNIX
    // Loading the encoder takes about as long as the probe: it is done meanwhile, and the encoder
    // then waits on a pipe for the filter graph that picks the frames. A large file is seldom cheap
    // to decode whole, but may have few keyframes: its encoder decodes keyframes only.
    const QString pipe = m_framesDirectory + u"/whole.graph"_s;
    if (m_encoderPath.isEmpty() || ::mkfifo(QFile::encodeName(pipe).constData(), 0600) != 0)
        return;
    m_warmGraph = pipe;
    m_warmKeyframesOnly = keyframesOnly;
    const PosterPlanner::Run whole { { 0, true, {}, 0, m_warmKeyframesOnly } };
    const PosterPlanner::Source source { m_preparedPath, std::nullopt, {}, {} };
    m_warm = newRun(QStringList { u"-loglevel"_s, u"level+info"_s, u"-nostats"_s, u"-filter_complex_script"_s, pipe }
                    + PosterPlanner::inputArguments(source, whole)
                    + PosterPlanner::outputArguments(whole, m_framesDirectory + u"/run0-"_s, frameCount));
    m_warm->process.start();
#endif
}

bool PosterExtractor::feedWarmEncoder(const PosterPlanner::Run &run)
{
#ifdef Q_OS_UNIX
    if (!m_warm || m_warm->process.state() != QProcess::Running)
        return false;
    // The encoder opens the pipe once it has loaded; without a reader yet, the graph waits a
    // moment, short enough not to stall the window; then a new run is quicker.
    int fd = -1;
    for (int attempt = 0; attempt < 5 && fd < 0; ++attempt) {
        fd = ::open(QFile::encodeName(m_warmGraph).constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0 && (errno != ENXIO || m_warm->process.waitForFinished(4)))
            break;
    }
    if (fd < 0)
        return false;
    const QByteArray graph = PosterPlanner::filterGraph(source(), run).toUtf8();
    const bool written = ::write(fd, graph.constData(), size_t(graph.size())) == graph.size();
    ::close(fd);
    QFile::remove(m_warmGraph);
    return written;
#else
    Q_UNUSED(run);
    return false;
#endif
}

void PosterExtractor::extractPosterFrames(const Video &video, const QString &framesDirectory, QSize bound)
{
    if (m_preparedPath != video.path || m_framesDirectory != framesDirectory) {
        cancel();
        m_framesDirectory = framesDirectory;
        QDir(framesDirectory).removeRecursively();
        QDir().mkpath(framesDirectory);
    }
    m_video = video;
    m_seekTimes = seekTimes(video.duration);
    m_posterSize = posterSize(video.shown, bound);
    m_done = QList<bool>(frameCount + 1, false);
    m_pictureTimes = QList<double> { 0 } + posterTimes();
    m_madeAny = false;
    m_firstError.clear();
    if (m_encoderPath.isEmpty()) {
        cancel();
        QMetaObject::invokeMethod(this, [this] { Q_EMIT failed(u"The encoder (ffmpeg) is missing."_s); },
                                  Qt::QueuedConnection);
        return;
    }
    m_next = 1;
    // The listing usually ends with the probe; a long one, or one not needed, is not waited for.
    if (m_listing.isListing(video.path) && !PosterPlanner::decodesWhole(posterTimes(), costs()))
        m_grace.start();
    else
        planRuns();
}

void PosterExtractor::planRuns()
{
    if (m_next == 0 || !m_runs.empty())
        return;
    m_grace.stop();
    const QList<double> keyframes = m_listing.keyframes(m_video.path, m_video.stream);
    m_listing.cancel();

    QList<PosterPlanner::Run> runs;
    if (m_warm && m_warmKeyframesOnly) {
        if (const auto sweep = PosterPlanner::keyframesFromStart(posterTimes(), keyframes, costs()))
            runs = { PosterPlanner::Run { *sweep } };
    }
    if (runs.isEmpty())
        runs = PosterPlanner::plan(posterTimes(), keyframes, costs(), cores());
    // The encoder loaded in advance reads the whole video, or its keyframes, from the start.
    const auto warmReads = [this](const PosterPlanner::Run &run) {
        return run.size() == 1 && run.front().seek == 0 && run.front().atKeyframe
            && run.front().keyframesOnly == m_warmKeyframesOnly;
    };
    for (qsizetype i = 0; i < runs.size(); ++i) {
        const QString prefix = m_framesDirectory + u"/run"_s + QString::number(i) + u'-';
        std::unique_ptr<Run> run;
        if (i == 0 && warmReads(runs[i]) && feedWarmEncoder(runs[i]))
            run = std::move(m_warm);
        else
            run = newRun(PosterPlanner::runArguments(source(), runs[i], prefix));
        run->posters = postersOf(runs[i]);
        run->planned = runs[i];
        run->prefix = prefix;
        queue(std::move(run));
    }
    // An encoder started early that the plan has no use for.
    if (m_warm) {
        {
            const QSignalBlocker blocker(m_warm->process);
            m_warm->process.kill();
            m_warm->process.waitForFinished(-1);
        }
        m_warm.reset();
        QFile::remove(m_warmGraph);
    }
}

void PosterExtractor::queue(std::unique_ptr<Run> run)
{
    for (const int n : std::as_const(run->posters))
        QFile::remove(framePath(m_framesDirectory, n));
    m_runs.push_back(std::move(run));
    launchWaiting();
}

void PosterExtractor::launchWaiting()
{
    // As many runs at once as there are cores; a run started early counts as launched.
    const auto running = std::count_if(m_runs.cbegin(), m_runs.cend(), [](const auto &run) {
        return run->timeout.isActive();
    });
    for (qsizetype free = cores() - running; free > 0; --free) {
        const auto waiting = std::find_if(m_runs.cbegin(), m_runs.cend(), [](const auto &run) {
            return !run->timeout.isActive() && !run->posters.isEmpty();
        });
        if (waiting == m_runs.cend())
            return;
        (*waiting)->timeout.start();
        if ((*waiting)->process.state() == QProcess::NotRunning)
            (*waiting)->process.start();
    }
}

void PosterExtractor::cancel()
{
    m_next = 0;
    m_grace.stop();
    m_listing.cancel();
    if (m_warm)
        m_runs.push_back(std::move(m_warm));
    for (const auto &run : m_runs) {
        run->timeout.stop();
        if (run->process.state() != QProcess::NotRunning) {
            const QSignalBlocker blocker(run->process);
            run->process.kill();
            run->process.waitForFinished(-1);
        }
    }
    // A cancel may come from within a run's own signal: the runs go once it has returned.
    if (!m_runs.empty()) {
        auto retired = std::make_shared<std::vector<std::unique_ptr<Run>>>(std::move(m_runs));
        m_runs.clear();
        QMetaObject::invokeMethod(this, [retired] {}, Qt::QueuedConnection);
    }
    if (!m_warmGraph.isEmpty())
        QFile::remove(std::exchange(m_warmGraph, QString()));
    m_preparedPath.clear();
}

void PosterExtractor::collect(const Run &run, const QString &messages)
{
    // "[showinfo@in2 @ 0x…] [info] n:   0 pts: 1024 pts_time:0.08 …": the frames picked, in order, per input.
    static const QRegularExpression picked(
        u"\\[showinfo@in(\\d+) @ [^\\]]*\\] \\[info\\] n: *\\d+ pts: *-?\\d+ pts_time:(\\S+)"_s);
    QMap<int, QList<double>> times;
    for (auto it = picked.globalMatch(messages); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        times[match.captured(1).toInt()] << match.captured(2).toDouble();
    }
    for (qsizetype i = 0; i < run.planned.size(); ++i) {
        const QList<double> &frames = times[int(i)];
        const auto file = [&](qsizetype k) { return u"%1%2_%3.jpg"_s.arg(run.prefix).arg(i).arg(k + 1); };
        for (const PosterPlanner::Poster &poster : run.planned[i].posters) {
            // The first frame picked at or past the offset (the times are printed rounded); a seek
            // that lands before its time, on the keyframe, gives negative times: its first frame counts.
            const auto at = poster.offset == 0
                ? frames.cbegin()
                : std::find_if(frames.cbegin(), frames.cend(), [&](double t) { return t >= poster.offset - 1e-3; });
            if (at != frames.cend()) {
                QFile::copy(file(at - frames.cbegin()), framePath(m_framesDirectory, poster.number));
                m_pictureTimes[poster.number] = std::max(0.0, run.planned[i].seek + *at);
            }
        }
        for (qsizetype k = 0; k < frames.size(); ++k)
            QFile::remove(file(k));
    }
}

void PosterExtractor::runEnded(Run *run)
{
    // A failing start may report more than once; a run started early has no posters until planned.
    if (m_next == 0 || run->posters.isEmpty())
        return;
    run->timeout.stop();
    const QList<int> posters = std::exchange(run->posters, {});
    const QString messages = QString::fromUtf8(run->process.readAllStandardError());
    const bool planned = !run->planned.isEmpty();
    if (planned)
        collect(*run, messages);
    const bool trouble = decodeTrouble(messages, m_video.codec);
    for (const int n : posters) {
        const QString frame = framePath(m_framesDirectory, n);
        const bool made = QFileInfo(frame).size() > 0;
        if ((trouble || !made) && planned) {
            auto again = newRun(PosterPlanner::fromStartArguments(source(), m_seekTimes.at(n - 1), frame));
            again->posters = { n };
            queue(std::move(again));
            continue;
        }
        m_done[n] = true;
        m_madeAny = m_madeAny || made;
        if (!made && m_firstError.isEmpty()) {
            static const QRegularExpression level(u"\\[(info|warning|error|fatal)\\] "_s);
            EncoderOutput output;
            output.feed(QString(messages).remove(level).toUtf8() + '\n', 0);
            m_firstError = output.decisiveMessage();
        }
    }
    launchWaiting();
    announceReady();
}

void PosterExtractor::announceReady()
{
    while (m_next > 0 && m_next <= frameCount && m_done[m_next]) {
        const int n = m_next;
        const QString frame = framePath(m_framesDirectory, n);
        if (QFileInfo(frame).size() == 0) {
            for (int earlier = n - 1; earlier >= 1; --earlier) {
                if (QFileInfo::exists(framePath(m_framesDirectory, earlier))) {
                    QFile::copy(framePath(m_framesDirectory, earlier), frame);
                    m_pictureTimes[n] = m_pictureTimes[earlier];
                    break;
                }
            }
        }
        Q_EMIT frameMade(n, (n - 1) * 10);
        if (m_next == 0)
            return; // cancelled by a receiver
        m_next = n + 1;
    }
    if (m_next <= frameCount)
        return;
    cancel();
    if (m_madeAny)
        Q_EMIT finished();
    else
        Q_EMIT failed(m_firstError);
}
