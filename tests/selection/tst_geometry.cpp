#include "crop/CropArguments.h"
#include "selection/CropGeometry.h"
#include "selection/CropKeyframes.h"
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
    void edgesReachTheFrame();
    void keySteps_data();
    void keySteps();
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
    void glide_data();
    void glide();
    void placedKeyframes();
};

void TestGeometry::hitTest_data()
{
    QTest::addColumn<QPointF>("point");
    QTest::addColumn<QRectF>("shown");
    QTest::addColumn<BorderPosition>("expected");

    // Zones 16 wide, centred on the lines, along each whole edge.
    const QRectF shown(100, 100, 200, 100);
    QTest::newRow("left edge, 7 outside") << QPointF(93, 150) << shown << BorderPosition::left;
    QTest::newRow("left edge, 7 inside") << QPointF(107, 150) << shown << BorderPosition::left;
    QTest::newRow("9 inside the left edge") << QPointF(109, 150) << shown << BorderPosition::middle;
    QTest::newRow("9 outside the left edge") << QPointF(91, 150) << shown << BorderPosition::none;
    QTest::newRow("top-left corner") << QPointF(104, 104) << shown << BorderPosition::topLeft;
    QTest::newRow("6 inside the bottom-right corner") << QPointF(294, 194) << shown << BorderPosition::bottomRight;
    // A small selection keeps a middle third to move it by.
    QTest::newRow("small: middle") << QPointF(112, 112) << QRectF(100, 100, 24, 24) << BorderPosition::middle;
    QTest::newRow("small: left") << QPointF(106, 112) << QRectF(100, 100, 24, 24) << BorderPosition::left;
    QTest::newRow("empty rectangle") << QPointF(-2, -2) << QRectF() << BorderPosition::topLeft;
}

void TestGeometry::hitTest()
{
    QFETCH(QPointF, point);
    QFETCH(QRectF, shown);
    QFETCH(BorderPosition, expected);
    QCOMPARE(borderPositionAt(point, shown), expected);
}

void TestGeometry::dragSteps_data()
{
    QTest::addColumn<QSizeF>("picture");
    QTest::addColumn<QRectF>("frame");
    QTest::addColumn<BorderPosition>("handle");
    QTest::addColumn<bool>("proportional");
    QTest::addColumn<QPointF>("move"); // of the pointer since the press
    QTest::addColumn<QRectF>("expected");

    using B = BorderPosition;
    const QSizeF hd(1920, 1080);
    const QRectF wide(100, 100, 400, 200);

    QTest::newRow("left") << hd << wide << B::left << false << QPointF(40, 0) << QRectF(140, 100, 360, 200);
    QTest::newRow("top-left follows the pointer") << hd << wide << B::topLeft << false << QPointF(40, -40)
                                                  << QRectF(140, 60, 360, 240);
    QTest::newRow("locked top stays centred") << hd << wide << B::top << true << QPointF(0, -20)
                                              << QRectF(80, 80, 440, 220);
    // Locked: the horizontal motion drives bottom-right; the vertical is ignored.
    QTest::newRow("locked bottom-right") << hd << wide << B::bottomRight << true << QPointF(40, -80)
                                         << QRectF(100, 100, 440, 220);
    QTest::newRow("move stops at the left edge") << hd << QRectF(20, 20, 400, 200) << B::middle << false
                                                 << QPointF(-50, 0) << QRectF(0, 20, 400, 200);
    // The minimum is 16 video pixels, whatever the window.
    QTest::newRow("left stops at the minimum width") << hd << wide << B::left << false << QPointF(1000, 0)
                                                    << QRectF(484, 100, 16, 200);
    QTest::newRow("locked stops at the minimum height") << hd << wide << B::left << true << QPointF(1000, 0)
                                                       << QRectF(468, 192, 32, 16);
    // Along an edge, one side stopping does not hold back the other.
    QTest::newRow("one side at the edge, the other goes on") << hd << QRectF(100, 0, 200, 100) << B::topRight
                                                             << false << QPointF(80, -30) << QRectF(100, 0, 280, 100);
    QTest::newRow("locked corner stops where the ratio fits") << hd << wide << B::bottomRight << true
                                                              << QPointF(5000, 0) << QRectF(100, 100, 1820, 910);
    QTest::newRow("locked edge stops where the centre line allows") << hd << QRectF(20, 100, 400, 200) << B::top
                                                                    << true << QPointF(0, -1000)
                                                                    << QRectF(0, 80, 440, 220);
    // A picture lower than the minimum: the selection can still move and resize.
    QTest::newRow("picture under 16 pixels") << QSizeF(960, 12) << QRectF(430, 0, 100, 12) << B::middle << false
                                             << QPointF(100, 0) << QRectF(530, 0, 100, 12);
}

