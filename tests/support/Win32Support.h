#pragma once

// What tests fix of the Windows API stand-ins.

#include <QRect>
#include <QString>

namespace testsupport {

// Fixes the work area that SPI_GETWORKAREA reports (an empty rectangle:
// the screens' own again).
void setWorkAreaOverride(const QRect& area);
// Takes an entry out of its module (and puts it back).
void withdrawExport(const QString& module, const QString& entry, bool withdrawn = true);
// The number of pens made and not yet deleted.
int livePens();

} // namespace testsupport
