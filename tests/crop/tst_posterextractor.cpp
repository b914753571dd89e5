#include "crop/FrameGrabber.h"
#include "crop/PosterExtractor.h"
#include "media/ProbeJob.h"
#include "support/Fixtures.h"

#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

// The posters of real files made by ffmpeg: open GOPs, no duration in the
// header, an hour of stream copies; and the scrubber's pictures of any time.
class TestPosterExtractor : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void keyframeChoice_data();
    void keyframeChoice();
    void posters_data();
    void posters();
    void grabbing_data();
    void grabbing();

private:
    struct Made
    {
        QList<double> times;
        QList<QImage> pictures;
        QString failure;
    };
    Made extract(const QString &path, bool foreseeing = false);

    QTemporaryDir m_dir;
    QHash<QString, QString> m_files;
};

namespace {

QStringList lavfi(const QString &source)
{
    return { u"-f"_s, u"lavfi"_s, u"-i"_s, source };
}

} // namespace

void TestPosterExtractor::initTestCase()
{
    const QString dir = m_dir.path();
    // Hues turn fast, so that pictures a second apart differ clearly.
    const QStringList turning = lavfi(u"testsrc2=size=320x180:rate=25:duration=24,hue=H=2*t"_s)
        + lavfi(u"sine=duration=24"_s);
    // Open GOPs with B-frames, a keyframe every 25 pictures, as cameras write.
    if (Fixtures::runFfmpeg(turning + QStringList { "-c:v", "libx264", "-preset", "veryfast", "-bf", "3", "-g", "25",
                                                    "-keyint_min", "25", "-sc_threshold", "0", "-x264-params",
                                                    "open-gop=1", "-c:a", "aac", dir + "/opengop.mkv" }))
        m_files[u"open GOP MKV"_s] = dir + u"/opengop.mkv"_s;
    if (Fixtures::runFfmpeg({ "-i", dir + "/opengop.mkv", "-c", "copy", dir + "/opengop.ts" }))
        m_files[u"open GOP MPEG-TS"_s] = dir + u"/opengop.ts"_s;
    // A browser's recorder writes WebM to a pipe: no duration, no index.
    QProcess recorder;
    recorder.setStandardOutputFile(dir + u"/recorded.webm"_s);
    recorder.start(Fixtures::ffmpeg(), turning + QStringList { "-v", "error", "-c:v", "libvpx", "-deadline", "realtime",
                                                               "-cpu-used", "8", "-g", "25", "-c:a", "libopus", "-f",
                                                               "webm", "pipe:1" });
    if (recorder.waitForFinished(60'000) && recorder.exitCode() == 0)
        m_files[u"WebM without duration"_s] = dir + u"/recorded.webm"_s;
    // A minute looped to an hour with stream copies, keyframes 10 s apart, open GOPs with B-frames:
    // each loop's keyframes after the first are not IDR pictures.
    if (Fixtures::runFfmpeg(lavfi(u"testsrc2=size=320x180:rate=25:duration=61,hue=H=2*t"_s)
                            + QStringList { "-c:v", "libx264", "-preset", "superfast", "-bf", "3", "-g", "250",
                                            "-keyint_min", "250", "-sc_threshold", "0", "-x264-params", "open-gop=1",
                                            dir + "/minute.mkv" })
        && Fixtures::runFfmpeg({ "-stream_loop", "58", "-i", dir + "/minute.mkv", "-c", "copy", dir + "/hour.mkv" }))
        m_files[u"hour-long MKV"_s] = dir + u"/hour.mkv"_s;
    // The same in MPEG-TS, its timestamps from 10 001.4 s, as a tuner's recording starts anywhere.
    if (Fixtures::runFfmpeg({ "-i", dir + "/hour.mkv", "-c", "copy", "-output_ts_offset", "10000", dir + "/hour.ts" }))
        m_files[u"hour-long MPEG-TS"_s] = dir + u"/hour.ts"_s;
    // Short enough to decode whole: every poster exact.
    if (Fixtures::runFfmpeg(lavfi(u"testsrc2=size=320x180:rate=25:duration=6,hue=H=2*t"_s)
                            + QStringList { "-c:v", "libx264", "-preset", "ultrafast", "-g", "1000", dir + "/clip.mp4" }))
        m_files[u"short clip"_s] = dir + u"/clip.mp4"_s;
    QCOMPARE(m_files.size(), 6);
}

void TestPosterExtractor::keyframeChoice_data()
{
    QTest::addColumn<QList<double>>("keyframes"); // listed around 100 s and 400 s
    QTest::addColumn<double>("seek");             // for a poster at 400 s
    QTest::newRow("the last at or before") << QList<double> { 97, 103, 396, 399, 401 } << 399.0005;
    QTest::newRow("else the first after") << QList<double> { 97, 103, 402, 412 } << 402.0005;
    QTest::newRow("never one listed for another time") << QList<double> { 97, 103 } << 400.0;
    QTest::newRow("none within reach") << QList<double> { 97, 394, 406 } << 400.0;
    QTest::newRow("none listed") << QList<double> {} << 400.0;
}

void TestPosterExtractor::keyframeChoice()
{
    QFETCH(QList<double>, keyframes);
    QFETCH(double, seek);
    const QList<PosterPlanner::Input> inputs = PosterPlanner::inputs({ 100, 400 }, { 2 }, keyframes);
    QCOMPARE(inputs.size(), 1);
    QCOMPARE(inputs.first().seek, seek);
}

TestPosterExtractor::Made TestPosterExtractor::extract(const QString &path, bool foreseeing)
{
    Made made;
    PosterExtractor extractor(Fixtures::ffmpeg(), Fixtures::ffprobe());
    if (foreseeing)
        extractor.foresee(path);
    // Probed as the application probes, which measures a duration the header lacks.
    ProbeJob job(Fixtures::ffprobe());
    std::optional<FileProbe> probe;
    connect(&job, &ProbeJob::finished, this, [&](const FileProbe &finished) { probe = finished; });
    job.start(path);
    if (!QTest::qWaitFor([&] { return probe.has_value(); }, 30'000))
        return made;
    const QSize frame(int(probe->videoWidth().value_or(0)), int(probe->videoHeight().value_or(0)));
    QTemporaryDir frames;
    QSignalSpy shown(&extractor, &PosterExtractor::frameMade);
    QSignalSpy finished(&extractor, &PosterExtractor::finished);
    QSignalSpy failed(&extractor, &PosterExtractor::failed);
    extractor.extractPosterFrames({ path, probe->videoStreamIndex(), probe->formatName(), probe->videoDuration(),
                                    probe->videoFrameRate(), frame, frame, probe->startTime() },
                                  frames.path(), QSize());
    if (!QTest::qWaitFor([&] { return !finished.isEmpty() || !failed.isEmpty(); }, 60'000))
        return made;
    made.failure = failed.isEmpty() ? QString() : failed.first().first().toString();
    for (int n = 1; n <= PosterExtractor::frameCount && failed.isEmpty(); ++n) {
        // One by one, in slider order.
        if (shown.value(n - 1).value(0).toInt() != n)
            return made;
        made.times << extractor.pictureTime(n);
        made.pictures << QImage(PosterExtractor::framePath(frames.path(), n));
    }
    return made;
}

void TestPosterExtractor::posters_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<double>("duration");
    QTest::addColumn<double>("within"); // seconds a poster may lie from n / 12 of the video: a keyframe interval

    QTest::newRow("open GOP MKV") << u"open GOP MKV"_s << 24.0 << 1.0;
    QTest::newRow("open GOP MPEG-TS") << u"open GOP MPEG-TS"_s << 24.0 << 1.0;
    QTest::newRow("WebM without duration") << u"WebM without duration"_s << 24.0 << 1.0;
    QTest::newRow("hour-long MKV") << u"hour-long MKV"_s << 3599.0 << 10.0;
    QTest::newRow("hour-long MPEG-TS from 10 001 s") << u"hour-long MPEG-TS"_s << 3599.0 << 10.0;
    QTest::newRow("short clip: exact") << u"short clip"_s << 6.0 << 0.04;
}

void TestPosterExtractor::posters()
{
    QFETCH(QString, file);
    QFETCH(double, duration);
    QFETCH(double, within);
    const QString path = m_files.value(file);
    const Made made = extract(path);
    QCOMPARE(made.failure, QString());
    QCOMPARE(made.times.size(), PosterExtractor::frameCount);
    for (int n = 1; n <= PosterExtractor::frameCount; ++n) {
        const double time = made.times[n - 1];
        QVERIFY2(qAbs(time - n * duration / 12) <= within + 0.01, qPrintable(u"poster %1 at %2"_s.arg(n).arg(time)));
        // The picture of its time, told apart from one a second off.
        const double here = Fixtures::difference(made.pictures[n - 1], Fixtures::frameAt(path, QString::number(time, 'f', 3)));
        const double off = Fixtures::difference(made.pictures[n - 1],
                                                Fixtures::frameAt(path, QString::number(time + 1, 'f', 3)));
        QVERIFY2(here < 8 && off > 3 * here + 8, qPrintable(u"poster %1: %2 against %3"_s.arg(n).arg(here).arg(off)));
        if (n > 1)
            QVERIFY2(time > made.times[n - 2], qPrintable(u"poster %1 repeats an earlier one"_s.arg(n)));
    }
    // The same file, the same posters; also where keyframes were listed while it was probed.
    const Made again = extract(path, true);
    QCOMPARE(again.times, made.times);
    QVERIFY(Fixtures::difference(again.pictures.first(), made.pictures.first()) < 2);
}

void TestPosterExtractor::grabbing_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("reference"); // a file of the same stream whose own seeks are exact
    QTest::addColumn<double>("from");       // where the times asked for start
    QTest::addColumn<double>("within");     // how far a keyframe picture may lie: where the index leads
    QTest::newRow("open GOP MKV") << u"open GOP MKV"_s << u"open GOP MKV"_s << 0.0 << 1.0;
    QTest::newRow("an hour of MPEG-TS, half an hour in") << u"hour-long MPEG-TS"_s << u"hour-long MKV"_s << 1800.0 << 10.0;
}

void TestPosterExtractor::grabbing()
{
    QFETCH(QString, file);
    QFETCH(QString, reference);
    QFETCH(double, from);
    QFETCH(double, within);
    // A name the filter graph would take apart, were it not escaped.
    const QString path = m_dir.filePath(u"it's [a] test, 1;2=3:4"_s + m_files.value(file).right(4));
    QFile::remove(path);
    QVERIFY(QFile::copy(m_files.value(file), path));
    const FileProbe probe(path, Fixtures::ffprobe());
    const QSize frame(int(probe.videoWidth().value_or(0)), int(probe.videoHeight().value_or(0)));
    QTemporaryDir pictures;
    FrameGrabber grabber(Fixtures::ffmpeg());
    grabber.setVideo({ path, probe.videoStreamIndex(), probe.formatName(), probe.videoDuration(), 25, frame, frame,
                       probe.startTime(), 0 },
                     QSize());
    grabber.setFolder(pictures.path());
    QList<std::tuple<double, bool, QImage>> grabbed;
    connect(&grabber, &FrameGrabber::grabbed, this, [&](const QString &picture, double time, bool exact) {
        grabbed.append({ time, exact, QImage(picture) });
    });
    const auto next = [&] { return QTest::qWaitFor([&] { return !grabbed.isEmpty(); }, 20'000) ? grabbed.takeFirst()
                                                                                               : std::tuple<double, bool, QImage> {}; };
    // ffmpeg's own seeks in MPEG-TS land anywhere: its pictures are compared with the MKV's.
    const auto isPictureOf = [&](const QImage &image, double time) {
        return Fixtures::difference(image, Fixtures::frameAt(m_files.value(reference), QString::number(time, 'f', 3))) < 8;
    };

    // A keyframe near the time (MPEG-TS seeks land past one); the exact picture is the first at or
    // after the time, and its time to the millisecond, an hour in too.
    grabber.grab(from + 7.5, false);
    auto [time, exact, image] = next();
    QVERIFY2(qAbs(time - from - 7.5) <= within && !exact && isPictureOf(image, time), qPrintable(QString::number(time)));
    grabber.grab(from + 10.52, true);
    std::tie(time, exact, image) = next();
    const QStringList frames = Fixtures::probed(m_files.value(reference),
        { u"-read_intervals"_s, u"%1%+2"_s.arg(from + 10.4), u"-show_entries"_s, u"frame=pts_time"_s }).split(u'\n');
    const auto real = std::find_if(frames.cbegin(), frames.cend(),
                                   [&](const QString &t) { return t.section(u',', 0, 0).toDouble() >= from + 10.5195; });
    QVERIFY(real != frames.cend());
    QVERIFY2(qAbs(time - real->section(u',', 0, 0).toDouble()) < 0.0005 && exact && isPictureOf(image, time),
             qPrintable(u"%1 for %2"_s.arg(time, 0, 'f', 4).arg(*real)));

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
    QTest::qWait(200);
    QVERIFY(grabbed.isEmpty());
    // One picture stays on disk: the one shown.
    QCOMPARE(QDir(pictures.path()).entryList({ u"*.jpg"_s }).size(), 1);
}

QTEST_GUILESS_MAIN(TestPosterExtractor)
#include "tst_posterextractor.moc"
