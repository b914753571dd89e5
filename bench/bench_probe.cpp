// The cost of FileProbe over running the same ffprobe command line directly.
#include "BenchSupport.h"
#include "media/FileProbe.h"
#include "media/ProbeTool.h"
#include "support/Fixtures.h"

#include <QCoreApplication>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    Fixtures::Video video { 1920, 1080, 2.0 };
    const QString path = Fixtures::makeVideo(dir.path(), u"1080p.mp4"_s, video);
    if (path.isEmpty())
        return 1;

    const auto [probeMs, directMs] = Bench::sideBySide(
        31,
        [&] {
            const FileProbe probe(path);
            if (!probe.hasVideoTrack())
                qFatal("the fixture did not probe as a video");
        },
        [&] {
            if (Bench::spawnAndDrain(Fixtures::ffprobe(), ProbeTool::arguments(path)) <= 0)
                qFatal("ffprobe printed nothing");
        });
    Bench::report("probe_ms", probeMs, "ms");
    Bench::report("probe_direct_ms", directMs, "ms");
    Bench::report("probe_overhead_ratio", probeMs / directMs, "ratio");
    return 0;
}