void TestGeometry::dragSteps()
{
    QFETCH(QSizeF, picture);
    QFETCH(QRectF, frame);
    QFETCH(BorderPosition, handle);
    QFETCH(bool, proportional);
    QFETCH(QPointF, move);
    QFETCH(QRectF, expected);

    const Press pressed { frame, QPointF(300, 300), handle, frame.width() / frame.height() };
    QCOMPARE(dragStep(pressed, pressed.point + move, proportional, picture), expected);
}

void TestGeometry::edgesReachTheFrame()
{
    // From an odd place left by earlier moves, a corner dragged far past the
    // picture's corner puts both its edges on the frame's, with no gap.
    const QSize hd(1920, 1080);
    const QRectF moved(38.3, 90.7, 1200.4, 700.2);
    const std::pair<BorderPosition, QPointF> corners[] = { { BorderPosition::topLeft, { -5000, -5000 } },
                                                           { BorderPosition::topRight, { 5000, -5000 } },
                                                           { BorderPosition::bottomLeft, { -5000, 5000 } },
                                                           { BorderPosition::bottomRight, { 5000, 5000 } } };
    for (const auto &[corner, far] : corners) {
        const QRectF frame = dragStep({ moved, QPointF(0, 0), corner, 1.0 }, far, false, hd);
        const QRect crop = cropRect(frame, hd.width(), hd.height());
        const bool left = far.x() < 0, top = far.y() < 0;
        QCOMPARE(left ? crop.x() : crop.x() + crop.width(), left ? 0 : 1920);
        QCOMPARE(top ? crop.y() : crop.y() + crop.height(), top ? 0 : 1080);
    }
}

void TestGeometry::keySteps_data()
{
    QTest::addColumn<QRectF>("selection");
    QTest::addColumn<QPoint>("move");
    QTest::addColumn<QPoint>("resize");
    QTest::addColumn<bool>("locked");
    QTest::addColumn<int>("times");
    QTest::addColumn<QRect>("crop");

    const QRectF preset(160, 90, 1600, 900);
    QTest::newRow("Alt+Right at the frame: nothing moves")
        << QRectF(320, 90, 1600, 900) << QPoint() << QPoint(2, 0) << false << 1 << QRect(320, 90, 1600, 900);
    QTest::newRow("Alt+Left to the minimum") << preset << QPoint() << QPoint(-20, 0) << false << 90
                                             << QRect(160, 90, 16, 900);
    // Locked, the height follows about its centre line: 16:9 within one even step.
    QTest::newRow("locked Alt+Right x30") << preset << QPoint() << QPoint(2, 0) << true << 30
                                          << QRect(160, 74, 1660, 932);
    QTest::newRow("locked Alt+Down x30") << preset << QPoint() << QPoint(0, 2) << true << 30
                                         << QRect(106, 90, 1708, 960);
    QTest::newRow("locked Alt+Left to the minimum") << preset << QPoint() << QPoint(-20, 0) << true << 100
                                                    << QRect(160, 532, 28, 16);
}

void TestGeometry::keySteps()
{
    QFETCH(QRectF, selection);
    QFETCH(QPoint, move);
    QFETCH(QPoint, resize);
    QFETCH(bool, locked);
    QFETCH(int, times);
    QFETCH(QRect, crop);

    for (int i = 0; i < times; ++i)
        selection = keyStep(selection, move, resize, locked, QSizeF(1920, 1080));
    QCOMPARE(cropRect(selection, 1920, 1080), crop);
    if (locked)
        QVERIFY(CropPresets::fitsRatio(crop.size(), u"16:9"_s));
}

