#include "ProbeTool.h"

#include "util/ChildProcess.h"
#include "util/Diagnostics.h"

#include <QFileInfo>

#include <cmath>

using namespace Qt::StringLiterals;

namespace {

void writeStartFailure(const QString &program, const QString &error)
{
    writeDiagnostic(u"Failed to start the probe tool "_s + program + u": "_s + error);
}

void writeTimeout(const QString &path)
{
    writeDiagnostic(u"The probe tool did not finish in time on "_s + path);
}

} // namespace

ProbeTool::ProbeTool(const QString &program, int timeoutMs, QObject *parent)
    : QObject(parent)
    , m_program(program)
{
    m_timeout.setSingleShot(true);
    m_timeout.setInterval(timeoutMs);
    connect(&m_timeout, &QTimer::timeout, this, [this] {
        writeTimeout(m_path);
        stopProcess();
        complete(std::nullopt);
    });
    connect(&m_process, &QProcess::finished, this, [this] { complete(m_process.readAllStandardOutput()); });
    connect(&m_process, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        // A failing start may report more than once.
        if (error != QProcess::FailedToStart || !isRunning())
            return;
        writeStartFailure(m_program, m_process.errorString());
        complete(std::nullopt);
    });
}

ProbeTool::~ProbeTool()
{
    cancel();
}

QStringList ProbeTool::arguments(const QString &path)
{
    return { u"-v"_s, u"quiet"_s, u"-print_format"_s, u"json"_s, u"-show_format"_s,
             u"-show_streams"_s, u"-show_chapters"_s, u"-show_error"_s, path };
}

QStringList ProbeTool::packetListing(const QString &path, const QString &stream, const QString &intervals)
{
    return { u"-v"_s, u"error"_s, u"-select_streams"_s, stream, u"-read_intervals"_s, intervals, u"-show_entries"_s,
             u"format=start_time:packet=pts_time,duration_time,flags"_s, u"-of"_s, u"csv=p=0"_s, path };
}

QList<ProbeTool::Packet> ProbeTool::packets(const QByteArray &listing)
{
    // "pts_time,duration_time,flags" per packet, then the format's start time on a line of its own.
    QList<Packet> packets;
    double start = 0;
    for (const QByteArray &line : listing.split('\n')) {
        const QList<QByteArray> fields = line.trimmed().split(',');
        bool isTime = false;
        const double time = fields.value(0).toDouble(&isTime);
        if (isTime && fields.size() == 1)
            start = time;
        else if (isTime && fields.size() >= 3)
            packets.append({ time, fields[1].toDouble(), fields[2].contains('K') });
    }
    // To the microsecond, as the tool prints them.
    for (Packet &packet : packets)
        packet.time = std::round((packet.time - start) * 1e6) / 1e6;
    return packets;
}

bool ProbeTool::prepare(QProcess &process, const QString &path, const QStringList &arguments) const
{
    // A missing path is the tool's to report; a FIFO would block it forever.
    const QFileInfo info(path);
    if (info.exists() && !info.isFile()) {
        writeDiagnostic(u"Not probing a path that is not a regular file: "_s + path);
        return false;
    }
    process.setProgram(m_program);
    process.setArguments(arguments);
    prepareChildProcess(process);
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    return true;
}

std::optional<QByteArray> ProbeTool::run(const QString &path)
{
    QProcess tool;
    if (!prepare(tool, path, arguments(path)))
        return std::nullopt;
    tool.start(QIODevice::ReadOnly);
    if (!tool.waitForStarted(-1)) {
        writeStartFailure(m_program, tool.errorString());
        return std::nullopt;
    }
    // waitForFinished keeps reading standard output, so a large report cannot fill the pipe.
    if (!tool.waitForFinished(m_timeout.interval())) {
        tool.kill();
        tool.waitForFinished(-1);
        writeTimeout(path);
        return std::nullopt;
    }
    return tool.readAllStandardOutput();
}

void ProbeTool::start(const QString &path, const QStringList &arguments)
{
    cancel();
    m_path = path;
    if (!prepare(m_process, path, arguments.isEmpty() ? ProbeTool::arguments(path) : arguments)) {
        QMetaObject::invokeMethod(this, [this, path] {
            if (m_path == path && m_process.state() == QProcess::NotRunning)
                complete(std::nullopt);
        }, Qt::QueuedConnection);
        return;
    }
    // Armed before the start, which may already fail and complete the run.
    m_timeout.start();
    m_process.start(QIODevice::ReadOnly);
}

void ProbeTool::cancel()
{
    m_path.clear();
    stopProcess();
}

void ProbeTool::stopProcess()
{
    m_timeout.stop();
    if (m_process.state() != QProcess::NotRunning) {
        const QSignalBlocker blocker(m_process);
        m_process.kill();
        m_process.waitForFinished(-1);
    }
}

void ProbeTool::complete(const std::optional<QByteArray> &report)
{
    if (m_path.isEmpty())
        return;
    m_timeout.stop();
    Q_EMIT finished(std::exchange(m_path, QString()), report);
}
