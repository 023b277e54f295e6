#include "vb/Failure.h"

namespace vb {

namespace {
QString standardDescription(long number)
{
    switch (number) {
    case err::InvalidCall: return QStringLiteral("Invalid procedure call or argument");
    case err::Overflow: return QStringLiteral("Overflow");
    case err::SubscriptOutOfRange: return QStringLiteral("Subscript out of range");
    case err::DivisionByZero: return QStringLiteral("Division by zero");
    case err::TypeMismatch: return QStringLiteral("Type mismatch");
    case err::FileNotFound: return QStringLiteral("File not found");
    case err::ObjectNotSet: return QStringLiteral("Object variable or With block variable not set");
    case err::InvalidUseOfNull: return QStringLiteral("Invalid use of Null");
    case err::NoSuchElement: return QStringLiteral("Control array element does not exist");
    case err::AlreadyLoaded: return QStringLiteral("Object already loaded");
    case err::InvalidPropertyValue: return QStringLiteral("Invalid property value");
    case err::NoSuchProperty: return QStringLiteral("Object doesn't support this property or method");
    case err::InvalidPicture: return QStringLiteral("Invalid picture");
    default: return QStringLiteral("Application-defined or object-defined error");
    }
}
} // namespace

Failure::Failure(long number, QString description)
    : number_(number)
    , description_(std::move(description))
    , what_(QString::number(number).toStdString() + ": " + description_.toStdString())
{
}

void raise(long number)
{
    throw Failure(number, standardDescription(number));
}

void raise(long number, const QString& description)
{
    throw Failure(number, description);
}

} // namespace vb
