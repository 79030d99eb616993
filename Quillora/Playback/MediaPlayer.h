// The operations the player needs from a streaming media player, and what
// the media player reports back about the stream.
//
// replaceItem() swaps the stream and keeps the play/pause state; play() and
// pause() take effect at once and rate() reads back whether playing is
// requested (> 0) or not (0).
//
// Reports arrive on the owner's thread and only for the current stream:
// - audioPlayingChanged: sound really comes out (true) or not (false: still
//   connecting, waiting for data, paused, ended);
// - metadataChanged: the stream's tags (song titles) changed;
// - streamDetailsChanged: the codec and bit rate became known or changed;
// - playbackEnded: the stream failed or ended by itself, with a line for the
//   diagnostics and the cause; by then the media player has already gone
//   back to paused;
// - recordingPieceStarted: while recording, a new piece of the recording
//   began (see setRecordingFolder); it comes before the tags that made it.
#pragma once

#include "Playback/StreamReport.h"

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

    // While a folder is set, the stream is written as it arrives, remuxed
    // without decoding, to numbered Matroska pieces in that folder: a new
    // piece starts with every stream opened and every change of its tags,
    // so that songs can be cut out of them at the moment they were heard.
    // Empty: nothing is written.
    virtual void setRecordingFolder(const QString& folder) { Q_UNUSED(folder); }

    bool isAudioPlaying() const { return m_audioPlaying; }

    // Only web addresses (net::isWebAddress) are handed to the media player:
    // anything else could open local files, devices or helper programs.

signals:
    void playbackEnded(const QString& message, EndCause cause);
    void audioPlayingChanged(bool playing);
    void metadataChanged(const StreamTags& tags);
    void streamDetailsChanged(const StreamDetails& details);
    // `path` is the new piece. newStream: it starts a stream opened anew
    // (a start or a reconnect); else the tags changed, and `lead` is how
    // many seconds at the end of the previous piece had arrived but not yet
    // been heard: they belong with the new tags.
    void recordingPieceStarted(const QString& path, bool newStream, double lead);

protected:
    void setAudioPlaying(bool playing)
    {
        if (playing == m_audioPlaying)
            return;
        m_audioPlaying = playing;
        emit audioPlayingChanged(playing);
    }

private:
    bool m_audioPlaying = false;
};
