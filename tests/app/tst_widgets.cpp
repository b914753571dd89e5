#include "SelectionHolder.h"
#include "SelectionRectangle.h"
#include "ImageDropView.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

// The widgets under real Qt events: the selection's holder (640 x 360)
// showing a 1280 x 720 picture at half size, and how they paint.
class TestWidgets : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void dragsInVideoPixels_data();
    void dragsInVideoPixels();
    void drawingANewSelection();
    void loupeWhileAnEdgeMoves();

private:
    SelectionHolder *m_holder = nullptr;
    SelectionRectangle *m_rect = nullptr;
};

void TestWidgets::init()
{
    m_holder = new SelectionHolder;
    m_holder->resize(640, 360);
    m_rect = new SelectionRectangle(m_holder);
    m_holder->setPicture(QSizeF(1280, 720));
    m_holder->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_holder));
    m_holder->setSelection(QRectF(20, 20, 400, 200));
}

void TestWidgets::cleanup()
{
    delete m_holder;
    QVERIFY(!QGuiApplication::overrideCursor());
}

void TestWidgets::dragsInVideoPixels_data()
{
    QTest::addColumn<QSize>("holder");
    QTest::addColumn<QPoint>("press"); // on the screen, with the selection at (10, 10, 200, 100)
    QTest::addColumn<QList<QPoint>>("moves");
    QTest::addColumn<QList<QRectF>>("seen"); // in video pixels, after each move

    // Pressed at 15 % of its height, the left edge moves and the right one stays,
    // each step measured from the press.
    QTest::newRow("left edge, off its middle") << QSize(640, 360) << QPoint(11, 25)
                                               << QList<QPoint> { { 51, 25 }, { 71, 30 } }
                                               << QList<QRectF> { { 100, 20, 320, 200 }, { 140, 20, 280, 200 } };
    QTest::newRow("top edge, two events") << QSize(640, 360) << QPoint(150, 12)
                                          << QList<QPoint> { { 150, 22 }, { 150, 32 } }
                                          << QList<QRectF> { { 20, 40, 400, 180 }, { 20, 60, 400, 160 } };
    // The minimum is 16 video pixels at any window size.
    QTest::newRow("to the minimum, small window") << QSize(320, 180) << QPoint(5, 30) << QList<QPoint> { { 300, 30 } }
                                                  << QList<QRectF> { { 404, 20, 16, 200 } };
}

void TestWidgets::dragsInVideoPixels()
{
    QFETCH(QSize, holder);
    QFETCH(QPoint, press);
    QFETCH(QList<QPoint>, moves);
    QFETCH(QList<QRectF>, seen);

    m_holder->resize(holder);
    const double scale = holder.width() / 1280.0;
    const auto onScreen = [scale](QPoint p) { return (QPointF(p) * (scale / 0.5)).toPoint(); };
    QList<QRectF> announced;
    connect(m_holder, &SelectionHolder::activityInSelectionRectangle, this,
            [&] { announced << m_holder->selection(); });
    QTest::mousePress(m_holder, Qt::LeftButton, {}, onScreen(press));
    QCOMPARE(announced.size(), 0);
    for (const QPoint to : moves)
        QTest::mouseMove(m_holder, onScreen(to));
    QTest::mouseRelease(m_holder, Qt::LeftButton, {}, onScreen(moves.last()));
    QCOMPARE(announced, seen);
}

void TestWidgets::drawingANewSelection()
{
    QSignalSpy drawn(m_holder, &SelectionHolder::selectionDrawn);
    // A click on the picture outside the selection changes nothing.
    QTest::mouseClick(m_holder, Qt::LeftButton, {}, QPoint(400, 100));
    QCOMPARE(m_holder->selection(), QRectF(20, 20, 400, 200));
    // Dragged, it draws a new selection from where the press began.
    QTest::mousePress(m_holder, Qt::LeftButton, {}, QPoint(300, 60));
    QTest::mouseMove(m_holder, QPoint(400, 100));
    QTest::mouseMove(m_holder, QPoint(500, 200));
    QTest::mouseRelease(m_holder, Qt::LeftButton, {}, QPoint(500, 200));
    QCOMPARE(m_holder->selection(), QRectF(600, 120, 400, 280));
    QCOMPARE(m_rect->geometry(), QRect(300, 60, 200, 140));
    QCOMPARE(drawn.count(), 2);
}

void TestWidgets::loupeWhileAnEdgeMoves()
{
    // A poster of stripes, so the loupe has something to show.
    QTemporaryDir dir;
    QImage poster(1280, 720, QImage::Format_RGB32);
    for (int x = 0; x < poster.width(); ++x)
        for (int y = 0; y < poster.height(); ++y)
            poster.setPixel(x, y, (x / 8) % 2 ? qRgb(250, 250, 250) : qRgb(10, 60, 200));
    QVERIFY(poster.save(dir.filePath(u"out6.png"_s)));
    m_holder->setPosterPath(dir.filePath(u"out6.png"_s));
    const QImage before = m_holder->grab().toImage();
    // The bottom-right corner dragged: the loupe shows beside the pointer, and goes on release.
    QTest::mousePress(m_holder, Qt::LeftButton, {}, QPoint(210, 110));
    QTest::mouseMove(m_holder, QPoint(250, 150));
    const QImage dragging = m_holder->grab().toImage();
    QTest::mouseRelease(m_holder, Qt::LeftButton, {}, QPoint(250, 150));
    const QImage after = m_holder->grab().toImage();
    const QPoint loupe(250 + 24 + 64, 150 + 24 + 64);
    QVERIFY(dragging.pixelColor(loupe) != after.pixelColor(loupe));
    QCOMPARE(after.pixelColor(loupe), before.pixelColor(loupe));
}

QTEST_MAIN(TestWidgets)
#include "tst_widgets.moc"
