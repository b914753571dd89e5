#include "crop/FrameGrabber.h"
#include "crop/PosterJob.h"
#include "media/ProbeJob.h"
#include "support/Fixtures.h"

#include <QDir>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

// The posters of real files made by ffmpeg: clips decoded whole, open GOPs,
// no duration in the header, an hour of stream copies; and the scrubber's
// pictures of any time.
class TestPosters : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void posters_data();
    void posters();
    void grabbing_data();
    void grabbing();

private:
    QTemporaryDir m_dir;
    QHash<QString, QString> m_files;
};

namespace {

QStringList lavfi(const QString &source)
{
    return { u"-f"_s, u"lavfi"_s, u"-i"_s, source };
}

// The video as the application probes it, which measures a length the header lacks or tells wrong.
std::optional<FileProbe> probed(const QString &path)
{
    ProbeJob job(Fixtures::ffprobe());
    std::optional<FileProbe> probe;
    QObject::connect(&job, &ProbeJob::finished, [&](const FileProbe &finished) { probe = finished; });
    job.start(path);
    (void)QTest::qWaitFor([&] { return probe.has_value(); }, 30'000);
    return probe;
}

PosterPlan::Video videoOf(const FileProbe &probe)
{
    const QSize frame(int(probe.videoWidth().value_or(0)), int(probe.videoHeight().value_or(0)));
    return { *probe.fileFullPath(), probe.videoStreamIndex(), probe.formatName(), probe.videoDuration(),
             probe.videoFrameRate(),  frame, frame, probe.startTime(), probe.rotation() };
}

} // namespace

void TestPosters::initTestCase()
{
    const QString dir = m_dir.path();
    // Hues turn fast, so that pictures a second apart differ clearly.
    const QString turning = u"testsrc2=size=320x180:rate=25:duration=%1,hue=H=2*t"_s;
    const QStringList keyframes { "-c:v", "libx264", "-preset", "superfast", "-bf", "3", "-sc_threshold", "0",
                                  "-x264-params", "open-gop=1" };
    // Open GOPs with B-frames, a keyframe every second, as cameras write.
    if (Fixtures::runFfmpeg(lavfi(turning.arg(24)) + lavfi(u"sine=duration=24"_s) + keyframes
                            + QStringList { "-g", "25", "-c:a", "aac", dir + "/opengop.mkv" }))
        m_files[u"open GOP MKV"_s] = dir + u"/opengop.mkv"_s;
    if (Fixtures::runFfmpeg({ "-i", dir + "/opengop.mkv", "-c", "copy", dir + "/opengop.ts" }))
        m_files[u"open GOP MPEG-TS"_s] = dir + u"/opengop.ts"_s;
    // A browser's recorder writes WebM to a pipe: no duration, no index.
    QProcess recorder;
    recorder.setStandardOutputFile(dir + u"/recorded.webm"_s);
    recorder.start(Fixtures::ffmpeg(), lavfi(turning.arg(24)) + QStringList { "-v", "error", "-c:v", "libvpx", "-deadline",
                                                                              "realtime", "-cpu-used", "8", "-g", "25",
                                                                              "-f", "webm", "pipe:1" });
    if (recorder.waitForFinished(60'000) && recorder.exitCode() == 0)
        m_files[u"WebM without duration"_s] = dir + u"/recorded.webm"_s;
    // A minute looped to an hour with stream copies, keyframes 10 s apart: each loop's keyframes after the first
    // are not IDR pictures.
    if (Fixtures::runFfmpeg(lavfi(turning.arg(61)) + keyframes + QStringList { "-g", "250", dir + "/minute.mkv" })
        && Fixtures::runFfmpeg({ "-stream_loop", "58", "-i", dir + "/minute.mkv", "-c", "copy", dir + "/hour.mkv" }))
        m_files[u"hour-long MKV"_s] = dir + u"/hour.mkv"_s;
    // The same in MPEG-TS, its timestamps from 10 001.4 s, as a tuner's recording starts anywhere.
    if (Fixtures::runFfmpeg({ "-i", dir + "/hour.mkv", "-c", "copy", "-output_ts_offset", "10000", dir + "/hour.ts" }))
        m_files[u"hour-long MPEG-TS"_s] = dir + u"/hour.ts"_s;
    // One keyframe for 10 s, as screen recorders write, and a keyframe every 1 s exactly on each poster's time.
    if (Fixtures::runFfmpeg(lavfi(turning.arg(10)) + QStringList { "-c:v", "libx264", "-preset", "ultrafast", "-g",
                                                                   "1000", dir + "/onekey.mp4" }))
        m_files[u"one keyframe"_s] = dir + u"/onekey.mp4"_s;
    if (Fixtures::runFfmpeg(lavfi(turning.arg(12)) + keyframes + QStringList { "-g", "25", dir + "/seconds.mp4" }))
        m_files[u"a keyframe each second"_s] = dir + u"/seconds.mp4"_s;
    // A video of one picture.
    if (Fixtures::runFfmpeg(lavfi(turning.arg(0.04)) + QStringList { "-c:v", "libx264", dir + "/one.mkv" }))
        m_files[u"one picture"_s] = dir + u"/one.mkv"_s;
    QCOMPARE(m_files.size(), 8);
}

void TestPosters::posters_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("keyframes"); // as a video too large to decode whole: the keyframe each seek reaches
    QTest::addColumn<double>("duration");
    QTest::addColumn<int>("count");      // of distinct pictures
    QTest::addColumn<double>("before");  // how far before n / 12 a picture may lie: 0, exact; below 0, how far either way

    QTest::newRow("one keyframe: eleven different pictures") << u"one keyframe"_s << false << 10.0 << 11 << 0.0;
    QTest::newRow("open GOP MKV, decoded whole") << u"open GOP MKV"_s << false << 24.0 << 11 << 0.0;
    QTest::newRow("open GOP MPEG-TS, decoded whole") << u"open GOP MPEG-TS"_s << false << 24.0 << 11 << 0.0;
    QTest::newRow("WebM without duration") << u"WebM without duration"_s << false << 24.0 << 11 << 0.0;
    QTest::newRow("open GOP MKV, keyframes") << u"open GOP MKV"_s << true << 24.0 << 11 << 1.0;
    // The keyframe exactly at a poster's time is the poster's, not the one before.
    QTest::newRow("a keyframe on each poster's time") << u"a keyframe each second"_s << true << 12.0 << 11 << 0.0;
    QTest::newRow("hour-long MKV") << u"hour-long MKV"_s << true << 3599.0 << 11 << 10.0;
    // Seeks land anywhere: each on the keyframe listed within 5 s of its time, before it or else after.
    QTest::newRow("hour-long MPEG-TS from 10 001 s") << u"hour-long MPEG-TS"_s << true << 3599.0 << 11 << -5.0;
    // One keyframe for all: shown once, at its own time.
    QTest::newRow("one keyframe, as keyframes") << u"one keyframe"_s << true << 10.0 << 1 << 10.0;
    QTest::newRow("one picture") << u"one picture"_s << false << 0.04 << 1 << 0.0;
}

void TestPosters::posters()
{
    QFETCH(QString, file);
    QFETCH(bool, keyframes);
    QFETCH(double, duration);
    QFETCH(int, count);
    QFETCH(double, before);
    const QString path = m_files.value(file);
    const auto probe = probed(path);
    QVERIFY(probe && probe->isCroppableVideo());
    QVERIFY2(qAbs(probe->videoDuration() - duration) < 0.1, qPrintable(QString::number(probe->videoDuration())));
    PosterPlan::Video video = videoOf(*probe);
    const QSize size = video.frame / 2;
    // Said to be as large as 4K, the video goes the keyframes' way.
    if (keyframes)
        video.frame = QSize(3840, 2160);
    QTemporaryDir folder;
    PosterJob job(Fixtures::ffmpeg(), Fixtures::ffprobe());
    QList<Poster> made;
    connect(&job, &PosterJob::posterMade, this, [&](const Poster &poster) { made << poster; });
    QSignalSpy finished(&job, &PosterJob::finished);
    QSignalSpy failed(&job, &PosterJob::failed);
    job.start(video, size, folder.path());
    QVERIFY(QTest::qWaitFor([&] { return !finished.isEmpty() || !failed.isEmpty(); }, 60'000));
    QCOMPARE(failed.value(0).value(0).toString(), QString());
    QCOMPARE(made.size(), count);
    const QList<double> planned = PosterPlan::times(video);
    for (qsizetype n = 0; n < made.size(); ++n) {
        const double time = made[n].time;
        const QImage picture(made[n].path);
        QCOMPARE(picture.size(), size);
        if (n > 0)
            QVERIFY2(time > made[n - 1].time, qPrintable(u"poster %1 repeats an earlier one"_s.arg(n)));
        // Exact: the first picture at or after its time; else the keyframe its seek reached.
        const double after = time - planned[n];
        const bool near = before == 0 ? after >= -0.0005 && after < 0.04
                                      : (before > 0 ? after <= 0.0005 && after >= -before : qAbs(after) <= -before);
        QVERIFY2(count < 11 || near, qPrintable(u"poster %1 at %2 for %3"_s.arg(n).arg(time).arg(planned[n])));
        // The picture of its time, told apart from one a second off.
        const double here = Fixtures::difference(picture, Fixtures::frameAt(path, QString::number(time, 'f', 3)));
        const double off = Fixtures::difference(picture, Fixtures::frameAt(path, QString::number(time + 1, 'f', 3)));
        QVERIFY2(here < 14 && (duration < 2 || off > 3 * here + 8),
                 qPrintable(u"poster %1: %2 against %3"_s.arg(n).arg(here).arg(off)));
    }
}

void TestPosters::grabbing_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("reference"); // a file of the same stream whose own seeks are exact
    QTest::addColumn<double>("from");       // where the times asked for start
    QTest::addColumn<double>("within");     // how far a keyframe picture may lie: where the index leads
    QTest::addColumn<int>("rotate");        // the phone's turn, in degrees
    QTest::newRow("open GOP MKV") << u"open GOP MKV"_s << u"open GOP MKV"_s << 0.0 << 1.0 << 0;
    QTest::newRow("an hour of MPEG-TS, half an hour in") << u"hour-long MPEG-TS"_s << u"hour-long MKV"_s << 1800.0
                                                          << 10.0 << 0;
    // A phone held the other way: its pictures shown upright, as the player turns them.
    QTest::newRow("a phone video turned 270°") << u"open GOP MKV"_s << QString() << 0.0 << 1.0 << 270;
}

void TestPosters::grabbing()
{
    QFETCH(QString, file);
    QFETCH(QString, reference);
    QFETCH(double, from);
    QFETCH(double, within);
    QFETCH(int, rotate);
    // A name the filter graph would take apart, were it not escaped.
    const QString path = m_dir.filePath(u"it's [a] test, 1;2=3:4"_s + (rotate ? u".mp4"_s : m_files.value(file).right(4)));
    QFile::remove(path);
    if (rotate)
        QVERIFY(Fixtures::runFfmpeg({ "-i", m_files.value(file), "-c", "copy", "-metadata:s:v:0",
                                      u"rotate=%1"_s.arg(360 - rotate), path }));
    else
        QVERIFY(QFile::copy(m_files.value(file), path));
    const auto probe = probed(path);
    QVERIFY(probe);
    PosterPlan::Video video = videoOf(*probe);
    QCOMPARE(video.rotation, rotate);
    QTemporaryDir pictures;
    FrameGrabber grabber(Fixtures::ffmpeg());
    grabber.setVideo(video, QSize());
    grabber.setFolder(pictures.path());
    QList<std::tuple<double, bool, QImage>> grabbed;
    connect(&grabber, &FrameGrabber::grabbed, this, [&](const QString &picture, double time, bool exact) {
        grabbed.append({ time, exact, QImage(picture) });
    });
    const auto next = [&] { return QTest::qWaitFor([&] { return !grabbed.isEmpty(); }, 20'000) ? grabbed.takeFirst()
                                                                                               : std::tuple<double, bool, QImage> {}; };
    // ffmpeg's own seeks in MPEG-TS land anywhere: its pictures are compared with the MKV's, which turns them too.
    const auto isPictureOf = [&](const QImage &image, double time) {
        const QImage real = Fixtures::frameAt(reference.isEmpty() ? path : m_files.value(reference),
                                              QString::number(time, 'f', 3));
        return image.size() == real.size() && Fixtures::difference(image, real) < 10;
    };

    // A keyframe near the time (MPEG-TS seeks land past one); the exact picture is the first at or
    // after the time, and its time to the millisecond, an hour in too.
    grabber.grab(from + 7.5, false);
    auto [time, exact, image] = next();
    QVERIFY2(qAbs(time - from - 7.5) <= within && !exact && isPictureOf(image, time), qPrintable(QString::number(time)));
    grabber.grab(from + 10.52, true);
    std::tie(time, exact, image) = next();
    QVERIFY2(time >= from + 10.5195 && time < from + 10.56 && exact && isPictureOf(image, time),
             qPrintable(QString::number(time, 'f', 4)));

    // A quick succession: the keyframe under way is let finish, the exact picture of 12.4 s is
    // dropped for 18.2 s's.
    grabber.grab(from + 3.3, false);
    grabber.grab(from + 12.4, true);
    grabber.grab(from + 18.2, true);
    std::tie(time, exact, image) = next();
    QVERIFY2(qAbs(time - from - 3.3) <= within && !exact, qPrintable(QString::number(time)));
    std::tie(time, exact, image) = next();
    QVERIFY2(time >= from + 18.1995 && time < from + 18.24 && exact && isPictureOf(image, time),
             qPrintable(QString::number(time)));
    // An exact decode under way gives way to a newer request, and says nothing.
    grabber.grab(from + 5.2, true);
    grabber.grab(from + 6.4, true);
    std::tie(time, exact, image) = next();
    QVERIFY2(time >= from + 6.3995 && time < from + 6.44, qPrintable(QString::number(time)));
    QVERIFY(!QTest::qWaitFor([&] { return !grabbed.isEmpty(); }, 300));
    // One picture stays on disk: the one shown.
    QCOMPARE(QDir(pictures.path()).entryList({ u"*.jpg"_s }).size(), 1);
}

QTEST_GUILESS_MAIN(TestPosters)
#include "tst_posters.moc"
