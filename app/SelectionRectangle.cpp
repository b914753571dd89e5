#include "SelectionRectangle.h"

#include <QPainter>

#include <algorithm>

SelectionRectangle::SelectionRectangle(QWidget *holder)
    : QWidget(holder)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void SelectionRectangle::setGuides(bool shown)
{
    m_guides = shown;
    update();
}

void SelectionRectangle::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    if (m_guides) {
        painter.setPen(QPen(QColor(255, 255, 255, 160), 1));
        for (const double third : { 1.0 / 3, 2.0 / 3 }) {
            painter.drawLine(QPointF(width() * third, 0), QPointF(width() * third, height()));
            painter.drawLine(QPointF(0, height() * third), QPointF(width(), height() * third));
        }
    }
    // The crop's outline, and small squares where the handles are, so the grab points can be seen.
    painter.setPen(QPen(QColor(255, 196, 0), 2));
    painter.drawRect(QRectF(rect()).adjusted(1, 1, -1, -1));
    painter.setPen(QPen(QColor(24, 24, 27), 1));
    painter.setBrush(Qt::white);
    const double side = 7;
    const double w = width(), h = height();
    for (const QPointF centre : { QPointF(0, 0), QPointF(w / 2, 0), QPointF(w, 0), QPointF(w, h / 2), QPointF(w, h),
                                  QPointF(w / 2, h), QPointF(0, h), QPointF(0, h / 2) }) {
        const QPointF inside(std::clamp(centre.x(), side / 2 + 1, std::max(side / 2 + 1, w - side / 2 - 1)),
                             std::clamp(centre.y(), side / 2 + 1, std::max(side / 2 + 1, h - side / 2 - 1)));
        painter.drawRect(QRectF(inside.x() - side / 2, inside.y() - side / 2, side, side));
    }
}
