#include "Win32Support.h"

#include "win32/Internals.h"

namespace testsupport {

void setWorkAreaOverride(const QRect& area)
{
    win32::internal::workAreaOverride() = area;
}

void withdrawExport(const QString& module, const QString& entry, bool withdrawn)
{
    const std::pair<QString, QString> key{win32::internal::moduleKey(module), entry};
    if (withdrawn)
        win32::internal::withdrawnExports().insert(key);
    else
        win32::internal::withdrawnExports().erase(key);
}

int livePens()
{
    return win32::internal::livePens();
}

} // namespace testsupport
