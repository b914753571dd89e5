#include "AppDriver.h"
#include "ImageDropView.h"
#include "SelectionHolder.h"
#include "SignalQuit.h"
#include "crop/CropJob.h"
#include "crop/PosterExtractor.h"
#include "media/FileProbe.h"
#include "support/Fixtures.h"
#include "util/TimeText.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDebug>
#include <QDesktopServices>
#include <QFileDialog>
#include <QtEndian>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeData>
#include <QProcess>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QStatusBar>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/resource.h>
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

// The whole application through its real window on the offscreen platform,
// with videos made by ffmpeg: opening, cropping, and everything that may
// interrupt a crop. Each case ends with no stray process and nothing left
// where the output goes but what the user asked for.
class TestApplication : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void opening_data();
    void opening();
    void cropping_data();
    void cropping();
    void interruptions_data();
    void interruptions();
    void selectionByHand_data();
    void selectionByHand();
    void beyondTheCrop_data();
    void beyondTheCrop();
    void changeChainsResetTheScale();
    void handlesInTheWindow();
    void drops_data();
    void drops();
    void toolsDoNotInheritTheSignalSocket();

private:
    QString fixture(const QString &kind);
    void makeAwkwardFiles(const QString &dir);
    // Tools whose crop runs behave as script says; posters still come from the real encoder.
    AppDelegate::Tools misbehavingEncoder(const QByteArray &script) const;
    QLabel *label(AppDriver &app, const char *name) const { return app.control<QLabel>(name); }
    void verifyPlacedOverThePicture(AppDriver &app);
    void verifyPosters(AppDriver &app, const QString &input);

    QTemporaryDir m_fixtures;
    QHash<QString, QString> m_files;
    std::unique_ptr<QTemporaryDir> m_work;
};

void TestApplication::initTestCase()
{
    const QString dir = m_fixtures.path();
    Fixtures::Video rotated { 640, 360, 1.0 };
    rotated.rotate = 90;
    m_files[u"hd"_s] = Fixtures::makeVideo(dir, u"hd.mp4"_s, { 1920, 1080, 1.0 });
    m_files[u"long"_s] = Fixtures::makeVideo(dir, u"long.mp4"_s, { 1280, 720, 30.0 });
    m_files[u"portrait"_s] = Fixtures::makeVideo(dir, u"portrait.mp4"_s, { 360, 640, 1.0 });
    m_files[u"square"_s] = Fixtures::makeVideo(dir, u"square.mp4"_s, { 480, 480, 1.0 });
    m_files[u"rotated"_s] = Fixtures::makeVideo(dir, u"phone.mp4"_s, rotated);
    m_files[u"small"_s] = Fixtures::makeVideo(dir, u"small.mp4"_s);
    if (Fixtures::runFfmpeg({ "-f", "lavfi", "-i", "sine=duration=1", dir + "/song.m4a" }))
        m_files[u"audio"_s] = dir + u"/song.m4a"_s;
    // A playable video under a name that is refused all the same; the record's table has the other refusals.
    m_files[u"vob"_s] = dir + u"/clip.VOB"_s;
    QVERIFY(QFile::copy(m_files[u"small"_s], m_files[u"vob"_s]));
    for (const QString &kind : { u"hd"_s, u"long"_s, u"portrait"_s, u"square"_s, u"rotated"_s, u"small"_s, u"audio"_s })
        QVERIFY2(!m_files.value(kind).isEmpty(), qPrintable(kind));
    m_files[u"missing"_s] = dir + u"/missing.mp4"_s;
    m_files[u"text"_s] = Fixtures::writeFile(dir + u"/notes.mp4"_s, "Not a video, whatever its name says.\n");
    QVERIFY(Fixtures::runFfmpeg({ "-f", "lavfi", "-i", "testsrc2=size=640x360:rate=25:duration=2", "-f", "lavfi", "-i",
                                  "testsrc=size=1280x960:rate=25:duration=4", "-map", "0", "-map", "1", "-c:v",
                                  "libx264", "-preset", "ultrafast", dir + "/dual.mp4" }));
    m_files[u"dual"_s] = dir + u"/dual.mp4"_s;
    QVERIFY(Fixtures::runFfmpeg({ "-f", "lavfi", "-i", "testsrc2=size=640x480:rate=15:duration=2", "-c:v", "flv1",
                                  dir + "/sorenson.flv" }));
    m_files[u"sorenson"_s] = dir + u"/sorenson.flv"_s;
    if (Fixtures::runFfmpeg({ "-f", "lavfi", "-i", "testsrc2=size=720x576:rate=25:duration=1", "-vf", "setsar=64/45",
                              "-c:v", "libx264", "-preset", "ultrafast", dir + "/pal.mp4" }))
        m_files[u"pal"_s] = dir + u"/pal.mp4"_s;
    if (Fixtures::runFfmpeg({ "-f", "lavfi", "-i", "testsrc2=size=720x480:rate=25:duration=1", "-vf", "setsar=32/27",
                              "-c:v", "libx264", "-preset", "ultrafast", dir + "/ntsc.mp4" }))
        m_files[u"ntsc"_s] = dir + u"/ntsc.mp4"_s;
    makeAwkwardFiles(dir);
    m_files[u"minute"_s] = Fixtures::makeVideo(dir, u"minute.mp4"_s, { 320, 180, 60.0 });
    if (Fixtures::runFfmpeg({ "-f", "lavfi", "-i", "testsrc2=size=1920x804:rate=5:duration=2,pad=1920:1080:0:138",
                              "-c:v", "libx264", "-preset", "ultrafast", dir + "/film.mp4" }))
        m_files[u"film"_s] = dir + u"/film.mp4"_s;
}

