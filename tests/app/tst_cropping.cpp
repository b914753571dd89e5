#include "AppSuite.h"
#include "ImageDropView.h"
#include "crop/CropJob.h"
#include "media/FileProbe.h"
#include "util/TimeText.h"

#include <QDesktopServices>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QProgressBar>
#include <QSpinBox>
#include <QStatusBar>

#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

// Receives what the result alert's buttons hand to the desktop.
class UrlCatcher : public QObject
{
    Q_OBJECT

public:
    QList<QUrl> urls;

public Q_SLOTS:
    void open(const QUrl &url) { urls << url; }
};

// Cropping through the real window on the offscreen platform, and everything
// that may interrupt a crop. Each case ends with no stray process and nothing
// left where the output goes but what the user asked for.
class TestCropping : public AppSuite
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cropping_data();
    void cropping();
    void keeps_data();
    void keeps();
    void interruptions_data();
    void interruptions();
};

void TestCropping::initTestCase()
{
    makeFiles({ u"hd"_s, u"long"_s, u"portrait"_s, u"small"_s, u"dual"_s, u"undecodable"_s, u"variable rate"_s,
                u"interlaced"_s, u"5.1 sound"_s, u"dated and placed"_s, u"damaged end"_s, u"tracks"_s,
                u"hdr10"_s, u"5.1 AC-3"_s, u"held end"_s, u"picture subtitles"_s });
}

