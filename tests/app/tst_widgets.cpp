#include "SelectionHolder.h"
#include "SelectionRectangle.h"
#include "ViewStyling.h"

#include <QCursor>
#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace ViewStyling;

// The widgets under real Qt events: the selection rectangle and its holder
// (640 x 360), and how a styled view paints.
class TestWidgets : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void followsItsHolder();
    void announcesAfterEachStep();
    void drawingANewSelection();
    void cursorWhilePressed_data();
    void cursorWhilePressed();
    void painting();

private:
    // A point given in the frame's own y-up coordinates, as a widget position.
    QPoint widgetPoint(QPointF own) const;
    // Moves the pointer to a position in the holder, as the window would see it.
    void moveTo(QPoint inHolder);

    SelectionHolder *m_holder = nullptr;
    SelectionRectangle *m_rect = nullptr;
};


void TestWidgets::init()
{
    m_holder = new SelectionHolder;
    m_holder->resize(640, 360);
    m_rect = new SelectionRectangle(m_holder);
    m_holder->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_holder));
    m_rect->setSelectionFrame(QRectF(10, 10, 200, 100));
}

void TestWidgets::cleanup()
{
    delete m_holder;
    QVERIFY(!QGuiApplication::overrideCursor());
}

QPoint TestWidgets::widgetPoint(QPointF own) const
{
    return QPointF(own.x(), m_rect->selectionFrame().height() - own.y()).toPoint();
}

void TestWidgets::moveTo(QPoint inHolder)
{
    QTest::mouseMove(m_rect, inHolder - m_rect->pos());
}

void TestWidgets::followsItsHolder()
{
    // The frame counts from the holder's bottom edge: a taller holder moves the widget down.
    m_holder->resize(640, 400);
    QCOMPARE(m_rect->selectionFrame(), QRectF(10, 10, 200, 100));
    QCOMPARE(m_rect->geometry(), QRect(10, 400 - 110, 200, 100));
}

void TestWidgets::announcesAfterEachStep()
{
    m_rect->setSelectionFrame(QRectF(10, 10, 120, 100));
    QList<QRectF> seen;
    connect(m_rect, &SelectionRectangle::activityInSelectionRectangle, this,
            [&] { seen << m_rect->selectionFrame(); });

    const QPoint press = widgetPoint({ 2, 50 });
    const QPoint pressInHolder = m_rect->pos() + press;
    QTest::mousePress(m_rect, Qt::LeftButton, {}, press);
    QCOMPARE(seen.size(), 0);
    // A listener sees each step's frame; the left edge stops at the minimum width.
    moveTo(pressInHolder + QPoint(30, 0));
    moveTo(pressInHolder + QPoint(-5, 0));
    QCOMPARE(seen, (QList<QRectF> { QRectF(30, 10, 100, 100), QRectF(5, 10, 125, 100) }));
    QTest::mouseRelease(m_rect, Qt::LeftButton, {}, m_rect->mapFromParent(pressInHolder));
    QCOMPARE(seen.size(), 2);
}

void TestWidgets::drawingANewSelection()
{
    QSignalSpy drawn(m_holder, &SelectionHolder::selectionDrawn);
    // A click on the picture outside the selection changes nothing.
    QTest::mouseClick(m_holder, Qt::LeftButton, {}, QPoint(400, 100));
    QCOMPARE(m_rect->selectionFrame(), QRectF(10, 10, 200, 100));
    // Dragged, it draws a new selection from where the press began.
    QTest::mousePress(m_holder, Qt::LeftButton, {}, QPoint(300, 60));
    QTest::mouseMove(m_holder, QPoint(400, 100));
    QTest::mouseMove(m_holder, QPoint(500, 200));
    QTest::mouseRelease(m_holder, Qt::LeftButton, {}, QPoint(500, 200));
    QCOMPARE(m_rect->selectionFrame(), QRectF(300, 160, 200, 140));
    QCOMPARE(m_rect->geometry(), QRect(300, 60, 200, 140));
    QCOMPARE(drawn.count(), 2);
}

void TestWidgets::cursorWhilePressed_data()
{
    QTest::addColumn<QPointF>("own");
    QTest::addColumn<Qt::CursorShape>("shape");

    QTest::newRow("middle: closed hand") << QPointF(100, 50) << Qt::ClosedHandCursor;
    QTest::newRow("right edge") << QPointF(197, 50) << Qt::SizeHorCursor;
    QTest::newRow("top-left corner") << QPointF(2, 97) << Qt::SizeFDiagCursor;
}

void TestWidgets::cursorWhilePressed()
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

void TestWidgets::painting()
{
    QWidget view;
    view.resize(40, 30);
    setBackgroundColor(&view, QColor(Qt::red));
    setBorderColor(&view, QColor(Qt::blue));
    setBorderWidth(&view, 4);
    const QImage image = view.grab().toImage();
    QCOMPARE(image.pixelColor(20, 15), QColor(Qt::red));
    QCOMPARE(image.pixelColor(1, 15), QColor(Qt::blue));
}

QTEST_MAIN(TestWidgets)
#include "tst_widgets.moc"
