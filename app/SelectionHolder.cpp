#include "SelectionHolder.h"

#include "SelectionRectangle.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>

SelectionHolder::SelectionHolder(QWidget *parent)
    : QWidget(parent)
{
    setCursor(Qt::CrossCursor);
}

SelectionRectangle *SelectionHolder::selection() const
{
    return findChild<SelectionRectangle *>(QString(), Qt::FindDirectChildrenOnly);
}

void SelectionHolder::paintEvent(QPaintEvent *)
{
    // A dark veil over what the crop leaves out.
    QPainter painter(this);
    QRegion veil(rect());
    if (const SelectionRectangle *s = selection(); s && s->isVisible())
        veil -= s->geometry();
    painter.setClipRegion(veil);
    painter.fillRect(rect(), QColor(0, 0, 0, 140));
}

void SelectionHolder::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || !selection()) {
        QWidget::mousePressEvent(event);
        return;
    }
    m_anchor = event->position();
    m_drawing = false;
}

void SelectionHolder::mouseMoveEvent(QMouseEvent *event)
{
    if (!m_anchor)
        return;
    // A click, or a hand that shakes a little, draws nothing.
    if (!m_drawing && (event->position() - *m_anchor).manhattanLength() < QApplication::startDragDistance())
        return;
    m_drawing = true;
    SelectionRectangle *s = selection();
    const QRectF frame = s->selectionFrame();
    s->setSelectionFrame(SelectionGeometry::drawnSelection(
        SelectionRectangle::framePoint(this, *m_anchor), SelectionRectangle::framePoint(this, event->position()),
        s->isProportional(), frame.width() / frame.height(), QRectF(QPointF(0, 0), size())));
    update();
    Q_EMIT selectionDrawn();
}

void SelectionHolder::mouseReleaseEvent(QMouseEvent *event)
{
    QWidget::mouseReleaseEvent(event);
    m_anchor.reset();
    m_drawing = false;
}
