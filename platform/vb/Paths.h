#pragma once

#include <QString>

namespace vb {

// The program joins paths with "\"; the platform opens them with "/".
QString nativePath(const QString& path);

} // namespace vb
