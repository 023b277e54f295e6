#include "vb/Conversions.h"

#include "vb/Failure.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

namespace vb {

double roundHalfEven(double value)
{
    // The default floating-point rounding mode is round-to-nearest-even.
    return std::nearbyint(value);
}

std::int16_t toInteger(double value)
{
    if (std::isnan(value))
        raise(err::Overflow);
    const double r = roundHalfEven(value);
    if (r < -32768.0 || r > 32767.0)
        raise(err::Overflow);
    return static_cast<std::int16_t>(r);
}

std::int32_t toLong(double value)
{
    if (std::isnan(value))
        raise(err::Overflow);
    const double r = roundHalfEven(value);
    if (r < -2147483648.0 || r > 2147483647.0)
        raise(err::Overflow);
    return static_cast<std::int32_t>(r);
}

namespace {

QString numberText(double value, int precision)
{
    if (value == 0.0 || std::isnan(value) || std::isinf(value))
        return value == 0.0 ? QStringLiteral("0") : QString::number(value);

    // to_chars is locale-independent, unlike printf: d.ddddde[+-]xx
    char buf[64];
    const auto res =
        std::to_chars(buf, buf + sizeof buf - 1, std::fabs(value), std::chars_format::scientific, precision - 1);
    *res.ptr = '\0';
    QString digits;
    const char* p = buf;
    for (; *p && *p != 'e'; ++p)
        if (*p != '.')
            digits += QLatin1Char(*p);
    const int exponent = std::atoi(p + 1);
    while (digits.size() > 1 && digits.endsWith(QLatin1Char('0')))
        digits.chop(1);
    const int k = digits.size();

    // Fixed notation is used while it needs no more digit places than the
    // precision: the integer digits, or the leading zeros plus the digits.
    const bool fixed = exponent >= 0 ? exponent + 1 <= precision : (-exponent - 1) + k <= precision;
    QString out = value < 0 ? QStringLiteral("-") : QString();
    if (fixed) {
        if (exponent >= 0) {
            const int intDigits = exponent + 1;
            if (k <= intDigits) {
                out += digits + QString(intDigits - k, QLatin1Char('0'));
            } else {
                out += digits.left(intDigits) + QLatin1Char('.') + digits.mid(intDigits);
            }
        } else {
            out += QStringLiteral("0.") + QString(-exponent - 1, QLatin1Char('0')) + digits;
        }
        return out;
    }
    out += digits.left(1);
    if (k > 1)
        out += QLatin1Char('.') + digits.mid(1);
    out += exponent < 0 ? QStringLiteral("E-") : QStringLiteral("E+");
    out += QString::number(std::abs(exponent)).rightJustified(2, QLatin1Char('0'));
    return out;
}

} // namespace

QString singleText(float value)
{
    return numberText(static_cast<double>(value), 7);
}

QString doubleText(double value)
{
    return numberText(value, 15);
}

double textToDouble(const QString& text)
{
    const QString t = text.trimmed();
    // A strict decimal grammar: [sign] digits [. digits] [E [sign] digits],
    // with at least one digit in the mantissa.
    int i = 0;
    const int n = t.size();
    auto digitsAt = [&](int& pos) {
        const int start = pos;
        while (pos < n && t[pos].isDigit() && t[pos].unicode() < 128)
            ++pos;
        return pos - start;
    };
    if (i < n && (t[i] == QLatin1Char('+') || t[i] == QLatin1Char('-')))
        ++i;
    int mantissa = digitsAt(i);
    if (i < n && t[i] == QLatin1Char('.')) {
        ++i;
        mantissa += digitsAt(i);
    }
    if (mantissa == 0)
        raise(err::TypeMismatch);
    if (i < n && (t[i] == QLatin1Char('e') || t[i] == QLatin1Char('E'))) {
        ++i;
        if (i < n && (t[i] == QLatin1Char('+') || t[i] == QLatin1Char('-')))
            ++i;
        if (digitsAt(i) == 0)
            raise(err::TypeMismatch);
    }
    if (i != n)
        raise(err::TypeMismatch);
    // from_chars ignores the locale and takes no leading '+'.
    QByteArray latin = t.toLatin1();
    const char* first = latin.constData();
    if (*first == '+')
        ++first;
    double v = 0;
    const auto res = std::from_chars(first, latin.constData() + latin.size(), v);
    if (res.ec == std::errc::result_out_of_range) {
        // Too small goes to zero; too large overflows.
        if (t.contains(QLatin1String("e-"), Qt::CaseInsensitive))
            return 0.0;
        raise(err::Overflow);
    }
    return v;
}

} // namespace vb
