// Follow the Motion: how fast its analysis runs against the video's own
// length, and how well the crop it proposes, once written, holds a box that
// crosses the picture.
#include "BenchSupport.h"
#include "crop/CropJob.h"
#include "crop/FollowJob.h"
#include "support/Fixtures.h"

#include <QCoreApplication>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

QList<CropKeyframe> follow(const PosterPlan::Video &video, QSize crop)
{
    FollowJob job(Fixtures::ffmpeg());
    QSignalSpy finished(&job, &FollowJob::finished);
    job.start(video, crop);
    if (!finished.wait(300'000))
        qFatal("the analysis did not finish");
    return finished.first().first().value<QList<CropKeyframe>>();
}

PosterPlan::Video videoOf(const QString &path, QSize size, double duration)
{
    PosterPlan::Video video;
    video.path = path;
    video.shown = video.frame = size;
    video.duration = duration;
    video.frameRate = 25;
    return video;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const auto lavfi = [](const QString &source) { return QStringList { u"-f"_s, u"lavfi"_s, u"-i"_s, source }; };

    // A minute of 1080p25 (as bench_open's longgop), analysed over its whole length.
    const QString minute = dir.filePath(u"minute.mp4"_s);
    if (!Fixtures::runFfmpeg(lavfi(u"testsrc2=size=1920x1080:rate=25:duration=60"_s)
                             + QStringList { "-c:v", "libx264", "-preset", "ultrafast", "-g", "250", minute }))
        qFatal("ffmpeg could not make the minute");
    QList<double> times;
    for (int round = 0; round < 3; ++round)
        times << Bench::millisecondsOf([&] { follow(videoOf(minute, QSize(1920, 1080), 60), QSize(606, 1080)); });
    Bench::report("follow_analysis_ms", Bench::median(times), "ms");
    Bench::report("follow_analysis_x_realtime", 60'000 / Bench::median(times), "x");

    // A white 120 px box crossing a grey 1280 x 720 picture in 20 s, followed by a crop 300 px wide, written.
    const QString box = dir.filePath(u"box.mp4"_s);
    if (!Fixtures::runFfmpeg(lavfi(u"color=gray:s=1280x720:r=25:d=20[bg];color=white:s=120x120:r=25[box];"
                                   "[bg][box]overlay=x='(W-w)*t/20':y=300:shortest=1"_s)
                             + QStringList { "-c:v", "libx264", "-preset", "ultrafast", box }))
        qFatal("ffmpeg could not make the box");
    const QSize crop(300, 720);
    CropRequest request;
    request.input = box;
    request.destination = dir.filePath(u"followed.mp4"_s);
    request.keyframes = follow(videoOf(box, QSize(1280, 720), 20), crop);
    request.crop = request.keyframes.value(0).crop;
    request.inputDuration = 20;
    CropJob job(Fixtures::ffmpeg(), Fixtures::ffprobe());
    QSignalSpy succeeded(&job, &CropJob::succeeded);
    if (!job.runCropProcess(request) || !succeeded.wait(300'000))
        qFatal("the crop did not finish");

    // A picture holds the box when all of its white is there and none touches the crop's sides.
    QProcess decoder;
    decoder.start(Fixtures::ffmpeg(), { u"-v"_s, u"error"_s, u"-i"_s, request.destination, u"-f"_s, u"rawvideo"_s,
                                        u"-pix_fmt"_s, u"gray"_s, u"-"_s });
    decoder.waitForFinished(120'000);
    const QByteArray pictures = decoder.readAllStandardOutput();
    const qsizetype size = qsizetype(crop.width()) * crop.height();
    int holding = 0, count = 0;
    for (qsizetype at = 0; at + size <= pictures.size(); at += size, ++count) {
        int white = 0;
        bool atSide = false;
        for (qsizetype i = 0; i < size; ++i) {
            if (uchar(pictures[at + i]) > 200) {
                ++white;
                const qsizetype x = i % crop.width();
                atSide = atSide || x == 0 || x == crop.width() - 1;
            }
        }
        holding += white >= 120 * 120 * 0.95 && !atSide;
    }
    Bench::report("follow_keyframes", request.keyframes.size(), "keyframes");
    Bench::report("follow_box_inside_pct", count ? 100.0 * holding / count : 0, "%");
    return 0;
}
