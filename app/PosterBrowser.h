#pragma once

#include <QObject>

class ImageDropView;
class PosterStrip;
class QAction;
class QLabel;
class QSlider;
class TrimBar;

namespace Ui {
class MainWindow;
}

// The slider above the picture that steps through the posters, the time of
// the poster shown beside it, and the keys: , and . step through the
// posters, I and O take the time of the one shown as Start and End.
class PosterBrowser : public QObject
{
    Q_OBJECT

public:
    PosterBrowser(const PosterStrip *posters, QAction *sliderAction, Ui::MainWindow &ui, QWidget *window);

    // Off: nothing shown, the slider back in the middle, the keys idle. On: the
    // middle poster, or the last made before it.
    void setEnabled(bool enabled);
    bool isEnabled() const { return m_enabled; }
    // Shows the poster the slider asks for, or the last made before it.
    void showPoster();
    // Poster n has arrived: shown if the slider asks for it or one after it.
    void posterMade(int n);

private:
    // Until the poster asked for arrives, the last one before it stands in; 0 if none.
    int shownPoster() const;

    const PosterStrip *m_posters;
    QAction *m_sliderAction;
    QSlider *m_slider;
    QLabel *m_time;
    ImageDropView *m_view;
    TrimBar *m_trim;
    bool m_enabled = false;
};
