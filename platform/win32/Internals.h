#pragma once

// The stand-ins' own state that the test support library (tests/support)
// fixes for a test: the program never includes this header.

#include <QRect>
#include <QString>
#include <set>
#include <utility>

namespace win32::internal {

// The work area SPI_GETWORKAREA reports; empty: the screens' own.
QRect& workAreaOverride();
// The entries taken out of their modules, as (module key, entry).
std::set<std::pair<QString, QString>>& withdrawnExports();
// A module's name as the table knows it: lower case, without ".dll".
QString moduleKey(QString name);
// The number of pens made and not yet deleted.
int livePens();

} // namespace win32::internal
