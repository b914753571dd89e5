#include "CropTimeline.h"

#include "PosterBrowser.h"
#include "SelectionPanel.h"
#include "TimelineSlider.h"
#include "TrimBar.h"
#include "ui_MainWindow.h"
#include "util/TimeText.h"

#include <QGuiApplication>
#include <QScopedValueRollback>

#include <cmath>

class CropTimeline::Step : public QUndoCommand
{
public:
    Step(CropTimeline *owner, const State &before, const State &after)
        : m_owner(owner)
        , m_before(before)
        , m_after(after)
    {
    }
    // Pushed once done: the first redo finds it done already.
    void redo() override
    {
        if (!std::exchange(m_done, true))
            return;
        m_owner->apply(m_after);
    }
    void undo() override { m_owner->apply(m_before); }

private:
    CropTimeline *m_owner;
    State m_before, m_after;
    bool m_done = false;
};

CropTimeline::CropTimeline(PosterBrowser *browser, Ui::MainWindow &ui, QObject *parent)
    : QObject(parent)
    , m_browser(browser)
    , m_panel(ui.selectionPanel)
    , m_slider(ui.posterPositionSlider)
    , m_trim(ui.trimBar)
    , m_ui(ui)
{
    connect(m_panel, &SelectionPanel::cropChanged, this, &CropTimeline::cropEdited);
    connect(m_panel, &SelectionPanel::dragFinished, this, &CropTimeline::record);
    connect(m_trim, &TrimBar::trimChanged, this, [this] {
        if (!m_applying)
            record();
    });
    connect(m_browser, &PosterBrowser::timeAsked, this, &CropTimeline::timeAsked);
    connect(ui.setKeyframeBTN, &QAction::triggered, this, &CropTimeline::setKeyframe);
    connect(ui.removeKeyframeBTN, &QAction::triggered, this, &CropTimeline::removeKeyframe);
    connect(ui.clearKeyframesBTN, &QAction::triggered, this, [this] { setKeyframes({}); });
    connect(ui.undoBTN, &QAction::triggered, &m_history, &QUndoStack::undo);
    connect(ui.redoBTN, &QAction::triggered, &m_history, &QUndoStack::redo);
    connect(&m_history, &QUndoStack::canUndoChanged, ui.undoBTN, &QAction::setEnabled);
    connect(&m_history, &QUndoStack::canRedoChanged, ui.redoBTN, &QAction::setEnabled);
}

void CropTimeline::reset(QSize frame)
{
    m_frame = frame;
    m_keys.clear();
    m_history.clear();
    m_recorded = current();
    keysChanged();
}

void CropTimeline::setEnabled(bool enabled)
{
    m_ui.setKeyframeBTN->setEnabled(enabled);
    if (!enabled)
        reset(QSize());
}

CropTimeline::State CropTimeline::current() const
{
    // With keyframes, the crop shown follows the time, and is no step of its own.
    return { m_keys.isEmpty() ? m_panel->crop() : QRect(), m_keys, m_trim->trim() };
}

void CropTimeline::glideTo(double time)
{
    if (m_keys.isEmpty())
        return;
    const QScopedValueRollback applying(m_applying, true);
    m_panel->showCrop(CropKeyframes::cropAt(m_keys, time));
}

void CropTimeline::apply(const State &state)
{
    const QScopedValueRollback applying(m_applying, true);
    m_keys = state.keys;
    if (m_keys.isEmpty())
        m_panel->showCrop(state.crop);
    glideTo(m_browser->time());
    m_trim->setTrim(state.trim);
    m_recorded = current();
    keysChanged();
}

void CropTimeline::record()
{
    // A drag is one step, counted when the pointer lets go.
    if (m_applying || QGuiApplication::mouseButtons() != Qt::NoButton)
        return;
    const State now = current();
    if (now == m_recorded)
        return;
    m_history.push(new Step(this, std::exchange(m_recorded, now), now));
}

void CropTimeline::cropEdited()
{
    if (m_applying)
        return;
    if (!m_keys.isEmpty()) {
        m_keys = CropKeyframes::placed(m_keys, m_browser->time(), m_panel->crop(), m_frame);
        keysChanged();
    }
    record();
}

void CropTimeline::timeAsked(double time)
{
    glideTo(time);
    m_ui.removeKeyframeBTN->setEnabled(CropKeyframes::indexAt(m_keys, time) >= 0);
}

void CropTimeline::setKeyframe()
{
    const double time = m_browser->time();
    m_keys = CropKeyframes::placed(m_keys, time, m_panel->crop(), m_frame);
    keysChanged();
    record();
    Q_EMIT notice(tr("Keyframe %1 of %2 at %3: between keyframes the crop glides from one to the next.")
                      .arg(CropKeyframes::indexAt(m_keys, time) + 1)
                      .arg(m_keys.size())
                      .arg(TimeText::format(time)));
}

void CropTimeline::removeKeyframe()
{
    const int at = CropKeyframes::indexAt(m_keys, m_browser->time());
    if (at < 0)
        return;
    m_keys.removeAt(at);
    keysChanged();
    record();
}

void CropTimeline::setKeyframes(const QList<CropKeyframe> &keys)
{
    m_keys = keys;
    glideTo(m_browser->time());
    keysChanged();
    record();
}

void CropTimeline::keysChanged()
{
    QList<int> marks;
    for (const CropKeyframe &key : std::as_const(m_keys))
        marks << int(std::lround(key.time * 1000));
    m_slider->setKeyframeMarks(marks);
    m_ui.clearKeyframesBTN->setEnabled(!m_keys.isEmpty());
    m_ui.removeKeyframeBTN->setEnabled(CropKeyframes::indexAt(m_keys, m_browser->time()) >= 0);
    Q_EMIT keyframesChanged();
}
