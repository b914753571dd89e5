#pragma once

#include <QJsonValue>
#include <QList>
#include <QString>
#include <QVariantMap>

#include <optional>
#include <variant>

// Why a subscript produced a null value. The raw values are the error codes.
enum class JSONError {
    unsupportedType = 999,
    indexOutOfBounds = 900,
    elementTooDeep = 902,
    wrongType = 901,
    notExist = 500,
    invalidJSON = 490,
};

namespace JSONErrors {
inline constexpr char domain[] = "app.tessaly.JSON";
int code(JSONError error);
QString description(JSONError error);
std::optional<JSONError> fromCode(int code);
} // namespace JSONErrors

// One step of a path: an index into an array or a key into a dictionary.
class JSONKey
{
public:
    JSONKey(int index) : m_key(qsizetype(index)) { }
    JSONKey(qsizetype index) : m_key(index) { }
    JSONKey(const QString &key) : m_key(key) { }
    JSONKey(const char *key) : m_key(QString::fromUtf8(key)) { }

    const std::variant<qsizetype, QString> &key() const { return m_key; }

private:
    std::variant<qsizetype, QString> m_key;
};

// A forgiving, read-only view of a parsed JSON value: a missing member, a
// wrong kind or an index out of range never fails, it yields a null value that
// carries the reason, and the typed readings of a null value give defaults.
class JSON
{
public:
    // The kinds, with their raw values.
    enum class Type { Number = 0, String = 1, Bool = 2, Array = 3, Dictionary = 4, Null = 5, Unknown = 6 };

    JSON() = default;
    explicit JSON(const QJsonValue &value);
    explicit JSON(const QString &text);
    explicit JSON(std::nullptr_t);

    // A JSON text parsed strictly; nothing when the bytes are not one complete
    // text with an object or array at the top (the reason goes to errorText).
    static std::optional<JSON> fromData(const QByteArray &data, QString *errorText = nullptr);

    Type type() const { return m_type; }
    std::optional<JSONError> error() const { return m_error; }
    bool exists() const { return !m_error.has_value(); }
    // Shorthands for equality with a value made from a text or from null.
    bool isText(QStringView text) const { return m_type == Type::String && m_value.toString() == text; }
    bool isNull() const { return m_type == Type::Null; }

    JSON operator[](const QString &key) const;
    JSON operator[](const char *key) const { return (*this)[QString::fromUtf8(key)]; }
    JSON operator[](qsizetype index) const;
    JSON operator[](int index) const { return (*this)[qsizetype(index)]; }
    JSON operator[](const QList<JSONKey> &path) const;

    qsizetype elementCount() const;

    QString asText() const;
    double asNumber() const;
    qint64 asInteger() const;
    double asDouble() const { return asNumber(); }
    std::optional<qint64> asOptionalInteger() const;
    std::optional<QVariantMap> asDictionary() const;

    bool operator==(const JSON &other) const;
    bool operator!=(const JSON &other) const { return !(*this == other); }

private:
    static JSON failure(JSONError error);

    QJsonValue m_value;
    Type m_type = Type::Null;
    std::optional<JSONError> m_error;
};
