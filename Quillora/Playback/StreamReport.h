// What a media player reports about the stream it plays: why it ended, the
// tags the stream carries and its codec and bit rate. Small values, handed
// from the media player to whoever decides what to show and whether to try
// again.
#pragma once

#include <QByteArray>
#include <QMap>
#include <QMetaType>
#include <QString>

// Why a stream stopped by itself.
enum class EndCause {
    StreamEnded,        // the server closed a stream that had been playing
    ServerNotAnswering, // refused, timed out, or the name does not resolve
    NotFound,           // 404, 410
    Forbidden,          // 401, 403, 407
    UnsupportedFormat,  // not audio we can decode
    NoAudioOutput,      // the sound device could not be opened
    Other,
};

// A short sentence for the user, e.g. "Not found (404)".
QString humanReason(EndCause cause);

// Trying the same address again does not help these (a wrong address, a
// refusal, a format we cannot play, no sound device): a player gives up on
// them after a few tries instead of trying for ever.
bool retryingCannotMend(EndCause cause);

// The stream's own tags, keys in lower case (icy-title, title, artist,
// icy-name). Values are the bytes as the stream sent them, already bounded
// in size but not checked in any other way: they come from the network.
using StreamTags = QMap<QString, QByteArray>;

// The codec and bit rate of the stream that plays.
struct StreamDetails {
    QString codec;    // the decoder's name, e.g. "aac", "mp3", "vorbis"
    int kbitPerS = 0; // 0 when unknown

    // "AAC · 128 kbit/s"; just the codec when the rate is unknown, empty
    // when nothing is known.
    QString text() const;

    bool operator==(const StreamDetails&) const = default;
};

Q_DECLARE_METATYPE(EndCause)
Q_DECLARE_METATYPE(StreamDetails)
