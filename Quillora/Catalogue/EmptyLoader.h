// An empty catalogue, delivered synchronously; never fails.
#pragma once

#include "Catalogue/StationsLoader.h"

class EmptyLoader final : public StationsLoader {
public:
    void load(std::shared_ptr<StationsLoaderDelegate> delegate) override { delegate->onCatalogueLoaded({}, {}); }
};
