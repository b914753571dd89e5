#pragma once

#include <QPointF>
#include <QWidget>

#include <optional>

class SelectionRectangle;

// The holder over the picture: it dims what lies outside the selection, and a
// press on the picture outside the selection, dragged, draws a new selection.
class SelectionHolder : public QWidget
{
    Q_OBJECT

public:
    explicit SelectionHolder(QWidget *parent = nullptr);

Q_SIGNALS:
    // A new selection was drawn, at each motion of the pointer.
    void selectionDrawn();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    SelectionRectangle *selection() const;

    std::optional<QPointF> m_anchor; // where a press began, in widget coordinates
    bool m_drawing = false;
};
