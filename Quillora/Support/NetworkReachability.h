// Tells when the network comes back, so that whatever waits to retry can try
// at once instead of sleeping out its delay. Uses the desktop's network
// information backend (NetworkManager, or GLib's monitor) where there is
// one; without one it never signals and the retry delays alone apply.
//
// The backend is loaded only when something first waits (watch()): a
// player whose network never fails does not pay for it (GLib's monitor
// alone is about 1.5 MB resident).
#pragma once

#include <QObject>

class NetworkReachability final : public QObject {
    Q_OBJECT

public:
    explicit NetworkReachability(QObject* parent = nullptr);

    // Something waits for the network: from now on becameOnline() is
    // signalled. Cheap after the first call.
    void watch();

signals:
    // The backend went from offline (or local-only) to online.
    void becameOnline();

private:
    bool m_watching = false;
    bool m_online = true;
};