void TestCropping::cropping_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("output"); // in the work folder; empty: the proposed name
    QTest::addColumn<QString>("setup");
    QTest::addColumn<QString>("outcome"); // in the alert's texts
    QTest::addColumn<QString>("result");  // the output's size, "unchanged" or "<ffprobe's arguments> = <value>"
    QTest::addColumn<QString>("button");  // the alert's button to click, or key to press

    const QString cropped = u"Video Cropped Successfully!"_s;
    const QString failed = u"The video could not be cropped."_s;
    const QString sameName = u"Input file name is same as the output file name!"_s;
    const QString out = u"out/Cropped.mp4"_s;
    QTest::newRow("proposed name") << u"hd"_s << QString() << QString() << cropped << u"1600x900"_s
                                   << u"Show in File Manager"_s;
    QTest::newRow("half scale") << u"hd"_s << out << u"scale 50"_s << cropped << u"800x450"_s << u"Play Video"_s;
    // A leading dash, spaces, quotes and letters beyond ASCII, a newline too in the input.
    QTest::newRow("awkward names") << u"awkward"_s << u"out/-y it's Ålesund 東京 \U0001F3AC.mp4"_s
                                   << QString() << cropped << u"270x480"_s << u"OK"_s;
    QTest::newRow("same name") << u"portrait"_s << u"in/portrait.mp4"_s << QString() << sameName << u"unchanged"_s
                               << QString();
    QTest::newRow("encoder fails") << u"portrait"_s << out << u"encoder fails"_s
                                   << u"exit status 1.\nConversion failed!"_s << u"unchanged"_s << QString();
    // Exits 0 but leaves nothing that plays.
    QTest::newRow("encoder writes no video") << u"portrait"_s << out << u"encoder writes nothing"_s
                                             << u"The encoder finished but wrote no usable video."_s << u"unchanged"_s
                                             << QString();
    QTest::newRow("encoder gone after loading") << u"portrait"_s << out << u"encoder gone"_s
                                                << u"The encoder (ffmpeg) is missing"_s << u"unchanged"_s << QString();
    QTest::newRow("the folder deleted during the crop")
        << u"portrait"_s << u"out/gone/Cropped.mp4"_s << u"folder deleted"_s
        << u"was moved or deleted while the video was being cropped."_s << u"absent"_s << QString();
    QTest::newRow("folder not writable") << u"portrait"_s << out << u"read-only folder"_s << failed
                                         << u"unchanged"_s << QString();
    // The temporary output goes beside the destination, so the last rename never crosses file systems.
    QTest::newRow("destination on another file system") << u"portrait"_s << u"/dev/shm"_s << QString() << cropped
                                                        << u"270x480"_s << u"OK"_s;
    // Files from phones and cameras, and ordinary habits.
    QTest::newRow("two video streams: the first is cropped") << u"dual"_s << out << QString() << cropped
                                                             << u"426x240"_s << QString();
    QTest::newRow("crop failure quotes the decisive line") << u"small"_s << out << u"input spoilt after loading"_s
                                                           << u"Error while decoding stream"_s << u"unchanged"_s
                                                           << QString();
    QTest::newRow("a dotted name asks before replacing")
        << u"small"_s << u"out/take.v2"_s << QString() << u"“take.v2.mp4” already exists. Do you want to replace it?"_s
        << u"unchanged"_s << u"Cancel"_s;
    QTest::newRow("the input through a symlink") << u"small"_s << u"out/link.mp4"_s << u"link to the input"_s
                                                 << sameName << u"unchanged"_s << QString();
    QTest::newRow("a symlink destination") << u"small"_s << u"out/link.mp4"_s << u"link"_s << cropped << u"100x100"_s
                                           << QString();
    QTest::newRow("a read-only destination") << u"small"_s << out << u"read-only file"_s << u"is read-only."_s
                                             << u"unchanged"_s << QString();
    // What the output keeps of the input beyond the picture, and what the alert says it changed.
    QTest::newRow("variable frame rate: every frame at its time")
        << u"variable rate"_s << out << QString() << cropped << u"-count_frames -show_entries stream=nb_read_frames = 80"_s
        << u"Return"_s;
    // The shortest trim the fields allow writes its one picture.
    QTest::newRow("Start and End a picture apart") << u"small"_s << out << u"one picture"_s << cropped
                                                   << u"-count_frames -show_entries stream=nb_read_frames = 1"_s
                                                   << QString();
    // A player holds the last picture to the end: 175 frames of a 30 fps clip, not the 135 decoded.
    QTest::newRow("an Xvid AVI whose last pictures are empty frames")
        << u"held end"_s << out << QString() << cropped << u"-show_entries stream=nb_frames = 175"_s << QString();
    QTest::newRow("interlaced: made progressive") << u"interlaced"_s << out << QString()
                                                  << u"Interlaced: made progressive"_s << u"100x100"_s << u"Escape"_s;
    QTest::newRow("5.1 sound: kept") << u"5.1 sound"_s << out << QString() << u"Audio 1 (AAC 5.1): copied"_s
                                     << u"-select_streams a -show_entries stream=channels = 6"_s << QString();
    QTest::newRow("5.1 sound, stereo chosen: mixed down, said")
        << u"5.1 sound"_s << out << u"stereo"_s << u"Audio 1 (AAC 5.1): 5.1 mixed down to stereo AAC, as chosen"_s
        << u"-select_streams a -show_entries stream=channels = 2"_s << QString();
    QTest::newRow("the recording date left out when asked")
        << u"dated and placed"_s << out << u"no recording date"_s << cropped
        << u"-show_entries format_tags=creation_time = "_s << QString();
    QTest::newRow("the recording date kept")
        << u"dated and placed"_s << out << QString() << cropped
        << u"-show_entries format_tags=creation_time = 2024-05-01T10:00:00.000000Z"_s << QString();
    // The selection and the trim move where a copy shows and starts exactly: the crop's left edge to 192, the trim's
    // start to the keyframe at 10 s.
    QTest::newRow("without re-encoding: snapped, shown as declared")
        << u"hd"_s << out << u"instant"_s << u"Video: cropped in its header, no picture re-encoded"_s << u"1600x900"_s
        << QString();
    QTest::newRow("without re-encoding: a trim starts on its keyframe")
        << u"long"_s << out << u"instant trim"_s << cropped << u"-count_frames -show_entries stream=nb_read_frames = 125"_s
        << QString();
    // Its header says 10 s; its last packets, where it could be read to, tell the truth.
    QTest::newRow("a damaged end: as long as it can be read")
        << u"damaged end"_s << out << QString() << u"Output Duration: 00:00:03.0"_s << u"100x100"_s << QString();
}

