#include "crop/CropArguments.h"
#include "crop/CropJob.h"
#include "media/FileProbe.h"
#include "support/Fixtures.h"

#include <QCryptographicHash>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

// Real crops through the bundled ffmpeg, and the outcomes that go wrong.
class TestCropJob : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void cropSizes_data();
    void cropSizes();
    void cancelKeepsEarlierFile();
    void cancelEarlyAndTwice();
    void failures_data();
    void failures();

private:
    QStringList argumentsFor(const QString &input, const QString &output, int scale, const QString &crop,
                             QSize scaled) const;
    // Waits for the job's outcome; gives "succeeded", "failed" or "cancelled".
    QString outcomeOf(CropJob &job, FileProbe *output = nullptr, QString *reason = nullptr);

    QTemporaryDir m_fixtures;
    QString m_hd;
    QString m_long;
    QTemporaryDir *m_out = nullptr;
};

void TestCropJob::initTestCase()
{
    m_hd = Fixtures::makeVideo(m_fixtures.path(), u"hd.mp4"_s, { 1920, 1080, 0.5 });
    m_long = Fixtures::makeVideo(m_fixtures.path(), u"long.mp4"_s, { 1280, 720, 20.0 });
    QVERIFY(!m_hd.isEmpty() && !m_long.isEmpty());
}

void TestCropJob::init()
{
    m_out = new QTemporaryDir;
}

void TestCropJob::cleanup()
{
    delete m_out;
    QCOMPARE(Fixtures::childProcesses(), QList<qint64>());
}

QStringList TestCropJob::argumentsFor(const QString &input, const QString &output, int scale, const QString &crop,
                                      QSize scaled) const
{
    return buildCropArguments(FileProbe(input), input, output, scale, crop, scaled);
}

