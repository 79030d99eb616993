#include "Catalogue/Exchange/StationImport.h"

#include "Catalogue/Exchange/StationExchange.h"

#include <QFile>
#include <QFileInfo>

QString StationImport::Result::summary() const
{
    if (!ok())
        return error;
    QStringList notes;
    if (duplicates > 0)
        notes.append(tr("%n already in My stations", nullptr, duplicates));
    if (notWebAddresses > 0)
        notes.append(tr("%n skipped: not an http(s) address", nullptr, notWebAddresses));
    const QString imported = tr("Imported %n station(s)", nullptr, int(ids.size()));
    return notes.isEmpty() ? imported : tr("%1 (%2)").arg(imported, notes.join(QStringLiteral(", ")));
}

StationImport::Result StationImport::run(const QList<Source>& sources, CatalogueFile& target)
{
    Result result;
    QList<CatalogueFile::Fields> stations;
    for (const Source& source : sources) {
        const StationExchange::Read read = StationExchange::read(source.bytes);
        if (!read.ok()) {
            result.error = tr("Nothing imported: %1 is %2").arg(source.name, read.problem);
            return result;
        }
        result.notWebAddresses += read.notWebAddresses;
        for (const ExchangeStation& station : read.stations)
            stations.append({station.title, station.genre, station.url, station.image});
        if (stations.size() > StationExchange::maxStations) {
            result.error = tr("Nothing imported: more than %1 stations").arg(StationExchange::maxStations);
            return result;
        }
    }
    const CatalogueFile::Batch batch = target.addAll(stations);
    if (!batch.ok()) {
        result.error = tr("Nothing imported: %1").arg(batch.error);
        return result;
    }
    result.ids = batch.ids;
    result.duplicates = batch.duplicates;
    return result;
}

StationImport::Result StationImport::runFiles(const QStringList& paths, CatalogueFile& target)
{
    QList<Source> sources;
    for (const QString& path : paths) {
        const QString name = QFileInfo(path).fileName();
        QFile file(path);
        if (QFileInfo(path).isDir() || !file.open(QIODevice::ReadOnly)) {
            Result refused;
            refused.error = tr("Nothing imported: could not read %1: %2")
                                .arg(path, QFileInfo(path).isDir() ? tr("it is a folder") : file.errorString());
            return refused;
        }
        // One byte more than allowed tells a file that is too large.
        QByteArray bytes = file.read(StationExchange::maxBytes + 1);
        if (file.error() != QFileDevice::NoError) {
            Result refused;
            refused.error = tr("Nothing imported: could not read %1: %2").arg(path, file.errorString());
            return refused;
        }
        sources.append({name, std::move(bytes)});
    }
    return run(sources, target);
}
