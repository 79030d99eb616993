// Where a kept song goes on disk: a file name made from the song that is
// safe whatever the station's title says, and free in its folder.
//
// Titles come from the network. The name never holds a path separator or a
// control or direction-override character, never starts with a dot (no
// hidden file, no "..") and is at most maxBytes bytes of UTF-8 with its
// extension and any " (n)" suffix; so it always names a file directly in
// the folder.
#pragma once

#include <QString>

struct SongFile {
    SongFile() = delete;

    static constexpr qsizetype maxBytes = 200;

    // "Artist - Title" or "Title" made safe, without extension; "Untitled"
    // when nothing usable is left.
    static QString baseName(const QString& artist, const QString& title);

    // A path in `folder` for baseName + extension (".mp3") that no file
    // has yet: " (2)", " (3)" ... on a clash.
    static QString freePath(const QString& folder, const QString& baseName, const QString& extension);
};
