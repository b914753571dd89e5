#include "crop/CropArguments.h"
#include "crop/CropJob.h"
#include "media/FileProbe.h"
#include "support/Fixtures.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

// The crop job's outcomes with the real ffmpeg and with encoders that fail;
// the application tests run the whole road, cancel and faults included.
class TestCropJob : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cancelEarlyAndTwice();
    void failures_data();
    void failures();

private:
    QTemporaryDir m_dir;
    QString m_input;
};

namespace {

// The job's outcome: "succeeded", "failed: <reason>" or "cancelled".
QString outcomeOf(CropJob &job)
{
    QString outcome;
    QEventLoop loop;
    QObject::connect(&job, &CropJob::succeeded, &loop, [&] { outcome = u"succeeded"_s, loop.quit(); });
    QObject::connect(&job, &CropJob::failed, &loop, [&](const QString &why) { outcome = u"failed: "_s + why, loop.quit(); });
    QObject::connect(&job, &CropJob::cancelled, &loop, [&] { outcome = u"cancelled"_s, loop.quit(); });
    if (job.isRunning())
        loop.exec();
    return outcome;
}

} // namespace

void TestCropJob::initTestCase()
{
    m_input = Fixtures::makeVideo(m_dir.path(), u"long.mp4"_s, { 1280, 720, 20.0 });
    QVERIFY(!m_input.isEmpty());
}

void TestCropJob::cancelEarlyAndTwice()
{
    QTemporaryDir out;
    const QString output = out.filePath(u"Cropped.mp4"_s);
    const QStringList arguments = buildCropArguments(FileProbe(m_input), m_input, output, 100, u"crop=64:64:0:0"_s, {});
    CropJob job(Fixtures::ffmpeg(), Fixtures::ffprobe());
    QSignalSpy cancelled(&job, &CropJob::cancelled);
    QVERIFY(job.runCropProcess(output, arguments, 20.0));
    // Before the encoder has even reported that it started.
    job.cancel();
    job.cancel();
    QCOMPARE(outcomeOf(job), u"cancelled"_s);
    QCOMPARE(cancelled.count(), 1);
    QVERIFY(Fixtures::filesIn(out.path()).isEmpty());
    QCOMPARE(Fixtures::childProcesses(), QList<qint64>());
}

void TestCropJob::failures_data()
{
    QTest::addColumn<QByteArray>("encoder"); // a script; empty: the real ffmpeg; "missing": none
    QTest::addColumn<QString>("crop");
    QTest::addColumn<QString>("outcome");

    QTest::newRow("exit 1 with a reason") << QByteArray("echo 'Invalid argument' >&2; echo 'Conversion failed!' >&2; exit 1")
                                          << QString() << u"failed: The encoder stopped with exit status 1.\nInvalid argument\nConversion failed!"_s;
    // Exits 0 but leaves nothing that plays.
    QTest::newRow("writes no video") << QByteArray("exit 0") << QString() << u"failed: The encoder finished but wrote no usable video."_s;
    QTest::newRow("impossible filter") << QByteArray() << u"crop=4000:4000:0:0"_s << u"failed: The encoder stopped with exit status"_s;
    QTest::newRow("missing encoder") << QByteArray("missing") << QString() << u"failed: The encoder (ffmpeg) is missing"_s;
}

void TestCropJob::failures()
{
    QFETCH(QByteArray, encoder);
    QFETCH(QString, crop);
    QFETCH(QString, outcome);

    QTemporaryDir out;
    QString program = Fixtures::ffmpeg();
    if (encoder == "missing")
        program = out.filePath(u"no-such-encoder"_s);
    else if (!encoder.isEmpty())
        program = Fixtures::writeScript(m_dir.filePath(u"encoder"_s), encoder);
    const QString output = Fixtures::writeFile(out.filePath(u"Cropped.mp4"_s), "keep me");

    CropJob job(program, Fixtures::ffprobe());
    QSignalSpy failed(&job, &CropJob::failed);
    const QStringList arguments = buildCropArguments(FileProbe(m_input), m_input, output, 100,
                                                     crop.isEmpty() ? u"crop=64:64:0:0"_s : crop, {});
    // A job that cannot start says so at once.
    const bool started = job.runCropProcess(output, arguments, 20.0);
    const QString actual = started ? outcomeOf(job) : u"failed: "_s + failed.value(0).value(0).toString();
    QVERIFY2(actual.startsWith(outcome), qPrintable(actual));
    QCOMPARE(started, encoder != "missing");

    QFile earlier(output);
    QVERIFY(earlier.open(QIODevice::ReadOnly));
    QCOMPARE(earlier.readAll(), QByteArray("keep me"));
    QCOMPARE(Fixtures::filesIn(out.path()), QStringList { u"Cropped.mp4"_s });
}

QTEST_GUILESS_MAIN(TestCropJob)
#include "tst_cropjob.moc"
