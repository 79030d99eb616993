// What a directory answer holds once read: the stations of a search or the
// names of the popular tags. Pure functions, safe on any thread; the client
// runs them on a worker so that a large answer never stalls the interface.
#pragma once

#include "Directory/DirectoryStation.h"

#include <QByteArray>
#include <QList>
#include <QStringList>

struct DirectoryAnswer {
    // False when the body is not a JSON array.
    bool readable = false;
    // Entries in the array, usable or not: the next page starts after them.
    qsizetype received = 0;
    QList<DirectoryStation> stations;
    QStringList tags;

    // At most `limit` usable stations, in the directory's order, each
    // stationUuid once.
    static DirectoryAnswer readStations(const QByteArray& body, qsizetype limit);
    // At most `limit` distinct tag names, in the directory's order.
    static DirectoryAnswer readTags(const QByteArray& body, qsizetype limit);
};
