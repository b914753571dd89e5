#pragma once

#include "selection/BorderPosition.h"

#include <QPointF>
#include <QRectF>
#include <QWidget>

// The crop frame over the poster, moved by its interior and resized by eight
// handles, optionally keeping its aspect ratio. It lives inside the holder
// widget and draws nothing itself: its look comes from the styling properties.
//
// Its frame is kept in the holder's coordinates with the origin at the
// bottom-left and y up, as the crop arithmetic uses them; this class is the
// one place that converts to and from Qt's y-down widget coordinates, and it
// places itself again whenever the holder changes size.
class SelectionRectangle : public QWidget
{
    Q_OBJECT

public:
    explicit SelectionRectangle(QWidget *holder = nullptr);
    ~SelectionRectangle() override;

    QRectF selectionFrame() const { return m_frame; }
    // Frames set from outside are taken as they are, without limits.
    void setSelectionFrame(const QRectF &frame);

    bool isProportional() const { return m_isProportional; }
    void setProportional(bool proportional) { m_isProportional = proportional; }
    // Width ÷ height of the frame at the last press.
    double ratio() const { return m_ratio; }
    BorderPosition selectedHandle() const { return m_selectedHandle; }

Q_SIGNALS:
    // At the start of every drag event, before its step, also when the step
    // is then rejected; never on press or release.
    void activityInSelectionRectangle();

protected:
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    // A pointer position in this widget, in the frame's own y-up coordinates.
    QPointF ownPoint(QPointF widgetPosition) const;
    QRectF holderBounds() const;
    void place();
    void endPress();

    QRectF m_frame;
    QPointF m_draggedPoint;
    BorderPosition m_selectedHandle = BorderPosition::none;
    bool m_isProportional = false;
    double m_ratio = 1.0;
    bool m_overridesCursor = false;
};
