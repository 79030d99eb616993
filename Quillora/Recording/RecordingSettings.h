// How songs are kept: the [recording] group of quillora.conf.
//
//   [recording]
//   mode=off              off, all (every complete song) or decide (the last
//                         ten in the cache, saved one by one)
//   folder=~/Music/Quillora   where kept songs go (default: the desktop's
//                         music folder, from the XDG user folders, + Quillora)
//   minimum-seconds=30    shorter songs (jingles, announcements) are not kept
//   maximum-seconds=900   a longer song is kept up to this length
//
// The root reads the group once and hands the values down; a value that
// cannot be read falls back to its default with one line.
#pragma once

#include <QString>

class QSettings;

struct RecordingSettings {
    enum class Mode { Off, All, Decide };

    Mode mode = Mode::Off;
    QString folder;
    int minimumSeconds = 30;
    int maximumSeconds = 900;

    static RecordingSettings read(QSettings& settings);
    // The mode as the file writes it, and back (Off for anything else).
    static QString modeName(Mode mode);
    static Mode modeNamed(QStringView name);
    static QString defaultFolder();
};
