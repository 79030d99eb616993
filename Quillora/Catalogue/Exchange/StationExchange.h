// Station lists of other programs, in and out: the playlists every player
// reads and writes (M3U, PLS, XSPF), the lists of players a listener may be
// leaving (Goodvibes' stations.xml, Radiotray-NG's bookmarks.json, pyradio's
// stations.csv) and any CSV with a URL column.
//
// The format is recognised from the content, never from the file name: a
// download is often named "playlist" or "listen.php". Reading is bounded,
// since the file may come from anywhere: at most maxBytes and maxStations,
// each field capped, XML with entity declarations refused (expansion bombs,
// external entities), JSON nested deeper than maxJsonDepth refused. Only
// http(s) stream addresses are taken; the others are counted.
//
// Pure functions over bytes; safe on any thread.
#pragma once

#include "Catalogue/Station.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QList>
#include <QString>

#include <optional>

struct ExchangeStation {
    QString title;
    QString url;
    QString image; // empty, or an http(s) address
    QString genre;

    bool operator==(const ExchangeStation&) const = default;
};

class StationExchange {
    Q_DECLARE_TR_FUNCTIONS(StationExchange)

public:
    enum class Format { m3u, pls, xspf, goodvibes, radiotray, pyradio, csv };

    static constexpr qint64 maxBytes = 10 * 1024 * 1024;
    static constexpr int maxStations = 10000;
    static constexpr int maxJsonDepth = 32;
    // Longer titles and genres are cut; longer addresses are no addresses.
    static constexpr int maxTitle = 200;
    static constexpr int maxGenre = 100;
    static constexpr int maxAddress = 2048;

    struct Read {
        std::optional<Format> format;
        QList<ExchangeStation> stations; // in file order, http(s) streams only
        int notWebAddresses = 0;         // entries skipped for their address
        // Why nothing can be taken from the bytes ("larger than 10 MB", "an
        // XML file with entity declarations", "not a playlist or station
        // list: ..."); empty when they were read.
        QString problem;
        bool ok() const { return problem.isEmpty(); }
    };
    static Read read(const QByteArray& bytes);

    // The stations as a file of the format (m3u, pls, xspf or csv): names,
    // and logos where the format has a place for them.
    static QByteArray write(Format format, const QList<Station>& stations);

    // "m3u", "pls", "xspf", "csv": the formats write() knows.
    static std::optional<Format> writableFormat(const QString& name);
    // How messages name a format: "extended M3U", "Goodvibes stations".
    static QString formatName(Format format);

    // A title or genre as kept: one line, trimmed, capped. An empty text
    // stays empty.
    static QString cleanText(const QString& text, int cap);
    // The address as kept, or nothing when it is no http(s) address.
    static std::optional<QString> webAddress(const QString& text);
    // The entry added to the list, or counted when its address is not one.
    static void take(Read& read, ExchangeStation station);
    static void refuseTooMany(Read& read);
};
