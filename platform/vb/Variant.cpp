#include "vb/Variant.h"

#include "vb/Conversions.h"
#include "vb/Failure.h"

namespace vb {

Variant Variant::null()
{
    Variant v;
    v.value_ = NullTag{};
    return v;
}

Variant::Type Variant::type() const
{
    return static_cast<Type>(value_.index());
}

QString Variant::toString() const
{
    switch (type()) {
    case Type::Empty: return QString();
    case Type::Null: raise(err::InvalidUseOfNull);
    case Type::Boolean: return std::get<bool>(value_) ? QStringLiteral("True") : QStringLiteral("False");
    case Type::Long: return QString::number(std::get<std::int64_t>(value_));
    case Type::Double: return doubleText(std::get<double>(value_));
    case Type::String: return std::get<QString>(value_);
    }
    return QString();
}

QString Variant::toStringOrEmpty() const
{
    return isNull() ? QString() : toString();
}

double Variant::toDouble() const
{
    switch (type()) {
    case Type::Empty: return 0.0;
    case Type::Null: raise(err::InvalidUseOfNull);
    case Type::Boolean: return std::get<bool>(value_) ? -1.0 : 0.0;
    case Type::Long: return static_cast<double>(std::get<std::int64_t>(value_));
    case Type::Double: return std::get<double>(value_);
    case Type::String: return textToDouble(std::get<QString>(value_));
    }
    return 0.0;
}

std::int64_t Variant::toInt64() const
{
    switch (type()) {
    case Type::Boolean: return std::get<bool>(value_) ? -1 : 0;
    case Type::Long: return std::get<std::int64_t>(value_);
    default: raise(err::TypeMismatch);
    }
}

} // namespace vb
