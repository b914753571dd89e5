#include "AppDelegate.h"
#include "ImageDropView.h"
#include "SelectionRectangle.h"
#include "media/FileProbe.h"
#include "selection/AspectPresets.h"
#include "selection/CropGeometry.h"
#include "support/Fixtures.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QImageReader>
#include <QLabel>
#include <QMainWindow>
#include <QMessageBox>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

// The whole road from opening to result, through the controller and its real
// window on the offscreen platform, with videos made by ffmpeg.
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
    void cropAtHalfScale();
    void cancelledCrop();
    void failedCrop();
    void quitDuringCrop();

private:
    void start(const AppDelegate::Tools &tools = AppDelegate::Tools::bundled());
    bool load(const QString &path);
    QMessageBox *waitForAlert();
    // Runs the crop action and answers the save panel with path.
    void saveAs(const QString &path);
    void verifyEmpty();
    template<typename T>
    T *control(const char *name) const
    {
        return m_delegate->window()->findChild<T *>(QString::fromLatin1(name));
    }

    QTemporaryDir m_fixtures;
    QHash<QString, QString> m_files;
    std::unique_ptr<QTemporaryDir> m_work;
    std::unique_ptr<AppDelegate> m_delegate;
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
    QVERIFY(QFile::copy(small, m_files[u"txt"_s]));
    QVERIFY(QFile::copy(small, m_files[u"vob"_s]));
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
    m_delegate.reset();
    QCOMPARE(Fixtures::childProcesses(), QList<qint64>());
    m_work.reset();
}

void TestAppDelegate::start(const AppDelegate::Tools &tools)
{
    m_delegate = std::make_unique<AppDelegate>(tools, m_work->path());
    m_delegate->window()->resize(1000, 720);
    m_delegate->applicationDidFinishLaunching();
    QVERIFY(QTest::qWaitForWindowExposed(m_delegate->window()));
}

