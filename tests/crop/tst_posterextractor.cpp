#include "crop/PosterExtractor.h"
#include "support/Fixtures.h"

#include <QImageReader>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class TestPosterExtractor : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void seekTimes_data();
    void seekTimes();
    void frames_data();
    void frames();
    void missingEncoder();
};

void TestPosterExtractor::seekTimes_data()
{
    QTest::addColumn<double>("duration");
    QTest::addColumn<QStringList>("times");

    QTest::newRow("72 s") << 72.0
                          << QStringList { "6.0",  "12.0", "18.0", "24.0", "30.0", "36.0",
                                           "42.0", "48.0", "54.0", "60.0", "66.0" };
    QTest::newRow("0 s") << 0.0 << QStringList(11, u"0.0"_s);
}

void TestPosterExtractor::seekTimes()
{
    QFETCH(double, duration);
    QFETCH(QStringList, times);
    QCOMPARE(PosterExtractor::seekTimes(duration), times);
}

void TestPosterExtractor::frames_data()
{
    QTest::addColumn<Fixtures::Video>("video");
    QTest::addColumn<QSize>("frameSize");

    QTest::newRow("landscape") << Fixtures::Video { 320, 180, 2.0 } << QSize(320, 180);
    Fixtures::Video rotated { 320, 180, 1.0 };
    rotated.rotate = 90;
    QTest::newRow("rotated phone video, shown upright") << rotated << QSize(180, 320);
    // The last times fall past the last frame: earlier frames stand in.
    QTest::newRow("0.2 seconds") << Fixtures::Video { 320, 180, 0.2 } << QSize(320, 180);
}

void TestPosterExtractor::frames()
{
    QFETCH(Fixtures::Video, video);
    QFETCH(QSize, frameSize);

    QTemporaryDir dir;
    const QString input = Fixtures::makeVideo(dir.path(), u"clip.mp4"_s, video);
    QVERIFY(!input.isEmpty());
    const QString frames = dir.filePath(u"Images"_s);
    // Frames of an earlier video must not survive.
    QVERIFY(QDir().mkdir(frames));
    Fixtures::writeFile(frames + u"/stale.jpg"_s, "old");

    PosterExtractor extractor(Fixtures::ffmpeg());
    QSignalSpy made(&extractor, &PosterExtractor::frameMade);
    QSignalSpy finished(&extractor, &PosterExtractor::finished);
    extractor.extractPosterFrames({ input, 0, u"h264"_s, video.seconds }, frames);
    QVERIFY(finished.wait(60'000));

    QCOMPARE(made.count(), 11);
    for (int n = 1; n <= 11; ++n) {
        QCOMPARE(made.at(n - 1).at(0).toInt(), n);
        QCOMPARE(made.at(n - 1).at(1).toInt(), (n - 1) * 10);
        QImageReader frame(PosterExtractor::framePath(frames, n));
        QCOMPARE(frame.size(), frameSize);
    }
    QCOMPARE(Fixtures::filesIn(frames).size(), 11);
}

void TestPosterExtractor::missingEncoder()
{
    QTemporaryDir dir;
    PosterExtractor extractor(QString{});
    QSignalSpy made(&extractor, &PosterExtractor::frameMade);
    QSignalSpy failed(&extractor, &PosterExtractor::failed);
    extractor.extractPosterFrames({ u"/no/such.mp4"_s, 0, u"h264"_s, 10 }, dir.filePath(u"Images"_s));
    QVERIFY(failed.wait(5000));
    QCOMPARE(made.count(), 0);
}

QTEST_GUILESS_MAIN(TestPosterExtractor)
#include "tst_posterextractor.moc"
