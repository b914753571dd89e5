#include "AppSuite.h"

#include <QDialog>
#include <QFileDialog>
#include <QTableWidget>

using namespace Qt::StringLiterals;

// What a crop keeps of the input beyond the picture (frames, their times,
// the recording date, the stream chosen) and what its result alert says it
// changed, on ffmpeg-made files cropped in the real window.
class TestOutput : public AppSuite
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void keptAndSaid_data();
    void keptAndSaid();
    void videoInfoFollows();
    void rememberedAcrossLaunches();
};

void TestOutput::initTestCase()
{
    makeFiles({ u"variable rate"_s, u"interlaced"_s, u"5.1 sound"_s, u"dated and placed"_s, u"damaged end"_s,
                u"dual"_s, u"rotated"_s });
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
}

void TestOutput::keptAndSaid()
{
    QFETCH(QString, file);
    QFETCH(QString, title);
    QFETCH(QString, said);
    QFETCH(QStringList, kept);

    AppDriver app(m_work->path());
    QVERIFY(app.open(m_files[file]));
    const QString output = m_work->filePath(u"out/Cropped.mp4"_s);
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
        QCOMPARE(Fixtures::probed(output, kept[i].split(u' ')), kept[i + 1]);
}

void TestOutput::videoInfoFollows()
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

void TestOutput::rememberedAcrossLaunches()
{
    // The window where the user left it, the recording date setting, the folder of the last video.
    {
        AppDriver first(m_work->path());
        first.window()->resize(700, 560);
        first.window()->findChild<QAction *>(u"keepRecordingDateBTN"_s)->setChecked(false);
        QVERIFY(first.open(m_files[u"rotated"_s]));
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
}

QTEST_MAIN(TestOutput)
#include "tst_output.moc"
