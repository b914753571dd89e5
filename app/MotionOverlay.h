#pragma once

#include <QFutureWatcher>
#include <QImage>
#include <QObject>
#include <QRectF>
#include <QStringList>

#include <optional>

class SelectionHolder;

// The motion map over the picture: made from the posters away from the
// window's thread when first shown, drawn by the holder under its veil, and
// a note when the picture moves outside the crop.
class MotionOverlay : public QObject
{
    Q_OBJECT

public:
    explicit MotionOverlay(SelectionHolder *holder, QObject *parent = nullptr);

    // The posters in slider order and the times of their pictures.
    void setPosters(const QStringList &paths, const QList<double> &times);
    void setShown(bool shown);
    // Says, once for each verdict, when the picture moves outside crop (a part of the picture, 0 ... 1 each way).
    void check(const QRectF &crop);

Q_SIGNALS:
    void notice(const QString &text);
    // The poster (1 ... 11) where the picture moves outside the crop most; 0 when it does not, or the map is off.
    void movingOutside(int poster);

private:
    struct Map
    {
        QStringList paths;
        QList<QImage> samples;
        QImage spread;
    };

    void show();
    // Says where the picture moves outside the crop when that changes, not at every step of a drag.
    void setOutside(int poster);

    SelectionHolder *m_holder;
    QList<double> m_times;
    Map m_map;        // of the posters now shown; its spread null until made
    QFutureWatcher<Map> m_making;
    bool m_shown = false;
    QRectF m_crop;
    std::optional<int> m_noticed;
    int m_outside = 0; // the poster last said by movingOutside()
};
