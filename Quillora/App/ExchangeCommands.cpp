#include "App/ExchangeCommands.h"

#include "App/Application.h"
#include "Catalogue/CatalogueFile.h"
#include "Catalogue/CatalogueSource.h"
#include "Catalogue/StoredStations.h"
#include "Support/Config.h"
#include "Diagnostics/Diagnostics.h"
#include "Catalogue/Exchange/StationExchange.h"
#include "Catalogue/Exchange/StationImport.h"
#include "Store/StateStore.h"

#include <QFile>

#include <cstdio>

namespace {

void printError(const QString& line)
{
    std::fprintf(stderr, "%s\n", line.toLocal8Bit().constData());
}

} // namespace

int ExchangeCommands::runImport(const QStringList& files)
{
    CatalogueFile myStations(Config::myStationsFile());
    // An import into a list that was never created starts from the starter
    // stations, as the first start would.
    if (const QString error = myStations.seedIfMissing(); !error.isEmpty()) {
        printError(error);
        return 1;
    }
    const StationImport::Result result = StationImport::runFiles(files, myStations);
    if (!result.ok()) {
        printError(result.summary());
        return 1;
    }
    printLine(result.summary());
    return 0;
}

int ExchangeCommands::runExport(const QString& formatName, const QString& file, const QString& catalogueValue)
{
    const std::optional<StationExchange::Format> format = StationExchange::writableFormat(formatName);
    if (!format) {
        printError(tr("Cannot export as \"%1\": the formats are m3u, pls, xspf and csv.").arg(formatName));
        return 2;
    }
    const QString configurationFile = Config::configurationFile();
    const CatalogueSource source = CatalogueChoice::resolve(catalogueValue, Environment::read().catalogue,
                                                            Config::catalogueSetting(configurationFile),
                                                            configurationFile)
                                       .source;
    QList<Station> stations;
    if (source.isLocal()) {
        const CatalogueFile::Read read = CatalogueFile::read(source.localPath());
        if (!read.table) {
            printError(tr("Nothing exported: %1 is %2")
                           .arg(source.displayName(), read.failure ? read.failure->reasonText() : QString()));
            return 1;
        }
        stations = read.table->stations;
    } else {
        Application application;
        StateStore store(application.database());
        const std::optional<StoredCatalogue> stored = store.lastGoodCatalogue(source.storeKey());
        if (!stored) {
            printError(tr("Nothing exported: %1 has not been loaded yet; start Quillora with it once.")
                           .arg(source.displayName()));
            return 1;
        }
        stations = stationsOf(stored->stations);
    }
    const QByteArray bytes = StationExchange::write(*format, stations);
    if (file.isEmpty()) {
        QFile out;
        if (!out.open(stdout, QIODevice::WriteOnly) || out.write(bytes) != bytes.size() || !out.flush()) {
            printError(tr("Nothing exported: could not write to standard output"));
            return 1;
        }
        return 0;
    }
    if (const QString error = CatalogueFile::writeAtomically(file, bytes); !error.isEmpty()) {
        printError(error);
        return 1;
    }
    printLine(tr("Exported %n station(s) to %1", nullptr, int(stations.size())).arg(file));
    return 0;
}
