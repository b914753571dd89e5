#include "AppDriver.h"
#include "ImageDropView.h"
#include "SelectionRectangle.h"
#include "media/FileProbe.h"
#include "selection/CropPresets.h"
#include "selection/CropGeometry.h"
#include "support/Fixtures.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QImageReader>
#include <QLabel>
#include <QMessageBox>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

// The road from opening to result, through the controller and its real window
// on the offscreen platform, with videos made by ffmpeg.
class TestAppDelegate : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void emptyState();
    void loadedLandscape();
    void loadedPortraitAndRotated_data();
    void loadedPortraitAndRotated();
    void changeChainsResetTheScale();
    void windowResizeKeepsTheCrop();
    void refusals_data();
    void refusals();
    void refusalAfterALoadedVideo();
    void simulatedDrop();
    void sameNameRefused();
    void cropWithTheProposedName();
    void cropAtHalfScale();
    void cancelledCrop();

private:
    AppDriver &start(const AppDelegate::Tools &tools = AppDelegate::Tools::bundled());
    QLabel *label(const char *name) const { return m_app->control<QLabel>(name); }

    QTemporaryDir m_fixtures;
    QHash<QString, QString> m_files;
    std::unique_ptr<QTemporaryDir> m_work;
    std::unique_ptr<AppDriver> m_app;
};

void TestAppDelegate::initTestCase()
{
    const QString dir = m_fixtures.path();
    Fixtures::Video rotated { 640, 360, 1.0 };
    rotated.rotate = 90;
    m_files[u"hd"_s] = Fixtures::makeVideo(dir, u"hd.mp4"_s, { 1920, 1080, 1.0 });
    m_files[u"long"_s] = Fixtures::makeVideo(dir, u"long.mp4"_s, { 1280, 720, 30.0 });
    m_files[u"portrait"_s] = Fixtures::makeVideo(dir, u"portrait.mp4"_s, { 360, 640, 1.0 });
    m_files[u"rotated"_s] = Fixtures::makeVideo(dir, u"phone.mp4"_s, rotated);
    m_files[u"audio"_s] = Fixtures::makeAudio(dir, u"song.m4a"_s);
    // A playable video under names that are refused all the same.
    const QString small = Fixtures::makeVideo(dir, u"small.mp4"_s);
    m_files[u"txt"_s] = dir + u"/video.txt"_s;
    m_files[u"vob"_s] = dir + u"/clip.VOB"_s;
    QVERIFY(QFile::copy(small, m_files[u"txt"_s]) && QFile::copy(small, m_files[u"vob"_s]));
    m_files[u"missing"_s] = dir + u"/missing.mp4"_s;
    for (auto it = m_files.cbegin(); it != m_files.cend(); ++it)
        QVERIFY2(!it.value().isEmpty(), qPrintable(it.key()));
}

void TestAppDelegate::init()
{
    m_work = std::make_unique<QTemporaryDir>();
}

void TestAppDelegate::cleanup()
{
    m_app.reset();
    QCOMPARE(Fixtures::childProcesses(), QList<qint64>());
    m_work.reset();
}

AppDriver &TestAppDelegate::start(const AppDelegate::Tools &tools)
{
    m_app = std::make_unique<AppDriver>(m_work->path(), tools);
    return *m_app;
}

void TestAppDelegate::emptyState()
{
    AppDriver &app = start();
    QCOMPARE(app.notEmptyBecause(), QString());
    QCOMPARE(app.window()->windowTitle(), u"Tessaly"_s);
    app.control<QAction>("actionHelp")->trigger();
    QMessageBox *help = app.waitForAlert();
    QVERIFY(help);
    QCOMPARE(help->text(), u"Questions?"_s);
    QCOMPARE(help->informativeText(), u"support@tessaly.app"_s);
}

