#pragma once

#include <QByteArray>
#include <QString>

namespace vb {

// Text as code page 936 (GBK) bytes: the form the 8-bit captions and text
// drawing calls take. A Chinese character is two bytes, ASCII one; a
// character that code page 936 cannot hold becomes "?".
QByteArray toAnsi(const QString& text);
// Bytes of code page 936 as text; a byte sequence that is not valid there
// becomes "?".
QString fromAnsi(const QByteArray& bytes);
// The length of a text in code page 936 bytes.
int lenB(const QString& text);

} // namespace vb
