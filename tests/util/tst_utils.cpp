#include "support/Fixtures.h"
#include "util/Utils.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestUtils : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void matchesForRegex_data();
    void matchesForRegex();
    void invalidPatternWritesOneLine();
    void secondsFromTimeString_data();
    void secondsFromTimeString();
};

static const QString timePattern = u"([0-9][0-9]):([0-9][0-9]):([0-9][0-9]).([0-9][0-9])"_s;

void TestUtils::matchesForRegex_data()
{
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("matches");

    QTest::newRow("no match") << timePattern << u"frame=1 fps=0.0"_s << QStringList();
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

    QTest::newRow("zero") << u"00:00:00.00"_s << 0.0;
    QTest::newRow("largest") << u"99:59:59.99"_s << 359999.99;
    QTest::newRow("minute and a half second") << u"00:01:00.50"_s << 60.5;
    QTest::newRow("evaluation order") << u"01:02:03.45"_s << 3600 + (120 + (0.45 + 3));
    // The hundredths piece is divided by 100 whatever its length.
    QTest::newRow("one hundredths digit") << u"00:00:05.5"_s << 5.05;
    QTest::newRow("missing piece") << u"00:05.00"_s << 0.0;
    QTest::newRow("not numbers") << u"aa:bb:cc.dd"_s << 0.0;
    QTest::newRow("no dot") << u"00:00:05,20"_s << 0.0;
    QTest::newRow("leading blank") << u" 1:00:00.00"_s << 0.0;
}

void TestUtils::secondsFromTimeString()
{
    QFETCH(QString, text);
    QFETCH(double, seconds);
    QCOMPARE(Utils::secondsFromTimeString(text), seconds);
}

QTEST_GUILESS_MAIN(TestUtils)
#include "tst_utils.moc"