QString TestCropJob::outcomeOf(CropJob &job, FileProbe *output, QString *reason)
{
    QString outcome;
    QEventLoop loop;
    connect(&job, &CropJob::succeeded, &loop, [&](const FileProbe &probe) {
        outcome = u"succeeded"_s;
        if (output)
            *output = probe;
        loop.quit();
    });
    connect(&job, &CropJob::failed, &loop, [&](const QString &why) {
        outcome = u"failed"_s;
        if (reason)
            *reason = why;
        loop.quit();
    });
    connect(&job, &CropJob::cancelled, &loop, [&] {
        outcome = u"cancelled"_s;
        loop.quit();
    });
    QTimer::singleShot(120'000, &loop, &QEventLoop::quit);
    if (job.isRunning())
        loop.exec();
    return outcome;
}

void TestCropJob::cropSizes_data()
{
    QTest::addColumn<int>("scale");
    QTest::addColumn<QString>("crop");
    QTest::addColumn<QSize>("scaled");

    QTest::newRow("unscaled") << 100 << u"crop=1280:720:200:260"_s << QSize(1280, 720);
    QTest::newRow("scale 50") << 50 << u"crop=1600:900:160:90"_s << QSize(800, 450);
}

void TestCropJob::cropSizes()
{
    QFETCH(int, scale);
    QFETCH(QString, crop);
    QFETCH(QSize, scaled);

    const QString output = m_out->filePath(u"Cropped.mp4"_s);
    CropJob job(Fixtures::ffmpeg(), Fixtures::ffprobe());
    QSignalSpy progress(&job, &CropJob::progressChanged);
    QVERIFY(job.runCropProcess(output, argumentsFor(m_hd, output, scale, crop, scaled), 0.5));

    FileProbe result(output);
    QCOMPARE(outcomeOf(job, &result), u"succeeded"_s);
    QCOMPARE(result.fileFullPath(), std::optional(output));
    QCOMPARE(result.videoWidth(), std::optional<qint64>(scaled.width()));
    QCOMPARE(result.videoHeight(), std::optional<qint64>(scaled.height()));
    QCOMPARE(FileProbe(output).videoWidth(), std::optional<qint64>(scaled.width()));
    for (const QList<QVariant> &signal : progress)
        QVERIFY(signal.first().toDouble() >= 0 && signal.first().toDouble() <= 100);
    // Only the result is left in the folder, with the usual permissions.
    QCOMPARE(Fixtures::filesIn(m_out->path()), QStringList { u"Cropped.mp4"_s });
    QVERIFY(QFileInfo(output).permissions().testFlag(QFile::ReadOther));
}

void TestCropJob::cancelKeepsEarlierFile()
{
    const QString output = m_out->filePath(u"Cropped.mp4"_s);
    const QByteArray earlier = "an earlier video the user wants to keep";
    Fixtures::writeFile(output, earlier);

    CropJob job(Fixtures::ffmpeg(), Fixtures::ffprobe());
    QVERIFY(job.runCropProcess(output, argumentsFor(m_long, output, 50, u"crop=640:360:0:0"_s, QSize(320, 180)),
                               20.0));
    // Cancel once the encoder is really at work.
    QSignalSpy progress(&job, &CropJob::progressChanged);
    QVERIFY(progress.wait(30'000));
    QCOMPARE(Fixtures::filesIn(m_out->path()).size(), 2);
    job.cancel();
    QCOMPARE(outcomeOf(job), u"cancelled"_s);

    QFile file(output);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), earlier);
    QCOMPARE(Fixtures::filesIn(m_out->path()), QStringList { u"Cropped.mp4"_s });
}

void TestCropJob::cancelEarlyAndTwice()
{
    const QString output = m_out->filePath(u"Cropped.mp4"_s);
    CropJob job(Fixtures::ffmpeg(), Fixtures::ffprobe());
    QSignalSpy cancelled(&job, &CropJob::cancelled);
    QVERIFY(job.runCropProcess(output, argumentsFor(m_long, output, 100, u"crop=640:360:0:0"_s, QSize(640, 360)),
                               20.0));
    // Before the encoder has even reported that it started.
    job.cancel();
    job.cancel();
    QCOMPARE(outcomeOf(job), u"cancelled"_s);
    QCOMPARE(cancelled.count(), 1);
    QVERIFY(Fixtures::filesIn(m_out->path()).isEmpty());

    // The next crop starts afresh.
    QVERIFY(job.runCropProcess(output, argumentsFor(m_hd, output, 100, u"crop=64:64:0:0"_s, QSize(64, 64)), 0.5));
    QCOMPARE(outcomeOf(job), u"succeeded"_s);
}

void TestCropJob::failures_data()
{
    QTest::addColumn<QByteArray>("encoderScript"); // empty: the real encoder
    QTest::addColumn<QString>("crop");
    QTest::addColumn<bool>("starts");
    QTest::addColumn<QString>("reason");

    QTest::newRow("exit 1") << QByteArray("echo 'Conversion failed!' >&2; exit 1") << QString() << true
                            << u"exit status 1.\nConversion failed!"_s;
    // Exits 0 but leaves nothing that plays.
    QTest::newRow("writes no video") << QByteArray("exit 0") << QString() << true << u"no usable video"_s;
    QTest::newRow("impossible filter") << QByteArray() << u"crop=4000:4000:0:0"_s << true << u"exit status"_s;
    QTest::newRow("missing encoder") << QByteArray("missing") << QString() << false << u"missing"_s;
}

void TestCropJob::failures()
{
    QFETCH(QByteArray, encoderScript);
    QFETCH(QString, crop);
    QFETCH(bool, starts);
    QFETCH(QString, reason);

    QString encoder = Fixtures::ffmpeg();
    if (encoderScript == "missing")
        encoder = m_fixtures.filePath(u"no-such-encoder"_s);
    else if (!encoderScript.isEmpty())
        encoder = Fixtures::writeScript(m_fixtures.filePath(u"encoder"_s), encoderScript);

    const QString output = m_out->filePath(u"Cropped.mp4"_s);
    const QByteArray earlier = "keep me";
    Fixtures::writeFile(output, earlier);
    CropJob job(encoder, Fixtures::ffprobe());
    QSignalSpy failed(&job, &CropJob::failed);
    const QStringList arguments = argumentsFor(m_hd, output, 100, crop.isEmpty() ? u"crop=64:64:0:0"_s : crop,
                                               QSize(64, 64));
    QCOMPARE(job.runCropProcess(output, arguments, 0.5), starts);
    QString why;
    if (starts)
        QCOMPARE(outcomeOf(job, nullptr, &why), u"failed"_s);
    else
        why = failed.value(0).value(0).toString();
    QVERIFY2(why.contains(reason), qPrintable(why));

    QFile file(output);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), earlier);
    QCOMPARE(Fixtures::filesIn(m_out->path()), QStringList { u"Cropped.mp4"_s });
}

QTEST_GUILESS_MAIN(TestCropJob)
#include "tst_cropjob.moc"
