#include "crop/CropArguments.h"
#include "media/FileProbe.h"
#include "support/Fixtures.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestCropArguments : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void argumentLists_data();
    void argumentLists();
    void diagnosticLine();
};

namespace {

FileProbe probeWithAudio(const QString &path, const char *audio)
{
    const QByteArray report = R"({"streams": [{"codec_type": "video", "codec_name": "h264", "avg_frame_rate": "25/1",
        "width": 1280, "height": 720})" + QByteArray(audio) + "]}";
    return FileProbe::fromReport(path, report);
}

} // namespace

void TestCropArguments::argumentLists_data()
{
    QTest::addColumn<QByteArray>("audio");
    QTest::addColumn<int>("scale");
    QTest::addColumn<QStringList>("expected");

    const QStringList head { "-i", "/in \"put\" ₤.mov", "-sn", "-dn", "-map_chapters", "-1", "-map_metadata", "-1",
                             "-pix_fmt", "yuv420p" };
    const QStringList tail { "-vf", "crop=640:360:0:60", "-y", "/out put.mp4" };
    QTest::newRow("no audio") << QByteArray() << 100 << head + tail;
    QTest::newRow("stereo") << QByteArray(R"(, {"codec_type": "audio", "channels": 2})") << 100 << head + tail;
    QTest::newRow("six channels") << QByteArray(R"(, {"codec_type": "audio", "channels": 6})") << 100
                                  << head + QStringList { "-ac", "2" } + tail;
    // Channels on a stream that is not audio, without any audio stream: no down-mix.
    QTest::newRow("channels without audio") << QByteArray(R"(, {"codec_type": "data", "channels": 6})") << 100
                                            << head + tail;
    QTest::newRow("scale 50") << QByteArray() << 50 << head + QStringList {
        "-vf", "crop=640:360:0:60,scale=320:180,setsar=1:1", "-y", "/out put.mp4" };
    QTest::newRow("six channels at scale 50")
        << QByteArray(R"(, {"codec_type": "audio", "channels": 6})") << 50
        << head + QStringList { "-ac", "2", "-vf", "crop=640:360:0:60,scale=320:180,setsar=1:1", "-y", "/out put.mp4" };
}

void TestCropArguments::argumentLists()
{
    QFETCH(QByteArray, audio);
    QFETCH(int, scale);
    QFETCH(QStringList, expected);

    const FileProbe probe = probeWithAudio(u"/in \"put\" ₤.mov"_s, audio.constData());
    const QSize scaled = scale == 100 ? QSize(640, 360) : QSize(320, 180);
    const QStringList arguments
        = buildCropArguments(probe, u"/in \"put\" ₤.mov"_s, u"/out put.mp4"_s, scale, u"crop=640:360:0:60"_s, scaled);
    QCOMPARE(arguments, expected);
    QCOMPARE(arguments.size(), expected.contains(u"-ac"_s) ? 16 : 14);
}

void TestCropArguments::diagnosticLine()
{
    const FileProbe probe = probeWithAudio(u"/a.mp4"_s, "");
    CapturedStdout out;
    buildCropArguments(probe, u"/a.mp4"_s, u"/b.mp4"_s, 100, u"crop=2:2:0:0"_s, QSize(2, 2));
    const QString line = out.text();
    QCOMPARE(line.count(u'\n'), 1);
    QVERIFY2(line.contains(u"\"-vf\", \"crop=2:2:0:0\", \"-y\", \"/b.mp4\""_s), qPrintable(line));
}

QTEST_GUILESS_MAIN(TestCropArguments)
#include "tst_croparguments.moc"
