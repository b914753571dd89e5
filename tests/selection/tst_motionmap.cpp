#include "selection/MotionMap.h"
#include "support/Fixtures.h"

#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

// The motion map of eleven pictures that ffmpeg draws: a box that moves only
// in the left third of a still scene.
class TestMotionMap : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void strongOnlyWhereThePictureMoves();
    void movingOutsideTheCrop_data();
    void movingOutsideTheCrop();

private:
    QList<QImage> m_samples;
    QImage m_spread;
};

void TestMotionMap::initTestCase()
{
    QTemporaryDir dir;
    // One picture a second; the box goes right for five seconds, then stands still at the third's edge.
    QVERIFY(Fixtures::runFfmpeg(
        { u"-f"_s, u"lavfi"_s, u"-i"_s,
          u"color=c=0x303040:size=960x540:rate=1[bg];color=c=white:size=60x60:rate=1[box];"
          "[bg][box]overlay=x='min(t\\,5)*50':y=240"_s,
          u"-frames:v"_s, u"11"_s, dir.filePath(u"out%d.png"_s) }));
    QList<QImage> pictures;
    for (int n = 1; n <= 11; ++n)
        pictures << QImage(dir.filePath(u"out%1.png"_s.arg(n)));
    m_samples = MotionMap::samples(pictures);
    m_spread = MotionMap::spread(m_samples);
    QCOMPARE(m_spread.size(), QSize(96, 54));
}

void TestMotionMap::strongOnlyWhereThePictureMoves()
{
    int strong = 0;
    for (int y = 0; y < m_spread.height(); ++y) {
        for (int x = 0; x < m_spread.width(); ++x) {
            const int value = m_spread.constScanLine(y)[x];
            QVERIFY2(value <= 40 || x < m_spread.width() / 3, qPrintable(u"%1 at %2, %3"_s.arg(value).arg(x).arg(y)));
            strong += value > 40;
            // Where nothing changes, the heat map leaves the picture as it is.
            if (value == 0)
                QCOMPARE(qAlpha(MotionMap::heat(m_spread).pixel(x, y)), 0);
        }
    }
    QVERIFY(strong > 20);
}

void TestMotionMap::movingOutsideTheCrop_data()
{
    QTest::addColumn<QRectF>("crop"); // a part of the picture
    QTest::addColumn<bool>("said");

    QTest::newRow("the whole picture") << QRectF(0, 0, 1, 1) << false;
    QTest::newRow("the right half") << QRectF(0.5, 0, 0.5, 1) << true;
    QTest::newRow("the box's row left out") << QRectF(0, 0, 1, 0.4) << true;
}

void TestMotionMap::movingOutsideTheCrop()
{
    QFETCH(QRectF, crop);
    QFETCH(bool, said);
    // The box moves in the first five seconds: the change is said at one of them.
    const auto moving = MotionMap::movingOutside(m_samples, m_spread, crop);
    QCOMPARE(moving.has_value(), said);
    if (moving)
        QVERIFY2(*moving >= 1 && *moving <= 5, qPrintable(QString::number(*moving)));
}

QTEST_GUILESS_MAIN(TestMotionMap)
#include "tst_motionmap.moc"
