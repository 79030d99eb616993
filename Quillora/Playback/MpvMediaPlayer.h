// MediaPlayer on libmpv, audio only, set up for live radio.
//
// A paused live stream is not kept open: mpv would go on downloading it into
// its cache and resume minutes behind live. So the stream is opened only
// while playing; pause() unloads it and play() opens the current address
// again, which plays live. replaceItem() while paused only remembers the
// address. Nor does mpv keep audio it has played (nobody seeks back in a live
// stream): its cache holds a few seconds ahead and nothing behind, so memory
// stays flat however long a stream plays.
//
// libmpv is started on the first play(), so a window shows without waiting
// for it; until then the volume is kept here.
//
// mpv calls the wake-up callback on its own threads; a thread of ours drains
// the event queue, reads the log lines that tell why a stream failed, and
// posts what matters to the owner's thread. Everything it reports is tagged
// with mpv's playlist entry, so reports of a stream we left are dropped.
//
// Extra mpv options come from the constructor: the tests', and for
// debugging those of QUILLORA_MPV_OPTIONS, which the root reads and turns
// into options with parseOptions(). They are applied after the built-in
// ones.
#pragma once

#include "Playback/MediaPlayer.h"
#include "Playback/MpvEndClassifier.h"

#include <QByteArray>
#include <QList>
#include <QPair>

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

struct mpv_handle;
struct mpv_event;
struct MpvLibrary;

class MpvMediaPlayer final : public MediaPlayer {
    Q_OBJECT

public:
    using Options = QList<QPair<QByteArray, QByteArray>>;

    explicit MpvMediaPlayer(QObject* parent = nullptr);
    explicit MpvMediaPlayer(Options extraOptions, QObject* parent = nullptr);
    ~MpvMediaPlayer() override;

    // Comma-separated name=value pairs (ao=pcm,ao-pcm-file=out.raw); a name
    // alone is name=yes.
    static Options parseOptions(const QByteArray& text);

    // Starts libmpv if it has not been; false when it cannot be loaded or
    // initialised. Every operation is then a harmless no-op.
    bool isValid();

    void replaceItem(const QUrl& url) override;
    void play() override;
    void pause() override;
    float rate() const override;
    float volume() const override;
    void setVolume(float volume) override;
    void setRecordingFolder(const QString& folder) override;

private:
    struct PendingEnd {
        int reason;
        int error;
        std::int64_t entryId;
    };

    bool start();
    void open();
    void unload();
    bool isCurrent(std::int64_t entryId) const;
    void runEventThread();
    void handleEvent(const mpv_event& event);
    void flushEnds();
    void postDetails();
    void onEndFile(std::int64_t entryId, EndCause cause, const QString& detail);
    QString nextPieceLocked();
    void recordLocked(const QString& path);
    void startPieceOnTagChange(std::int64_t entry);
    static void wakeup(void* context);

    Options m_extraOptions;
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

    // The event thread's own state; nothing else touches it.
    std::int64_t m_threadEntry = 0; // the playlist entry that is playing, 0 between files
    MpvEndClassifier m_classifier;
    QList<PendingEnd> m_pendingEnds;
    QString m_codec;
    std::int64_t m_nominalBitrate = 0;
    std::int64_t m_measuredBitrate = 0;
    StreamDetails m_postedDetails;

    // Recording. The event thread starts a piece when the tags change, the
    // owner's thread when it opens a stream; the lock keeps a late event of
    // a stream we left from redirecting the new stream's recording.
    std::mutex m_recordMutex;
    QString m_recordFolder;          // guarded by m_recordMutex
    int m_pieces = 0;                // guarded by m_recordMutex
    std::int64_t m_recordEntry = 0;  // guarded: the playlist entry being recorded, 0 none
};
