// The crop job (start to its finished signal) against the same ffmpeg command
// line run directly.
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

    return 0;
}
