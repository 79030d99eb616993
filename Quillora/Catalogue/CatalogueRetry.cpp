#include "Catalogue/CatalogueRetry.h"

#include "Diagnostics/Diagnostics.h"
#include "Support/NetworkReachability.h"

#include <QCoreApplication>

namespace {

QString spoken(CatalogueRetry::Duration delay)
{
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(delay).count();
    if (seconds >= 60 && seconds % 60 == 0)
        return QCoreApplication::translate("CatalogueRetry", "%1 min").arg(seconds / 60);
    if (seconds >= 1)
        return QCoreApplication::translate("CatalogueRetry", "%1 s").arg(seconds);
    return QCoreApplication::translate("CatalogueRetry", "%1 ms").arg(delay.count());
}

} // namespace

CatalogueRetry::CatalogueRetry(QObject* parent, Duration first, Duration cap)
    : QObject(parent)
    , m_backoff(first, cap)
{
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &CatalogueRetry::attempt);
}

void CatalogueRetry::watchNetwork(NetworkReachability* reachability)
{
    m_reachability = reachability;
    connect(reachability, &NetworkReachability::becameOnline, this, &CatalogueRetry::networkCameBack);
}

void CatalogueRetry::loadFailed(const LoadFailure& failure, bool showingStoredStations)
{
    m_armed = true;
    if (m_reachability)
        m_reachability->watch();
    if (showingStoredStations) {
        m_timer.stop();
        printLine(QCoreApplication::translate("CatalogueRetry", "%1; showing the stored stations until the network is back").arg(failure.logLine()));
        return;
    }
    const Duration delay = m_backoff.next();
    m_timer.start(delay);
    printLine(QCoreApplication::translate("CatalogueRetry", "%1; trying again in %2").arg(failure.logLine(), spoken(delay)));
}

void CatalogueRetry::loadSucceeded()
{
    m_armed = false;
    m_timer.stop();
    m_backoff.reset();
}

void CatalogueRetry::retryNow()
{
    attempt();
}

void CatalogueRetry::networkCameBack()
{
    if (m_armed)
        attempt();
}

void CatalogueRetry::attempt()
{
    m_timer.stop();
    emit retryDue();
}
