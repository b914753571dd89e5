#include "TimelineSlider.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QWheelEvent>

TimelineSlider::TimelineSlider(QWidget *parent)
    : QSlider(Qt::Horizontal, parent)
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    // Room for the marks below the groove.
    setTickPosition(QSlider::TicksBelow);
    setTickInterval(0);
}

void TimelineSlider::setMarks(const QList<int> &marks)
{
    m_marks = marks;
    update();
}

void TimelineSlider::setKeyframeMarks(const QList<int> &marks)
{
    m_keyframeMarks = marks;
    update();
}

void TimelineSlider::paintEvent(QPaintEvent *event)
{
    // The style draws the groove and handle; the marks stand where the posters are, not at even steps.
    QStyleOptionSlider option;
    initStyleOption(&option);
    option.subControls = QStyle::SC_SliderGroove | QStyle::SC_SliderHandle;
    option.tickPosition = QSlider::NoTicks;
    QPainter painter(this);
    style()->drawComplexControl(QStyle::CC_Slider, &option, &painter, this);
    Q_UNUSED(event);
    const QRect handle = style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, this);
    const int span = width() - handle.width();
    painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
    for (const int mark : m_marks) {
        const int x = handle.width() / 2
            + QStyle::sliderPositionFromValue(minimum(), maximum(), mark, span, option.upsideDown);
        painter.drawLine(x, height() - 5, x, height() - 1);
    }
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(palette().color(QPalette::Highlight));
    for (const int mark : m_keyframeMarks) {
        const double x = handle.width() / 2.0
            + QStyle::sliderPositionFromValue(minimum(), maximum(), mark, span, option.upsideDown);
        const QPointF diamond[] = { { x, height() - 7.0 }, { x + 3.5, height() - 3.5 }, { x, double(height()) },
                                    { x - 3.5, height() - 3.5 } };
        painter.drawPolygon(diamond, 4);
    }
}

void TimelineSlider::wheelEvent(QWheelEvent *event)
{
    const int notches = event->angleDelta().y() / 120;
    if (notches == 0 || !isEnabled()) {
        event->ignore();
        return;
    }
    setValue(value() + notches * (event->modifiers() & Qt::ShiftModifier ? m_frameStep : 1000));
    event->accept();
}

void TimelineSlider::mousePressEvent(QMouseEvent *event)
{
    m_fineFrom = -1;
    QSlider::mousePressEvent(event);
}

void TimelineSlider::mouseMoveEvent(QMouseEvent *event)
{
    if (!(event->modifiers() & Qt::ShiftModifier) || !isSliderDown()) {
        m_fineFrom = -1;
        QSlider::mouseMoveEvent(event);
        return;
    }
    // With Shift the drag goes on from where the handle is, a picture for every two pixels.
    if (m_fineFrom < 0) {
        m_fineFrom = value();
        m_fineOrigin = event->position().x();
    }
    setSliderPosition(m_fineFrom + int((event->position().x() - m_fineOrigin) / 2) * m_frameStep);
    event->accept();
}
