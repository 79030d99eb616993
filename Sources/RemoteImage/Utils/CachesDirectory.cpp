#include "RemoteImage/Utils/CachesDirectory.h"

#include "Diagnostics/Diagnostics.h"

#include <QCoreApplication>
#include <QStandardPaths>

#include <cstdlib>

namespace remoteimage {

QUrl appCachesDirectoryURL()
{
    const QString path = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    if (path.isEmpty()) {
        printLine(QCoreApplication::translate("CachesDirectory", "No caches directory for this user"));
        std::abort();
    }
    return QUrl::fromLocalFile(path + QLatin1Char('/'));
}

} // namespace remoteimage