void TestApplication::makeAwkwardFiles(const QString &dir)
{
    const auto lavfi = [](const QString &source) { return QStringList { u"-f"_s, u"lavfi"_s, u"-i"_s, source }; };
    // A phone's motion photo: a turned clip, and a larger still that is the default stream.
    const QString motion = dir + u"/motion-unturned.mp4"_s;
    Fixtures::runFfmpeg(lavfi(u"testsrc2=size=1440x1080:rate=30:duration=1"_s)
                        + lavfi(u"testsrc=size=2048x1536:rate=1:duration=1"_s) + lavfi(u"sine=duration=1"_s)
                        + QStringList { "-map", "0:v", "-map", "1:v", "-map", "2:a", "-c:v:0", "libx264", "-preset",
                                        "ultrafast", "-c:v:1", "mjpeg", "-frames:v:1", "1", "-disposition:v:0", "0",
                                        "-disposition:v:1", "default", "-c:a", "aac", motion });
    if (Fixtures::runFfmpeg({ "-i", motion, "-map", "0", "-c", "copy", "-metadata:s:v:0", "rotate=90", dir + "/motion.mp4" }))
        m_files[u"motion photo"_s] = dir + u"/motion.mp4"_s;
    // A subtitle that outlasts a two-frame video.
    const QString srt = Fixtures::writeFile(dir + u"/long.srt"_s, "1\n00:00:00,000 --> 00:00:01,240\nHello\n");
    if (Fixtures::runFfmpeg(lavfi(u"testsrc2=size=320x180:rate=25:duration=0.08"_s)
                            + QStringList { "-i", srt, "-map", "0", "-map", "1", "-c:v", "libx264", dir + "/short.mkv" }))
        m_files[u"short video, long subtitle"_s] = dir + u"/short.mkv"_s;
    // A keyframe each second up to 6 s, none after: the posters past 6 s show the keyframe at 6 s.
    // Hues turn, so pictures a second apart differ.
    if (Fixtures::runFfmpeg(lavfi(u"testsrc2=size=1920x1080:rate=25:duration=12,hue=H=t"_s)
                            + QStringList { "-c:v", "libx264", "-preset", "ultrafast", "-g", "1000", "-sc_threshold", "0",
                                            "-force_key_frames", "0,1,2,3,4,5,6", dir + "/longgop.mp4" }))
        m_files[u"long keyframe intervals"_s] = dir + u"/longgop.mp4"_s;
    // A video stream that ffprobe sizes and no decoder can read.
    QByteArray broken = Fixtures::readFile(m_files[u"small"_s]);
    const qsizetype mdat = broken.indexOf("mdat");
    broken.replace(mdat + 4, qsizetype(qFromBigEndian<quint32>(broken.constData() + mdat - 4)) - 8,
                   QByteArray(qsizetype(qFromBigEndian<quint32>(broken.constData() + mdat - 4)) - 8, '\0'));
    m_files[u"undecodable"_s] = Fixtures::writeFile(dir + u"/undecodable.mp4"_s, broken);
    for (const QString &kind : { u"motion photo"_s, u"short video, long subtitle"_s, u"long keyframe intervals"_s,
                                 u"undecodable"_s })
        QVERIFY2(!m_files.value(kind).isEmpty(), qPrintable(kind));
}

void TestApplication::init()
{
    m_work = std::make_unique<QTemporaryDir>();
    QVERIFY(QDir(m_work->path()).mkdir(u"in"_s) && QDir(m_work->path()).mkdir(u"out"_s));
}

