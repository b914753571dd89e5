#include "crop/CropArguments.h"
#include "crop/EncoderOutput.h"
#include "crop/SubtitleCues.h"

#include <QTest>

using namespace Qt::StringLiterals;

using Chunks = QList<QByteArray>;

// What a crop writes of each track, the encoder's command line for it, and what is read from the encoder.
class TestCropCommand : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void plans_data();
    void plans();
    void argumentLists_data();
    void argumentLists();
    void shortOutputs_data();
    void shortOutputs();
    void fittedTrims_data();
    void fittedTrims();
    void progress_data();
    void progress();
    void figures_data();
    void figures();
    void decisiveMessage_data();
    void decisiveMessage();
    void subtitleCues_data();
    void subtitleCues();
};

namespace {

MediaStream stream(qint64 index, MediaStream::Type type, const QString &codec, int channels = 0,
                   const QString &language = {})
{
    MediaStream s;
    s.index = index;
    s.type = type;
    s.codec = codec;
    s.channels = channels;
    s.channelLayout = channels == 6 ? u"5.1(side)"_s : channels == 2 ? u"stereo"_s : QString();
    s.language = language;
    return s;
}

using Type = MediaStream::Type;
using Streams = QList<MediaStream>;

// "0:libx264 1:copy 2:aac/160/2 3:mov_text | 4:dropped", in output order.
QString fates(const OutputPlan &plan)
{
    QStringList written, dropped;
    for (const TrackPlan &track : plan.tracks) {
        QString fate = QString::number(track.stream.index) + u':' + track.codec;
        if (track.bitRate)
            fate += u"/%1"_s.arg(track.bitRate) + (track.channels ? u"/%1"_s.arg(track.channels) : QString());
        (plan.isWritten(track) ? written : dropped) << (plan.isWritten(track) ? fate : QString::number(track.stream.index));
    }
    return (written.join(u' ') + u" | "_s + dropped.join(u' ')).trimmed();
}

} // namespace

void TestCropCommand::plans_data()
{
    QTest::addColumn<Streams>("streams");
    QTest::addColumn<qint64>("video");
    QTest::addColumn<int>("bitDepth");
    QTest::addColumn<QString>("container");
    QTest::addColumn<QString>("choice"); // "stereo", "h264", "hevc", "no subtitles"
    QTest::addColumn<QString>("expected");

    const MediaStream h264 = stream(0, Type::video, u"h264"_s);
    const Streams tracks { h264, stream(1, Type::audio, u"aac"_s, 2, u"eng"_s), stream(2, Type::audio, u"aac"_s, 2, u"deu"_s),
                           stream(3, Type::subtitle, u"subrip"_s, 0, u"eng"_s) };
    QTest::newRow("two sound tracks and a subtitle, MP4") << tracks << qint64(0) << 8 << u"mp4"_s << QString()
                                                          << u"0:libx264 1:copy 2:copy 3:mov_text |"_s;
    QTest::newRow("the same, Matroska") << tracks << qint64(0) << 8 << u"mkv"_s << QString()
                                        << u"0:libx264 1:copy 2:copy 3:copy |"_s;
    QTest::newRow("subtitles left out") << tracks << qint64(0) << 8 << u"mp4"_s << u"no subtitles"_s
                                        << u"0:libx264 1:copy 2:copy | 3"_s;
    // The picture's stream is the second: it goes first all the same.
    QTest::newRow("sound before the picture") << Streams { stream(0, Type::audio, u"ac3"_s, 6), stream(1, Type::video, u"hevc"_s) }
                                              << qint64(1) << 8 << u"mp4"_s << QString() << u"1:libx264 0:copy |"_s;
    const Streams surround { h264, stream(1, Type::audio, u"ac3"_s, 6), stream(2, Type::audio, u"pcm_s16le"_s, 2) };
    QTest::newRow("5.1 kept, PCM encoded for MP4") << surround << qint64(0) << 8 << u"mp4"_s << QString()
                                                   << u"0:libx264 1:copy 2:aac/160 |"_s;
    QTest::newRow("PCM kept in MOV") << surround << qint64(0) << 8 << u"mov"_s << QString()
                                     << u"0:libx264 1:copy 2:copy |"_s;
    QTest::newRow("stereo chosen: 5.1 mixed down") << surround << qint64(0) << 8 << u"mp4"_s << u"stereo"_s
                                                   << u"0:libx264 1:aac/160/2 2:aac/160 |"_s;
    const Streams disc { h264, stream(1, Type::subtitle, u"hdmv_pgs_subtitle"_s), stream(2, Type::data, u"bin_data"_s),
                         stream(3, Type::video, u"h264"_s), stream(4, Type::attachment, u"ttf"_s) };
    QTest::newRow("picture subtitles and fonts: Matroska only") << disc << qint64(0) << 8 << u"mkv"_s << QString()
                                                                 << u"0:libx264 1:copy 4:copy | 2 3"_s;
    QTest::newRow("picture subtitles and fonts dropped in MP4") << disc << qint64(0) << 8 << u"mp4"_s << QString()
                                                                 << u"0:libx264 | 1 2 3 4"_s;
    // A 10-bit picture keeps its depth in HEVC, unless H.264 is asked for.
    QTest::newRow("10-bit: HEVC") << Streams { h264 } << qint64(0) << 10 << u"mp4"_s << QString() << u"0:libx265 |"_s;
    QTest::newRow("10-bit, H.264 asked") << Streams { h264 } << qint64(0) << 10 << u"mp4"_s << u"h264"_s
                                         << u"0:libx264 |"_s;
    QTest::newRow("8-bit, HEVC asked") << Streams { h264 } << qint64(0) << 8 << u"mov"_s << u"hevc"_s << u"0:libx265 |"_s;
}

