#include "JSON.h"

#include "util/Numbers.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>

#include <cctype>
#include <charconv>
#include <limits>

using namespace Qt::StringLiterals;

namespace JSONErrors {

int code(JSONError error)
{
    return static_cast<int>(error);
}

QString description(JSONError error)
{
    switch (error) {
    case JSONError::unsupportedType:
        return u"It is an unsupported type."_s;
    case JSONError::indexOutOfBounds:
        return u"Array Index is out of bounds."_s;
    case JSONError::elementTooDeep:
        return u"Element too deep. Increase maxObjectDepth and make sure there is no reference loop."_s;
    case JSONError::wrongType:
        return u"Couldn't merge, because the JSONs differ in type on top level."_s;
    case JSONError::notExist:
        return u"Dictionary key does not exist."_s;
    case JSONError::invalidJSON:
        return u"JSON is invalid."_s;
    }
    return {};
}

std::optional<JSONError> fromCode(int code)
{
    for (JSONError error : { JSONError::unsupportedType, JSONError::indexOutOfBounds,
                             JSONError::elementTooDeep, JSONError::wrongType,
                             JSONError::notExist, JSONError::invalidJSON }) {
        if (static_cast<int>(error) == code)
            return error;
    }
    return std::nullopt;
}

} // namespace JSONErrors

namespace {

// A decimal number over the whole text: sign, digits, fraction, exponent.
// Words such as "inf" or "N/A" are not numbers.
std::optional<double> parseDecimal(const QString &text)
{
    const QByteArray bytes = text.toLatin1();
    const char *begin = bytes.constData();
    const char *end = begin + bytes.size();
    bool negative = false;
    if (begin != end && (*begin == '+' || *begin == '-')) {
        negative = *begin == '-';
        ++begin;
    }
    if (begin == end || !(std::isdigit(static_cast<unsigned char>(*begin)) || *begin == '.'))
        return std::nullopt;
    double value = 0;
    const auto [stop, error] = std::from_chars(begin, end, value);
    if (stop != end || (error != std::errc() && error != std::errc::result_out_of_range))
        return std::nullopt;
    if (error == std::errc::result_out_of_range)
        value = std::numeric_limits<double>::infinity();
    return negative ? -value : value;
}

std::optional<qint64> parseInteger(const QString &text)
{
    bool ok = false;
    const qint64 value = text.toLongLong(&ok);
    if (!ok || text.trimmed() != text)
        return std::nullopt;
    return value;
}

bool holdsInteger(const QJsonValue &value)
{
    return value.toVariant().typeId() == QMetaType::LongLong;
}

} // namespace

JSON::JSON(const QJsonValue &value)
    : m_value(value)
{
    switch (value.type()) {
    case QJsonValue::Bool:
        m_type = Type::Bool;
        break;
    case QJsonValue::Double:
        m_type = Type::Number;
        break;
    case QJsonValue::String:
        m_type = Type::String;
        break;
    case QJsonValue::Array:
        m_type = Type::Array;
        break;
    case QJsonValue::Object:
        m_type = Type::Dictionary;
        break;
    case QJsonValue::Null:
    case QJsonValue::Undefined:
        m_type = Type::Null;
        m_value = QJsonValue(QJsonValue::Null);
        break;
    }
}

JSON::JSON(const QString &text)
    : JSON(QJsonValue(text))
{
}

JSON::JSON(std::nullptr_t)
    : JSON(QJsonValue(QJsonValue::Null))
{
}

std::optional<JSON> JSON::fromData(const QByteArray &data, QString *errorText)
{
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(data, &parseError);
    if (parseError.error != QJsonParseError::NoError || document.isNull()) {
        if (errorText)
            *errorText = parseError.errorString();
        return std::nullopt;
    }
    if (document.isArray())
        return JSON(QJsonValue(document.array()));
    return JSON(QJsonValue(document.object()));
}

JSON JSON::failure(JSONError error)
{
    JSON value;
    value.m_error = error;
    return value;
}

JSON JSON::operator[](const QString &key) const
{
    if (m_type == Type::Dictionary) {
        const QJsonObject object = m_value.toObject();
        const auto it = object.constFind(key);
        return it == object.constEnd() ? failure(JSONError::notExist) : JSON(it.value());
    }
    return failure(m_error.value_or(JSONError::wrongType));
}

JSON JSON::operator[](qsizetype index) const
{
    if (m_type == Type::Array) {
        const QJsonArray array = m_value.toArray();
        if (index < 0 || index >= array.size())
            return failure(JSONError::indexOutOfBounds);
        return JSON(array.at(index));
    }
    return failure(m_error.value_or(JSONError::wrongType));
}

JSON JSON::operator[](const QList<JSONKey> &path) const
{
    JSON value = *this;
    for (const JSONKey &step : path) {
        if (const auto *index = std::get_if<qsizetype>(&step.key()))
            value = value[*index];
        else
            value = value[std::get<QString>(step.key())];
    }
    return value;
}

qsizetype JSON::elementCount() const
{
    switch (m_type) {
    case Type::Array:
        return m_value.toArray().size();
    case Type::Dictionary:
        return m_value.toObject().size();
    default:
        return 0;
    }
}

QString JSON::asText() const
{
    switch (m_type) {
    case Type::String:
        return m_value.toString();
    case Type::Number:
        if (holdsInteger(m_value))
            return QString::number(m_value.toInteger());
        return QString::number(m_value.toDouble(), 'g', QLocale::FloatingPointShortest);
    case Type::Bool:
        return m_value.toBool() ? u"true"_s : u"false"_s;
    default:
        return {};
    }
}

double JSON::asNumber() const
{
    switch (m_type) {
    case Type::String:
        return parseDecimal(m_value.toString()).value_or(0.0);
    case Type::Number:
        return m_value.toDouble();
    case Type::Bool:
        return m_value.toBool() ? 1.0 : 0.0;
    default:
        return 0.0;
    }
}

qint64 JSON::asInteger() const
{
    switch (m_type) {
    case Type::String:
        // Integers written as text stay exact beyond double precision.
        if (const auto integer = parseInteger(m_value.toString()))
            return *integer;
        return saturatingTruncate(asNumber());
    case Type::Number:
        if (holdsInteger(m_value))
            return m_value.toInteger();
        return saturatingTruncate(m_value.toDouble());
    case Type::Bool:
        return m_value.toBool() ? 1 : 0;
    default:
        return 0;
    }
}

std::optional<qint64> JSON::asOptionalInteger() const
{
    if (m_type != Type::Number && m_type != Type::Bool)
        return std::nullopt;
    return asInteger();
}

std::optional<QVariantMap> JSON::asDictionary() const
{
    if (m_type != Type::Dictionary)
        return std::nullopt;
    return m_value.toObject().toVariantMap();
}

bool JSON::operator==(const JSON &other) const
{
    if (m_type != other.m_type)
        return false;
    switch (m_type) {
    case Type::Number:
        if (holdsInteger(m_value) && holdsInteger(other.m_value))
            return m_value.toInteger() == other.m_value.toInteger();
        return m_value.toDouble() == other.m_value.toDouble();
    case Type::String:
        return m_value.toString() == other.m_value.toString();
    case Type::Bool:
        return m_value.toBool() == other.m_value.toBool();
    case Type::Array:
        return m_value.toArray() == other.m_value.toArray();
    case Type::Dictionary:
        return m_value.toObject() == other.m_value.toObject();
    case Type::Null:
        return true;
    case Type::Unknown:
        return false;
    }
    return false;
}
