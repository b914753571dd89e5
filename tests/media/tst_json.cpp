#include "media/JSON.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestJSON : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void readings_data();
    void readings();
    void construction_data();
    void construction();
};

namespace {

// "streams/0/tags" as a path of keys and indices.
QList<JSONKey> pathOf(const QString &text)
{
    QList<JSONKey> path;
    for (const QString &step : text.split(u'/', Qt::SkipEmptyParts)) {
        bool isIndex = false;
        const int index = step.toInt(&isIndex);
        path.append(isIndex ? JSONKey(index) : JSONKey(step));
    }
    return path;
}

JSON parse(const char *text)
{
    const auto value = JSON::fromData(QByteArray(text));
    return value.value_or(JSON());
}

const char report[] = R"({
    "streams": [
        { "width": 1920, "height": "1080", "channels": true }
    ],
    "format": { "duration": "123.456000", "negative": "-7.9", "huge": "1e999" }
})";

} // namespace

void TestJSON::readings_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("type");
    QTest::addColumn<bool>("exists");
    QTest::addColumn<QString>("text");
    QTest::addColumn<qint64>("integer");
    QTest::addColumn<double>("real");
    QTest::addColumn<bool>("hasOptionalInteger");

    const int number = int(JSON::Type::Number), string = int(JSON::Type::String), boolean = int(JSON::Type::Bool),
              null = int(JSON::Type::Null);

    QTest::newRow("number") << u"streams/0/width"_s << number << true << u"1920"_s << qint64(1920) << 1920.0 << true;
    // A number written as a JSON text reads as a number but has no optional integer.
    QTest::newRow("number as text") << u"streams/0/height"_s << string << true << u"1080"_s << qint64(1080) << 1080.0
                                    << false;
    QTest::newRow("true") << u"streams/0/channels"_s << boolean << true << u"true"_s << qint64(1) << 1.0 << true;
    QTest::newRow("decimal text") << u"format/duration"_s << string << true << u"123.456000"_s << qint64(123) << 123.456
                                  << false;
    QTest::newRow("truncated toward zero") << u"format/negative"_s << string << true << u"-7.9"_s << qint64(-7) << -7.9
                                           << false;
    QTest::newRow("overflowing text saturates") << u"format/huge"_s << string << true << u"1e999"_s
                                                << std::numeric_limits<qint64>::max()
                                                << std::numeric_limits<double>::infinity() << false;
    QTest::newRow("missing key") << u"format/title"_s << null << false << u""_s << qint64(0) << 0.0 << false;
    QTest::newRow("index out of bounds") << u"streams/5"_s << null << false << u""_s << qint64(0) << 0.0 << false;
    QTest::newRow("key into text") << u"format/duration/x"_s << null << false << u""_s << qint64(0) << 0.0 << false;
}

void TestJSON::readings()
{
    QFETCH(QString, path);
    QFETCH(int, type);
    QFETCH(bool, exists);
    QFETCH(QString, text);
    QFETCH(qint64, integer);
    QFETCH(double, real);
    QFETCH(bool, hasOptionalInteger);

    const JSON value = parse(report)[pathOf(path)];
    QCOMPARE(int(value.type()), type);
    QCOMPARE(value.exists(), exists);
    QCOMPARE(value.asText(), text);
    QCOMPARE(value.asInteger(), integer);
    QCOMPARE(value.asDouble(), real);
    QCOMPARE(value.asOptionalInteger().has_value(), hasOptionalInteger);
    if (hasOptionalInteger)
        QCOMPARE(*value.asOptionalInteger(), integer);
    QCOMPARE(value.asDictionary().has_value(), type == int(JSON::Type::Dictionary));
}

void TestJSON::construction_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<bool>("parses");

    QTest::newRow("empty") << QByteArray() << false;
    QTest::newRow("bare number") << QByteArray("5") << false;
    QTest::newRow("trailing garbage") << QByteArray("{}x") << false;
    QTest::newRow("object") << QByteArray(R"({"a": 1})") << true;
}

void TestJSON::construction()
{
    QFETCH(QByteArray, data);
    QFETCH(bool, parses);

    QString errorText;
    const auto value = JSON::fromData(data, &errorText);
    QCOMPARE(value.has_value(), parses);
    QCOMPARE(errorText.isEmpty(), parses);
}

QTEST_GUILESS_MAIN(TestJSON)
#include "tst_json.moc"
