#include "media/FileProbe.h"
#include "media/InputFormats.h"
#include "media/ProbeJob.h"
#include "support/Fixtures.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace Qt::StringLiterals;

// FileProbe through the bundled ffprobe on files and on what is no video, and
// its derivation on canned reports, for what ffmpeg cannot make. The
// application tests open real files of every kind.
class TestFileProbe : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void derivation_data();
    void derivation();
    void unusableInputs_data();
    void unusableInputs();
    void containersThatNameOtherFiles_data();
    void containersThatNameOtherFiles();
    void hangingProbe();

private:
    QTemporaryDir m_dir;
    QString m_movie; // a file the canned reports tell of
};

namespace {

QByteArray streamsReport(const QByteArray &streams, const QByteArray &format = R"({"duration": "123.456000"})")
{
    return R"({"streams": [)" + streams + R"(], "format": )" + format + "}";
}

} // namespace

void TestFileProbe::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_movie = Fixtures::writeFile(m_dir.filePath(u"movie.mp4"_s), "not read by the canned reports");
    QVERIFY(!m_movie.isEmpty());
}

void TestFileProbe::derivation_data()
{
    QTest::addColumn<QByteArray>("report");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("expected");

    // expected: valid errors encrypted streams video width height ratio rotate audio many subtitle duration croppable
    QTest::newRow("rotate 90") << streamsReport(R"({"codec_type": "video", "codec_name": "h264", "avg_frame_rate":
        "25/1", "width": 1920, "height": 1080, "tags": {"rotate": "90"}})")
                               << u"a.mp4"_s << u"1 0 0 1 1 1080 1920 0.5625 90 0 0 0 123.456 1"_s;
    QTest::newRow("display matrix -90") << streamsReport(R"({"codec_type": "video", "codec_name": "hevc",
        "avg_frame_rate": "30/1", "width": 1920, "height": 1080,
        "side_data_list": [{"side_data_type": "Display Matrix", "rotation": -90}]})")
                                        << u"a.mp4"_s << u"1 0 0 1 1 1080 1920 0.5625 0 0 0 0 123.456 1"_s;
    QTest::newRow("cover before movie") << streamsReport(R"({"codec_type": "video", "codec_name": "mjpeg",
        "avg_frame_rate": "0/0", "nb_frames": "1", "width": 600, "height": 600}, {"codec_type": "video", "codec_name": "vp9",
        "avg_frame_rate": "25/1", "width": 640, "height": 360})")
                                        << u"a.mkv"_s << u"1 0 0 2 1 640 360 1.77778 0 0 0 0 123.456 1"_s;
    // Chapter art with a real frame rate, marked as an attached picture.
    QTest::newRow("attached picture with a rate") << streamsReport(R"({"codec_type": "video", "codec_name": "png",
        "avg_frame_rate": "600/6283", "width": 600, "height": 600, "disposition": {"attached_pic": 1}},
        {"codec_type": "audio", "codec_name": "aac", "channels": 2})")
                                                  << u"a.m4a"_s << u"1 0 0 2 0 0 0 0 0 1 0 0 123.456 0"_s;
    QTest::newRow("still picture format") << streamsReport(R"({"codec_type": "video", "codec_name": "mjpeg",
        "avg_frame_rate": "25/1", "width": 600, "height": 400})", R"({"format_name": "image2"})")
                                          << u"a.jpg"_s << u"1 0 0 1 0 0 0 0 0 0 0 0 0 0"_s;
    QTest::newRow("no codec name") << streamsReport(R"({"codec_type": "video", "avg_frame_rate": "25/1", "width":
        640, "height": 360})") << u"a.mp4"_s << u"1 0 1 1 1 640 360 1.77778 0 0 0 0 123.456 0"_s;
    // One rule for every codec: the stream marked default, else the first.
    QTest::newRow("the default one") << streamsReport(R"({"codec_type": "video", "codec_name": "hevc", "avg_frame_rate":
        "25/1", "width": 640, "height": 360}, {"codec_type": "video", "codec_name": "hevc", "avg_frame_rate": "25/1",
        "width": 1280, "height": 960, "disposition": {"default": 1}})")
                                     << u"a.mkv"_s << u"1 0 0 2 1 1280 960 1.33333 0 0 0 0 123.456 1"_s;
    // "0/0" is a still only with a single frame: an old Sorenson FLV reports it for its video.
    QTest::newRow("no rate, frames") << streamsReport(R"({"codec_type": "video", "codec_name": "flv1",
        "avg_frame_rate": "0/0", "width": 320, "height": 240})")
                                     << u"a.flv"_s << u"1 0 0 1 1 320 240 1.33333 0 0 0 0 123.456 1"_s;
    QTest::newRow("no rate, one frame") << streamsReport(R"({"codec_type": "video", "codec_name": "png",
        "avg_frame_rate": "0/0", "nb_frames": "1", "width": 320, "height": 240})")
                                        << u"a.mkv"_s << u"1 0 0 1 0 0 0 0 0 0 0 0 123.456 0"_s;
    QTest::newRow("error member") << QByteArray(R"({"error": {"code": -2, "string": "No such file"},
        "streams": [{"codec_type": "audio"}]})") << u"a.mp4"_s << u"0 1 0 0 0 0 0 0 0 0 0 0 0 0"_s;
    QTest::newRow("TXT in capitals") << streamsReport(R"({"codec_type": "video", "width": 640, "height": 360})") << u"notes.TXT"_s << u"0 0 0 1 0 0 0 0 0 0 0 0 0 0"_s;
}

