#include "crop/CropJob.h"
#include "crop/InstantCrop.h"
#include "crop/OutputPlan.h"
#include "crop/PosterPlan.h"
#include "media/InputFormats.h"
#include "crop/ScratchDirectory.h"
#include "media/FileProbe.h"
#include "util/FileRename.h"
#include "selection/CropKeyframes.h"
#include "util/Numbers.h"
#include "support/Fixtures.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>

using namespace Qt::StringLiterals;

// The crop job at its edges: a trim that starts between keyframes of a file
// whose seeks land anywhere, a cancel before the encoder starts, and a process
// killed mid-crop; the application tests run the whole road, failing encoders
// included.
class TestCropJob : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void trimmedBetweenKeyframes_data();
    void trimmedBetweenKeyframes();
    void withoutReencoding_data();
    void withoutReencoding();
    void movingCrop_data();
    void movingCrop();
    void cancelEarlyAndTwice();
    void nameTakenMeanwhile_data();
    void nameTakenMeanwhile();
    void stalledEncoder();
    void killedDuringACrop();

private:
    QTemporaryDir m_dir;
    QString m_input;
};

namespace {

CropRequest requestFor(const QString &input, const QString &destination, QRect crop)
{
    CropRequest request;
    request.input = input;
    request.destination = destination;
    request.crop = crop;
    return request;
}

} // namespace

void TestCropJob::initTestCase()
{
    m_input = Fixtures::makeVideo(m_dir.path(), u"long.mp4"_s, { 1280, 720, 20.0 });
    QVERIFY(!m_input.isEmpty());
}

void TestCropJob::trimmedBetweenKeyframes_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QStringList>("encoding");
    QTest::addColumn<QString>("format"); // as the probe names it
    QTest::addColumn<Trim>("trim");
    // Open GOPs: the pictures shown just before a keyframe are decoded after it, from the group before.
    QTest::newRow("MPEG-TS, from two pictures before the keyframe at 2 s")
        << u"open.ts"_s
        << QStringList { "-c:v", "libx264", "-preset", "superfast", "-bf", "3", "-g", "50", "-keyint_min", "50",
                         "-sc_threshold", "0", "-x264-params", "open-gop=1" }
        << u"mpegts"_s << Trim { 1.92, 2.92 };
    // A seek to the start would find the next keyframe only at 8 s.
    QTest::newRow("MPEG-PS, 5 s into a GOP of 4 s") << u"gop.mpg"_s
                                                    << QStringList { "-c:v", "mpeg2video", "-g", "100", "-bf", "2" }
                                                    << u"mpeg"_s << Trim { 5, 6 };
}

