#include "ToolRun.h"

#include "ChildProcess.h"

#include <QCoreApplication>

ToolRun::ToolRun(QObject *parent)
    : QObject(parent)
{
    m_timeout.setSingleShot(true);
    connect(&m_timeout, &QTimer::timeout, this, [this] {
        m_timedOut = true;
        if (m_process)
            m_process->kill();
    });
    m_kill.setSingleShot(true);
    m_kill.setInterval(graceMs);
    connect(&m_kill, &QTimer::timeout, this, [this] {
        if (m_process)
            m_process->kill();
    });
}

ToolRun::~ToolRun()
{
    abandon();
}

void ToolRun::start(const QString &program, const QStringList &arguments, int timeoutMs, Input input)
{
    abandon();
    m_pendingError.clear();
    m_output.clear();
    m_errorString.clear();
    m_stopping = false;
    m_timedOut = false;
    m_input = input;
    QProcess *process = m_process = new QProcess(this);
    prepareChildProcess(*process);
    if (input == Input::keys)
        process->setStandardInputFile(QString());
    connect(process, &QProcess::readyReadStandardOutput, this, [this] {
        m_output += m_process->readAllStandardOutput();
        Q_EMIT outputReady();
    });
    connect(process, &QProcess::readyReadStandardError, this, [this] { readErrors(false); });
    connect(process, &QProcess::finished, this, [this, process](int exitCode, QProcess::ExitStatus status) {
        m_output += process->readAllStandardOutput();
        readErrors(true);
        if (m_process != process)
            return; // let go by a receiver of its last lines
        const Outcome outcome = m_timedOut ? Outcome::timedOut
            : m_stopping                   ? Outcome::stopped
            : status == QProcess::CrashExit ? Outcome::crashed
                                            : Outcome::exited;
        end(outcome, exitCode);
    });
    connect(process, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        // A failing start may report more than once; other errors end in finished().
        if (error == QProcess::FailedToStart && m_process && m_process->state() == QProcess::NotRunning) {
            m_errorString = m_process->errorString();
            end(m_stopping ? Outcome::stopped : Outcome::failedToStart, -1);
        }
    });
    if (timeoutMs > 0)
        m_timeout.start(timeoutMs);
    process->start(program, arguments, QIODevice::ReadWrite);
}

void ToolRun::writeAndClose(const QByteArray &bytes)
{
    if (!m_process || m_input != Input::keys)
        return;
    m_process->write(bytes);
    m_process->closeWriteChannel();
}

void ToolRun::stop()
{
    if (!m_process || m_stopping)
        return;
    m_stopping = true;
    // ffmpeg reads "q" where it has keys to read; elsewhere the terminate signal asks the same.
    if (m_input == Input::keys && m_process->isWritable()) {
        m_process->write("q");
        m_process->closeWriteChannel();
    }
    m_process->terminate();
    m_kill.start();
}

void ToolRun::abandon()
{
    m_timeout.stop();
    m_kill.stop();
    QProcess *process = std::exchange(m_process, nullptr);
    if (!process)
        return;
    process->disconnect(this);
    if (process->state() == QProcess::NotRunning) {
        process->deleteLater();
        return;
    }
    // Reaped by Qt when it is gone: no wait here, and no object left once it is.
    connect(process, &QProcess::finished, process, &QObject::deleteLater);
    process->setParent(QCoreApplication::instance());
    process->kill();
}

QByteArray ToolRun::takeOutput()
{
    if (m_process)
        m_output += m_process->readAllStandardOutput();
    return std::exchange(m_output, QByteArray());
}

void ToolRun::readErrors(bool all)
{
    QProcess *process = m_process;
    if (!process)
        return;
    QByteArray text = std::exchange(m_pendingError, QByteArray()) + process->readAllStandardError();
    qsizetype from = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != '\n' && text[i] != '\r')
            continue;
        if (i > from)
            Q_EMIT errorLine(QString::fromUtf8(text.constData() + from, i - from));
        from = i + 1;
        // A receiver may have let the run go, or started another.
        if (m_process != process)
            return;
    }
    text.remove(0, from);
    // A line that never ends must not grow without bound.
    if ((all || text.size() > 64 * 1024) && !text.isEmpty())
        Q_EMIT errorLine(QString::fromUtf8(text));
    else
        m_pendingError = text;
}

void ToolRun::end(Outcome outcome, int exitCode)
{
    m_timeout.stop();
    m_kill.stop();
    QProcess *process = std::exchange(m_process, nullptr);
    if (process)
        process->deleteLater();
    Q_EMIT ended(outcome, exitCode);
}
