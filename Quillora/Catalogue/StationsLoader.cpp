#include "Catalogue/StationsLoader.h"

StationsReply::StationsReply(QObject* parent)
    : QObject(parent)
{
}

void StationsReply::finish(QList<Station> stations, CatalogueReport report)
{
    if (m_finished)
        return;
    m_stations = std::move(stations);
    m_report = std::move(report);
    markFinished();
}

void StationsReply::fail(LoadFailure failure)
{
    if (m_finished)
        return;
    m_report.source = failure.source;
    m_failure = std::move(failure);
    markFinished();
}

void StationsReply::markFinished()
{
    m_finished = true;
    // Queued: never inside load(), so that the caller can connect first; a
    // reply deleted meanwhile takes the pending signal with it.
    QMetaObject::invokeMethod(this, &StationsReply::finished, Qt::QueuedConnection);
}
