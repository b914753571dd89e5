#include "SelectionHolder.h"

#include "SelectionRectangle.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>

using SelectionGeometry::borderPositionAt;
using SelectionGeometry::cursorShapeFor;

SelectionHolder::SelectionHolder(QWidget *parent)
    : QWidget(parent)
{
    setMouseTracking(true);
    setFocusPolicy(Qt::ClickFocus);
    setCursor(Qt::CrossCursor);
}

SelectionHolder::~SelectionHolder()
{
    endPress();
}

SelectionRectangle *SelectionHolder::rectangle() const
{
    return findChild<SelectionRectangle *>(QString(), Qt::FindDirectChildrenOnly);
}

void SelectionHolder::setPicture(QSizeF picture)
{
    m_picture = picture;
    place();
}

void SelectionHolder::setSelection(const QRectF &selection)
{
    m_selection = selection;
    place();
}

QRectF SelectionHolder::shown(const QRectF &video) const
{
    if (m_picture.isEmpty())
        return {};
    const double sx = width() / m_picture.width(), sy = height() / m_picture.height();
    return { video.x() * sx, video.y() * sy, video.width() * sx, video.height() * sy };
}

QPointF SelectionHolder::videoPoint(QPointF position) const
{
    if (width() <= 0 || height() <= 0)
        return {};
    return { position.x() * m_picture.width() / width(), position.y() * m_picture.height() / height() };
}

void SelectionHolder::place()
{
    if (SelectionRectangle *r = rectangle())
        r->setGeometry(shown(m_selection).toRect());
    update();
}

void SelectionHolder::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    place();
}

void SelectionHolder::setMotionMap(const QImage &heat)
{
    m_heat = heat;
    update();
}

void SelectionHolder::paintEvent(QPaintEvent *)
{
    // The motion map, then a dark veil over what the crop leaves out.
    QPainter painter(this);
    if (!m_heat.isNull()) {
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(QRectF(rect()), m_heat);
    }
    QRegion veil(rect());
    if (const SelectionRectangle *r = rectangle(); r && r->isVisible())
        veil -= r->geometry();
    painter.setClipRegion(veil);
    painter.fillRect(rect(), QColor(0, 0, 0, 140));
}

void SelectionHolder::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || m_picture.isEmpty()) {
        QWidget::mousePressEvent(event);
        return;
    }
    const BorderPosition handle = borderPositionAt(event->position(), shown(m_selection));
    if (handle == BorderPosition::none) {
        m_anchor = event->position();
        m_drawing = false;
        return;
    }
    m_press = { m_selection, videoPoint(event->position()), handle, m_selection.width() / m_selection.height() };
    // While the button is down the press's cursor stays, wherever the pointer goes.
    const Qt::CursorShape shape = cursorShapeFor(handle);
    if (m_overridesCursor)
        QGuiApplication::restoreOverrideCursor();
    QGuiApplication::setOverrideCursor(shape == Qt::OpenHandCursor ? Qt::ClosedHandCursor : shape);
    m_overridesCursor = true;
}

void SelectionHolder::mouseMoveEvent(QMouseEvent *event)
{
    if (m_press.handle != BorderPosition::none) {
        const QRectF frame =
            SelectionGeometry::dragStep(m_press, videoPoint(event->position()), m_isProportional, m_picture);
        if (frame != m_selection)
            setSelection(frame);
        Q_EMIT activityInSelectionRectangle();
        return;
    }
    if (!m_anchor) {
        setCursor(cursorShapeFor(borderPositionAt(event->position(), shown(m_selection))));
        return;
    }
    // A click, or a hand that shakes a little, draws nothing.
    if (!m_drawing && (event->position() - *m_anchor).manhattanLength() < QApplication::startDragDistance())
        return;
    m_drawing = true;
    setSelection(SelectionGeometry::drawnSelection(videoPoint(*m_anchor), videoPoint(event->position()),
                                                   m_isProportional, m_selection.width() / m_selection.height(),
                                                   m_picture));
    Q_EMIT selectionDrawn();
}

void SelectionHolder::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    endPress();
    setCursor(cursorShapeFor(borderPositionAt(event->position(), shown(m_selection))));
}

void SelectionHolder::hideEvent(QHideEvent *event)
{
    endPress();
    QWidget::hideEvent(event);
}

void SelectionHolder::endPress()
{
    m_press.handle = BorderPosition::none;
    m_anchor.reset();
    m_drawing = false;
    if (m_overridesCursor) {
        QGuiApplication::restoreOverrideCursor();
        m_overridesCursor = false;
    }
}
