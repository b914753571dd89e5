#include "crop/CropArguments.h"
#include "selection/CropGeometry.h"
#include "selection/CropPresets.h"
#include "selection/ScaleFactor.h"
#include "selection/SelectionGeometry.h"

#include <QTest>

using namespace Qt::StringLiterals;
using namespace CropGeometry;
using namespace SelectionGeometry;

Q_DECLARE_METATYPE(BorderPosition)

// The selection's arithmetic: hit test, drag steps, drawing, and the crop it
// gives in video pixels, with the presets and the scale factor.
class TestGeometry : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void hitTest_data();
    void hitTest();
    void dragSteps_data();
    void dragSteps();
    void drawing_data();
    void drawing();
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
};

void TestGeometry::hitTest_data()
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
    QTest::newRow("bottom") << QPointF(50, 2) << square << BorderPosition::bottom;
    QTest::newRow("right") << QPointF(97, 50) << square << BorderPosition::right;
    QTest::newRow("centre") << QPointF(50, 50) << square << BorderPosition::middle;
    QTest::newRow("outside") << QPointF(-3, 50) << square << BorderPosition::middle;
    // On a small rectangle the zones overlap and the corner wins.
    QTest::newRow("tiny: corner over edge") << QPointF(2, 2) << QSizeF(30, 30) << BorderPosition::bottomLeft;
    QTest::newRow("empty rectangle") << QPointF(0, 0) << QSizeF(0, 0) << BorderPosition::bottomLeft;
}

void TestGeometry::hitTest()
{
    QFETCH(QPointF, point);
    QFETCH(QSizeF, size);
    QFETCH(BorderPosition, expected);
    QCOMPARE(borderPositionAt(point, size), expected);
}

void TestGeometry::dragSteps_data()
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

void TestGeometry::dragSteps()
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

void TestGeometry::drawing_data()
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

void TestGeometry::drawing()
{
    QFETCH(QPointF, anchor);
    QFETCH(QPointF, pointer);
    QFETCH(bool, proportional);
    QFETCH(QRectF, expected);
    QCOMPARE(drawnSelection(anchor, pointer, proportional, 2.0, QRectF(0, 0, 640, 360)), expected);
}

void TestGeometry::filterText_data()
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

void TestGeometry::filterText()
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

void TestGeometry::presets_data()
{
    QTest::addColumn<QSize>("video");
    QTest::addColumn<QString>("ratio");
    QTest::addColumn<QStringList>("titles");

    QTest::newRow("1080p 16:9") << QSize(1920, 1080) << u"16:9"_s
                                << QStringList { "1600x900", "1280x720", "1138x640", "854x480", "640x360", "426x240" };
    QTest::newRow("1080p 4:3") << QSize(1920, 1080) << u"4:3"_s
                               << QStringList { "1200x900", "960x720", "854x640", "640x480", "480x360", "320x240" };
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

void TestGeometry::presets()
{
    QFETCH(QSize, video);
    QFETCH(QString, ratio);
    QFETCH(QStringList, titles);
    QCOMPARE(CropPresets::presetTitles(video.width(), video.height(), ratio), titles);
}

void TestGeometry::placement_data()
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

void TestGeometry::placement()
{
    QFETCH(QString, preset);
    QFETCH(QSize, video);
    QFETCH(double, scale);
    QFETCH(QRectF, frame);

    const auto title = preset.isEmpty() ? std::nullopt : std::optional(preset);
    const QRectF placed = CropPresets::placeSelection(title, video.width(), video.height(), scale);
    QCOMPARE(placed, frame);
}

void TestGeometry::scaleLabels_data()
{
    QTest::addColumn<QSize>("crop");
    QTest::addColumn<double>("percent");
    QTest::addColumn<QString>("factor");
    QTest::addColumn<QString>("output");

    QTest::newRow("33.3333") << QSize(1280, 720) << 100.0 / 3 << u"Scale Factor: 0.333x"_s
                             << u"Output: 426 x 240"_s;
    QTest::newRow("640.5 rounds to 640") << QSize(854, 480) << 75.0 << u"Scale Factor: 0.75x"_s
                                         << u"Output: 640 x 360"_s;
    QTest::newRow("160.5 rounds to 160") << QSize(642, 360) << 25.0 << u"Scale Factor: 0.25x"_s
                                         << u"Output: 160 x 90"_s;
    // Scaled to nothing would read as unscaled to the encoder.
    QTest::newRow("tiny crop") << QSize(2, 2) << 10.0 << u"Scale Factor: 0.1x"_s << u"Output: 2 x 2"_s;
}

void TestGeometry::scaleLabels()
{
    QFETCH(QSize, crop);
    QFETCH(double, percent);
    QFETCH(QString, factor);
    QFETCH(QString, output);

    QCOMPARE(ScaleFactor::inputLabelText(crop), u"Cropped: %1 x %2"_s.arg(crop.width()).arg(crop.height()));
    QCOMPARE(ScaleFactor::factorLabelText(percent), factor);
    QCOMPARE(ScaleFactor::outputLabelText(ScaleFactor::scaledOutputSize(crop, percent)), output);
}

void TestGeometry::fitted_data()
{
    QTest::addColumn<QRect>("wanted");
    QTest::addColumn<double>("ratio"); // 0: free
    QTest::addColumn<bool>("widthGiven");
    QTest::addColumn<QRect>("fitted");

    // A 1920 x 1080 frame, at least 200 x 200.
    QTest::newRow("as wanted") << QRect(170, 90, 1600, 900) << 0.0 << true << QRect(170, 90, 1600, 900);
    QTest::newRow("moved past the right edge") << QRect(400, 90, 1600, 900) << 0.0 << true << QRect(320, 90, 1600, 900);
    QTest::newRow("odd width") << QRect(0, 0, 1081, 900) << 0.0 << true << QRect(0, 0, 1082, 900);
    QTest::newRow("wider than the frame") << QRect(300, 0, 5000, 900) << 0.0 << true << QRect(0, 0, 1920, 900);
    QTest::newRow("under the minimum") << QRect(10, 10, 50, 900) << 0.0 << true << QRect(10, 10, 200, 900);
    QTest::newRow("locked, width given") << QRect(0, 0, 1280, 900) << 16.0 / 9 << true << QRect(0, 0, 1280, 720);
    QTest::newRow("locked, height given") << QRect(0, 0, 1600, 1200) << 16.0 / 9 << false << QRect(0, 0, 1920, 1080);
}

void TestGeometry::fitted()
{
    QFETCH(QRect, wanted);
    QFETCH(double, ratio);
    QFETCH(bool, widthGiven);
    QFETCH(QRect, fitted);
    const auto lock = ratio > 0 ? std::optional(ratio) : std::nullopt;
    QCOMPARE(fittedCrop(wanted, QSize(1920, 1080), QSize(200, 200), lock, widthGiven), fitted);
}

QTEST_GUILESS_MAIN(TestGeometry)
#include "tst_geometry.moc"