void TestCropCommand::plans()
{
    QFETCH(Streams, streams);
    QFETCH(qint64, video);
    QFETCH(int, bitDepth);
    QFETCH(QString, container);
    QFETCH(QString, choice);
    QFETCH(QString, expected);

    OutputSettings settings;
    settings.audio = choice == u"stereo" ? OutputSettings::Audio::stereo : OutputSettings::Audio::keep;
    settings.subtitles = choice != u"no subtitles";
    settings.videoCodec = choice == u"h264"   ? OutputSettings::VideoCodec::h264
        : choice == u"hevc"                   ? OutputSettings::VideoCodec::hevc
                                              : OutputSettings::VideoCodec::automatic;
    PictureColour colour;
    colour.bitDepth = bitDepth;
    const OutputPlan plan = OutputPlanner::plan(streams, video, colour, 0, *containerOf(u"o."_s + container), settings);
    QCOMPARE(fates(plan), expected);
    QCOMPARE(plan.pixelFormat, bitDepth > 8 && plan.videoEncoder == u"libx265" ? u"yuv420p10le"_s : u"yuv420p"_s);
    // Every track is named in the alert, and every one not kept as it was says why.
    const QStringList notes = plan.notes();
    QCOMPARE(notes.size(), streams.size() + (bitDepth > 8 && choice == u"h264" ? 1 : 0));
    for (const TrackPlan &track : plan.tracks)
        QVERIFY2(track.fate == TrackPlan::Fate::copied || track.stream.index == video || !track.why.isEmpty()
                     || track.stream.codec == u"subrip",
                 qPrintable(notes.join(u'\n')));
}

void TestCropCommand::argumentLists_data()
{
    QTest::addColumn<std::optional<Trim>>("trim");
    QTest::addColumn<double>("lead"); // seconds decoded before the start
    QTest::addColumn<int>("scale");
    QTest::addColumn<QString>("kept"); // "interlaced", or a recording date
    QTest::addColumn<QStringList>("head");     // the arguments up to the maps
    QTest::addColumn<QString>("filter");

    const QStringList input { "-protocol_whitelist", "file", "-format_whitelist", "mov,mp4,m4a,3gp,3g2,mj2", "-i",
                              "/in \"put\" ₤.mov" };
    const std::optional<Trim> whole;
    QTest::newRow("unscaled") << whole << 0.0 << 100 << QString() << input << u"crop=640:360:0:60"_s;
    QTest::newRow("half scale") << whole << 0.0 << 50 << QString() << input
                                << u"crop=640:360:0:60,scale=320:180,setsar=1:1"_s;
    QTest::newRow("interlaced") << whole << 0.0 << 100 << u"interlaced"_s << input
                                << u"bwdif=mode=send_frame,crop=640:360:0:60"_s;
    // Seeking before the input decodes from the keyframe before and drops what comes before the start.
    QTest::newRow("trimmed") << std::optional(Trim { 15, 45.04 }) << 0.0 << 100 << QString()
                             << QStringList { "-ss", "15.0" } + input + QStringList { "-t", "30.05" }
                             << u"crop=640:360:0:60,trim=end=30.04"_s;
    // Where seeks land anywhere, the decode starts earlier and the output drops what lies before the start.
    QTest::newRow("trimmed, a lead") << std::optional(Trim { 15, 45.04 }) << 10.0 << 100 << QString()
                                     << QStringList { "-ss", "5.0" } + input + QStringList { "-ss", "10.0", "-t", "30.05" }
                                     << u"crop=640:360:0:60,trim=end=40.04"_s;
    QTest::newRow("trimmed near the start, a lead") << std::optional(Trim { 4, 6 }) << 10.0 << 100 << QString()
                                                    << QStringList { "-ss", "0.0" } + input + QStringList { "-ss", "4.0", "-t", "2.01" }
                                                    << u"crop=640:360:0:60,trim=end=6.0"_s;
    // ffmpeg refuses "4e-05": times are fixed-point.
    QTest::newRow("a tiny start") << std::optional(Trim { 0.00004, 2 }) << 0.0 << 100 << QString()
                                  << QStringList { "-ss", "0.00004" } + input + QStringList { "-t", "2.00996" }
                                  << u"crop=640:360:0:60,trim=end=1.99996"_s;
}

