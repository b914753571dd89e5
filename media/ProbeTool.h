#pragma once

#include <QObject>
#include <QProcess>
#include <QTimer>

#include <optional>

// Runs the probe tool (ffprobe) on one file and hands over what it printed,
// either blocking or on the event loop. A missing or unstartable tool, a path
// that is not a regular file and a tool that does not finish in time all give
// no report, each with one diagnostic line.
class ProbeTool : public QObject
{
    Q_OBJECT

public:
    static constexpr int defaultTimeoutMs = 60'000;

    explicit ProbeTool(const QString &program, int timeoutMs = defaultTimeoutMs, QObject *parent = nullptr);
    ~ProbeTool() override;

    // The tool's arguments for path, in order.
    static QStringList arguments(const QString &path);

    // One packet of a listing made with packetListing(): its time from the file's start.
    struct Packet
    {
        double time;
        double duration;
        bool keyframe;
    };
    // The arguments that list stream's packets in intervals ("-read_intervals" syntax).
    static QStringList packetListing(const QString &path, const QString &stream, const QString &intervals);
    static QList<Packet> packets(const QByteArray &listing);

    // Runs the tool to its end.
    std::optional<QByteArray> run(const QString &path);
    // Starts the tool, with the report's arguments unless others are given;
    // finished() follows, also when it cannot run. A run still going is
    // cancelled first.
    void start(const QString &path, const QStringList &arguments = {});
    // Stops the tool; no finished() follows.
    void cancel();
    bool isRunning() const { return !m_path.isEmpty(); }

Q_SIGNALS:
    void finished(const QString &path, const std::optional<QByteArray> &report);

private:
    bool prepare(QProcess &process, const QString &path, const QStringList &arguments) const;
    void stopProcess();
    void complete(const std::optional<QByteArray> &report);

    const QString m_program;
    QProcess m_process;
    QTimer m_timeout;
    QString m_path;
};
