// The song on air, read from a stream's tags.
//
// Stream tags come from whoever runs the station's server: any length, any
// bytes, control characters, right-to-left overrides that turn a label
// around. What leaves here is decoded (UTF-8, else Latin-1, which many
// Shoutcast servers still send), stripped of control and direction-override
// characters, with runs of white space made one space, at most maxLength
// UTF-16 units long (never half a surrogate pair). Binary junk (not UTF-8
// and holding control characters, or a quarter control characters) is no
// text at all. A title that only repeats the station's name is no song.
#pragma once

#include "Playback/StreamReport.h"

#include <QByteArray>
#include <QString>

struct Song {
    QString artist; // empty when the stream does not name one
    QString title;
    QString text;   // "Artist – Title", or the title alone

    bool isEmpty() const { return text.isEmpty(); }
    bool operator==(const Song&) const = default;
};

class SongMetadata {
public:
    static constexpr qsizetype maxLength = 256;

    // The song from a stream's tags: ICY's "icy-title" ("Artist - Title" in
    // one string, split at the first " - ") when present, else the separate
    // "artist" and "title" comments of Ogg streams (a title alone is split
    // like ICY's). None when the title is empty, binary or only repeats
    // stationTitle or the stream's own name (icy-name).
    static Song songFrom(const StreamTags& tags, const QString& stationTitle);

    // Decoded and cleaned as described above; empty for binary junk.
    static QString clean(const QByteArray& raw);
    static QString clean(const QString& text);

    // The first `limit` bytes of text from a foreign library, cut before a
    // UTF-8 sequence that would not fit: bounds what is copied at all.
    static QByteArray bounded(const char* text, qsizetype limit);
};
