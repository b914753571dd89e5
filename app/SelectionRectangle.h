#pragma once

#include "selection/SelectionGeometry.h"

#include <QPointF>
#include <QRectF>
#include <QWidget>

// The crop frame over the poster, moved by its interior and resized by eight
// handles, optionally keeping its aspect ratio. It lives inside the holder
// widget and draws only its handles; its border and fill come from the
// styling properties.
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
    double ratio() const { return m_press.ratio; }
    BorderPosition selectedHandle() const { return m_press.handle; }

    // Between a position in the holder widget and the holder's y-up coordinates.
    static QPointF framePoint(const QWidget *holder, QPointF widgetPosition);
    static QRect widgetRect(const QWidget *holder, const QRectF &frame);

Q_SIGNALS:
    // After every drag event's step, also when the frame did not change;
    // never on press or release.
    void activityInSelectionRectangle();

protected:
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    QPointF holderPoint(QPointF widgetPosition) const;
    QRectF holderBounds() const;
    void place();
    void endPress();

    QRectF m_frame;
    SelectionGeometry::Press m_press;
    bool m_isProportional = false;
    bool m_overridesCursor = false;
};
