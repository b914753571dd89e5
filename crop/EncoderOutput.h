#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// The progress percent of one piece of the encoder's diagnostic output: the
// first "HH:MM:SS.cc" stamp anywhere in it, as a share of duration. Nothing
// when the piece is not UTF-8, holds no "time=" or no stamp, or the share is
// not a finite number (duration 0 or unknown). Clamped to 0 ... 100.
std::optional<double> progressPercent(const QByteArray &piece, double duration);

// Reads the encoder's standard error as it arrives. ffmpeg ends each progress
// report with "\r" and each message with "\n"; one read may hold several
// reports or half of one, so an unfinished one waits for the next read.
class EncoderOutput
{
public:
    // The progress of what this read completed, if it holds a stamp.
    std::optional<double> feed(const QByteArray &chunk, double duration);
    // The message that says why the encoder failed: its first error of its
    // own, else the first error of one of its parts ("[h264 @ 0x…] …"), else
    // its last message; ffmpeg's closing lines rarely say what went wrong.
    QString decisiveMessage() const;

private:
    void keepMessages(const QByteArray &text);

    QByteArray m_pending;
    QString m_firstError;
    QString m_firstPartError;
    QString m_lastMessage;
};
