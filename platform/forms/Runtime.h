#pragma once

#include <QColor>
#include <QFont>
#include <QString>
#include <functional>

class QWidget;

namespace forms {

// Twips per pixel of the screen (15 at 96 logical dpi).
float twipsPerPixelX();
float twipsPerPixelY();
int toPixelsX(float twips);
int toPixelsY(float twips);
float toTwipsX(int pixels);
float toTwipsY(int pixels);

// A surface drawn in whole pixels (a user control's, the frame's) counts in
// pixels of n x n device pixels, n the device pixel ratio rounded down (at
// least 1), so that what it draws one pixel wide shows whole.
int wholePixelScale(qreal dpr);
// Twips per such pixel on the screen: the twips per pixel above times
// n / ratio. It is what the system reports for a screen of that resolution
// (10 at 150 %, 12 at 125 %, 15 at 100 % and at 200 %), and what every
// length the frame measures in its pixels converts with.
float twipsPerWholePixelX();
float twipsPerWholePixelY();
// The device pixel ratio those pixels are counted at: the primary screen's.
qreal wholePixelRatio();

// A colour as the program writes it, &H00BBGGRR, or a system colour
// (&H80000000 + index) taken from the palette. Invalid values fail (5).
QColor toQColor(long colour);
long fromQColor(const QColor& colour);

// System colours the program names.
constexpr long ButtonFace = static_cast<long>(0x8000000F);
constexpr long WindowBackground = static_cast<long>(0x80000005);
constexpr long WindowText = static_cast<long>(0x80000008);

// A font by the name and point size the program gives; "Tahoma" and "宋体"
// stand for installed fonts (see installFontSubstitutes).
QFont font(const QString& family, double points, bool bold = false);
void installFontSubstitutes();
// Registers tahoma.ttf and tahomabd.ttf of `folder` with the application,
// the bold face so that it draws bold; false when neither could be.
bool registerTahoma(const QString& folder);

// The folder of the program's executable, without a final separator.
QString appPath();
// Tests put the program's folder elsewhere (empty: the executable's again).
void setAppPath(const QString& folder);

// Runs an event handler. A failure or any other exception that escapes it
// is written to standard error and the program goes on.
void raiseEvent(const std::function<void()>& handler);

} // namespace forms