bool TestAppDelegate::load(const QString &path)
{
    m_delegate->openFile(path);
    const auto loaded = [this] {
        return control<QAction>("actionCrop")->isEnabled() && !control<QDialog>("ProgressSheet")->isVisible();
    };
    return QTest::qWaitFor(loaded, 60'000);
}

QMessageBox *TestAppDelegate::waitForAlert()
{
    QMessageBox *alert = nullptr;
    (void)QTest::qWaitFor(
        [&] {
            const auto boxes = m_delegate->window()->findChildren<QMessageBox *>();
            alert = boxes.isEmpty() || !boxes.last()->isVisible() ? nullptr : boxes.last();
            return alert != nullptr;
        },
        60'000);
    return alert;
}

void TestAppDelegate::saveAs(const QString &path)
{
    control<QAction>("actionCrop")->trigger();
    auto *panel = m_delegate->window()->findChild<QFileDialog *>();
    QVERIFY(panel && panel->isVisible());
    QCOMPARE(panel->acceptMode(), QFileDialog::AcceptSave);
    // Replacing an existing file asks first; say yes.
    QTimer::singleShot(200, panel, [] {
        if (auto *question = qobject_cast<QMessageBox *>(QApplication::activeModalWidget()))
            question->button(QMessageBox::Yes)->click();
    });
    panel->selectFile(path);
    QMetaObject::invokeMethod(panel, "accept");
}

void TestAppDelegate::verifyEmpty()
{
    QVERIFY(!control<QAction>("actionCrop")->isEnabled());
    QVERIFY(!control<QAction>("actionScaleFactor")->isEnabled());
    QVERIFY(!control<QSlider>("posterPositionSlider")->isEnabled());
    QCOMPARE(control<QSlider>("posterPositionSlider")->value(), 6);
    QVERIFY(control<QWidget>("selectionRectangleHolder")->isHidden());
    QVERIFY(control<SelectionRectangle>("selectionRectangle")->isHidden());
    QCOMPARE(control<QLabel>("inputResolutionTF")->text(), u"Source: 0 x 0"_s);
    QCOMPARE(control<QLabel>("outputResolutionTF")->text(), u"Cropped: 0 x 0"_s);
    QVERIFY(control<QCheckBox>("proportionalCBX")->isChecked());
    QVERIFY(!control<QCheckBox>("proportionalCBX")->isEnabled());
    QVERIFY(!control<QComboBox>("aspectRationPopUpBTN")->isEnabled());
    QVERIFY(!control<QComboBox>("presetPopUpBTN")->isEnabled());
    QVERIFY(!control<QPushButton>("wideTallBTN")->isEnabled());
    QCOMPARE(control<QPushButton>("wideTallBTN")->text(), u"Wide"_s);
    QCOMPARE(m_delegate->window()->findChild<QSlider *>(u"scaleFactorSlider"_s)->value(), 100);
}

void TestAppDelegate::emptyState()
{
    start();
    verifyEmpty();
    QCOMPARE(m_delegate->window()->windowTitle(), u"Tessaly"_s);
}

void TestAppDelegate::loadedLandscape()
{
    start();
    QVERIFY(load(m_files[u"hd"_s]));

    QCOMPARE(control<QLabel>("inputResolutionTF")->text(), u"Source: 1920 x 1080"_s);
    QCOMPARE(control<QLabel>("outputResolutionTF")->text(), u"Cropped: 1600 x 900"_s);
    QCOMPARE(control<QPushButton>("wideTallBTN")->text(), u"Wide"_s);
    QVERIFY(control<QPushButton>("wideTallBTN")->isChecked());
    auto *ratios = control<QComboBox>("aspectRationPopUpBTN");
    QCOMPARE(ratios->count(), 7);
    QCOMPARE(ratios->currentText(), u"16:9"_s);
    auto *presets = control<QComboBox>("presetPopUpBTN");
    QCOMPARE(presets->count(), 6);
    QCOMPARE(presets->currentText(), u"1600x900"_s);
    QVERIFY(control<QCheckBox>("proportionalCBX")->isChecked());
    QVERIFY(!control<SelectionRectangle>("selectionRectangle")->isProportional());
    QCOMPARE(control<QSlider>("posterPositionSlider")->value(), 6);
    QVERIFY(control<QSlider>("posterPositionSlider")->isEnabled());
    QCOMPARE(m_delegate->window()->findChild<QSlider *>(u"scaleFactorSlider"_s)->value(), 100);
    QCOMPARE(m_delegate->window()->findChild<QLabel *>(u"scaleFactorLBL"_s)->text(), u"Scale Factor: 1.0x"_s);

    // The holder lies over the picture at the display scale, the selection centred in it.
    auto *poster = control<ImageDropView>("posterView");
    auto *holder = control<QWidget>("selectionRectangleHolder");
    const double s = CropGeometry::displayScale(1920, 1080, poster->width(), poster->height());
    QCOMPARE(holder->geometry(), CropGeometry::holderFrame(1920, 1080, poster->width(), poster->height()).toRect());
    const QRectF frame = control<SelectionRectangle>("selectionRectangle")->selectionFrame();
    QCOMPARE(frame, AspectPresets::placeSelection(u"1600x900"_s, 1920, 1080, s));
    QVERIFY(qAbs(frame.center().x() - 1920 * s / 2) < 1e-9 && qAbs(frame.center().y() - 1080 * s / 2) < 1e-9);
    QVERIFY(poster->imagePath().endsWith(u"/Images/out6.jpg"_s));
    QVERIFY(poster->hasImage());

    // The slider picks the poster frame.
    control<QSlider>("posterPositionSlider")->setValue(2);
    QVERIFY(poster->imagePath().endsWith(u"/Images/out2.jpg"_s));
}

void TestAppDelegate::loadedPortraitAndRotated_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("source");
    QTest::addColumn<QSize>("poster");

    QTest::newRow("portrait") << u"portrait"_s << u"Source: 360 x 640"_s << QSize(360, 640);
    // A phone video whose frames are turned: shown upright, measured upright.
    QTest::newRow("rotated phone video") << u"rotated"_s << u"Source: 360 x 640"_s << QSize(360, 640);
}

void TestAppDelegate::loadedPortraitAndRotated()
{
    QFETCH(QString, file);
    QFETCH(QString, source);
    QFETCH(QSize, poster);

    start();
    QVERIFY(load(m_files[file]));
    QCOMPARE(control<QLabel>("inputResolutionTF")->text(), source);
    QCOMPARE(control<QPushButton>("wideTallBTN")->text(), u"Tall"_s);
    QCOMPARE(control<QComboBox>("aspectRationPopUpBTN")->currentText(), u"9:16"_s);
    QCOMPARE(control<QComboBox>("presetPopUpBTN")->currentText(), u"270x480"_s);
    QCOMPARE(QImageReader(control<ImageDropView>("posterView")->imagePath()).size(), poster);
}

void TestAppDelegate::changeChainsResetTheScale()
{
    start();
    QVERIFY(load(m_files[u"hd"_s]));
    auto *scale = m_delegate->window()->findChild<QSlider *>(u"scaleFactorSlider"_s);
    auto *factor = m_delegate->window()->findChild<QLabel *>(u"scaleFactorLBL"_s);
    auto *ratios = control<QComboBox>("aspectRationPopUpBTN");
    auto *presets = control<QComboBox>("presetPopUpBTN");
    auto *selection = control<SelectionRectangle>("selectionRectangle");

    const QList<std::pair<const char *, std::function<void()>>> changes = {
        { "preset", [&] { QTest::keyClick(presets, Qt::Key_Down); } },
        { "ratio", [&] { QTest::keyClick(ratios, Qt::Key_Down); } },
        { "proportional", [&] { QTest::mouseClick(control<QCheckBox>("proportionalCBX"), Qt::LeftButton); } },
        { "wide/tall", [&] { QTest::mouseClick(control<QPushButton>("wideTallBTN"), Qt::LeftButton); } },
        { "drag", [&] {
             const QPoint middle = selection->rect().center();
             QTest::mousePress(selection, Qt::LeftButton, {}, middle);
             QTest::mouseMove(selection, middle + QPoint(5, 5));
             QTest::mouseRelease(selection, Qt::LeftButton, {}, middle + QPoint(5, 5));
         } },
    };
    for (const auto &[name, change] : changes) {
        scale->setValue(50);
        QCOMPARE(factor->text(), u"Scale Factor: 0.5x"_s);
        change();
        QVERIFY2(scale->value() == 100, name);
        QCOMPARE(factor->text(), u"Scale Factor: 1.0x"_s);
    }
    // The ratio change re-placed the selection at the first preset of the new ratio.
    QCOMPARE(control<QPushButton>("wideTallBTN")->text(), u"Tall"_s);
    QCOMPARE(ratios->currentText(), u"9:16"_s);
    QCOMPARE(presets->currentText(), u"506x900"_s);
    // The proportional box is off now: resizing keeps the ratio.
    QVERIFY(selection->isProportional());
}

void TestAppDelegate::windowResizeKeepsTheCrop()
{
    start();
    QVERIFY(load(m_files[u"hd"_s]));
    auto *cropped = control<QLabel>("outputResolutionTF");
    QCOMPARE(cropped->text(), u"Cropped: 1600 x 900"_s);

    m_delegate->window()->resize(700, 520);
    QTest::qWait(50);
    auto *poster = control<ImageDropView>("posterView");
    QCOMPARE(control<QWidget>("selectionRectangleHolder")->geometry(),
             CropGeometry::holderFrame(1920, 1080, poster->width(), poster->height()).toRect());
    const QRectF frame = control<SelectionRectangle>("selectionRectangle")->selectionFrame();
    const double s = CropGeometry::displayScale(1920, 1080, poster->width(), poster->height());
    QCOMPARE(CropGeometry::croppedSize(frame.size(), s, 1920, 1080), QSize(1600, 900));
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

    start();
    m_delegate->openFile(m_files[file]);
    QMessageBox *alert = waitForAlert();
    QVERIFY(alert);
    QCOMPARE(alert->text(), message);
    QVERIFY(alert->informativeText().endsWith(u"support@tessaly.app"_s));
    QCOMPARE(alert->windowModality(), Qt::WindowModal);
    QVERIFY(!control<QDialog>("ProgressSheet")->isVisible());
    verifyEmpty();
}

void TestAppDelegate::refusalAfterALoadedVideo()
{
    start();
    QVERIFY(load(m_files[u"hd"_s]));
    m_delegate->openFile(m_files[u"audio"_s]);
    QVERIFY(waitForAlert());
    verifyEmpty();
    QVERIFY(m_delegate->openVideo() && !m_delegate->openVideo()->hasVideoTrack());
}

void TestAppDelegate::simulatedDrop()
{
    start();
    auto *poster = control<ImageDropView>("posterView");
    QMimeData data;
    data.setUrls({ QUrl::fromLocalFile(m_files[u"portrait"_s]) });
    QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(poster, &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(50, 50), Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(poster, &drop);
    QVERIFY(drop.isAccepted());
    QVERIFY(QTest::qWaitFor([this] { return control<QAction>("actionCrop")->isEnabled(); }, 60'000));
    QCOMPARE(control<QLabel>("inputResolutionTF")->text(), u"Source: 360 x 640"_s);
}

void TestAppDelegate::sameNameRefused()
{
    start();
    QVERIFY(load(m_files[u"portrait"_s]));
    saveAs(m_files[u"portrait"_s]);
    QMessageBox *alert = waitForAlert();
    QVERIFY(alert);
    QCOMPARE(alert->text(), u"Input file name is same as the output file name!"_s);
    QCOMPARE(alert->informativeText(), u"Please specify a different file to save."_s);
    QVERIFY(!control<QDialog>("ProgressSheet")->isVisible());
    QCOMPARE(FileProbe(m_files[u"portrait"_s]).videoWidth(), std::optional<qint64>(360));
}

void TestAppDelegate::cropAtHalfScale()
{
    start();
    QVERIFY(load(m_files[u"hd"_s]));
    m_delegate->window()->findChild<QSlider *>(u"scaleFactorSlider"_s)->setValue(50);
    QCOMPARE(m_delegate->window()->findChild<QLabel *>(u"scaleFactorOutputLBL"_s)->text(), u"Output: 800 x 450"_s);

    const QString output = m_work->filePath(u"Cropped.mp4"_s);
    saveAs(output);
    QVERIFY(control<QDialog>("ProgressSheet")->isVisible());
    QCOMPARE(control<QLabel>("progressTitle")->text(), u"Cropping Video..."_s);
    QVERIFY(control<QPushButton>("progressCancel")->isVisible());

    QMessageBox *alert = waitForAlert();
    QVERIFY(alert);
    QVERIFY(!control<QDialog>("ProgressSheet")->isVisible());
    QCOMPARE(alert->text(), u"Video Cropped Successfully!"_s);
    const FileProbe input(m_files[u"hd"_s]);
    const FileProbe result(output);
    QCOMPARE(result.videoWidth(), std::optional<qint64>(800));
    QCOMPARE(result.videoHeight(), std::optional<qint64>(450));
    QCOMPARE(alert->informativeText(), u"Input Resolution: 1920 x 1080 (%1)\nOutput Resolution: 800 x 450 (%2)"_s
                                           .arg(*input.fileSizeHuman(), *result.fileSizeHuman()));
    QCOMPARE(alert->buttons().size(), 3);
    // OK does nothing; the video stays loaded.
    alert->button(QMessageBox::Ok) ? alert->button(QMessageBox::Ok)->click() : alert->buttons().first()->click();
    QVERIFY(control<QAction>("actionCrop")->isEnabled());
}

void TestAppDelegate::cancelledCrop()
{
    start();
    QVERIFY(load(m_files[u"long"_s]));
    saveAs(m_work->filePath(u"Cropped.mp4"_s));
    QVERIFY(control<QDialog>("ProgressSheet")->isVisible());
    QVERIFY(QTest::qWaitFor([this] { return control<QProgressBar>("progressBar")->value() > 0; }, 30'000));
    QTest::mouseClick(control<QPushButton>("progressCancel"), Qt::LeftButton);
    QVERIFY(QTest::qWaitFor([this] { return !control<QDialog>("ProgressSheet")->isVisible(); }, 10'000));
    QTest::qWait(200);
    QVERIFY(m_delegate->window()->findChildren<QMessageBox *>().isEmpty());
    QCOMPARE(Fixtures::filesIn(m_work->path()), QStringList());
}

void TestAppDelegate::failedCrop()
{
    // An encoder that makes posters but fails every crop.
    const QString encoder = Fixtures::writeScript(
        m_work->filePath(u"creator"_s),
        "case \"$*\" in *-vf*) echo 'Conversion failed!' >&2; exit 1;; esac\nexec \"" + Fixtures::ffmpeg().toUtf8()
            + "\" \"$@\"");
    start({ Fixtures::ffprobe(), encoder });
    QVERIFY(load(m_files[u"portrait"_s]));
    const QString output = m_work->filePath(u"Cropped.mp4"_s);
    Fixtures::writeFile(output, "earlier");
    saveAs(output);
    QMessageBox *alert = waitForAlert();
    QVERIFY(alert);
    QCOMPARE(alert->text(), u"The video could not be cropped."_s);
    QVERIFY2(alert->informativeText().contains(u"Conversion failed!"_s), qPrintable(alert->informativeText()));
    QFile earlier(output);
    QVERIFY(earlier.open(QIODevice::ReadOnly));
    QCOMPARE(earlier.readAll(), QByteArray("earlier"));
    QCOMPARE(Fixtures::filesIn(m_work->path()), (QStringList { u"Cropped.mp4"_s, u"creator"_s }));
}

void TestAppDelegate::quitDuringCrop()
{
    start();
    QVERIFY(load(m_files[u"long"_s]));
    saveAs(m_work->filePath(u"Cropped.mp4"_s));
    QVERIFY(QTest::qWaitFor([this] { return control<QProgressBar>("progressBar")->value() > 0; }, 30'000));
    m_delegate.reset();
    QCOMPARE(Fixtures::childProcesses(), QList<qint64>());
    // Only the scratch folder's parent is left, and it is empty.
    QCOMPARE(Fixtures::filesIn(m_work->path()), QStringList());
    QCOMPARE(QDir(m_work->path()).entryList(QDir::Dirs | QDir::NoDotAndDotDot), QStringList());
}

QTEST_MAIN(TestAppDelegate)
#include "tst_appdelegate.moc"