void TestCropping::cropping()
{
    QFETCH(QString, input);
    QFETCH(QString, output);
    QFETCH(QString, setup);
    QFETCH(QString, outcome);
    QFETCH(QString, result);
    QFETCH(QString, button);

    const QString source = input == u"awkward"
        ? Fixtures::makeVideo(m_work->filePath(u"in"_s), u"-i my \"clip\" it's\ncafé 東京.mp4"_s, { 360, 640, 1.0 })
        : fixture(input);
    QVERIFY(!source.isEmpty());
    QTemporaryDir shm(u"/dev/shm/tessaly-test-XXXXXX"_s);
    if (output == u"/dev/shm") {
        struct stat work, other;
        if (!shm.isValid() || ::stat(QFile::encodeName(m_work->path()), &work) != 0
            || ::stat("/dev/shm", &other) != 0 || work.st_dev == other.st_dev)
            QSKIP("no second file system at /dev/shm");
        output = shm.filePath(u"Cropped.mp4"_s);
    } else if (!output.isEmpty()) {
        output = m_work->filePath(output);
    }
    // Tessaly names the output .mp4 when the name does not end so.
    QString destination = output.isEmpty() ? QFileInfo(source).absolutePath() + u"/Cropped.mp4"_s : output;
    if (!destination.endsWith(u".mp4"_s))
        destination += u".mp4"_s;
    const QString target = m_work->filePath(u"out/target.mp4"_s);
    if (setup == u"link to the input") {
        QVERIFY(QFile::link(source, output));
    } else if (setup == u"link") {
        Fixtures::writeFile(target, "an earlier crop");
        QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner);
        QVERIFY(QFile::link(target, output));
    }
    const QByteArray earlier = "a file the user had";
    if (setup == u"folder deleted")
        QVERIFY(QDir().mkpath(QFileInfo(destination).absolutePath()));
    if (destination != source && !QFileInfo(destination).isSymLink())
        Fixtures::writeFile(destination, earlier);
    const QByteArray sourceBytes = Fixtures::readFile(source);

    AppDelegate::Tools tools = AppDelegate::Tools::bundled();
    if (setup == u"encoder fails")
        tools = misbehavingEncoder("echo 'Conversion failed!' >&2; exit 1");
    else if (setup == u"encoder writes nothing")
        tools = misbehavingEncoder("exit 0");
    else if (setup == u"encoder gone")
        tools = misbehavingEncoder(":");
    else if (setup == u"folder deleted")
        tools = misbehavingEncoder("for a; do last=$a; done; rm -rf \"${last%/*}\"");
    AppDriver app(m_work->path(), tools);
    QVERIFY(app.open(source));
    if (setup == u"encoder gone")
        QVERIFY(QFile::remove(tools.encoder));
    if (setup == u"no recording date")
        app.control<QAction>("keepRecordingDateBTN")->setChecked(false);
    if (setup == u"stereo")
        app.control<QComboBox>("audioPopUpBTN")->setCurrentIndex(1);
    const auto type = [&](const char *field, const QString &time) {
        auto *edit = app.control<QLineEdit>(field);
        edit->setText(time);
        Q_EMIT edit->editingFinished();
    };
    if (setup == u"one picture") {
        type("startTF", u"00:00:00.500"_s);
        type("endTF", u"00:00:00.540"_s);
    } else if (setup == u"instant trim") {
        type("startTF", u"00:00:13.000"_s);
        type("endTF", u"00:00:15.000"_s);
    }
    if (setup == u"scale 50") {
        app.control<QSlider>("scaleFactorSlider")->setValue(50);
        QCOMPARE(label(app, "scaleFactorOutputLBL")->text(), u"Output: 800 x 450"_s);
    } else if (setup == u"input spoilt after loading") {
        Fixtures::writeFile(source, Fixtures::readFile(m_files[u"undecodable"_s]));
    } else if (setup == u"read-only folder") {
        QFile::setPermissions(m_work->filePath(u"out"_s), QFile::ReadOwner | QFile::ExeOwner);
        // Even root cannot make files in /sys.
        if (::geteuid() == 0)
            output = u"/sys/Cropped.mp4"_s;
    } else if (setup == u"read-only file") {
        QFile::setPermissions(destination, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    }
    app.cropTo(output, setup.startsWith(u"instant"_s));
    if (setup == u"instant") {
        QCOMPARE(app.control<QSpinBox>("xField")->value(), 192);
        QVERIFY(app.window()->statusBar()->currentMessage().contains(u"multiple of 64"_s));
    } else if (setup == u"instant trim") {
        QCOMPARE(app.control<QLineEdit>("startTF")->text(), u"00:00:10.000"_s);
    }
    QMessageBox *alert = app.waitForCropEnd();
    QVERIFY2(alert, "no alert, or one over a progress sheet that stayed up");
    const QString text = alert->text() + u'\n' + alert->informativeText();
    qInfo("%s", qPrintable(QString(text).replace(u'\n', u"; "_s)));
    QVERIFY2(text.contains(outcome), qPrintable(text));

    if (button == u"Return" || button == u"Escape") {
        QTest::keyClick(alert, button == u"Return" ? Qt::Key_Return : Qt::Key_Escape);
        QTRY_VERIFY(!app.window()->findChild<QMessageBox *>());
    } else if (!button.isEmpty()) {
        UrlCatcher opened;
        QDesktopServices::setUrlHandler(u"file"_s, &opened, "open");
        const auto buttons = alert->buttons();
        const auto clicked = std::find_if(buttons.begin(), buttons.end(),
                                          [&](QAbstractButton *b) { return b->text().remove(u'&') == button; });
        QVERIFY(clicked != buttons.end());
        (*clicked)->click();
        const QUrl file = QUrl::fromLocalFile(QFileInfo(destination).absoluteFilePath());
        if (button == u"Play Video")
            QTRY_COMPARE(opened.urls, QList<QUrl> { file });
        else if (button == u"Show in File Manager")
            QTRY_COMPARE(opened.urls, QList<QUrl> { QUrl::fromLocalFile(QFileInfo(destination).absolutePath()) });
        QTest::qWait(50);
        QDesktopServices::unsetUrlHandler(u"file"_s);
        if (button == u"OK" || button == u"Cancel")
            QCOMPARE(opened.urls, QList<QUrl>());
    }
    QVERIFY(app.isLoaded());

    if (result == u"absent") {
        QVERIFY(!QFileInfo::exists(destination));
    } else if (result == u"unchanged") {
        const bool isSource = QFileInfo(destination).canonicalFilePath() == QFileInfo(source).canonicalFilePath();
        QCOMPARE(Fixtures::readFile(destination), isSource ? sourceBytes : earlier);
    } else if (result.contains(u" = "_s)) {
        QCOMPARE(Fixtures::probed(destination, result.section(u" = "_s, 0, 0).split(u' ')), result.section(u" = "_s, 1));
    } else {
        const FileProbe made(destination);
        QCOMPARE(u"%1x%2"_s.arg(made.videoWidth().value_or(0)).arg(made.videoHeight().value_or(0)), result);
        if (setup == u"scale 50") {
            const FileProbe in(source);
            QCOMPARE(text.section(u'\n', 1, 3), // the alert is gone
                     u"Input Resolution: 1920 x 1080 (%1)\nOutput Resolution: 800 x 450 (%2)\nOutput Duration: %3"_s
                         .arg(*in.fileSizeHuman(), *made.fileSizeHuman(), TimeText::format(made.duration())));
        } else if (setup == u"instant") {
            // What a player decodes is the source's own picture at the place shown.
            QCOMPARE(Fixtures::difference(Fixtures::frameAt(destination, u"0.5"_s),
                                          Fixtures::frameAt(source, u"0.5"_s).copy(192, 90, 1600, 900)),
                     0.0);
            QCOMPARE(Fixtures::frameAt(destination, u"0.5"_s).size(), QSize(1600, 900));
        } else if (setup == u"link") {
            // The link stays a link; the file it names takes the crop and keeps its permissions.
            QVERIFY(QFileInfo(output).isSymLink());
            QCOMPARE(QFile::permissions(target) & 0x7077, QFile::ReadOwner | QFile::WriteOwner);
        }
    }
    // Nothing beside the destination but the destination itself.
    QCOMPARE(Fixtures::filesIn(QFileInfo(destination).absolutePath()).filter(u".tessaly-"_s), QStringList());
}

