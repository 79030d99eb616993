#include "Playback/ReconnectPolicy.h"

ReconnectPolicy::ReconnectPolicy(const Settings& settings)
    : m_settings(settings)
    , m_backoff(settings.firstDelay, settings.maxDelay)
{
}

void ReconnectPolicy::start()
{
    m_backoff.reset();
    m_playingSince.reset();
    m_hasPlayed = false;
    m_lastingFailures = 0;
}

void ReconnectPolicy::audioStarted(Clock::time_point now)
{
    if (!m_playingSince)
        m_playingSince = now;
    m_hasPlayed = true;
    m_lastingFailures = 0;
}

void ReconnectPolicy::audioStopped()
{
    m_playingSince.reset();
}

std::optional<ReconnectPolicy::Duration> ReconnectPolicy::afterEnd(EndCause cause, Clock::time_point now)
{
    if (m_playingSince && now - *m_playingSince >= m_settings.goodPlayback)
        m_backoff.reset();
    m_playingSince.reset();

    const bool mountComingBack = m_hasPlayed && (cause == EndCause::NotFound || cause == EndCause::Forbidden);
    if (retryingCannotMend(cause) && !mountComingBack) {
        if (++m_lastingFailures >= m_settings.triesForLastingFailures)
            return std::nullopt;
    }
    return m_backoff.next();
}
