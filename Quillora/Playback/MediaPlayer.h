// The operations the player needs from a streaming media player.
//
// replaceItem() swaps the stream and keeps the play/pause state; play() and
// pause() take effect at once and rate() reads back whether playing is
// requested (> 0) or not (0). playbackEnded() reports, on the owner's
// thread, that the current stream failed or ended by itself; by then the
// media player has already gone back to paused.
#pragma once

#include <QObject>
#include <QString>
#include <QUrl>

class MediaPlayer : public QObject {
    Q_OBJECT

public:
    using QObject::QObject;

    virtual void replaceItem(const QUrl& url) = 0;
    virtual void play() = 0;
    virtual void pause() = 0;
    virtual float rate() const = 0;
    virtual float volume() const = 0;
    virtual void setVolume(float volume) = 0; // 0 silent ... 1 full, clamped

    // Only these schemes are handed to the media player: anything else could
    // open local files, devices or helper programs.
    static bool isStreamUrl(const QUrl& url)
    {
        return url.isValid() && !url.host().isEmpty()
            && (url.scheme() == QLatin1String("http") || url.scheme() == QLatin1String("https"));
    }

signals:
    void playbackEnded(const QString& message);
};
