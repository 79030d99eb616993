#include "RemoteImage/Utils/CachesDirectory.h"

#include "Diagnostics/Diagnostics.h"

#include <QStandardPaths>

#include <cstdlib>

namespace remoteimage {

QUrl appCachesDirectoryURL()
{
    const QString path = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    if (path.isEmpty()) {
        printLine(QStringLiteral("No caches directory for this user"));
        std::abort();
    }
    return QUrl::fromLocalFile(path + QLatin1Char('/'));
}

} // namespace remoteimage
