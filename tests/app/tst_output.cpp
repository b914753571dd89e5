#include "AppDriver.h"
#include "support/Fixtures.h"

#include <QAction>
#include <QDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>
#include <QProcess>
#include <QSpinBox>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

// What a crop keeps of the input beyond the picture (frames, their times,
// the recording date, the stream chosen) and what its result alert says it
// changed, on ffmpeg-made files cropped in the real window.
class TestOutput : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void keptAndSaid_data();
    void keptAndSaid();
    void videoInfoFollows();
    void rememberedAcrossLaunches();

private:
    QTemporaryDir m_fixtures;
    QHash<QString, QString> m_files;
};

namespace {

// One value of the output as ffprobe reports it, such as "stream=nb_read_frames".
QString probed(const QString &path, const QStringList &arguments)
{
    QProcess probe;
    probe.start(Fixtures::ffprobe(), QStringList { "-v", "error", "-of", "default=nw=1:nk=1" } + arguments << path);
    probe.waitForFinished(60'000);
    return QString::fromUtf8(probe.readAllStandardOutput()).trimmed();
}

// How many frames ffmpeg's interlace detector finds combed, of all it looked at.
std::pair<int, int> combedFrames(const QString &path)
{
    QProcess detect;
    detect.start(Fixtures::ffmpeg(), { "-hide_banner", "-i", path, "-vf", "idet", "-f", "null", "-" });
    detect.waitForFinished(60'000);
    const QString log = QString::fromUtf8(detect.readAllStandardError());
    const QString line = log.section(u"Multi frame detection:"_s, 1).section(u'\n', 0, 0);
    const auto count = [&line](const QString &name) { return line.section(name + u':', 1).simplified().section(u' ', 0, 0).toInt(); };
    const int combed = count(u"TFF"_s) + count(u"BFF"_s);
    return { combed, combed + count(u"Progressive"_s) };
}

} // namespace

void TestOutput::initTestCase()
{
    const QString dir = m_fixtures.path();
    const QString source = u"testsrc2=size=320x240:rate=%1:duration=%2"_s;
    const struct
    {
        const char *kind;
        QStringList arguments;
    } recipes[] = {
        // Thirty frames a second for two seconds, then ten.
        { "variable rate", { "-f", "lavfi", "-i", source.arg(30).arg(4), "-vf", "select='lt(t,2)+not(mod(n,3))'",
                             "-fps_mode", "vfr", "-c:v", "libx264", "-preset", "ultrafast", dir + "/vfr.mp4" } },
        { "interlaced", { "-f", "lavfi", "-i", source.arg(50).arg(2), "-vf", "interlace=scan=tff", "-c:v", "libx264",
                          "-preset", "ultrafast", "-flags", "+ildct+ilme", "-x264-params", "tff=1",
                          dir + "/interlaced.mp4" } },
        { "5.1 sound", { "-f", "lavfi", "-i", source.arg(25).arg(2), "-f", "lavfi", "-i",
                         "sine=duration=2,aformat=channel_layouts=5.1", "-c:v", "libx264", "-preset", "ultrafast",
                         "-c:a", "aac", dir + "/surround.mp4" } },
        { "dated and placed", { "-f", "lavfi", "-i", source.arg(25).arg(2), "-c:v", "libx264", "-preset",
                                "ultrafast", "-metadata", "creation_time=2024-05-01T10:00:00.000000Z", "-metadata",
                                "location=+48.8577+002.2950/", dir + "/dated.mp4" } },
        { "damaged end", { "-f", "lavfi", "-i", source.arg(25).arg(10), "-c:v", "libx264", "-preset", "ultrafast",
                           dir + "/damaged.mkv" } },
        // A dual-camera recorder's file: the small clip first, as players show it.
        { "two video streams", { "-f", "lavfi", "-i", u"testsrc2=size=640x360:rate=25:duration=2"_s, "-f", "lavfi",
                                 "-i", source.arg(25).arg(4).replace(u"320x240"_s, u"1280x960"_s), "-map", "0",
                                 "-map", "1", "-c:v", "libx264", "-preset", "ultrafast", dir + "/dual.mp4" } },
    };
    for (const auto &[kind, arguments] : recipes) {
        QVERIFY2(Fixtures::runFfmpeg(arguments), kind);
        m_files[QString::fromLatin1(kind)] = arguments.last();
    }
    Fixtures::Video turned { 320, 180, 1.0 };
    turned.rotate = 90;
    m_files[u"turned"_s] = Fixtures::makeVideo(dir, u"turned.mp4"_s, turned);
    QVERIFY(!m_files[u"turned"_s].isEmpty());
    // Its end cut away, as a recording that stopped with the disk full; the header still says 10 s.
    const QByteArray whole = Fixtures::readFile(m_files[u"damaged end"_s]);
    QVERIFY(!Fixtures::writeFile(m_files[u"damaged end"_s], whole.left(whole.size() * 3 / 10)).isEmpty());
}

void TestOutput::keptAndSaid_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("title");   // of the result alert
    QTest::addColumn<QString>("said");    // a line of its text; empty: none beyond the sizes and length
    QTest::addColumn<QStringList>("kept"); // ffprobe's arguments for a value of the output, then the value, ...

    const QString success = u"Video Cropped Successfully!"_s;
    QTest::newRow("variable frame rate: every frame at its time")
        << u"variable rate"_s << success << QString()
        << QStringList { "-count_frames -show_entries stream=nb_read_frames", "80", "-show_entries format=duration",
                        "3.934000" };
    QTest::newRow("interlaced: made progressive") << u"interlaced"_s << success << u"Interlaced: made progressive"_s
                                                  << QStringList();
    QTest::newRow("5.1 sound: mixed down, said") << u"5.1 sound"_s << success << u"Audio: 5.1 mixed down to stereo"_s
                                                 << QStringList { "-select_streams a -show_entries stream=channels", "2" };
    QTest::newRow("the recording date kept, the place not")
        << u"dated and placed"_s << success << QString()
        << QStringList { "-show_entries format_tags=creation_time", "2024-05-01T10:00:00.000000Z",
                        "-show_entries format_tags=location", "" };
    QTest::newRow("a damaged end: shorter, and said where")
        << u"damaged end"_s << u"Video Cropped, but Shorter than Asked"_s
        << u"The input could be read only up to 00:00:0"_s << QStringList();
    QTest::newRow("two video streams: the first one cropped")
        << u"two video streams"_s << success << QString()
        << QStringList { "-select_streams v -show_entries stream=width,height", "426\n240" };
}

void TestOutput::keptAndSaid()
{
    QFETCH(QString, file);
    QFETCH(QString, title);
    QFETCH(QString, said);
    QFETCH(QStringList, kept);

    QTemporaryDir work;
    AppDriver app(work.path());
    QVERIFY(app.open(m_files[file]));
    const QString output = work.filePath(u"Cropped.mp4"_s);
    app.cropTo(output);
    QMessageBox *alert = app.waitForCropEnd();
    QVERIFY(alert);
    QCOMPARE(alert->text(), title);
    const QString text = alert->informativeText();
    QVERIFY2(said.isEmpty() ? text.count(u'\n') == 2 : text.contains(said), qPrintable(text));
    // Every alert closes from the keyboard.
    QTest::keyClick(alert, file.size() % 2 ? Qt::Key_Escape : Qt::Key_Return);
    QTRY_VERIFY(!app.window()->findChild<QMessageBox *>());

    for (qsizetype i = 0; i + 1 < kept.size(); i += 2)
        QCOMPARE(probed(output, kept[i].split(u' ')), kept[i + 1]);
    if (file == u"interlaced") {
        const auto [inputCombed, inputAll] = combedFrames(m_files[file]);
        QVERIFY2(inputCombed * 2 > inputAll, qPrintable(u"%1 of %2"_s.arg(inputCombed).arg(inputAll)));
        const auto [combed, all] = combedFrames(output);
        QVERIFY2(combed * 10 < all, qPrintable(u"%1 of %2 combed"_s.arg(combed).arg(all)));
    }
}

void TestOutput::videoInfoFollows()
{
    // Left open, Video Info follows each file opened, and says what the picture is.
    QTemporaryDir work;
    AppDriver app(work.path());
    QVERIFY(app.open(m_files[u"turned"_s]));
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
        { "turned", "Turned 270° clockwise for showing", 0 },
        { "variable rate", "Picture: 320 x 240, variable frame rate, about 20.339 a second", 0 },
        { "interlaced", "Interlaced, top field first", 0 },
        { "two video streams", "Picture: 640 x 360 at 25 frames a second", 0 },
    };
    for (const auto &[file, line, croppedRow] : files) {
        if (qstrcmp(file, "turned") != 0)
            QVERIFY(app.open(m_files[QString::fromLatin1(file)]));
        QVERIFY(info->isVisible());
        QVERIFY2(summary->text().contains(QString::fromUtf8(line)), qPrintable(summary->text()));
        QVERIFY(summary->text().startsWith(QFileInfo(m_files[QString::fromLatin1(file)]).fileName()));
        QVERIFY(tracks->item(croppedRow, 1)->text().endsWith(u"(cropped)"_s));
    }
    QCOMPARE(tracks->rowCount(), 2);
    QCOMPARE(tracks->item(1, 1)->text(), u"Video"_s);
}

void TestOutput::rememberedAcrossLaunches()
{
    // The window where the user left it, the recording date setting, the folder of the last video.
    QTemporaryDir work;
    {
        AppDriver first(work.path());
        first.window()->resize(700, 560);
        first.window()->findChild<QAction *>(u"keepRecordingDateBTN"_s)->setChecked(false);
        QVERIFY(first.open(m_files[u"turned"_s]));
        first.delegate().applicationWillTerminate();
    }
    AppDriver second(work.path());
    QCOMPARE(second.window()->size(), QSize(700, 560));
    QVERIFY(!second.window()->findChild<QAction *>(u"keepRecordingDateBTN"_s)->isChecked());
    QTest::keyClick(second.window(), Qt::Key_O, Qt::ControlModifier);
    auto *panel = second.window()->findChild<QFileDialog *>();
    QTRY_VERIFY(panel);
    QCOMPARE(panel->directory().absolutePath(), QFileInfo(m_files[u"turned"_s]).absolutePath());
    panel->reject();
}

QTEST_MAIN(TestOutput)
#include "tst_output.moc"
