#pragma once

#include "util/ToolRun.h"

#include <QObject>

#include <optional>

// Runs the probe tool (ffprobe) on one file and hands over what it printed,
// either blocking or on the event loop. Only the file itself is read: the
// tool refuses containers that name other files (InputFormats). A path that
// is not a regular file is not given to the tool at all.
class ProbeTool : public QObject
{
    Q_OBJECT

public:
    static constexpr int defaultTimeoutMs = 60'000;

    // Why the tool told nothing of the file.
    enum class Trouble { none, missing, broken, timedOut };
    // What one run gave.
    struct Result
    {
        std::optional<QByteArray> report; // its standard output, when it ran to its end
        int exitCode = 0;
        Trouble trouble = Trouble::none;
        QString detail;        // what went wrong with the tool, in its own words
        QString refusedFormat; // the container it refused to open ("hls"); empty when none
    };

    explicit ProbeTool(const QString &program, int timeoutMs = defaultTimeoutMs, QObject *parent = nullptr);

    // The tool's arguments for path, in order.
    static QStringList arguments(const QString &path);

    // Runs the tool to its end, blocking: never on the window's thread.
    Result run(const QString &path);
    // Starts the tool, with the report's arguments unless others are given;
    // finished() follows, also when it cannot run. A run still going is
    // let go first.
    void start(const QString &path, const QStringList &arguments = {});
    // Lets the tool go; no finished() follows.
    void cancel();
    bool isRunning() const { return !m_path.isEmpty(); }

Q_SIGNALS:
    void finished(const QString &path, const ProbeTool::Result &result);

private:
    // Whether path may be handed to the tool; says why not once.
    static bool isProbable(const QString &path);
    Result resultOf(const QString &path, ToolRun::Outcome outcome, int exitCode, const QByteArray &output,
                    const QString &messages, const QString &startError) const;

    const QString m_program;
    const int m_timeoutMs;
    ToolRun m_run;
    QString m_messages;
    QString m_path;
};
