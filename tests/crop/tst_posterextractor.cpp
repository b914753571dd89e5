#include "crop/PosterExtractor.h"
#include "support/Fixtures.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class TestPosterExtractor : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void plans_data();
    void plans();
    void missingEncoder();
};

namespace {

// "seek k: poster@offset ... ; next input | next run", k for a known keyframe, ? for a seek that lands before.
QString describe(const QList<PosterPlanner::Run> &runs)
{
    QStringList described;
    for (const PosterPlanner::Run &run : runs) {
        QStringList inputs;
        for (const PosterPlanner::Input &input : run) {
            QStringList posters;
            for (const PosterPlanner::Poster &poster : input.posters)
                posters << u"%1@%2"_s.arg(poster.number).arg(poster.offset, 0, 'g', 3);
            inputs << u"%1%2: %3"_s.arg(input.seek, 0, 'g', 4).arg(input.atKeyframe ? u"k"_s : u"?"_s, posters.join(u' '));
        }
        described << inputs.join(u"; "_s);
    }
    return described.join(u" | "_s);
}

// A keyframe listing as the probe tool prints it, with a picture that is no keyframe and another stream's keyframe.
QByteArray listing(const QList<double> &keyframes)
{
    QByteArray text = "1,0.000000,K_\n";
    for (const double time : keyframes)
        text += "0," + QByteArray::number(time, 'f', 6) + ",K_\n0," + QByteArray::number(time + 0.04, 'f', 6) + ",__\n";
    return text;
}

} // namespace

void TestPosterExtractor::plans_data()
{
    QTest::addColumn<double>("duration");
    QTest::addColumn<double>("frameRate");
    QTest::addColumn<QSize>("frame");
    QTest::addColumn<QByteArray>("keyframes"); // the listing; empty: none known
    QTest::addColumn<QString>("plan");

    // A phone clip with one keyframe: one pass decodes it once for all eleven.
    QTest::newRow("single keyframe") << 0.3 << 60.0 << QSize(3840, 2160) << listing({ 0 })
                                     << u"0k: 1@0.025 2@0.05 3@0.075 4@0.1 5@0.125 6@0.15 7@0.175 8@0.2 9@0.225 "
                                        "10@0.25 11@0.275"_s;
    // Ten seconds between keyframes is too long a decode: the posters are the keyframes, on both cores.
    QTest::newRow("long keyframe intervals") << 60.0 << 25.0 << QSize(1920, 1080)
                                             << listing({ 0, 10, 20, 30, 40, 50 })
                                             << u"0k: 1@0; 20k: 4@0 5@0; 40k: 8@0 9@0 | 10k: 2@0 3@0; 30k: 6@0 7@0; "
                                                "50k: 10@0 11@0"_s;
    // Close keyframes: every poster exact, from the keyframe before it.
    QList<double> everySecond;
    for (int second = 0; second < 30; ++second)
        everySecond << second;
    QTest::newRow("a keyframe every second")
        << 30.0 << 25.0 << QSize(1920, 1080) << listing(everySecond)
        << u"2k: 1@0.5; 10k: 4@0; 12k: 5@0.5; 20k: 8@0; 22k: 9@0.5 | 5k: 2@0; 7k: 3@0.5; 15k: 6@0; 17k: 7@0.5; "
           "25k: 10@0; 27k: 11@0.5"_s;
    // Keyframes not listed in time: each poster is the keyframe its seek lands on.
    QTest::newRow("keyframes unknown") << 24.0 << 25.0 << QSize(1920, 1080) << QByteArray()
                                       << u"2?: 1@0; 6?: 3@0; 10?: 5@0; 14?: 7@0; 18?: 9@0; 22?: 11@0 | 4?: 2@0; "
                                          "8?: 4@0; 12?: 6@0; 16?: 8@0; 20?: 10@0"_s;
    // A first keyframe after the start, as in a stream cut off before it; too costly to decode whole.
    QTest::newRow("starts before its first keyframe") << 2.4 << 25.0 << QSize(3840, 2160) << listing({ 0.5 })
                                                      << u"0.5k: 1@0 2@0 3@0.1 4@0.3 5@0.5 6@0.7 7@0.9 8@0 9@0 10@0 "
                                                         "11@0"_s;
}

void TestPosterExtractor::plans()
{
    QFETCH(double, duration);
    QFETCH(double, frameRate);
    QFETCH(QSize, frame);
    QFETCH(QByteArray, keyframes);
    QFETCH(QString, plan);

    QList<double> times;
    for (const QString &time : PosterExtractor::seekTimes(duration))
        times << time.toDouble();
    const PosterPlanner::Video video { frameRate, double(frame.width()) * frame.height() };
    const auto runs = PosterPlanner::plan(times, KeyframeListing::keyframeTimes(keyframes, 0), video, 2);
    QCOMPARE(describe(runs), plan);
}

void TestPosterExtractor::missingEncoder()
{
    QTemporaryDir dir;
    PosterExtractor extractor(QString{}, Fixtures::ffprobe());
    QSignalSpy made(&extractor, &PosterExtractor::frameMade);
    QSignalSpy failed(&extractor, &PosterExtractor::failed);
    extractor.extractPosterFrames({ u"/no/such.mp4"_s, 0, u"h264"_s, 10, 25, QSize(64, 64), QSize(64, 64) },
                                  dir.filePath(u"Images"_s), QSize());
    QVERIFY(failed.wait(5000));
    QCOMPARE(made.count(), 0);
}

QTEST_GUILESS_MAIN(TestPosterExtractor)
#include "tst_posterextractor.moc"
