#include "crop/EncoderOutput.h"

#include <QTest>

using namespace Qt::StringLiterals;

using Chunks = QList<QByteArray>;
using Percents = QList<double>; // one per chunk; -1: no progress from that chunk

class TestEncoderOutput : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void progress_data();
    void progress();
    void decisiveMessage_data();
    void decisiveMessage();
};

void TestEncoderOutput::progress_data()
{
    QTest::addColumn<double>("duration");
    QTest::addColumn<Chunks>("chunks");
    QTest::addColumn<Percents>("percents");

    const QByteArray report = "frame=  100 fps= 25 q=28.0 size=256kB time=00:00:04.00 bitrate=524.3kbits/s speed=1x\r";
    QTest::newRow("one stamp") << 10.0 << Chunks { report } << Percents { 40 };
    QTest::newRow("two stamps: the first counts")
        << 10.0 << Chunks { "frame=1 time=00:00:01.00 x\rframe=2 time=00:00:02.00 x\r" } << Percents { 10 };
    QTest::newRow("no time=") << 10.0 << Chunks { "Stream mapping:\n  Stream #0:0 -> #0:0 (h264)\n" }
                              << Percents { -1 };
    QTest::newRow("time=N/A") << 10.0 << Chunks { "frame=0 size=0kB time=N/A bitrate=N/A\r" } << Percents { -1 };
    QTest::newRow("invalid UTF-8") << 10.0 << Chunks { "time=00:00:05.00 \xff\xfe\r" } << Percents { -1 };
    QTest::newRow("a stamp split over two reads")
        << 10.0 << Chunks { "frame=50 time=00:00:0", "2.50 bitrate=1k\r" } << Percents { -1, 25 };
    QTest::newRow("a report split before its end")
        << 20.0 << Chunks { "frame=50 time=00:00:05.00 bitrate=", "1k\rframe=60 time=00:00:06.00" }
        << Percents { -1, 25 };
    // A multi-byte letter split between reads is whole once the line is.
    QTest::newRow("letter split over two reads")
        << 10.0 << Chunks { QByteArray("Input #0, mov, from 'caf\xc3"), QByteArray("\xa9.mp4':\n time=00:00:01.00\r") }
        << Percents { -1, 10 };
    QTest::newRow("duration 0") << 0.0 << Chunks { report } << Percents { -1 };
    QTest::newRow("unknown duration") << std::numeric_limits<double>::quiet_NaN() << Chunks { report }
                                      << Percents { -1 };
    QTest::newRow("time past the end") << 2.0 << Chunks { report } << Percents { 100 };
    QTest::newRow("stamp without time=") << 10.0 << Chunks { "Duration: 00:00:10.00, start: 0\n" }
                                         << Percents { -1 };
}

void TestEncoderOutput::progress()
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

void TestEncoderOutput::decisiveMessage_data()
{
    QTest::addColumn<QByteArray>("log");
    QTest::addColumn<QString>("message");

    // What ffmpeg wrote for a video it could not decode: the last lines say nothing.
    QTest::newRow("undecodable video")
        << QByteArray("[h264 @ 0x1] Invalid NAL unit size (0 > 7530).\nframe=0 time=00:00:00.00 x\r"
                      "Error while decoding stream #0:0: Invalid data found when processing input\n"
                      "[vost#0:0 @ 0x2] 2 frames left in the queue on closing\nConversion failed!\n")
        << u"Error while decoding stream #0:0: Invalid data found when processing input"_s;
    QTest::newRow("only a part's error") << QByteArray("[libx264 @ 0x1] Error: broken\nConversion failed!\n")
                                         << u"[libx264 @ 0x1] Error: broken"_s;
    QTest::newRow("no error") << QByteArray("ffmpeg version 5.1\nConversion failed!\n") << u"Conversion failed!"_s;
}

void TestEncoderOutput::decisiveMessage()
{
    QFETCH(QByteArray, log);
    QFETCH(QString, message);

    EncoderOutput output;
    // Fed in small reads, as the pipe delivers it.
    for (qsizetype i = 0; i < log.size(); i += 7)
        output.feed(log.mid(i, 7), 10);
    QCOMPARE(output.decisiveMessage(), message);
}

QTEST_GUILESS_MAIN(TestEncoderOutput)
#include "tst_encoderoutput.moc"