void TestFileProbe::derivation()
{
    QFETCH(QByteArray, report);
    QFETCH(QString, name);
    QFETCH(QString, expected);

    const QString path = Fixtures::writeFile(m_dir.filePath(name), "x");
    const FileProbe p = FileProbe::fromReport(path, report);
    const QString actual = QStringList {
        QString::number(p.isValidMediaFile()), QString::number(p.hasErrors()), QString::number(p.isEncrypted()),
        QString::number(p.numberOfStreams()), QString::number(p.hasVideoTrack()),
        QString::number(p.videoWidth().value_or(0)), QString::number(p.videoHeight().value_or(0)),
        QString::number(p.videoRatio().value_or(0), 'g', 6), QString::number(p.tagRotateValue()),
        QString::number(p.hasAudioTrack()), QString::number(p.hasAudioTrackWhichHasMoreThanTwoChannels()),
        QString::number(p.hasSubtitleTrack()), QString::number(p.duration(), 'g', 10),
        QString::number(p.isCroppableVideo()),
    }.join(u' ');
    QCOMPARE(actual, expected);
}

void TestFileProbe::unusableInputs_data()
{
    QTest::addColumn<QString>("file");     // in the test's folder
    QTest::addColumn<QByteArray>("script"); // of the probe tool; empty: none there
    QTest::addColumn<bool>("valid");
    QTest::addColumn<ProbeTool::Trouble>("trouble");
    QTest::addColumn<int>("diagnosticLines");

    const QByteArray real = "exec \"" + Fixtures::ffprobe().toUtf8() + "\" \"$@\"";
    const auto none = ProbeTool::Trouble::none;
    const auto broken = ProbeTool::Trouble::broken;
    QTest::newRow("missing file") << u"gone.mp4"_s << real << false << none << 2;
    // A FIFO would block the tool forever; a folder is no video.
    QTest::newRow("a FIFO") << u"pipe.mp4"_s << real << false << none << 3;
    QTest::newRow("a folder") << QString() << real << false << none << 3;
    // Tessaly's own installation at fault, not the file.
    QTest::newRow("missing tool") << u"movie.mp4"_s << QByteArray() << false << ProbeTool::Trouble::missing << 1;
    QTest::newRow("not JSON") << u"movie.mp4"_s << QByteArray("echo 'this is not json'") << false << broken << 1;
    QTest::newRow("no output") << u"movie.mp4"_s << QByteArray("exit 0") << false << broken << 1;
    QTest::newRow("exit 1 without a report of the error") << u"movie.mp4"_s << QByteArray("echo '{}'; exit 1") << false
                                                          << broken << 0;
    QTest::newRow("killed by a signal") << u"movie.mp4"_s << QByteArray("printf '{\"streams\": ['; kill -9 $$") << false
                                        << broken << 1;
    // The tool's own verdict on a file it cannot read: the file's fault.
    QTest::newRow("a report of the error, exit 1")
        << u"movie.mp4"_s << QByteArray(R"(echo '{"error": {"code": -1094995529}}'; exit 1)") << false << none << 0;
    QTest::newRow("only the file, path last")
        << u"movie.mp4"_s
        << QByteArray(R"(for a; do last=$a; done; [ "$1 $2 $3" = "-protocol_whitelist file -format_whitelist" ] && )"
                      R"([ -f "$last" ] && echo '{"streams": [{"codec_type": "audio"}]}')")
        << true << none << 0;
    // Larger than any pipe buffer: the report must be drained while the tool runs.
    QTest::newRow("report over 1 MiB")
        << u"movie.mp4"_s
        << QByteArray(R"(printf '{"streams": [{"codec_type": "audio"}], "format": {"tags": {"comment": "';)"
                      R"( head -c 2000000 /dev/zero | tr '\0' 'x'; printf '"}}}')")
        << true << none << 0;
}

