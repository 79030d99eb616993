// The two sample stations, delivered synchronously; never fails.
#pragma once

#include "Catalogue/StationsLoader.h"

class MockLoader final : public StationsLoader {
public:
    void load(std::shared_ptr<StationsLoaderDelegate> delegate) override
    {
        delegate->onCatalogueLoaded({Station::luxfm(), Station::rockFm()}, {});
    }
};