void TestAppDelegate::loadedLandscape()
{
    AppDriver &app = start();
    QVERIFY(app.open(m_files[u"hd"_s]));

    QCOMPARE(label("inputResolutionTF")->text(), u"Source: 1920 x 1080"_s);
    QCOMPARE(label("outputResolutionTF")->text(), u"Cropped: 1600 x 900"_s);
    QCOMPARE(app.control<QPushButton>("wideTallBTN")->text(), u"Wide"_s);
    QVERIFY(app.control<QPushButton>("wideTallBTN")->isChecked());
    auto *ratios = app.control<QComboBox>("aspectRationPopUpBTN");
    QCOMPARE(ratios->count(), 7);
    QCOMPARE(ratios->currentText(), u"16:9"_s);
    auto *presets = app.control<QComboBox>("presetPopUpBTN");
    QCOMPARE(presets->count(), 6);
    QCOMPARE(presets->currentText(), u"1600x900"_s);
    QVERIFY(app.control<QCheckBox>("proportionalCBX")->isChecked());
    QVERIFY(!app.control<SelectionRectangle>("selectionRectangle")->isProportional());
    QCOMPARE(app.control<QSlider>("posterPositionSlider")->value(), 6);
    QVERIFY(app.control<QSlider>("posterPositionSlider")->isEnabled());
    QCOMPARE(app.control<QSlider>("scaleFactorSlider")->value(), 100);
    QCOMPARE(label("scaleFactorLBL")->text(), u"Scale Factor: 1.0x"_s);

    // The holder lies over the picture at the display scale, the selection centred in it.
    auto *poster = app.control<ImageDropView>("posterView");
    const double s = CropGeometry::displayScale(1920, 1080, poster->width(), poster->height());
    QCOMPARE(app.control<QWidget>("selectionRectangleHolder")->geometry(),
             CropGeometry::holderFrame(1920, 1080, poster->width(), poster->height()).toRect());
    const QRectF frame = app.control<SelectionRectangle>("selectionRectangle")->selectionFrame();
    QCOMPARE(frame, CropPresets::placeSelection(u"1600x900"_s, 1920, 1080, s));
    QVERIFY(qAbs(frame.center().x() - 1920 * s / 2) < 1e-9 && qAbs(frame.center().y() - 1080 * s / 2) < 1e-9);
    QVERIFY(poster->imagePath().endsWith(u"/Images/out6.jpg"_s));
    QVERIFY(poster->hasImage());

    app.control<QSlider>("posterPositionSlider")->setValue(2);
    QVERIFY(poster->imagePath().endsWith(u"/Images/out2.jpg"_s));
}

void TestAppDelegate::loadedPortraitAndRotated_data()
{
    QTest::addColumn<QString>("file");
    QTest::newRow("portrait") << u"portrait"_s;
    // A phone video whose frames are turned: shown upright, measured upright.
    QTest::newRow("rotated phone video") << u"rotated"_s;
}

void TestAppDelegate::loadedPortraitAndRotated()
{
    QFETCH(QString, file);

    AppDriver &app = start();
    QVERIFY(app.open(m_files[file]));
    QCOMPARE(label("inputResolutionTF")->text(), u"Source: 360 x 640"_s);
    QCOMPARE(app.control<QPushButton>("wideTallBTN")->text(), u"Tall"_s);
    QCOMPARE(app.control<QComboBox>("aspectRationPopUpBTN")->currentText(), u"9:16"_s);
    QCOMPARE(app.control<QComboBox>("presetPopUpBTN")->currentText(), u"270x480"_s);
    QCOMPARE(QImageReader(app.control<ImageDropView>("posterView")->imagePath()).size(), QSize(360, 640));
}

