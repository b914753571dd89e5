// Detect Borders over the eleven posters of a 1080p film, full size as on a
// 1080p screen: the time from the click to the crop.
#include "BenchSupport.h"
#include "selection/BorderDetection.h"
#include "support/Fixtures.h"

#include <QCoreApplication>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    if (!Fixtures::runFfmpeg({ u"-f"_s, u"lavfi"_s, u"-i"_s,
                               u"testsrc2=size=1920x804:rate=1,noise=alls=6:allf=t,pad=1920:1080:0:138"_s,
                               u"-frames:v"_s, u"11"_s, u"-q:v"_s, u"3"_s, dir.filePath(u"out%d.jpg"_s) }))
        return 1;
    QStringList posters;
    for (int n = 1; n <= 11; ++n)
        posters << dir.filePath(u"out%1.jpg"_s.arg(n));

    QList<double> times;
    std::optional<QRect> crop;
    for (int round = 0; round < 15; ++round)
        times << Bench::millisecondsOf([&] { crop = BorderDetection::cropFor(posters, QSize(1920, 1080), QSize(100, 100)); });
    if (crop != QRect(0, 138, 1920, 804))
        qWarning("found %d,%d %dx%d", crop ? crop->x() : -1, crop ? crop->y() : -1, crop ? crop->width() : 0,
                 crop ? crop->height() : 0);
    Bench::report("detect_borders_ms", Bench::median(times), "ms");
    return 0;
}