void TestFileProbe::unusableInputs()
{
    QFETCH(QString, file);
    QFETCH(QByteArray, script);
    QFETCH(bool, valid);
    QFETCH(ProbeTool::Trouble, trouble);
    QFETCH(int, diagnosticLines);

    const QString path = m_dir.filePath(file);
    if (file == u"pipe.mp4" && !QFileInfo::exists(path))
        QCOMPARE(mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    const QString tool = script.isEmpty() ? m_dir.filePath(u"no-such-tool"_s)
                                          : Fixtures::writeScript(m_dir.filePath(u"fake-probe"_s), script);
    CapturedStdout out;
    const FileProbe p(path, tool);
    QCOMPARE(p.isValidMediaFile(), valid);
    QCOMPARE(p.hasAudioTrack(), valid);
    QCOMPARE(p.toolTrouble(), trouble);
    QCOMPARE(out.text().count(u'\n'), diagnosticLines);
    QCOMPARE(p.fileSizeHuman().value_or(QString()) == u"Unknown File Size", !QFileInfo(path).isFile());
}

void TestFileProbe::containersThatNameOtherFiles_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("format"); // as the tool names what it refused

    // Each names "target", a named pipe: a tool that opened it would wait for a writer until its timeout.
    QTest::newRow("HLS playlist") << QByteArray("#EXTM3U\n#EXT-X-TARGETDURATION:10\n#EXTINF:2,\nfile://@TARGET@\n"
                                                "#EXT-X-ENDLIST\n")
                                  << u"hls"_s;
    QTest::newRow("HLS playlist, a bare path") << QByteArray("#EXTM3U\n#EXT-X-TARGETDURATION:10\n#EXTINF:2,\n@TARGET@\n")
                                               << u"hls"_s;
    QTest::newRow("ffconcat list") << QByteArray("ffconcat version 1.0\nfile target.ts\n") << u"concat"_s;
    QTest::newRow("DASH manifest")
        << QByteArray(R"(<?xml version="1.0"?><MPD xmlns="urn:mpeg:dash:schema:mpd:2011" type="static" )"
                      R"(profiles="urn:mpeg:dash:profile:isoff-on-demand:2011" mediaPresentationDuration="PT2S"><Period><AdaptationSet><Representation id="1" )"
                      R"(bandwidth="1000"><BaseURL>target.ts</BaseURL></Representation></AdaptationSet></Period></MPD>)")
        << u"dash"_s;
}

void TestFileProbe::containersThatNameOtherFiles()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, format);

    // Refused by what it is, whatever its name, before the tool reads what it names.
    QTemporaryDir dir;
    const QString target = dir.filePath(u"target.ts"_s);
    QCOMPARE(mkfifo(QFile::encodeName(target).constData(), 0600), 0);
    const QString path = Fixtures::writeFile(dir.filePath(u"evil.mp4"_s), content.replace("@TARGET@", target.toUtf8()));
    ProbeJob job(Fixtures::ffprobe(), 5000);
    std::optional<FileProbe> probe;
    connect(&job, &ProbeJob::finished, this, [&](const FileProbe &finished) { probe = finished; });
    job.start(path);
    QTRY_VERIFY_WITH_TIMEOUT(probe.has_value(), 10000);
    QCOMPARE(probe->toolTrouble(), ProbeTool::Trouble::none);
    QCOMPARE(probe->formatName(), format);
    QCOMPARE(InputFormats::refusalOf(probe->formatName()), InputFormats::Refusal::playlist);
    QVERIFY(!probe->isCroppableVideo());
}

void TestFileProbe::hangingProbe()
{
    // The watchdog ends a tool that hangs, says so once, and leaves no process behind.
    CapturedStdout out;
    ProbeJob job(Fixtures::writeScript(m_dir.filePath(u"probe"_s), "exec sleep 30"), 300);
    std::optional<FileProbe> probe;
    connect(&job, &ProbeJob::finished, this, [&](const FileProbe &finished) { probe = finished; });
    job.start(m_movie);
    QTRY_VERIFY_WITH_TIMEOUT(probe.has_value(), 5000);
    QVERIFY(!probe->isValidMediaFile());
    QCOMPARE(probe->toolTrouble(), ProbeTool::Trouble::timedOut);
    QTRY_COMPARE_WITH_TIMEOUT(Fixtures::childProcesses(), QList<qint64>(), 2000);
    QCOMPARE(out.text(), u"The probe tool did not finish in time on "_s + m_movie + u'\n');
}

QTEST_GUILESS_MAIN(TestFileProbe)
#include "tst_fileprobe.moc"