void TestApplication::cleanup()
{
    QCOMPARE(Fixtures::childProcesses(), QList<qint64>());
    QFile::setPermissions(m_work->filePath(u"out"_s), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    m_work.reset();
}

QString TestApplication::fixture(const QString &kind)
{
    // A copy in the work folder, for the cases that change or delete it.
    const QString copy = m_work->filePath(u"in/"_s + QFileInfo(m_files.value(kind)).fileName());
    return QFile::copy(m_files.value(kind), copy) ? copy : QString();
}

AppDelegate::Tools TestApplication::misbehavingEncoder(const QByteArray &script) const
{
    AppDelegate::Tools tools = AppDelegate::Tools::bundled();
    tools.encoder = Fixtures::writeScript(m_work->filePath(u"in/creator"_s),
                                          "case \"$*\" in *-vf*) " + script + ";; esac\nexec \""
                                              + Fixtures::ffmpeg().toUtf8() + "\" \"$@\"");
    return tools;
}

void TestApplication::verifyPlacedOverThePicture(AppDriver &app)
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

void TestApplication::verifyPosters(AppDriver &app, const QString &input)
{
    // End is the video stream's end, which a subtitle or a sound may outlast.
    QCOMPARE(app.control<QLineEdit>("endTF")->text(), TimeText::format(FileProbe(input).videoDuration()));
    // Each poster shows the picture of the time beside the slider, within one keyframe interval of
    // n / 12 of the video.
    QVERIFY(QTest::qWaitFor([&] { return app.control<QAction>("detectBordersBTN")->isEnabled(); }, 60'000));
    const double duration = FileProbe(input).videoDuration();
    const QList<double> keyframes = Fixtures::keyframes(input);
    for (int n = 1; n <= PosterExtractor::frameCount; ++n) {
        app.control<QSlider>("posterPositionSlider")->setValue(n);
        const QImage poster(app.control<ImageDropView>("posterView")->imagePath());
        const QString shown = app.control<QLabel>("posterTimeLBL")->text();
        QVERIFY2(shown.endsWith(u" · %1 / 11"_s.arg(n)), qPrintable(shown));
        const double time = TimeText::parse(shown.section(u' ', 0, 0)).value_or(-1);
        const auto after = std::upper_bound(keyframes.cbegin(), keyframes.cend(), n * duration / 12);
        const double interval = after == keyframes.cend() ? duration : *after - *std::prev(after, after != keyframes.cbegin());
        QVERIFY2(qAbs(time - n * duration / 12) <= interval + 0.001,
                 qPrintable(u"poster %1 at %2 of %3"_s.arg(n).arg(time).arg(duration)));
        const QImage frame = Fixtures::frameAt(input, QString::number(time, 'f', 3));
        QVERIFY2(Fixtures::difference(poster, frame) < 12, qPrintable(u"poster %1 differs"_s.arg(n)));
    }
}

void TestApplication::opening_data()
{
    QTest::addColumn<QStringList>("files"); // opened in turn; the last one counts
    QTest::addColumn<QString>("expected");  // what the window shows, or the alert's text

    const QString unsupported = u"Seems to be an unsupported file.\nDoes the video play in a video player?"_s;
    QTest::newRow("landscape") << QStringList { "hd" } << u"Source: 1920 x 1080, Wide 16:9 1600x900"_s;
    QTest::newRow("portrait") << QStringList { "portrait" } << u"Source: 360 x 640, Tall 9:16 270x480"_s;
    // A phone video whose frames are turned: shown upright, measured upright.
    QTest::newRow("rotated phone video") << QStringList { "rotated" } << u"Source: 360 x 640, Tall 9:16 270x480"_s;
    QTest::newRow("square counts as tall") << QStringList { "square" } << u"Source: 480 x 480, Tall 9:16 202x360"_s;
    QTest::newRow(".VOB name") << QStringList { "vob" } << u"Tessaly cannot open .VOB files."_s;
    QTest::newRow("audio only") << QStringList { "audio" } << u"“song.m4a” has no video."_s;
    QTest::newRow("missing file") << QStringList { "missing" } << u"“missing.mp4” was not found."_s;
    QTest::newRow("a text file named .mp4") << QStringList { "text" } << unsupported;
    // Whatever the codec, the stream marked default (else the first) is shown and cropped.
    QTest::newRow("two video streams: the first") << QStringList { "dual" }
                                                  << u"Source: 640 x 360, Wide 16:9 426x240"_s;
    // "0/0" with frames is a video, as an old Sorenson FLV reports it.
    QTest::newRow("no frame rate reported") << QStringList { "no rate" } << u"Source: 640 x 480, Wide 16:9 426x240"_s;
    QTest::newRow("probe killed by a signal") << QStringList { "probe killed" } << unsupported;
    QTest::newRow("refused after a loaded video") << QStringList { "hd", "text" } << unsupported;
    // Files from phones, cameras and tools.
    QTest::newRow("nothing decodable: refused at load") << QStringList { "undecodable" }
                                                        << u"Tessaly cannot decode the pictures of this video."_s;
    QTest::newRow("a subtitle outlasts the video") << QStringList { "short video, long subtitle" } << u"posters"_s;
    QTest::newRow("long keyframe intervals: keyframe posters") << QStringList { "long keyframe intervals" }
                                                               << u"posters"_s;
}

void TestApplication::opening()
{
    QFETCH(QStringList, files);
    QFETCH(QString, expected);

    AppDelegate::Tools tools = AppDelegate::Tools::bundled();
    if (files.last() == u"probe killed") {
        tools.probe = Fixtures::writeScript(m_work->filePath(u"in/sniffer"_s), "kill -9 $$");
        files.last() = u"small"_s;
    } else if (files.last() == u"no rate") {
        tools.probe = Fixtures::writeScript(m_work->filePath(u"in/sniffer"_s),
                                            "\"" + Fixtures::ffprobe().toUtf8()
                                                + "\" \"$@\" | sed 's#\"avg_frame_rate\": \"[0-9/]*\"#\"avg_frame_rate\": \"0/0\"#'");
        files.last() = u"sorenson"_s;
    }
    AppDriver app(m_work->path(), tools);
    bool loaded = false;
    for (const QString &file : files)
        loaded = app.open(m_files.value(file));

    // A file refused after a loaded video leaves that video shown.
    const bool refused = !expected.startsWith(u"Source: "_s) && expected != u"posters";
    if (loaded && expected == u"posters")
        return verifyPosters(app, m_files.value(files.last()));
    if (loaded && !refused) {
        const QString shown = u"%1, %2 %3 %4"_s.arg(label(app, "inputResolutionTF")->text(),
                                                    app.control<QPushButton>("wideTallBTN")->text(),
                                                    app.control<QComboBox>("aspectRationPopUpBTN")->currentText(),
                                                    app.control<QComboBox>("presetPopUpBTN")->currentText());
        QCOMPARE(shown, expected);
        QCOMPARE(label(app, "outputResolutionTF")->text(),
                 u"Cropped: "_s + expected.section(u' ', -1).replace(u'x', u" x "_s));
        QVERIFY(app.control<QSlider>("posterPositionSlider")->isEnabled());
        QCOMPARE(app.control<QSlider>("posterPositionSlider")->value(), 6);
        auto *poster = app.control<ImageDropView>("posterView");
        QVERIFY(poster->imagePath().endsWith(u"/out6.jpg"_s) && poster->hasImage());
        verifyPlacedOverThePicture(app);
        return;
    }
    QMessageBox *alert = app.waitForAlert();
    QVERIFY(alert);
    QCOMPARE(alert->text(), expected);
    QCOMPARE(app.window()->windowTitle(),
             files.size() > 1 ? QFileInfo(m_files.value(files.first())).fileName() : u"Tessaly"_s);
    QVERIFY(alert->informativeText().endsWith(u"support@tessaly.app"_s));
    // The decoder's own error, never a warning such as "deprecated pixel format used".
    if (files.last() == u"undecodable")
        QVERIFY2(!alert->informativeText().contains(u"reports: nothing"_s)
                     && !alert->informativeText().contains(u"deprecated"_s),
                 qPrintable(alert->informativeText()));
    QCOMPARE(alert->windowModality(), Qt::WindowModal);
    QVERIFY(!app.isSheetShown());
    if (files.size() > 1) {
        QVERIFY(app.isLoaded());
        QVERIFY(QImage(app.control<ImageDropView>("posterView")->imagePath()).width() > 0);
        return;
    }
    QCOMPARE(app.notEmptyBecause(), QString());
    QVERIFY(app.control<ImageDropView>("posterView")->imagePath().isEmpty());
}

void TestApplication::cropping_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("output"); // in the work folder; empty: the proposed name
    QTest::addColumn<QString>("setup");
    QTest::addColumn<QString>("outcome"); // in the alert's texts
    QTest::addColumn<QString>("result");  // the output's size or frames, "unchanged" or "none"
    QTest::addColumn<QString>("button");  // the alert's button to click

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
    QTest::newRow("input deleted before the crop") << u"portrait"_s << out << u"delete input"_s << failed
                                                   << u"unchanged"_s << QString();
    QTest::newRow("encoder fails") << u"portrait"_s << out << u"encoder fails"_s
                                   << u"exit status 1.\nConversion failed!"_s << u"unchanged"_s << QString();
    // Exits 0 but leaves nothing that plays.
    QTest::newRow("encoder writes no video") << u"portrait"_s << out << u"encoder writes nothing"_s
                                             << u"The encoder finished but wrote no usable video."_s << u"unchanged"_s
                                             << QString();
    QTest::newRow("encoder gone after loading") << u"portrait"_s << out << u"encoder gone"_s
                                                << u"The encoder (ffmpeg) is missing"_s << u"unchanged"_s << QString();
    QTest::newRow("folder not writable") << u"portrait"_s << out << u"read-only folder"_s << failed
                                         << u"unchanged"_s << QString();
    // The temporary output goes beside the destination, so the last rename never crosses file systems.
    QTest::newRow("destination on another file system") << u"portrait"_s << u"/dev/shm"_s << QString() << cropped
                                                        << u"270x480"_s << u"OK"_s;
    // Files from phones and cameras, and ordinary habits.
    QTest::newRow("two video streams: the first is cropped") << u"motion photo"_s << out << QString() << cropped
                                                             << u"30 frames"_s << QString();
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
    QTest::newRow("no file descriptors left") << u"small"_s << out << u"no file descriptors"_s
                                              << u"could not be started"_s << u"none"_s << QString();
}

void TestApplication::cropping()
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
    if (destination != source && !QFileInfo(destination).isSymLink() && result != u"none")
        Fixtures::writeFile(destination, earlier);
    const QByteArray sourceBytes = Fixtures::readFile(source);

    AppDelegate::Tools tools = AppDelegate::Tools::bundled();
    if (setup == u"encoder fails")
        tools = misbehavingEncoder("echo 'Conversion failed!' >&2; exit 1");
    else if (setup == u"encoder writes nothing")
        tools = misbehavingEncoder("exit 0");
    else if (setup == u"encoder gone")
        tools = misbehavingEncoder(":");
    AppDriver app(m_work->path(), tools);
    QVERIFY(app.open(source));
    if (setup == u"encoder gone")
        QVERIFY(QFile::remove(tools.encoder));
    if (setup == u"scale 50") {
        app.control<QSlider>("scaleFactorSlider")->setValue(50);
        QCOMPARE(label(app, "scaleFactorOutputLBL")->text(), u"Output: 800 x 450"_s);
    } else if (setup == u"delete input") {
        QVERIFY(QFile::remove(source));
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
    if (setup == u"no file descriptors") {
        app.control<QAction>("cropVideoBTN")->trigger();
        auto *panel = app.window()->findChild<QFileDialog *>();
        panel->selectFile(output);
        // Just enough to make the temporary file, not the encoder's pipes.
        const rlimit saved = Fixtures::limitOpenFiles(2);
        QMetaObject::invokeMethod(panel, "accept");
        QVERIFY(::setrlimit(RLIMIT_NOFILE, &saved) == 0);
    } else {
        app.cropTo(output);
    }
    QMessageBox *alert = app.waitForCropEnd();
    QVERIFY2(alert, "no alert, or one over a progress sheet that stayed up");
    const QString text = alert->text() + u'\n' + alert->informativeText();
    qInfo("%s", qPrintable(QString(text).replace(u'\n', u"; "_s)));
    QVERIFY2(text.contains(outcome), qPrintable(text));

    if (!button.isEmpty()) {
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

    if (result == u"none") {
        QVERIFY(!QFileInfo::exists(destination));
    } else if (result == u"unchanged") {
        const bool isSource = QFileInfo(destination).canonicalFilePath() == QFileInfo(source).canonicalFilePath();
        QCOMPARE(Fixtures::readFile(destination), isSource ? sourceBytes : earlier);
    } else if (result.endsWith(u"frames"_s)) {
        QCOMPARE(u"%1 frames"_s.arg(Fixtures::videoFrameCount(destination)), result);
    } else {
        const FileProbe made(destination);
        QCOMPARE(u"%1x%2"_s.arg(made.videoWidth().value_or(0)).arg(made.videoHeight().value_or(0)), result);
        if (setup == u"scale 50") {
            const FileProbe in(source);
            QCOMPARE(text.section(u'\n', 1), // the alert is gone
                     u"Input Resolution: 1920 x 1080 (%1)\nOutput Resolution: 800 x 450 (%2)\nOutput Duration: %3"_s
                         .arg(*in.fileSizeHuman(), *made.fileSizeHuman(), TimeText::format(made.duration())));
        } else if (setup == u"link") {
            // The link stays a link; the file it names takes the crop and keeps its permissions.
            QVERIFY(QFileInfo(output).isSymLink());
            QCOMPARE(QFile::permissions(target) & 0x7077, QFile::ReadOwner | QFile::WriteOwner);
        }
    }
    // Nothing beside the destination but the destination itself.
    QCOMPARE(Fixtures::filesIn(QFileInfo(destination).absolutePath()).filter(u".tessaly-"_s), QStringList());
}

void TestApplication::interruptions_data()
{
    QTest::addColumn<QString>("what");
    QTest::addColumn<QString>("outcome"); // the alert's text, or empty for none

    QTest::newRow("cancel") << u"cancel"_s << QString();
    QTest::newRow("cancel analysing a second file") << u"cancel analysing a second file"_s << QString();
    QTest::newRow("encoder ignores the request to stop") << u"stubborn encoder"_s << QString();
    QTest::newRow("encoder killed by a signal") << u"encoder killed"_s << u"The video could not be cropped."_s;
    QTest::newRow("quit during the analysis") << u"quit analysing"_s << QString();
    QTest::newRow("analysis cancelled, then another video") << u"cancel analysing"_s << QString();
    QTest::newRow("quit during the crop") << u"quit cropping"_s << QString();
    QTest::newRow("program terminated") << u"SIGTERM"_s << QString();
}

void TestApplication::interruptions()
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
        tools = misbehavingEncoder("trap '' TERM; echo time=00:00:03.00 >&2; while :; do sleep 0.1; done");
    QMessageBox *alert = nullptr;
    {
        AppDriver app(m_work->path(), tools);
        if (what == u"quit analysing") {
            // Quit while the analysis's tools run, whatever this machine's speed.
            app.delegate().openFile(input);
            QVERIFY(QTest::qWaitFor([&] { return app.isSheetShown() && !Fixtures::childProcesses().isEmpty(); },
                                    10'000));
        } else if (what == u"cancel analysing" || what == u"cancel analysing a second file") {
            const bool second = what.endsWith(u"second file");
            if (second)
                QVERIFY(app.open(m_files[u"hd"_s]));
            app.delegate().openFile(input);
            QVERIFY(QTest::qWaitFor([&] { return app.isSheetShown() && !Fixtures::childProcesses().isEmpty(); },
                                    10'000));
            QTest::mouseClick(app.control<QPushButton>("progressCancel"), Qt::LeftButton);
            QVERIFY(!app.isSheetShown());
            QCOMPARE(Fixtures::childProcesses(), QList<qint64>());
            if (second) {
                // The video loaded before stays, posters and all.
                QVERIFY(app.isLoaded());
                QCOMPARE(app.window()->windowTitle(), u"hd.mp4"_s);
                QCOMPARE(label(app, "inputResolutionTF")->text(), u"Source: 1920 x 1080"_s);
                QVERIFY(app.control<ImageDropView>("posterView")->hasImage());
                QVERIFY(QImage(app.control<ImageDropView>("posterView")->imagePath()).width() > 0);
            } else {
                QCOMPARE(app.notEmptyBecause(), QString());
                QVERIFY(app.control<ImageDropView>("posterView")->imagePath().isEmpty());
            }
            QVERIFY(app.open(m_files[u"small"_s]));
        } else {
            QVERIFY(app.open(input));
            app.control<QSlider>("scaleFactorSlider")->setValue(10);
            app.cropTo(output);
            QVERIFY(app.waitForProgress());
            // The temporary output is noted where a reboot leaves it, beside the user's file.
            const QString records = app.delegate().outputRecordsFolder();
            QVERIFY2(records.startsWith(m_work->filePath(u"state/tessaly-"_s)), qPrintable(records));
            QCOMPARE(Fixtures::filesIn(records).size(), 1);
            QVERIFY(QFileInfo::exists(m_work->filePath(u"out/"_s) + Fixtures::filesIn(records).first()));
            if (what == u"cancel" || what == u"stubborn encoder")
                QTest::mouseClick(app.control<QPushButton>("progressCancel"), Qt::LeftButton);
            if (what == u"encoder killed") {
                for (qint64 pid : Fixtures::childProcesses())
                    ::kill(pid_t(pid), SIGKILL);
            }
            if (what != u"quit cropping") {
                alert = app.waitForCropEnd(CropJob::killDelayMs + 5000);
                QVERIFY2(!app.isSheetShown(), "the progress sheet stayed up");
                QCOMPARE(alert ? alert->text() : QString(), outcome);
            }
        }
    }
    QCOMPARE(Fixtures::childProcesses(), QList<qint64>());
    QCOMPARE(Fixtures::readFile(output), earlier);
    QCOMPARE(Fixtures::filesIn(m_work->filePath(u"out"_s)), QStringList { u"Cropped.mp4"_s });
    // The scratch folder and the notes of temporary outputs went with the application.
    QCOMPARE(QDir(m_work->path()).entryList(QDir::Dirs | QDir::NoDotAndDotDot), workFolders);
    QCOMPARE(QDir(m_work->filePath(u"state"_s)).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
}

void TestApplication::selectionByHand_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("hands");
    QTest::addColumn<QString>("crop"); // in the command run; empty: the one the label and fields show

    QTest::newRow("Right five times") << u"hd"_s << u"Right ×5"_s << u"crop=1600:900:170:90"_s;
    QTest::newRow("Shift+Right twenty times") << u"hd"_s << u"Shift+Right ×20"_s << u"crop=1600:900:320:90"_s;
    QTest::newRow("Alt+Down: the bottom edge") << u"hd"_s << u"Alt+Down ×2"_s << u"crop=1600:904:160:90"_s;
    QTest::newRow("corner dragged far past the picture's") << u"hd"_s << u"drag"_s << u"crop=1760:990:160:90"_s;
    QTest::newRow("typed 1080 x 1080") << u"hd"_s << u"type 1080 1080"_s << u"crop=1080:1080:160:0"_s;
    QTest::newRow("window resized: the crop stays") << u"hd"_s << u"resize"_s << u"crop=1600:900:160:90"_s;
    QTest::newRow("typed past the frame: corrected") << u"hd"_s << u"type 5000 900"_s << u"crop=1920:900:0:90"_s;
    QTest::newRow("PAL 16:9 preset") << u"pal"_s << QString() << u"crop=600:480:60:48"_s;
    QTest::newRow("PAL 16:9 preset at half scale") << u"pal"_s << u"scale 50"_s
                                                   << u"crop=600:480:60:48,scale=300:240,setsar=64/45"_s;
    QTest::newRow("NTSC 16:9 preset at half scale") << u"ntsc"_s << u"scale 50"_s
                                                    << u"crop=540:360:90:60,scale=270:180,setsar=32/27"_s;
}

void TestApplication::selectionByHand()
{
    QFETCH(QString, file);
    QFETCH(QString, hands);
    QFETCH(QString, crop);

    AppDriver app(m_work->path());
    QVERIFY(app.open(m_files[file]));
    const QString times = hands.section(u'×', 1);
    const QString key = hands.section(u' ', 0, 0);
    if (!times.isEmpty()) {
        for (int i = 0; i < times.toInt(); ++i)
            QTest::keyClick(app.window(), QKeySequence(key)[0].key(), QKeySequence(key)[0].keyboardModifiers());
    } else if (hands == u"drag") {
        auto *holder = app.control<QWidget>("selectionRectangleHolder");
        const QPoint corner = app.control<QWidget>("selectionRectangle")->geometry().bottomRight() - QPoint(1, 1);
        QTest::mousePress(holder, Qt::LeftButton, {}, corner);
        for (const QPoint far : { QPoint(100, 100), QPoint(600, 500), QPoint(2000, 2000) })
            QTest::mouseMove(holder, corner + far);
        QTest::mouseRelease(holder, Qt::LeftButton, {}, corner + QPoint(2000, 2000));
    } else if (hands.startsWith(u"type")) {
        const std::pair<const char *, QString> typed[] = { { "widthField", hands.section(u' ', 1, 1) },
                                                          { "heightField", hands.section(u' ', 2, 2) } };
        for (const auto &[name, value] : typed) {
            auto *field = app.control<QSpinBox>(name);
            field->setFocus();
            field->selectAll();
            QTest::keyClicks(field, value);
            QTest::keyClick(field, Qt::Key_Return);
        }
    } else if (hands == u"scale 50") {
        app.control<QSlider>("scaleFactorSlider")->setValue(50);
    } else if (hands == u"resize") {
        app.window()->resize(700, 520);
        QTest::qWait(50);
        verifyPlacedOverThePicture(app);
    }
    // What the window shows is what is written.
    const QString shown = u"crop=%1:%2:%3:%4"_s.arg(app.control<QSpinBox>("widthField")->value())
                              .arg(app.control<QSpinBox>("heightField")->value())
                              .arg(app.control<QSpinBox>("xField")->value())
                              .arg(app.control<QSpinBox>("yField")->value());
    const QString written = app.cropFilterOf(m_work->filePath(u"out/Cropped.mp4"_s));
    QCOMPARE(written, crop);
    if (file == u"hd") {
        QCOMPARE(shown, crop);
        if (hands.contains(u"5000"_s))
            QVERIFY(app.window()->statusBar()->currentMessage().startsWith(u"Width 5000 became 1920"_s));
        QCOMPARE(label(app, "outputResolutionTF")->text(),
                 u"Cropped: %1 x %2"_s.arg(crop.section(u':', 0, 0).mid(5), crop.section(u':', 1, 1)));
        return;
    }
    // The viewer sees the preset's 16:9 in the output, scaled or not.
    QProcess probe;
    probe.start(Fixtures::ffprobe(), { u"-v"_s, u"error"_s, u"-select_streams"_s, u"v:0"_s, u"-show_entries"_s,
                                       u"stream=display_aspect_ratio"_s, u"-of"_s, u"csv=p=0"_s,
                                       m_work->filePath(u"out/Cropped.mp4"_s) });
    QVERIFY(probe.waitForFinished());
    const QStringList aspect = QString::fromUtf8(probe.readAllStandardOutput()).trimmed().split(u':');
    QVERIFY(qAbs(aspect.value(0).toDouble() / aspect.value(1).toDouble() / (16.0 / 9) - 1) < 0.01);
    if (file == u"pal")
        QCOMPARE(label(app, "outputResolutionTF")->text(),
                 hands.isEmpty() ? u"Cropped: 854 x 480"_s : u"Cropped: 854 x 480 → 428 x 240"_s);
}

void TestApplication::beyondTheCrop_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QRect>("crop"); // from the video's frame; empty: the one the fields show
    QTest::addColumn<double>("seconds");

    QTest::newRow("a 2.39:1 film letterboxed: Ctrl+B, Ctrl+S, Return")
        << u"film"_s << u"Ctrl+B"_s << QRect(0, 138, 1920, 804) << 2.0;
    QTest::newRow("no border: the selection stays") << u"hd"_s << u"Ctrl+B"_s << QRect(160, 90, 1600, 900) << 1.0;
    // A minute's posters are five seconds apart: the third shows 15 s, the ninth 45 s.
    QTest::newRow("trimmed from the poster at 15 s to the one at 45 s")
        << u"minute"_s << u", , , I . . . . . . O"_s << QRect() << 30.0;
}

void TestApplication::beyondTheCrop()
{
    QFETCH(QString, file);
    QFETCH(QString, keys);
    QFETCH(QRect, crop);
    QFETCH(double, seconds);

    AppDriver app(m_work->path());
    const QString source = m_files.value(file);
    QVERIFY(app.open(source));
    QCOMPARE(app.window()->windowTitle(), QFileInfo(source).fileName());
    auto *end = app.control<QLineEdit>("endTF");
    if (file == u"minute") {
        // A time that cannot apply is corrected where it was typed, and said so.
        end->setFocus();
        end->selectAll();
        QTest::keyClicks(end, u"2:00"_s);
        QTest::keyClick(end, Qt::Key_Return);
        QCOMPARE(end->text(), u"00:01:00.000"_s);
        QVERIFY(app.window()->statusBar()->currentMessage().startsWith(u"End 2:00 became 00:01:00.000"_s));
        app.window()->setFocus();
    }
    for (const QString &key : keys.split(u' '))
        QTest::keyClick(app.window(), QKeySequence(key)[0].key(), QKeySequence(key)[0].keyboardModifiers());
    if (file == u"hd")
        QVERIFY(app.window()->statusBar()->currentMessage().startsWith(u"No border found"_s));

    // What Video Info lists: the two tracks of each file.
    QTest::keyClick(app.window(), Qt::Key_I, Qt::ControlModifier);
    auto *info = app.window()->findChild<QDialog *>(u"VideoInfoWindow"_s);
    QTRY_VERIFY(info->isVisible());
    QCOMPARE(info->findChild<QTableWidget *>(u"tracksTable"_s)->rowCount(), file == u"film" ? 1 : 2);
    info->close();

    if (crop.isEmpty())
        crop = QRect(app.control<QSpinBox>("xField")->value(), app.control<QSpinBox>("yField")->value(),
                     app.control<QSpinBox>("widthField")->value(), app.control<QSpinBox>("heightField")->value());
    const QString output = m_work->filePath(u"out/Cropped.mp4"_s);
    app.cropTo(output);
    QMessageBox *alert = app.waitForCropEnd();
    QVERIFY(alert);
    const FileProbe made(output);
    QCOMPARE(alert->informativeText().section(u'\n', 2), u"Output Duration: "_s + TimeText::format(made.duration()));
    const QSize size(made.videoWidth().value_or(0), made.videoHeight().value_or(0));
    QVERIFY2(qAbs(size.width() - crop.width()) <= 4 && qAbs(size.height() - crop.height()) <= 4,
             qPrintable(u"%1 x %2"_s.arg(size.width()).arg(size.height())));
    // Within a frame of the length asked for, and starting with the picture at Start.
    QVERIFY2(qAbs(Fixtures::videoFrameCount(output) - seconds * (file == u"film" ? 5 : 25)) <= 1,
             qPrintable(QString::number(Fixtures::videoFrameCount(output))));
    const double start = file == u"minute" ? 15 : 0;
    const QImage first = Fixtures::frameAt(output, u"0"_s);
    const QImage asked = Fixtures::frameAt(source, QString::number(start)).copy(crop);
    QVERIFY2(Fixtures::difference(first, asked) < 3, qPrintable(QString::number(Fixtures::difference(first, asked))));
}

void TestApplication::changeChainsResetTheScale()
{
    AppDriver app(m_work->path());
    QVERIFY(app.open(m_files[u"hd"_s]));
    auto *scale = app.control<QSlider>("scaleFactorSlider");
    auto *holder = app.control<SelectionHolder>("selectionRectangleHolder");

    const auto choose = [](QComboBox *box, int index) {
        box->setCurrentIndex(index);
        Q_EMIT box->activated(index);
    };
    const QList<std::pair<const char *, std::function<void()>>> changes = {
        { "preset", [&] { choose(app.control<QComboBox>("presetPopUpBTN"), 1); } },
        { "ratio", [&] { choose(app.control<QComboBox>("aspectRationPopUpBTN"), 1); } },
        { "proportional", [&] { QTest::mouseClick(app.control<QCheckBox>("proportionalCBX"), Qt::LeftButton); } },
        { "wide/tall", [&] { QTest::mouseClick(app.control<QPushButton>("wideTallBTN"), Qt::LeftButton); } },
        { "drag", [&] {
             const QPoint middle = app.control<QWidget>("selectionRectangle")->geometry().center();
             QTest::mousePress(holder, Qt::LeftButton, {}, middle);
             QTest::mouseMove(holder, middle + QPoint(5, 5));
             QTest::mouseRelease(holder, Qt::LeftButton, {}, middle + QPoint(5, 5));
         } },
    };
    for (const auto &[name, change] : changes) {
        scale->setValue(50);
        QCOMPARE(label(app, "scaleFactorLBL")->text(), u"Scale Factor: 0.5x"_s);
        change();
        QVERIFY2(scale->value() == 100, name);
        QCOMPARE(label(app, "scaleFactorLBL")->text(), u"Scale Factor: 1.0x"_s);
    }
    QCOMPARE(app.control<QPushButton>("wideTallBTN")->text(), u"Tall"_s);
    // Wide/tall turned 4:3 into 3:4, at its largest preset; the move kept both.
    QCOMPARE(app.control<QComboBox>("aspectRationPopUpBTN")->currentText(), u"3:4"_s);
    QCOMPARE(app.control<QComboBox>("presetPopUpBTN")->currentText(), u"676x900"_s);
    QCOMPARE(label(app, "scaleFactorInputLBL")->text(), u"Cropped: 676 x 900"_s);
    // The proportional box is off now: resizing keeps the ratio.
    QVERIFY(holder->isProportional());
}

void TestApplication::handlesInTheWindow()
{
    AppDriver app(m_work->path());
    QVERIFY(app.open(m_files[u"hd"_s]));
    app.activate();
    auto *holder = app.control<SelectionHolder>("selectionRectangleHolder");
    auto *ratios = app.control<QComboBox>("aspectRationPopUpBTN");
    auto *presets = app.control<QComboBox>("presetPopUpBTN");
    auto *widthField = app.control<QSpinBox>("widthField");
    const auto crop = [&] {
        return QRect(app.control<QSpinBox>("xField")->value(), app.control<QSpinBox>("yField")->value(),
                     widthField->value(), app.control<QSpinBox>("heightField")->value());
    };
    const auto shown = [&] { return app.control<QWidget>("selectionRectangle")->geometry(); };
    const auto drag = [&](QPoint from, QPoint by) {
        QTest::mousePress(holder, Qt::LeftButton, {}, from);
        QTest::mouseMove(holder, from + by / 2);
        QTest::mouseMove(holder, from + by);
        QTest::mouseRelease(holder, Qt::LeftButton, {}, from + by);
    };
    const auto choose = [](QComboBox *box, int index) {
        box->setCurrentIndex(index);
        Q_EMIT box->activated(index);
    };

    // The left edge pressed at 15 % of its height moves alone.
    drag(QPoint(shown().left(), shown().top() + shown().height() * 15 / 100), QPoint(40, 0));
    QVERIFY2(crop().x() > 160 && crop().x() + crop().width() == 1760, qPrintable(QDebug::toString(crop())));
    QCOMPARE(ratios->currentIndex(), -1);
    QCOMPARE(ratios->placeholderText(), u"Custom"_s);

    // 6 pixels inside a corner, dragged past the picture's: the crop touches both edges.
    choose(presets, 0);
    drag(shown().center(), QPoint(-33, 7));
    drag(shown().bottomRight() - QPoint(5, 5), QPoint(3000, 3000));
    QCOMPARE(crop().x() + crop().width(), 1920);
    QCOMPARE(crop().y() + crop().height(), 1080);

    // Alt+Left repeated, the right edge stops at the minimum, and the status bar says why.
    choose(presets, 0);
    for (int i = 0; i < 100; ++i)
        QTest::keyClick(app.window(), Qt::Key_Left, Qt::AltModifier | Qt::ShiftModifier);
    QVERIFY2(crop().width() <= 16, qPrintable(QDebug::toString(crop())));
    QCOMPARE(app.window()->statusBar()->currentMessage(), u"The crop cannot be smaller than 16 x 16."_s);

    // Tall turns 4:3 into 3:4.
    choose(ratios, 1);
    QTest::mouseClick(app.control<QPushButton>("wideTallBTN"), Qt::LeftButton);
    QCOMPARE(ratios->currentText(), u"3:4"_s);

    // After a typed number, a click on the picture, or Escape in a field, gives the arrows back.
    for (const bool escape : { false, true }) {
        widthField->setFocus();
        widthField->selectAll();
        QTest::keyClicks(widthField, u"300"_s);
        QTest::keyClick(widthField, Qt::Key_Return);
        if (escape)
            QTest::keyClick(widthField, Qt::Key_Escape);
        else
            QTest::mouseClick(holder, Qt::LeftButton, {}, shown().center());
        QCOMPARE(QApplication::focusWidget(), holder);
        const int x = crop().x();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Left);
        QCOMPARE(crop().x(), x - 2);
        QCOMPARE(widthField->value(), 300);
    }
}

void TestApplication::drops_data()
{
    QTest::addColumn<QList<QUrl>>("urls");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("loaded"); // the source label; empty: refused at the door

    const auto file = [this](const char *kind) { return QUrl::fromLocalFile(m_files[QString::fromLatin1(kind)]); };
    QTest::newRow("a video") << QList<QUrl> { file("portrait") } << QString() << u"Source: 360 x 640"_s;
    QTest::newRow("several files: the first counts") << QList<QUrl> { file("square"), file("portrait") } << QString()
                                                     << u"Source: 480 x 480"_s;
    QTest::newRow("a folder") << QList<QUrl> { QUrl::fromLocalFile(m_fixtures.path()) } << QString() << QString();
    QTest::newRow("a missing file") << QList<QUrl> { file("missing") } << QString() << QString();
    QTest::newRow("a web link") << QList<QUrl> { QUrl(u"https://example.com/clip.mp4"_s) } << QString() << QString();
    QTest::newRow("plain text") << QList<QUrl>() << m_files[u"portrait"_s] << QString();
}

void TestApplication::drops()
{
    QFETCH(QList<QUrl>, urls);
    QFETCH(QString, text);
    QFETCH(QString, loaded);

    // Dropped anywhere on the window: here beside the picture, where the window itself takes it.
    AppDriver app(m_work->path());
    auto *poster = app.control<ImageDropView>("posterView");
    QMimeData data;
    if (!urls.isEmpty())
        data.setUrls(urls);
    if (!text.isEmpty())
        data.setText(text);
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(app.window(), &enter);
    QCOMPARE(enter.isAccepted(), !loaded.isEmpty());
    if (loaded.isEmpty())
        return;
    QCOMPARE(enter.dropAction(), Qt::CopyAction);
    const QColor lit = poster->grab().toImage().pixelColor(poster->width() / 2, 2);
    QVERIFY2(lit.red() > 200 && lit.green() > 150, "the picture area does not light up");
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(app.window(), &drop);
    QVERIFY(drop.isAccepted());
    QVERIFY(QTest::qWaitFor([&] { return app.isLoaded(); }, 60'000));
    QCOMPARE(label(app, "inputResolutionTF")->text(), loaded);
}

void TestApplication::toolsDoNotInheritTheSignalSocket()
{
    const auto sockets = [](const QString &fds) {
        QStringList found;
        for (const QFileInfo &fd : QDir(fds).entryInfoList(QDir::Files | QDir::System))
            if (fd.symLinkTarget().contains(u"socket:"_s))
                found << fd.symLinkTarget();
        return found;
    };
    const QStringList before = sockets(u"/proc/self/fd"_s);
    SignalQuit signalQuit;
    QStringList mine = sockets(u"/proc/self/fd"_s);
    for (const QString &socket : before)
        mine.removeOne(socket);
    QCOMPARE(mine.size(), 2);
    QProcess tool;
    tool.start(u"sh"_s, { u"-c"_s, u"for fd in /proc/$$/fd/*; do readlink $fd; done"_s });
    QVERIFY(tool.waitForFinished());
    const QString inherited = QString::fromUtf8(tool.readAllStandardOutput());
    for (const QString &socket : mine)
        QVERIFY2(!inherited.contains(QFileInfo(socket).fileName()), qPrintable(inherited));
}

QTEST_MAIN(TestApplication)
#include "tst_application.moc"
