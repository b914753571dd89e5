#include "AppSuite.h"
#include "ImageDropView.h"
#include "SignalQuit.h"

#include <QApplication>
#include <QFileDialog>
#include <QMenu>
#include <QTableWidget>
#include <QMimeData>
#include <QElapsedTimer>
#include <QProcess>

#include <sys/stat.h>

using namespace Qt::StringLiterals;

// Opening videos through the real window on the offscreen platform: what is
// shown or refused, the posters, drops, and the tools started on the way.
class TestOpening : public AppSuite
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void opening_data();
    void opening();
    void refusals_data();
    void refusals();
    void drops_data();
    void drops();
    void toolsDoNotInheritTheSignalSocket();
    void videoInfoFollows();
    void rememberedAcrossLaunches();
};

void TestOpening::initTestCase()
{
    makeFiles({ u"hd"_s, u"portrait"_s, u"square"_s, u"rotated"_s, u"small"_s, u"audio"_s, u"vob"_s, u"missing"_s,
                u"text"_s, u"dual"_s, u"variable rate"_s, u"interlaced"_s, u"undecodable"_s,
                u"short video, long subtitle"_s, u"tiny"_s, u"one picture"_s, u"empty first stream"_s,
                u"piped WebM"_s });
}

void TestOpening::opening_data()
{
    QTest::addColumn<QStringList>("files"); // opened in turn; the last one counts
    QTest::addColumn<QString>("expected");  // what the window shows, or the alert's text

    const QString unsupported = u"Seems to be an unsupported file.\nDoes the video play in a video player?"_s;
    QTest::newRow("landscape") << QStringList { "hd" } << u"Source: 1920 x 1080, Wide 16:9 1600x900"_s;
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
    QTest::newRow("refused after a loaded video") << QStringList { "hd", "text" } << unsupported;
    // Files from phones, cameras and tools.
    QTest::newRow("nothing decodable: refused at load") << QStringList { "undecodable" }
                                                        << u"Tessaly cannot decode the pictures of this video."_s;
    // Files that play are never refused: one picture, a first stream without any, a header that says 2 s of 10.
    QTest::newRow("a video of one picture") << QStringList { "one picture" } << u"posters 1"_s;
    QTest::newRow("a first video stream without pictures: the next") << QStringList { "empty first stream" }
                                                                       << u"Source: 160 x 120"_s;
    QTest::newRow("a WebM copied through a pipe: its real length") << QStringList { "piped WebM" }
                                                                    << u"End 00:00:10.000"_s;
    // Two pictures, and two posters.
    QTest::newRow("a subtitle outlasts the video") << QStringList { "short video, long subtitle" } << u"posters 2"_s;
}