void TestAppDelegate::changeChainsResetTheScale()
{
    AppDriver &app = start();
    QVERIFY(app.open(m_files[u"hd"_s]));
    auto *scale = app.control<QSlider>("scaleFactorSlider");
    auto *selection = app.control<SelectionRectangle>("selectionRectangle");

    const QList<std::pair<const char *, std::function<void()>>> changes = {
        { "preset", [&] { QTest::keyClick(app.control<QComboBox>("presetPopUpBTN"), Qt::Key_Down); } },
        { "ratio", [&] { QTest::keyClick(app.control<QComboBox>("aspectRationPopUpBTN"), Qt::Key_Down); } },
        { "proportional", [&] { QTest::mouseClick(app.control<QCheckBox>("proportionalCBX"), Qt::LeftButton); } },
        { "wide/tall", [&] { QTest::mouseClick(app.control<QPushButton>("wideTallBTN"), Qt::LeftButton); } },
        { "drag", [&] {
             const QPoint middle = selection->rect().center();
             QTest::mousePress(selection, Qt::LeftButton, {}, middle);
             QTest::mouseMove(selection, middle + QPoint(5, 5));
             QTest::mouseRelease(selection, Qt::LeftButton, {}, middle + QPoint(5, 5));
         } },
    };
    for (const auto &[name, change] : changes) {
        scale->setValue(50);
        QCOMPARE(label("scaleFactorLBL")->text(), u"Scale Factor: 0.5x"_s);
        change();
        QVERIFY2(scale->value() == 100, name);
        QCOMPARE(label("scaleFactorLBL")->text(), u"Scale Factor: 1.0x"_s);
    }
    // Wide/tall went back to the first ratio of the other list and its largest preset.
    QCOMPARE(app.control<QPushButton>("wideTallBTN")->text(), u"Tall"_s);
    QCOMPARE(app.control<QComboBox>("aspectRationPopUpBTN")->currentText(), u"9:16"_s);
    QCOMPARE(app.control<QComboBox>("presetPopUpBTN")->currentText(), u"506x900"_s);
    // The proportional box is off now: resizing keeps the ratio.
    QVERIFY(selection->isProportional());
}

void TestAppDelegate::windowResizeKeepsTheCrop()
{
    AppDriver &app = start();
    QVERIFY(app.open(m_files[u"hd"_s]));
    app.window()->resize(700, 520);
    QTest::qWait(50);
    auto *poster = app.control<ImageDropView>("posterView");
    QCOMPARE(app.control<QWidget>("selectionRectangleHolder")->geometry(),
             CropGeometry::holderFrame(1920, 1080, poster->width(), poster->height()).toRect());
    const QRectF frame = app.control<SelectionRectangle>("selectionRectangle")->selectionFrame();
    const double s = CropGeometry::displayScale(1920, 1080, poster->width(), poster->height());
    QCOMPARE(CropGeometry::cropFilterText(frame, s, 1920, 1080), u"crop=1600:900:160:90"_s);
}

void TestAppDelegate::refusals_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("message");

    const QString unsupported = u"Seems to be an unsupported file.\nDoes the video play in a video player?"_s;
    QTest::newRow(".VOB name") << u"vob"_s << u"Tessaly cannot open .VOB files."_s;
    QTest::newRow("audio only") << u"audio"_s << unsupported;
    QTest::newRow(".txt file") << u"txt"_s << unsupported;
    QTest::newRow("missing file") << u"missing"_s << unsupported;
}

void TestAppDelegate::refusals()
{
    QFETCH(QString, file);
    QFETCH(QString, message);

    AppDriver &app = start();
    QVERIFY(!app.open(m_files[file]));
    QMessageBox *alert = app.waitForAlert();
    QVERIFY(alert);
    QCOMPARE(alert->text(), message);
    QVERIFY(alert->informativeText().endsWith(u"support@tessaly.app"_s));
    QCOMPARE(alert->windowModality(), Qt::WindowModal);
    QVERIFY(!app.control<QDialog>("ProgressSheet")->isVisible());
    QCOMPARE(app.notEmptyBecause(), QString());
}

void TestAppDelegate::refusalAfterALoadedVideo()
{
    AppDriver &app = start();
    QVERIFY(app.open(m_files[u"hd"_s]));
    QVERIFY(!app.open(m_files[u"audio"_s]));
    QCOMPARE(app.notEmptyBecause(), QString());
    QVERIFY(app.delegate().openVideo() && !app.delegate().openVideo()->hasVideoTrack());
}

