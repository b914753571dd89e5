#pragma once

#include <QImage>
#include <QRect>
#include <QUrl>
#include <QWidget>

#include <optional>

// The poster view: shows one image file at the display scale, centred, and
// takes a video file dropped from the file manager. It does not open the file
// itself; it announces it.
class ImageDropView : public QWidget
{
    Q_OBJECT

public:
    explicit ImageDropView(QWidget *parent = nullptr);

    // The image to show, or nothing for an empty path; a file that cannot be
    // loaded shows nothing.
    void setImagePath(const QString &path);
    QString imagePath() const { return m_imagePath; }
    bool hasImage() { return !imageFor(targetRect()).isNull(); }
    // Where the picture goes; an empty rectangle fits the image itself.
    void setPictureRect(const QRect &rect);
    // The last file dropped here.
    std::optional<QString> filePath() const { return m_filePath; }

Q_SIGNALS:
    void fileAddedByDragAndDrop(const QUrl &url);

protected:
    void paintEvent(QPaintEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    QRect targetRect() const;
    // Decodes the image at the size it is shown, for a sharp and cheap poster.
    const QImage &imageFor(QRect target);

    QString m_imagePath;
    QSize m_sourceSize;
    QRect m_pictureRect;
    QImage m_image;
    QString m_decodedPath;
    QSize m_decodedSize;
    std::optional<QString> m_filePath;
};
