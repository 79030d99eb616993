// A recording observer and an event-pumping wait, for tests that run the
// loader against the local HTTP server.
#pragma once

#include "RemoteImage/ImageLoader/ImageLoaderObserver.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

#include <functional>
#include <memory>
#include <mutex>
#include <vector>

using namespace remoteimage;

// Processes main-thread events until pred() holds or timeoutMs passed (far
// above the normal time: sanitizer builds on a busy machine).
inline bool waitUntil(const std::function<bool()>& pred, int timeoutMs = 60000)
{
    QElapsedTimer timer;
    timer.start();
    while (!pred()) {
        if (timer.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(2);
    }
    return true;
}

// Lets queued main-thread notifications arrive for a while.
inline void pumpEvents(int milliseconds)
{
    waitUntil([] { return false; }, milliseconds);
}

class Recorder {
public:
    struct Partial {
        std::shared_ptr<ImageProxy> proxy;
        QImage image; // what it showed when it arrived
    };
    struct Completion {
        std::shared_ptr<ImageProxy> proxy;
        QImage image;
        bool onMainThread;
    };

    Recorder()
        : m_state(std::make_shared<State>())
        , observer(std::make_shared<ImageLoaderObserver>(
              [s = m_state](std::optional<float> progress) {
                  std::lock_guard lock(s->mutex);
                  s->progress.push_back(progress);
                  s->progressOffMain |= !isMainThread();
              },
              [s = m_state](const std::shared_ptr<ImageProxy>& proxy) {
                  const QImage image = proxy->uiImage();
                  std::lock_guard lock(s->mutex);
                  s->partials.push_back({proxy, image});
                  s->partialOffMain |= !isMainThread();
              },
              [s = m_state](const std::shared_ptr<ImageProxy>& proxy) {
                  const QImage image = proxy->uiImage();
                  std::lock_guard lock(s->mutex);
                  s->completions.push_back({proxy, image, isMainThread()});
              }))
    {
    }

    std::vector<std::optional<float>> progress() const { return locked(&State::progress); }
    std::vector<Partial> partials() const { return locked(&State::partials); }
    std::vector<Completion> completions() const { return locked(&State::completions); }
    size_t completionCount() const { return completions().size(); }
    bool progressOffMain() const { return locked(&State::progressOffMain); }
    bool partialOffMain() const { return locked(&State::partialOffMain); }

private:
    struct State {
        std::mutex mutex;
        std::vector<std::optional<float>> progress;
        std::vector<Partial> partials;
        std::vector<Completion> completions;
        bool progressOffMain = false;
        bool partialOffMain = false;
    };

    static bool isMainThread() { return QThread::currentThread() == QCoreApplication::instance()->thread(); }

    template <typename T>
    T locked(T State::*member) const
    {
        std::lock_guard lock(m_state->mutex);
        return (*m_state).*member;
    }

    std::shared_ptr<State> m_state;

public:
    const std::shared_ptr<ImageLoaderObserver> observer;
};
