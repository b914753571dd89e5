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

// "seek k: poster@offset ... ; next input | next run", k for a known keyframe, K for one from which
// keyframes only are decoded, ? for a seek that lands before.
QString describe(const QList<PosterPlanner::Run> &runs)
{
    QStringList described;
    for (const PosterPlanner::Run &run : runs) {
        QStringList inputs;
        for (const PosterPlanner::Input &input : run) {
            QStringList posters;
            for (const PosterPlanner::Poster &poster : input.posters)
                posters << u"%1@%2"_s.arg(poster.number).arg(poster.offset, 0, 'g', 3);
            const QString kind = input.keyframesOnly ? u"K"_s : input.atKeyframe ? u"k"_s : u"?"_s;
            inputs << u"%1%2: %3"_s.arg(input.seek, 0, 'g', 4).arg(kind, posters.join(u' '));
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
    QTest::addColumn<QString>("fromStart"); // what an encoder loaded early to decode keyframes may do

    // A phone clip with one keyframe: one pass decodes it once for all eleven.
    QTest::newRow("single keyframe") << 0.3 << 60.0 << QSize(3840, 2160) << listing({ 0 })
                                     << u"0k: 1@0.025 2@0.05 3@0.075 4@0.1 5@0.125 6@0.15 7@0.175 8@0.2 9@0.225 "
                                        "10@0.25 11@0.275"_s
                                     << QString();
    // Ten seconds between keyframes is too long a decode: the posters are the keyframes, decoded
    // without the pictures between, half on each core.
    QTest::newRow("long keyframe intervals") << 60.0 << 25.0 << QSize(1920, 1080)
                                             << listing({ 0, 10, 20, 30, 40, 50 })
                                             << u"0K: 1@0 2@10 3@10 4@20 5@20 | 30K: 6@0 7@0 8@10 9@10 10@20 11@20"_s
                                             << u"0K: 1@0 2@10 3@10 4@20 5@20 6@30 7@30 8@40 9@40 10@50 11@50"_s;
    // The keyframes between two keyframe posters are decoded while that is cheaper than a seek:
    // one between 30 and 35 s is, three between 15 and 20 s are not.
    QTest::newRow("keyframes between keyframe posters")
        << 60.0 << 25.0 << QSize(1920, 1080)
        << listing({ 0, 5, 10, 15, 16, 17, 18, 20, 25, 30, 32, 35, 40, 45, 50, 55 })
        << u"5K: 1@0 2@5 3@10; 50K: 10@0 11@5 | 20K: 4@0 5@5 6@10 7@15 8@20 9@25"_s
        << QString(); // sixteen keyframes to decode
    // Close keyframes: every poster exact, from the keyframe before it.
    QList<double> everySecond;
    for (int second = 0; second < 30; ++second)
        everySecond << second;
    QTest::newRow("a keyframe every second")
        << 30.0 << 25.0 << QSize(1920, 1080) << listing(everySecond)
        << u"2k: 1@0.5; 10k: 4@0; 12k: 5@0.5; 20k: 8@0; 22k: 9@0.5 | 5k: 2@0; 7k: 3@0.5; 15k: 6@0; 17k: 7@0.5; "
           "25k: 10@0; 27k: 11@0.5"_s
        << QString();
    // Keyframes not listed in time: each poster is the keyframe its seek lands on.
    QTest::newRow("keyframes unknown") << 24.0 << 25.0 << QSize(1920, 1080) << QByteArray()
                                       << u"2?: 1@0; 6?: 3@0; 10?: 5@0; 14?: 7@0; 18?: 9@0; 22?: 11@0 | 4?: 2@0; "
                                          "8?: 4@0; 12?: 6@0; 16?: 8@0; 20?: 10@0"_s
                                       << QString();
    // A first keyframe after the start, as in a stream cut off before it; too costly to decode whole.
    QTest::newRow("starts before its first keyframe") << 2.4 << 25.0 << QSize(3840, 2160) << listing({ 0.5 })
                                                      << u"0.5k: 1@0 2@0 3@0.1 4@0.3 5@0.5 6@0.7 7@0.9 8@0 9@0 10@0 "
                                                         "11@0"_s
                                                      << QString();
}

void TestPosterExtractor::plans()
{
    QFETCH(double, duration);
    QFETCH(double, frameRate);
    QFETCH(QSize, frame);
    QFETCH(QByteArray, keyframes);
    QFETCH(QString, plan);
    QFETCH(QString, fromStart);

    QList<double> times;
    for (const QString &time : PosterExtractor::seekTimes(duration))
        times << time.toDouble();
    const PosterPlanner::Video video { frameRate, double(frame.width()) * frame.height() };
    const QList<double> listed = KeyframeListing::keyframeTimes(keyframes, 0);
    QCOMPARE(describe(PosterPlanner::plan(times, listed, video, 2)), plan);
    const auto sweep = PosterPlanner::keyframesFromStart(times, listed, video);
    QCOMPARE(sweep ? describe({ PosterPlanner::Run { *sweep } }) : QString(), fromStart);
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
