#pragma once

#include "crop/CropArguments.h"
#include "selection/CropKeyframes.h"

#include <QObject>
#include <QUndoStack>

class PosterBrowser;
class SelectionPanel;
class TimelineSlider;
class TrimBar;

namespace Ui {
class MainWindow;
}

// The crop over time, and every change of it that can be taken back. With
// keyframes the selection shows the crop where it stands at the time asked
// for; moving it changes the keyframe there, or adds one. Each move, resize,
// typed number, preset, border found, keyframe and trim is a step of the undo
// history; a drag is one step, counted when the pointer lets go.
class CropTimeline : public QObject
{
    Q_OBJECT

public:
    CropTimeline(PosterBrowser *browser, Ui::MainWindow &ui, QObject *parent = nullptr);

    // A new video of frame pixels as shown: no keyframes, no history.
    void reset(QSize frame);
    // Off while no video is shown.
    void setEnabled(bool enabled);
    // In the pixels shown; empty or one: the crop stands still.
    const QList<CropKeyframe> &keyframes() const { return m_keys; }
    // Proposed keyframes, as one step.
    void setKeyframes(const QList<CropKeyframe> &keys);
    // The selection is moving by the keyframes or the history, not by the user.
    bool isGliding() const { return m_applying; }

Q_SIGNALS:
    void notice(const QString &text);
    void keyframesChanged();

private:
    struct State
    {
        QRect crop;
        QList<CropKeyframe> keys;
        std::optional<Trim> trim;
        bool operator==(const State &other) const
        {
            return crop == other.crop && keys == other.keys && trim == other.trim;
        }
    };
    class Step;

    State current() const;
    // The selection shows the crop of the keyframes at time, if any.
    void glideTo(double time);
    void apply(const State &state);
    // A finished change becomes a step of the history.
    void record();
    void cropEdited();
    void timeAsked(double time);
    void setKeyframe();
    void removeKeyframe();
    void keysChanged();

    PosterBrowser *m_browser;
    SelectionPanel *m_panel;
    TimelineSlider *m_slider;
    TrimBar *m_trim;
    Ui::MainWindow &m_ui;
    QUndoStack m_history;
    QSize m_frame;
    QList<CropKeyframe> m_keys;
    State m_recorded;
    bool m_applying = false; // the crop changes by the keyframes or the history, not the user
};
