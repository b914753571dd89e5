#include "FrameGrabber.h"

#include "util/ChildProcess.h"
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

} // namespace

FrameGrabber::FrameGrabber(const QString &encoderPath, QObject *parent)
    : QObject(parent)
    , m_encoderPath(encoderPath)
{
}

FrameGrabber::~FrameGrabber()
{
    drop(m_waiting);
    drop(m_working);
    if (!m_handedOver.isEmpty())
        QFile::remove(m_handedOver);
}

QString FrameGrabber::script(const PosterExtractor::Video &video, QSize pictureSize, double time, bool exact)
{
    const double lead = exact ? PosterPlanner::seekLead(video.format) : 0;
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
        drop(m_waiting);
    m_folder = folder;
}

void FrameGrabber::setVideo(const PosterExtractor::Video &video, QSize pictureSize)
{
    stop();
    m_video = video;
    m_size = pictureSize;
}

void FrameGrabber::warmUp()
{
    if (!m_waiting.process && !m_folder.isEmpty())
        m_waiting = prepared();
}

FrameGrabber::Run FrameGrabber::prepared()
{
    Run run;
    run.path = u"%1/scrub-%2.jpg"_s.arg(m_folder).arg(++m_serial);
    run.process = new QProcess(this);
    prepareChildProcess(*run.process);
    // What to decode comes later, through the standard input.
    run.process->setStandardInputFile(QString());
    QProcess *process = run.process;
    connect(process, &QProcess::finished, this, [this, process] { ended(process); });
    connect(process, &QProcess::errorOccurred, this, [this, process](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            ended(process);
    });
    process->start(m_encoderPath, QStringList { u"-loglevel"_s, u"level+info"_s, u"-nostats"_s, u"-nostdin"_s,
                                                u"-filter_complex_script"_s, u"pipe:0"_s, u"-map"_s, u"[out]"_s }
                                      + PosterPlanner::posterOutput(1, run.path));
    return run;
}

void FrameGrabber::grab(double time, bool exact)
{
    if (m_folder.isEmpty())
        return;
    // An encoder that hangs on a file does not hold the next pictures back.
    if (m_working.process && (m_working.exact || m_working.begun.hasExpired(hangMs)))
        drop(m_working);
    if (m_working.process)
        m_pending = { time, exact };
    else
        begin(time, exact);
}

void FrameGrabber::stop()
{
    m_pending.reset();
    drop(m_working);
}

void FrameGrabber::begin(double time, bool exact)
{
    m_pending.reset();
    warmUp();
    m_working = std::exchange(m_waiting, prepared());
    m_working.time = time;
    m_working.exact = exact;
    m_working.begun.start();
    m_working.process->write(script(m_video, m_size, time, exact).toUtf8());
    m_working.process->closeWriteChannel();
}

void FrameGrabber::ended(QProcess *process)
{
    if (process == m_waiting.process) {
        // It could not start, or went before it was asked for anything: the next request starts another.
        m_waiting.process = nullptr;
        process->deleteLater();
        return;
    }
    if (process != m_working.process)
        return;
    const Run run = std::exchange(m_working, Run {});
    const QList<QList<double>> picked = PosterPlanner::pickedTimes(QString::fromUtf8(process->readAllStandardError()));
    process->deleteLater();
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

void FrameGrabber::drop(Run &run)
{
    if (!run.process)
        return;
    run.process->disconnect(this);
    run.process->kill();
    run.process->waitForFinished(1000);
    delete run.process;
    QFile::remove(run.path);
    run = Run {};
}
