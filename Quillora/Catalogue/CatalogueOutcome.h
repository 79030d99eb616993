// The result of one catalogue load, and its delivery to the reply.
#pragma once

#include "Catalogue/CatalogueTable.h"
#include "Catalogue/StationsLoader.h"

#include <functional>
#include <optional>

struct CatalogueOutcome {
    std::optional<LoadFailure> failure;
    QList<Station> stations;
    CatalogueReport report;
    QList<SkippedRow> skipped;

    static CatalogueOutcome failed(LoadFailure failure);
    // A parsed text: its stations, or a failure naming its problem.
    static CatalogueOutcome fromParsed(CatalogueTable::Parsed parsed, LoadFailure failureTemplate);

    // Prints the skipped rows (of a failed load too), then finishes the
    // reply with the stations or the failure.
    void deliver(StationsReply& reply) const;
};

// Runs `work` on a worker thread and delivers its outcome to `reply` on the
// reply's thread. The work never sees the reply; a reply deleted before the
// work is done just never hears of it.
void deliverFromWorker(StationsReply* reply, std::function<CatalogueOutcome()> work);
