// The longest stall of the event loop while a 60-second 1080p video is
// analysed, played and then cropped: the gap between two ticks of a 5 ms
// timer, less 5 ms; and the pictures a second that playing shows.
#include "AppDelegate.h"
#include "BenchSupport.h"
#include "crop/PlayJob.h"
#include "support/Fixtures.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileDialog>
#include <QMainWindow>
#include <QMessageBox>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const QString movie = Fixtures::makeVideo(dir.path(), u"movie.mp4"_s, { 1920, 1080, 60.0 });
    if (movie.isEmpty())
        return 1;

    AppDelegate delegate(AppDelegate::Tools::bundled(), dir.path());
    delegate.window()->resize(1000, 720);
    delegate.applicationDidFinishLaunching();
    QMainWindow *window = delegate.window();
    QTest::qWait(200);

    double longest = 0;
    bool measuring = false;
    QElapsedTimer sinceTick;
    QTimer tick;
    tick.setTimerType(Qt::PreciseTimer);
    QObject::connect(&tick, &QTimer::timeout, [&] {
        if (measuring)
            longest = std::max(longest, sinceTick.nsecsElapsed() / 1e6 - 5);
        sinceTick.restart();
    });
    tick.start(5);
    sinceTick.start();

    // Analysis: the probe and the eleven posters.
    measuring = true;
    delegate.openFile(movie);
    auto *crop = window->findChild<QAction *>(u"cropVideoBTN"_s);
    if (!QTest::qWaitFor([&] { return crop->isEnabled(); }, 120'000))
        qFatal("the video did not load");
    const double analysisStall = longest;

    // Playing, once every poster is made: the pictures shown over five seconds, at the window's size.
    if (!QTest::qWaitFor([&] { return window->findChild<QAction *>(u"detectBordersBTN"_s)->isEnabled(); }, 60'000))
        qFatal("the posters were not made");
    auto *play = window->findChild<QAction *>(u"playBTN"_s);
    auto *player = window->findChild<PlayJob *>();
    QList<qint64> shown;
    QElapsedTimer playing;
    playing.start();
    QObject::connect(player, &PlayJob::picture, [&] { shown << playing.nsecsElapsed(); });
    if (!player)
        qFatal("no player");
    // The application's own event loop, which reads the pictures as they come.
    QEventLoop loop;
    QTimer::singleShot(5000, &loop, &QEventLoop::quit);
    longest = 0;
    play->trigger();
    loop.exec();
    play->trigger();
    const double playStall = longest;
    const double playFps = shown.size() > 1 ? (shown.size() - 1) / ((shown.last() - shown.first()) / 1e9) : 0;

    // The crop, scaled down so it runs in reasonable time; the save panel is the user's own pause.
    measuring = false;
    window->findChild<QSlider *>(u"scaleFactorSlider"_s)->setValue(25);
    crop->trigger();
    auto *panel = window->findChild<QFileDialog *>();
    panel->selectFile(dir.filePath(u"Cropped.mp4"_s));
    QTest::qWait(50);
    sinceTick.restart();
    longest = 0;
    measuring = true;
    QMetaObject::invokeMethod(panel, "accept");
    if (!QTest::qWaitFor([&] { return !window->findChildren<QMessageBox *>().isEmpty(); }, 300'000))
        qFatal("the crop did not finish");
    QTest::qWait(50);
    const double cropStall = longest;

    Bench::report("max_stall_analysis_ms", analysisStall, "ms");
    Bench::report("max_stall_play_ms", playStall, "ms");
    Bench::report("max_stall_crop_ms", cropStall, "ms");
    Bench::report("max_stall_ms", std::max({ analysisStall, playStall, cropStall }), "ms");
    Bench::report("play_fps", playFps, "fps");
    return 0;
}
