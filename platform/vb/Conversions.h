#pragma once

#include <QString>
#include <cstdint>

namespace vb {

// Nearest integer, a half going to the even neighbour (2.5 -> 2, 3.5 -> 4).
double roundHalfEven(double value);

// CInt and CLng: half-to-even rounding, failing with Overflow (6) outside
// the 16- or 32-bit range.
std::int16_t toInteger(double value);
std::int32_t toLong(double value);

// The runtime's text of a number: up to 7 (single) or 15 (double)
// significant digits, E notation where the fixed form would need more digit
// places than that ("0.7055475", "1.401764E-02", "1E+07"). The decimal
// separator is always a full stop, whatever the user's number format.
QString singleText(float value);
QString doubleText(double value);

// Text to number as the runtime converts it implicitly: blanks around a
// decimal number with optional sign, fraction and exponent. Anything else
// fails with Type mismatch (13).
double textToDouble(const QString& text);

} // namespace vb
