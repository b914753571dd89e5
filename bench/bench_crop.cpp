// The crop job (start to its finished signal) against the same ffmpeg command
// line run directly, and poster extraction against a shell loop of the same
// eleven ffmpeg commands.
#include "BenchSupport.h"
#include "crop/CropArguments.h"
#include "crop/CropJob.h"
#include "crop/PosterExtractor.h"
#include "media/FileProbe.h"
#include "support/Fixtures.h"

#include <QCoreApplication>
#include <QDir>
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

void runExtractor(PosterExtractor &extractor, const PosterExtractor::Video &video, const QString &frames)
{
    QEventLoop loop;
    QObject::connect(&extractor, &PosterExtractor::finished, &loop, &QEventLoop::quit);
    extractor.extractPosterFrames(video, frames);
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

    // Posters: eleven frames of a 60-second 1080p video.
    const QString movie = Fixtures::makeVideo(dir.path(), u"movie.mp4"_s, { 1920, 1080, 60.0, 25, 0 });
    const double duration = FileProbe(movie).duration();
    const QString extractorFrames = dir.filePath(u"Images"_s);
    const QString loopFrames = dir.filePath(u"Loop"_s);
    QDir().mkdir(loopFrames);
    // The same eleven commands, seek texts and all, one after another in a shell.
    const QStringList seeks = PosterExtractor::seekTimes(duration);
    QString script = u"n=0\nfor t in %1; do\n  n=$((n + 1))\n"_s.arg(seeks.join(u' '));
    script += u"  \"$0\" -v warning -ss \"$t\" -i \"$1\" -map 0:0 -frames:v 1 -y \"$2/out$n.jpg\" 2>/dev/null\ndone\n"_s;
    PosterExtractor extractor(Fixtures::ffmpeg());
    const auto [postersMs, loopMs] = Bench::sideBySide(
        5, [&] { runExtractor(extractor, { movie, 0, u"h264"_s, duration }, extractorFrames); },
        [&] {
            Bench::spawnAndDrain(u"/bin/sh"_s, { u"-c"_s, script, Fixtures::ffmpeg(), movie, loopFrames });
        });
    Bench::report("posters_ms", postersMs, "ms");
    Bench::report("posters_loop_ms", loopMs, "ms");
    Bench::report("posters_overhead_ratio", postersMs / loopMs, "ratio");
    return 0;
}