void TestAppDelegate::simulatedDrop()
{
    AppDriver &app = start();
    auto *poster = app.control<ImageDropView>("posterView");
    QMimeData data;
    data.setUrls({ QUrl::fromLocalFile(m_files[u"portrait"_s]) });
    QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(poster, &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(50, 50), Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(poster, &drop);
    QVERIFY(QTest::qWaitFor([&] { return app.isLoaded(); }, 60'000));
    QCOMPARE(label("inputResolutionTF")->text(), u"Source: 360 x 640"_s);
}

void TestAppDelegate::sameNameRefused()
{
    AppDriver &app = start();
    QVERIFY(app.open(m_files[u"portrait"_s]));
    app.cropTo(m_files[u"portrait"_s]);
    QMessageBox *alert = app.waitForAlert();
    QVERIFY(alert);
    QCOMPARE(alert->text(), u"Input file name is same as the output file name!"_s);
    QCOMPARE(alert->informativeText(), u"Please specify a different file to save."_s);
    QVERIFY(!app.control<QDialog>("ProgressSheet")->isVisible());
    QCOMPARE(FileProbe(m_files[u"portrait"_s]).videoWidth(), std::optional<qint64>(360));
}

void TestAppDelegate::cropWithTheProposedName()
{
    const QString input = m_work->filePath(u"holiday.mp4"_s);
    QVERIFY(QFile::copy(m_files[u"hd"_s], input));
    AppDriver &app = start();
    QVERIFY(app.open(input));
    // The panel proposes Cropped.mp4 beside the input; the user just accepts.
    app.cropTo();
    QMessageBox *alert = app.waitForCropEnd();
    QVERIFY(alert);
    QCOMPARE(alert->text(), u"Video Cropped Successfully!"_s);
    const FileProbe result(m_work->filePath(u"Cropped.mp4"_s));
    QCOMPARE(result.videoWidth(), std::optional<qint64>(1600));
    QCOMPARE(result.videoHeight(), std::optional<qint64>(900));
}

void TestAppDelegate::cropAtHalfScale()
{
    AppDriver &app = start();
    QVERIFY(app.open(m_files[u"hd"_s]));
    app.control<QSlider>("scaleFactorSlider")->setValue(50);
    QCOMPARE(label("scaleFactorOutputLBL")->text(), u"Output: 800 x 450"_s);

    const QString output = m_work->filePath(u"Cropped.mp4"_s);
    app.cropTo(output);
    QVERIFY(app.control<QDialog>("ProgressSheet")->isVisible());
    QCOMPARE(label("progressTitle")->text(), u"Cropping Video..."_s);
    QVERIFY(app.control<QPushButton>("progressCancel")->isVisible());

    QMessageBox *alert = app.waitForCropEnd();
    QVERIFY(alert);
    QCOMPARE(alert->text(), u"Video Cropped Successfully!"_s);
    const FileProbe input(m_files[u"hd"_s]);
    const FileProbe result(output);
    QCOMPARE(result.videoWidth(), std::optional<qint64>(800));
    QCOMPARE(result.videoHeight(), std::optional<qint64>(450));
    QCOMPARE(alert->informativeText(), u"Input Resolution: 1920 x 1080 (%1)\nOutput Resolution: 800 x 450 (%2)"_s
                                           .arg(*input.fileSizeHuman(), *result.fileSizeHuman()));
    QCOMPARE(alert->buttons().size(), 3);
    // OK does nothing; the video stays loaded.
    alert->buttons().first()->click();
    QVERIFY(app.isLoaded());
}

void TestAppDelegate::cancelledCrop()
{
    AppDriver &app = start();
    QVERIFY(app.open(m_files[u"long"_s]));
    const QString output = Fixtures::writeFile(m_work->filePath(u"Cropped.mp4"_s), "an earlier file");
    app.cropTo(output);
    QVERIFY(QTest::qWaitFor([&] { return app.control<QProgressBar>("progressBar")->value() > 0; }, 30'000));
    QTest::mouseClick(app.control<QPushButton>("progressCancel"), Qt::LeftButton);
    QCOMPARE(app.waitForCropEnd(), nullptr);
    // The earlier file at the destination is left as it was, and nothing else.
    QFile earlier(output);
    QVERIFY(earlier.open(QIODevice::ReadOnly));
    QCOMPARE(earlier.readAll(), QByteArray("an earlier file"));
    QCOMPARE(Fixtures::filesIn(m_work->path()), QStringList { u"Cropped.mp4"_s });
}

QTEST_MAIN(TestAppDelegate)
#include "tst_appdelegate.moc"
