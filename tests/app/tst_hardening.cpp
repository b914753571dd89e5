#include "AppDriver.h"
#include "media/FileProbe.h"
#include "support/Fixtures.h"

#include <QDir>
#include <QMessageBox>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QRandomGenerator>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <unistd.h>

using namespace Qt::StringLiterals;

// Bad files, bad paths and failing tools thrown at the whole application:
// each ends in a clear message or a clean refusal, with no crash, no stray
// process, no temporary file, and no earlier file at the destination damaged.
class TestHardening : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void badInputs_data();
    void badInputs();
    void inputDeletedBeforeTheCrop();
    void faults_data();
    void faults();
    void quitDuringAnalysis();
    void quitDuringCrop();
    void terminatedByASignal();

private:
    QString make(const QString &kind);
    // Waits for the crop to make progress, then does what.
    void whenTheEncoderIsAtWork(AppDriver &app, const std::function<void()> &what);
    void verifyNothingLeft(const QStringList &expectedFiles);

    QTemporaryDir m_fixtures;
    QString m_video;
    QString m_long;
    std::unique_ptr<QTemporaryDir> m_work;
};

void TestHardening::initTestCase()
{
    m_video = Fixtures::makeVideo(m_fixtures.path(), u"clip.mp4"_s, { 640, 360, 1.0 });
    m_long = Fixtures::makeVideo(m_fixtures.path(), u"long.mp4"_s, { 1280, 720, 30.0 });
    QVERIFY(!m_video.isEmpty() && !m_long.isEmpty());
}

void TestHardening::init()
{
    m_work = std::make_unique<QTemporaryDir>();
    QVERIFY(QDir(m_work->path()).mkdir(u"in"_s) && QDir(m_work->path()).mkdir(u"out"_s));
}

void TestHardening::cleanup()
{
    QCOMPARE(Fixtures::childProcesses(), QList<qint64>());
    m_work.reset();
}

void TestHardening::verifyNothingLeft(const QStringList &expectedFiles)
{
    QCOMPARE(Fixtures::childProcesses(), QList<qint64>());
    QCOMPARE(Fixtures::filesIn(m_work->filePath(u"out"_s)), expectedFiles);
}

QString TestHardening::make(const QString &kind)
{
    const QString in = m_work->filePath(u"in"_s);
    QFile source(m_video);
    (void)source.open(QIODevice::ReadOnly);
    const QByteArray video = source.readAll();
    QRandomGenerator random(42);
    const auto noise = [&](qsizetype size) {
        QByteArray bytes(size, Qt::Uninitialized);
        random.fillRange(reinterpret_cast<quint32 *>(bytes.data()), size / 4);
        return bytes;
    };
    const auto named = [&](const QString &name) { return Fixtures::makeVideo(in, name, { 320, 180, 1.0 }); };

    if (kind == u"zero bytes")
        return Fixtures::writeFile(in + u"/empty.mp4"_s, {});
    if (kind == u"random bytes")
        return Fixtures::writeFile(in + u"/noise.mp4"_s, noise(256 * 1024));
    if (kind == u"truncated")
        return Fixtures::writeFile(in + u"/truncated.mp4"_s, video.left(video.size() / 3));
    if (kind == u"corrupt in the middle") {
        QByteArray damaged = video;
        damaged.replace(damaged.size() / 3, damaged.size() / 4, noise(damaged.size() / 4));
        return Fixtures::writeFile(in + u"/damaged.mp4"_s, damaged);
    }
    if (kind == u"photo")
        return Fixtures::makeJpeg(in, u"photo.jpg"_s);
    if (kind == u"subtitles only") {
        const QString srt = Fixtures::writeFile(in + u"/subs.srt"_s, "1\n00:00:00,000 --> 00:00:01,000\nHi\n");
        return Fixtures::runFfmpeg({ u"-i"_s, srt, in + u"/subs.mkv"_s }) ? in + u"/subs.mkv"_s : QString();
    }
    if (kind == u"2 x 2")
        return Fixtures::makeVideo(in, u"tiny.mp4"_s, { 2, 2, 1.0 });
    if (kind == u"641 x 359") {
        Fixtures::Video odd { 641, 359, 1.0 };
        odd.codec = "ffv1";
        return Fixtures::makeVideo(in, u"odd.mkv"_s, odd);
    }
    if (kind == u"4000 x 64")
        return Fixtures::makeVideo(in, u"strip.mp4"_s, { 4000, 64, 1.0 });
    if (kind == u"long path") {
        // Nested folders close to the path limit, and a name close to the name limit.
        QString dir = in;
        while (dir.size() < 3500)
            dir += u'/' + QString(200, u'd');
        return QDir().mkpath(dir) ? named(dir.mid(in.size() + 1) + u'/' + QString(240, u'n') + u".mp4"_s) : QString();
    }
    if (kind == u"awkward name")
        return named(u"-i my \"holiday\" it's\nÅlesund café 東京 \U0001F3AC.mp4"_s);
    if (kind == u"symlink") {
        const QString link = in + u"/link.mp4"_s;
        return QFile::link(m_video, link) ? link : QString();
    }
    if (kind == u"no read permission") {
        const QString locked = Fixtures::writeFile(in + u"/locked.mp4"_s, video);
        QFile::setPermissions(locked, QFile::WriteOwner);
        return locked;
    }
    return {};
}