namespace {

// "aac eng default" for each track but the chapters' own, as players list them.
QString tracksOf(const QString &video)
{
    QStringList tracks;
    const QString listing = Fixtures::output(Fixtures::ffprobe(),
                                             { u"-show_entries"_s,
                                               u"stream=codec_type,codec_name,channels:stream_tags=language,handler_name:"
                                               u"stream_disposition=default,forced"_s,
                                               u"-of"_s, u"json"_s, video });
    for (const QJsonValue &value : QJsonDocument::fromJson(listing.toUtf8())[u"streams"_s].toArray()) {
        const QJsonObject stream = value.toObject();
        if (stream[u"codec_type"_s].toString() == u"data")
            continue;
        QStringList track { stream[u"codec_name"_s].toString() };
        if (const int channels = stream[u"channels"_s].toInt())
            track << QString::number(channels);
        const QJsonObject tags = stream[u"tags"_s].toObject();
        track << tags[u"language"_s].toString(u"und"_s);
        // MP4's name of a track is its handler's, where it was given one.
        if (const QString name = tags[u"handler_name"_s].toString(); !name.endsWith(u"Handler"_s) && !name.isEmpty())
            track << u'"' + name + u'"';
        for (const QString &flag : { u"default"_s, u"forced"_s }) {
            if (stream[u"disposition"_s][flag].toInt())
                track << flag;
        }
        tracks << track.join(u' ');
    }
    return tracks.join(u"; "_s);
}

} // namespace

