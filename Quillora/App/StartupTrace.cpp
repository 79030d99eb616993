#include "App/StartupTrace.h"

#include "Diagnostics/Diagnostics.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QMutex>
#include <QSet>
#include <QtGlobal>

namespace StartupTrace {
namespace {

QElapsedTimer& clock()
{
    static QElapsedTimer timer;
    return timer;
}

} // namespace

void start()
{
    clock().start();
}

bool enabled()
{
    static const bool on = qEnvironmentVariableIntValue("QUILLORA_TRACE_STARTUP") != 0;
    return on;
}

void mark(const char* name)
{
    if (!enabled())
        return;
    static QMutex mutex;
    QMutexLocker lock(&mutex);
    static QSet<QByteArray> reached;
    if (reached.contains(name))
        return;
    reached.insert(name);
    const double ms = clock().isValid() ? clock().nsecsElapsed() / 1e6 : 0.0;
    printLine(QStringLiteral("startup: %1 %2").arg(QLatin1String(name)).arg(ms, 0, 'f', 1));
}

} // namespace StartupTrace
