// The now-playing registry of the process: what the desktop's media controls
// show. Written by the player's publisher, read by the MPRIS service.
#pragma once

#include <QObject>
#include <QString>

#include <cstdint>
#include <optional>

struct NowPlayingInfo {
    std::int64_t stationId = 0;
    QString title;
    QString url;    // the stream address, as text
    QString artUrl; // file:// URL of the downloaded logo, or empty
    bool isLiveStream = true;

    bool operator==(const NowPlayingInfo&) const = default;
};

class NowPlayingSink final : public QObject {
    Q_OBJECT

public:
    using QObject::QObject;

    const std::optional<NowPlayingInfo>& info() const { return m_info; }

    void setInfo(const std::optional<NowPlayingInfo>& info)
    {
        if (info == m_info)
            return;
        m_info = info;
        emit infoChanged();
    }

signals:
    void infoChanged();

private:
    std::optional<NowPlayingInfo> m_info;
};