void TestCropping::keeps_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("output"); // as typed, in the work folder's "out"
    QTest::addColumn<QString>("setup");  // "stereo", "trim"
    QTest::addColumn<QString>("tracks"); // or "as the input"
    QTest::addColumn<QString>("checks"); // what else is compared: "subtitles", "chapters", "hdr", "sound"
    QTest::addColumn<QString>("said");   // a line of the result alert

    const QString multi = u"h264 und default; aac 1 eng default; aac 1 deu \"Deutsch\"; mov_text eng default forced"_s;
    QTest::newRow("two languages, a subtitle and chapters, to MP4")
        << u"tracks"_s << u"kept.mp4"_s << QString() << multi << u"subtitles chapters sound"_s
        << u"Subtitle 1 (eng, SubRip): kept as MP4 text"_s;
    QTest::newRow("the same, trimmed to 1.5 ... 5 s")
        << u"tracks"_s << u"trimmed.mp4"_s << u"trim"_s << multi << u"subtitles chapters"_s << u"Chapters: kept"_s;
    QTest::newRow("the same, trimmed, to Matroska")
        << u"tracks"_s << u"trimmed.mkv"_s << u"trim"_s
        << u"h264 und; aac 1 eng; aac 1 deu; subrip eng forced"_s << u"subtitles chapters"_s
        << u"Audio 2 (deu, AAC mono): copied"_s;
    // The name typed names the container, never "out.mkv.mp4".
    QTest::newRow("to QuickTime") << u"tracks"_s << u"kept.mov"_s << QString() << QString() << u"sound"_s
                                  << u"Saved as "_s;
    QTest::newRow("subtitles made of pictures, to Matroska")
        << u"picture subtitles"_s << u"dvd.mkv"_s << QString() << u"as the input"_s << u"subtitles"_s
        << u"Subtitle 1 (en, DVD): copied"_s;
    QTest::newRow("subtitles made of pictures, to MP4: dropped and said")
        << u"picture subtitles"_s << u"dvd.mp4"_s << QString() << u"h264 und default"_s << QString()
        << u"Subtitle 1 (en, DVD): dropped: MP4 holds no subtitles made of pictures; save as .mkv to keep them"_s;
    QTest::newRow("HDR10 HEVC Main10") << u"hdr10"_s << u"hdr.mp4"_s << QString() << u"hevc und default"_s << u"hdr"_s
                                       << u"Video: cropped, written as HEVC 10-bit, HDR10"_s;
    QTest::newRow("5.1 AC-3 copied") << u"5.1 AC-3"_s << u"surround.mp4"_s << QString()
                                     << u"h264 und default; ac3 6 und default"_s << u"sound"_s
                                     << u"Audio 1 (AC-3 5.1): copied"_s;
    QTest::newRow("5.1 AC-3, stereo chosen") << u"5.1 AC-3"_s << u"stereo.mp4"_s << u"stereo"_s
                                             << u"h264 und default; aac 2 und default"_s << QString()
                                             << u"Audio 1 (AC-3 5.1): 5.1 mixed down to stereo AAC, as chosen"_s;
}

