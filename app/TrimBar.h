#pragma once

#include "crop/CropArguments.h"
#include "ui_TrimBar.h"

#include <QWidget>

#include <optional>

// Start and End of the part of the video to crop, as times, the whole video
// by default. A time that cannot apply is corrected in its field, with a note.
class TrimBar : public QWidget
{
    Q_OBJECT

public:
    explicit TrimBar(QWidget *parent = nullptr);

    // The whole video of duration seconds, with pictures frameDuration apart.
    void setVideo(double duration, double frameDuration);
    void clear();
    // The part to keep; nothing for the whole video.
    std::optional<Trim> trim() const;
    void setStart(double seconds);
    void setEnd(double seconds);
    // Exactly trim, as it was before; nothing: the whole video.
    void setTrim(const std::optional<Trim> &trim);

Q_SIGNALS:
    // A short note for the status area, such as a time corrected.
    void notice(const QString &text);
    void trimChanged();

private:
    void apply(Trim wanted, bool startEdited, const QString &typed);
    void edited(bool start);
    void show();

    Ui::TrimBar m_ui;
    double m_duration = 0;
    double m_frameDuration = 0;
    Trim m_trim;
};
