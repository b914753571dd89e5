#include "Fixtures.h"

#include "util/Numbers.h"
#include "util/Resources.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace Fixtures {

QString ffmpeg()
{
    return Resources::pathForResource(u"creator"_s).value_or(QString());
}

QString ffprobe()
{
    return Resources::pathForResource(u"sniffer"_s).value_or(QString());
}

bool runFfmpeg(const QStringList &arguments)
{
    QProcess process;
    process.setStandardInputFile(QProcess::nullDevice());
    process.start(ffmpeg(), QStringList { u"-v"_s, u"error"_s, u"-nostdin"_s, u"-y"_s } + arguments);
    if (!process.waitForFinished(120'000) || process.exitStatus() != QProcess::NormalExit
        || process.exitCode() != 0) {
        qWarning("ffmpeg %s failed: %s", qUtf8Printable(arguments.join(u' ')),
                 process.readAllStandardError().constData());
        return false;
    }
    return true;
}

QString makeVideo(const QString &dir, const QString &name, const Video &video)
{
    const QString path = dir + u'/' + name;
    // A turn is written as phones write it, by a second pass that copies the streams.
    const QString encoded = video.rotate ? dir + u"/unrotated-"_s + name : path;
    const QString seconds = QString::number(video.seconds);
    const QString picture = u"testsrc2=size=%1x%2:rate=25:duration=%3"_s.arg(video.width).arg(video.height).arg(seconds);
    if (!runFfmpeg({ u"-f"_s, u"lavfi"_s, u"-i"_s, picture, u"-f"_s, u"lavfi"_s, u"-i"_s,
                     u"sine=frequency=440:duration="_s + seconds, u"-c:v"_s, u"libx264"_s, u"-preset"_s,
                     u"ultrafast"_s, u"-pix_fmt"_s, u"yuv420p"_s, u"-c:a"_s, u"aac"_s, u"-ac"_s, u"2"_s, encoded }))
        return {};
    if (video.rotate) {
        const bool ok = runFfmpeg({ u"-i"_s, encoded, u"-map"_s, u"0"_s, u"-c"_s, u"copy"_s,
                                    u"-metadata:s:v:0"_s, u"rotate=%1"_s.arg(video.rotate), path });
        QFile::remove(encoded);
        if (!ok)
            return {};
    }
    return path;
}

QImage frameAt(const QString &video, const QString &seek)
{
    QTemporaryDir dir;
    const QString picture = dir.filePath(u"frame.png"_s);
    // An accurate seek decodes from the keyframe before, so an hour-long file costs no more than a clip;
    // where seeks land anywhere (MPEG-TS, MPEG-PS), the decoder starts at the next keyframe, so from
    // 10 s before.
    const double lead = video.endsWith(u".ts"_s) || video.endsWith(u".mpg"_s) ? std::min(seek.toDouble(), 10.0) : 0;
    return runFfmpeg({ u"-ss"_s, decimalText(seek.toDouble() - lead), u"-i"_s, video, u"-ss"_s, decimalText(lead),
                       u"-frames:v"_s, u"1"_s, picture })
        ? QImage(picture)
        : QImage();
}

double difference(const QImage &a, const QImage &b)
{
    if (a.isNull() || b.isNull())
        return 255;
    const QSize size = a.size().boundedTo(b.size());
    const QImage x = a.scaled(size).convertToFormat(QImage::Format_RGB32);
    const QImage y = b.scaled(size).convertToFormat(QImage::Format_RGB32);
    double sum = 0;
    for (int row = 0; row < size.height(); ++row) {
        const auto *p = reinterpret_cast<const QRgb *>(x.constScanLine(row));
        const auto *q = reinterpret_cast<const QRgb *>(y.constScanLine(row));
        for (int column = 0; column < size.width(); ++column) {
            sum += qAbs(qRed(p[column]) - qRed(q[column])) + qAbs(qGreen(p[column]) - qGreen(q[column]))
                + qAbs(qBlue(p[column]) - qBlue(q[column]));
        }
    }
    return sum / (3.0 * size.width() * size.height());
}

QString probed(const QString &video, const QStringList &arguments)
{
    QProcess probe;
    probe.start(ffprobe(), QStringList { u"-v"_s, u"error"_s, u"-select_streams"_s, u"v:0"_s, u"-of"_s, u"csv=p=0"_s }
                               + arguments + QStringList { video });
    probe.waitForFinished();
    return QString::fromUtf8(probe.readAllStandardOutput()).trimmed();
}

QString output(const QString &program, const QStringList &arguments)
{
    QProcess tool;
    tool.start(program, QStringList { u"-v"_s, u"error"_s } + arguments);
    tool.waitForFinished(60'000);
    return QString::fromUtf8(tool.readAllStandardOutput()).trimmed();
}

int videoFrameCount(const QString &video)
{
    return probed(video, { u"-count_packets"_s, u"-show_entries"_s, u"stream=nb_read_packets"_s }).toInt();
}

QString writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return {};
    return path;
}

QString writeScript(const QString &path, const QByteArray &body)
{
    if (writeFile(path, "#!/bin/sh\n" + body + '\n').isEmpty())
        return {};
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return path;
}

QList<qint64> childProcesses(qint64 pid)
{
    QList<qint64> children;
    const QString tasks = u"/proc/%1/task"_s.arg(pid ? pid : QCoreApplication::applicationPid());
    for (const QString &task : QDir(tasks).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile file(tasks + u'/' + task + u"/children"_s);
        if (!file.open(QIODevice::ReadOnly))
            continue;
        for (const QByteArray &pid : file.readAll().split(' ')) {
            if (!pid.trimmed().isEmpty())
                children << pid.trimmed().toLongLong();
        }
    }
    return children;
}

bool isRunning(qint64 pid)
{
    QFile stat(u"/proc/%1/stat"_s.arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return false;
    const QByteArray line = stat.readAll();
    // The state follows the parenthesised name.
    return line.mid(line.lastIndexOf(')') + 2, 1) != "Z";
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList filesIn(const QString &dir)
{
    return QDir(dir).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
}

} // namespace Fixtures


CapturedStdout::CapturedStdout()
{
    std::fflush(stdout);
    m_capture.open();
    m_savedFd = dup(STDOUT_FILENO);
    dup2(m_capture.handle(), STDOUT_FILENO);
}

CapturedStdout::~CapturedStdout()
{
    const QString captured = text();
    dup2(m_savedFd, STDOUT_FILENO);
    close(m_savedFd);
    // A check that failed while the output was captured wrote its verdict here: it belongs in the log.
    bool verdict = false;
    for (const QString &line : captured.split(u'\n')) {
        if (line.startsWith(u"FAIL!"_s) || line.startsWith(u"XPASS"_s))
            verdict = true;
        else if (!line.startsWith(u"   "_s))
            verdict = false;
        if (verdict)
            std::printf("%s\n", qPrintable(line));
    }
    std::fflush(stdout);
}

QString CapturedStdout::text()
{
    std::fflush(stdout);
    return QString::fromUtf8(Fixtures::readFile(m_capture.fileName()));
}
