#pragma once

#include "CropArguments.h"
#include "EncoderOutput.h"
#include "media/ProbeJob.h"
#include "util/ToolRun.h"

#include <QObject>
#include <QTemporaryDir>
#include <QTimer>

#include <memory>

class FileProbe;

// One crop: runs the encoder on the event loop, reports its progress, lets
// the user cancel, and decides the outcome in one place. What must be read
// of the input first (the coded size of a picture copied, the HDR metadata of
// its first picture, its text subtitles timed to the trim) is read before the
// encoder starts.
// The encoder writes a temporary file beside the destination, which takes
// the destination's place only after a clean exit and a probe that finds a
// video, and never replaces a file the user did not agree to replace.
// Nothing of it survives a cancel, a failure or the job's destruction.
class CropJob : public QObject
{
    Q_OBJECT

public:
    CropJob(const QString &encoderPath, const QString &probeToolPath, QObject *parent = nullptr);
    ~CropJob() override;

    // Where temporary outputs are noted while they exist, so that a later
    // launch can remove them should Tessaly die; none by default.
    void setOutputRecordsFolder(const QString &folder) { m_recordsFolder = folder; }

    // Starts the crop of request, writing to a temporary file beside the
    // destination (beside the file it links to, for a symlink); the command
    // run is written as a diagnostic. Returns false, after failed(), when the
    // encoder cannot be started.
    bool runCropProcess(const CropRequest &request);
    // Asks the encoder to stop; it is killed if it does not within a few seconds.
    void cancel();
    bool isRunning() const { return m_state != State::Idle; }
    // The crop last asked for, with what was found before it began.
    const CropRequest &request() const { return m_request; }
    // What the result alert says of the tracks, the picture's HDR included.
    QStringList notes() const;

    // How long the encoder may go without progress before stalled() says so.
    void setStallTimeout(int ms) { m_stall.setInterval(ms); }
    static constexpr int stallMs = 30'000;

Q_SIGNALS:
    void progressChanged(const ProgressFigures &progress);
    // The encoder has made no progress for the stall timeout (true), or moves again (false).
    void stalled(bool stalled);
    void succeeded(const FileProbe &output);
    void failed(const QString &reason);
    void cancelled();

private:
    enum class State { Idle, ReadingHeader, ReadingHdr, ReadingSubtitles, Encoding, Probing };

    void prepareNext();
    void headerRead();
    void hdrRead(const QByteArray &report);
    void subtitlesRead();
    // The folder for what the encoder reads besides the input, made once; null when it cannot be.
    QTemporaryDir *prepared();
    void startEncoder();
    void readProgress();
    void toolEnded(ToolRun::Outcome outcome, int exitCode);
    void cropFinished(const FileProbe &output);
    void fail(const QString &reason);
    void finishCancelled();
    void discardTemporary();
    void forgetRecord();

    const QString m_encoderPath;
    const QString m_probeToolPath;
    ToolRun m_run;
    ProbeJob m_probe;
    QTimer m_stall;
    bool m_isStalled = false;
    EncoderOutput m_output;
    CropRequest m_request;
    QStringList m_trace; // of the copied picture's header
    std::unique_ptr<QTemporaryDir> m_prepared; // the text subtitles, timed to the trim, and a moving crop's filter
    QString m_destination; // the file replaced in the end
    QString m_temporaryPath;
    QString m_recordsFolder;
    QString m_record;
    bool m_isProcessCancelledByUser = false;
    State m_state = State::Idle;
};
