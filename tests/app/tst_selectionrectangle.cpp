#include "SelectionRectangle.h"

#include <QCursor>
#include <QGuiApplication>
#include <QSignalSpy>
#include <QTest>

// The selection rectangle under real Qt mouse events, inside a 640 x 360 holder.
class TestSelectionRectangle : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void moveByDragging();
    void followsItsHolder();
    void rejectedStepStillAnnounces();
    void cursorWhilePressed_data();
    void cursorWhilePressed();

private:
    // A point given in the frame's own y-up coordinates, as a widget position.
    QPoint widgetPoint(QPointF own) const;
    // Moves the pointer to a position in the holder, as the window would see it.
    void moveTo(QPoint inHolder);

    QWidget *m_holder = nullptr;
    SelectionRectangle *m_rect = nullptr;
};

void TestSelectionRectangle::init()
{
    m_holder = new QWidget;
    m_holder->resize(640, 360);
    m_rect = new SelectionRectangle(m_holder);
    m_holder->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_holder));
    m_rect->setSelectionFrame(QRectF(10, 10, 200, 100));
}

void TestSelectionRectangle::cleanup()
{
    delete m_holder;
    QVERIFY(!QGuiApplication::overrideCursor());
}

QPoint TestSelectionRectangle::widgetPoint(QPointF own) const
{
    return QPointF(own.x(), m_rect->selectionFrame().height() - own.y()).toPoint();
}

void TestSelectionRectangle::moveTo(QPoint inHolder)
{
    QTest::mouseMove(m_rect, inHolder - m_rect->pos());
}

void TestSelectionRectangle::moveByDragging()
{
    const QPoint press = widgetPoint({ 100, 50 });
    const QPoint pressInHolder = m_rect->pos() + press;
    QTest::mousePress(m_rect, Qt::LeftButton, {}, press);
    moveTo(pressInHolder + QPoint(15, -10));
    moveTo(pressInHolder + QPoint(30, -20));
    QTest::mouseRelease(m_rect, Qt::LeftButton, {}, pressInHolder + QPoint(30, -20) - m_rect->pos());
    // Up on the screen is up in the frame.
    QCOMPARE(m_rect->selectionFrame(), QRectF(40, 30, 200, 100));
    QCOMPARE(m_rect->geometry(), QRect(40, 360 - 130, 200, 100));
}

void TestSelectionRectangle::followsItsHolder()
{
    // The frame counts from the holder's bottom edge: a taller holder moves the widget down.
    m_holder->resize(640, 400);
    QCOMPARE(m_rect->selectionFrame(), QRectF(10, 10, 200, 100));
    QCOMPARE(m_rect->geometry(), QRect(10, 400 - 110, 200, 100));
}

void TestSelectionRectangle::rejectedStepStillAnnounces()
{
    m_rect->setSelectionFrame(QRectF(10, 10, 120, 100));
    QSignalSpy activity(m_rect, &SelectionRectangle::activityInSelectionRectangle);
    QRectF frameAtSignal;
    connect(m_rect, &SelectionRectangle::activityInSelectionRectangle, this,
            [&] { frameAtSignal = m_rect->selectionFrame(); });

    const QPoint press = widgetPoint({ 2, 50 });
    QTest::mousePress(m_rect, Qt::LeftButton, {}, press);
    QCOMPARE(activity.count(), 0);
    QTest::mouseMove(m_rect, press + QPoint(30, 0));
    QCOMPARE(activity.count(), 1);
    QCOMPARE(m_rect->selectionFrame(), QRectF(10, 10, 120, 100));

    // Announced before the step: a listener sees the frame as it was.
    moveTo(m_rect->pos() + press + QPoint(-5, 0));
    QCOMPARE(activity.count(), 2);
    QCOMPARE(frameAtSignal, QRectF(10, 10, 120, 100));
    QCOMPARE(m_rect->selectionFrame(), QRectF(5, 10, 125, 100));
    QTest::mouseRelease(m_rect, Qt::LeftButton, {}, press);
    QCOMPARE(activity.count(), 2);
}

void TestSelectionRectangle::cursorWhilePressed_data()
{
    QTest::addColumn<QPointF>("own");
    QTest::addColumn<Qt::CursorShape>("shape");

    QTest::newRow("middle: closed hand") << QPointF(100, 50) << Qt::ClosedHandCursor;
    QTest::newRow("right edge") << QPointF(197, 50) << Qt::SizeHorCursor;
    QTest::newRow("top edge") << QPointF(100, 97) << Qt::SizeVerCursor;
    QTest::newRow("top-left corner") << QPointF(2, 97) << Qt::SizeFDiagCursor;
    QTest::newRow("bottom-left corner") << QPointF(2, 2) << Qt::SizeBDiagCursor;
}

void TestSelectionRectangle::cursorWhilePressed()
{
    QFETCH(QPointF, own);
    QFETCH(Qt::CursorShape, shape);

    const QPoint press = widgetPoint(own);
    QTest::mousePress(m_rect, Qt::LeftButton, {}, press);
    QVERIFY(QGuiApplication::overrideCursor());
    QCOMPARE(QGuiApplication::overrideCursor()->shape(), shape);
    // Far outside the rectangle, the press's cursor stays.
    QTest::mouseMove(m_rect, press + QPoint(300, 200));
    QCOMPARE(QGuiApplication::overrideCursor()->shape(), shape);
    QTest::mouseRelease(m_rect, Qt::LeftButton, {}, press + QPoint(300, 200));
    QVERIFY(!QGuiApplication::overrideCursor());
    QCOMPARE(m_rect->cursor().shape(), Qt::ArrowCursor);
}

QTEST_MAIN(TestSelectionRectangle)
#include "tst_selectionrectangle.moc"
