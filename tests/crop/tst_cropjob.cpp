#include "crop/CropJob.h"
#include "crop/PosterPlanner.h"
#include "crop/ScratchDirectory.h"
#include "support/Fixtures.h"

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
    void cancelEarlyAndTwice();
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
    request.seekLead = PosterPlanner::seekLead(format);
    CropJob job(Fixtures::ffmpeg(), Fixtures::ffprobe());
    QSignalSpy succeeded(&job, &CropJob::succeeded);
    QVERIFY(job.runCropProcess(request));
    QTRY_COMPARE_WITH_TIMEOUT(succeeded.count(), 1, 30'000);
    // Every picture of the second, the first at the output's start.
    QCOMPARE(Fixtures::videoFrameCount(request.destination), 25);
    QCOMPARE(Fixtures::probed(request.destination, { u"-show_entries"_s, u"stream=start_time"_s }).toDouble(), 0.0);
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
    QCOMPARE(Fixtures::childProcesses(), QList<qint64>());
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
