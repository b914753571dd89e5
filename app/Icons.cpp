#include "Icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPalette>
#include <QPixmap>

using namespace Qt::StringLiterals;

namespace Icons {

namespace {

// Draws at 24 × 24 units, at each size a toolbar or menu asks for.
QIcon drawn(const std::function<void(QPainter &)> &draw)
{
    QIcon icon;
    for (const int side : { 16, 24, 32, 48, 64 }) {
        QPixmap pixmap(side, side);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.scale(side / 24.0, side / 24.0);
        painter.setPen(QPen(QPalette().color(QPalette::WindowText), 2, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
        draw(painter);
        icon.addPixmap(pixmap);
    }
    return icon;
}

} // namespace

QIcon crop()
{
    return QIcon::fromTheme(u"transform-crop"_s, drawn([](QPainter &p) {
        p.drawPolyline(QPolygonF({ { 6, 2 }, { 6, 18 }, { 22, 18 } }));
        p.drawPolyline(QPolygonF({ { 2, 6 }, { 18, 6 }, { 18, 22 } }));
    }));
}

QIcon scale()
{
    return QIcon::fromTheme(u"transform-scale"_s, drawn([](QPainter &p) {
        p.drawRect(QRectF(3, 9, 12, 12));
        p.drawLine(QLineF(11, 13, 21, 3));
        p.drawPolyline(QPolygonF({ { 14, 3 }, { 21, 3 }, { 21, 10 } }));
    }));
}

QIcon borders()
{
    return drawn([](QPainter &p) {
        p.fillRect(QRectF(2, 3, 20, 3), p.pen().color());
        p.fillRect(QRectF(2, 18, 20, 3), p.pen().color());
        p.drawRect(QRectF(3, 8, 18, 8));
    });
}

QIcon motion()
{
    return drawn([](QPainter &p) {
        p.drawRect(QRectF(2, 4, 20, 16));
        p.setBrush(p.pen().color());
        p.drawEllipse(QPointF(16, 12), 3, 3);
        for (const double x : { 6.0, 10.0 })
            p.drawPoint(QPointF(x, 12));
    });
}

QIcon keyframe()
{
    return drawn([](QPainter &p) {
        p.drawLine(QLineF(2, 20, 22, 20));
        p.setBrush(p.pen().color());
        p.drawPolygon(QPolygonF({ { 12, 3 }, { 18, 10 }, { 12, 17 }, { 6, 10 } }));
    });
}

QIcon follow()
{
    return drawn([](QPainter &p) {
        p.drawRect(QRectF(8, 5, 10, 14));
        p.setBrush(p.pen().color());
        p.drawEllipse(QPointF(13, 12), 2, 2);
        p.drawLine(QLineF(2, 12, 6, 12));
        p.drawLine(QLineF(20, 12, 22, 12));
    });
}

} // namespace Icons