void TestCropping::keeps()
{
    QFETCH(QString, input);
    QFETCH(QString, output);
    QFETCH(QString, setup);
    QFETCH(QString, tracks);
    QFETCH(QString, checks);
    QFETCH(QString, said);

    const QString source = m_files[input];
    const QString destination = m_work->filePath(u"out/"_s + output);
    AppDriver app(m_work->path());
    QVERIFY(app.open(source));
    if (setup == u"stereo")
        app.control<QComboBox>("audioPopUpBTN")->setCurrentIndex(1);
    const bool trimmed = setup == u"trim";
    if (trimmed) {
        for (const auto &[field, time] : { std::pair("startTF", "00:00:01.500"), std::pair("endTF", "00:00:05.000") }) {
            auto *edit = app.control<QLineEdit>(field);
            edit->setText(QString::fromLatin1(time));
            Q_EMIT edit->editingFinished();
        }
    }
    app.cropTo(destination);
    QMessageBox *alert = app.waitForCropEnd();
    QVERIFY(alert);
    qInfo("%s", qPrintable(alert->informativeText().replace(u'\n', u"; "_s)));
    QVERIFY2(alert->informativeText().contains(said), qPrintable(alert->informativeText()));
    QVERIFY(alert->informativeText().contains(u"Saved as "_s + QDir::toNativeSeparators(destination)));
    QCOMPARE(Fixtures::output(Fixtures::ffprobe(), { u"-show_entries"_s, u"format=format_name"_s, u"-of"_s,
                                                     u"default=nw=1:nk=1"_s, destination }),
             output.endsWith(u".mkv"_s) ? u"matroska,webm"_s : u"mov,mp4,m4a,3gp,3g2,mj2"_s);
    if (!tracks.isEmpty())
        QCOMPARE(tracksOf(destination), tracks == u"as the input" ? tracksOf(source) : tracks);

    // Text as SubRip; pictures by their packets' times and bytes.
    const auto subtitles = [](const QString &video) {
        if (video.endsWith(u"dvd.mkv"_s))
            return Fixtures::output(Fixtures::ffprobe(), { u"-select_streams"_s, u"s:0"_s, u"-show_entries"_s,
                                                           u"packet=pts_time,size"_s, u"-of"_s, u"csv=p=0"_s, video });
        return Fixtures::output(Fixtures::ffmpeg(), { u"-i"_s, video, u"-map"_s, u"0:s:0"_s, u"-f"_s, u"srt"_s, u"-"_s });
    };
    const auto chapters = [](const QString &video) {
        return Fixtures::output(Fixtures::ffprobe(), { u"-show_entries"_s, u"chapter=start_time,end_time:chapter_tags=title"_s,
                                                       u"-of"_s, u"csv=p=0"_s, video })
            .split(u'\n');
    };
    // The input shows its lines at 1.023 ... 3.023 and 4.023 ... 5.523 s (its muxer moved them with the sound's
    // priming): from 1.5 s on, the first is on screen at once, the second is cut where the trim ends.
    if (checks.contains(u"subtitles"))
        QCOMPARE(subtitles(destination),
                 trimmed ? u"1\n00:00:00,000 --> 00:00:01,523\nFirst line\n\n2\n00:00:02,523 --> 00:00:03,500\nSecond line"_s
                         : subtitles(source));
    // Chapters move with the trim, the last ending with the output (its sound runs 10 ms past the last picture).
    if (checks.contains(u"chapters"))
        QCOMPARE(chapters(destination),
                 trimmed ? QStringList({ "0.000000,1.500000,One", "1.500000,3.510000,Two" }) : chapters(source));
    // Sound copied is the input's, byte for byte.
    if (checks.contains(u"sound")) {
        const auto hash = [](const QString &video, int track) {
            return Fixtures::output(Fixtures::ffmpeg(), { u"-i"_s, video, u"-map"_s, u"0:a:%1"_s.arg(track), u"-c"_s,
                                                          u"copy"_s, u"-f"_s, u"hash"_s, u"-"_s });
        };
        QCOMPARE(hash(destination, 0), hash(source, 0));
    }
    if (checks.contains(u"hdr")) {
        const QStringList probed { u"-show_entries"_s, u"stream=pix_fmt,color_range,color_space,color_transfer,color_primaries,codec_tag_string"_s };
        QCOMPARE(Fixtures::probed(destination, probed), u"hvc1,yuv420p10le,tv,bt2020nc,smpte2084,bt2020"_s);
        QCOMPARE(Fixtures::output(Fixtures::ffprobe(), { u"-select_streams"_s, u"v:0"_s, u"-read_intervals"_s, u"%+#1"_s,
                                                         u"-show_frames"_s, u"-of"_s, u"json"_s, destination })
                     .count(u"max_luminance\": \"10000000/10000\""_s),
                 1);
        QCOMPARE(Fixtures::output(Fixtures::ffprobe(), { u"-select_streams"_s, u"v:0"_s, u"-read_intervals"_s, u"%+#1"_s,
                                                         u"-show_frames"_s, u"-of"_s, u"json"_s, destination })
                     .count(u"\"max_content\": 1000"_s),
                 1);
    }
}

