#include "crop/CropArguments.h"
#include "crop/EncoderOutput.h"

#include <QTest>

using namespace Qt::StringLiterals;

using Chunks = QList<QByteArray>;
using Percents = QList<double>; // one per chunk; -1: no progress from that chunk

// The encoder's command line for a crop, and what is read from its output.
class TestCropCommand : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void argumentLists_data();
    void argumentLists();
    void shortOutputs_data();
    void shortOutputs();
    void fittedTrims_data();
    void fittedTrims();
    void progress_data();
    void progress();
    void decisiveMessage_data();
    void decisiveMessage();
};

void TestCropCommand::argumentLists_data()
{
    QTest::addColumn<bool>("downmix");
    QTest::addColumn<int>("scale");
    QTest::addColumn<std::optional<Trim>>("trim");
    QTest::addColumn<QString>("kept"); // "interlaced", or a recording date
    QTest::addColumn<double>("lead");  // seconds decoded before the start
    QTest::addColumn<QStringList>("expected");

    // Only the file itself, in the container the probe found.
    const QStringList input { "-protocol_whitelist", "file", "-format_whitelist", "mov,mp4,m4a,3gp,3g2,mj2",
                              "-i", "/in \"put\" ₤.mov" };
    const QStringList dropped { "-sn", "-dn", "-map_chapters", "-1", "-map_metadata", "-1" };
    const QStringList passthrough { "-fps_mode", "passthrough", "-pix_fmt", "yuv420p" };
    const QStringList head = input + dropped + passthrough;
    const QStringList unscaled = head + QStringList { "-vf", "crop=640:360:0:60", "-y", "/tmp/o.mp4" };
    const std::optional<Trim> whole;
    QTest::newRow("unscaled") << false << 100 << whole << QString() << 0.0 << unscaled;
    // The down-mix stands between the pixel format and the filter.
    QTest::newRow("down-mixed at half scale")
        << true << 50 << whole << QString() << 0.0
        << head + QStringList { "-ac", "2", "-vf", "crop=640:360:0:60,scale=320:180,setsar=1:1", "-y", "/tmp/o.mp4" };
    QTest::newRow("interlaced") << false << 100 << whole << u"interlaced"_s << 0.0
                                << head + QStringList { "-vf", "bwdif=mode=send_frame,crop=640:360:0:60", "-y",
                                                        "/tmp/o.mp4" };
    QTest::newRow("recording date") << false << 100 << whole << u"2024-05-01T10:00:00.000000Z"_s << 0.0
                                    << input + dropped
            + QStringList { "-metadata", "creation_time=2024-05-01T10:00:00.000000Z" } + passthrough
            + unscaled.mid(head.size());
    // Seeking before the input decodes from the keyframe before and drops what comes before the start.
    QTest::newRow("trimmed") << false << 100 << std::optional(Trim { 15, 45.04 }) << QString() << 0.0
                             << QStringList { "-ss", "15.0" } + unscaled.mid(0, 6) + QStringList { "-t", "30.04" }
            + unscaled.mid(6);
    // Where seeks land anywhere, the decode starts earlier and the output drops what lies before the start.
    QTest::newRow("trimmed, a lead") << false << 100 << std::optional(Trim { 15, 45.04 }) << QString() << 10.0
                                     << QStringList { "-ss", "5.0" } + unscaled.mid(0, 6)
            + QStringList { "-ss", "10.0", "-t", "30.04" } + unscaled.mid(6);
    QTest::newRow("trimmed near the start, a lead") << false << 100 << std::optional(Trim { 4, 6 }) << QString() << 10.0
                                                    << QStringList { "-ss", "0.0" } + unscaled.mid(0, 6)
            + QStringList { "-ss", "4.0", "-t", "2.0" } + unscaled.mid(6);
    // ffmpeg refuses "4e-05": times are fixed-point.
    QTest::newRow("a tiny start") << false << 100 << std::optional(Trim { 0.00004, 2 }) << QString() << 0.0
                                  << QStringList { "-ss", "0.00004" } + unscaled.mid(0, 6)
            + QStringList { "-t", "1.99996" } + unscaled.mid(6);
}

void TestCropCommand::argumentLists()
{
    QFETCH(bool, downmix);
    QFETCH(int, scale);
    QFETCH(std::optional<Trim>, trim);
    QFETCH(QString, kept);
    QFETCH(double, lead);
    QFETCH(QStringList, expected);

    CropRequest request;
    request.input = u"/in \"put\" ₤.mov"_s;
    request.inputFormat = u"mov,mp4,m4a,3gp,3g2,mj2"_s;
    request.destination = u"/out put.mp4"_s;
    request.crop = QRect(0, 60, 640, 360);
    request.scalePercent = scale;
    request.scaledSize = QSize(320, 180);
    request.downmixToStereo = downmix;
    request.trim = trim;
    request.seekLead = lead;
    request.deinterlace = kept == u"interlaced";
    request.creationTime = request.deinterlace ? QString() : kept;
    // The command writes where it is told, not to the destination.
    QCOMPARE(buildCropArguments(request, u"/tmp/o.mp4"_s), expected);
}

