// The result of one catalogue load, and its delivery to the delegate.
#pragma once

#include "Catalogue/CatalogueTable.h"
#include "Catalogue/StationsLoader.h"

#include <functional>
#include <memory>
#include <optional>

struct CatalogueOutcome {
    std::optional<LoadFailure> failure;
    QList<Station> stations;
    CatalogueReport report;
    QList<SkippedRow> skipped;

    static CatalogueOutcome failed(LoadFailure failure);
    // A parsed text: its stations, or a failure naming its problem.
    static CatalogueOutcome fromParsed(CatalogueTable::Parsed parsed, LoadFailure failureTemplate);

    // Prints the skipped rows (of a failed load too), then gives the
    // delegate its one callback.
    void deliver(StationsLoaderDelegate& delegate) const;
};

// Runs `work` on a worker thread and delivers its outcome on the thread
// that called this, holding the delegate until then. The work sees no
// delegate: the delegate is only ever touched and released on that thread.
void deliverFromWorker(std::shared_ptr<StationsLoaderDelegate> delegate, std::function<CatalogueOutcome()> work);
