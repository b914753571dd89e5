#include "crop/CropArguments.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestCropArguments : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void argumentLists_data();
    void argumentLists();
    void fittedTrims_data();
    void fittedTrims();
};

void TestCropArguments::argumentLists_data()
{
    QTest::addColumn<bool>("downmix");
    QTest::addColumn<int>("scale");
    QTest::addColumn<std::optional<Trim>>("trim");
    QTest::addColumn<QStringList>("expected");

    const QStringList head { "-i", "/in \"put\" ₤.mov", "-sn", "-dn", "-map_chapters", "-1", "-map_metadata", "-1",
                             "-pix_fmt", "yuv420p" };
    const QStringList unscaled = head + QStringList { "-vf", "crop=640:360:0:60", "-y", "/tmp/o.mp4" };
    const std::optional<Trim> whole;
    QTest::newRow("unscaled") << false << 100 << whole << unscaled;
    // The down-mix stands between the pixel format and the filter.
    QTest::newRow("down-mixed at half scale")
        << true << 50 << whole
        << head + QStringList { "-ac", "2", "-vf", "crop=640:360:0:60,scale=320:180,setsar=1:1", "-y", "/tmp/o.mp4" };
    // Seeking before the input decodes from the keyframe before and drops what comes before the start.
    QTest::newRow("trimmed") << false << 100 << std::optional(Trim { 15, 45.04 })
                             << QStringList { "-ss", "15.0" } + unscaled.mid(0, 2) + QStringList { "-t", "30.04" }
            + unscaled.mid(2);
}

void TestCropArguments::argumentLists()
{
    QFETCH(bool, downmix);
    QFETCH(int, scale);
    QFETCH(std::optional<Trim>, trim);
    QFETCH(QStringList, expected);

    CropRequest request;
    request.input = u"/in \"put\" ₤.mov"_s;
    request.destination = u"/out put.mp4"_s;
    request.crop = QRect(0, 60, 640, 360);
    request.scalePercent = scale;
    request.scaledSize = QSize(320, 180);
    request.downmixToStereo = downmix;
    request.trim = trim;
    // The command writes where it is told, not to the destination.
    QCOMPARE(buildCropArguments(request, u"/tmp/o.mp4"_s), expected);
}

void TestCropArguments::fittedTrims_data()
{
    QTest::addColumn<Trim>("wanted");
    QTest::addColumn<bool>("startEdited");
    QTest::addColumn<Trim>("fitted"); // in a 60 s video, at least 0.04 s long

    QTest::newRow("inside: kept") << Trim { 15, 45 } << true << Trim { 15, 45 };
    QTest::newRow("start after the end") << Trim { 50, 45 } << true << Trim { 44.96, 45 };
    QTest::newRow("end before the start") << Trim { 15, 10 } << false << Trim { 15, 15.04 };
    QTest::newRow("end past the video") << Trim { 15, 90 } << false << Trim { 15, 60 };
    QTest::newRow("start at the end of the video") << Trim { 60, 60 } << true << Trim { 59.96, 60 };
    QTest::newRow("negative start") << Trim { -3, 45 } << true << Trim { 0, 45 };
}

void TestCropArguments::fittedTrims()
{
    QFETCH(Trim, wanted);
    QFETCH(bool, startEdited);
    QFETCH(Trim, fitted);
    const Trim got = fittedTrim(wanted, 60, 0.04, startEdited);
    QVERIFY2(qAbs(got.start - fitted.start) < 1e-9 && qAbs(got.end - fitted.end) < 1e-9,
             qPrintable(u"%1 to %2"_s.arg(got.start).arg(got.end)));
}

QTEST_GUILESS_MAIN(TestCropArguments)
#include "tst_croparguments.moc"
