#include "PosterExtractor.h"

#include "CropArguments.h"
#include "EncoderOutput.h"
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
    m_process.setProcessChannelMode(QProcess::ForwardedOutputChannel);
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

QStringList PosterExtractor::posterArguments(const Video &video, const QString &seek, const QString &framePath,
                                             bool decodeFromStart)
{
    const QStringList seeking { u"-ss"_s, seek };
    return QStringList { u"-v"_s, u"warning"_s } + (decodeFromStart ? QStringList() : seeking)
        + QStringList { u"-i"_s, video.path } + (decodeFromStart ? seeking : QStringList())
        + mapVideoStream(video.stream) + QStringList { u"-frames:v"_s, u"1"_s, u"-y"_s, framePath };
}

QString PosterExtractor::framePath(const QString &framesDirectory, int n)
{
    return framesDirectory + u"/out"_s + QString::number(n) + u".jpg"_s;
}

bool PosterExtractor::decodeTrouble(const QString &messages, const QString &codec)
{
    // The decoder speaks as "[hevc @ 0x…]"; a demuxer that cannot find a keyframe says so too.
    return (!codec.isEmpty() && messages.contains(u'[' + codec + u" @ "_s))
        || messages.contains(u"Missing key frame"_s) || messages.contains(u"could not seek"_s);
}

void PosterExtractor::extractPosterFrames(const Video &video, const QString &framesDirectory)
{
    cancel();
    QDir(framesDirectory).removeRecursively();
    QDir().mkdir(framesDirectory);

    m_video = video;
    m_framesDirectory = framesDirectory;
    m_seekTimes = seekTimes(video.duration);
    m_madeAny = false;
    m_firstError.clear();
    if (m_encoderPath.isEmpty()) {
        QMetaObject::invokeMethod(this, [this] { Q_EMIT failed(u"The encoder (ffmpeg) is missing."_s); },
                                  Qt::QueuedConnection);
        return;
    }
    m_frame = 1;
    startRun(false);
}

void PosterExtractor::cancel()
{
    m_frame = 0;
    m_running = false;
    m_timeout.stop();
    if (m_process.state() != QProcess::NotRunning) {
        const QSignalBlocker blocker(m_process);
        m_process.kill();
        m_process.waitForFinished(-1);
    }
}

void PosterExtractor::startRun(bool decodeFromStart)
{
    m_decodingFromStart = decodeFromStart;
    const QString frame = framePath(m_framesDirectory, m_frame);
    QFile::remove(frame);
    m_process.setProgram(m_encoderPath);
    m_process.setArguments(posterArguments(m_video, m_seekTimes.at(m_frame - 1), frame, decodeFromStart));
    m_running = true;
    m_timeout.start();
    m_process.start();
}

void PosterExtractor::runEnded()
{
    // A failing start may report more than once.
    if (m_frame == 0 || !std::exchange(m_running, false))
        return;
    m_timeout.stop();
    const QByteArray log = m_process.readAllStandardError();
    const QString messages = QString::fromUtf8(log);
    const QString frame = framePath(m_framesDirectory, m_frame);
    const bool made = QFileInfo(frame).size() > 0;
    if ((!made || decodeTrouble(messages, m_video.codec)) && !m_decodingFromStart) {
        startRun(true);
        return;
    }
    if (made) {
        m_madeAny = true;
    } else {
        if (m_firstError.isEmpty()) {
            EncoderOutput output;
            output.feed(log + '\n', 0);
            m_firstError = output.decisiveMessage();
        }
        for (int earlier = m_frame - 1; earlier >= 1; --earlier) {
            const QString standIn = framePath(m_framesDirectory, earlier);
            if (QFileInfo::exists(standIn)) {
                QFile::copy(standIn, frame);
                break;
            }
        }
    }

    const int n = m_frame;
    Q_EMIT frameMade(n, (n - 1) * 10);
    if (m_frame == 0)
        return; // cancelled by a receiver
    if (n < frameCount) {
        m_frame = n + 1;
        startRun(false);
        return;
    }
    m_frame = 0;
    if (m_madeAny)
        Q_EMIT finished();
    else
        Q_EMIT failed(m_firstError);
}
