#include "crop/ScratchDirectory.h"
#include "support/Fixtures.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <filesystem>

using namespace Qt::StringLiterals;

class TestScratchDirectory : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void abandonedRootsAreRemoved();
};

void TestScratchDirectory::abandonedRootsAreRemoved()
{
    QTemporaryDir base;
    // A live instance's folder.
    ScratchDirectory live(base.path());
    QVERIFY(live.isValid());

    // A folder left by an instance that crashed: its lock names a process that is gone.
    QProcess gone;
    gone.start(u"true"_s);
    QVERIFY(gone.waitForFinished());
    const qint64 deadPid = gone.processId() ? gone.processId() : 999999;
    const QString dead = base.filePath(u"tessaly-dead01"_s);
    QVERIFY(QDir().mkdir(dead));
    Fixtures::writeFile(dead + u"/tessaly.lock"_s, QByteArray::number(deadPid) + "\ntst_scratchdirectory\n"
                                               + QSysInfo::machineHostName().toUtf8() + '\n');
    Fixtures::writeFile(dead + u"/out1.jpg"_s, "jpeg");
    // A user's own folder that only looks like ours, untouched for a while.
    const QString other = base.filePath(u"tessaly-notes"_s);
    QVERIFY(QDir().mkdir(other));
    Fixtures::writeFile(other + u"/notes.txt"_s, "mine");
    std::filesystem::last_write_time(QFileInfo(other).filesystemFilePath(),
                                     std::filesystem::file_time_type::clock::now() - std::chrono::hours(1));

    QString root;
    {
        ScratchDirectory next(base.path());
        QVERIFY(next.isValid());
        QVERIFY(!QFileInfo::exists(dead));
        QVERIFY(QFileInfo::exists(live.root()));
        QVERIFY(QFileInfo::exists(other + u"/notes.txt"_s));
        root = next.root();
        QVERIFY(root.startsWith(base.path() + u"/tessaly-"_s) && root != live.root());
        // Private to the user, and gone with the instance, pictures and all.
        QCOMPARE(QFileInfo(root).permissions() & (QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup
                                                  | QFile::ReadOther | QFile::WriteOther | QFile::ExeOther),
                 QFile::Permissions());
        QCOMPARE(next.framesDirectory(), root + u"/Images"_s);
        QVERIFY(QDir().mkdir(next.framesDirectory()));
        Fixtures::writeFile(next.framesDirectory() + u"/out6.jpg"_s, "jpeg");
    }
    QVERIFY(!QFileInfo::exists(root));
}

QTEST_GUILESS_MAIN(TestScratchDirectory)
#include "tst_scratchdirectory.moc"