void TestCropCommand::shortOutputs_data()
{
    QTest::addColumn<std::optional<Trim>>("trim"); // of a 20 s video
    QTest::addColumn<double>("output");
    QTest::addColumn<double>("end"); // -1: as long as asked

    const std::optional<Trim> whole;
    QTest::newRow("a second short") << whole << 19.0 << -1.0;
    QTest::newRow("damaged after 2.4 s") << whole << 2.4 << 2.4;
    QTest::newRow("trimmed, damaged inside") << std::optional(Trim { 5, 15 }) << 3.0 << 8.0;
    // A short clip: 5 % of it.
    QTest::newRow("short clip, a fifth short") << std::optional(Trim { 1, 3 }) << 1.6 << 2.6;
}

void TestCropCommand::shortOutputs()
{
    QFETCH(std::optional<Trim>, trim);
    QFETCH(double, output);
    QFETCH(double, end);

    CropRequest request;
    request.inputDuration = 20;
    request.trim = trim;
    const auto found = readableEnd(request, output);
    QCOMPARE(found.value_or(-1), end);
}

void TestCropCommand::fittedTrims_data()
{
    QTest::addColumn<Trim>("wanted");
    QTest::addColumn<bool>("startEdited");
    QTest::addColumn<Trim>("fitted"); // in a 60 s video, at least 0.04 s long

    QTest::newRow("start after the end") << Trim { 50, 45 } << true << Trim { 44.96, 45 };
    QTest::newRow("end before the start") << Trim { 15, 10 } << false << Trim { 15, 15.04 };
    QTest::newRow("start at the end of the video") << Trim { 60, 60 } << true << Trim { 59.96, 60 };
}

void TestCropCommand::fittedTrims()
{
    QFETCH(Trim, wanted);
    QFETCH(bool, startEdited);
    QFETCH(Trim, fitted);
    const Trim got = fittedTrim(wanted, 60, 0.04, startEdited);
    QVERIFY2(qAbs(got.start - fitted.start) < 1e-9 && qAbs(got.end - fitted.end) < 1e-9,
             qPrintable(u"%1 to %2"_s.arg(got.start).arg(got.end)));
}

void TestCropCommand::progress_data()
{
    QTest::addColumn<double>("duration");
    QTest::addColumn<Chunks>("chunks");
    QTest::addColumn<Percents>("percents");

    const QByteArray report = "frame=  100 fps= 25 q=28.0 size=256kB time=00:00:04.00 bitrate=524.3kbits/s speed=1x\r";
    QTest::newRow("two stamps: the first counts")
        << 10.0 << Chunks { "frame=1 time=00:00:01.00 x\rframe=2 time=00:00:02.00 x\r" } << Percents { 10 };
    QTest::newRow("time=N/A") << 10.0 << Chunks { "frame=0 size=0kB time=N/A bitrate=N/A\r" } << Percents { -1 };
    QTest::newRow("a stamp split over two reads")
        << 10.0 << Chunks { "frame=50 time=00:00:0", "2.50 bitrate=1k\r" } << Percents { -1, 25 };
    // A multi-byte letter split between reads is whole once the line is.
    QTest::newRow("letter split over two reads")
        << 10.0 << Chunks { QByteArray("Input #0, mov, from 'caf\xc3"), QByteArray("\xa9.mp4':\n time=00:00:01.00\r") }
        << Percents { -1, 10 };
    QTest::newRow("duration 0") << 0.0 << Chunks { report } << Percents { -1 };
    QTest::newRow("time past the end") << 2.0 << Chunks { report } << Percents { 100 };
}

void TestCropCommand::progress()
{
    QFETCH(double, duration);
    QFETCH(Chunks, chunks);
    QFETCH(Percents, percents);

    EncoderOutput output;
    for (qsizetype i = 0; i < chunks.size(); ++i) {
        const auto percent = output.feed(chunks[i], duration);
        QCOMPARE(percent.value_or(-1), percents[i]);
    }
}

void TestCropCommand::decisiveMessage_data()
{
    QTest::addColumn<QByteArray>("log");
    QTest::addColumn<QString>("message");

    // What ffmpeg wrote for a video it could not decode: the last lines say nothing.
    QTest::newRow("undecodable video")
        << QByteArray("[h264 @ 0x1] Invalid NAL unit size (0 > 7530).\nframe=0 time=00:00:00.00 x\r"
                      "Error while decoding stream #0:0: Invalid data found when processing input\n"
                      "[vost#0:0 @ 0x2] 2 frames left in the queue on closing\nConversion failed!\n")
        << u"Error while decoding stream #0:0: Invalid data found when processing input"_s;
    QTest::newRow("no error") << QByteArray("ffmpeg version 5.1\nConversion failed!\n") << u"Conversion failed!"_s;
}

void TestCropCommand::decisiveMessage()
{
    QFETCH(QByteArray, log);
    QFETCH(QString, message);

    EncoderOutput output;
    // Fed in small reads, as the pipe delivers it.
    for (qsizetype i = 0; i < log.size(); i += 7)
        output.feed(log.mid(i, 7), 10);
    QCOMPARE(output.decisiveMessage(), message);
}

QTEST_GUILESS_MAIN(TestCropCommand)
#include "tst_cropcommand.moc"