void TestOpening::opening()
{
    QFETCH(QStringList, files);
    QFETCH(QString, expected);

    AppDriver app(m_work->path());
    bool loaded = false;
    for (const QString &file : files)
        loaded = app.open(m_files.value(file));

    // A file refused after a loaded video leaves that video shown.
    const bool refused = !expected.startsWith(u"Source: "_s) && !expected.startsWith(u"posters"_s)
        && !expected.startsWith(u"End "_s);
    if (loaded && expected.startsWith(u"posters"_s))
        return verifyPosters(app, m_files.value(files.last()), expected.section(u' ', 1).toInt());
    if (loaded && (expected.startsWith(u"End "_s) || (expected.startsWith(u"Source: "_s) && !expected.contains(u',')))) {
        QCOMPARE(expected.startsWith(u"End "_s) ? u"End "_s + app.control<QLineEdit>("endTF")->text()
                                                 : label(app, "inputResolutionTF")->text(),
                 expected);
        return;
    }
    if (loaded && !refused) {
        const QString shown = u"%1, %2 %3 %4"_s.arg(label(app, "inputResolutionTF")->text(),
                                                    app.control<QPushButton>("wideTallBTN")->text(),
                                                    app.control<QComboBox>("aspectRationPopUpBTN")->currentText(),
                                                    app.control<QComboBox>("presetPopUpBTN")->currentText());
        QCOMPARE(shown, expected);
        QCOMPARE(label(app, "outputResolutionTF")->text(),
                 u"Cropped: "_s + expected.section(u' ', -1).replace(u'x', u" x "_s));
        QVERIFY(app.control<QSlider>("posterPositionSlider")->isEnabled());
        QVERIFY(app.control<QLabel>("posterTimeLBL")->text().endsWith(u" · 6 / 11"_s));
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

void TestOpening::refusals_data()
{
    QTest::addColumn<QString>("input"); // what is handed over, made in the work folder's "in"
    QTest::addColumn<QByteArray>("probe"); // the probe tool's script; empty: the real one
    QTest::addColumn<QString>("expected"); // the alert's text

    const QString playlist = u"“evil.mp4” is a playlist, not a video: it names other files."_s;
    const QString broken = u"Tessaly’s probe tool (ffprobe) is missing or broken."_s;
    QTest::newRow("an HLS playlist named .mp4") << u"playlist"_s << QByteArray() << playlist;
    QTest::newRow("a playlist whose video is gone") << u"playlist of a missing video"_s << QByteArray() << playlist;
    QTest::newRow("an ffconcat list named .mp4") << u"ffconcat"_s << QByteArray() << playlist;
    QTest::newRow("a folder named .mp4") << u"folder"_s << QByteArray() << u"“x.mp4” is a folder, not a video file."_s;
    // Reading it would wait for a writer that never comes.
    QTest::newRow("a named pipe") << u"fifo"_s << QByteArray() << u"“fifo.mp4” is a named pipe, not a video file."_s;
    QTest::newRow("a loop of links") << u"loop"_s << QByteArray() << u"“loop1.mp4” is a link that leads back to itself."_s;
    QTest::newRow("a file no one may read") << u"locked"_s << QByteArray()
                                            << u"You do not have permission to read “locked.mp4”."_s;
    QTest::newRow("a web address") << u"http://127.0.0.1:8765/x.mp4"_s << QByteArray()
                                   << u"Tessaly opens files on this computer only: http://127.0.0.1:8765/x.mp4"_s;
    QTest::newRow("ffmpeg's concat protocol") << u"concat:a.mp4|b.mp4"_s << QByteArray()
                                              << u"Tessaly opens files on this computer only: concat:a.mp4|b.mp4"_s;
    QTest::newRow("a video of one pixel") << u"tiny"_s << QByteArray()
                                          << u"“tiny.mp4” is too small to crop: 1 x 1 pixels."_s;
    QTest::newRow("the probe tool missing") << u"small"_s << QByteArray("missing") << broken;
    QTest::newRow("the probe tool printing garbage") << u"small"_s << QByteArray("echo 'Segmentation fault'") << broken;
    QTest::newRow("the probe tool failing") << u"small"_s << QByteArray("exit 1") << broken;
}

void TestOpening::refusals()
{
    QFETCH(QString, input);
    QFETCH(QByteArray, probe);
    QFETCH(QString, expected);

    const QString in = m_work->filePath(u"in"_s);
    QString path = input;
    if (input == u"playlist" || input == u"playlist of a missing video") {
        const QString target = input == u"playlist" ? fixture(u"small"_s) : in + u"/gone.ts"_s;
        path = Fixtures::writeFile(in + u"/evil.mp4"_s, "#EXTM3U\n#EXT-X-TARGETDURATION:10\n#EXTINF:1,\nfile://"
                                                          + target.toUtf8() + "\n#EXT-X-ENDLIST\n");
    } else if (input == u"ffconcat") {
        fixture(u"small"_s);
        path = Fixtures::writeFile(in + u"/evil.mp4"_s, "ffconcat version 1.0\nfile small.mp4\n");
    } else if (input == u"folder") {
        path = in + u"/x.mp4"_s;
        QVERIFY(QDir().mkdir(path));
    } else if (input == u"fifo") {
        path = in + u"/fifo.mp4"_s;
        QCOMPARE(mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    } else if (input == u"loop") {
        path = in + u"/loop1.mp4"_s;
        QVERIFY(QFile::link(in + u"/loop2.mp4"_s, path) && QFile::link(path, in + u"/loop2.mp4"_s));
    } else if (input == u"locked") {
        path = in + u"/locked.mp4"_s;
        QVERIFY(QFile::copy(m_files[u"small"_s], path) && QFile::setPermissions(path, {}));
    } else if (m_files.contains(input)) {
        path = fixture(input);
    }
    AppDelegate::Tools tools = AppDelegate::Tools::bundled();
    if (probe == "missing")
        tools.probe = in + u"/no-such-probe"_s;
    else if (!probe.isEmpty())
        tools.probe = Fixtures::writeScript(in + u"/sniffer"_s, probe);

    AppDriver app(m_work->path(), tools);
    QElapsedTimer clock;
    clock.start();
    app.delegate().openFile(path);
    QMessageBox *alert = app.waitForAlert(30'000);
    QVERIFY(alert);
    QCOMPARE(alert->text(), expected);
    QVERIFY2(alert->informativeText().endsWith(u"support@tessaly.app"_s), qPrintable(alert->informativeText()));
    // Refused at the door: at once, the window alive and empty.
    if (input == u"fifo")
        QVERIFY2(clock.elapsed() < 1000, qPrintable(QString::number(clock.elapsed())));
    QVERIFY(!app.isSheetShown());
    QCOMPARE(app.notEmptyBecause(), QString());
    alert->button(QMessageBox::Ok)->click();
    if (probe.isEmpty())
        QVERIFY(app.open(m_files[u"small"_s]));
}

void TestOpening::drops_data()
{
    QTest::addColumn<QList<QUrl>>("urls");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("loaded"); // the source label; empty: refused at the door

    const auto file = [this](const char *kind) { return QUrl::fromLocalFile(m_files[QString::fromLatin1(kind)]); };
    QTest::newRow("several files: the first counts") << QList<QUrl> { file("square"), file("portrait") } << QString()
                                                     << u"Source: 480 x 480"_s;
    QTest::newRow("a folder") << QList<QUrl> { QUrl::fromLocalFile(m_fixtures.path()) } << QString() << QString();
    QTest::newRow("a web link") << QList<QUrl> { QUrl(u"https://example.com/clip.mp4"_s) } << QString() << QString();
    QTest::newRow("plain text") << QList<QUrl>() << m_files[u"portrait"_s] << QString();
}

void TestOpening::drops()
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

void TestOpening::toolsDoNotInheritTheSignalSocket()
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

void TestOpening::videoInfoFollows()
{
    // Left open, Video Info follows each file opened, and says what the picture is.
    AppDriver app(m_work->path());
    QVERIFY(app.open(m_files[u"rotated"_s]));
    QTest::keyClick(app.window(), Qt::Key_I, Qt::ControlModifier);
    auto *info = app.window()->findChild<QDialog *>(u"VideoInfoWindow"_s);
    QTRY_VERIFY(info->isVisible());
    auto *summary = info->findChild<QLabel *>(u"summaryLBL"_s);
    auto *tracks = info->findChild<QTableWidget *>(u"tracksTable"_s);
    const struct
    {
        const char *file;
        const char *line;
        int croppedRow;
    } files[] = {
        { "rotated", "Turned 270° clockwise for showing", 0 },
        { "variable rate", "Picture: 320 x 240, variable frame rate, about 20.339 a second", 0 },
        { "interlaced", "Interlaced, top field first", 0 },
        { "dual", "Picture: 640 x 360 at 25 frames a second", 0 },
    };
    for (const auto &[file, line, croppedRow] : files) {
        if (qstrcmp(file, "rotated") != 0)
            QVERIFY(app.open(m_files[QString::fromLatin1(file)]));
        QVERIFY(info->isVisible());
        QVERIFY2(summary->text().contains(QString::fromUtf8(line)), qPrintable(summary->text()));
        QVERIFY(summary->text().startsWith(QFileInfo(m_files[QString::fromLatin1(file)]).fileName()));
        QVERIFY(tracks->item(croppedRow, 1)->text().endsWith(u"(cropped)"_s));
    }
    QCOMPARE(tracks->rowCount(), 2);
    QCOMPARE(tracks->item(1, 1)->text(), u"Video"_s);
}

void TestOpening::rememberedAcrossLaunches()
{
    // The window where the user left it, the recording date setting, the videos opened last and
    // their folder, the folder of the last crop.
    {
        AppDriver first(m_work->path());
        first.window()->resize(700, 560);
        first.window()->findChild<QAction *>(u"keepRecordingDateBTN"_s)->setChecked(false);
        QVERIFY(first.open(m_files[u"dual"_s]));
        QVERIFY(first.open(m_files[u"rotated"_s]));
        first.cropTo(m_work->filePath(u"out/Cropped.mp4"_s));
        QVERIFY(first.waitForCropEnd());
        first.delegate().applicationWillTerminate();
    }
    AppDriver second(m_work->path());
    QCOMPARE(second.window()->size(), QSize(700, 560));
    QVERIFY(!second.window()->findChild<QAction *>(u"keepRecordingDateBTN"_s)->isChecked());
    QTest::keyClick(second.window(), Qt::Key_O, Qt::ControlModifier);
    auto *panel = second.window()->findChild<QFileDialog *>();
    QTRY_VERIFY(panel);
    QCOMPARE(panel->directory().absolutePath(), QFileInfo(m_files[u"rotated"_s]).absolutePath());
    panel->reject();

    auto *recentMenu = second.window()->findChild<QMenu *>(u"recentMenu"_s);
    Q_EMIT recentMenu->aboutToShow(); // as it opens
    const QList<QAction *> recent = recentMenu->actions();
    QVERIFY(recent.size() > 2);
    QVERIFY2(recent[0]->text().startsWith(u"rotated.mp4 — "_s) && recent[1]->text().startsWith(u"dual.mp4 — "_s),
             qPrintable(recent[0]->text()));
    recent[0]->trigger();
    QTRY_COMPARE_WITH_TIMEOUT(second.window()->windowTitle(), u"rotated.mp4"_s, 60'000);
    second.activate();
    QTest::keyClick(second.window(), Qt::Key_S, Qt::ControlModifier);
    panel = second.window()->findChild<QFileDialog *>();
    QTRY_VERIFY(panel);
    QCOMPARE(panel->directory().absolutePath(), m_work->filePath(u"out"_s));
    panel->reject();
}

QTEST_MAIN(TestOpening)
#include "tst_opening.moc"
