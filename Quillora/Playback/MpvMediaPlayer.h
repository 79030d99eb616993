// MediaPlayer on libmpv, audio only.
//
// A paused live stream is not kept open: mpv would go on downloading it into
// its cache and resume minutes behind live. So the stream is opened only
// while playing; pause() unloads it and play() opens the current address
// again, which plays live. replaceItem() while paused only remembers the
// address.
//
// libmpv is started on the first play(), so a window shows without waiting
// for it; until then the volume is kept here.
//
// mpv calls the wake-up callback on its own threads; a thread of ours drains
// the event queue and posts what matters to the owner's thread.
//
// Extra mpv options can be given for debugging in QUILLORA_MPV_OPTIONS as
// comma-separated name=value pairs (for example ao=pcm,ao-pcm-file=out.raw);
// they are applied after the built-in ones.
#pragma once

#include "Playback/MediaPlayer.h"

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

struct mpv_handle;
struct MpvLibrary;

class MpvMediaPlayer final : public MediaPlayer {
    Q_OBJECT

public:
    explicit MpvMediaPlayer(QObject* parent = nullptr);
    ~MpvMediaPlayer() override;

    // Starts libmpv if it has not been; false when it cannot be loaded or
    // initialised. Every operation is then a harmless no-op.
    bool isValid();

    void replaceItem(const QUrl& url) override;
    void play() override;
    void pause() override;
    float rate() const override;
    float volume() const override;
    void setVolume(float volume) override;

private:
    bool start();
    void open();
    void unload();
    void runEventThread();
    void onEndFile(int reason, int error, std::int64_t entryId);
    static void wakeup(void* context);

    const MpvLibrary* m_lib = nullptr;
    mpv_handle* m_mpv = nullptr;
    bool m_started = false;
    float m_volume = 1.0f;
    QUrl m_url;
    bool m_loaded = false;          // a stream is open in mpv
    std::int64_t m_firstEntryId = 0; // playlist entries below this belong to streams we left

    std::thread m_eventThread;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_pending = false; // guarded by m_mutex
    bool m_quit = false;    // guarded by m_mutex
};