void TestGeometry::drawing_data()
{
    QTest::addColumn<QPointF>("anchor");
    QTest::addColumn<QPointF>("pointer");
    QTest::addColumn<bool>("proportional");
    QTest::addColumn<QRectF>("expected");

    QTest::newRow("small: the minimum") << QPointF(100, 100) << QPointF(105, 110) << false << QRectF(100, 100, 16, 16);
    QTest::newRow("past the picture") << QPointF(100, 100) << QPointF(900, 900) << false << QRectF(100, 100, 540, 260);
    // The minimum does not fit beside an anchor near the edge: it is pushed inside.
    QTest::newRow("anchor near the edge") << QPointF(635, 355) << QPointF(640, 360) << false
                                          << QRectF(624, 344, 16, 16);
    QTest::newRow("locked to 2:1") << QPointF(100, 100) << QPointF(400, 120) << true << QRectF(100, 100, 300, 150);
}

void TestGeometry::drawing()
{
    QFETCH(QPointF, anchor);
    QFETCH(QPointF, pointer);
    QFETCH(bool, proportional);
    QFETCH(QRectF, expected);
    QCOMPARE(drawnSelection(anchor, pointer, proportional, 2.0, QSizeF(640, 360)), expected);
}

void TestGeometry::filterText_data()
{
    QTest::addColumn<QSize>("video");
    QTest::addColumn<QRectF>("selection");
    QTest::addColumn<QString>("text");

    QTest::newRow("a preset") << QSize(1920, 1080) << QRectF(160, 90, 1600, 900) << u"crop=1600:900:160:90"_s;
    // Each edge is rounded on its own: the one on the frame's edge stays there.
    QTest::newRow("to the frame from an odd place") << QSize(1920, 1080) << QRectF(38.3, 90.7, 1881.7, 989.3)
                                                    << u"crop=1882:990:38:90"_s;
    // Nothing may reach past the frame: the encoder refuses such a crop.
    QTest::newRow("odd frame, full selection") << QSize(641, 359) << QRectF(0, 0, 641, 359) << u"crop=640:358:0:0"_s;
    QTest::newRow("a sliver keeps 2 pixels") << QSize(640, 360) << QRectF(100.2, 0, 0.5, 360)
                                             << u"crop=2:360:100:0"_s;
    QTest::newRow("video under 16 pixels") << QSize(10, 10) << QRectF(0, 0, 10, 10) << u"crop=10:10:0:0"_s;
    QTest::newRow("2 x 2 video") << QSize(2, 2) << QRectF(0, 0, 2, 2) << u"crop=2:2:0:0"_s;
}

void TestGeometry::filterText()
{
    QFETCH(QSize, video);
    QFETCH(QRectF, selection);
    QFETCH(QString, text);

    QCOMPARE(::cropFilterText(cropRect(selection, video.width(), video.height())), text);
}

void TestGeometry::presets_data()
{
    QTest::addColumn<QSize>("video");
    QTest::addColumn<QString>("ratio");
    QTest::addColumn<QStringList>("titles");

    QTest::newRow("1080p 16:9") << QSize(1920, 1080) << u"16:9"_s
                                << QStringList { "1600x900", "1280x720", "1138x640", "854x480", "640x360", "426x240" };
    QTest::newRow("portrait 9:16") << QSize(1080, 1920) << u"9:16"_s
                                   << QStringList { "676x1200", "608x1080", "506x900", "406x720", "360x640",
                                                    "270x480", "202x360", "136x240" };
    for (const QString &ratio : CropPresets::wideRatios() + CropPresets::tallRatios())
        QTest::addRow("320x240 %s", qPrintable(ratio)) << QSize(320, 240) << ratio << QStringList();
}

void TestGeometry::presets()
{
    QFETCH(QSize, video);
    QFETCH(QString, ratio);
    QFETCH(QStringList, titles);
    QCOMPARE(CropPresets::presetTitles(video.width(), video.height(), ratio), titles);
    // Wide and tall turn a ratio into its transpose, 4:3 into 3:4: the lists match place for place.
    const QStringList wide = CropPresets::wideRatios(), tall = CropPresets::tallRatios();
    for (int i = 0; i < wide.size(); ++i)
        QCOMPARE(tall.value(i), wide[i].section(u':', 1) + u':' + wide[i].section(u':', 0, 0));
}

