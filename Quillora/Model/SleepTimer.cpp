#include "Model/SleepTimer.h"

#include "Model/Player.h"

#include <algorithm>
#include <cmath>

using namespace std::chrono;

SleepTimer::SleepTimer(Player* player, milliseconds fade, QObject* parent)
    : QObject(parent)
    , m_player(player)
    , m_fade(fade)
{
    m_ticker.setSingleShot(true);
    connect(&m_ticker, &QTimer::timeout, this, &SleepTimer::tick);
    connect(m_player, &Player::isPlayingChanged, this, [this] {
        if (m_active && !m_player->isPlaying())
            finish(false);
    });
    connect(m_player, &Player::volumeChanged, this, [this] {
        // Our own fade steps come back here too; anything else is the listener.
        if (m_fading && std::abs(m_player->volume() - m_volumeSet) > 1e-4f) {
            m_fading = false; // their volume stays
            finish(false);
        }
    });
}

SleepTimer::~SleepTimer()
{
    if (m_fading)
        m_player->setVolume(m_volumeBefore);
}

double SleepTimer::fadeFactor(milliseconds remaining, milliseconds fade)
{
    if (remaining >= fade)
        return 1.0;
    if (remaining <= milliseconds::zero() || fade <= milliseconds::zero())
        return 0.0;
    // Loudness follows the logarithm of the amplitude: a squared ramp sounds
    // more even than a straight one.
    const double share = double(remaining.count()) / double(fade.count());
    return share * share;
}

void SleepTimer::start(int minutes)
{
    if (minutes > 0)
        startFor(std::chrono::minutes(minutes));
}

void SleepTimer::startFor(milliseconds duration)
{
    if (!m_player->isPlaying())
        return;
    if (m_fading) {
        m_player->setVolume(m_volumeBefore);
        m_fading = false;
    }
    m_deadline.setRemainingTime(duration, Qt::PreciseTimer);
    if (!m_active) {
        m_active = true;
        emit activeChanged();
    }
    tick();
}

void SleepTimer::cancel()
{
    if (m_active)
        finish(false);
}

void SleepTimer::tick()
{
    const milliseconds remaining(m_deadline.remainingTime());
    setRemainingSeconds(int(std::ceil(double(remaining.count()) / 1000.0)));
    if (remaining <= milliseconds::zero()) {
        finish(true);
        return;
    }
    if (remaining < m_fade) {
        if (!m_fading) {
            m_volumeBefore = m_player->volume();
            m_fading = true;
        }
        m_volumeSet = float(m_volumeBefore * fadeFactor(remaining, m_fade));
        m_player->setVolume(m_volumeSet);
        m_ticker.start(std::min<milliseconds>(milliseconds(250), remaining));
        return;
    }
    // The next whole second, or the start of the fade if that comes first.
    const milliseconds toNextSecond = remaining % 1000 == milliseconds::zero() ? milliseconds(1000) : remaining % 1000;
    m_ticker.start(std::min(toNextSecond, remaining - m_fade + milliseconds(1)));
}

void SleepTimer::finish(bool expiredNow)
{
    m_ticker.stop();
    const bool wasFading = m_fading;
    m_fading = false;
    m_active = false;
    if (expiredNow)
        m_player->stop();
    if (wasFading)
        m_player->setVolume(m_volumeBefore);
    setRemainingSeconds(0);
    emit activeChanged();
    if (expiredNow)
        emit expired();
}

void SleepTimer::setRemainingSeconds(int seconds)
{
    if (seconds == m_remainingSeconds)
        return;
    m_remainingSeconds = seconds;
    emit remainingSecondsChanged();
}
