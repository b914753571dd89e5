#include "support/Fixtures.h"
#include "util/ChildProcess.h"
#include "util/TimeText.h"

#include <QProcess>
#include <QTest>

#include <cstdio>

using namespace Qt::StringLiterals;

// Times as typed, and how every tool is started: with nothing to read, and never outliving Tessaly.
class TestUtils : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void trimTimes_data();
    void trimTimes();
    void readsNothing();
    void endsWithItsParent();
};

void TestUtils::trimTimes_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<double>("seconds"); // -1: no time
    QTest::addColumn<QString>("shown");

    QTest::newRow("as shown") << u"01:02:03.450"_s << 3723.45 << u"01:02:03.450"_s;
    QTest::newRow("minutes and seconds") << u"1:15.5"_s << 75.5 << u"00:01:15.500"_s;
    QTest::newRow("sixty minutes") << u"1:60:00"_s << -1.0 << QString();
    QTest::newRow("decimal comma") << u"00:00:05,5"_s << -1.0 << QString();
    QTest::newRow("negative") << u"-5"_s << -1.0 << QString();
}

void TestUtils::trimTimes()
{
    QFETCH(QString, typed);
    QFETCH(double, seconds);
    QFETCH(QString, shown);
    const auto parsed = TimeText::parse(typed);
    QCOMPARE(parsed.value_or(-1), seconds);
    if (parsed)
        QCOMPARE(TimeText::format(*parsed), shown);
}

void TestUtils::readsNothing()
{
    // A tool that reads its input ends at once instead of waiting on a terminal.
    QProcess tool;
    prepareChildProcess(tool);
    tool.start(u"cat"_s, {});
    QVERIFY(tool.waitForFinished(5000));
    QCOMPARE(tool.readAllStandardOutput(), QByteArray());
}

void TestUtils::endsWithItsParent()
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
    TestUtils test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_utils.moc"
