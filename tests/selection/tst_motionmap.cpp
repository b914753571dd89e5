#include "crop/FollowJob.h"
#include "selection/MotionMap.h"
#include "support/Fixtures.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

// The motion map of eleven pictures that ffmpeg draws: a box that moves only
// in the left third of a still scene; and the crop path that follows what
// moves in videos of boxes.
class TestMotionMap : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void strongOnlyWhereThePictureMoves();
    void movingOutsideTheCrop_data();
    void movingOutsideTheCrop();
    void followTheMotion_data();
    void followTheMotion();

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


void TestMotionMap::followTheMotion_data()
{
    QTest::addColumn<QString>("scenes"); // 640 x 360, 25 pictures a second, a 60 px box as the input's second
    QTest::addColumn<QString>("box");    // the box's left edge at t
    QTest::addColumn<int>("places");     // how many places the crop stands still at; 0: it moves
    QTest::newRow("a box crossing the picture")
        << u"color=gray:s=640x360:r=25:d=8"_s << u"580*t/8"_s << 0;
    // Within each scene the box stays inside one place, so the crop stands still, and jumps at the cut.
    QTest::newRow("two still scenes and a cut")
        << u"color=gray:s=640x360:r=25:d=3[a];color=0x404040:s=640x360:r=25:d=3[b];[a][b]concat"_s
        << u"if(lt(t,3),40+20*sin(4*t),500+20*sin(4*t))"_s << 2;
}

void TestMotionMap::followTheMotion()
{
    QFETCH(QString, scenes);
    QFETCH(QString, box);
    QFETCH(int, places);
    QTemporaryDir dir;
    const QString input = dir.filePath(u"box.mp4"_s);
    QVERIFY(Fixtures::runFfmpeg({ u"-f"_s, u"lavfi"_s, u"-i"_s,
                                  scenes + u"[bg];color=white:s=60x60:r=25[box];[bg][box]overlay=x='%1':y=150:shortest=1"_s
                                               .arg(box),
                                  u"-c:v"_s, u"libx264"_s, u"-preset"_s, u"ultrafast"_s, input }));
    PosterPlan::Video video;
    video.path = input;
    video.duration = 6;
    video.shown = QSize(640, 360);
    FollowJob job(Fixtures::ffmpeg());
    QSignalSpy finished(&job, &FollowJob::finished);
    job.start(video, QSize(150, 360));
    QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 20'000);
    const auto keys = finished.first().first().value<QList<CropKeyframe>>();

    // Every picture's box lies inside the crop, but around the cut, where the crop jumps with it.
    QSet<int> stood;
    for (double t = 0.3; t < 6; t += 0.2) {
        const QRect crop = CropKeyframes::cropAt(keys, t);
        const double left = places == 0 ? 580 * t / 8 : (t < 3 ? 40 : 500) + 20 * std::sin(4 * t);
        if (std::abs(t - 3) > 0.3)
            QVERIFY2(crop.left() <= left && left + 60 <= crop.right() + 1,
                     qPrintable(u"at %1 s the box is at %2, the crop at %3"_s.arg(t).arg(left).arg(crop.left())));
        stood << crop.left();
    }
    if (places > 0)
        QCOMPARE(stood.size(), places);
}

QTEST_GUILESS_MAIN(TestMotionMap)
#include "tst_motionmap.moc"
