#include "crop/CropArguments.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestCropArguments : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void argumentLists_data();
    void argumentLists();
};

void TestCropArguments::argumentLists_data()
{
    QTest::addColumn<bool>("downmix");
    QTest::addColumn<int>("scale");
    QTest::addColumn<QStringList>("expected");

    const QStringList head { "-i", "/in \"put\" ₤.mov", "-sn", "-dn", "-map_chapters", "-1", "-map_metadata", "-1",
                             "-pix_fmt", "yuv420p" };
    QTest::newRow("unscaled") << false << 100 << head + QStringList { "-vf", "crop=640:360:0:60", "-y", "/tmp/o.mp4" };
    // The down-mix stands between the pixel format and the filter.
    QTest::newRow("down-mixed at half scale")
        << true << 50
        << head + QStringList { "-ac", "2", "-vf", "crop=640:360:0:60,scale=320:180,setsar=1:1", "-y", "/tmp/o.mp4" };
}

void TestCropArguments::argumentLists()
{
    QFETCH(bool, downmix);
    QFETCH(int, scale);
    QFETCH(QStringList, expected);

    CropRequest request;
    request.input = u"/in \"put\" ₤.mov"_s;
    request.destination = u"/out put.mp4"_s;
    request.crop = QRect(0, 60, 640, 360);
    request.scalePercent = scale;
    request.scaledSize = QSize(320, 180);
    request.downmixToStereo = downmix;
    // The command writes where it is told, not to the destination.
    QCOMPARE(buildCropArguments(request, u"/tmp/o.mp4"_s), expected);
}

QTEST_GUILESS_MAIN(TestCropArguments)
#include "tst_croparguments.moc"
