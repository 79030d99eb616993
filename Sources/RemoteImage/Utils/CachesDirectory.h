// The user's caches directory for this application.
#pragma once

#include <QUrl>

namespace remoteimage {

// QStandardPaths::CacheLocation as a directory URL (trailing slash), which
// follows XDG_CACHE_HOME. Stops the program if the platform names none.
QUrl appCachesDirectoryURL();

} // namespace remoteimage
