#include "selection/SelectionGeometry.h"

#include <QTest>

using namespace SelectionGeometry;

Q_DECLARE_METATYPE(BorderPosition)

class TestSelectionGeometry : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void hitTest_data();
    void hitTest();
    void dragSteps_data();
    void dragSteps();
    void drawing_data();
    void drawing();
};

void TestSelectionGeometry::hitTest_data()
{
    QTest::addColumn<QPointF>("point");
    QTest::addColumn<QSizeF>("size");
    QTest::addColumn<BorderPosition>("expected");

    const QSizeF square(100, 100);
    QTest::newRow("bottom-left") << QPointF(2, 2) << square << BorderPosition::bottomLeft;
    QTest::newRow("bottom-left inner edge") << QPointF(4.99, 4.99) << square << BorderPosition::bottomLeft;
    // The maximum edges of a zone lie outside it.
    QTest::newRow("just past the corner") << QPointF(5, 5) << square << BorderPosition::middle;
    QTest::newRow("on the corner's right edge") << QPointF(5, 2) << square << BorderPosition::middle;
    QTest::newRow("on the corner's top edge") << QPointF(2, 5) << square << BorderPosition::middle;
    QTest::newRow("top-left") << QPointF(0, 99) << square << BorderPosition::topLeft;
    QTest::newRow("top-right") << QPointF(97, 97) << square << BorderPosition::topRight;
    QTest::newRow("bottom-right") << QPointF(97, 2) << square << BorderPosition::bottomRight;
    QTest::newRow("left") << QPointF(2, 50) << square << BorderPosition::left;
    QTest::newRow("below the left handle") << QPointF(2, 34.9) << square << BorderPosition::middle;
    QTest::newRow("left handle's lower end") << QPointF(2, 35) << square << BorderPosition::left;
    QTest::newRow("left handle's upper end") << QPointF(2, 65) << square << BorderPosition::middle;
    QTest::newRow("top") << QPointF(50, 97) << square << BorderPosition::top;
    QTest::newRow("bottom") << QPointF(50, 2) << square << BorderPosition::bottom;
    QTest::newRow("right") << QPointF(97, 50) << square << BorderPosition::right;
    QTest::newRow("centre") << QPointF(50, 50) << square << BorderPosition::middle;
    QTest::newRow("far corner") << QPointF(100, 100) << square << BorderPosition::middle;
    QTest::newRow("outside") << QPointF(-3, 50) << square << BorderPosition::middle;
    // On a small rectangle the zones overlap and the corner wins.
    QTest::newRow("tiny: corner over edge") << QPointF(2, 2) << QSizeF(30, 30) << BorderPosition::bottomLeft;
    QTest::newRow("tiny: edge") << QPointF(2, 10) << QSizeF(30, 30) << BorderPosition::left;
    QTest::newRow("empty rectangle") << QPointF(0, 0) << QSizeF(0, 0) << BorderPosition::bottomLeft;
}

void TestSelectionGeometry::hitTest()
{
    QFETCH(QPointF, point);
    QFETCH(QSizeF, size);
    QFETCH(BorderPosition, expected);
    QCOMPARE(borderPositionAt(point, size), expected);
}

