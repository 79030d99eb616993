#include "Support/StartupTrace.h"

#include "Diagnostics/Diagnostics.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QMutex>
#include <QSet>

namespace StartupTrace {
namespace {

QElapsedTimer& clock()
{
    static QElapsedTimer timer;
    return timer;
}

// Set once at the start of main(), before any other thread exists.
bool on = false;

} // namespace

void start(bool enabled)
{
    on = enabled;
    clock().start();
}

bool enabled()
{
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
