#include "CropJob.h"

#include "OutputFile.h"
#include "media/FileProbe.h"
#include "util/Diagnostics.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

using namespace Qt::StringLiterals;

CropJob::CropJob(const QString &encoderPath, const QString &probeToolPath, QObject *parent)
    : QObject(parent)
    , m_encoderPath(encoderPath)
    , m_probe(probeToolPath)
{
    m_stall.setSingleShot(true);
    m_stall.setInterval(stallMs);
    connect(&m_stall, &QTimer::timeout, this, [this] {
        m_isStalled = true;
        Q_EMIT stalled(true);
    });
    connect(&m_run, &ToolRun::errorLine, this, &CropJob::handleEncoderOutput);
    connect(&m_run, &ToolRun::ended, this, &CropJob::encoderFinished);
    connect(&m_probe, &ProbeJob::finished, this, &CropJob::cropFinished);
}

CropJob::~CropJob()
{
    m_run.abandon();
    m_probe.cancel();
    discardTemporary();
}

bool CropJob::runCropProcess(const CropRequest &request)
{
    if (isRunning())
        return false;
    m_isProcessCancelledByUser = false;
    m_output = EncoderOutput();
    m_request = request;

    if (m_encoderPath.isEmpty() || !QFileInfo(m_encoderPath).isExecutable()) {
        Q_EMIT failed(tr("The encoder (ffmpeg) is missing from Tessaly's resources."));
        return false;
    }
    if (const auto refusal = OutputFile::refusal(request.destination)) {
        Q_EMIT failed(*refusal + tr(" Please choose another name or folder."));
        return false;
    }
    m_destination = OutputFile::resolved(request.destination);
    QString error;
    const auto temporary = OutputFile::createTemporaryBeside(m_destination, &error);
    if (!temporary) {
        Q_EMIT failed(tr("Cannot write in the folder %1: %2").arg(QFileInfo(m_destination).absolutePath(), error));
        return false;
    }
    m_temporaryPath = *temporary;
    m_record = OutputFile::record(m_recordsFolder, m_temporaryPath);

    const QStringList arguments = buildCropArguments(request, m_temporaryPath);
    QStringList quoted;
    for (const QString &argument : arguments)
        quoted << u'"' + argument + u'"';
    writeDiagnostic(u'[' + quoted.join(u", "_s) + u']');

    m_state = State::Encoding;
    m_isStalled = false;
    m_stall.start();
    m_run.start(m_encoderPath, arguments, 0, ToolRun::Input::keys);
    // Without free file descriptors or processes the start fails at once.
    return isRunning();
}

void CropJob::cancel()
{
    if (m_state == State::Idle || m_isProcessCancelledByUser)
        return;
    m_isProcessCancelledByUser = true;
    if (m_state == State::Encoding) {
        m_run.stop();
    } else {
        m_probe.cancel();
        finishCancelled();
    }
}

void CropJob::handleEncoderOutput(const QString &line)
{
    const auto percent = m_output.feed(line.toUtf8() + '\n', m_request.trim ? m_request.trim->end - m_request.trim->start
                                                                            : m_request.inputDuration);
    if (!percent)
        return;
    m_stall.start();
    if (std::exchange(m_isStalled, false))
        Q_EMIT stalled(false);
    Q_EMIT progressChanged(*percent);
}

void CropJob::encoderFinished(ToolRun::Outcome outcome, int exitCode)
{
    m_stall.stop();
    if (m_state != State::Encoding)
        return;
    if (m_isProcessCancelledByUser) {
        finishCancelled();
        return;
    }
    if (outcome == ToolRun::Outcome::failedToStart) {
        fail(tr("The encoder could not be started: ") + m_run.errorString());
        return;
    }
    if (outcome != ToolRun::Outcome::exited) {
        fail(tr("The encoder stopped unexpectedly."));
        return;
    }
    if (exitCode != 0) {
        fail(tr("The encoder stopped with exit status %1.\n%2").arg(exitCode).arg(m_output.decisiveMessage()));
        return;
    }
    m_state = State::Probing;
    m_probe.start(m_temporaryPath);
}

void CropJob::cropFinished(const FileProbe &output)
{
    if (m_state != State::Probing)
        return;
    if (!output.isCroppableVideo()) {
        fail(tr("The encoder finished but wrote no usable video."));
        return;
    }
    QString error;
    const auto placed = OutputFile::place(m_temporaryPath, m_destination, m_request.replaces, &error);
    if (!placed) {
        fail(tr("The cropped video could not be saved as %1: %2").arg(m_request.destination, error));
        return;
    }
    m_temporaryPath.clear();
    forgetRecord();
    m_state = State::Idle;
    // Through a symlink the video is where the link points, and the user knows it by the link's name.
    Q_EMIT succeeded(output.withPath(*placed == m_destination ? m_request.destination : *placed));
}

void CropJob::fail(const QString &reason)
{
    discardTemporary();
    m_state = State::Idle;
    m_stall.stop();
    // Whatever the tools said of it, a folder gone is why nothing could be written there.
    const QString folder = QFileInfo(m_destination).absolutePath();
    Q_EMIT failed(m_destination.isEmpty() || QFileInfo(folder).isDir()
                      ? reason
                      : tr("The folder %1 was moved or deleted while the video was being cropped.")
                            .arg(QDir::toNativeSeparators(folder)));
}

void CropJob::finishCancelled()
{
    m_stall.stop();
    discardTemporary();
    m_state = State::Idle;
    Q_EMIT cancelled();
}

void CropJob::discardTemporary()
{
    if (!m_temporaryPath.isEmpty())
        QFile::remove(std::exchange(m_temporaryPath, QString()));
    forgetRecord();
}

void CropJob::forgetRecord()
{
    if (!m_record.isEmpty())
        QFile::remove(std::exchange(m_record, QString()));
}
