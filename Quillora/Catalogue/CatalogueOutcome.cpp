#include "Catalogue/CatalogueOutcome.h"

#include <QCoreApplication>
#include <QFutureWatcher>
#include <QThread>
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

void CatalogueOutcome::deliver(StationsLoaderDelegate& delegate) const
{
    // Also when every row was bad: each line says what to mend.
    CatalogueTable::printSkipped(report.source, skipped);
    if (failure)
        delegate.onCatalogueFailed(*failure);
    else
        delegate.onCatalogueLoaded(stations, report);
}

void deliverFromWorker(std::shared_ptr<StationsLoaderDelegate> delegate, std::function<CatalogueOutcome()> work)
{
    // Loads on the main thread belong to the application, so one still in
    // flight at exit is torn down with it rather than leaked.
    QCoreApplication* app = QCoreApplication::instance();
    QObject* owner = app && app->thread() == QThread::currentThread() ? app : nullptr;
    auto* watcher = new QFutureWatcher<CatalogueOutcome>(owner);
    QObject::connect(watcher, &QFutureWatcherBase::finished, watcher,
                     [watcher, delegate = std::move(delegate)]() mutable {
                         const CatalogueOutcome outcome = watcher->result();
                         watcher->deleteLater();
                         // Released here, on this thread, after its answer.
                         const auto answering = std::exchange(delegate, nullptr);
                         outcome.deliver(*answering);
                     });
    watcher->setFuture(QtConcurrent::run(std::move(work)));
}
