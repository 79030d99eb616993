// When to try a catalogue again after a failed load.
//
// With nothing to show, a failed load is tried again after 5 s, then 10 s,
// 20 s ... at most every 5 minutes, and at once when the network comes
// back. With stored stations on the screen, only the network coming back
// triggers a new attempt (the stations are there; there is no hurry). Each
// failed outcome prints one line with its reason and what happens next.
//
// The owner connects retryDue() to the player's loadStations() and reports
// every outcome (loadFailed / loadSucceeded). Main thread.
#pragma once

#include "Catalogue/LoadFailure.h"
#include "Support/Backoff.h"

#include <QObject>
#include <QTimer>

#include <chrono>

class NetworkReachability;

class CatalogueRetry final : public QObject {
    Q_OBJECT

public:
    using Duration = Backoff::Duration;

    explicit CatalogueRetry(QObject* parent = nullptr, Duration first = std::chrono::seconds(5),
                            Duration cap = std::chrono::minutes(5));

    // Tries at once whenever this says the network is back.
    void watchNetwork(NetworkReachability* reachability);

    void loadFailed(const LoadFailure& failure, bool showingStoredStations);
    void loadSucceeded();
    // The Retry button: one attempt now; the schedule goes on from where it
    // was if that attempt fails too.
    void retryNow();

    // A failure is waiting to be retried (on a timer or on the network).
    bool isArmed() const { return m_armed; }
    // The timer runs: scheduledDelay() is the wait it was started with,
    // remainingTime() what is left of it.
    bool isTimerRunning() const { return m_timer.isActive(); }
    Duration scheduledDelay() const { return Duration(m_timer.interval()); }
    Duration remainingTime() const { return Duration(m_timer.remainingTime()); }

public slots:
    void networkCameBack();

signals:
    // Time for a new attempt.
    void retryDue();

private:
    void attempt();

    Backoff m_backoff;
    QTimer m_timer;
    bool m_armed = false;
    NetworkReachability* m_reachability = nullptr;
};
