#include "KeyframeListing.h"

#include "util/ChildProcess.h"

#include <algorithm>

using namespace Qt::StringLiterals;

KeyframeListing::KeyframeListing(const QString &probeToolPath, QObject *parent)
    : QObject(parent)
{
    m_process.setProgram(probeToolPath);
    m_process.setStandardErrorFile(QProcess::nullDevice());
    connect(&m_process, &QProcess::finished, this, [this](int exitCode, QProcess::ExitStatus status) {
        m_listed = status == QProcess::NormalExit && exitCode == 0 ? m_process.readAllStandardOutput() : QByteArray();
        m_done = true;
        Q_EMIT finished();
    });
}

KeyframeListing::~KeyframeListing()
{
    cancel();
}

QList<double> KeyframeListing::keyframeTimes(const QByteArray &listing, std::optional<qint64> stream)
{
    QList<double> times;
    for (const QByteArray &line : listing.split('\n')) {
        const QList<QByteArray> fields = line.trimmed().split(',');
        bool isIndex = false, isTime = false;
        const qint64 index = fields.value(0).toLongLong(&isIndex);
        const double time = fields.value(1).toDouble(&isTime);
        if (!stream && isIndex)
            stream = index;
        if (fields.size() >= 3 && isIndex && isTime && index == stream && fields[2].contains('K'))
            times << time;
    }
    std::sort(times.begin(), times.end());
    times.erase(std::unique(times.begin(), times.end()), times.end());
    return times;
}

void KeyframeListing::start(const QString &path, ChildPriority priority)
{
    cancel();
    prepareChildProcess(m_process, priority);
    m_path = path;
    m_done = false;
    m_listed.clear();
    m_process.setArguments({ u"-v"_s, u"error"_s, u"-select_streams"_s, u"v"_s, u"-show_entries"_s,
                             u"packet=stream_index,pts_time,flags"_s, u"-of"_s, u"csv=p=0"_s, path });
    m_process.start(QIODevice::ReadOnly);
}

void KeyframeListing::cancel()
{
    if (m_process.state() != QProcess::NotRunning) {
        const QSignalBlocker blocker(m_process);
        m_process.kill();
        m_process.waitForFinished(-1);
    }
}

QList<double> KeyframeListing::keyframes(const QString &path, std::optional<qint64> stream)
{
    return m_path == path && m_done ? keyframeTimes(m_listed, stream) : QList<double>();
}
