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
    QTest::addColumn<QList<QPointF>>("moves"); // pointer positions relative to the press
    QTest::addColumn<QRectF>("expected");

    const QRectF holder(0, 0, 640, 360);
    const QRectF wide(10, 10, 200, 100);
    using Moves = QList<QPointF>;

    QTest::newRow("right, reference follows") << holder << wide << QPointF(197, 50) << false
                                              << Moves { { 20, 0 } } << QRectF(10, 10, 220, 100);
    QTest::newRow("right, second event") << holder << wide << QPointF(197, 50) << false
                                         << Moves { { 20, 0 }, { 40, 0 } } << QRectF(10, 10, 240, 100);
    QTest::newRow("left") << holder << wide << QPointF(2, 50) << false << Moves { { 20, 0 } }
                          << QRectF(30, 10, 180, 100);
    // The reference stays, measured anew in the moved frame.
    QTest::newRow("left, second event") << holder << wide << QPointF(2, 50) << false
                                        << Moves { { 20, 0 }, { 40, 0 } } << QRectF(50, 10, 160, 100);
    QTest::newRow("locked top") << holder << wide << QPointF(100, 97) << true << Moves { { 0, 10 } }
                                << QRectF(0, 10, 220, 110);
    // The reference moves with the pointer, so the second event counts only its own motion.
    QTest::newRow("top, second event") << holder << wide << QPointF(100, 97) << false
                                       << Moves { { 0, 10 }, { 0, 20 } } << QRectF(10, 10, 200, 120);
    QTest::newRow("locked left stays centred") << holder << QRectF(100, 100, 300, 150) << QPointF(2, 75) << true
                                               << Moves { { 20, 0 } } << QRectF(120, 105, 280, 140);
    // Locked: the horizontal motion drives bottom-right; the vertical is ignored.
    QTest::newRow("locked bottom-right") << holder << wide << QPointF(197, 2) << true << Moves { { 20, -40 } }
                                         << QRectF(10, 0, 220, 110);
    QTest::newRow("locked bottom-left keeps top-right") << holder << QRectF(100, 100, 200, 100) << QPointF(2, 2)
                                                        << true << Moves { { 0, -10 } } << QRectF(80, 90, 220, 110);
    QTest::newRow("locked right stays centred") << holder << QRectF(100, 100, 200, 100) << QPointF(197, 50) << true
                                                << Moves { { 20, 0 } } << QRectF(100, 95, 220, 110);
    QTest::newRow("top-left unlocked follows the pointer") << holder << wide << QPointF(2, 97) << false
                                                           << Moves { { 10, 10 }, { 20, 20 } }
                                                           << QRectF(30, 10, 180, 120);
    QTest::newRow("bottom-right unlocked follows the pointer") << holder << QRectF(100, 100, 200, 100)
                                                               << QPointF(197, 2) << false
                                                               << Moves { { 10, -10 }, { 20, -20 } }
                                                               << QRectF(100, 80, 220, 120);
    QTest::newRow("under the minimum width") << holder << QRectF(10, 10, 120, 100) << QPointF(2, 50) << false
                                             << Moves { { 30, 0 } } << QRectF(10, 10, 120, 100);
    QTest::newRow("move stops at the left edge") << holder << QRectF(20, 20, 200, 100) << QPointF(100, 50) << false
                                                 << Moves { { -50, 0 } } << QRectF(0, 20, 200, 100);
    // The proposed width is dropped: the right edge moves in.
    QTest::newRow("left edge handle at the holder's edge") << holder << QRectF(20, 20, 200, 100) << QPointF(2, 50)
                                                           << false << Moves { { -50, 0 } }
                                                           << QRectF(0, 20, 200, 100);
    QTest::newRow("move stops at the right edge") << holder << QRectF(420, 20, 200, 100) << QPointF(100, 50)
                                                  << false << Moves { { 50, 0 } } << QRectF(440, 20, 200, 100);
    QTest::newRow("resize out of the holder") << holder << QRectF(420, 20, 200, 100) << QPointF(197, 50) << false
                                              << Moves { { 50, 0 } } << QRectF(420, 20, 200, 100);
    QTest::newRow("move stops at the top") << holder << QRectF(20, 200, 200, 100) << QPointF(100, 50) << false
                                           << Moves { { 0, 100 } } << QRectF(20, 260, 200, 100);
    // A holder lower than the minimum: the selection can still move.
    QTest::newRow("holder under 100 points") << QRectF(0, 0, 960, 48) << QRectF(430, 0, 100, 48)
                                             << QPointF(50, 24) << false << Moves { { 100, 0 } }
                                             << QRectF(530, 0, 100, 48);
    QTest::newRow("holder under 100 points, resize") << QRectF(0, 0, 960, 48) << QRectF(430, 0, 100, 48)
                                                     << QPointF(97, 24) << false << Moves { { 30, 0 } }
                                                     << QRectF(430, 0, 130, 48);
}

void TestSelectionGeometry::dragSteps()
{
    QFETCH(QRectF, holder);
    QFETCH(QRectF, frame);
    QFETCH(QPointF, press);
    QFETCH(bool, proportional);
    QFETCH(QList<QPointF>, moves);
    QFETCH(QRectF, expected);

    // As the view does it: pointer positions in the holder, converted to the
    // own coordinates of the frame as it is at each event.
    const QPointF pressInHolder = frame.topLeft() + press;
    const BorderPosition handle = borderPositionAt(press, frame.size());
    const double ratio = frame.width() / frame.height();
    DragState state { frame, press };
    for (const QPointF &move : moves) {
        const QPointF own = pressInHolder + move - state.frame.topLeft();
        state = dragStep(state, own, handle, proportional, ratio, holder);
    }
    QCOMPARE(state.frame, expected);
}

QTEST_GUILESS_MAIN(TestSelectionGeometry)
#include "tst_selectiongeometry.moc"
