#pragma once

#include <QFutureWatcher>
#include <QImage>
#include <QRect>
#include <QUrl>
#include <QWidget>

#include <optional>

// The poster view: shows one image file at the display scale, centred, and
// takes a video file dropped from the file manager, on itself or anywhere on
// its window, lighting up while one hovers. It does not open the file itself;
// it announces it.
class ImageDropView : public QWidget
{
    Q_OBJECT

public:
    explicit ImageDropView(QWidget *parent = nullptr);

    // The image to show, or nothing for an empty path; a file that cannot be
    // loaded shows nothing.
    void setImagePath(const QString &path);
    QString imagePath() const { return m_imagePath; }
    // The image drawn now: the one before stays until the new one is decoded.
    QString drawnImagePath() const { return m_shown.path; }
    // Whether the image shown (or being decoded for showing) has pixels.
    bool hasImage() const { return !m_sourceSize.isEmpty(); }
    // Where the picture goes; an empty rectangle fits the image itself.
    void setPictureRect(const QRect &rect);
    QRect pictureRect() const { return m_pictureRect; }
    // A picture played, drawn over the image until the next image is decoded; none when null.
    void setFrame(const QImage &frame);
    // The last file dropped here.
    std::optional<QString> filePath() const { return m_filePath; }

Q_SIGNALS:
    void fileAddedByDragAndDrop(const QUrl &url);
    void imagePathChanged(const QString &path);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragLeaveEvent(QDragLeaveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    QRect targetRect() const;
    void setHighlighted(bool highlighted);
    // Decodes the image at the size it is shown, sharp and cheap, away from
    // the event loop: a 4K poster takes longer to decode than a frame lasts.
    void decode(const QString &path, QSize pixels);

    struct Decoded
    {
        QString path;
        QSize pixels;
        QImage image;
    };

    QString m_imagePath;
    QSize m_sourceSize;
    QRect m_pictureRect;
    QImage m_frame;
    Decoded m_shown;   // drawn until a decode for the current path and size arrives
    QFutureWatcher<Decoded> m_decoding;
    std::optional<QString> m_filePath;
    QWidget *m_window = nullptr; // whose drops are taken as this view's
    bool m_highlighted = false;
};
