#pragma once

#include "crop/FrameGrabber.h"
#include "crop/PlayJob.h"

#include <QObject>
#include <QTimer>

class ImageDropView;
class PosterStrip;
class QAction;
class QLabel;
class TimelineSlider;
class TrimBar;

namespace Ui {
class MainWindow;
}

// The scrubber above the picture: a slider over the whole video with the
// posters as marks at their pictures' own times, the time of the picture
// shown beside it, and the keys. The slider's value is the time asked for:
// keys move it press by press while the pictures catch up, and a picture
// that comes late never moves it back. At a poster's mark the poster is
// shown; elsewhere the keyframe at or before the time at once, and the exact
// picture when the slider rests. , and . step through the posters, [ and ]
// by a second (ten with Shift), Home and End go to the first and last
// picture; I and O take the time asked for as Start and End.
class PosterBrowser : public QObject
{
    Q_OBJECT

public:
    PosterBrowser(const PosterStrip *posters, const QString &encoderPath, QAction *sliderAction, Ui::MainWindow &ui,
                  QWidget *window);

    // The video the slider spans and what its pictures are decoded from.
    void setVideo(const PosterPlan::Video &video, QSize pictureSize, const QString &folder);
    // Off: nothing shown, the keys idle. On: at the first poster.
    void setEnabled(bool enabled);
    // Every poster is made: the middle one is shown, unless the user has moved.
    void settle();
    bool isEnabled() const { return m_enabled; }
    // A poster has arrived: its mark is drawn, and it is shown where the slider stands at it.
    void posterMade();
    // Moves the slider to poster n's mark (from 0).
    void goToPoster(int n);

    // The time asked for, in seconds.
    double time() const;

Q_SIGNALS:
    // The slider moved to a new time asked for.
    void timeAsked(double seconds);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // The poster at value, or -1.
    int posterAt(int value) const;
    int posterPlace(int n) const;
    void moved(int value);
    void step(int to);
    void show(const QString &path, double time, int poster);
    // Plays from the time asked for, or stops where it stands.
    void setPlaying(bool playing);
    void played(const QImage &picture, double time);

    const PosterStrip *m_posters;
    QAction *m_sliderAction;
    TimelineSlider *m_slider;
    QLabel *m_time;
    ImageDropView *m_view;
    TrimBar *m_trim;
    FrameGrabber m_grabber;
    PlayJob m_player;
    QAction *m_playAction;
    PosterPlan::Video m_video;
    QTimer m_rest; // the slider has rested this long: the exact picture
    int m_lastPicture = 0;
    bool m_enabled = false;
};
