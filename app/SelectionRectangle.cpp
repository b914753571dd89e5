#include "SelectionRectangle.h"

#include "selection/SelectionGeometry.h"

#include <QGuiApplication>
#include <QMouseEvent>

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

void SelectionRectangle::setSelectionFrame(const QRectF &frame)
{
    m_frame = frame;
    place();
}

void SelectionRectangle::place()
{
    const double holderHeight = holderBounds().height();
    setGeometry(QRectF(m_frame.x(), holderHeight - m_frame.y() - m_frame.height(), m_frame.width(), m_frame.height())
                    .toRect());
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

QPointF SelectionRectangle::ownPoint(QPointF widgetPosition) const
{
    const QPointF inHolder = QPointF(pos()) + widgetPosition;
    return { inHolder.x() - m_frame.x(), holderBounds().height() - inHolder.y() - m_frame.y() };
}

QRectF SelectionRectangle::holderBounds() const
{
    return parentWidget() ? QRectF(QPointF(0, 0), parentWidget()->size()) : QRectF();
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
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    m_draggedPoint = ownPoint(event->position());
    m_selectedHandle = SelectionGeometry::borderPositionAt(m_draggedPoint, m_frame.size());
    m_ratio = m_frame.width() / m_frame.height();

    // While the button is down the press's cursor stays, wherever the pointer goes.
    const Qt::CursorShape shape = SelectionGeometry::cursorShapeFor(m_selectedHandle);
    if (m_overridesCursor)
        QGuiApplication::restoreOverrideCursor();
    QGuiApplication::setOverrideCursor(shape == Qt::OpenHandCursor ? Qt::ClosedHandCursor : shape);
    m_overridesCursor = true;
}

void SelectionRectangle::mouseMoveEvent(QMouseEvent *event)
{
    const QPointF p = ownPoint(event->position());
    if (m_selectedHandle == BorderPosition::none) {
        setCursor(SelectionGeometry::cursorShapeFor(SelectionGeometry::borderPositionAt(p, m_frame.size())));
        return;
    }

    Q_EMIT activityInSelectionRectangle();
    if (!parentWidget())
        return;
    const auto step = SelectionGeometry::dragStep({ m_frame, m_draggedPoint }, p, m_selectedHandle,
                                                  m_isProportional, m_ratio, holderBounds());
    m_draggedPoint = step.draggedPoint;
    if (step.frame != m_frame)
        setSelectionFrame(step.frame);
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
    m_draggedPoint = QPointF(0, 0);
    m_selectedHandle = BorderPosition::none;
    if (m_overridesCursor) {
        QGuiApplication::restoreOverrideCursor();
        m_overridesCursor = false;
    }
}
