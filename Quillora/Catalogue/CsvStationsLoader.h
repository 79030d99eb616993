// The live catalogue: a published spreadsheet (or any CSV) fetched over
// http or https.
//
// Every load fetches afresh (no HTTP cache in either direction, redirects
// followed), parses on a worker thread and finishes the reply on the thread
// that called load(): with the rows that carry a station (the others are
// counted and printed), or with the reason it failed: an
// unusable address, the server not answering, an error status, a body over
// CatalogueTable::maxBytes, a transfer that stopped half way, or an answer
// that is not a station list (a web page, not UTF-8, no header, every row
// bad). A file:// address is read as LocalStationsLoader reads it.
#pragma once

#include "Catalogue/StationsLoader.h"

#include <QString>

class CsvStationsLoader final : public StationsLoader {
public:
    explicit CsvStationsLoader(QString url);

    QString url;
    // A server that sends nothing for this long is not answering.
    int transferTimeoutMs = 30000;
    // Nor is one that drips a catalogue out for longer than this.
    int deadlineMs = 120000;

    StationsReply* load() override;
};
