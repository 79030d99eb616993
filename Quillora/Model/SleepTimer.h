// "Stop in 30 minutes": counts down, fades the volume out over the last
// 30 seconds, stops the player and puts the volume back where it was, so
// that the next play starts as loud as before.
//
// Ticks once a second while counting (the countdown on screen), a few times
// a second while fading, and not at all when off. Stopping the player, or
// the listener setting the volume during the fade (they are awake), cancels
// the timer; a cancel during the fade restores the volume.
#pragma once

#include <QDeadlineTimer>
#include <QObject>
#include <QTimer>

#include <chrono>

class Player;

class SleepTimer final : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool active READ active NOTIFY activeChanged)
    Q_PROPERTY(int remainingSeconds READ remainingSeconds NOTIFY remainingSecondsChanged)

public:
    explicit SleepTimer(Player* player, std::chrono::milliseconds fade = std::chrono::seconds(30),
                        QObject* parent = nullptr);
    ~SleepTimer() override;

    bool active() const { return m_active; }
    int remainingSeconds() const { return m_remainingSeconds; }

    // Starts (or restarts) the countdown; does nothing unless the player plays.
    Q_INVOKABLE void start(int minutes);
    void startFor(std::chrono::milliseconds duration);
    Q_INVOKABLE void cancel();

    // The share of the volume left with `remaining` to go of a `fade`: 1
    // before the fade, falling to 0 at the end.
    static double fadeFactor(std::chrono::milliseconds remaining, std::chrono::milliseconds fade);

signals:
    void activeChanged();
    void remainingSecondsChanged();
    // The timer ran out and stopped the player.
    void expired();

private:
    void tick();
    void finish(bool expiredNow);
    void setRemainingSeconds(int seconds);

    Player* m_player;
    std::chrono::milliseconds m_fade;
    QTimer m_ticker;
    QDeadlineTimer m_deadline;
    bool m_active = false;
    bool m_fading = false;
    float m_volumeBefore = 1.0f;
    float m_volumeSet = -1.0f;
    int m_remainingSeconds = 0;
};