void TestGeometry::placement_data()
{
    QTest::addColumn<QString>("preset"); // empty: none
    QTest::addColumn<QSize>("video");
    QTest::addColumn<QRectF>("frame");

    QTest::newRow("largest 16:9") << u"1600x900"_s << QSize(1920, 1080) << QRectF(160, 90, 1600, 900);
    QTest::newRow("small preset, even place") << u"426x240"_s << QSize(640, 480) << QRectF(108, 120, 426, 240);
    QTest::newRow("fallback square") << QString() << QSize(320, 240) << QRectF(110, 70, 100, 100);
    QTest::newRow("fallback square, tiny video") << QString() << QSize(50, 50) << QRectF(0, 0, 50, 50);
}

void TestGeometry::placement()
{
    QFETCH(QString, preset);
    QFETCH(QSize, video);
    QFETCH(QRectF, frame);

    const auto title = preset.isEmpty() ? std::nullopt : std::optional(preset);
    QCOMPARE(CropPresets::placeSelection(title, video.width(), video.height()), frame);
}

void TestGeometry::scaleLabels_data()
{
    QTest::addColumn<QSize>("crop");
    QTest::addColumn<double>("percent");
    QTest::addColumn<QString>("factor");
    QTest::addColumn<QString>("output");

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

void TestGeometry::glide_data()
{
    QTest::addColumn<QList<QPoint>>("places"); // of 300 x 200 crops, at 0 s, 2 s, 4 s ...
    QTest::addColumn<double>("time");
    QTest::addColumn<QPoint>("expected");
    const QList<QPoint> two { { 100, 50 }, { 500, 250 } };
    QTest::newRow("before the first: held") << two << -1.0 << QPoint(100, 50);
    QTest::newRow("at a keyframe") << two << 2.0 << QPoint(500, 250);
    QTest::newRow("after the last: held") << two << 9.0 << QPoint(500, 250);
    QTest::newRow("halfway") << two << 1.0 << QPoint(300, 150);
    // Eased: a quarter of the time covers 15.6 % of the way, rounded to even pixels.
    QTest::newRow("a quarter of the way in") << two << 0.5 << QPoint(162, 82);
    QTest::newRow("between two equal places: still") << QList<QPoint> { { 100, 50 }, { 100, 50 }, { 300, 50 } } << 1.0
                                                     << QPoint(100, 50);
    // Through a keyframe on a straight pan it keeps its speed rather than stopping.
    QTest::newRow("a steady pan") << QList<QPoint> { { 0, 0 }, { 200, 0 }, { 400, 0 } } << 2.5 << QPoint(260, 0);
    QTest::newRow("a turn: no overshoot") << QList<QPoint> { { 0, 0 }, { 400, 0 }, { 0, 0 } } << 1.8 << QPoint(388, 0);
}

void TestGeometry::glide()
{
    QFETCH(QList<QPoint>, places);
    QFETCH(double, time);
    QFETCH(QPoint, expected);
    QList<CropKeyframe> keys;
    for (qsizetype n = 0; n < places.size(); ++n)
        keys << CropKeyframe { 2.0 * double(n), QRect(places[n], QSize(300, 200)) };
    QCOMPARE(CropKeyframes::cropAt(keys, time), QRect(expected, QSize(300, 200)));
}

void TestGeometry::placedKeyframes()
{
    const QSize frame(1280, 720);
    QList<CropKeyframe> keys = CropKeyframes::placed({}, 2, QRect(100, 100, 300, 200), frame);
    keys = CropKeyframes::placed(keys, 1, QRect(0, 0, 300, 200), frame);
    keys = CropKeyframes::placed(keys, 2.0002, QRect(40, 40, 300, 200), frame);
    QCOMPARE(keys, (QList<CropKeyframe> { { 1, QRect(0, 0, 300, 200) }, { 2, QRect(40, 40, 300, 200) } }));
    // A new size takes every keyframe about its centre, within the frame.
    keys = CropKeyframes::placed(keys, 3, QRect(900, 500, 380, 220), frame);
    QCOMPARE(keys, (QList<CropKeyframe> { { 1, QRect(0, 0, 380, 220) }, { 2, QRect(0, 30, 380, 220) },
                                          { 3, QRect(900, 500, 380, 220) } }));
    QCOMPARE(CropKeyframes::indexAt(keys, 2.0003), 1);
    QCOMPARE(CropKeyframes::indexAt(keys, 2.5), -1);
}

QTEST_GUILESS_MAIN(TestGeometry)
#include "tst_geometry.moc"