void TestCropCommand::argumentLists()
{
    QFETCH(std::optional<Trim>, trim);
    QFETCH(double, lead);
    QFETCH(int, scale);
    QFETCH(QString, kept);
    QFETCH(QStringList, head);
    QFETCH(QString, filter);

    CropRequest request;
    request.input = u"/in \"put\" ₤.mov"_s;
    request.inputFormat = u"mov,mp4,m4a,3gp,3g2,mj2"_s;
    request.destination = u"/out put.mp4"_s;
    request.crop = QRect(0, 60, 640, 360);
    request.scalePercent = scale;
    request.scaledSize = QSize(320, 180);
    request.trim = trim;
    request.seekLead = lead;
    request.deinterlace = kept == u"interlaced";
    request.creationTime = request.deinterlace ? QString() : kept;
    MediaStream sound = stream(0, Type::audio, u"aac"_s, 2, u"eng"_s);
    sound.dispositions = QStringList { u"default"_s };
    sound.title = u"Commentary"_s;
    request.plan = OutputPlanner::plan({ sound, stream(1, Type::video, u"h264"_s) }, 1, {}, 2, Container::mp4, {});
    // The command writes where it is told, not to the destination.
    const QStringList arguments = buildCropArguments(request, u"/tmp/o.mp4"_s);
    QCOMPARE(arguments.mid(0, head.size()), head);
    const auto after = [&](const QString &option) { return arguments.value(arguments.indexOf(option) + 1); };
    QCOMPARE(after(u"-filter:v:0"_s), filter);
    const QString maps = arguments.mid(head.size(), 4).join(u' ');
    QCOMPARE(maps, u"-map 0:1 -map 0:0"_s);
    QCOMPARE(after(u"-c:a:0"_s), u"copy"_s);
    QCOMPARE(after(u"-disposition:1"_s), u"default"_s);
    QVERIFY(arguments.contains(u"handler_name=Commentary"_s));
    QCOMPARE(after(u"-map_chapters"_s), u"0"_s);
    // Sound copied from before the trim's start would start the output early.
    QCOMPARE(arguments.contains(u"-copypriorss"_s), bool(trim));
    QCOMPARE(arguments.mid(arguments.size() - 4), (QStringList { "-f", "mp4", "-y", "/tmp/o.mp4" }));
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
    QTest::addColumn<Chunks>("chunks");
    QTest::addColumn<QString>("expected"); // per report: "seconds speed bytes ended"

    const QByteArray report = "frame=100\nout_time_us=4000000\ntotal_size=2048\nspeed=2.5x\nprogress=continue\n";
    QTest::newRow("one report") << Chunks { report } << u"4 2.5 2048 0"_s;
    QTest::newRow("a report split over two reads") << Chunks { report.left(17), report.mid(17) } << u"4 2.5 2048 0"_s;
    QTest::newRow("two reports in one read")
        << Chunks { report + "out_time_us=6000000\nspeed=3x\nprogress=end\n" } << u"4 2.5 2048 0; 6 3 2048 1"_s;
    // The first reports know no time or speed yet.
    QTest::newRow("N/A") << Chunks { "out_time_us=N/A\nspeed=N/A\nprogress=continue\n" } << u"0 0 0 0"_s;
}

void TestCropCommand::progress()
{
    QFETCH(Chunks, chunks);
    QFETCH(QString, expected);

    EncoderOutput output;
    QStringList reports;
    for (const QByteArray &chunk : chunks) {
        for (const EncoderProgress &report : output.feedProgress(chunk))
            reports << u"%1 %2 %3 %4"_s.arg(report.seconds).arg(report.speed).arg(report.bytes).arg(report.ended);
    }
    QCOMPARE(reports.join(u"; "_s), expected);
}

