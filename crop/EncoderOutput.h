#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

// One report of ffmpeg's machine-readable progress ("-progress pipe:1"):
// "key=value" lines, each report ended by "progress=continue" or "progress=end".
struct EncoderProgress
{
    double seconds = 0; // of output written
    double speed = 0;   // times real time; 0 when not known yet
    qint64 bytes = 0;   // written so far
    bool ended = false;
};

// What a user plans by: the share done, the speed, the time left and the
// size the output is heading for, from a report and the seconds asked for.
struct ProgressFigures
{
    double percent = 0; // 0 ... 100
    double speed = 0;
    std::optional<double> secondsLeft;
    std::optional<qint64> expectedBytes;
};
ProgressFigures figuresOf(const EncoderProgress &report, double askedSeconds);

// Reads what the encoder says while it crops: its progress reports on
// standard output, which arrive in pieces of any size, and the lines of its
// log, among which one says why it failed.
class EncoderOutput
{
public:
    // The reports this piece of the progress output completed.
    QList<EncoderProgress> feedProgress(const QByteArray &piece);
    // A line of the log.
    void keepMessage(const QString &line);
    // The message that says why the encoder failed: its first error of its
    // own, else the first error of one of its parts ("[h264 @ 0x…] …"), else
    // its last message; ffmpeg's closing lines rarely say what went wrong.
    QString decisiveMessage() const;

private:
    QByteArray m_pending;
    EncoderProgress m_report;
    QString m_firstError;
    QString m_firstPartError;
    QString m_lastMessage;
};
