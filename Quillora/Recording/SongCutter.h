// Cuts one song out of the pieces a recording was written in, without
// decoding: the compressed packets are copied into the song's own container
// (MP3, ADTS AAC, Ogg, Opus) with its tags, through libavformat.
//
// A recording is a chain of pieces (Matroska files the media player writes,
// one after another, for one station): a new piece starts whenever the
// stream's tags change and with every reconnect. Pieces follow one another
// without a gap, so their lengths put every packet on one timeline. A song
// starts `lead` seconds before the start of one piece (the audio that was
// received but not yet heard when its title came on air) and ends the same
// way before a later piece, or at the end of the last one.
//
// Pieces come from the network through the media player: a piece that
// cannot be read, or a codec without a container of its own, is an error,
// never a crash.
#pragma once

#include <QMap>
#include <QString>
#include <QStringList>

struct SongCut {
    QStringList pieces;      // in order
    int startPiece = 0;      // the song starts startLead seconds before pieces[startPiece] starts
    double startLead = 0;
    int endPiece = 0;        // and ends endLead seconds before pieces[endPiece] starts
    double endLead = 0;      // (endPiece == pieces.size(): before the end of the last)
    double minimumSeconds = 0;
    double maximumSeconds = 900;
    QMap<QString, QString> tags; // title, artist, album, comment, date
};

struct SongCutResult {
    enum Status { Written, TooShort, Failed };
    Status status = Failed;
    double seconds = 0;
    QString error;
};

class SongCutter {
public:
    SongCutter() = delete;

    // The file extension of the song's container (".mp3", ".aac", ".ogg",
    // ".opus"), read from the first piece; empty when the codec has no
    // container here or the piece cannot be read (error says why).
    static QString extensionFor(const QString& piece, QString* error);

    // Writes the song to `path` (a temporary name: the caller renames it
    // once it is complete); on anything but Written no file is left there.
    static SongCutResult cut(const SongCut& cut, const QString& path);
};