void TestCropCommand::figures_data()
{
    QTest::addColumn<double>("seconds");
    QTest::addColumn<double>("speed");
    QTest::addColumn<qint64>("bytes");
    QTest::addColumn<double>("asked");
    QTest::addColumn<QString>("expected"); // "percent left expected", -1: not known

    QTest::newRow("a quarter at twice real time") << 15.0 << 2.0 << qint64(1'000'000) << 60.0 << u"25 22.5 4000000"_s;
    QTest::newRow("too early to guess the size") << 0.5 << 1.0 << qint64(1000) << 600.0 << u"0.0833333 599.5 -1"_s;
    QTest::newRow("no speed yet") << 0.0 << 0.0 << qint64(0) << 60.0 << u"0 -1 -1"_s;
    // A time past the end, as the last report may give.
    QTest::newRow("past the end") << 61.0 << 1.0 << qint64(5000) << 60.0 << u"100 0 5000"_s;
    QTest::newRow("nothing asked") << 3.0 << 1.0 << qint64(5000) << 0.0 << u"0 -1 -1"_s;
}

void TestCropCommand::figures()
{
    QFETCH(double, seconds);
    QFETCH(double, speed);
    QFETCH(qint64, bytes);
    QFETCH(double, asked);
    QFETCH(QString, expected);

    const ProgressFigures f = figuresOf({ seconds, speed, bytes, false }, asked);
    QCOMPARE(u"%1 %2 %3"_s.arg(f.percent).arg(f.secondsLeft.value_or(-1)).arg(f.expectedBytes.value_or(-1)), expected);
}

void TestCropCommand::decisiveMessage_data()
{
    QTest::addColumn<QStringList>("log");
    QTest::addColumn<QString>("message");

    // What ffmpeg wrote for a video it could not decode: the last lines say nothing.
    QTest::newRow("undecodable video")
        << QStringList { "[h264 @ 0x1] Invalid NAL unit size (0 > 7530).",
                         "Error while decoding stream #0:0: Invalid data found when processing input",
                         "[vost#0:0 @ 0x2] 2 frames left in the queue on closing", "Conversion failed!" }
        << u"Error while decoding stream #0:0: Invalid data found when processing input"_s;
    QTest::newRow("no error") << QStringList { "ffmpeg version 5.1", "Conversion failed!" } << u"Conversion failed!"_s;
}

void TestCropCommand::decisiveMessage()
{
    QFETCH(QStringList, log);
    QFETCH(QString, message);

    EncoderOutput output;
    for (const QString &line : log)
        output.keepMessage(line);
    QCOMPARE(output.decisiveMessage(), message);
}

void TestCropCommand::subtitleCues_data()
{
    QTest::addColumn<bool>("ass");
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QByteArray>("expected");

    // Lines at 1-4 s and 5-9 s of the input, a trim of 4.5 ... 7.5 s.
    const QByteArray srt = "1\n00:00:01,000 --> 00:00:04,000\nHello\n\n2\n00:00:05,000 --> 00:00:09,000\nSecond, line\ntwo\n\n";
    QTest::newRow("SubRip: one line gone, one cut at the end") << false << srt
                                                              << QByteArray("1\n00:00:00,500 --> 00:00:03,000\nSecond, line\ntwo\n\n");
    QTest::newRow("SubRip with Windows line ends") << false << QByteArray(srt).replace("\n", "\r\n")
                                                   << QByteArray("1\n00:00:00,500 --> 00:00:03,000\nSecond, line\ntwo\n\n");
    const QByteArray ass = "[Events]\nFormat: Layer, Start, End, Style, Name, MarginL, MarginR, MarginV, Effect, Text\n"
                           "Dialogue: 0,0:00:01.00,0:00:04.00,Default,,0,0,0,,Hello\n"
                           "Dialogue: 0,0:00:04.00,0:00:05.00,Default,,0,0,0,,On at the start, off after\n";
    QTest::newRow("ASS: the header stays, a line on screen at the start begins at 0")
        << true << ass
        << QByteArray("[Events]\nFormat: Layer, Start, End, Style, Name, MarginL, MarginR, MarginV, Effect, Text\n"
                      "Dialogue: 0,0:00:00.00,0:00:00.50,Default,,0,0,0,,On at the start, off after\n\n");
}

void TestCropCommand::subtitleCues()
{
    QFETCH(bool, ass);
    QFETCH(QByteArray, file);
    QFETCH(QByteArray, expected);
    QCOMPARE(SubtitleCues::retimed(file, ass, 4.5, 3), expected);
}

QTEST_GUILESS_MAIN(TestCropCommand)
#include "tst_cropcommand.moc"
