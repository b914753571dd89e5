#include "ImageDropView.h"

#include "ViewStyling.h"
#include "selection/CropGeometry.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QImageReader>
#include <QMimeData>
#include <QPainter>
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
    ViewStyling::makeLayerBacked(this);
    setAcceptDrops(true);
    connect(&m_decoding, &QFutureWatcher<Decoded>::finished, this, [this] {
        m_shown = m_decoding.result();
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

void ImageDropView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    if (m_imagePath.isEmpty()) {
        painter.setPen(palette().color(QPalette::PlaceholderText));
        painter.drawText(rect(), Qt::AlignCenter, tr("Drop a video here, or choose Open"));
        return;
    }
    const QRect target = targetRect();
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
