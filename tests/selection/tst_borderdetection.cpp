#include "selection/BorderDetection.h"
#include "support/Fixtures.h"

#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

// Borders found across eleven posters that ffmpeg draws, as the application
// shows them: 800 x 450 pictures of a 1920 x 1080 video, one a second.
class TestBorderDetection : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void borders_data();
    void borders();
};

void TestBorderDetection::borders_data()
{
    QTest::addColumn<QString>("graph"); // the posters' pictures, drawn at 1920 x 1080, one a second
    QTest::addColumn<QRect>("crop");    // empty: no border

    const QString film = u"testsrc2=size=1920x804:rate=1,pad=1920:1080:0:138"_s;
    QTest::newRow("2.39:1 letterboxed") << film << QRect(0, 138, 1920, 804);
    // A line of subtitles in the bar is kept; a logo narrower than a fiftieth of the width is not.
    QTest::newRow("subtitles in the bottom bar") << film + u",drawbox=x=660:y=990:w=600:h=40:c=white:t=fill"_s
                                                 << QRect(0, 138, 1920, 892);
    QTest::newRow("a logo in the top bar") << film + u",drawbox=x=1850:y=40:w=24:h=24:c=white:t=fill"_s
                                           << QRect(0, 138, 1920, 804);
    QTest::newRow("9:16 pillarboxed") << u"testsrc2=size=608x1080:rate=1,pad=1920:1080:656:0"_s
                                      << QRect(656, 0, 608, 1080);
    QTest::newRow("both bars") << u"testsrc2=size=1440x804:rate=1,pad=1920:1080:240:138"_s
                               << QRect(240, 138, 1440, 804);
    // The first posters are black and the next ones dark: they must not narrow the crop.
    QTest::newRow("opens on black, fades in")
        << u"testsrc2=size=1920x804:rate=1,fade=in:st=3:d=4,pad=1920:1080:0:138"_s << QRect(0, 138, 1920, 804);
    // No poster shows the whole picture: the left half lit first, then the right half.
    QTest::newRow("content that moves")
        << u"color=black:size=1920x1080:rate=1[bg];testsrc2=size=960x804:rate=1[fg];"
           "[bg][fg]overlay=x='if(lt(t,6),0,960)':y=138"_s
        << QRect(0, 138, 1920, 804);
    QTest::newRow("a dark scene, not a border") << u"color=c=0x141414:size=1920x1080:rate=1,noise=alls=40:allf=t"_s
                                                << QRect();
    QTest::newRow("no border") << u"testsrc2=size=1920x1080:rate=1"_s << QRect();
}

void TestBorderDetection::borders()
{
    QFETCH(QString, graph);
    QFETCH(QRect, crop);

    QTemporaryDir dir;
    QVERIFY(Fixtures::runFfmpeg({ u"-f"_s, u"lavfi"_s, u"-i"_s, graph, u"-vf"_s, u"scale=800:450:flags=bilinear"_s,
                                  u"-frames:v"_s, u"11"_s, u"-q:v"_s, u"3"_s, dir.filePath(u"out%d.jpg"_s) }));
    QStringList posters;
    for (int n = 1; n <= 11; ++n)
        posters << dir.filePath(u"out%1.jpg"_s.arg(n));
    const auto found = BorderDetection::cropFor(posters, QSize(1920, 1080), QSize(200, 200));
    QCOMPARE(found.has_value(), !crop.isEmpty());
    if (!found)
        return;
    // Each edge within two pixels.
    const QMargins off(found->left() - crop.left(), found->top() - crop.top(), found->right() - crop.right(),
                       found->bottom() - crop.bottom());
    QVERIFY2(qAbs(off.left()) <= 2 && qAbs(off.top()) <= 2 && qAbs(off.right()) <= 2 && qAbs(off.bottom()) <= 2,
             qPrintable(u"found %1, %2, %3 x %4"_s.arg(found->x()).arg(found->y()).arg(found->width()).arg(found->height())));
}

QTEST_GUILESS_MAIN(TestBorderDetection)
#include "tst_borderdetection.moc"
