#include "crop/CropArguments.h"
#include "selection/CropPresets.h"
#include "selection/CropGeometry.h"
#include "selection/ScaleFactor.h"

#include <QTest>

using namespace Qt::StringLiterals;
using namespace CropGeometry;

class TestCropGeometry : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void displayScaleAndHolder_data();
    void displayScaleAndHolder();
    void evenRounding_data();
    void evenRounding();
    void filterText_data();
    void filterText();
    void presets_data();
    void presets();
    void placement_data();
    void placement();
    void scaleLabels_data();
    void scaleLabels();
    void fitted_data();
    void fitted();
    void nonSquarePixels_data();
    void nonSquarePixels();
};

void TestCropGeometry::displayScaleAndHolder_data()
{
    QTest::addColumn<QSize>("video");
    QTest::addColumn<QSizeF>("container");
    QTest::addColumn<double>("scale");
    QTest::addColumn<QRectF>("holder");

    QTest::newRow("1080p in 960x600") << QSize(1920, 1080) << QSizeF(960, 600) << 0.5 << QRectF(0, 30, 960, 540);
    QTest::newRow("fits, never enlarged") << QSize(640, 360) << QSizeF(960, 600) << 1.0
                                          << QRectF(160, 120, 640, 360);
    // Fitting needs room to spare in both directions.
    QTest::newRow("exact width") << QSize(960, 300) << QSizeF(960, 600) << 1.0 << QRectF(0, 150, 960, 300);
    QTest::newRow("extreme aspect") << QSize(4000, 200) << QSizeF(960, 600) << 0.24 << QRectF(0, 276, 960, 48);
}

void TestCropGeometry::displayScaleAndHolder()
{
    QFETCH(QSize, video);
    QFETCH(QSizeF, container);
    QFETCH(double, scale);
    QFETCH(QRectF, holder);
    QCOMPARE(displayScale(video.width(), video.height(), container.width(), container.height()), scale);
    QCOMPARE(holderFrame(video.width(), video.height(), container.width(), container.height()), holder);
}

void TestCropGeometry::evenRounding_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<qint64>("even");

    QTest::newRow("640") << 640.0 << qint64(640);
    QTest::newRow("641 rounds up") << 641.0 << qint64(642);
    QTest::newRow("640.9") << 640.9 << qint64(640);
    QTest::newRow("675") << 675.0 << qint64(676);
    QTest::newRow("negative half away from zero") << -3.0 << qint64(-4);
    QTest::newRow("NaN") << std::numeric_limits<double>::quiet_NaN() << qint64(0);
}

void TestCropGeometry::evenRounding()
{
    QFETCH(double, value);
    QFETCH(qint64, even);
    QCOMPARE(evenRound(value), even);
}

void TestCropGeometry::filterText_data()
{
    QTest::addColumn<QSize>("video");
    QTest::addColumn<double>("scale");
    QTest::addColumn<QRectF>("selection");
    QTest::addColumn<QString>("text");

    QTest::newRow("half scale") << QSize(1920, 1080) << 0.5 << QRectF(100, 50, 640, 360)
                                << u"crop=1280:720:200:260"_s;
    QTest::newRow("top edge gives y 0") << QSize(640, 360) << 1.0 << QRectF(0, 0, 640, 360) << u"crop=640:360:0:0"_s;
    // Nothing may reach past the frame: the encoder refuses such a crop.
    QTest::newRow("odd frame, full selection") << QSize(641, 359) << 1.0 << QRectF(0, 0, 641, 359)
                                               << u"crop=640:358:0:0"_s;
    QTest::newRow("touching the right edge") << QSize(640, 360) << 1.0 << QRectF(541, 0, 99, 100)
                                             << u"crop=100:100:540:260"_s;
    QTest::newRow("past the bottom edge") << QSize(640, 360) << 1.0 << QRectF(0, -1, 100, 101)
                                          << u"crop=100:102:0:258"_s;
    QTest::newRow("video under 100 pixels") << QSize(50, 50) << 1.0 << QRectF(-25, -25, 100, 100)
                                            << u"crop=50:50:0:0"_s;
    QTest::newRow("2 x 2 video") << QSize(2, 2) << 1.0 << QRectF(0, 0, 2, 2) << u"crop=2:2:0:0"_s;
}

void TestCropGeometry::filterText()
{
    QFETCH(QSize, video);
    QFETCH(double, scale);
    QFETCH(QRectF, selection);
    QFETCH(QString, text);

    QCOMPARE(::cropFilterText(cropRect(selection, scale, video.width(), video.height())), text);
    const QSize crop = croppedSize(selection.size(), scale, video.width(), video.height());
    QVERIFY(crop.width() <= video.width() && crop.height() <= video.height());
    QCOMPARE(crop.width() % 2, 0);
    QCOMPARE(crop.height() % 2, 0);
}

