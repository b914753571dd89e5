#include "SelectionRectangle.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>

using SelectionGeometry::borderPositionAt;

SelectionRectangle::SelectionRectangle(QWidget *holder)
    : QWidget(holder)
{
    setMouseTracking(true);
    if (holder)
        holder->installEventFilter(this);
}

SelectionRectangle::~SelectionRectangle()
{
    endPress();
}

QPointF SelectionRectangle::framePoint(const QWidget *holder, QPointF widgetPosition)
{
    return { widgetPosition.x(), holder->height() - widgetPosition.y() };
}

QRect SelectionRectangle::widgetRect(const QWidget *holder, const QRectF &frame)
{
    return QRectF(frame.x(), holder->height() - frame.y() - frame.height(), frame.width(), frame.height()).toRect();
}

void SelectionRectangle::setSelectionFrame(const QRectF &frame)
{
    m_frame = frame;
    place();
}

void SelectionRectangle::place()
{
    if (parentWidget())
        setGeometry(widgetRect(parentWidget(), m_frame));
}

QPointF SelectionRectangle::holderPoint(QPointF widgetPosition) const
{
    return framePoint(parentWidget(), QPointF(pos()) + widgetPosition);
}

QRectF SelectionRectangle::holderBounds() const
{
    return parentWidget() ? QRectF(QPointF(0, 0), parentWidget()->size()) : QRectF();
}

bool SelectionRectangle::event(QEvent *event)
{
    if (event->type() == QEvent::ParentAboutToChange && parentWidget())
        parentWidget()->removeEventFilter(this);
    else if (event->type() == QEvent::ParentChange && parentWidget())
        parentWidget()->installEventFilter(this);
    return QWidget::event(event);
}

bool SelectionRectangle::eventFilter(QObject *watched, QEvent *event)
{
    // The frame counts from the holder's bottom edge, which moves when the holder resizes.
    if (watched == parentWidget() && event->type() == QEvent::Resize)
        place();
    return QWidget::eventFilter(watched, event);
}

void SelectionRectangle::paintEvent(QPaintEvent *)
{
    // Small squares where the handles are, so the grab points can be seen.
    QPainter painter(this);
    painter.setPen(QPen(QColor(24, 24, 27), 1));
    painter.setBrush(Qt::white);
    const double side = 7;
    const double w = width(), h = height();
    for (const QPointF centre : { QPointF(0, 0), QPointF(w / 2, 0), QPointF(w, 0), QPointF(w, h / 2), QPointF(w, h),
                                  QPointF(w / 2, h), QPointF(0, h), QPointF(0, h / 2) }) {
        const QPointF inside(std::clamp(centre.x(), side / 2 + 1, w - side / 2 - 1),
                             std::clamp(centre.y(), side / 2 + 1, h - side / 2 - 1));
        painter.drawRect(QRectF(inside.x() - side / 2, inside.y() - side / 2, side, side));
    }
}

void SelectionRectangle::enterEvent(QEnterEvent *event)
{
    QWidget::enterEvent(event);
    setCursor(Qt::OpenHandCursor);
}

void SelectionRectangle::leaveEvent(QEvent *event)
{
    QWidget::leaveEvent(event);
    unsetCursor();
}

void SelectionRectangle::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || !parentWidget()) {
        QWidget::mousePressEvent(event);
        return;
    }
    const QPointF point = holderPoint(event->position());
    const BorderPosition handle = borderPositionAt(point - m_frame.topLeft(), m_frame.size());
    m_press = { m_frame, point, handle, m_frame.width() / m_frame.height() };

    // While the button is down the press's cursor stays, wherever the pointer goes.
    const Qt::CursorShape shape = SelectionGeometry::cursorShapeFor(handle);
    if (m_overridesCursor)
        QGuiApplication::restoreOverrideCursor();
    QGuiApplication::setOverrideCursor(shape == Qt::OpenHandCursor ? Qt::ClosedHandCursor : shape);
    m_overridesCursor = true;
}

void SelectionRectangle::mouseMoveEvent(QMouseEvent *event)
{
    const QPointF point = holderPoint(event->position());
    if (m_press.handle == BorderPosition::none) {
        setCursor(SelectionGeometry::cursorShapeFor(borderPositionAt(point - m_frame.topLeft(), m_frame.size())));
        return;
    }
    const QRectF frame = SelectionGeometry::dragStep(m_press, point, m_isProportional, holderBounds());
    if (frame != m_frame)
        setSelectionFrame(frame);
    Q_EMIT activityInSelectionRectangle();
}

void SelectionRectangle::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    endPress();
    setCursor(Qt::ArrowCursor);
}

void SelectionRectangle::hideEvent(QHideEvent *event)
{
    endPress();
    QWidget::hideEvent(event);
}

void SelectionRectangle::endPress()
{
    m_press.point = QPointF(0, 0);
    m_press.handle = BorderPosition::none;
    if (m_overridesCursor) {
        QGuiApplication::restoreOverrideCursor();
        m_overridesCursor = false;
    }
}