void TestHardening::badInputs_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("outcome");

    QTest::newRow("zero-byte file") << u"zero bytes"_s << u"refused"_s;
    QTest::newRow("random bytes named .mp4") << u"random bytes"_s << u"refused"_s;
    QTest::newRow("truncated MP4") << u"truncated"_s << u"refused"_s;
    QTest::newRow("MP4 corrupt in the middle") << u"corrupt in the middle"_s << u"cropped"_s;
    QTest::newRow("photo") << u"photo"_s << u"refused"_s;
    QTest::newRow("subtitles only") << u"subtitles only"_s << u"refused"_s;
    QTest::newRow("2 x 2 video") << u"2 x 2"_s << u"cropped"_s;
    QTest::newRow("641 x 359 video") << u"641 x 359"_s << u"cropped"_s;
    QTest::newRow("4000 x 64 video") << u"4000 x 64"_s << u"cropped"_s;
    QTest::newRow("path near the limit") << u"long path"_s << u"cropped"_s;
    // A leading dash, spaces, quotes, a newline and letters beyond ASCII, all in one name.
    QTest::newRow("awkward name") << u"awkward name"_s << u"cropped"_s;
    QTest::newRow("symlink to a video") << u"symlink"_s << u"cropped"_s;
    QTest::newRow("no read permission") << u"no read permission"_s << u"refused"_s;
}

void TestHardening::badInputs()
{
    QFETCH(QString, kind);
    QFETCH(QString, outcome);
    if (kind == u"no read permission" && ::geteuid() == 0)
        QSKIP("root reads any file");

    const QString input = make(kind);
    QVERIFY2(!input.isEmpty(), "the fixture could not be made");
    AppDriver app(m_work->path());
    QString actual;
    QString detail;
    if (!app.open(input)) {
        QMessageBox *alert = app.waitForAlert();
        QVERIFY(alert);
        actual = u"refused"_s;
        detail = alert->text();
        QCOMPARE(app.notEmptyBecause(), QString());
    } else {
        app.cropTo(m_work->filePath(u"out/Cropped.mp4"_s));
        QMessageBox *alert = app.waitForCropEnd();
        QVERIFY(alert);
        actual = alert->text() == u"Video Cropped Successfully!" ? u"cropped"_s : u"crop failed"_s;
        detail = alert->informativeText().replace(u'\n', u"; "_s);
    }
    qInfo("%s: %s (%s)", QTest::currentDataTag(), qPrintable(actual), qPrintable(detail));
    QCOMPARE(actual, outcome);
    verifyNothingLeft(actual == u"cropped" ? QStringList { u"Cropped.mp4"_s } : QStringList());
    if (actual == u"cropped")
        QVERIFY(FileProbe(m_work->filePath(u"out/Cropped.mp4"_s)).hasVideoTrack());
}

