#include "CropJob.h"

#include "OutputFile.h"
#include "media/FileProbe.h"
#include "util/ChildProcess.h"
#include "util/Diagnostics.h"

#include <QFile>
#include <QFileInfo>

using namespace Qt::StringLiterals;

CropJob::CropJob(const QString &encoderPath, const QString &probeToolPath, QObject *parent)
    : QObject(parent)
    , m_encoderPath(encoderPath)
    , m_probe(probeToolPath)
{
    prepareChildProcess(m_process);
    m_killTimer.setSingleShot(true);
    m_killTimer.setInterval(killDelayMs);
    connect(&m_killTimer, &QTimer::timeout, &m_process, &QProcess::kill);
    connect(&m_process, &QProcess::readyReadStandardError, this, &CropJob::handleEncoderOutput);
    connect(&m_process, &QProcess::finished, this, &CropJob::encoderFinished);
    connect(&m_process, &QProcess::errorOccurred, this, &CropJob::encoderError);
    connect(&m_probe, &ProbeJob::finished, this, &CropJob::cropFinished);
}

CropJob::~CropJob()
{
    if (m_process.state() != QProcess::NotRunning) {
        const QSignalBlocker blocker(m_process);
        m_process.kill();
        m_process.waitForFinished(-1);
    }
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

    m_process.setProgram(m_encoderPath);
    m_process.setArguments(arguments);
    m_process.setProcessChannelMode(QProcess::ForwardedOutputChannel);
    m_state = State::Encoding;
    m_process.start();
    // Without free file descriptors or processes the start fails at once.
    return isRunning();
}

void CropJob::cancel()
{
    if (m_state == State::Idle || m_isProcessCancelledByUser)
        return;
    m_isProcessCancelledByUser = true;
    if (m_state == State::Encoding) {
        m_process.terminate();
        m_killTimer.start();
    } else {
        m_probe.cancel();
        finishCancelled();
    }
}

void CropJob::handleEncoderOutput()
{
    if (const auto percent = m_output.feed(m_process.readAllStandardError(),
                                              m_request.trim ? m_request.trim->end - m_request.trim->start
                                                             : m_request.inputDuration))
        Q_EMIT progressChanged(*percent);
}

void CropJob::encoderError(QProcess::ProcessError error)
{
    if (error != QProcess::FailedToStart || m_state != State::Encoding)
        return;
    if (m_isProcessCancelledByUser) {
        finishCancelled();
        return;
    }
    fail(tr("The encoder could not be started: ") + m_process.errorString());
}

void CropJob::encoderFinished(int exitCode, QProcess::ExitStatus exitStatus)
{
    m_killTimer.stop();
    if (m_state != State::Encoding)
        return;
    handleEncoderOutput();
    if (m_isProcessCancelledByUser) {
        finishCancelled();
        return;
    }
    if (exitStatus != QProcess::NormalExit) {
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
    if (!OutputFile::replace(m_temporaryPath, m_destination, &error)) {
        fail(tr("The cropped video could not be saved as %1: %2").arg(m_request.destination, error));
        return;
    }
    m_temporaryPath.clear();
    forgetRecord();
    m_state = State::Idle;
    Q_EMIT succeeded(output.withPath(m_request.destination));
}

void CropJob::fail(const QString &reason)
{
    discardTemporary();
    m_state = State::Idle;
    Q_EMIT failed(reason);
}

void CropJob::finishCancelled()
{
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
