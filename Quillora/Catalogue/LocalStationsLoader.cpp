#include "Catalogue/LocalStationsLoader.h"

#include "Catalogue/CatalogueFile.h"
#include "Catalogue/CatalogueOutcome.h"

#include <QFileInfo>

LocalStationsLoader::LocalStationsLoader(QString path)
    : m_path(std::move(path))
{
}

StationsReply* LocalStationsLoader::load()
{
    auto* reply = new StationsReply;
    deliverFromWorker(reply, [path = m_path] {
        CatalogueFile::Read read = CatalogueFile::read(path);
        CatalogueOutcome outcome;
        outcome.report.source = QFileInfo(path).fileName();
        if (read.table) {
            outcome.skipped = read.table->skipped;
            outcome.report.skippedRows = int(read.table->skipped.size());
        }
        if (read.failure) {
            outcome.failure = std::move(read.failure);
            return outcome;
        }
        outcome.stations = std::move(read.table->stations);
        return outcome;
    });
    return reply;
}
