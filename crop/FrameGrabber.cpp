#include "FrameGrabber.h"

#include "media/InputFormats.h"
#include "util/Numbers.h"

#include <QFile>
#include <QImageReader>

using namespace Qt::StringLiterals;

namespace {

// One level of the filter graph's escaping: every character it could take as its own.
QString escaped(const QString &text)
{
    QString out;
    for (const QChar c : text) {
        if (u"\\':,;[]= \t\n"_s.contains(c))
            out += u'\\';
        out += c;
    }
    return out;
}

void drop(std::unique_ptr<ToolRun> &tool, const QString &path)
{
    tool.reset();
    if (!path.isEmpty())
        QFile::remove(path);
}

} // namespace

FrameGrabber::FrameGrabber(const QString &encoderPath, QObject *parent)
    : QObject(parent)
    , m_encoderPath(encoderPath)
{
}

FrameGrabber::~FrameGrabber()
{
    drop(m_waiting.tool, m_waiting.path);
    drop(m_working.tool, m_working.path);
    if (!m_handedOver.isEmpty())
        QFile::remove(m_handedOver);
}

QString FrameGrabber::script(const PosterPlan::Video &video, QSize pictureSize, double time, bool exact)
{
    const double lead = exact ? InputFormats::seekLead(video.format) : 0;
    // The name is an option of the source inside a graph: escaped once for each. A keyframe alone is
    // decoded soonest on one thread; frames on several would first fill every thread's queue.
    QString graph = u"movie=filename=%1:format_opts=protocol_whitelist=file:dec_threads=%2:seek_point=%3"_s.arg(
        escaped(escaped(u"file:"_s + video.path)), exact ? u"0"_s : u"1"_s, decimalText(qMax(time - lead, 0.0)));
    if (video.stream)
        graph += u":si=%1"_s.arg(*video.stream);
    // The source's pictures keep the file's own timestamps; the seek lands on a keyframe at or before.
    graph += exact ? u",select='gte(t,%1)'"_s.arg(decimalText(video.startTime + time - 0.0005))
                   : u",select='eq(key,1)'"_s;
    // Reported from the time asked for: the report keeps six digits, too few for an hour in milliseconds.
    graph += u",trim=end_frame=1,setpts=PTS-round(%1/TB),showinfo@in0=checksum=0"_s.arg(decimalText(video.startTime + time));
    // The encoder turns what it reads itself; this source does not.
    switch ((video.rotation % 360 + 360) % 360) {
    case 90:
        graph += u",transpose=clock"_s;
        break;
    case 180:
        graph += u",hflip,vflip"_s;
        break;
    case 270:
        graph += u",transpose=cclock"_s;
        break;
    }
    if (pictureSize.isValid() && pictureSize != video.frame)
        graph += u",scale=%1:%2:flags=bilinear"_s.arg(pictureSize.width()).arg(pictureSize.height());
    return graph + u"[out]"_s;
}

void FrameGrabber::setFolder(const QString &folder)
{
    if (folder != m_folder)
        drop(m_waiting.tool, m_waiting.path);
    m_folder = folder;
}

void FrameGrabber::setVideo(const PosterPlan::Video &video, QSize pictureSize)
{
    stop();
    m_video = video;
    m_size = pictureSize;
}

void FrameGrabber::warmUp()
{
    if (!m_waiting.tool && !m_folder.isEmpty())
        m_waiting = prepared();
}

FrameGrabber::Run FrameGrabber::prepared()
{
    Run run;
    run.path = u"%1/scrub-%2.jpg"_s.arg(m_folder).arg(++m_serial);
    run.tool = std::make_unique<ToolRun>();
    ToolRun *tool = run.tool.get();
    connect(tool, &ToolRun::ended, this, [this, tool] { ended(tool); });
    connect(tool, &ToolRun::errorLine, this, [this, tool](const QString &line) {
        if (tool == m_working.tool.get())
            m_working.messages += line + u'\n';
    });
    // What to decode comes later, through the standard input.
    tool->start(m_encoderPath,
                QStringList { u"-loglevel"_s, u"level+info"_s, u"-nostats"_s, u"-nostdin"_s, u"-filter_complex_script"_s,
                              u"pipe:0"_s, u"-map"_s, u"[out]"_s }
                    + PosterPlan::jpegOutput(1, run.path),
                0, ToolRun::Input::keys);
    return run;
}

void FrameGrabber::grab(double time, bool exact)
{
    if (m_folder.isEmpty())
        return;
    // An encoder that hangs on a file does not hold the next pictures back.
    if (m_working.tool && (m_working.exact || m_working.begun.hasExpired(hangMs)))
        drop(m_working.tool, m_working.path);
    if (m_working.tool)
        m_pending = { time, exact };
    else
        begin(time, exact);
}

void FrameGrabber::stop()
{
    m_pending.reset();
    drop(m_working.tool, m_working.path);
}

void FrameGrabber::begin(double time, bool exact)
{
    m_pending.reset();
    warmUp();
    m_working = std::exchange(m_waiting, prepared());
    m_working.time = time;
    m_working.exact = exact;
    m_working.begun.start();
    m_working.tool->writeAndClose(script(m_video, m_size, time, exact).toUtf8());
}

void FrameGrabber::ended(ToolRun *tool)
{
    if (tool == m_waiting.tool.get()) {
        // It could not start, or went before it was asked for anything: the next request starts another.
        m_waiting.tool.release()->deleteLater();
        return;
    }
    if (tool != m_working.tool.get())
        return;
    Run run = std::exchange(m_working, Run {});
    run.tool.release()->deleteLater();
    const QList<QList<double>> picked = PosterPlan::pickedTimes(run.messages);
    if (!picked.isEmpty() && !picked[0].isEmpty() && QImageReader(run.path).size().isValid()) {
        if (!m_handedOver.isEmpty())
            QFile::remove(m_handedOver);
        m_handedOver = run.path;
        Q_EMIT grabbed(run.path, qMax(run.time + picked[0][0], 0.0), run.exact);
    } else {
        QFile::remove(run.path);
    }
    if (m_pending)
        begin(m_pending->first, m_pending->second);
}
