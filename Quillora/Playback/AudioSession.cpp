#include "Playback/AudioSession.h"

#include "Support/AppInfo.h"
#include "Diagnostics/Diagnostics.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace AudioSession {

QString configure()
{
    // Must happen before libmpv starts its audio output threads: setenv is
    // not safe once other threads read the environment.
    if (::setenv("PULSE_PROP_media.role", "music", 1) != 0)
        return QStringLiteral("Audio session: cannot set media.role: %1").arg(QString::fromLocal8Bit(std::strerror(errno)));
    if (::setenv("PULSE_PROP_application.name", AppInfo::displayName().toUtf8().constData(), 1) != 0)
        return QStringLiteral("Audio session: cannot set application.name: %1")
            .arg(QString::fromLocal8Bit(std::strerror(errno)));
    return {};
}

void configureOrReport()
{
    const QString error = configure();
    if (!error.isEmpty())
        printLine(error);
}

} // namespace AudioSession
