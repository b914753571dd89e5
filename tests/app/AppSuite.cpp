#include "AppSuite.h"

#include "AppDriver.h"
#include "ImageDropView.h"
#include "SelectionHolder.h"
#include "crop/PosterPlan.h"
#include "media/FileProbe.h"
#include "support/Fixtures.h"
#include "util/TimeText.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QProcess>
#include <QSlider>
#include <QTest>
#include <QtEndian>

using namespace Qt::StringLiterals;

namespace {

QStringList lavfi(const QString &source)
{
    return { u"-f"_s, u"lavfi"_s, u"-i"_s, source };
}

} // namespace

void AppSuite::makeFiles(const QStringList &kinds)
{
    for (const QString &kind : kinds) {
        if (!m_files.contains(kind))
            m_files[kind] = make(kind);
        QVERIFY2(!m_files[kind].isEmpty(), qPrintable(kind));
    }
}

QString AppSuite::make(const QString &kind)
{
    const QString dir = m_fixtures.path();
    const auto made = [](bool ok, const QString &path) { return ok ? path : QString(); };
    Fixtures::Video rotated { 640, 360, 1.0 };
    rotated.rotate = 90;
    const std::pair<QString, Fixtures::Video> videos[] = {
        { u"hd"_s, { 1920, 1080, 1.0 } },     { u"long"_s, { 1280, 720, 30.0 } },
        { u"portrait"_s, { 360, 640, 1.0 } }, { u"square"_s, { 480, 480, 1.0 } },
        { u"rotated"_s, rotated },            { u"small"_s, {} },
        { u"minute"_s, { 320, 180, 60.0 } },
    };
    for (const auto &[name, video] : videos) {
        if (kind == name)
            return Fixtures::makeVideo(dir, name + u".mp4"_s, video);
    }
    // Made by one ffmpeg command each: the output is the last argument.
    const QString small = u"testsrc2=size=320x240:rate=%1:duration=%2"_s;
    const std::pair<QString, QStringList> commands[] = {
        { u"audio"_s, lavfi(u"sine=duration=1"_s) << dir + u"/song.m4a"_s },
        // A dual-camera recorder's file: the small clip first.
        { u"dual"_s, lavfi(u"testsrc2=size=640x360:rate=25:duration=2"_s)
                         + lavfi(u"testsrc=size=1280x960:rate=25:duration=4"_s)
                         + QStringList { "-map", "0", "-map", "1", "-c:v", "libx264", "-preset", "ultrafast",
                                         dir + "/dual.mp4" } },
        { u"pal"_s, lavfi(u"testsrc2=size=720x576:rate=25:duration=1"_s)
                        + QStringList { "-vf", "setsar=64/45", "-c:v", "libx264", "-preset", "ultrafast",
                                        dir + "/pal.mp4" } },
        { u"film"_s, lavfi(u"testsrc2=size=1920x804:rate=5:duration=2,pad=1920:1080:0:138"_s)
                         + QStringList { "-c:v", "libx264", "-preset", "ultrafast", dir + "/film.mp4" } },
        // Thirty frames a second for two seconds, then ten.
        { u"variable rate"_s, lavfi(small.arg(30).arg(4))
                                  + QStringList { "-vf", "select='lt(t,2)+not(mod(n,3))'", "-fps_mode", "vfr", "-c:v",
                                                  "libx264", "-preset", "ultrafast", dir + "/vfr.mp4" } },
        { u"interlaced"_s, lavfi(small.arg(50).arg(2))
                               + QStringList { "-vf", "interlace=scan=tff", "-c:v", "libx264", "-preset", "ultrafast",
                                               "-flags", "+ildct+ilme", "-x264-params", "tff=1",
                                               dir + "/interlaced.mp4" } },
        { u"5.1 sound"_s, lavfi(small.arg(25).arg(2)) + lavfi(u"sine=duration=2,aformat=channel_layouts=5.1"_s)
                              + QStringList { "-c:v", "libx264", "-preset", "ultrafast", "-c:a", "aac",
                                              dir + "/surround.mp4" } },
        { u"5.1 AC-3"_s, lavfi(small.arg(25).arg(2)) + lavfi(u"sine=duration=2,aformat=channel_layouts=5.1"_s)
                             + QStringList { "-c:v", "libx264", "-preset", "ultrafast", "-c:a", "ac3",
                                             dir + "/surround-ac3.mp4" } },
        // A box that moves in the left third for five seconds, then stands still; the rest of the scene is still.
        { u"moving box"_s, lavfi(u"color=c=0x303040:size=1280x720:rate=25:duration=12[bg];"
                                 "color=c=white:size=80x80:rate=25[box];[bg][box]overlay=x='min(t\\,5)*60':y=320:shortest=1"_s)
                               + QStringList { "-c:v", "libx264", "-preset", "ultrafast", "-g", "25",
                                               dir + "/box.mp4" } },
        // MPEG-2 in a program stream, a keyframe every four seconds: its seeks land anywhere.
        { u"tape"_s, lavfi(small.arg(25).arg(20)) + lavfi(u"sine=duration=20"_s)
                         + QStringList { "-c:v", "mpeg2video", "-g", "100", "-bf", "2", "-c:a", "mp2",
                                         dir + "/tape.mpg" } },
        { u"dated and placed"_s, lavfi(small.arg(25).arg(2))
                                     + QStringList { "-c:v", "libx264", "-preset", "ultrafast", "-metadata",
                                                     "creation_time=2024-05-01T10:00:00.000000Z", "-metadata",
                                                     "location=+48.8577+002.2950/", dir + "/dated.mp4" } },
    };
    for (const auto &[name, arguments] : commands) {
        if (kind == name)
            return made(Fixtures::runFfmpeg(arguments), arguments.last());
    }
    if (kind == u"missing")
        return dir + u"/missing.mp4"_s;
    if (kind == u"one picture")
        return made(Fixtures::runFfmpeg(lavfi(small.arg(25).arg(0.04)) + QStringList { "-c:v", "libx264", dir + "/one.mkv" }),
                    dir + u"/one.mkv"_s);
    // A recorder's file whose first video stream never got a picture; the second has them.
    if (kind == u"empty first stream")
        return made(Fixtures::runFfmpeg(lavfi(small.arg(25).arg(2) + u",trim=end_frame=0"_s)
                                        + lavfi(u"testsrc=size=160x120:rate=25:duration=2"_s)
                                        + QStringList { "-map", "0", "-map", "1", "-c:v", "libx264", "-preset",
                                                        "ultrafast", dir + "/emptyfirst.mkv" }),
                    dir + u"/emptyfirst.mkv"_s);
    // A WebM copied through a pipe: its header says 2 s of its 10.
    if (kind == u"piped WebM") {
        const QString part = dir + u"/part.webm"_s;
        if (!Fixtures::runFfmpeg(lavfi(u"testsrc2=size=160x90:rate=25:duration=2"_s)
                                 + QStringList { "-c:v", "libvpx", "-deadline", "realtime", "-cpu-used", "8", "-g",
                                                 "25", part }))
            return QString();
        QProcess copy;
        copy.setStandardOutputFile(dir + u"/piped.webm"_s);
        copy.start(Fixtures::ffmpeg(), { u"-v"_s, u"error"_s, u"-stream_loop"_s, u"4"_s, u"-i"_s, part, u"-c"_s,
                                         u"copy"_s, u"-f"_s, u"webm"_s, u"-"_s });
        return made(copy.waitForFinished(30'000) && copy.exitCode() == 0, dir + u"/piped.webm"_s);
    }
    // Two sound tracks (English, and German with a title), a forced English subtitle and two chapters.
    if (kind == u"tracks") {
        const QString srt = Fixtures::writeFile(dir + u"/lines.srt"_s, "1\n00:00:01,000 --> 00:00:03,000\nFirst line\n\n"
                                                                        "2\n00:00:04,000 --> 00:00:05,500\nSecond line\n");
        const QString chapters = Fixtures::writeFile(
            dir + u"/chapters.txt"_s, ";FFMETADATA1\n[CHAPTER]\nTIMEBASE=1/1000\nSTART=0\nEND=3000\ntitle=One\n"
                                      "[CHAPTER]\nTIMEBASE=1/1000\nSTART=3000\nEND=6000\ntitle=Two\n");
        return made(Fixtures::runFfmpeg(lavfi(small.arg(25).arg(6)) + lavfi(u"sine=frequency=300:duration=6"_s)
                                        + lavfi(u"sine=frequency=600:duration=6"_s)
                                        + QStringList { "-i", srt, "-i", chapters, "-map", "0:v", "-map", "1:a", "-map",
                                                        "2:a", "-map", "3:s", "-map_chapters", "4", "-c:v", "libx264",
                                                        "-preset", "ultrafast", "-c:a", "aac", "-c:s", "srt",
                                                        "-metadata:s:a:0", "language=eng", "-metadata:s:a:1",
                                                        "language=deu", "-metadata:s:a:1", "title=Deutsch",
                                                        "-metadata:s:s:0", "language=eng", "-disposition:a:1", "0",
                                                        "-disposition:s:0", "forced", dir + "/tracks.mkv" }),
                    dir + u"/tracks.mkv"_s);
    }
    // HDR10 as cameras and grading tools write it: HEVC Main10, PQ, BT.2020, the mastering display and light level.
    if (kind == u"hdr10")
        return made(Fixtures::runFfmpeg(lavfi(small.arg(25).arg(1))
                                        + QStringList { "-pix_fmt", "yuv420p10le", "-c:v", "libx265", "-preset",
                                                        "ultrafast", "-x265-params",
                                                        "log-level=error:hdr10=1:master-display=G(13250,34500)"
                                                        "B(7500,3000)R(34000,16000)WP(15635,16450)L(10000000,1):"
                                                        "max-cll=1000,400",
                                                        "-color_primaries", "bt2020", "-color_trc", "smpte2084",
                                                        "-colorspace", "bt2020nc", "-tag:v", "hvc1",
                                                        dir + "/hdr10.mp4" }),
                    dir + u"/hdr10.mp4"_s);
    if (kind == u"tiny")
        return made(Fixtures::runFfmpeg(lavfi(u"color=size=16x16:duration=1,scale=1:1"_s)
                                        + QStringList { "-c:v", "libx264", "-pix_fmt", "yuv444p", dir + "/tiny.mp4" }),
                    dir + u"/tiny.mp4"_s);
    if (kind == u"text")
        return Fixtures::writeFile(dir + u"/notes.mp4"_s, "Not a video, whatever its name says.\n");
    // A playable video under a name that is refused all the same; the record's table has the other refusals.
    if (kind == u"vob") {
        makeFiles({ u"small"_s });
        return made(QFile::copy(m_files[u"small"_s], dir + u"/clip.VOB"_s), dir + u"/clip.VOB"_s);
    }
    // A subtitle that outlasts a two-frame video.
    if (kind == u"short video, long subtitle") {
        const QString srt = Fixtures::writeFile(dir + u"/long.srt"_s, "1\n00:00:00,000 --> 00:00:01,240\nHello\n");
        return made(Fixtures::runFfmpeg(lavfi(u"testsrc2=size=320x180:rate=25:duration=0.08"_s)
                                        + QStringList { "-i", srt, "-map", "0", "-map", "1", "-c:v", "libx264",
                                                        dir + "/short.mkv" }),
                    dir + u"/short.mkv"_s);
    }
    // Its end cut away, as a recording that stopped with the disk full; the header still says 10 s.
    if (kind == u"damaged end") {
        const QString whole = dir + u"/whole.mkv"_s;
        if (!Fixtures::runFfmpeg(lavfi(small.arg(25).arg(10)) + QStringList { "-c:v", "libx264", "-preset", "ultrafast", whole }))
            return QString();
        const QByteArray bytes = Fixtures::readFile(whole);
        return Fixtures::writeFile(dir + u"/damaged.mkv"_s, bytes.left(bytes.size() * 3 / 10));
    }
    // Subtitles made of pictures, as DVDs carry them: a VobSub of two 2 x 2 pictures at 1 s and 4 s, beside a video.
    if (kind == u"picture subtitles") {
        // A picture of colour 1, its two fields run-length coded, then its commands: palette, contrast, place,
        // fields, show at once; then hide after 2 s.
        const QByteArray commands = QByteArray::fromHex("03012304fff005000001000001060004000501ff");
        const auto word = [](int value) { return QByteArray(1, char(value >> 8)) + char(value & 0xff); };
        const int hide = 6 + 4 + int(commands.size());
        const QByteArray body = QByteArray::fromHex("9090") + word(0) + word(hide) + commands + word(176) + word(hide)
            + QByteArray::fromHex("02ff");
        const QByteArray spu = word(4 + int(body.size())) + word(6) + body;
        QByteArray sub;
        for (const qint64 pts : { 90'000, 360'000 }) {
            QByteArray stamp;
            for (const qint64 byte : { 0x21 | ((pts >> 29) & 0x0e), (pts >> 22) & 0xff, 0x01 | ((pts >> 14) & 0xfe),
                                       (pts >> 7) & 0xff, 0x01 | ((pts << 1) & 0xfe) })
                stamp += char(byte);
            const QByteArray payload = QByteArray::fromHex("818005") + stamp + char(0x20) + spu;
            QByteArray sector = QByteArray::fromHex("000001ba4400040004010189c3f8000001bd") + word(int(payload.size()))
                + payload;
            const int padding = 2048 - int(sector.size()) - 6;
            sector += QByteArray::fromHex("000001be") + word(padding) + QByteArray(padding, char(0xff));
            sub += sector;
        }
        Fixtures::writeFile(dir + u"/dvd.sub"_s, sub);
        const QString idx = Fixtures::writeFile(
            dir + u"/dvd.idx"_s,
            "# VobSub index file, v7 (do not modify this line!)\nsize: 320x240\npalette: 000000, ffffff, 808080, "
            "ff0000, 00ff00, 0000ff, ffff00, 00ffff, ff00ff, 000000, 000000, 000000, 000000, 000000, 000000, 000000\n"
            "\nid: en, index: 0\ntimestamp: 00:00:01:000, filepos: 000000000\n"
            "timestamp: 00:00:04:000, filepos: 000000800\n");
        return made(Fixtures::runFfmpeg(lavfi(small.arg(25).arg(6))
                                        + QStringList { "-i", idx, "-map", "0", "-map", "1", "-c:v", "libx264",
                                                        "-preset", "ultrafast", "-c:s", "copy", dir + "/dvd.mkv" }),
                    dir + u"/dvd.mkv"_s);
    }
    // An Xvid AVI as cameras write them, whose last 40 of 175 pictures are empty frames that hold the one before.
    if (kind == u"held end") {
        const QString gap = dir + u"/gap.avi"_s;
        if (!Fixtures::runFfmpeg(lavfi(u"testsrc2=size=320x240:rate=30:duration=5.834"_s)
                                 + QStringList { "-vf", "select='lt(n,135)+eq(n,174)'", "-fps_mode", "passthrough",
                                                 "-c:v", "mpeg4", "-vtag", "XVID", gap }))
            return QString();
        // The muxer fills the gap with empty frames; the last real one becomes one too (and a JUNK chunk).
        QByteArray avi = Fixtures::readFile(gap);
        const qsizetype movi = avi.indexOf("movi"), index = avi.indexOf("idx1");
        const auto word = [&](qsizetype at) { return qFromLittleEndian<quint32>(avi.constData() + at); };
        qsizetype last = -1;
        for (qsizetype at = movi + 4; at + 8 < index; at += 8 + word(at + 4) + (word(at + 4) & 1)) {
            if (avi.mid(at, 4) == "00dc" && word(at + 4) > 0)
                last = at;
        }
        const quint32 size = word(last + 4);
        const QByteArray blank = QByteArray("\0\0\0\0JUNK", 8) + QByteArray(4, '\0');
        avi.replace(last + 4, blank.size(), blank);
        qToLittleEndian<quint32>(size + (size & 1) - 8, avi.data() + last + 12);
        for (qsizetype entry = index + 8; entry + 16 <= avi.size(); entry += 16) {
            if (avi.mid(entry, 4) == "00dc" && word(entry + 12) == size && word(entry + 8) == quint32(last - movi))
                qToLittleEndian<quint32>(0, avi.data() + entry + 12);
        }
        return Fixtures::writeFile(dir + u"/held.avi"_s, avi);
    }
    // A video stream that ffprobe sizes and no decoder can read.
    if (kind == u"undecodable") {
        makeFiles({ u"small"_s });
        QByteArray broken = Fixtures::readFile(m_files[u"small"_s]);
        const qsizetype mdat = broken.indexOf("mdat");
        const qsizetype size = qsizetype(qFromBigEndian<quint32>(broken.constData() + mdat - 4)) - 8;
        broken.replace(mdat + 4, size, QByteArray(size, '\0'));
        return Fixtures::writeFile(dir + u"/undecodable.mp4"_s, broken);
    }
    return QString();
}

void AppSuite::init()
{
    m_work = std::make_unique<QTemporaryDir>();
    QVERIFY(QDir(m_work->path()).mkdir(u"in"_s) && QDir(m_work->path()).mkdir(u"out"_s));
}

void AppSuite::cleanup()
{
    QTRY_COMPARE_WITH_TIMEOUT(Fixtures::childProcesses(), QList<qint64>(), 2000);
    QFile::setPermissions(m_work->filePath(u"out"_s), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    m_work.reset();
}

QString AppSuite::fixture(const QString &kind)
{
    // A copy in the work folder, for the cases that change or delete it.
    const QString copy = m_work->filePath(u"in/"_s + QFileInfo(m_files.value(kind)).fileName());
    return QFile::copy(m_files.value(kind), copy) ? copy : QString();
}

AppDelegate::Tools AppSuite::misbehavingEncoder(const QByteArray &script) const
{
    AppDelegate::Tools tools = AppDelegate::Tools::bundled();
    tools.encoder = Fixtures::writeScript(m_work->filePath(u"in/creator"_s),
                                          "case \"$*\" in *-filter:v:0*) " + script + ";; esac\nexec \""
                                              + Fixtures::ffmpeg().toUtf8() + "\" \"$@\"");
    return tools;
}

QLabel *AppSuite::label(AppDriver &app, const char *name) const
{
    return app.control<QLabel>(name);
}

void AppSuite::choose(QComboBox *box, int index)
{
    box->setCurrentIndex(index);
    Q_EMIT box->activated(index);
}

void AppSuite::verifyPlacedOverThePicture(AppDriver &app)
{
    // The holder covers the picture, centred, with the video's shape; the
    // selection widget sits where the selection in video pixels maps to.
    auto *poster = app.control<ImageDropView>("posterView");
    auto *holder = app.control<SelectionHolder>("selectionRectangleHolder");
    auto *selection = app.control<QWidget>("selectionRectangle");
    const FileProbe &video = *app.delegate().openVideo();
    const QRect h = holder->geometry();
    QVERIFY(qAbs(h.center().x() - poster->rect().center().x()) <= 1);
    QVERIFY(qAbs(h.center().y() - poster->rect().center().y()) <= 1);
    QVERIFY(h.width() == poster->width() || h.height() == poster->height() || h.size() == QSize(*video.videoWidth(), *video.videoHeight()));
    QVERIFY(qAbs(double(h.width()) / h.height() - *video.videoRatio()) < 0.01);
    QCOMPARE(selection->geometry(), holder->shown(holder->selection()).toRect());
}

void AppSuite::press(AppDriver &app, const QString &key)
{
    const QKeyCombination combination = QKeySequence(key)[0];
    QTest::keyClick(app.window(), combination.key(), combination.keyboardModifiers());
}

bool AppSuite::waitForScrubbedPicture(AppDriver &app)
{
    const auto *slider = app.control<QSlider>("posterPositionSlider");
    const auto *shown = app.control<QLabel>("posterTimeLBL");
    // The exact picture: the first at or after the slider's time, so less than a frame after it.
    return QTest::qWaitFor([&] {
        const double after = TimeText::parse(shown->text()).value_or(-1) - slider->value() / 1000.0;
        return after >= 0 && after < 0.04;
    }, 10'000);
}

void AppSuite::verifyPosters(AppDriver &app, const QString &input, int count)
{
    // End is the video's last picture's end, which a subtitle or a sound may outlast.
    QCOMPARE(app.control<QLineEdit>("endTF")->text(), TimeText::format(app.delegate().openVideo()->videoDuration()));
    // Each poster stands at its mark, its picture's own time, which the label beside the slider shows.
    QVERIFY(QTest::qWaitFor([&] { return app.control<QAction>("detectBordersBTN")->isEnabled(); }, 60'000));
    auto *slider = app.control<QSlider>("posterPositionSlider");
    slider->setValue(0);
    double last = -1;
    for (int n = 1; n <= count; ++n) {
        if (n > 1 || !app.control<QLabel>("posterTimeLBL")->text().contains(u" · 1 / "_s))
            QTest::keyClick(app.window(), Qt::Key_Period);
        const QString shown = app.control<QLabel>("posterTimeLBL")->text();
        QVERIFY2(shown.endsWith(u" · %1 / %2"_s.arg(n).arg(count)), qPrintable(shown));
        const double time = TimeText::parse(shown.section(u' ', 0, 0)).value_or(-1);
        QCOMPARE(qRound(time * 1000), slider->value());
        QVERIFY2(time > last, qPrintable(u"poster %1 at %2"_s.arg(n).arg(time)));
        last = time;
        const QImage poster(app.control<ImageDropView>("posterView")->imagePath());
        const QImage frame = Fixtures::frameAt(input, QString::number(time, 'f', 3));
        QCOMPARE(poster.size(), PosterPlan::posterSize(frame.size(), app.window()->screen()->size()
                                                                         * app.window()->devicePixelRatio()));
        QVERIFY2(Fixtures::difference(poster, frame) < 8, qPrintable(u"poster %1 differs"_s.arg(n)));
    }
}
