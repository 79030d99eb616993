// Who the application is, in one place: the name people see, the desktop
// file id that shells use to match windows, media controls and launchers,
// and the version. The values come from the build (Quillora/CMakeLists.txt),
// which also names the packaging files after the id.
#pragma once

#include "Support/NetworkPolicy.h"

#include <QString>

namespace AppInfo {

// "Quillora": window titles, the media controls' identity, the sound
// server's application name.
inline QString displayName()
{
    return QStringLiteral(QUILLORA_DISPLAY_NAME);
}

// "quillora": the folder name under the user's data, cache and
// configuration folders, and the MPRIS bus name.
inline QString applicationName()
{
    return QStringLiteral(QUILLORA_APPLICATION_NAME);
}

// The desktop file id (io.github.quillora.Quillora).
inline QString desktopFileId()
{
    return QStringLiteral(QUILLORA_APP_ID);
}

inline QString version()
{
    return QStringLiteral(QUILLORA_VERSION);
}

// How Quillora names itself to servers: "Quillora/<version>".
inline QString userAgent()
{
    return QString::fromUtf8(NetworkPolicy::userAgent());
}

} // namespace AppInfo
