#include "ImageDropView.h"

#include "ViewStyling.h"
#include "selection/CropGeometry.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QImageReader>
#include <QMimeData>
#include <QPainter>

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
    ViewStyling::makeLayerBacked(this);
    setAcceptDrops(true);
}

void ImageDropView::setImagePath(const QString &path)
{
    m_imagePath = path;
    m_sourceSize = path.isEmpty() ? QSize() : QImageReader(path).size();
    m_decodedPath.clear();
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

const QImage &ImageDropView::imageFor(QRect target)
{
    const QSize pixels = (QSizeF(target.size()) * devicePixelRatioF()).toSize();
    if (m_decodedPath == m_imagePath && m_decodedSize == pixels)
        return m_image;
    m_decodedPath = m_imagePath;
    m_decodedSize = pixels;
    m_image = QImage();
    if (m_imagePath.isEmpty() || pixels.isEmpty())
        return m_image;
    QImageReader reader(m_imagePath);
    reader.setAutoTransform(true);
    reader.setScaledSize(pixels);
    m_image = reader.read();
    m_image.setDevicePixelRatio(devicePixelRatioF());
    return m_image;
}

void ImageDropView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    if (m_imagePath.isEmpty()) {
        painter.setPen(palette().color(QPalette::PlaceholderText));
        painter.drawText(rect(), Qt::AlignCenter, tr("Drop a video here, or choose Open"));
        return;
    }
    const QRect target = targetRect();
    const QImage &image = imageFor(target);
    if (!image.isNull())
        painter.drawImage(target.topLeft(), image);
}

void ImageDropView::dragEnterEvent(QDragEnterEvent *event)
{
    const auto path = firstDraggedPath(event->mimeData());
    const QFileInfo info(path.value_or(QString()));
    if (path && info.exists() && !info.isDir()) {
        event->setDropAction(Qt::CopyAction);
        event->accept();
    } else {
        event->ignore();
    }
}

void ImageDropView::dropEvent(QDropEvent *event)
{
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
