// The crop job (start to its finished signal) against the same ffmpeg command
// line run directly; a variable-rate clip's crop with its frames' own times
// against the old constant rate; and Tessaly's default output against
// HandBrake's "Fast 1080p30" on a camera-like clip: time, size and sharpness;
// a crop without re-encoding against a file copy (an hour of Matroska) and
// against the default crop (a minute of 1080p).
#include "BenchSupport.h"
#include "crop/CropArguments.h"
#include "crop/CropJob.h"
#include "crop/InstantCrop.h"
#include "media/FileProbe.h"
#include "support/Fixtures.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;

namespace {

void runJob(CropJob &job, const CropRequest &request)
{
    QEventLoop loop;
    QObject::connect(&job, &CropJob::succeeded, &loop, &QEventLoop::quit);
    QObject::connect(&job, &CropJob::failed, &loop, [&](const QString &reason) {
        qFatal("crop failed: %s", qPrintable(reason));
    });
    if (!job.runCropProcess(request))
        qFatal("crop did not start");
    loop.exec();
}

// What the application asks of a crop of input with the default settings.
CropRequest defaultRequest(const QString &input, const QString &destination, QRect crop, bool instant = false)
{
    const FileProbe probe(input);
    CropRequest request;
    request.input = input;
    request.inputFormat = probe.formatName();
    request.videoStream = probe.videoStreamIndex();
    request.destination = destination;
    request.crop = crop;
    request.inputDuration = probe.videoDuration();
    request.startTime = probe.startTime();
    request.plan = OutputPlanner::plan(probe.streams(), probe.videoStreamIndex().value_or(0), probe.pictureColour(),
                                       probe.chapterCount(), *containerOf(destination), {}, instant);
    if (instant)
        request.crop = InstantCrop::snapped(crop, QSize(int(*probe.videoWidth()), int(*probe.videoHeight())),
                                            probe.pictureColour());
    return request;
}

// The mean SSIM of video's pictures against source's, cropped as crop.
double ssim(const QString &video, const QString &source, QRect crop)
{
    QProcess ffmpeg;
    ffmpeg.start(Fixtures::ffmpeg(), { u"-nostdin"_s, u"-i"_s, video, u"-i"_s, source, u"-lavfi"_s,
                                       u"[1:v]%1[ref];[0:v][ref]ssim"_s.arg(cropFilterText(crop)), u"-f"_s, u"null"_s,
                                       u"-"_s });
    ffmpeg.waitForFinished(-1);
    const QRegularExpressionMatch all =
        QRegularExpression(u"All:([0-9.]+)"_s).match(QString::fromUtf8(ffmpeg.readAllStandardError()));
    if (!all.hasMatch())
        qFatal("no SSIM for %s", qPrintable(video));
    return all.captured(1).toDouble();
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;

    // Crop: a 1080p clip, cropped to 1280 x 720. The job's fixed cost is the
    // probes around it (about 300 ms), so the crop itself takes seconds.
    const QString clip = Fixtures::makeVideo(dir.path(), u"clip.mp4"_s, { 1920, 1080, 20.0 });
    CropRequest request = defaultRequest(clip, dir.filePath(u"job.mp4"_s), QRect(200, 260, 1280, 720));
    CropJob job(Fixtures::ffmpeg(), Fixtures::ffprobe());
    const QStringList directArguments = [&] {
        // The command as the job runs it, found by what the job has measured first.
        CropRequest measured = request;
        measured.videoEnd = request.inputDuration;
        return buildCropArguments(measured, dir.filePath(u"direct.mp4"_s));
    }();
    const auto [jobMs, directMs] = Bench::sideBySide(
        3, [&] { runJob(job, request); }, [&] { Bench::spawnAndDrain(Fixtures::ffmpeg(), directArguments); });
    Bench::report("crop_job_ms", jobMs, "ms");
    Bench::report("crop_direct_ms", directMs, "ms");
    Bench::report("crop_overhead_ratio", jobMs / directMs, "ratio");

    // Without re-encoding: a minute of 1080p against its default crop, and an hour of it looped against cp.
    const QString minute = dir.filePath(u"minute.mkv"_s), hour = dir.filePath(u"hour.mkv"_s);
    if (!Fixtures::runFfmpeg({ "-f", "lavfi", "-i", "testsrc2=size=1920x1080:rate=25:duration=60", "-f", "lavfi", "-i",
                               "sine=duration=60", "-c:v", "libx264", "-preset", "superfast", "-b:v", "1M", "-g", "250",
                               "-c:a", "aac", minute })
        || !Fixtures::runFfmpeg({ "-stream_loop", "59", "-i", minute, "-c", "copy", hour }))
        qFatal("no minute or hour of 1080p");
    const QRect middle(160, 90, 1600, 900);
    const auto [instantMs, reencodeMs] = Bench::sideBySide(
        1, [&] { runJob(job, defaultRequest(minute, dir.filePath(u"instant.mkv"_s), middle, true)); },
        [&] { runJob(job, defaultRequest(minute, dir.filePath(u"reencoded.mkv"_s), middle)); });
    Bench::report("instant_crop_minute_ms", instantMs, "ms");
    Bench::report("default_crop_minute_ms", reencodeMs, "ms");
    Bench::report("instant_crop_vs_reencode_ratio", instantMs / reencodeMs, "ratio");
    const CropRequest hourRequest = defaultRequest(hour, dir.filePath(u"hour-instant.mkv"_s), middle, true);
    const auto [hourMs, copyMs] = Bench::sideBySide(
        3, [&] { runJob(job, hourRequest); },
        [&] { Bench::spawnAndDrain(u"/bin/cp"_s, { hour, dir.filePath(u"hour-copy.mkv"_s) }); });
    Bench::report("instant_crop_hour_ms", hourMs, "ms");
    Bench::report("copy_hour_ms", copyMs, "ms");
    Bench::report("instant_crop_vs_copy_ratio", hourMs / copyMs, "ratio");
    QFile::remove(hour);

    // A variable-rate clip as phones write them: a 120 fps time base, mostly a
    // frame in four. The old arguments made it constant, repeating frames.
    const QString vfr = dir.filePath(u"vfr.mp4"_s);
    if (!Fixtures::runFfmpeg({ "-f", "lavfi", "-i", "testsrc2=size=1920x1080:rate=120:duration=6", "-vf",
                               "select='not(mod(n,4))+between(t,2,2.2)'", "-fps_mode", "vfr", "-c:v", "libx264",
                               "-preset", "ultrafast", vfr }))
        qFatal("no variable-rate clip");
    CropRequest vfrRequest = defaultRequest(vfr, dir.filePath(u"vfr-kept.mp4"_s), QRect(200, 260, 1280, 720));
    const QStringList passthrough = buildCropArguments(vfrRequest, dir.filePath(u"vfr-kept.mp4"_s));
    QStringList constant = buildCropArguments(vfrRequest, dir.filePath(u"vfr-constant.mp4"_s));
    constant.remove(constant.indexOf(u"-fps_mode"_s), 2);
    const auto [constantMs, passthroughMs] = Bench::sideBySide(
        3, [&] { Bench::spawnAndDrain(Fixtures::ffmpeg(), constant); },
        [&] { Bench::spawnAndDrain(Fixtures::ffmpeg(), passthrough); });
    Bench::report("crop_vfr_constant_ms", constantMs, "ms");
    Bench::report("crop_vfr_passthrough_ms", passthroughMs, "ms");
    Bench::report("crop_vfr_speedup", constantMs / passthroughMs, "ratio");

    // 30 s of 1080p30 with a camera's grain (noise that changes each picture), cropped to 1600 x 900 in the middle,
    // unscaled: Tessaly's default settings against HandBrake's "Fast 1080p30", side by side.
    const QString handBrake = QStandardPaths::findExecutable(u"HandBrakeCLI"_s);
    if (handBrake.isEmpty())
        qFatal("HandBrakeCLI is needed for the comparison (apt-get install handbrake-cli)");
    const QString grain = dir.filePath(u"grain.mkv"_s);
    if (!Fixtures::runFfmpeg({ "-f", "lavfi", "-i", "testsrc2=size=1920x1080:rate=30:duration=30,noise=alls=7:allf=t",
                               "-f", "lavfi", "-i", "sine=duration=30", "-c:v", "libx264", "-preset", "veryfast",
                               "-crf", "12", "-c:a", "aac", grain }))
        qFatal("no grainy clip");
    const QString ours = dir.filePath(u"tessaly.mp4"_s), theirs = dir.filePath(u"handbrake.mp4"_s);
    const CropRequest grainRequest = defaultRequest(grain, ours, middle);
    const auto [tessalyMs, handBrakeMs] = Bench::sideBySide(
        2, [&] { runJob(job, grainRequest); },
        [&] {
            Bench::spawnAndDrain(handBrake, { u"-i"_s, grain, u"-o"_s, theirs, u"--preset"_s, u"Fast 1080p30"_s,
                                              u"--crop"_s, u"90:90:160:160"_s, u"--width"_s, u"1600"_s,
                                              u"--height"_s, u"900"_s });
        });
    const double ourSsim = ssim(ours, grain, middle), theirSsim = ssim(theirs, grain, middle);
    Bench::report("crop_tessaly_ms", tessalyMs, "ms");
    Bench::report("crop_handbrake_ms", handBrakeMs, "ms");
    Bench::report("crop_vs_handbrake_time_ratio", tessalyMs / handBrakeMs, "ratio");
    Bench::report("crop_vs_handbrake_size_ratio", double(QFileInfo(ours).size()) / QFileInfo(theirs).size(), "ratio");
    Bench::report("crop_tessaly_ssim", ourSsim, "ssim");
    Bench::report("crop_handbrake_ssim", theirSsim, "ssim");
    Bench::report("crop_ssim_vs_handbrake", ourSsim - theirSsim, "ssim");
    return 0;
}
