// The crop job (start to its finished signal) against the same ffmpeg command
// line run directly, and a variable-rate clip's crop with its frames' own
// times against the old constant rate.
#include "BenchSupport.h"
#include "crop/CropArguments.h"
#include "crop/CropJob.h"
#include "media/FileProbe.h"
#include "support/Fixtures.h"

#include <QCoreApplication>
#include <QEventLoop>
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

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;

    // Crop: a 1080p clip, cropped to 1280 x 720. The job's fixed cost is the
    // probe of its output (about 150 ms), so the crop itself takes seconds.
    const QString clip = Fixtures::makeVideo(dir.path(), u"clip.mp4"_s, { 1920, 1080, 20.0 });
    CropRequest request;
    request.input = clip;
    request.destination = dir.filePath(u"job.mp4"_s);
    request.crop = QRect(200, 260, 1280, 720);
    request.inputDuration = FileProbe(clip).duration();
    const QStringList directArguments = buildCropArguments(request, dir.filePath(u"direct.mp4"_s));
    CropJob job(Fixtures::ffmpeg(), Fixtures::ffprobe());
    const auto [jobMs, directMs] = Bench::sideBySide(
        3, [&] { runJob(job, request); }, [&] { Bench::spawnAndDrain(Fixtures::ffmpeg(), directArguments); });
    Bench::report("crop_job_ms", jobMs, "ms");
    Bench::report("crop_direct_ms", directMs, "ms");
    Bench::report("crop_overhead_ratio", jobMs / directMs, "ratio");

    // A variable-rate clip as phones write them: a 120 fps time base, mostly a
    // frame in four. The old arguments made it constant, repeating frames.
    const QString vfr = dir.filePath(u"vfr.mp4"_s);
    if (!Fixtures::runFfmpeg({ "-f", "lavfi", "-i", "testsrc2=size=1920x1080:rate=120:duration=6", "-vf",
                               "select='not(mod(n,4))+between(t,2,2.2)'", "-fps_mode", "vfr", "-c:v", "libx264",
                               "-preset", "ultrafast", vfr }))
        qFatal("no variable-rate clip");
    request.input = vfr;
    const QStringList passthrough = buildCropArguments(request, dir.filePath(u"vfr-kept.mp4"_s));
    QStringList constant = buildCropArguments(request, dir.filePath(u"vfr-constant.mp4"_s));
    constant.remove(constant.indexOf(u"-fps_mode"_s), 2);
    const auto [constantMs, passthroughMs] = Bench::sideBySide(
        3, [&] { Bench::spawnAndDrain(Fixtures::ffmpeg(), constant); },
        [&] { Bench::spawnAndDrain(Fixtures::ffmpeg(), passthrough); });
    Bench::report("crop_vfr_constant_ms", constantMs, "ms");
    Bench::report("crop_vfr_passthrough_ms", passthroughMs, "ms");
    Bench::report("crop_vfr_speedup", constantMs / passthroughMs, "ratio");
    return 0;
}