void TestCropGeometry::presets_data()
{
    QTest::addColumn<QSize>("video");
    QTest::addColumn<QString>("ratio");
    QTest::addColumn<QStringList>("titles");

    QTest::newRow("1080p 16:9") << QSize(1920, 1080) << u"16:9"_s
                                << QStringList { "1600x900", "1280x720", "1138x640", "854x480", "640x360", "426x240" };
    QTest::newRow("1080p 4:3") << QSize(1920, 1080) << u"4:3"_s
                               << QStringList { "1200x900", "960x720", "854x640", "640x480", "480x360", "320x240" };
    QTest::newRow("1080p 1:1") << QSize(1920, 1080) << u"1:1"_s
                               << QStringList { "900x900", "720x720", "640x640", "480x480", "360x360", "240x240" };
    QTest::newRow("portrait 9:16") << QSize(1080, 1920) << u"9:16"_s
                                   << QStringList { "676x1200", "608x1080", "506x900", "406x720", "360x640",
                                                    "270x480", "202x360", "136x240" };
    QTest::newRow("4K 16:9") << QSize(3840, 2160) << u"16:9"_s
                             << QStringList { "3414x1920", "2134x1200", "1920x1080", "1600x900", "1280x720",
                                              "1138x640", "854x480", "640x360", "426x240" };
    QTest::newRow("640x480 16:9") << QSize(640, 480) << u"16:9"_s << QStringList { "426x240" };
    for (const QString &ratio : CropPresets::wideRatios() + CropPresets::tallRatios())
        QTest::addRow("320x240 %s", qPrintable(ratio)) << QSize(320, 240) << ratio << QStringList();
}

void TestCropGeometry::presets()
{
    QFETCH(QSize, video);
    QFETCH(QString, ratio);
    QFETCH(QStringList, titles);
    QCOMPARE(CropPresets::presetTitles(video.width(), video.height(), ratio), titles);
}

void TestCropGeometry::placement_data()
{
    QTest::addColumn<QString>("preset"); // empty: none
    QTest::addColumn<QSize>("video");
    QTest::addColumn<double>("scale");
    QTest::addColumn<QRectF>("frame");

    QTest::newRow("largest 16:9 at half scale") << u"1600x900"_s << QSize(1920, 1080) << 0.5
                                                << QRectF(80, 45, 800, 450);
    // Under 100 points in one dimension only: that one grows, the ratio is lost.
    QTest::newRow("small preset") << u"426x240"_s << QSize(640, 480) << 0.3 << QRectF(32.1, 22, 127.8, 100);
    QTest::newRow("fallback square") << QString() << QSize(320, 240) << 1.0 << QRectF(110, 70, 100, 100);
    // Centred in the picture at the display scale, not beyond the holder.
    QTest::newRow("fallback square, scaled") << QString() << QSize(4000, 200) << 0.24 << QRectF(430, 0, 100, 48);
    QTest::newRow("fallback square, tiny video") << QString() << QSize(50, 50) << 1.0 << QRectF(0, 0, 50, 50);
}

void TestCropGeometry::placement()
{
    QFETCH(QString, preset);
    QFETCH(QSize, video);
    QFETCH(double, scale);
    QFETCH(QRectF, frame);

    const auto title = preset.isEmpty() ? std::nullopt : std::optional(preset);
    const QRectF placed = CropPresets::placeSelection(title, video.width(), video.height(), scale);
    QCOMPARE(placed, frame);
}

void TestCropGeometry::scaleLabels_data()
{
    QTest::addColumn<QSize>("crop");
    QTest::addColumn<double>("percent");
    QTest::addColumn<QString>("factor");
    QTest::addColumn<QString>("output");

    QTest::newRow("100") << QSize(1280, 720) << 100.0 << u"Scale Factor: 1.0x"_s << u"Output: 1280 x 720"_s;
    QTest::newRow("50") << QSize(1280, 720) << 50.0 << u"Scale Factor: 0.5x"_s << u"Output: 640 x 360"_s;
    QTest::newRow("33") << QSize(1280, 720) << 33.0 << u"Scale Factor: 0.33x"_s << u"Output: 422 x 238"_s;
    QTest::newRow("33.3333") << QSize(1280, 720) << 100.0 / 3 << u"Scale Factor: 0.333x"_s
                             << u"Output: 426 x 240"_s;
    QTest::newRow("640.5 rounds to 640") << QSize(854, 480) << 75.0 << u"Scale Factor: 0.75x"_s
                                         << u"Output: 640 x 360"_s;
    QTest::newRow("160.5 rounds to 160") << QSize(642, 360) << 25.0 << u"Scale Factor: 0.25x"_s
                                         << u"Output: 160 x 90"_s;
    // Scaled to nothing would read as unscaled to the encoder.
    QTest::newRow("tiny crop") << QSize(2, 2) << 10.0 << u"Scale Factor: 0.1x"_s << u"Output: 2 x 2"_s;
}

void TestCropGeometry::scaleLabels()
{
    QFETCH(QSize, crop);
    QFETCH(double, percent);
    QFETCH(QString, factor);
    QFETCH(QString, output);

    QCOMPARE(ScaleFactor::inputLabelText(crop), u"Cropped: %1 x %2"_s.arg(crop.width()).arg(crop.height()));
    QCOMPARE(ScaleFactor::factorLabelText(percent), factor);
    QCOMPARE(ScaleFactor::outputLabelText(ScaleFactor::scaledOutputSize(crop, percent)), output);
}

