// Tells when the network comes back, so that whatever waits to retry can try
// at once instead of sleeping out its delay. Uses the desktop's network
// information backend (NetworkManager) where there is one; without one it
// never signals and the retry delays alone apply.
#pragma once

#include <QObject>

class NetworkReachability final : public QObject {
    Q_OBJECT

public:
    explicit NetworkReachability(QObject* parent = nullptr);

    // False only when a backend knows the machine is offline.
    bool isOnline() const;

signals:
    // The backend went from offline (or local-only) to online.
    void becameOnline();
};
