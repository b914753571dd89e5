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
    void rotatedPhoneVideo();
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
    const QString dir = m_dir.path();
    Fixtures::Video rotated { 1920, 1080, 0.2 };
    rotated.rotate = 90;
    Fixtures::Video surround;
    surround.audioChannels = 6;
    Fixtures::Video withCover;
    withCover.cover = true;
    Fixtures::Video withSubtitle;
    withSubtitle.subtitle = true;
    m_files[u"landscape"_s] = Fixtures::makeVideo(dir, u"landscape.mp4"_s);
    m_files[u"rotated"_s] = Fixtures::makeVideo(dir, u"rotated.mp4"_s, rotated);
    m_files[u"six channels"_s] = Fixtures::makeVideo(dir, u"surround.mp4"_s, surround);
    m_files[u"cover"_s] = Fixtures::makeVideo(dir, u"cover.mp4"_s, withCover);
    m_files[u"subtitle"_s] = Fixtures::makeVideo(dir, u"subtitle.mp4"_s, withSubtitle);
    m_files[u"audio only"_s] = Fixtures::makeAudio(dir, u"audio.m4a"_s);
    m_files[u"m4a with cover"_s] = Fixtures::makeAudio(dir, u"song.m4a"_s, 2, true);

    const QString renamed = dir + u"/movie.txt"_s;
    QVERIFY(QFile::copy(m_files[u"landscape"_s], renamed));
    m_files[u"video named .txt"_s] = renamed;

    for (auto it = m_files.cbegin(); it != m_files.cend(); ++it)
        QVERIFY2(!it.value().isEmpty(), qPrintable(it.key()));
}

void TestFileProbe::realFiles_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<bool>("errors");
    QTest::addColumn<int>("streams");
    QTest::addColumn<bool>("video");
    QTest::addColumn<qint64>("width");
    QTest::addColumn<qint64>("height");
    QTest::addColumn<bool>("audio");
    QTest::addColumn<bool>("manyChannels");
    QTest::addColumn<bool>("subtitle");

    QTest::newRow("landscape") << u"landscape"_s << true << false << 2 << true << 320LL << 180LL << true << false << false;
    QTest::newRow("six channels") << u"six channels"_s << true << false << 2 << true << 320LL << 180LL << true << true
                                  << false;
    // The cover comes after the movie; it must not take over the frame size.
    QTest::newRow("cover") << u"cover"_s << true << false << 3 << true << 320LL << 180LL << true << false << false;
    QTest::newRow("subtitle") << u"subtitle"_s << true << false << 3 << true << 320LL << 180LL << true << false << true;
    QTest::newRow("audio only") << u"audio only"_s << true << false << 1 << false << 0LL << 0LL << true << false
                                << false;
    // Chapter art reads as a video stream with a real frame rate; attached_pic rules it out.
    QTest::newRow("m4a with cover") << u"m4a with cover"_s << true << false << 2 << false << 0LL << 0LL << true << false
                                    << false;
    QTest::newRow("video named .txt") << u"video named .txt"_s << false << false << 2 << false << 0LL << 0LL << false
                                      << false << false;
}

void TestFileProbe::realFiles()
{
    QFETCH(QString, file);
    QFETCH(bool, valid);
    QFETCH(bool, errors);
    QFETCH(int, streams);
    QFETCH(bool, video);
    QFETCH(qint64, width);
    QFETCH(qint64, height);
    QFETCH(bool, audio);
    QFETCH(bool, manyChannels);
    QFETCH(bool, subtitle);

    const QString path = m_files.value(file);
    const FileProbe probe(path);
    QCOMPARE(probe.isValidMediaFile(), valid);
    QCOMPARE(probe.hasErrors(), errors);
    QCOMPARE(probe.numberOfStreams(), streams);
    QCOMPARE(probe.hasVideoTrack(), video);
    QCOMPARE(probe.videoWidth().value_or(0), width);
    QCOMPARE(probe.videoHeight().value_or(0), height);
    QCOMPARE(probe.hasAudioTrack(), audio);
    QCOMPARE(probe.hasAudioTrackWhichHasMoreThanTwoChannels(), manyChannels);
    QCOMPARE(probe.hasSubtitleTrack(), subtitle);
    QVERIFY(!probe.isEncrypted());

    QCOMPARE(probe.fileFullPath(), std::optional(path));
    QCOMPARE(probe.fileFullURL(), std::optional(QUrl::fromLocalFile(path)));
    QCOMPARE(probe.fileSize(), std::optional(quint64(QFileInfo(path).size())));
    QVERIFY(probe.fileSizeHuman() && *probe.fileSizeHuman() != u"Unknown File Size"_s);
    QCOMPARE(probe.metadata().size(), valid ? 12 : 0);
    QCOMPARE(probe.tracksInfo().size(), valid ? streams : 0);
}

void TestFileProbe::rotatedPhoneVideo()
{
    const FileProbe probe(m_files[u"rotated"_s]);
    QCOMPARE(probe.videoWidth(), std::optional<qint64>(1080));
    QCOMPARE(probe.videoHeight(), std::optional<qint64>(1920));
    QCOMPARE(probe.videoRatio(), std::optional(0.5625));
    // The turn comes from the display matrix; there is no "rotate" tag to read.
    QCOMPARE(probe.tagRotateValue(), 0);
    QCOMPARE(probe.tracksInfo().first().value(u"trackSpecialInfo"_s).toString(), u"1080x1920"_s);
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
