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
    void lastMessages();
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

void TestEncoderOutput::lastMessages()
{
    EncoderOutput output;
    output.feed("ffmpeg version 5.1\nframe=1 time=00:00:01.00 x\r", 10);
    output.feed("frame=2 time=00:00:02.00 x\r[libx264 @ 0x1] broken\nConversion failed!\n", 10);
    QCOMPARE(output.lastMessages(),
             (QStringList { u"ffmpeg version 5.1"_s, u"[libx264 @ 0x1] broken"_s, u"Conversion failed!"_s }));
    for (int i = 0; i < 10; ++i)
        output.feed(QByteArray::number(i) + '\n', 10);
    QCOMPARE(output.lastMessages().size(), 5);
    QCOMPARE(output.lastMessages().last(), u"9"_s);
}

QTEST_GUILESS_MAIN(TestEncoderOutput)
#include "tst_encoderoutput.moc"
