#include "support/Fixtures.h"
#include "util/ChildProcess.h"

#include <QProcess>
#include <QTest>

#include <cstdio>

using namespace Qt::StringLiterals;

// How every tool is started: with nothing to read, and never outliving Tessaly.
class TestChildProcess : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void readsNothing();
    void endsWithItsParent();
};

void TestChildProcess::readsNothing()
{
    // A tool that reads its input ends at once instead of waiting on a terminal.
    QProcess tool;
    prepareChildProcess(tool);
    tool.start(u"cat"_s, {});
    QVERIFY(tool.waitForFinished(5000));
    QCOMPARE(tool.readAllStandardOutput(), QByteArray());
}

void TestChildProcess::endsWithItsParent()
{
    // A parent that starts a tool and is then killed outright, as Tessaly may be.
    QProcess parent;
    parent.start(QCoreApplication::applicationFilePath(), { u"--start-tool"_s });
    QVERIFY(parent.waitForReadyRead(10'000));
    const qint64 tool = parent.readLine().trimmed().toLongLong();
    QVERIFY(Fixtures::isRunning(tool));
    parent.kill();
    QVERIFY(parent.waitForFinished(5000));
    QTRY_VERIFY_WITH_TIMEOUT(!Fixtures::isRunning(tool), 5000);
}

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc == 2 && qstrcmp(argv[1], "--start-tool") == 0) {
        QProcess tool;
        prepareChildProcess(tool);
        tool.start(u"sleep"_s, { u"60"_s });
        tool.waitForStarted();
        std::printf("%lld\n", tool.processId());
        std::fflush(stdout);
        return tool.waitForFinished(-1) ? 0 : 1;
    }
    TestChildProcess test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_childprocess.moc"
