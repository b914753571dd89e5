#pragma once

#include "selection/SelectionGeometry.h"

#include <QImage>
#include <QPointF>
#include <QRectF>
#include <QWidget>

#include <optional>

class Loupe;
class SelectionRectangle;

// The holder over the picture: it shows the selection, kept in video pixels,
// through one transform onto itself, dims what lies outside it, and turns the
// pointer into edits: a press on an edge or corner resizes, inside moves, and
// outside, dragged, draws a new selection.
class SelectionHolder : public QWidget
{
    Q_OBJECT

public:
    explicit SelectionHolder(QWidget *parent = nullptr);
    ~SelectionHolder() override;

    // The picture's size in video pixels; the holder shows it whole.
    void setPicture(QSizeF picture);
    QRectF selection() const { return m_selection; }
    // Selections set from outside are taken as they are.
    void setSelection(const QRectF &selection);
    bool isProportional() const { return m_isProportional; }
    void setProportional(bool proportional) { m_isProportional = proportional; }

    // A translucent map drawn over the whole picture under the veil; none when null.
    void setMotionMap(const QImage &heat);
    bool hasMotionMap() const { return !m_heat.isNull(); }
    // The picture shown under the holder, which the loupe magnifies while an edge or corner is dragged.
    void setPosterPath(const QString &path);

    // Between the holder's coordinates and video pixels.
    QRectF shown(const QRectF &video) const;
    QPointF videoPoint(QPointF position) const;

Q_SIGNALS:
    // After every step of a drag on the selection, also when it did not
    // change; never on press or release.
    void activityInSelectionRectangle();
    // A new selection was drawn, at each motion of the pointer.
    void selectionDrawn();
    // The pointer let go of the selection after pressing on it.
    void dragFinished();

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    SelectionRectangle *rectangle() const;
    void place();
    void endPress();
    // Beside the pointer, the picture under it four times as large, with the crop's edges.
    void showLoupe(QPointF pointer);

    QSizeF m_picture;
    QImage m_heat;
    QString m_posterPath;
    QImage m_poster; // read at the first press on an edge or corner, not in a drag step
    Loupe *m_loupe = nullptr;
    QRectF m_selection;
    bool m_isProportional = false;
    SelectionGeometry::Press m_press;
    std::optional<QPointF> m_anchor; // where a press outside began, in the holder's coordinates
    bool m_drawing = false;
    bool m_overridesCursor = false;
};
