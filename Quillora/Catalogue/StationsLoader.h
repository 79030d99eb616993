// A catalogue source and the receiver of its answer.
//
// load() delivers exactly one callback per call: onLoaded() or onFailed().
// The delegate is passed as a std::shared_ptr and the source keeps that
// owning reference until the callback has been delivered, so the delegate
// outlives every load in flight. (A QPointer would rather drop the answer of
// a dead delegate; shared ownership is what the contract asks for and works
// for delegates that are not QObjects.) Sources that answer later deliver,
// and drop their reference, on the thread that called load(), so a QObject
// delegate is never destroyed on a worker thread.
#pragma once

#include "Catalogue/Station.h"

#include <QList>

#include <memory>

class StationsLoaderDelegate {
public:
    virtual ~StationsLoaderDelegate() = default;
    virtual void onLoaded(const QList<Station>& stations) = 0;
    virtual void onFailed() = 0;
};

class StationsLoader {
public:
    virtual ~StationsLoader() = default;
    virtual void load(std::shared_ptr<StationsLoaderDelegate> delegate) = 0;
};
