#include "FollowJob.h"

#include "media/InputFormats.h"

#include <cmath>

using namespace Qt::StringLiterals;

FollowJob::FollowJob(const QString &encoderPath, QObject *parent)
    : QObject(parent)
    , m_encoderPath(encoderPath)
{
    connect(&m_run, &ToolRun::outputReady, this, &FollowJob::read);
    connect(&m_run, &ToolRun::errorLine, this, [this](const QString &line) { m_lastError = line; });
    connect(&m_run, &ToolRun::ended, this, &FollowJob::ended);
}

void FollowJob::start(const PosterPlan::Video &video, QSize cropSize)
{
    m_frame = video.shown;
    m_cropSize = cropSize;
    m_duration = video.duration;
    // Even, at the picture's shape as shown.
    const int height = std::max(2, int(std::lround(sampleWidth * double(m_frame.height()) / m_frame.width() / 2)) * 2);
    m_sampleSize = QSize(sampleWidth, height);
    m_pending.clear();
    m_last = {};
    m_count = 0;
    m_activity.clear();
    m_lastError.clear();
    // Only the pictures' shapes matter, so the decoder may skip its loop filter.
    const QStringList arguments =
        QStringList { u"-v"_s, u"error"_s, u"-skip_loop_filter"_s, u"all"_s } + InputFormats::inputOptions(video.format)
        + QStringList { u"-i"_s, video.path, u"-map"_s,
                        video.stream ? u"0:%1"_s.arg(*video.stream) : u"0:v:0"_s, u"-vf"_s,
                        u"fps=%1,scale=%2:%3:flags=area,format=gray"_s.arg(samplesPerSecond)
                            .arg(m_sampleSize.width())
                            .arg(m_sampleSize.height()),
                        u"-f"_s, u"rawvideo"_s, u"-"_s };
    m_run.start(m_encoderPath, arguments);
}

void FollowJob::cancel()
{
    m_run.abandon();
}

void FollowJob::read()
{
    m_pending += m_run.takeOutput();
    const qsizetype size = qsizetype(m_sampleSize.width()) * m_sampleSize.height();
    qsizetype used = 0;
    // Each picture is compared with the one before and let go: an hour keeps no more than two.
    for (; m_pending.size() - used >= size; used += size) {
        MotionPath::Picture now { double(m_count++) / samplesPerSecond, m_pending.mid(used, size) };
        if (!m_last.grey.isEmpty())
            m_activity << MotionPath::change(m_last, now, m_sampleSize);
        m_last = std::move(now);
    }
    m_pending.remove(0, used);
    if (m_duration > 0)
        Q_EMIT progress(std::min(100.0, 100.0 * m_count / (m_duration * samplesPerSecond)));
}

void FollowJob::ended(ToolRun::Outcome outcome, int exitCode)
{
    read();
    if (outcome != ToolRun::Outcome::exited || exitCode != 0) {
        Q_EMIT failed(m_lastError.isEmpty() ? m_run.errorString() : m_lastError);
        return;
    }
    Q_EMIT finished(MotionPath::path(m_activity, m_sampleSize, m_frame, m_cropSize));
}
