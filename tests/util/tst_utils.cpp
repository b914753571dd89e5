#include "support/Fixtures.h"
#include "util/ChildProcess.h"
#include "util/StateFolder.h"
#include "util/TimeText.h"
#include "util/Utils.h"

#include <QDir>
#include <QProcess>
#include <QTest>

#include <cstdio>

using namespace Qt::StringLiterals;

// Text helpers, and how every tool is started: with nothing to read, and never outliving Tessaly.
class TestUtils : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void matchesForRegex_data();
    void matchesForRegex();
    void invalidPatternWritesOneLine();
    void secondsFromTimeString_data();
    void secondsFromTimeString();
    void trimTimes_data();
    void trimTimes();
    void readsNothing();
    void endsWithItsParent();
    void stateOutlivesABoot_data();
    void stateOutlivesABoot();
};

static const QString timePattern = u"([0-9][0-9]):([0-9][0-9]):([0-9][0-9]).([0-9][0-9])"_s;

void TestUtils::matchesForRegex_data()
{
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("matches");

    QTest::newRow("two stamps, in order")
        << timePattern << u"time=00:00:01.00 x time=00:00:02.00"_s
        << QStringList { u"00:00:01.00"_s, u"00:00:02.00"_s };
    // The whole match, not the first capture group.
    QTest::newRow("groups ignored") << timePattern << u"size= 1kB time=00:00:05.20 bitrate"_s
                                    << QStringList { u"00:00:05.20"_s };
    QTest::newRow("astral characters before")
        << timePattern << u"\U0001F3AC\U0001F3AC time=00:01:02.03"_s << QStringList { u"00:01:02.03"_s };
}

void TestUtils::matchesForRegex()
{
    QFETCH(QString, pattern);
    QFETCH(QString, text);
    QFETCH(QStringList, matches);
    QCOMPARE(Utils::matchesForRegex(pattern, text), matches);
}

void TestUtils::invalidPatternWritesOneLine()
{
    CapturedStdout out;
    QCOMPARE(Utils::matchesForRegex(u"(unbalanced"_s, u"(unbalanced"_s), QStringList());
    const QString written = out.text();
    QVERIFY2(written.startsWith(u"invalid regex: "_s), qPrintable(written));
    QCOMPARE(written.count(u'\n'), 1);
}

void TestUtils::secondsFromTimeString_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("seconds");

    QTest::newRow("largest") << u"99:59:59.99"_s << 359999.99;
    QTest::newRow("minute and a half second") << u"00:01:00.50"_s << 60.5;
    QTest::newRow("evaluation order") << u"01:02:03.45"_s << 3600 + (120 + (0.45 + 3));
    // The hundredths piece is divided by 100 whatever its length.
    QTest::newRow("one hundredths digit") << u"00:00:05.5"_s << 5.05;
    QTest::newRow("missing piece") << u"00:05.00"_s << 0.0;
    QTest::newRow("no dot") << u"00:00:05,20"_s << 0.0;
}

void TestUtils::secondsFromTimeString()
{
    QFETCH(QString, text);
    QFETCH(double, seconds);
    QCOMPARE(Utils::secondsFromTimeString(text), seconds);
}

void TestUtils::trimTimes_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<double>("seconds"); // -1: no time
    QTest::addColumn<QString>("shown");

    QTest::newRow("as shown") << u"01:02:03.450"_s << 3723.45 << u"01:02:03.450"_s;
    QTest::newRow("minutes and seconds") << u"1:15.5"_s << 75.5 << u"00:01:15.500"_s;
    QTest::newRow("seconds only, past a minute") << u" 75.5 "_s << 75.5 << u"00:01:15.500"_s;
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

void TestUtils::stateOutlivesABoot_data()
{
    QTest::addColumn<QByteArray>("xdgStateHome"); // empty: unset
    QTest::addColumn<QString>("expected");

    QTest::newRow("set") << QByteArray("/srv/state") << u"/srv/state/tessaly"_s;
    QTest::newRow("unset") << QByteArray() << QDir::homePath() + u"/.local/state/tessaly"_s;
    // The XDG rule: a relative path is ignored.
    QTest::newRow("relative") << QByteArray("state") << QDir::homePath() + u"/.local/state/tessaly"_s;
}

void TestUtils::stateOutlivesABoot()
{
    QFETCH(QByteArray, xdgStateHome);
    QFETCH(QString, expected);

    const QByteArray saved = qgetenv("XDG_STATE_HOME");
    if (xdgStateHome.isEmpty())
        qunsetenv("XDG_STATE_HOME");
    else
        qputenv("XDG_STATE_HOME", xdgStateHome);
    const QString folder = stateFolder();
    if (saved.isNull())
        qunsetenv("XDG_STATE_HOME");
    else
        qputenv("XDG_STATE_HOME", saved);
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    QCOMPARE(folder, expected);
#endif
    QVERIFY(!folder.startsWith(QDir::tempPath()));
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
