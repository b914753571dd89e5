#pragma once

#include <QSlider>

// The scrubber's slider, in milliseconds of the video: it takes the width it
// is given, draws a mark at each poster's own time, and moves finely when
// asked (a wheel turn moves a second, with Shift a picture; a drag with Shift
// held moves a picture for every two pixels), so any moment of a long video
// can be reached with the mouse.
class TimelineSlider : public QSlider
{
    Q_OBJECT

public:
    explicit TimelineSlider(QWidget *parent = nullptr);

    // Where the marks go, in milliseconds.
    void setMarks(const QList<int> &marks);
    // Where the crop's keyframes are, in milliseconds, drawn under the poster marks.
    void setKeyframeMarks(const QList<int> &marks);
    const QList<int> &keyframeMarks() const { return m_keyframeMarks; }
    // A picture's length, in milliseconds: the fine step.
    void setFrameStep(int milliseconds) { m_frameStep = std::max(1, milliseconds); }

protected:
    void paintEvent(QPaintEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    QList<int> m_marks;
    QList<int> m_keyframeMarks;
    int m_frameStep = 40;
    int m_fineFrom = -1;      // the value where a fine drag began; -1: none
    double m_fineOrigin = 0;  // the pointer's x there
};