void TestCropGeometry::fitted_data()
{
    QTest::addColumn<QRect>("wanted");
    QTest::addColumn<double>("ratio"); // 0: free
    QTest::addColumn<bool>("widthGiven");
    QTest::addColumn<QRect>("fitted");

    // A 1920 x 1080 frame, at least 200 x 200.
    QTest::newRow("as wanted") << QRect(170, 90, 1600, 900) << 0.0 << true << QRect(170, 90, 1600, 900);
    QTest::newRow("moved past the right edge") << QRect(400, 90, 1600, 900) << 0.0 << true << QRect(320, 90, 1600, 900);
    QTest::newRow("moved past the top") << QRect(0, -20, 1600, 900) << 0.0 << true << QRect(0, 0, 1600, 900);
    QTest::newRow("odd width") << QRect(0, 0, 1081, 900) << 0.0 << true << QRect(0, 0, 1082, 900);
    QTest::newRow("wider than the frame") << QRect(300, 0, 5000, 900) << 0.0 << true << QRect(0, 0, 1920, 900);
    QTest::newRow("under the minimum") << QRect(10, 10, 50, 900) << 0.0 << true << QRect(10, 10, 200, 900);
    QTest::newRow("locked, width given") << QRect(0, 0, 1280, 900) << 16.0 / 9 << true << QRect(0, 0, 1280, 720);
    QTest::newRow("locked, height given") << QRect(0, 0, 1600, 1200) << 16.0 / 9 << false << QRect(0, 0, 1920, 1080);
    QTest::newRow("locked square, too wide") << QRect(0, 0, 1920, 1000) << 1.0 << true << QRect(0, 0, 1080, 1080);
}

void TestCropGeometry::fitted()
{
    QFETCH(QRect, wanted);
    QFETCH(double, ratio);
    QFETCH(bool, widthGiven);
    QFETCH(QRect, fitted);
    const auto lock = ratio > 0 ? std::optional(ratio) : std::nullopt;
    QCOMPARE(fittedCrop(wanted, QSize(1920, 1080), QSize(200, 200), lock, widthGiven), fitted);
}

void TestCropGeometry::nonSquarePixels_data()
{
    QTest::addColumn<QSize>("stored");
    QTest::addColumn<qint64>("num");
    QTest::addColumn<qint64>("den");
    QTest::addColumn<QSize>("shown");
    QTest::addColumn<QString>("preset"); // the largest 16:9 preset, as shown
    QTest::addColumn<QRect>("storedCrop");
    QTest::addColumn<QSize>("halfScale"); // the output's stored size at 50 %

    QTest::newRow("PAL 16:9") << QSize(720, 576) << 64LL << 45LL << QSize(1024, 576) << u"854x480"_s
                              << QRect(60, 48, 600, 480) << QSize(300, 240);
    QTest::newRow("NTSC 4:3") << QSize(720, 480) << 8LL << 9LL << QSize(640, 480) << u"426x240"_s
                              << QRect(122, 120, 480, 240) << QSize(240, 120);
    QTest::newRow("NTSC 16:9") << QSize(720, 480) << 32LL << 27LL << QSize(853, 480) << u"640x360"_s
                               << QRect(90, 60, 540, 360) << QSize(270, 180);
    QTest::newRow("square pixels") << QSize(1920, 1080) << 1LL << 1LL << QSize(1920, 1080) << u"1600x900"_s
                                   << QRect(160, 90, 1600, 900) << QSize(800, 450);
}

void TestCropGeometry::nonSquarePixels()
{
    QFETCH(QSize, stored);
    QFETCH(qint64, num);
    QFETCH(qint64, den);
    QFETCH(QSize, shown);
    QFETCH(QString, preset);
    QFETCH(QRect, storedCrop);
    QFETCH(QSize, halfScale);

    const SampleAspect aspect { num, den };
    QCOMPARE(displaySize(stored.width(), stored.height(), aspect), shown);
    const QStringList presets = CropPresets::presetTitles(shown.width(), shown.height(), u"16:9"_s);
    QCOMPARE(presets.value(0), preset);
    const QRect shownCrop = cropRect(CropPresets::placeSelection(preset, shown.width(), shown.height(), 1.0), 1.0,
                                     shown.width(), shown.height());
    QCOMPARE(CropGeometry::storedCrop(shownCrop, aspect, stored), storedCrop);
    const QSize half = ScaleFactor::scaledOutputSize(shownCrop.size(), 50);
    QCOMPARE(QSize(storedWidth(half.width(), aspect), half.height()), halfScale);
    // What the viewer sees keeps the preset's shape, at either size, within 1 %.
    for (const QSize output : { storedCrop.size(), halfScale })
        QVERIFY(qAbs(double(output.width()) * num / den / output.height() / (16.0 / 9) - 1) < 0.01);
}

QTEST_GUILESS_MAIN(TestCropGeometry)
#include "tst_cropgeometry.moc"
