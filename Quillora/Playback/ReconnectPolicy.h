// When to try a dropped stream again, and when to give up.
//
// A stream that ends or fails while the listener wants it is tried again
// after 1 s, 2 s, 4 s, ... at most 30 s, for as long as they want it; after a
// minute of good playback the next drop starts again at 1 s. Failures that
// trying again cannot mend (see retryingCannotMend()) end it after a few
// tries in a row; but a 404 or 403 from an address that has played in this
// session is a mount that is restarting, not a wrong address, and is tried
// like a dropped stream.
//
// Pure logic: time is handed in, so the schedule can be checked without
// waiting for it.
#pragma once

#include "Playback/StreamReport.h"
#include "Support/Backoff.h"

#include <chrono>
#include <optional>

class ReconnectPolicy {
public:
    using Clock = std::chrono::steady_clock;
    using Duration = std::chrono::milliseconds;

    struct Settings {
        Duration firstDelay{1000};
        Duration maxDelay{30000};
        Duration goodPlayback{60000}; // playing this long resets the delays
        int triesForLastingFailures = 3;
    };

    ReconnectPolicy()
        : ReconnectPolicy(Settings{})
    {
    }
    explicit ReconnectPolicy(const Settings& settings);

    // The listener asked for this stream (play, another station): a fresh
    // start, with no history of failures.
    void start();

    // Sound comes out / stopped coming out (a stall, or the stream ended).
    void audioStarted(Clock::time_point now);
    void audioStopped();

    // The stream ended or failed with `cause`: the delay before the next try,
    // or none when it is time to give up.
    std::optional<Duration> afterEnd(EndCause cause, Clock::time_point now);

private:
    Settings m_settings;
    Backoff m_backoff;
    std::optional<Clock::time_point> m_playingSince;
    bool m_hasPlayed = false;
    int m_lastingFailures = 0;
};
