// A catalogue source and the receiver of its answer.
//
// load() delivers exactly one callback per call. The plain pair onLoaded() /
// onFailed() is what every delegate implements; sources deliver through the
// richer pair onCatalogueLoaded() / onCatalogueFailed(), which also say how
// many rows were skipped and why a load failed, and which by default hand
// on to the plain pair. A delegate that wants the details overrides the
// richer pair; one that does not needs no change. Either way it hears once.
//
// The delegate is passed as a std::shared_ptr and the source keeps that
// owning reference until the callback has been delivered, so the delegate
// outlives every load in flight. (A QPointer would rather drop the answer of
// a dead delegate; shared ownership is what the contract asks for and works
// for delegates that are not QObjects.) Sources that answer later deliver,
// and drop their reference, on the thread that called load(), so a QObject
// delegate is never destroyed on a worker thread.
#pragma once

#include "Catalogue/LoadFailure.h"
#include "Catalogue/Station.h"

#include <QList>
#include <QString>

#include <memory>

// What came with a catalogue besides its stations.
struct CatalogueReport {
    // Where it came from, as LoadFailure::source names it.
    QString source;
    // Data rows that carried no station (each printed with its reason when
    // the catalogue was read); rows with every field empty are not counted.
    int skippedRows = 0;
};

class StationsLoaderDelegate {
public:
    virtual ~StationsLoaderDelegate() = default;
    virtual void onLoaded(const QList<Station>& stations) = 0;
    virtual void onFailed() = 0;

    virtual void onCatalogueLoaded(const QList<Station>& stations, const CatalogueReport& report)
    {
        Q_UNUSED(report);
        onLoaded(stations);
    }
    virtual void onCatalogueFailed(const LoadFailure& failure)
    {
        Q_UNUSED(failure);
        onFailed();
    }
};

class StationsLoader {
public:
    virtual ~StationsLoader() = default;
    virtual void load(std::shared_ptr<StationsLoaderDelegate> delegate) = 0;
};