void TestHardening::inputDeletedBeforeTheCrop()
{
    const QString input = m_work->filePath(u"in/clip.mp4"_s);
    QVERIFY(QFile::copy(m_video, input));
    AppDriver app(m_work->path());
    QVERIFY(app.open(input));
    QVERIFY(QFile::remove(input));
    app.cropTo(m_work->filePath(u"out/Cropped.mp4"_s));
    QMessageBox *alert = app.waitForCropEnd();
    QVERIFY(alert);
    QCOMPARE(alert->text(), u"The video could not be cropped."_s);
    verifyNothingLeft({});
}

void TestHardening::whenTheEncoderIsAtWork(AppDriver &app, const std::function<void()> &what)
{
    QVERIFY(QTest::qWaitFor([&] { return app.control<QProgressBar>("progressBar")->value() > 0; }, 60'000));
    what();
}

void TestHardening::faults_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("outcome"); // the alert's text, or empty for none

    const QString failed = u"The video could not be cropped."_s;
    QTest::newRow("probe killed by a signal") << u"probe killed"_s
                                              << u"Seems to be an unsupported file.\nDoes the video play in a video player?"_s;
    QTest::newRow("encoder fails") << u"encoder fails"_s << failed;
    QTest::newRow("encoder killed by a signal") << u"encoder killed"_s << failed;
    QTest::newRow("encoder hangs until cancelled") << u"encoder hangs"_s << QString();
    QTest::newRow("output folder not writable") << u"not writable"_s << failed;
    QTest::newRow("output disk full") << u"disk full"_s << failed;
    QTest::newRow("input removed during the crop") << u"input removed"_s << u"Video Cropped Successfully!"_s;
}

void TestHardening::faults()
{
    QFETCH(QString, fault);
    QFETCH(QString, outcome);

    AppDelegate::Tools tools = AppDelegate::Tools::bundled();
    // Tools that misbehave for the crop only; posters still come from the real encoder.
    const auto cropOnly = [&](const QByteArray &misbehaviour) {
        return Fixtures::writeScript(m_work->filePath(u"in/creator"_s),
                                     "case \"$*\" in *-vf*) " + misbehaviour + ";; esac\nexec \""
                                         + Fixtures::ffmpeg().toUtf8() + "\" \"$@\"");
    };
    if (fault == u"probe killed")
        tools.probe = Fixtures::writeScript(m_work->filePath(u"in/sniffer"_s), "kill -9 $$");
    if (fault == u"encoder fails")
        tools.encoder = cropOnly("echo 'Conversion failed!' >&2; exit 1");
    if (fault == u"encoder hangs")
        tools.encoder = cropOnly("trap '' TERM; while :; do sleep 0.1; done");
    if (fault == u"disk full")
        tools.encoder = cropOnly("ulimit -f 8; exec \"" + Fixtures::ffmpeg().toUtf8() + "\" \"$@\"");

    // Faults that strike a running encoder need a crop that lasts; the others a short one.
    const bool midway = fault == u"encoder killed" || fault == u"input removed";
    const QString input = m_work->filePath(u"in/input.mp4"_s);
    QVERIFY(QFile::copy(midway ? m_long : m_video, input));
    QString output = m_work->filePath(u"out/Cropped.mp4"_s);
    const QByteArray earlier = "a file the user had";
    Fixtures::writeFile(output, earlier);
    if (fault == u"not writable") {
        // Even root cannot make files in /sys; others are kept out by the folder's mode.
        output = ::geteuid() == 0 ? u"/sys/Cropped.mp4"_s : output;
        QFile::setPermissions(m_work->filePath(u"out"_s), QFile::ReadOwner | QFile::ExeOwner);
    }

    AppDriver app(m_work->path(), tools);
    const bool loaded = app.open(input);
    QMessageBox *alert = nullptr;
    if (loaded) {
        if (midway)
            app.control<QSlider>("scaleFactorSlider")->setValue(10);
        app.cropTo(output);
        if (fault == u"encoder killed") {
            whenTheEncoderIsAtWork(app, [] {
                for (qint64 pid : Fixtures::childProcesses())
                    ::kill(pid_t(pid), SIGKILL);
            });
        } else if (fault == u"encoder hangs") {
            QTest::qWait(500);
            QTest::mouseClick(app.control<QPushButton>("progressCancel"), Qt::LeftButton);
        } else if (fault == u"input removed") {
            whenTheEncoderIsAtWork(app, [&] { QFile::remove(input); });
        }
        alert = app.waitForCropEnd();
    } else {
        alert = app.waitForAlert();
    }
    QFile::setPermissions(m_work->filePath(u"out"_s), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const QString actual = alert ? alert->text() : QString();
    qInfo("%s: %s (%s)", QTest::currentDataTag(), actual.isEmpty() ? "no alert" : qPrintable(actual),
          alert ? qPrintable(alert->informativeText().replace(u'\n', u"; "_s)) : "");
    QCOMPARE(actual, outcome);
    if (fault == u"encoder fails")
        QVERIFY(alert->informativeText().contains(u"exit status 1.\nConversion failed!"_s));

    QFile kept(m_work->filePath(u"out/Cropped.mp4"_s));
    QVERIFY(kept.open(QIODevice::ReadOnly));
    if (outcome != u"Video Cropped Successfully!")
        QCOMPARE(kept.readAll(), earlier);
    verifyNothingLeft({ u"Cropped.mp4"_s });
}

void TestHardening::quitDuringAnalysis()
{
    {
        AppDriver app(m_work->path());
        app.delegate().openFile(m_long);
        QTest::qWait(700);
        QVERIFY(!app.isLoaded());
    }
    QCOMPARE(Fixtures::childProcesses(), QList<qint64>());
    // The scratch folder went with the application.
    QCOMPARE(QDir(m_work->path()).entryList(QDir::Dirs | QDir::NoDotAndDotDot), (QStringList { u"in"_s, u"out"_s }));
}

void TestHardening::quitDuringCrop()
{
    {
        AppDriver app(m_work->path());
        QVERIFY(app.open(m_long));
        app.cropTo(m_work->filePath(u"out/Cropped.mp4"_s));
        whenTheEncoderIsAtWork(app, [] {});
    }
    verifyNothingLeft({});
    QCOMPARE(QDir(m_work->path()).entryList(QDir::Dirs | QDir::NoDotAndDotDot), (QStringList { u"in"_s, u"out"_s }));
}

void TestHardening::terminatedByASignal()
{
    // The real program, told to stop by the session while it analyses a video.
    QProcess tessaly;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"TMPDIR"_s, m_work->path());
    tessaly.setProcessEnvironment(environment);
    tessaly.setProcessChannelMode(QProcess::ForwardedChannels);
    tessaly.start(QCoreApplication::applicationDirPath() + u"/tessaly"_s, { m_long });
    QVERIFY(tessaly.waitForStarted());
    QVERIFY(QTest::qWaitFor([&] { return !QDir(m_work->path()).entryList({ u"tessaly-*"_s }, QDir::Dirs).isEmpty(); },
                            10'000));
    QTest::qWait(1000);
    tessaly.terminate();
    QVERIFY(tessaly.waitForFinished(10'000));
    QCOMPARE(tessaly.exitStatus(), QProcess::NormalExit);
    QCOMPARE(tessaly.exitCode(), 0);
    QCOMPARE(QDir(m_work->path()).entryList({ u"tessaly-*"_s }, QDir::Dirs), QStringList());
}

QTEST_MAIN(TestHardening)
#include "tst_hardening.moc"
