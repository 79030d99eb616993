// The two sample stations, at hand at once; never fails.
#pragma once

#include "Catalogue/StationsLoader.h"

class MockLoader final : public StationsLoader {
public:
    StationsReply* load() override
    {
        auto* reply = new StationsReply;
        reply->finish({Station::luxfm(), Station::rockFm()}, {});
        return reply;
    }
};
