// A catalogue in a local file: My stations, or a file:// address. Reads and
// parses on a worker thread (CatalogueFile::read: any Unicode encoding with
// its byte-order mark) and finishes the reply on the thread that called
// load(), with the stations or with why the file is not usable.
#pragma once

#include "Catalogue/StationsLoader.h"

#include <QString>

class LocalStationsLoader final : public StationsLoader {
public:
    explicit LocalStationsLoader(QString path);

    const QString& path() const { return m_path; }
    StationsReply* load() override;

private:
    QString m_path;
};
