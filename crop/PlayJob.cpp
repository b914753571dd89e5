#include "PlayJob.h"

#include "media/InputFormats.h"
#include "util/Numbers.h"

using namespace Qt::StringLiterals;

PlayJob::PlayJob(const QString &encoderPath, QObject *parent)
    : QObject(parent)
    , m_encoderPath(encoderPath)
{
    connect(&m_run, &ToolRun::outputReady, this, &PlayJob::read);
    connect(&m_run, &ToolRun::ended, this, [this] {
        read();
        Q_EMIT ended();
    });
}

void PlayJob::start(const PosterPlan::Video &video, double from, QSize size)
{
    m_size = QSize(std::max(2, size.width() & ~1), std::max(2, size.height() & ~1));
    m_from = from;
    m_frameRate = video.frameRate > 0 ? video.frameRate : 25;
    m_count = 0;
    m_pending.clear();
    // -re: the input is read at its own pace, so the pipe carries each picture when it is due.
    const QStringList arguments = QStringList { u"-v"_s, u"error"_s, u"-re"_s, u"-ss"_s, decimalText(from) }
        + InputFormats::inputOptions(video.format)
        + QStringList { u"-i"_s, video.path, u"-map"_s, video.stream ? u"0:%1"_s.arg(*video.stream) : u"0:v:0"_s,
                        u"-vf"_s,
                        u"scale=%1:%2:flags=bilinear,format=bgra"_s.arg(m_size.width()).arg(m_size.height()),
                        u"-f"_s, u"rawvideo"_s, u"-"_s };
    m_run.start(m_encoderPath, arguments);
}

void PlayJob::stop()
{
    m_run.abandon();
    m_pending.clear();
}

void PlayJob::read()
{
    m_pending += m_run.takeOutput();
    const qsizetype size = qsizetype(m_size.width()) * m_size.height() * 4;
    const qsizetype whole = m_pending.size() / size;
    if (whole == 0)
        return;
    // Only the newest picture is shown: one that came late is already past.
    m_count += whole;
    const QImage image(reinterpret_cast<const uchar *>(m_pending.constData()) + (whole - 1) * size, m_size.width(),
                       m_size.height(), m_size.width() * 4, QImage::Format_RGB32);
    const QImage copy = image.copy();
    m_pending.remove(0, whole * size);
    Q_EMIT picture(copy, m_from + double(m_count - 1) / m_frameRate);
}
