#include "PosterBrowser.h"

#include "ImageDropView.h"
#include "PosterStrip.h"
#include "SelectionPanel.h"
#include "TrimBar.h"
#include "ui_MainWindow.h"
#include "util/TimeText.h"
#include "util/Timeline.h"

#include <QEvent>
#include <QShortcut>

using namespace Qt::StringLiterals;

PosterBrowser::PosterBrowser(const PosterStrip *posters, const QString &encoderPath, QAction *sliderAction,
                             Ui::MainWindow &ui, QWidget *window)
    : QObject(window)
    , m_posters(posters)
    , m_sliderAction(sliderAction)
    , m_slider(ui.posterPositionSlider)
    , m_time(ui.posterTimeLBL)
    , m_view(ui.selectionPanel->posterView())
    , m_trim(ui.trimBar)
    , m_grabber(encoderPath)
{
    // Room for the longest text, so that the toolbar never shifts as it changes.
    m_time->setMinimumWidth(
        m_time->fontMetrics().horizontalAdvance(tr("%1 · %2 / %3").arg(u"00:00:00.000"_s).arg(11).arg(11))
        + 2 * m_time->margin());
    connect(m_slider, &QSlider::valueChanged, this, &PosterBrowser::moved);
    m_slider->installEventFilter(this);
    // A drag shows keyframes as it goes; where it stops, the exact picture.
    m_rest.setSingleShot(true);
    m_rest.setInterval(250);
    const auto exact = [this] {
        m_rest.stop();
        if (m_enabled && !m_slider->isSliderDown() && !Timeline::posterAt(m_slider->value(), m_duration))
            m_grabber.grab(m_slider->value() / 1000.0, true);
    };
    connect(&m_rest, &QTimer::timeout, this, exact);
    connect(m_slider, &QSlider::sliderReleased, this, exact);
    connect(&m_grabber, &FrameGrabber::grabbed, this, [this](const QString &path, double time) {
        if (m_enabled && !Timeline::posterAt(m_slider->value(), m_duration))
            show(path, time, 0);
    });

    const auto key = [this, window](const QKeySequence &keys, auto action) {
        auto *shortcut = new QShortcut(keys, window);
        connect(shortcut, &QShortcut::activated, this, [this, action] {
            if (m_enabled)
                action();
        });
    };
    const auto to = [this](int value) { m_slider->setValue(value); };
    key(QKeySequence(u","_s), [=] { to(Timeline::nextPosterPlace(m_slider->value(), -1, m_duration)); });
    key(QKeySequence(u"."_s), [=] { to(Timeline::nextPosterPlace(m_slider->value(), 1, m_duration)); });
    // From a poster, steps count from its picture, which may lie a keyframe interval before its place.
    const auto from = [this] {
        const int value = m_slider->value();
        return Timeline::posterAt(value, m_duration) ? qRound(m_shownTime * 1000) : value;
    };
    for (const auto &[keys, step] : { std::pair { u"["_s, -1000 }, { u"]"_s, 1000 }, { u"{"_s, -10'000 },
                                      { u"}"_s, 10'000 } })
        key(QKeySequence(keys), [=] { to(from() + step); });
    key(QKeySequence(Qt::Key_Home), [=] { to(0); });
    key(QKeySequence(Qt::Key_End), [=] { to(m_slider->maximum()); });
    key(QKeySequence(u"I"_s), [this] { m_trim->setStart(m_shownTime); });
    key(QKeySequence(u"O"_s), [this] { m_trim->setEnd(m_shownTime); });
}

void PosterBrowser::setVideo(const PosterExtractor::Video &video, QSize pictureSize, const QString &folder)
{
    m_duration = video.duration;
    m_grabber.setFolder(folder);
    m_grabber.setVideo(video, pictureSize);
    const QSignalBlocker quiet(m_slider);
    // A video of a few pictures still has a place for every poster.
    m_slider->setRange(0, qMax(Timeline::lastPicture(video.duration, video.frameRate),
                               Timeline::posterPlace(Timeline::posterCount, video.duration)));
    m_slider->setSingleStep(1000);
    m_slider->setPageStep(Timeline::posterPlace(1, video.duration));
    // The marks fall on the posters' places.
    m_slider->setTickInterval(qMax(1, Timeline::posterPlace(1, video.duration)));
}

void PosterBrowser::setEnabled(bool enabled)
{
    m_enabled = enabled;
    m_sliderAction->setEnabled(enabled);
    m_slider->setEnabled(enabled);
    m_grabber.stop();
    m_rest.stop();
    {
        const QSignalBlocker quiet(m_slider);
        m_slider->setValue(Timeline::posterPlace(6, m_duration));
    }
    if (!enabled)
        m_view->setImagePath(QString());
    showPoster();
}

void PosterBrowser::posterMade(int n)
{
    if (n <= Timeline::posterAt(m_slider->value(), m_duration))
        showPoster();
}

bool PosterBrowser::eventFilter(QObject *watched, QEvent *event)
{
    // A pointer on the slider is about to scrub: the encoder starts now, so that the first
    // picture comes as soon as the next; no encoder waits for a user who never scrubs.
    if (watched == m_slider && event->type() == QEvent::Enter && m_enabled)
        m_grabber.warmUp();
    return QObject::eventFilter(watched, event);
}

void PosterBrowser::showPoster()
{
    const int at = Timeline::posterAt(m_slider->value(), m_duration);
    const int n = m_enabled && at ? m_posters->shownPoster(at) : 0;
    if (n > 0)
        show(m_posters->framePath(n), m_posters->pictureTime(n), n);
    else if (!m_enabled)
        m_time->clear();
}

void PosterBrowser::goToPoster(int n)
{
    m_slider->setValue(Timeline::posterPlace(n, m_duration));
}

void PosterBrowser::moved(int value)
{
    if (!m_enabled)
        return;
    if (Timeline::posterAt(value, m_duration)) {
        m_grabber.stop();
        m_rest.stop();
        showPoster();
        return;
    }
    m_grabber.grab(value / 1000.0, false);
    if (!m_slider->isSliderDown())
        m_rest.start();
}

void PosterBrowser::show(const QString &path, double time, int poster)
{
    m_view->setImagePath(path);
    m_shownTime = time;
    m_time->setText(poster ? tr("%1 · %2 / %3").arg(TimeText::format(time)).arg(poster).arg(Timeline::posterCount)
                           : TimeText::format(time));
}
