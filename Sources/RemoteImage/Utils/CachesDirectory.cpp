#include "RemoteImage/Utils/CachesDirectory.h"

#include <QStandardPaths>

#include <cstdio>
#include <cstdlib>

QUrl appCachesDirectoryURL()
{
    const QString path = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    if (path.isEmpty()) {
        std::printf("No caches directory for this user\n");
        std::fflush(stdout);
        std::abort();
    }
    return QUrl::fromLocalFile(path + QLatin1Char('/'));
}
