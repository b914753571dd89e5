#include "media/FileProbe.h"
#include "support/Fixtures.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace Qt::StringLiterals;

// FileProbe on real files made by ffmpeg, through the bundled ffprobe.
class TestFileProbe : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void realFiles_data();
    void realFiles();
    void missingFile();
    void notRegularFiles();
    void missingTool();

private:
    QTemporaryDir m_dir;
    QHash<QString, QString> m_files;
};

void TestFileProbe::initTestCase()
{
    QVERIFY(m_dir.isValid());
    Fixtures::Video rotated { 1920, 1080, 0.2 };
    rotated.rotate = 90;
    m_files[u"landscape"_s] = Fixtures::makeVideo(m_dir.path(), u"landscape.mp4"_s);
    m_files[u"rotated"_s] = Fixtures::makeVideo(m_dir.path(), u"rotated.mp4"_s, rotated);
    for (auto it = m_files.cbegin(); it != m_files.cend(); ++it)
        QVERIFY2(!it.value().isEmpty(), qPrintable(it.key()));
}

void TestFileProbe::realFiles_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QString>("detail"); // the video track's

    QTest::newRow("landscape") << u"landscape"_s << QSize(320, 180) << u"320x180"_s;
    // The turn comes from the display matrix, as phones write it; there is no "rotate" tag.
    QTest::newRow("rotated phone video") << u"rotated"_s << QSize(1080, 1920) << u"1080x1920"_s;
}

void TestFileProbe::realFiles()
{
    QFETCH(QString, file);
    QFETCH(QSize, size);
    QFETCH(QString, detail);

    const QString path = m_files.value(file);
    const FileProbe probe(path);
    QVERIFY(probe.isCroppableVideo());
    QCOMPARE(probe.numberOfStreams(), 2);
    QCOMPARE(QSize(probe.videoWidth().value_or(0), probe.videoHeight().value_or(0)), size);
    QCOMPARE(probe.tagRotateValue(), 0);
    QVERIFY(probe.hasAudioTrack());
    QVERIFY(!probe.hasAudioTrackWhichHasMoreThanTwoChannels());
    QCOMPARE(probe.tracksInfo().first().value(u"trackSpecialInfo"_s).toString(), detail);
    QCOMPARE(probe.metadata().size(), 12);

    QCOMPARE(probe.fileFullPath(), std::optional(path));
    QCOMPARE(probe.fileFullURL(), std::optional(QUrl::fromLocalFile(path)));
    QCOMPARE(probe.fileSize(), std::optional(quint64(QFileInfo(path).size())));
    QVERIFY(probe.fileSizeHuman() && probe.fileSizeHuman()->endsWith(u"kB"_s));
}

void TestFileProbe::missingFile()
{
    const QString path = m_dir.filePath(u"does-not-exist.mp4"_s);
    CapturedStdout out;
    const FileProbe probe(path);
    const QString written = out.text();
    QCOMPARE(written.count(u"Failed to get file attributes for local path: "_s + path + u" with error: "_s), 2);
    QCOMPARE(probe.fileSize(), std::optional<quint64>(0));
    QCOMPARE(probe.fileSizeHuman(), std::optional(u"Unknown File Size"_s));
    QVERIFY(probe.hasErrors());
    QVERIFY(!probe.isValidMediaFile());
}

void TestFileProbe::notRegularFiles()
{
    // A FIFO would block the tool forever; a folder is no video.
    const QString fifo = m_dir.filePath(u"pipe.mp4"_s);
    QCOMPARE(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    for (const QString &path : { fifo, m_dir.path() }) {
        const FileProbe probe(path);
        QVERIFY(!probe.isValidMediaFile());
        QVERIFY(!probe.hasVideoTrack());
        QCOMPARE(probe.fileFullPath(), std::optional(path));
    }
}

void TestFileProbe::missingTool()
{
    CapturedStdout out;
    const FileProbe probe(m_files[u"landscape"_s], m_dir.filePath(u"no-such-tool"_s));
    QVERIFY(!probe.isValidMediaFile());
    QVERIFY(!probe.hasErrors());
    QCOMPARE(out.text().count(u'\n'), 1);
    QCOMPARE(probe.fileSize(), std::optional(quint64(QFileInfo(m_files[u"landscape"_s]).size())));
}

QTEST_GUILESS_MAIN(TestFileProbe)
#include "tst_fileprobe.moc"
