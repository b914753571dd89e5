#include "SelectionHolder.h"

#include "SelectionRectangle.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>

using SelectionGeometry::borderPositionAt;
using SelectionGeometry::cursorShapeFor;

namespace {

constexpr int loupeSide = 128;
constexpr int loupeZoom = 4;

} // namespace

// The loupe: what its holder gives it to draw, above the crop's frame.
class Loupe : public QWidget
{
public:
    explicit Loupe(QWidget *holder)
        : QWidget(holder)
    {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        resize(loupeSide, loupeSide);
        hide();
    }

    QImage picture; // the part of the poster under the pointer
    QRectF edges;   // the crop, in the loupe's coordinates

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), QColor(24, 24, 27));
        painter.drawImage(QRectF(rect()), picture);
        painter.setPen(QPen(QColor(255, 196, 0), 2));
        painter.drawRect(edges);
        painter.setPen(QPen(Qt::white, 1));
        painter.drawRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5));
    }
};

SelectionHolder::SelectionHolder(QWidget *parent)
    : QWidget(parent)
{
    setMouseTracking(true);
    setFocusPolicy(Qt::ClickFocus);
    setCursor(Qt::CrossCursor);
    m_loupe = new Loupe(this);
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

void SelectionHolder::setPosterPath(const QString &path)
{
    m_posterPath = path;
    m_poster = QImage();
}

void SelectionHolder::showLoupe(QPointF pointer)
{
    if (m_poster.isNull() || width() <= 0 || height() <= 0)
        return;
    // A square a quarter of the loupe's side around the pointer, in the holder and in the poster.
    const double side = double(loupeSide) / loupeZoom;
    const QRectF region(pointer.x() - side / 2, pointer.y() - side / 2, side, side);
    const double sx = m_poster.width() / double(width()), sy = m_poster.height() / double(height());
    m_loupe->picture = m_poster.copy(QRectF(region.x() * sx, region.y() * sy, side * sx, side * sy).toRect());
    const QRectF crop = shown(m_selection);
    m_loupe->edges = QRectF((crop.x() - region.x()) * loupeZoom, (crop.y() - region.y()) * loupeZoom,
                          crop.width() * loupeZoom, crop.height() * loupeZoom);
    // Below and right of the pointer, or on the other side where the holder ends.
    QPoint at = (pointer + QPointF(24, 24)).toPoint();
    if (at.x() + loupeSide > width())
        at.rx() = int(pointer.x()) - 24 - loupeSide;
    if (at.y() + loupeSide > height())
        at.ry() = int(pointer.y()) - 24 - loupeSide;
    m_loupe->move(at);
    m_loupe->raise();
    m_loupe->show();
    m_loupe->update();
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
    if (handle != BorderPosition::middle && m_poster.isNull() && !m_posterPath.isEmpty())
        m_poster = QImage(m_posterPath);
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
        if (m_press.handle != BorderPosition::middle)
            showLoupe(event->position());
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
    Q_EMIT dragFinished();
}

void SelectionHolder::hideEvent(QHideEvent *event)
{
    endPress();
    QWidget::hideEvent(event);
}

void SelectionHolder::endPress()
{
    m_press.handle = BorderPosition::none;
    m_loupe->hide();
    m_anchor.reset();
    m_drawing = false;
    if (m_overridesCursor) {
        QGuiApplication::restoreOverrideCursor();
        m_overridesCursor = false;
    }
}
