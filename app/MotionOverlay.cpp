#include "MotionOverlay.h"

#include "SelectionHolder.h"
#include "selection/MotionMap.h"
#include "util/TimeText.h"

#include <QtConcurrent>

MotionOverlay::MotionOverlay(SelectionHolder *holder, QObject *parent)
    : QObject(parent)
    , m_holder(holder)
{
    connect(&m_making, &QFutureWatcher<Map>::finished, this, [this] {
        // A map of posters shown no longer is made again for those shown now.
        if (m_making.result().paths == m_map.paths)
            m_map = m_making.result();
        show();
    });
}

void MotionOverlay::setPosters(const QStringList &paths, const QList<double> &times)
{
    m_map = { paths, {}, {} };
    m_times = times;
    show();
}

void MotionOverlay::setShown(bool shown)
{
    m_shown = shown;
    show();
}

void MotionOverlay::show()
{
    m_noticed.reset();
    if (m_shown && m_map.spread.isNull() && !m_map.paths.isEmpty() && !m_making.isRunning()) {
        m_making.setFuture(QtConcurrent::run([paths = m_map.paths] {
            QList<QImage> pictures;
            for (const QString &path : paths)
                pictures << QImage(path);
            const QList<QImage> samples = MotionMap::samples(pictures);
            return Map { paths, samples, MotionMap::spread(samples) };
        }));
    }
    const bool ready = m_shown && !m_map.spread.isNull();
    m_holder->setMotionMap(ready ? MotionMap::heat(m_map.spread) : QImage());
    if (ready)
        check(m_crop);
    else
        setOutside(0);
}

void MotionOverlay::setOutside(int poster)
{
    if (poster != std::exchange(m_outside, poster))
        Q_EMIT movingOutside(poster);
}

void MotionOverlay::check(const QRectF &crop)
{
    m_crop = crop;
    if (!m_shown || m_map.spread.isNull())
        return;
    const auto moving = MotionMap::movingOutside(m_map.samples, m_map.spread, crop);
    setOutside(moving ? *moving + 1 : 0);
    // Once for each verdict, not at every step of a drag.
    if (!moving || moving == m_noticed)
        return;
    m_noticed = moving;
    Q_EMIT notice(tr("Moving picture outside the crop around %1").arg(TimeText::format(m_times.value(*moving)).left(8)));
}
