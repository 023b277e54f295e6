#pragma once

#include <QString>
#include <cstdint>
#include <variant>

namespace vb {

// The runtime's Variant as far as the program uses it: Empty, Null, a
// Boolean, a whole number, a floating number or a text.
class Variant {
public:
    enum class Type { Empty, Null, Boolean, Long, Double, String };

    Variant() = default;
    Variant(bool b) : value_(b) {}
    Variant(int v) : value_(static_cast<std::int64_t>(v)) {}
    Variant(std::int64_t v) : value_(v) {}
    Variant(double v) : value_(v) {}
    Variant(const QString& s) : value_(s) {}
    Variant(const char* s) : value_(QString::fromUtf8(s)) {}

    static Variant null();

    Type type() const;
    bool isNull() const { return type() == Type::Null; }
    bool isEmpty() const { return type() == Type::Empty; }

    // CStr: Null fails with Invalid use of Null (94); Empty is "".
    QString toString() const;
    // CDbl: texts are converted as the runtime does; failures as it has them.
    double toDouble() const;
    // A whole number exactly, all 64 bits of it: a Long as it is, a Boolean
    // as -1 or 0; any other value fails with Type mismatch (13).
    std::int64_t toInt64() const;
    // Null and Empty give the empty text, as `& ""` would.
    QString toStringOrEmpty() const;

    bool operator==(const Variant& other) const { return value_ == other.value_; }

private:
    struct NullTag {
        bool operator==(const NullTag&) const { return true; }
    };
    std::variant<std::monostate, NullTag, bool, std::int64_t, double, QString> value_;
};

} // namespace vb
