#include "ProbeTool.h"

#include "InputFormats.h"
#include "util/ChildProcess.h"
#include "util/Diagnostics.h"
#include "util/LocalFile.h"

#include <QProcess>


using namespace Qt::StringLiterals;

ProbeTool::ProbeTool(const QString &program, int timeoutMs, QObject *parent)
    : QObject(parent)
    , m_program(program)
    , m_timeoutMs(timeoutMs)
{
    connect(&m_run, &ToolRun::errorLine, this, [this](const QString &line) { m_messages += line + u'\n'; });
    connect(&m_run, &ToolRun::ended, this, [this](ToolRun::Outcome outcome, int exitCode) {
        const Result result = resultOf(m_path, outcome, exitCode, m_run.takeOutput(), m_messages, m_run.errorString());
        Q_EMIT finished(std::exchange(m_path, QString()), result);
    });
}

QStringList ProbeTool::arguments(const QString &path)
{
    return InputFormats::inputOptions()
        + QStringList { u"-v"_s, u"error"_s, u"-print_format"_s, u"json"_s, u"-show_format"_s, u"-show_streams"_s,
                        u"-show_chapters"_s, u"-show_error"_s, path };
}

bool ProbeTool::isProbable(const QString &path)
{
    // A missing path is the tool's to report; a FIFO would block it forever.
    const LocalFile::Kind kind = LocalFile::kindOf(path);
    if (kind == LocalFile::Kind::regularFile || kind == LocalFile::Kind::missing)
        return true;
    writeDiagnostic(u"Not probing a path that is not a regular file: "_s + path);
    return false;
}

ProbeTool::Result ProbeTool::resultOf(const QString &path, ToolRun::Outcome outcome, int exitCode,
                                      const QByteArray &output, const QString &messages,
                                      const QString &startError) const
{
    Result result;
    result.exitCode = exitCode;
    result.refusedFormat = InputFormats::refusedIn(messages).value_or(QString());
    switch (outcome) {
    case ToolRun::Outcome::exited:
        result.report = output;
        break;
    case ToolRun::Outcome::failedToStart:
        writeDiagnostic(u"Failed to start the probe tool "_s + m_program + u": "_s + startError);
        result.trouble = Trouble::missing;
        result.detail = startError;
        break;
    case ToolRun::Outcome::crashed:
        writeDiagnostic(u"The probe tool crashed on "_s + path);
        result.trouble = Trouble::broken;
        result.detail = messages.trimmed().section(u'\n', -1);
        break;
    case ToolRun::Outcome::timedOut:
        writeDiagnostic(u"The probe tool did not finish in time on "_s + path);
        result.trouble = Trouble::timedOut;
        break;
    case ToolRun::Outcome::stopped:
        break;
    }
    return result;
}

ProbeTool::Result ProbeTool::run(const QString &path)
{
    if (!isProbable(path))
        return {};
    QProcess tool;
    prepareChildProcess(tool);
    tool.start(m_program, arguments(path), QIODevice::ReadOnly);
    if (!tool.waitForStarted(-1))
        return resultOf(path, ToolRun::Outcome::failedToStart, -1, {}, {}, tool.errorString());
    // waitForFinished keeps reading both outputs, so a large report cannot fill the pipe.
    const bool ended = tool.waitForFinished(m_timeoutMs);
    if (!ended) {
        tool.kill();
        tool.waitForFinished(-1);
    }
    const auto outcome = !ended                                  ? ToolRun::Outcome::timedOut
        : tool.exitStatus() == QProcess::CrashExit ? ToolRun::Outcome::crashed
                                                   : ToolRun::Outcome::exited;
    return resultOf(path, outcome, tool.exitCode(), tool.readAllStandardOutput(),
                    QString::fromUtf8(tool.readAllStandardError()), {});
}

void ProbeTool::start(const QString &path, const QStringList &arguments)
{
    cancel();
    if (!isProbable(path)) {
        m_path = path;
        QMetaObject::invokeMethod(this, [this, path] {
            if (m_path == path && !m_run.isRunning())
                Q_EMIT finished(std::exchange(m_path, QString()), Result {});
        }, Qt::QueuedConnection);
        return;
    }
    m_path = path;
    m_messages.clear();
    m_run.start(m_program, arguments.isEmpty() ? ProbeTool::arguments(path) : arguments, m_timeoutMs);
}

void ProbeTool::cancel()
{
    m_path.clear();
    m_run.abandon();
}
