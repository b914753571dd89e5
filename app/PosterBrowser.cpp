#include "PosterBrowser.h"

#include "ImageDropView.h"
#include "PosterStrip.h"
#include "SelectionPanel.h"
#include "TimelineSlider.h"
#include "TrimBar.h"
#include "ui_MainWindow.h"
#include "util/TimeText.h"

#include <QEvent>
#include <QShortcut>

#include <cmath>

using namespace Qt::StringLiterals;

namespace {

// A drag shows keyframes as it goes, and the exact picture where it rests this long; a key's step sooner
// (key_repeat_lag_ms).
constexpr int dragRestMs = 250;
constexpr int keyRestMs = 100;

int millis(double seconds)
{
    return int(std::lround(seconds * 1000));
}

} // namespace

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
    , m_player(encoderPath, this)
    , m_playAction(ui.playBTN)
{
    connect(m_playAction, &QAction::toggled, this, &PosterBrowser::setPlaying);
    connect(&m_player, &PlayJob::picture, this, &PosterBrowser::played);
    connect(&m_player, &PlayJob::ended, this, [this] { m_playAction->setChecked(false); });
    connect(m_slider, &QSlider::sliderPressed, this, [this] { m_playAction->setChecked(false); });
    // Room for the longest text, so that the toolbar never shifts as it changes.
    m_time->setMinimumWidth(
        m_time->fontMetrics().horizontalAdvance(tr("%1 · %2 / %3").arg(u"00:00:00.000"_s).arg(11).arg(11))
        + 2 * m_time->margin());
    connect(m_slider, &QSlider::valueChanged, this, &PosterBrowser::moved);
    m_slider->installEventFilter(this);
    m_rest.setSingleShot(true);
    const auto exact = [this] {
        m_rest.stop();
        if (m_enabled && !m_slider->isSliderDown() && posterAt(m_slider->value()) < 0)
            m_grabber.grab(m_slider->value() / 1000.0, true);
    };
    connect(&m_rest, &QTimer::timeout, this, exact);
    connect(m_slider, &QSlider::sliderReleased, this, exact);
    connect(&m_grabber, &FrameGrabber::grabbed, this, [this](const QString &path, double time) {
        if (m_enabled && posterAt(m_slider->value()) < 0)
            show(path, time, -1);
    });

    const auto key = [this, window](const QKeySequence &keys, auto action) {
        auto *shortcut = new QShortcut(keys, window);
        connect(shortcut, &QShortcut::activated, this, [this, action] {
            if (m_enabled)
                action();
        });
    };
    const auto nextPoster = [this](int direction) {
        const int value = m_slider->value();
        const QList<Poster> &posters = m_posters->posters();
        for (qsizetype i = 0; i < posters.size(); ++i) {
            const qsizetype n = direction > 0 ? i : posters.size() - 1 - i;
            if (direction > 0 ? posterPlace(int(n)) > value : posterPlace(int(n)) < value)
                return posterPlace(int(n));
        }
        return value;
    };
    key(QKeySequence(u","_s), [=] { step(nextPoster(-1)); });
    key(QKeySequence(u"."_s), [=] { step(nextPoster(1)); });
    // Each press counts from the time asked for, whatever picture has come by then.
    for (const auto &[keys, by] : { std::pair { u"["_s, -1000 }, { u"]"_s, 1000 }, { u"{"_s, -10'000 },
                                    { u"}"_s, 10'000 } })
        key(QKeySequence(keys), [=] { step(m_slider->value() + by); });
    key(QKeySequence(Qt::Key_Home), [=] { step(0); });
    key(QKeySequence(Qt::Key_End), [=] { step(m_lastPicture); });
    key(QKeySequence(u"I"_s), [this] { m_trim->setStart(m_slider->value() / 1000.0); });
    key(QKeySequence(u"O"_s), [this] { m_trim->setEnd(m_slider->value() / 1000.0); });
}

void PosterBrowser::setVideo(const PosterPlan::Video &video, QSize pictureSize, const QString &folder)
{
    m_video = video;
    m_grabber.setFolder(folder);
    m_grabber.setVideo(video, pictureSize);
    const double frame = video.frameRate > 0 ? 1 / video.frameRate : 0.04;
    m_lastPicture = std::max(0, millis(video.duration - frame));
    const QSignalBlocker quiet(m_slider);
    m_slider->setRange(0, m_lastPicture);
    m_slider->setSingleStep(1000);
    m_slider->setPageStep(std::max(1, millis(video.duration / 12)));
    m_slider->setFrameStep(millis(frame));
    m_slider->setMarks({});
}

void PosterBrowser::setEnabled(bool enabled)
{
    m_enabled = enabled;
    m_playAction->setChecked(false);
    m_playAction->setEnabled(enabled);
    m_sliderAction->setEnabled(enabled);
    m_slider->setEnabled(enabled);
    m_grabber.stop();
    m_rest.stop();
    if (!enabled) {
        m_view->setImagePath(QString());
        m_time->clear();
        return;
    }
    posterMade();
    if (!m_posters->posters().isEmpty()) {
        const QSignalBlocker quiet(m_slider);
        m_slider->setValue(posterPlace(0));
    }
    moved(m_slider->value());
}

void PosterBrowser::settle()
{
    // Where the user has not moved since the first poster came, the middle one stands for the video.
    const QList<Poster> &posters = m_posters->posters();
    if (m_enabled && !m_player.isPlaying() && !posters.isEmpty() && m_slider->value() == posterPlace(0))
        goToPoster(int(posters.size() / 2));
}

void PosterBrowser::posterMade()
{
    QList<int> marks;
    for (qsizetype n = 0; n < m_posters->posters().size(); ++n)
        marks << posterPlace(int(n));
    m_slider->setMarks(marks);
    if (const int n = posterAt(m_slider->value()); n >= 0)
        show(m_posters->posters()[n].path, m_posters->posters()[n].time, n);
}

bool PosterBrowser::eventFilter(QObject *watched, QEvent *event)
{
    // A pointer on the slider is about to scrub: the encoder starts now, so that the first
    // picture comes as soon as the next; no encoder waits for a user who never scrubs.
    if (watched == m_slider && event->type() == QEvent::Enter && m_enabled)
        m_grabber.warmUp();
    return QObject::eventFilter(watched, event);
}

int PosterBrowser::posterPlace(int n) const
{
    return std::min(millis(m_posters->posters()[n].time), m_slider->maximum());
}

int PosterBrowser::posterAt(int value) const
{
    for (qsizetype n = 0; n < m_posters->posters().size(); ++n) {
        if (posterPlace(int(n)) == value)
            return int(n);
    }
    return -1;
}

void PosterBrowser::goToPoster(int n)
{
    if (n >= 0 && n < m_posters->posters().size())
        step(posterPlace(n));
}

void PosterBrowser::step(int to)
{
    const int value = std::clamp(to, m_slider->minimum(), m_slider->maximum());
    if (value == m_slider->value())
        return;
    m_slider->setValue(value);
    if (m_rest.isActive())
        m_rest.start(keyRestMs);
}

double PosterBrowser::time() const
{
    return m_slider->value() / 1000.0;
}

void PosterBrowser::moved(int value)
{
    if (!m_enabled)
        return;
    // A step of the user's stops the playing.
    m_playAction->setChecked(false);
    Q_EMIT timeAsked(value / 1000.0);
    if (const int n = posterAt(value); n >= 0) {
        m_grabber.stop();
        m_rest.stop();
        show(m_posters->posters()[n].path, m_posters->posters()[n].time, n);
        return;
    }
    m_grabber.grab(value / 1000.0, false);
    if (!m_slider->isSliderDown())
        m_rest.start(dragRestMs);
}

void PosterBrowser::show(const QString &path, double time, int poster)
{
    m_view->setImagePath(path);
    m_time->setText(poster >= 0 ? tr("%1 · %2 / %3").arg(TimeText::format(time)).arg(poster + 1)
                                      .arg(m_posters->posters().size())
                                : TimeText::format(time));
}

void PosterBrowser::setPlaying(bool playing)
{
    if (!m_enabled || playing == m_player.isPlaying())
        return;
    if (!playing) {
        m_player.stop();
        // The exact picture of where it stopped replaces the played one.
        moved(m_slider->value());
        return;
    }
    m_grabber.stop();
    m_rest.stop();
    // From the end, it plays again from the start.
    if (m_slider->value() >= m_slider->maximum()) {
        const QSignalBlocker quiet(m_slider);
        m_slider->setValue(0);
    }
    const QSize pixels = (QSizeF(m_view->pictureRect().size()) * m_view->devicePixelRatioF()).toSize();
    m_player.start(m_video, time(), pixels);
}

void PosterBrowser::played(const QImage &picture, double time)
{
    m_view->setFrame(picture);
    {
        const QSignalBlocker quiet(m_slider);
        m_slider->setValue(millis(time));
    }
    m_time->setText(TimeText::format(time));
    Q_EMIT timeAsked(time);
}
