#include "PosterExtractor.h"

#include "util/ChildProcess.h"
#include "util/Numbers.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

using namespace Qt::StringLiterals;

PosterExtractor::PosterExtractor(const QString &encoderPath, QObject *parent)
    : QObject(parent)
    , m_encoderPath(encoderPath)
{
    prepareChildProcess(m_process);
    m_process.setProcessChannelMode(QProcess::ForwardedChannels);
    m_timeout.setSingleShot(true);
    m_timeout.setInterval(frameTimeoutMs);
    connect(&m_timeout, &QTimer::timeout, &m_process, &QProcess::kill);
    connect(&m_process, &QProcess::finished, this, &PosterExtractor::runEnded);
    connect(&m_process, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            runEnded();
    });
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

QStringList PosterExtractor::posterArguments(const QString &seek, const QString &inputPath, const QString &framePath)
{
    return { u"-v"_s, u"quiet"_s, u"-ss"_s, seek, u"-i"_s, inputPath, u"-frames:v"_s, u"1"_s, u"-y"_s, framePath };
}

QString PosterExtractor::framePath(const QString &framesDirectory, int n)
{
    return framesDirectory + u"/out"_s + QString::number(n) + u".jpg"_s;
}

void PosterExtractor::extractPosterFrames(const QString &inputPath, double duration, const QString &framesDirectory)
{
    cancel();
    QDir(framesDirectory).removeRecursively();
    QDir().mkdir(framesDirectory);

    m_inputPath = inputPath;
    m_framesDirectory = framesDirectory;
    m_seekTimes = seekTimes(duration);
    if (m_encoderPath.isEmpty()) {
        QMetaObject::invokeMethod(this, &PosterExtractor::finished, Qt::QueuedConnection);
        return;
    }
    m_frame = 1;
    startRun();
}

void PosterExtractor::cancel()
{
    m_frame = 0;
    m_timeout.stop();
    if (m_process.state() != QProcess::NotRunning) {
        const QSignalBlocker blocker(m_process);
        m_process.kill();
        m_process.waitForFinished(-1);
    }
}

void PosterExtractor::startRun()
{
    const QString seek = m_seekTimes.at(m_frame - 1);
    const QString frame = framePath(m_framesDirectory, m_frame);
    m_process.setProgram(m_encoderPath);
    m_process.setArguments(posterArguments(seek, m_inputPath, frame));
    m_timeout.start();
    m_process.start();
}

void PosterExtractor::runEnded()
{
    if (m_frame == 0)
        return;
    m_timeout.stop();
    const QString frame = framePath(m_framesDirectory, m_frame);
    if (QFileInfo(frame).size() == 0) {
        for (int earlier = m_frame - 1; earlier >= 1; --earlier) {
            const QString standIn = framePath(m_framesDirectory, earlier);
            if (QFileInfo::exists(standIn)) {
                QFile::remove(frame);
                QFile::copy(standIn, frame);
                break;
            }
        }
    }

    const int n = m_frame;
    Q_EMIT frameMade(n, (n - 1) * 10);
    if (m_frame == 0)
        return; // cancelled by a receiver
    if (n == frameCount) {
        m_frame = 0;
        Q_EMIT finished();
        return;
    }
    m_frame = n + 1;
    startRun();
}
