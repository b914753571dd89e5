#pragma once

#include "crop/FrameGrabber.h"

#include <QObject>
#include <QTimer>

class ImageDropView;
class PosterStrip;
class QAction;
class QLabel;
class QSlider;
class TrimBar;

namespace Ui {
class MainWindow;
}

// The scrubber above the picture: a slider over the whole video with the
// eleven posters as marks, the time of the picture shown beside it, and the
// keys. At a poster's mark the poster is shown; elsewhere the keyframe at or
// before the time at once, and the exact picture when the slider rests.
// , and . step through the posters, [ and ] by a second (ten with Shift),
// Home and End go to the first and last picture; I and O take the time of the
// picture shown as Start and End.
class PosterBrowser : public QObject
{
    Q_OBJECT

public:
    PosterBrowser(const PosterStrip *posters, const QString &encoderPath, QAction *sliderAction, Ui::MainWindow &ui,
                  QWidget *window);

    // The video the slider spans and what its pictures are decoded from.
    void setVideo(const PosterExtractor::Video &video, QSize pictureSize, const QString &folder);
    // Off: nothing shown, the keys idle. On: at the middle poster, or the last made before it.
    void setEnabled(bool enabled);
    bool isEnabled() const { return m_enabled; }
    // Poster n has arrived: shown if the slider is at it or one after it.
    void posterMade(int n);
    // Shows the poster the slider is at again, or the last made before it.
    void showPoster();
    // Moves the slider to poster n's mark.
    void goToPoster(int n);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void moved(int value);
    void show(const QString &path, double time, int poster);

    const PosterStrip *m_posters;
    QAction *m_sliderAction;
    QSlider *m_slider;
    QLabel *m_time;
    ImageDropView *m_view;
    TrimBar *m_trim;
    FrameGrabber m_grabber;
    QTimer m_rest; // the slider has rested this long: the exact picture
    double m_duration = 0;
    double m_shownTime = 0;
    bool m_enabled = false;
};
