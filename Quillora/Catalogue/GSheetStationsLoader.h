// The live catalogue: a published spreadsheet fetched as CSV.
//
// Every load fetches afresh (no HTTP cache in either direction), parses and
// decodes on a worker thread, and answers on the thread that called load():
// onLoaded() with the rows that decode (bad rows are skipped), or onFailed()
// for an unusable address, a transfer error, a non-2xx status, a body over
// maxBodyBytes, text that is not UTF-8, or a body without a header row.
// http, https and file addresses are accepted.
#pragma once

#include "Catalogue/StationsLoader.h"

#include <QByteArray>
#include <QString>

#include <memory>
#include <optional>

namespace csv {
class CSVRowDecoder;
}

class GSheetStationsLoader final : public StationsLoader {
public:
    // A catalogue of thousands of stations is well below this; anything
    // bigger is not a catalogue.
    static constexpr qint64 maxBodyBytes = 16 * 1024 * 1024;
    static constexpr int transferTimeoutMs = 30000;

    explicit GSheetStationsLoader(QString cvsUrl);

    QString cvsUrl;

    void load(std::shared_ptr<StationsLoaderDelegate> delegate) override;

    // The stations of a catalogue body, in file order; none when the body
    // is not UTF-8 or has no header row. Safe on any thread.
    static std::optional<QList<Station>> parse(const QByteArray& body, const csv::CSVRowDecoder& decoder);

private:
    // Made once, shared read-only by every load (and every copy).
    std::shared_ptr<const csv::CSVRowDecoder> m_decoder;
};
