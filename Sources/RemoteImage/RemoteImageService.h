// The entry point of the remote-image library: one process-wide instance,
// made on first use (also when several threads ask at once) and never torn
// down, that owns the image services and the default lifetime of cached
// images.
#pragma once

#include "RemoteImage/Services.h"

namespace remoteimage {

class RemoteImageServiceType {
public:
    virtual ~RemoteImageServiceType() = default;

    virtual Services& services() const = 0;
    // Seconds a cached image lives when the caller gives no expiry date.
    virtual double defaultExpiryTime() const = 0;
    virtual void setDefaultExpiryTime(double seconds) = 0;
    // Both return at once; the cache does the work on its own queue.
    virtual void resetFileCache() = 0;
    virtual void cleanFileCache() = 0;
};

class RemoteImageService final : public RemoteImageServiceType {
public:
    static constexpr double sevenDays = 604800;

    // Creates the cache "RemoteImage" in the user's caches directory
    // (XDG_CACHE_HOME) on first call.
    static RemoteImageServiceType& shared();

    Services& services() const override { return *m_services; }
    double defaultExpiryTime() const override { return m_defaultExpiryTime; }
    void setDefaultExpiryTime(double seconds) override { m_defaultExpiryTime = seconds; }
    void resetFileCache() override;
    void cleanFileCache() override;

private:
    RemoteImageService();

    // Read and written on the user-interface thread only.
    double m_defaultExpiryTime;
    std::unique_ptr<Services> m_services;
};

} // namespace remoteimage
