#pragma once

#include <QString>
#include <exception>
#include <string>

namespace vb {

// A runtime failure as the original runtime raises it: a number and a
// description. Every platform operation that fails throws one.
class Failure : public std::exception {
public:
    Failure(long number, QString description);

    long number() const noexcept { return number_; }
    const QString& description() const noexcept { return description_; }
    const char* what() const noexcept override { return what_.c_str(); }

private:
    long number_;
    QString description_;
    std::string what_;
};

// The runtime's own failure numbers.
namespace err {
constexpr long InvalidCall = 5;
constexpr long Overflow = 6;
constexpr long SubscriptOutOfRange = 9;
constexpr long DivisionByZero = 11;
constexpr long TypeMismatch = 13;
constexpr long FileNotFound = 53;
constexpr long ObjectNotSet = 91;
constexpr long InvalidUseOfNull = 94;
constexpr long NoSuchElement = 340;
constexpr long AlreadyLoaded = 360;
constexpr long InvalidPropertyValue = 380;
constexpr long NoSuchProperty = 438;
constexpr long InvalidPicture = 481;
} // namespace err

[[noreturn]] void raise(long number);
[[noreturn]] void raise(long number, const QString& description);

// "On Error Resume Next" for one step: runs it, and a failure only ends the
// step. Returns whether the step ran to its end.
template <class Step>
bool skipOnFailure(Step&& step)
{
    try {
        step();
        return true;
    } catch (const Failure&) {
        return false;
    }
}

} // namespace vb
