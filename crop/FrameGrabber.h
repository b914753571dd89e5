#pragma once

#include "PosterPlan.h"
#include "util/ToolRun.h"

#include <QElapsedTimer>
#include <QObject>

#include <memory>
#include <optional>

// Decodes one picture of the video at any time, for scrubbing: at once the
// keyframe at or before the time, or, asked for exactly, the first picture at
// or after it.
//
// Starting the encoder takes more than decoding a keyframe, so one waits,
// started, for the next request and reads what to decode from its standard
// input (seek_preview_ms). A request replaces any not yet begun and stops an
// exact decode that it makes useless; a keyframe decode under way is let
// finish, as a drag shows something meanwhile. So a quick drag never queues
// decodes.
class FrameGrabber : public QObject
{
    Q_OBJECT

public:
    explicit FrameGrabber(const QString &encoderPath, QObject *parent = nullptr);
    ~FrameGrabber() override;

    // Where pictures go.
    void setFolder(const QString &folder);
    // What pictures come from and their size; stops any grab.
    void setVideo(const PosterPlan::Video &video, QSize pictureSize);
    // Starts the encoder that waits for the next request, if none waits.
    void warmUp();
    // Asks for the picture at time, in seconds from the video's start.
    void grab(double time, bool exact);
    // Drops every request; no signal follows until the next.
    void stop();

    // The filter graph that decodes the picture at time into the output "out".
    static QString script(const PosterPlan::Video &video, QSize pictureSize, double time, bool exact);

Q_SIGNALS:
    // path holds the picture of the video at time.
    void grabbed(const QString &path, double time, bool exact);

private:
    struct Run
    {
        std::unique_ptr<ToolRun> tool;
        QString path;
        QString messages;
        double time = 0; // asked for
        bool exact = false;
        QElapsedTimer begun;
    };
    static constexpr int hangMs = 5000;

    // Starts an encoder that waits for its script.
    Run prepared();
    void begin(double time, bool exact);
    void ended(ToolRun *tool);

    const QString m_encoderPath;
    PosterPlan::Video m_video;
    QSize m_size;
    QString m_folder;
    Run m_waiting;
    Run m_working;
    std::optional<std::pair<double, bool>> m_pending;
    QString m_handedOver; // the picture last handed over, removed when the next is
    int m_serial = 0;
};
