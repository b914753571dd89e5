#pragma once

#include <QObject>
#include <QProcess>
#include <QStringList>
#include <QTimer>

// One run of a tool (ffprobe, ffmpeg) on the event loop: its arguments as a
// list, its standard error split into lines, a timeout, a stop that asks the
// tool to quit and kills it after a grace period, and one signal at the end.
// Nothing waits for the tool on the caller's thread: a run let go is killed
// and left to end on its own, and the tool never outlives Tessaly.
class ToolRun : public QObject
{
    Q_OBJECT

public:
    enum class Outcome {
        exited,        // on its own, with an exit code
        crashed,       // ended by a signal it did not ask for
        failedToStart, // missing, not executable, or no resources to start it
        timedOut,      // killed at the timeout
        stopped,       // ended after stop()
    };
    // What its standard input is.
    enum class Input {
        none, // the null device: a terminal would stop a tool in the background
        keys, // a pipe, on which stop() asks ffmpeg to quit ("q")
    };

    explicit ToolRun(QObject *parent = nullptr);
    ~ToolRun() override;

    static constexpr int graceMs = 3000;

    // Starts program; a run still going is let go first. timeoutMs 0: no timeout.
    void start(const QString &program, const QStringList &arguments, int timeoutMs = 0, Input input = Input::none);
    // Writes to the tool's standard input, then closes it (for Input::keys only).
    void writeAndClose(const QByteArray &bytes);
    // Asks the tool to quit, and kills it if it has not within graceMs; ended() follows.
    void stop();
    // Lets the run go: the tool is killed, and no signal follows.
    void abandon();
    bool isRunning() const { return m_process != nullptr; }

    // What it has written to its standard output and not yet been taken.
    QByteArray takeOutput();
    QString errorString() const { return m_errorString; }

Q_SIGNALS:
    void outputReady();
    // One line of its standard error, without its end ("\n", or the "\r" of a progress line).
    void errorLine(const QString &line);
    void ended(ToolRun::Outcome outcome, int exitCode);

private:
    void readErrors(bool all);
    void end(Outcome outcome, int exitCode);

    QProcess *m_process = nullptr;
    QTimer m_timeout;
    QTimer m_kill;
    QByteArray m_pendingError;
    QByteArray m_output; // read before the end, kept for takeOutput()
    QString m_errorString;
    Input m_input = Input::none;
    bool m_stopping = false;
    bool m_timedOut = false;
};
