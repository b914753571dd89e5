#include "ImageDropView.h"

#include "selection/CropGeometry.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QImageReader>
#include <QMimeData>
#include <QPainter>
#include <QPainterPath>
#include <QtConcurrent>

using namespace Qt::StringLiterals;

namespace {

// The first dragged item, when it is a local path.
std::optional<QString> firstDraggedPath(const QMimeData *data)
{
    if (!data || !data->hasUrls() || data->urls().isEmpty())
        return std::nullopt;
    const QUrl url = data->urls().first();
    if (!url.isLocalFile() || url.toLocalFile().isEmpty())
        return std::nullopt;
    return url.toLocalFile();
}

} // namespace

ImageDropView::ImageDropView(QWidget *parent)
    : QWidget(parent)
{
    setAcceptDrops(true);
    connect(&m_decoding, &QFutureWatcher<Decoded>::finished, this, [this] {
        m_shown = m_decoding.result();
        // Playing has stopped and the picture of its time is here.
        if (m_shown.path == m_imagePath)
            m_frame = QImage();
        update();
    });
}

void ImageDropView::setImagePath(const QString &path)
{
    m_imagePath = path;
    m_sourceSize = path.isEmpty() ? QSize() : QImageReader(path).size();
    // A file rewritten under the same name is decoded afresh.
    m_shown.pixels = QSize();
    update();
    Q_EMIT imagePathChanged(path);
}

void ImageDropView::setFrame(const QImage &frame)
{
    m_frame = frame;
    update();
}

void ImageDropView::setPictureRect(const QRect &rect)
{
    m_pictureRect = rect;
    update();
}

QRect ImageDropView::targetRect() const
{
    if (!m_pictureRect.isEmpty())
        return m_pictureRect;
    if (m_sourceSize.isEmpty())
        return {};
    return CropGeometry::holderFrame(m_sourceSize.width(), m_sourceSize.height(), width(), height()).toRect();
}

void ImageDropView::decode(const QString &path, QSize pixels)
{
    if (m_decoding.isRunning())
        return; // the next paint asks again once this decode has arrived
    const qreal ratio = devicePixelRatioF();
    m_decoding.setFuture(QtConcurrent::run([path, pixels, ratio] {
        QImageReader reader(path);
        reader.setAutoTransform(true);
        reader.setScaledSize(pixels);
        QImage image = reader.read();
        image.setDevicePixelRatio(ratio);
        return Decoded { path, pixels, image };
    }));
}

void ImageDropView::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // Drags over the rest of the window reach it, as no other part of it takes files.
    if (m_window != window()) {
        if (m_window)
            m_window->removeEventFilter(this);
        m_window = window();
        m_window->setAcceptDrops(true);
        m_window->installEventFilter(this);
    }
}

bool ImageDropView::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_window && m_window != this) {
        switch (event->type()) {
        case QEvent::DragEnter:
        case QEvent::DragMove:
            dragEnterEvent(static_cast<QDragEnterEvent *>(event));
            return true;
        case QEvent::DragLeave:
            dragLeaveEvent(static_cast<QDragLeaveEvent *>(event));
            return true;
        case QEvent::Drop:
            dropEvent(static_cast<QDropEvent *>(event));
            return true;
        default:
            break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void ImageDropView::setHighlighted(bool highlighted)
{
    if (m_highlighted != highlighted) {
        m_highlighted = highlighted;
        update();
    }
}

void ImageDropView::paintEvent(QPaintEvent *)
{
    // A dark picture area with rounded corners, the poster inside it.
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath area;
    area.addRoundedRect(QRectF(rect()), 6, 6);
    painter.fillPath(area, QColor(24, 24, 27));
    painter.setClipPath(area);
    if (m_highlighted) {
        // Where a file dropped now goes.
        painter.setPen(QPen(QColor(255, 196, 0), 3));
        painter.setBrush(QColor(255, 196, 0, 40));
        painter.drawRoundedRect(QRectF(rect()).adjusted(1.5, 1.5, -1.5, -1.5), 6, 6);
        painter.setPen(QColor(250, 250, 250));
        painter.drawText(rect(), Qt::AlignCenter, tr("Drop to open this video"));
        return;
    }
    if (m_imagePath.isEmpty()) {
        // Light on the dark picture area, whatever the palette's placeholder colour.
        painter.setPen(QColor(161, 161, 170));
        painter.drawText(rect(), Qt::AlignCenter, tr("Drop a video here, or choose Open"));
        return;
    }
    const QRect target = targetRect();
    if (!m_frame.isNull()) {
        painter.drawImage(target, m_frame);
        return;
    }
    const QSize pixels = (QSizeF(target.size()) * devicePixelRatioF()).toSize();
    if (!pixels.isEmpty() && (m_shown.path != m_imagePath || m_shown.pixels != pixels))
        decode(m_imagePath, pixels);
    // The last decoded poster stands in, scaled, until the fresh one arrives.
    if (!m_shown.image.isNull() && !target.isEmpty()) {
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(target, m_shown.image);
    }
}

void ImageDropView::dragEnterEvent(QDragEnterEvent *event)
{
    const auto path = firstDraggedPath(event->mimeData());
    const QFileInfo info(path.value_or(QString()));
    if (path && info.exists() && !info.isDir()) {
        event->setDropAction(Qt::CopyAction);
        event->accept();
        setHighlighted(true);
    } else {
        event->ignore();
        setHighlighted(false);
    }
}

void ImageDropView::dragLeaveEvent(QDragLeaveEvent *)
{
    setHighlighted(false);
}

void ImageDropView::dropEvent(QDropEvent *event)
{
    setHighlighted(false);
    const auto path = firstDraggedPath(event->mimeData());
    if (!path) {
        event->ignore();
        return;
    }
    m_filePath = path;
    event->setDropAction(Qt::CopyAction);
    event->accept();
    Q_EMIT fileAddedByDragAndDrop(QUrl::fromLocalFile(*path));
}