void TestCropping::interruptions_data()
{
    QTest::addColumn<QString>("what");
    QTest::addColumn<QString>("outcome"); // the alert's text, or empty for none

    QTest::newRow("cancel") << u"cancel"_s << QString();
    QTest::newRow("cancel analysing a second file") << u"cancel analysing a second file"_s << QString();
    QTest::newRow("encoder ignores the request to stop") << u"stubborn encoder"_s << QString();
    QTest::newRow("quit during the analysis") << u"quit analysing"_s << QString();
    QTest::newRow("quit during the crop") << u"quit cropping"_s << QString();
    QTest::newRow("program terminated") << u"SIGTERM"_s << QString();
}

void TestCropping::interruptions()
{
    QFETCH(QString, what);
    QFETCH(QString, outcome);

    const QString input = fixture(u"long"_s);
    const QString output = m_work->filePath(u"out/Cropped.mp4"_s);
    const QByteArray earlier = "a file the user had";
    Fixtures::writeFile(output, earlier);
    const QStringList workFolders { u"in"_s, u"out"_s, u"state"_s };

    if (what == u"SIGTERM") {
        // The real program, analysing a video, told to stop by the session.
        QProcess tessaly;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"TMPDIR"_s, m_work->path());
        environment.insert(u"XDG_STATE_HOME"_s, m_work->filePath(u"state"_s));
        tessaly.setProcessEnvironment(environment);
        tessaly.setProcessChannelMode(QProcess::ForwardedChannels);
        tessaly.start(QCoreApplication::applicationDirPath() + u"/tessaly"_s, { input });
        QVERIFY(tessaly.waitForStarted());
        QVERIFY(QTest::qWaitFor([&] { return !Fixtures::childProcesses(tessaly.processId()).isEmpty(); }, 10'000));
        tessaly.terminate();
        QVERIFY(tessaly.waitForFinished(10'000));
        QCOMPARE(tessaly.exitStatus(), QProcess::NormalExit);
        QCOMPARE(tessaly.exitCode(), 0);
        QCOMPARE(QDir(m_work->path()).entryList({ u"tessaly-*"_s }, QDir::Dirs), QStringList());
        QCOMPARE(QDir(m_work->filePath(u"state/tessaly"_s)).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 QStringList());
        return;
    }

    AppDelegate::Tools tools = AppDelegate::Tools::bundled();
    if (what == u"stubborn encoder")
        tools = misbehavingEncoder("trap '' TERM; printf 'out_time_us=3000000\\nprogress=continue\\n'; while :; do sleep 0.1; done");
    // The second file's posters take their time, so that the cancel finds them being made.
    if (what == u"cancel analysing a second file")
        tools.encoder = Fixtures::writeScript(m_work->filePath(u"in/creator"_s),
                                              "case \"$*\" in *long.mp4*) exec sleep 30;; esac\nexec \""
                                                  + Fixtures::ffmpeg().toUtf8() + "\" \"$@\"");
    QMessageBox *alert = nullptr;
    {
        AppDriver app(m_work->path(), tools);
        if (what == u"quit analysing") {
            // Quit while the analysis's tools run, whatever this machine's speed.
            app.delegate().openFile(input);
            QVERIFY(QTest::qWaitFor([&] { return app.isSheetShown() && !Fixtures::childProcesses().isEmpty(); },
                                    10'000));
        } else if (what == u"cancel analysing a second file") {
            QVERIFY(app.open(m_files[u"hd"_s]));
            app.delegate().openFile(input);
            const auto makingPosters = [] {
                const QList<qint64> children = Fixtures::childProcesses();
                return std::any_of(children.cbegin(), children.cend(), [](qint64 pid) {
                    return Fixtures::readFile(u"/proc/%1/cmdline"_s.arg(pid)).contains("sleep");
                });
            };
            QVERIFY(QTest::qWaitFor([&] { return app.isSheetShown() && makingPosters(); }, 10'000));
            QTest::mouseClick(app.control<QPushButton>("progressCancel"), Qt::LeftButton);
            QVERIFY(!app.isSheetShown());
            // Only the encoder that waits for the shown video's next scrub stays.
            const auto onlyTheScrubber = [] {
                const QList<qint64> left = Fixtures::childProcesses();
                return std::all_of(left.cbegin(), left.cend(), [](qint64 pid) {
                    return Fixtures::readFile(u"/proc/%1/cmdline"_s.arg(pid)).contains("pipe:0");
                });
            };
            QTRY_VERIFY_WITH_TIMEOUT(onlyTheScrubber(), 2000);
            // The video loaded before stays, posters and all; another opens as before.
            QVERIFY(app.isLoaded());
            QCOMPARE(app.window()->windowTitle(), u"hd.mp4"_s);
            QCOMPARE(label(app, "inputResolutionTF")->text(), u"Source: 1920 x 1080"_s);
            QVERIFY(QImage(app.control<ImageDropView>("posterView")->imagePath()).width() > 0);
            QVERIFY(app.open(m_files[u"small"_s]));
        } else {
            QVERIFY(app.open(input));
            app.control<QSlider>("scaleFactorSlider")->setValue(10);
            app.cropTo(output);
            QVERIFY(QTest::qWaitFor([&] { return app.control<QProgressBar>("progressBar")->value() > 0; }, 60'000));
            // The temporary output is noted where a reboot leaves it, beside the user's file.
            const QString records = app.delegate().outputRecordsFolder();
            QVERIFY2(records.startsWith(m_work->filePath(u"state/tessaly-"_s)), qPrintable(records));
            QCOMPARE(Fixtures::filesIn(records).size(), 1);
            QVERIFY(QFileInfo::exists(m_work->filePath(u"out/"_s) + Fixtures::filesIn(records).first()));
            if (what == u"cancel" || what == u"stubborn encoder")
                QTest::mouseClick(app.control<QPushButton>("progressCancel"), Qt::LeftButton);
            if (what != u"quit cropping") {
                alert = app.waitForCropEnd(ToolRun::graceMs + 5000);
                QVERIFY2(!app.isSheetShown(), "the progress sheet stayed up");
                QCOMPARE(alert ? alert->text() : QString(), outcome);
            }
        }
    }
    QTRY_COMPARE_WITH_TIMEOUT(Fixtures::childProcesses(), QList<qint64>(), 2000);
    QCOMPARE(Fixtures::readFile(output), earlier);
    QCOMPARE(Fixtures::filesIn(m_work->filePath(u"out"_s)), QStringList { u"Cropped.mp4"_s });
    // The scratch folder and the notes of temporary outputs went with the application.
    QCOMPARE(QDir(m_work->path()).entryList(QDir::Dirs | QDir::NoDotAndDotDot), workFolders);
    QCOMPARE(QDir(m_work->filePath(u"state"_s)).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
}

QTEST_MAIN(TestCropping)
#include "tst_cropping.moc"
