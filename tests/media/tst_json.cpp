#include "media/JSON.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestJSON : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void readings_data();
    void readings();
    void equality_data();
    void equality();
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
        { "index": 0, "codec_name": null, "width": 1920, "height": "1080",
          "channels": true, "tags": { "rotate": "90" } }
    ],
    "format": { "duration": "123.456000", "bit_rate": "N/A", "size": 9007199254740993,
                "ratio": 1.5, "negative": "-7.9", "huge": "1e999" }
})";

} // namespace

void TestJSON::readings_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("errorCode"); // 0: no error
    QTest::addColumn<QString>("text");
    QTest::addColumn<qint64>("integer");
    QTest::addColumn<double>("real");
    QTest::addColumn<bool>("hasOptionalInteger");

    const int number = int(JSON::Type::Number), string = int(JSON::Type::String), boolean = int(JSON::Type::Bool),
              array = int(JSON::Type::Array), null = int(JSON::Type::Null);

    QTest::newRow("array") << u"streams"_s << array << 0 << u""_s << qint64(0) << 0.0 << false;
    QTest::newRow("index as text") << u"streams/0/index"_s << number << 0 << u"0"_s << qint64(0) << 0.0 << true;
    QTest::newRow("number") << u"streams/0/width"_s << number << 0 << u"1920"_s << qint64(1920) << 1920.0 << true;
    // A number written as a JSON text reads as a number but has no optional integer.
    QTest::newRow("number as text") << u"streams/0/height"_s << string << 0 << u"1080"_s << qint64(1080) << 1080.0
                                    << false;
    QTest::newRow("true") << u"streams/0/channels"_s << boolean << 0 << u"true"_s << qint64(1) << 1.0 << true;
    QTest::newRow("null member") << u"streams/0/codec_name"_s << null << 0 << u""_s << qint64(0) << 0.0 << false;
    QTest::newRow("rotate text") << u"streams/0/tags/rotate"_s << string << 0 << u"90"_s << qint64(90) << 90.0 << false;
    QTest::newRow("decimal text") << u"format/duration"_s << string << 0 << u"123.456000"_s << qint64(123) << 123.456
                                  << false;
    QTest::newRow("N/A") << u"format/bit_rate"_s << string << 0 << u"N/A"_s << qint64(0) << 0.0 << false;
    QTest::newRow("exact large integer") << u"format/size"_s << number << 0 << u"9007199254740993"_s
                                         << qint64(9007199254740993) << 9007199254740992.0 << true;
    QTest::newRow("truncated toward zero") << u"format/negative"_s << string << 0 << u"-7.9"_s << qint64(-7) << -7.9
                                           << false;
    QTest::newRow("overflowing text saturates") << u"format/huge"_s << string << 0 << u"1e999"_s
                                                << std::numeric_limits<qint64>::max()
                                                << std::numeric_limits<double>::infinity() << false;
    QTest::newRow("missing key") << u"format/title"_s << null << 500 << u""_s << qint64(0) << 0.0 << false;
    QTest::newRow("missing key travels") << u"nothing/tags/title/0"_s << null << 500 << u""_s << qint64(0) << 0.0
                                         << false;
    QTest::newRow("index out of bounds") << u"streams/5"_s << null << 900 << u""_s << qint64(0) << 0.0 << false;
    QTest::newRow("key into text") << u"format/duration/x"_s << null << 901 << u""_s << qint64(0) << 0.0 << false;
    QTest::newRow("index into dictionary") << u"format/0"_s << null << 901 << u""_s << qint64(0) << 0.0 << false;
}

void TestJSON::readings()
{
    QFETCH(QString, path);
    QFETCH(int, type);
    QFETCH(int, errorCode);
    QFETCH(QString, text);
    QFETCH(qint64, integer);
    QFETCH(double, real);
    QFETCH(bool, hasOptionalInteger);

    const JSON value = parse(report)[pathOf(path)];
    QCOMPARE(int(value.type()), type);
    QCOMPARE(value.error() ? JSONErrors::code(*value.error()) : 0, errorCode);
    QCOMPARE(value.exists(), errorCode == 0);
    QCOMPARE(value.asText(), text);
    QCOMPARE(value.asInteger(), integer);
    QCOMPARE(value.asDouble(), real);
    QCOMPARE(value.asOptionalInteger().has_value(), hasOptionalInteger);
    if (hasOptionalInteger)
        QCOMPARE(*value.asOptionalInteger(), integer);
    QCOMPARE(value.asDictionary().has_value(), type == int(JSON::Type::Dictionary));
}

void TestJSON::equality_data()
{
    QTest::addColumn<QString>("left");
    QTest::addColumn<QString>("right");
    QTest::addColumn<bool>("equal");

    QTest::newRow("text and same text") << u"a"_s << u"'90"_s << true;
    QTest::newRow("text is case-sensitive") << u"a"_s << u"'9O"_s << false;
    QTest::newRow("number never equals text") << u"n"_s << u"'90"_s << false;
    QTest::newRow("integer and double") << u"n"_s << u"m"_s << true;
    QTest::newRow("true and 1 differ") << u"t"_s << u"one"_s << false;
    QTest::newRow("null member is null") << u"z"_s << u"null"_s << true;
    QTest::newRow("missing member is null") << u"missing"_s << u"null"_s << true;
    QTest::newRow("missing and null member") << u"missing"_s << u"z"_s << true;
    QTest::newRow("lists") << u"l"_s << u"l2"_s << true;
}

void TestJSON::equality()
{
    QFETCH(QString, left);
    QFETCH(QString, right);
    QFETCH(bool, equal);

    const JSON doc = parse(R"({"a": "90", "n": 90, "m": 90.0, "t": true, "f": false, "one": 1, "z": null,
                               "l": [1, "x"], "l2": [1, "x"], "d": {"k": 1}, "d2": {"k": 1}})");
    // 'text: a value made from the text; null: a value made from null; else a member.
    const auto valueOf = [&](const QString &name) {
        if (name.startsWith(u'\''))
            return JSON(name.mid(1));
        if (name == u"null")
            return JSON(nullptr);
        return doc[name];
    };
    QCOMPARE(valueOf(left) == valueOf(right), equal);
    QCOMPARE(valueOf(right) == valueOf(left), equal);
}

void TestJSON::construction_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<bool>("parses");

    QTest::newRow("empty") << QByteArray() << false;
    QTest::newRow("bare number") << QByteArray("5") << false;
    QTest::newRow("bare text") << QByteArray("\"x\"") << false;
    QTest::newRow("truncated") << QByteArray(R"({"streams": [)") << false;
    QTest::newRow("trailing garbage") << QByteArray("{}x") << false;
    QTest::newRow("object") << QByteArray(R"({"a": 1})") << true;
    QTest::newRow("array") << QByteArray("[1, 2]") << true;
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