void TestSelectionGeometry::dragSteps_data()
{
    QTest::addColumn<QRectF>("holder");
    QTest::addColumn<QRectF>("frame");
    QTest::addColumn<QPointF>("press"); // in the frame's own coordinates
    QTest::addColumn<bool>("proportional");
    QTest::addColumn<QPointF>("move"); // of the pointer since the press
    QTest::addColumn<QRectF>("expected");

    const QRectF holder(0, 0, 640, 360);
    const QRectF wide(10, 10, 200, 100);
    const QRectF middle(100, 100, 200, 100);

    QTest::newRow("right") << holder << wide << QPointF(197, 50) << false << QPointF(20, 0) << QRectF(10, 10, 220, 100);
    QTest::newRow("left") << holder << wide << QPointF(2, 50) << false << QPointF(20, 0) << QRectF(30, 10, 180, 100);
    QTest::newRow("top") << holder << wide << QPointF(100, 97) << false << QPointF(0, 20) << QRectF(10, 10, 200, 120);
    QTest::newRow("top-left follows the pointer") << holder << wide << QPointF(2, 97) << false << QPointF(20, 20)
                                                  << QRectF(30, 10, 180, 120);
    QTest::newRow("bottom-right follows the pointer") << holder << middle << QPointF(197, 2) << false
                                                      << QPointF(20, -20) << QRectF(100, 80, 220, 120);
    QTest::newRow("locked top stays centred") << holder << wide << QPointF(100, 97) << true << QPointF(0, 10)
                                              << QRectF(0, 10, 220, 110);
    // Locked: the horizontal motion drives bottom-right; the vertical is ignored.
    QTest::newRow("locked bottom-right") << holder << wide << QPointF(197, 2) << true << QPointF(20, -40)
                                         << QRectF(10, 0, 220, 110);
    QTest::newRow("locked bottom-left keeps top-right") << holder << middle << QPointF(2, 2) << true
                                                        << QPointF(0, -10) << QRectF(80, 90, 220, 110);
    QTest::newRow("locked right stays centred") << holder << middle << QPointF(197, 50) << true << QPointF(20, 0)
                                                << QRectF(100, 95, 220, 110);
    QTest::newRow("locked left stays centred") << holder << QRectF(100, 100, 300, 150) << QPointF(2, 75) << true
                                               << QPointF(20, 0) << QRectF(120, 105, 280, 140);
    QTest::newRow("move stops at the left edge") << holder << QRectF(20, 20, 200, 100) << QPointF(100, 50) << false
                                                 << QPointF(-50, 0) << QRectF(0, 20, 200, 100);
    QTest::newRow("move stops at the right edge") << holder << QRectF(420, 20, 200, 100) << QPointF(100, 50)
                                                  << false << QPointF(50, 0) << QRectF(440, 20, 200, 100);
    QTest::newRow("move stops at the top") << holder << QRectF(20, 200, 200, 100) << QPointF(100, 50) << false
                                           << QPointF(0, 100) << QRectF(20, 260, 200, 100);
    // Steps that were once refused whole now stop where the edge or the minimum is.
    QTest::newRow("left stops at the minimum width") << holder << QRectF(10, 10, 120, 100) << QPointF(2, 50) << false
                                                    << QPointF(30, 0) << QRectF(30, 10, 100, 100);
    QTest::newRow("left stops at the holder's edge") << holder << QRectF(20, 20, 200, 100) << QPointF(2, 50) << false
                                                    << QPointF(-50, 0) << QRectF(0, 20, 220, 100);
    QTest::newRow("right stops at the holder's edge") << holder << QRectF(420, 20, 200, 100) << QPointF(197, 50)
                                                     << false << QPointF(50, 0) << QRectF(420, 20, 220, 100);
    QTest::newRow("corner far past the holder's corner") << holder << middle << QPointF(197, 2) << false
                                                         << QPointF(900, -900) << QRectF(100, 0, 540, 200);
    // Along an edge, one side stopping does not hold back the other.
    QTest::newRow("one side at the edge, the other goes on") << holder << QRectF(100, 0, 200, 100) << QPointF(197, 2)
                                                             << false << QPointF(80, -30) << QRectF(100, 0, 280, 100);
    QTest::newRow("locked corner stops where the ratio fits") << holder << middle << QPointF(197, 197 - 100) << true
                                                              << QPointF(0, 900) << QRectF(100, 100, 520, 260);
    QTest::newRow("locked edge stops where the centre line allows") << holder << QRectF(20, 100, 200, 100)
                                                                    << QPointF(100, 97) << true << QPointF(0, 200)
                                                                    << QRectF(0, 100, 240, 120);
    // A holder lower than the minimum: the selection can still move and resize.
    QTest::newRow("holder under 100 points") << QRectF(0, 0, 960, 48) << QRectF(430, 0, 100, 48) << QPointF(50, 24)
                                             << false << QPointF(100, 0) << QRectF(530, 0, 100, 48);
    QTest::newRow("holder under 100 points, resize") << QRectF(0, 0, 960, 48) << QRectF(430, 0, 100, 48)
                                                     << QPointF(97, 24) << false << QPointF(30, 0)
                                                     << QRectF(430, 0, 130, 48);
}

void TestSelectionGeometry::dragSteps()
{
    QFETCH(QRectF, holder);
    QFETCH(QRectF, frame);
    QFETCH(QPointF, press);
    QFETCH(bool, proportional);
    QFETCH(QPointF, move);
    QFETCH(QRectF, expected);

    const Press pressed { frame, frame.topLeft() + press, borderPositionAt(press, frame.size()),
                          frame.width() / frame.height() };
    QCOMPARE(dragStep(pressed, pressed.point + move, proportional, holder), expected);
}

void TestSelectionGeometry::drawing_data()
{
    QTest::addColumn<QPointF>("anchor");
    QTest::addColumn<QPointF>("pointer");
    QTest::addColumn<bool>("proportional");
    QTest::addColumn<QRectF>("expected");

    QTest::newRow("towards the top-right") << QPointF(100, 100) << QPointF(350, 250) << false << QRectF(100, 100, 250, 150);
    QTest::newRow("towards the bottom-left") << QPointF(400, 300) << QPointF(150, 50) << false << QRectF(150, 50, 250, 250);
    QTest::newRow("small: the minimum") << QPointF(100, 100) << QPointF(120, 110) << false << QRectF(100, 100, 100, 100);
    QTest::newRow("past the holder") << QPointF(100, 100) << QPointF(900, 900) << false << QRectF(100, 100, 540, 260);
    // The minimum does not fit beside an anchor near the edge: it is pushed inside.
    QTest::newRow("anchor near the edge") << QPointF(620, 340) << QPointF(630, 350) << false
                                          << QRectF(540, 260, 100, 100);
    QTest::newRow("locked to 2:1") << QPointF(100, 100) << QPointF(400, 120) << true << QRectF(100, 100, 300, 150);
    QTest::newRow("locked, stopped by the top") << QPointF(100, 100) << QPointF(700, 120) << true
                                                << QRectF(100, 100, 520, 260);
}

void TestSelectionGeometry::drawing()
{
    QFETCH(QPointF, anchor);
    QFETCH(QPointF, pointer);
    QFETCH(bool, proportional);
    QFETCH(QRectF, expected);
    QCOMPARE(drawnSelection(anchor, pointer, proportional, 2.0, QRectF(0, 0, 640, 360)), expected);
}

QTEST_GUILESS_MAIN(TestSelectionGeometry)
#include "tst_selectiongeometry.moc"
