#include "Catalogue/LocalStationsLoader.h"

#include "Catalogue/CatalogueFile.h"
#include "Catalogue/CatalogueOutcome.h"

#include <QFileInfo>

LocalStationsLoader::LocalStationsLoader(QString path)
    : m_path(std::move(path))
{
}

void LocalStationsLoader::load(std::shared_ptr<StationsLoaderDelegate> delegate)
{
    deliverFromWorker(std::move(delegate), [path = m_path] {
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
}
