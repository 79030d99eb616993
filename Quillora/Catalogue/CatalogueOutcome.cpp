#include "Catalogue/CatalogueOutcome.h"

#include <QFutureWatcher>
#include <QtConcurrent/QtConcurrentRun>

CatalogueOutcome CatalogueOutcome::failed(LoadFailure failure)
{
    CatalogueOutcome outcome;
    outcome.report.source = failure.source;
    outcome.failure = std::move(failure);
    return outcome;
}

CatalogueOutcome CatalogueOutcome::fromParsed(CatalogueTable::Parsed parsed, LoadFailure failureTemplate)
{
    CatalogueOutcome outcome;
    outcome.report.source = failureTemplate.source;
    if (parsed.table) {
        outcome.skipped = parsed.table->skipped;
        outcome.report.skippedRows = int(parsed.table->skipped.size());
    }
    if (!parsed.isStationList()) {
        failureTemplate.reason = LoadFailure::Reason::notAStationList;
        failureTemplate.detail = parsed.problem;
        outcome.failure = std::move(failureTemplate);
        return outcome;
    }
    outcome.stations = std::move(parsed.table->stations);
    return outcome;
}

void CatalogueOutcome::deliver(StationsReply& reply) const
{
    // Also when every row was bad: each line says what to mend.
    CatalogueTable::printSkipped(report.source, skipped);
    if (failure)
        reply.fail(*failure);
    else
        reply.finish(stations, report);
}

void deliverFromWorker(StationsReply* reply, std::function<CatalogueOutcome()> work)
{
    // The watcher goes with the reply: a cancelled load drops its result.
    auto* watcher = new QFutureWatcher<CatalogueOutcome>(reply);
    QObject::connect(watcher, &QFutureWatcherBase::finished, reply, [watcher, reply] {
        const CatalogueOutcome outcome = watcher->result();
        watcher->deleteLater();
        outcome.deliver(*reply);
    });
    watcher->setFuture(QtConcurrent::run(std::move(work)));
}
