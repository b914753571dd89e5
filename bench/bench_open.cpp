// Opening a video, from the file handed over to all eleven posters made,
// against HandBrake's scan with eleven previews of the same file, side by
// side, on six kinds of file made by ffmpeg, an hour-long recording among
// them; the time to the first poster on screen; how the open grows from a
// minute to an hour; the motion map; and a scrub step to its keyframe picture.
#include "AppDelegate.h"
#include "BenchSupport.h"
#include "ImageDropView.h"
#include "SelectionHolder.h"
#include "support/Fixtures.h"
#include "util/TimeText.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QMainWindow>
#include <QSlider>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

struct Kind
{
    const char *name;
    QStringList make; // ffmpeg's arguments, the output last
};

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QString handBrake = QStandardPaths::findExecutable(u"HandBrakeCLI"_s);
    if (handBrake.isEmpty())
        qFatal("HandBrakeCLI is needed for the comparison (apt-get install handbrake-cli)");
    QTemporaryDir dir;
    const auto lavfi = [](const QString &source) { return QStringList { u"-f"_s, u"lavfi"_s, u"-i"_s, source }; };
    const Kind kinds[] = {
        // A 4K60 phone clip of 0.3 s with one keyframe.
        { "phone4k", lavfi(u"testsrc2=size=3840x2160:rate=60:duration=0.3"_s) + lavfi(u"sine=duration=0.3"_s)
                         + QStringList { "-c:v", "libx264", "-preset", "ultrafast", "-g", "1000", "-c:a", "aac",
                                         dir.filePath(u"phone4k.mp4"_s) } },
        // A 1080p60 HEVC phone clip of 0.9 s.
        { "phonehevc", lavfi(u"testsrc2=size=1920x1080:rate=60:duration=0.9"_s)
                           + QStringList { "-c:v", "libx265", "-preset", "ultrafast", "-x265-params", "log-level=error",
                                           "-tag:v", "hvc1", dir.filePath(u"phonehevc.mp4"_s) } },
        // A minute of 1080p25 with a keyframe every 250 frames.
        { "longgop", lavfi(u"testsrc2=size=1920x1080:rate=25:duration=60"_s)
                         + QStringList { "-c:v", "libx264", "-preset", "ultrafast", "-g", "250", "-keyint_min", "250",
                                         "-sc_threshold", "0", dir.filePath(u"longgop.mp4"_s) } },
        // 61 s of 1080p25 with open GOPs and B-frames, a keyframe every 250 frames, and AAC, as cameras write.
        { "mkv61", lavfi(u"testsrc2=size=1920x1080:rate=25:duration=61"_s) + lavfi(u"sine=duration=61"_s)
                       + QStringList { "-c:v", "libx264", "-preset", "superfast", "-b:v", "1M", "-bf", "3", "-g", "250",
                                       "-keyint_min", "250", "-sc_threshold", "0", "-x264-params", "open-gop=1",
                                       "-c:a", "aac", dir.filePath(u"mkv61.mkv"_s) } },
        // 10 s of 720p30 with a single keyframe, as screen recorders write.
        { "onekey", lavfi(u"testsrc2=size=1280x720:rate=30:duration=10"_s)
                        + QStringList { "-c:v", "libx264", "-preset", "veryfast", "-g", "1000", "-keyint_min", "1000",
                                        "-sc_threshold", "0", dir.filePath(u"onekey.mp4"_s) } },
        // That minute looped to an hour with stream copies, in Matroska and in MPEG-TS.
        { "mkv1h", { "-stream_loop", "58", "-i", dir.filePath(u"mkv61.mkv"_s), "-c", "copy",
                     dir.filePath(u"mkv1h.mkv"_s) } },
        { "ts1h", { "-stream_loop", "58", "-i", dir.filePath(u"mkv61.mkv"_s), "-c", "copy",
                    dir.filePath(u"ts1h.ts"_s) } },
    };

    AppDelegate delegate(AppDelegate::Tools::bundled(), dir.path());
    delegate.window()->resize(1280, 800);
    delegate.applicationDidFinishLaunching();
    QTest::qWait(200);
    auto *allPosters = delegate.window()->findChild<QAction *>(u"detectBordersBTN"_s);
    auto *poster = delegate.window()->findChild<ImageDropView *>(u"posterView"_s);

    QHash<QByteArray, double> openMsOf;
    for (const Kind &kind : kinds) {
        if (!Fixtures::runFfmpeg(kind.make))
            qFatal("the %s file could not be made", kind.name);
        const QString file = kind.make.last();
        QList<double> firstPosters;
        const auto open = [&] {
            // A millisecond timer looks for the first poster.
            QElapsedTimer since;
            double firstPoster = -1;
            QTimer look;
            look.setTimerType(Qt::PreciseTimer);
            // The video opened before stays shown until the new one's first poster replaces it.
            const QString before = poster->imagePath();
            QObject::connect(&look, &QTimer::timeout, [&] {
                if (firstPoster < 0 && !poster->imagePath().isEmpty() && poster->imagePath() != before)
                    firstPoster = since.nsecsElapsed() / 1e6;
            });
            look.start(1);
            since.start();
            delegate.openFile(file);
            QEventLoop loaded;
            QObject::connect(allPosters, &QAction::changed, &loaded, [&] {
                if (allPosters->isEnabled())
                    loaded.quit();
            });
            loaded.exec();
            firstPosters << (firstPoster < 0 ? since.nsecsElapsed() / 1e6 : firstPoster);
        };
        const auto [openMs, handBrakeMs] = Bench::sideBySide(
            5, open, [&] { Bench::spawnAndDrain(handBrake, { u"-i"_s, file, u"--scan"_s, u"--previews"_s, u"11:0"_s }); });
        firstPosters.removeFirst(); // the untimed first run
        const QByteArray name(kind.name);
        Bench::report(("open_ms_" + name).constData(), openMs, "ms");
        Bench::report(("handbrake_scan_ms_" + name).constData(), handBrakeMs, "ms");
        Bench::report(("open_vs_handbrake_" + name + "_ratio").constData(), openMs / handBrakeMs, "ratio");
        Bench::report(("first_poster_ms_" + name).constData(), Bench::median(firstPosters), "ms");
        openMsOf[name] = openMs;
        // Eleven moments, not one picture eleven times.
        if (name == "onekey")
            Bench::report("poster_distinct_onekey",
                          delegate.window()->findChild<QLabel *>(u"posterTimeLBL"_s)->text().section(u'/', 1).toInt(),
                          "posters");
    }
    // Measured in one run: a file sixty times as long should open as fast.
    Bench::report("open_growth_ratio", openMsOf["mkv1h"] / openMsOf["mkv61"], "ratio");

    // The motion map of the minute of 1080p, from opening with the map on to the map on screen;
    // another file between, so each open starts afresh.
    auto *motion = delegate.window()->findChild<QAction *>(u"motionMapBTN"_s);
    auto *holder = delegate.window()->findChild<SelectionHolder *>(u"selectionRectangleHolder"_s);
    motion->setChecked(true);
    QList<double> mapMs;
    for (int round = 0; round < 10; ++round) {
        const QString name = round % 2 ? u"mkv61.mkv"_s : u"longgop.mp4"_s;
        QElapsedTimer since;
        since.start();
        delegate.openFile(dir.filePath(name));
        if (!QTest::qWaitFor([&] { return delegate.window()->windowTitle() == name && holder->hasMotionMap(); }, 60'000))
            qFatal("no motion map for %s", qPrintable(name));
        if (round % 2 == 0)
            mapMs << since.nsecsElapsed() / 1e6;
    }
    Bench::report("motion_map_ms", Bench::median(mapMs), "ms");
    motion->setChecked(false);

    // A step of the scrubber to a time away from the posters, until the keyframe picture at or
    // before it is on screen; each from rest, once the exact picture of the step before is shown.
    auto *slider = delegate.window()->findChild<QSlider *>(u"posterPositionSlider"_s);
    const auto seekPreview = [&](const QString &name, const QList<int> &places) {
        delegate.openFile(dir.filePath(name));
        if (!QTest::qWaitFor([&] { return delegate.window()->windowTitle() == name && allPosters->isEnabled(); }, 60'000))
            qFatal("%s did not open", qPrintable(name));
        // As a user's pointer comes to the slider before a drag.
        QTest::mouseMove(slider);
        QList<double> stepMs;
        for (const int place : places) {
            const QString before = poster->imagePath();
            QElapsedTimer since;
            since.start();
            slider->setValue(place);
            if (!QTest::qWaitFor([&] { return poster->imagePath() != before && poster->drawnImagePath() == poster->imagePath(); }, 10'000))
                qFatal("no picture at %d ms of %s", place, qPrintable(name));
            stepMs << since.nsecsElapsed() / 1e6;
            QTest::qWait(1000);
        }
        return Bench::median(stepMs);
    };
    Bench::report("seek_preview_ms", seekPreview(u"longgop.mp4"_s, { 3'700, 23'700, 13'700, 43'700, 33'700, 53'700, 7'300 }), "ms");

    // A held ], as the keyboard repeats it: thirty presses 33 ms apart, then the time from the last one until the
    // picture of the time asked for is shown.
    // The minute of 1080p is open still.
    auto *label = delegate.window()->findChild<QLabel *>(u"posterTimeLBL"_s);
    QApplication::setActiveWindow(delegate.window());
    QList<double> lagMs;
    for (const int from : { 2'000, 11'000, 4'500, 9'700, 1'300 }) {
        slider->setValue(from);
        QTest::qWait(1000);
        for (int press = 0; press < 30; ++press) {
            QTest::keyClick(delegate.window(), Qt::Key_BracketRight);
            QTest::qWait(33);
        }
        QElapsedTimer since;
        since.start();
        // The exact picture: the first at or after the time asked for.
        const double asked = (from + 30'000) / 1000.0;
        const auto shown = [&] {
            const double time = TimeText::parse(label->text().section(u' ', 0, 0)).value_or(-1);
            return time >= asked - 0.0005 && time < asked + 0.04 && poster->drawnImagePath() == poster->imagePath();
        };
        if (!QTest::qWaitFor(shown, 10'000))
            qFatal("the picture of %g s never came: %s", asked, qPrintable(label->text()));
        lagMs << since.nsecsElapsed() / 1e6 + 33;
    }
    Bench::report("key_repeat_lag_ms", Bench::median(lagMs), "ms");
    Bench::report("seek_preview_ms_phone4k", seekPreview(u"phone4k.mp4"_s, { 37, 113, 187, 263, 137, 213 }), "ms");
    return 0;
}