void TestCropJob::trimmedBetweenKeyframes()
{
    QFETCH(QString, file);
    QFETCH(QStringList, encoding);
    QFETCH(QString, format);
    QFETCH(Trim, trim);
    const QString input = m_dir.filePath(file);
    QVERIFY(Fixtures::runFfmpeg(QStringList { "-f", "lavfi", "-i", "testsrc2=size=320x240:rate=25:duration=10" }
                                + encoding + QStringList { input }));
    QTemporaryDir out;
    CropRequest request = requestFor(input, out.filePath(u"Cropped.mp4"_s), QRect(0, 0, 320, 240));
    request.trim = trim;
    request.seekLead = InputFormats::seekLead(format);
    CropJob job(Fixtures::ffmpeg(), Fixtures::ffprobe());
    QSignalSpy succeeded(&job, &CropJob::succeeded);
    QVERIFY(job.runCropProcess(request));
    QTRY_COMPARE_WITH_TIMEOUT(succeeded.count(), 1, 30'000);
    // Every picture of the second, the first at the output's start.
    QCOMPARE(Fixtures::videoFrameCount(request.destination), 25);
    QCOMPARE(Fixtures::probed(request.destination, { u"-show_entries"_s, u"stream=start_time"_s }).toDouble(), 0.0);
}

void TestCropJob::withoutReencoding_data()
{
    QTest::addColumn<QStringList>("encoding"); // of 2 s at 25 pictures a second with sound, a keyframe a second
    QTest::addColumn<QRect>("wanted");
    QTest::addColumn<QRect>("snapped");
    QTest::addColumn<double>("start"); // of the trim; its copy starts on the keyframe at or before it
    const QStringList hdr { "-color_primaries", "bt2020", "-color_trc", "smpte2084", "-colorspace", "bt2020nc" };
    // Coded as 192 lines, of which 180 are shown: the new window adds to the stream's own.
    QTest::newRow("H.264 4:2:0, odd edges, a window already")
        << QStringList { "-s", "320x180", "-pix_fmt", "yuv420p", "-c:v", "libx264" } << QRect(102, 31, 150, 101)
        << QRect(128, 32, 150, 102) << 1.4;
    QTest::newRow("H.264 4:2:2, an odd top line, left off an even multiple of 64")
        << QStringList { "-s", "640x360", "-pix_fmt", "yuv422p", "-c:v", "libx264" } << QRect(256, 33, 300, 201)
        << QRect(192, 33, 300, 201) << 0.0;
    QTest::newRow("HEVC Main10 HDR, no window")
        << QStringList { "-s", "640x360", "-pix_fmt", "yuv420p10le", "-c:v", "libx265" } + hdr
        << QRect(64, 0, 512, 360) << QRect(64, 0, 512, 360) << 0.5;
    QTest::newRow("HEVC Main10, a window already")
        << QStringList { "-s", "320x180", "-pix_fmt", "yuv420p10le", "-c:v", "libx265" } << QRect(20, 9, 257, 160)
        << QRect(0, 10, 258, 160) << 0.0;
}

void TestCropJob::withoutReencoding()
{
    QFETCH(QStringList, encoding);
    QFETCH(QRect, wanted);
    QFETCH(QRect, snapped);
    QFETCH(double, start);
    QTemporaryDir out;
    const QString input = out.filePath(u"source.mp4"_s);
    QVERIFY(Fixtures::runFfmpeg(
        QStringList { "-f", "lavfi", "-i", "testsrc2=size=640x360:rate=25:duration=2", "-f", "lavfi", "-i",
                      "sine=duration=2", "-preset", "ultrafast", "-g", "25", "-x265-params", "log-level=error" }
        + encoding + QStringList { "-c:a", "aac", input }));
    const FileProbe probe(input);
    const QRect crop = InstantCrop::snapped(wanted, QSize(int(*probe.videoWidth()), int(*probe.videoHeight())),
                                            probe.pictureColour());
    QCOMPARE(crop, snapped);
    CropRequest request = requestFor(input, out.filePath(u"Cropped.mp4"_s), crop);
    request.plan = OutputPlanner::plan(probe.streams(), *probe.videoStreamIndex(), probe.pictureColour(), 0,
                                       Container::mp4, {}, true);
    if (start > 0) {
        const QString listing = Fixtures::output(
            Fixtures::ffprobe(), InstantCrop::keyframeListing(input, *probe.videoStreamIndex(), probe.formatName(),
                                                              probe.startTime(), 0, start));
        request.trim = Trim { InstantCrop::keyframeAtOrBefore(PosterPlan::keyframes(listing.toUtf8()), start), 2 };
        QCOMPARE(request.trim->start, std::floor(start));
    }
    CropJob job(Fixtures::ffmpeg(), Fixtures::ffprobe());
    QSignalSpy succeeded(&job, &CropJob::succeeded);
    QVERIFY(job.runCropProcess(request));
    QTRY_COMPARE_WITH_TIMEOUT(succeeded.count(), 1, 30'000);

    // What a player decodes: the size declared, every picture the source's own at the same place.
    const auto hashes = [](const QStringList &input, const QStringList &options) {
        QStringList lines = Fixtures::output(Fixtures::ffmpeg(), QStringList { "-v", "error" } + input + options
                                                 + QStringList { "-f", "framemd5", "-" })
                                .split(u'\n');
        lines.removeIf([](const QString &line) { return line.startsWith(u'#') && !line.startsWith(u"#dim"_s); });
        for (QString &line : lines)
            line = line.section(u',', -1).trimmed();
        return lines;
    };
    const QString output = request.destination;
    QCOMPARE(Fixtures::probed(output, { u"-show_entries"_s, u"stream=width,height"_s }),
             u"%1,%2"_s.arg(crop.width()).arg(crop.height()));
    const QStringList seek { "-ss", decimalText(request.trim ? request.trim->start : 0), "-i", input };
    QCOMPARE(hashes({ "-i", output }, { "-map", "0:v" }), hashes(seek, { "-map", "0:v", "-vf", cropFilterText(crop) }));
    const QStringList colour { u"-show_entries"_s, u"stream=pix_fmt,color_primaries,color_transfer,color_space"_s };
    QCOMPARE(Fixtures::probed(output, colour), Fixtures::probed(input, colour));
    // The sound's packets, copied as they were.
    const QStringList sound = hashes({ "-i", output }, { "-map", "0:a", "-c", "copy" });
    QVERIFY(hashes({ "-i", input }, { "-map", "0:a", "-c", "copy" }).join(u' ').contains(sound.join(u' ')));
}

void TestCropJob::movingCrop_data()
{
    QTest::addColumn<QList<CropKeyframe>>("keys");
    QTest::addColumn<std::optional<Trim>>("trim");
    const QList<CropKeyframe> three { { 0.4, QRect(0, 0, 160, 120) }, { 1.2, QRect(300, 200, 160, 120) },
                                      { 2, QRect(100, 20, 160, 120) } };
    // As many as a long video may have: more than ffmpeg's parser nests, longer than a command line holds.
    QList<CropKeyframe> many;
    for (int n = 0; n < 1500; ++n)
        many << CropKeyframe { 0.2 + n * 0.0016, QRect(n % 7 * 40, n % 5 * 40, 160, 120) };
    QTest::newRow("whole") << three << std::optional<Trim>();
    QTest::newRow("trimmed from 0.8 s") << three << std::optional(Trim { 0.8, 2.8 });
    QTest::newRow("1500 keyframes") << many << std::optional<Trim>();
}

void TestCropJob::movingCrop()
{
    QFETCH(QList<CropKeyframe>, keys);
    QFETCH(std::optional<Trim>, trim);
    QTemporaryDir out;
    const QString input = out.filePath(u"source.mp4"_s);
    QVERIFY(Fixtures::runFfmpeg({ "-f", "lavfi", "-i", "testsrc2=size=640x360:rate=25:duration=3", "-c:v", "libx264",
                                  "-preset", "ultrafast", "-pix_fmt", "yuv420p", input }));
    CropRequest request = requestFor(input, out.filePath(u"Cropped.mp4"_s), keys.first().crop);
    request.keyframes = keys;
    request.trim = trim;
    request.plan.crf = 0; // lossless, so that pictures compare exactly
    CropJob job(Fixtures::ffmpeg(), Fixtures::ffprobe());
    QSignalSpy succeeded(&job, &CropJob::succeeded);
    QVERIFY(job.runCropProcess(request));
    QTRY_COMPARE_WITH_TIMEOUT(succeeded.count(), 1, 30'000);

    // The picture written at each moment is the source's crop where the selection was shown then.
    const double start = trim ? trim->start : 0;
    const auto picture = [](const QString &file, double time, const QString &filter) {
        return Fixtures::output(Fixtures::ffmpeg(), { "-v", "error", "-ss", decimalText(time), "-i", file, "-frames:v",
                                                      "1", "-vf", filter, "-f", "framemd5", "-" })
            .section(u',', -1)
            .trimmed();
    };
    for (const double time : { 0.0, 0.4, 0.8, 1.0, 1.2, 1.6, 2.0, 2.4 }) {
        if (time < start)
            continue;
        const QRect shown = CropKeyframes::cropAt(keys, time);
        QCOMPARE(picture(request.destination, time - start, u"null"_s), picture(input, time, cropFilterText(shown)));
    }
}

void TestCropJob::cancelEarlyAndTwice()
{
    QTemporaryDir out;
    CropJob job(Fixtures::ffmpeg(), Fixtures::ffprobe());
    QSignalSpy cancelled(&job, &CropJob::cancelled);
    QSignalSpy ended(&job, &CropJob::succeeded);
    QVERIFY(job.runCropProcess(requestFor(m_input, out.filePath(u"Cropped.mp4"_s), QRect(0, 0, 64, 64))));
    // Before the encoder has even reported that it started.
    job.cancel();
    job.cancel();
    QTRY_VERIFY(!job.isRunning());
    QCOMPARE(cancelled.count(), 1);
    QCOMPARE(ended.count(), 0);
    QVERIFY(Fixtures::filesIn(out.path()).isEmpty());
    QTRY_COMPARE_WITH_TIMEOUT(Fixtures::childProcesses(), QList<qint64>(), 2000);
}

void TestCropJob::nameTakenMeanwhile_data()
{
    QTest::addColumn<bool>("agreed");       // a file was there, and the user agreed to replace it
    QTest::addColumn<QString>("meanwhile"); // what happens to the name during the crop
    QTest::addColumn<bool>("replaced");     // the crop took the name

    // Two windows crop to one new name: the first to finish keeps it.
    QTest::newRow("another crop finishes first") << false << u"another crop"_s << false;
    QTest::newRow("the file agreed to") << true << QString() << true;
    QTest::newRow("the file agreed to, replaced by another") << true << u"replaced"_s << false;
}

void TestCropJob::nameTakenMeanwhile()
{
    QFETCH(bool, agreed);
    QFETCH(QString, meanwhile);
    QFETCH(bool, replaced);

    QTemporaryDir out;
    const QString destination = out.filePath(u"out.mp4"_s);
    CropRequest request = requestFor(m_input, destination, QRect(0, 0, 64, 64));
    if (agreed) {
        Fixtures::writeFile(destination, "the file the user agreed to replace");
        request.replaces = FileRename::identity(destination);
    }
    // Slow to start, so that the name is taken before it ends.
    CropJob job(Fixtures::writeScript(out.filePath(u".slow"_s), "sleep 1; exec \"" + Fixtures::ffmpeg().toUtf8() + "\" \"$@\""),
                Fixtures::ffprobe());
    QString written;
    connect(&job, &CropJob::succeeded, this, [&](const FileProbe &output) { written = *output.fileFullPath(); });
    QVERIFY(job.runCropProcess(request));
    CropJob other(Fixtures::ffmpeg(), Fixtures::ffprobe());
    QSignalSpy otherSucceeded(&other, &CropJob::succeeded);
    if (meanwhile == u"another crop") {
        QVERIFY(other.runCropProcess(requestFor(m_input, destination, QRect(0, 0, 128, 128))));
        QTRY_COMPARE_WITH_TIMEOUT(otherSucceeded.count(), 1, 30'000);
    } else if (meanwhile == u"replaced") {
        QVERIFY(QFile::remove(destination));
        Fixtures::writeFile(destination, "a file that came after the user's choice");
    }
    const QByteArray there = Fixtures::readFile(destination);
    QTRY_VERIFY_WITH_TIMEOUT(!written.isEmpty(), 30'000);
    QCOMPARE(written, replaced ? destination : out.filePath(u"out (2).mp4"_s));
    QCOMPARE(Fixtures::probed(written, { u"-show_entries"_s, u"stream=width"_s }), u"64"_s);
    if (!replaced)
        QCOMPARE(Fixtures::readFile(destination), there);
    QCOMPARE(Fixtures::filesIn(out.path()).size(), replaced ? 2 : 3);
}

void TestCropJob::stalledEncoder()
{
    // An encoder stopped mid-crop: said once the stall timeout has passed, and a cancel ends it within seconds.
    QTemporaryDir out;
    CropJob job(Fixtures::writeScript(out.filePath(u".stopping"_s),
                                      "(sleep 0.3; kill -STOP $$) & exec \"" + Fixtures::ffmpeg().toUtf8() + "\" \"$@\""),
                Fixtures::ffprobe());
    job.setStallTimeout(1000);
    QSignalSpy stalled(&job, &CropJob::stalled);
    QSignalSpy cancelled(&job, &CropJob::cancelled);
    QVERIFY(job.runCropProcess(requestFor(m_input, out.filePath(u"Cropped.mp4"_s), QRect(0, 0, 1280, 720))));
    QTRY_COMPARE_WITH_TIMEOUT(stalled.count(), 1, 10'000);
    QCOMPARE(stalled[0][0].toBool(), true);
    QElapsedTimer clock;
    clock.start();
    job.cancel();
    QTRY_COMPARE_WITH_TIMEOUT(cancelled.count(), 1, 5000);
    QVERIFY(clock.elapsed() < 5000);
    QCOMPARE(Fixtures::filesIn(out.path()), QStringList { u".stopping"_s });
    QTRY_COMPARE_WITH_TIMEOUT(Fixtures::childProcesses(), QList<qint64>(), 2000);
}

void TestCropJob::killedDuringACrop()
{
    // Tessaly killed outright leaves its temporary output; the next launch removes it, and nothing else.
    QTemporaryDir base, out;
    Fixtures::writeFile(out.filePath(u".other.tessaly-abc.mp4"_s), "not Tessaly's to remove");
    QProcess tessaly;
    tessaly.start(QCoreApplication::applicationFilePath(),
                  { u"--crop"_s, base.path(), m_input, out.filePath(u"Cropped.mp4"_s) });
    QVERIFY(tessaly.waitForReadyRead(30'000));
    const QStringList left = Fixtures::filesIn(out.path()).filter(u".Cropped.tessaly-"_s);
    QCOMPARE(left.size(), 1);
    tessaly.kill();
    QVERIFY(tessaly.waitForFinished());
    QTest::qWait(200);
    QVERIFY(QFileInfo::exists(out.filePath(left.first())));

    const ScratchDirectory next(base.path());
    QCOMPARE(Fixtures::filesIn(out.path()), QStringList { u".other.tessaly-abc.mp4"_s });
}

// As the application does it: a scratch folder, and a crop that notes its temporary output there.
int cropUntilKilled(char *argv[])
{
    ScratchDirectory scratch(QString::fromLocal8Bit(argv[2]));
    CropJob job(Fixtures::ffmpeg(), Fixtures::ffprobe());
    job.setOutputRecordsFolder(scratch.outputRecordsDirectory());
    QObject::connect(&job, &CropJob::progressChanged, [] { std::puts("cropping"), std::fflush(stdout); });
    job.runCropProcess(
        requestFor(QString::fromLocal8Bit(argv[3]), QString::fromLocal8Bit(argv[4]), QRect(0, 0, 1280, 720)));
    return QCoreApplication::exec();
}

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc == 5 && qstrcmp(argv[1], "--crop") == 0)
        return cropUntilKilled(argv);
    TestCropJob test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_cropjob.moc"
