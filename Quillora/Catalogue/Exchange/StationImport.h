// Adds the stations of playlists and other players' lists to My stations:
// every file is read and checked first, then all their stations are added
// in one rewrite of stations.csv. A file that is refused (too large, not a
// list, hostile XML or JSON) refuses the whole import, and nothing is
// written.
#pragma once

#include "Catalogue/CatalogueFile.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QList>
#include <QString>
#include <QStringList>

class StationImport {
    Q_DECLARE_TR_FUNCTIONS(StationImport)

public:
    struct Result {
        QString error;      // why nothing was imported; empty otherwise
        QList<qint64> ids;  // the stations added, for Undo
        int duplicates = 0; // already in My stations, or twice in the files
        int notWebAddresses = 0;
        bool ok() const { return error.isEmpty(); }
        // "Imported 12 stations (3 already in My stations, 1 skipped: not
        // an http(s) address)"; the error when it failed.
        QString summary() const;
    };

    struct Source {
        QString name; // how messages name it: the file name
        QByteArray bytes;
    };
    static Result run(const QList<Source>& sources, CatalogueFile& target);
    // Reads the files (each at most StationExchange::maxBytes) and runs.
    static Result runFiles(const QStringList& paths, CatalogueFile& target);
};
