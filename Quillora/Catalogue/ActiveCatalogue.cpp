#include "Catalogue/ActiveCatalogue.h"

#include "Catalogue/CatalogueRetry.h"
#include "Catalogue/StoredStations.h"
#include "Support/Config.h"
#include "Catalogue/Exchange/StationExchange.h"
#include "Catalogue/Exchange/StationImport.h"
#include "Diagnostics/Diagnostics.h"
#include "Store/StateStore.h"

#include "CSV/CSV.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QPointer>

#include <algorithm>

ActiveCatalogue::ActiveCatalogue(CatalogueSource source, StateStore* store, NetworkReachability* reachability,
                                 QObject* parent)
    : QObject(parent)
    , m_source(std::move(source))
    , m_store(store)
    , m_retry(new CatalogueRetry(this))
    , m_loader(m_source.makeLoader())
{
    if (reachability)
        m_retry->watchNetwork(reachability);
    connect(m_retry, &CatalogueRetry::retryDue, this, &ActiveCatalogue::reloadRequested);
    m_undoTimer.setSingleShot(true);
    connect(&m_undoTimer, &QTimer::timeout, this, &ActiveCatalogue::clearUndo);
    if (m_source.isMyStations())
        seedMyStations();
    watchSource();
}

ActiveCatalogue::~ActiveCatalogue() = default;

QString ActiveCatalogue::sourceAddress() const
{
    if (m_source.isMyStations())
        return {};
    return m_source.url().isLocalFile() ? m_source.url().toLocalFile() : m_source.url().toString();
}

QString ActiveCatalogue::addUnavailableReason() const
{
    if (canEdit())
        return {};
    return tr("The stations come from %1, which Quillora cannot change: copy a station as a CSV row "
                          "and paste it into that spreadsheet.")
        .arg(sourceName());
}

QString ActiveCatalogue::note() const
{
    if (m_status != Status::Failed || !m_showingStations)
        return {};
    if (m_showingStored && m_storedAt)
        return offlineNote(*m_storedAt);
    return m_failureMessage;
}

QString ActiveCatalogue::offlineNote(const QDateTime& loadedAt, const QDateTime& now)
{
    const QDateTime local = loadedAt.toLocalTime();
    // The month in the language the note is in (the default locale follows
    // the translation).
    const QLocale locale;
    const QString format = local.date().year() == now.toLocalTime().date().year() ? tr("d MMMM, HH:mm")
                                                                                   : tr("d MMMM yyyy, HH:mm");
    return tr("Offline: stations from %1").arg(locale.toString(local, format));
}

void ActiveCatalogue::seedMyStations()
{
    const QString error = CatalogueFile(m_source.localPath()).seedIfMissing();
    if (!error.isEmpty())
        printLine(QCoreApplication::translate("ActiveCatalogue", "Cannot create My stations: %1").arg(error));
}

QList<Station> ActiveCatalogue::restoreFromDisk()
{
    if (m_source.isLocal()) {
        const CatalogueFile::Read read = CatalogueFile::read(m_source.localPath());
        if (read.table && !read.failure && !read.table->stations.isEmpty())
            m_ready = std::pair{read.table->stations, CatalogueReport{sourceName(), int(read.table->skipped.size())}};
        return {}; // anything wrong is reported by the load that follows
    }
    if (!m_store)
        return {};
    const std::optional<StoredCatalogue> stored = m_store->lastGoodCatalogue(m_source.storeKey());
    if (!stored || stored->stations.isEmpty())
        return {};
    m_showingStations = true;
    m_showingStored = true;
    m_storedAt = stored->loadedAt;
    m_skippedRows = stored->skippedRows;
    m_stations = stationsOf(stored->stations);
    setStatus(Status::Loaded);
    return m_stations;
}

StationsReply* ActiveCatalogue::load()
{
    if (m_ready) {
        const auto [stations, report] = *std::exchange(m_ready, std::nullopt);
        delivered(stations, report);
        auto* reply = new StationsReply;
        reply->finish(stations, report);
        return reply;
    }
    if (!m_showingStations)
        setStatus(Status::Loading);
    StationsReply* reply = m_loader->load();
    // Heard before the caller, who connects after this returns.
    const auto answered = [this, reply, source = m_source] {
        if (!(source == m_source))
            return; // the player has the new source's catalogue already
        if (reply->failure())
            failed(*reply->failure());
        else
            delivered(reply->stations(), reply->report());
    };
    if (reply->isFinished())
        answered();
    else
        connect(reply, &StationsReply::finished, this, answered);
    return reply;
}

void ActiveCatalogue::delivered(const QList<Station>& stations, const CatalogueReport& report)
{
    m_stations = stations;
    m_skippedRows = report.skippedRows;
    m_showingStations = !stations.isEmpty();
    m_showingStored = false;
    m_retry->loadSucceeded();
    if (m_source.isRemote() && m_store && !stations.isEmpty()) {
        // Kept at once, not when the window next loses focus: this is what
        // the next start shows when the network is down.
        m_store->setLastGoodCatalogue(m_source.storeKey(), rowsOf(stations), report.skippedRows);
        if (const QString error = m_store->save(); !error.isEmpty())
            printLine(QCoreApplication::translate("ActiveCatalogue", "Cannot keep the catalogue in the store: %1").arg(error));
    }
    setStatus(Status::Loaded);
}

void ActiveCatalogue::failed(const LoadFailure& failure)
{
    m_retry->loadFailed(failure, m_showingStations);
    setStatus(Status::Failed, failure.message());
}

void ActiveCatalogue::retry()
{
    m_retry->retryNow();
}

void ActiveCatalogue::useAddress(const QString& text)
{
    const CheckedAddress checked = CatalogueSource::check(text);
    if (!checked.source) {
        // The newest choice is the one that counts: a source still being
        // read from an earlier choice must not take over when it answers.
        cancelSwitch();
        setSwitching(false, checked.error);
        return;
    }
    switchTo(*checked.source);
}

void ActiveCatalogue::useMyStations()
{
    const CatalogueSource mine = CatalogueSource::myStations();
    if (CatalogueFile::read(mine.localPath()).table == std::nullopt)
        CatalogueFile(mine.localPath()).seedIfMissing();
    switchTo(mine);
}

void ActiveCatalogue::switchTo(const CatalogueSource& source)
{
    cancelSwitch();
    setSwitching(true, QString());
    StationsReply* reply = source.makeLoader()->load();
    reply->setParent(this);
    m_probe = reply;
    connect(reply, &StationsReply::finished, this, [this, reply, source] {
        reply->deleteLater();
        m_probe.clear();
        probeAnswered(source, *reply);
    });
}

void ActiveCatalogue::cancelSwitch()
{
    if (!m_probe)
        return;
    m_probe->disconnect(this);
    m_probe->deleteLater();
    m_probe.clear();
}

void ActiveCatalogue::probeAnswered(const CatalogueSource& source, const StationsReply& reply)
{
    if (reply.failure()) {
        setSwitching(false, reply.failure()->message());
        return;
    }
    const QList<Station>& stations = reply.stations();
    if (stations.isEmpty()) {
        setSwitching(false, tr("%1 holds no station.").arg(source.displayName()));
        return;
    }
    const bool changed = !(source == m_source);
    m_source = source;
    m_loader = source.makeLoader();
    m_ready = std::pair{stations, reply.report()};
    m_showingStored = false;
    if (const QString error = CatalogueChoice::remember(source); !error.isEmpty())
        printLine(QCoreApplication::translate("ActiveCatalogue", "Cannot remember the catalogue in the settings: %1").arg(error));
    printLine(QCoreApplication::translate("ActiveCatalogue", "Catalogue: %1").arg(source.isMyStations() ? sourceName() : sourceAddress()));
    if (changed) {
        clearUndo();
        watchSource();
        emit sourceChanged();
    }
    setSwitching(false, QString());
    emit reloadRequested();
}

void ActiveCatalogue::watchSource()
{
    m_file.reset();
    if (!m_source.isLocal())
        return;
    m_file = std::make_unique<CatalogueFile>(m_source.localPath());
    m_file->setWatching(true);
    connect(m_file.get(), &CatalogueFile::changed, this, &ActiveCatalogue::reloadRequested);
}

namespace {

CatalogueFile::Fields fieldsOf(const QVariantMap& map)
{
    return {map.value(QStringLiteral("title")).toString().trimmed(),
            map.value(QStringLiteral("genre")).toString().trimmed(),
            map.value(QStringLiteral("url")).toString().trimmed(),
            map.value(QStringLiteral("image")).toString().trimmed()};
}

} // namespace

QString ActiveCatalogue::checkStation(const QVariantMap& fields) const
{
    return CatalogueFile::validate(fieldsOf(fields));
}

QVariantMap ActiveCatalogue::stationProblems(const QVariantMap& fields) const
{
    const CatalogueFile::Problems found = CatalogueFile::problems(fieldsOf(fields));
    return {{QStringLiteral("title"), found.title},
            {QStringLiteral("url"), found.url},
            {QStringLiteral("image"), found.image}};
}

QString ActiveCatalogue::addStation(const QVariantMap& fields)
{
    if (!m_file)
        return tr("The stations come from %1, which Quillora cannot change.").arg(sourceName());
    // Asked against the file as it is now, not the stations last shown: a
    // second Add before the first has been read back must not add twice.
    const QString url = fieldsOf(fields).url;
    if (const CatalogueFile::Read current = CatalogueFile::read(m_file->path()); current.table) {
        for (const Station& station : current.table->stations) {
            if (station.url.trimmed() == url && !url.isEmpty())
                return tr("“%1” is already in %2.").arg(station.title, sourceName());
        }
    }
    QList<QPair<QString, QString>> extra;
    if (const QString uuid = fields.value(QStringLiteral("uuid")).toString(); !uuid.isEmpty())
        extra.append({QStringLiteral("uuid"), uuid});
    return m_file->add(fieldsOf(fields), extra).error;
}

QString ActiveCatalogue::editStation(qint64 id, const QVariantMap& fields)
{
    if (!m_file)
        return tr("The stations come from %1, which Quillora cannot change.").arg(sourceName());
    CatalogueFile::Changes changes;
    const auto take = [&fields](const char* key, std::optional<QString>& into) {
        if (fields.contains(QLatin1String(key)))
            into = fields.value(QLatin1String(key)).toString().trimmed();
    };
    take("title", changes.title);
    take("genre", changes.genre);
    take("url", changes.url);
    take("image", changes.image);
    return m_file->edit(id, changes).error;
}

QString ActiveCatalogue::removeStation(qint64 id)
{
    if (!m_file)
        return tr("The stations come from %1, which Quillora cannot change.").arg(sourceName());
    CatalogueFile::RemovedRow removed;
    const CatalogueFile::Outcome outcome = m_file->remove(id, &removed);
    if (!outcome.ok())
        return outcome.error;
    QString title;
    for (std::size_t column = 0; column < removed.header.size(); ++column) {
        if (removed.header[column] == "title" && column < removed.row.size())
            title = QString::fromStdString(removed.row[column]);
    }
    m_undo = [this, removed] { return m_file->restore(removed); };
    m_undoText = title.isEmpty() ? tr("Station removed") : tr("Removed “%1”").arg(title);
    m_undoTimer.start(undoSeconds * 1000);
    emit undoChanged();
    return {};
}

QString ActiveCatalogue::moveStation(qint64 id, int position)
{
    if (!m_file)
        return tr("The stations come from %1, which Quillora cannot change.").arg(sourceName());
    std::size_t previous = 0;
    const CatalogueFile::Outcome outcome = m_file->move(id, position, &previous);
    if (!outcome.ok())
        return outcome.error;
    QString title;
    for (const Station& station : std::as_const(m_stations)) {
        if (station.id == id)
            title = station.title;
    }
    m_undo = [this, id, previous] { return m_file->putBack(id, previous); };
    m_undoText = title.isEmpty() ? tr("Station moved") : tr("Moved “%1”").arg(title);
    m_undoTimer.start(undoSeconds * 1000);
    emit undoChanged();
    return {};
}

void ActiveCatalogue::undoRemove()
{
    if (!m_undo)
        return;
    const CatalogueFile::Outcome outcome = m_undo();
    if (!outcome.ok())
        printLine(tr("Cannot undo: %1").arg(outcome.error));
    clearUndo();
}

QVariantMap ActiveCatalogue::importFiles(const QList<QUrl>& files)
{
    QStringList paths;
    for (const QUrl& file : files) {
        if (!file.isLocalFile())
            return {{QStringLiteral("ok"), false},
                    {QStringLiteral("message"), tr("Nothing imported: %1 is not a file on this computer")
                                                    .arg(file.toDisplayString())}};
        paths.append(file.toLocalFile());
    }
    // My stations, whichever catalogue is in use; its own file object when
    // it is, so the rewrite is recognised as ours.
    const bool inUse = m_file && m_file->path() == Config::myStationsFile();
    CatalogueFile other(Config::myStationsFile());
    CatalogueFile& target = inUse ? *m_file : other;
    if (const QString error = target.seedIfMissing(); !error.isEmpty())
        return {{QStringLiteral("ok"), false}, {QStringLiteral("message"), error}};
    const StationImport::Result result = StationImport::runFiles(paths, target);
    printLine(result.summary());
    if (result.ok() && !result.ids.isEmpty()) {
        clearUndo();
        // My stations, whichever catalogue is in use by then.
        m_undo = [this, ids = result.ids] {
            const bool inUse = m_file && m_file->path() == Config::myStationsFile();
            CatalogueFile other(Config::myStationsFile());
            return (inUse ? *m_file : other).removeAll(ids);
        };
        m_undoText = result.summary();
        m_undoTimer.start(undoSeconds * 1000);
        emit undoChanged();
    }
    return {{QStringLiteral("ok"), result.ok()}, {QStringLiteral("message"), result.summary()}};
}

bool ActiveCatalogue::isImportable(const QUrl& file) const
{
    if (!file.isLocalFile())
        return false;
    const CatalogueFile::Read read = CatalogueFile::read(file.toLocalFile());
    if (read.table && !read.failure)
        return false;
    QFile bytes(file.toLocalFile());
    return bytes.open(QIODevice::ReadOnly)
        && StationExchange::read(bytes.read(std::min<qint64>(bytes.size(), StationExchange::maxBytes) + 1)).ok();
}

QVariantMap ActiveCatalogue::exportStations(const QUrl& file, const QString& format)
{
    const QString path = file.isLocalFile() ? file.toLocalFile() : file.toString();
    std::optional<StationExchange::Format> chosen = StationExchange::writableFormat(QFileInfo(path).suffix());
    if (!chosen)
        chosen = StationExchange::writableFormat(format);
    if (!chosen)
        chosen = StationExchange::Format::m3u;
    const QString error = CatalogueFile::writeAtomically(path, StationExchange::write(*chosen, m_stations));
    if (!error.isEmpty())
        return {{QStringLiteral("ok"), false}, {QStringLiteral("message"), error}};
    return {{QStringLiteral("ok"), true},
            {QStringLiteral("message"),
             tr("Exported %n station(s) to %1", nullptr, int(m_stations.size())).arg(QFileInfo(path).fileName())}};
}

void ActiveCatalogue::clearUndo()
{
    m_undoTimer.stop();
    if (!m_undo)
        return;
    m_undo = nullptr;
    m_undoText.clear();
    emit undoChanged();
}

QString ActiveCatalogue::csvRow(const QVariantMap& fields, const QList<Station>& stations)
{
    qint64 highest = 0;
    for (const Station& station : stations)
        highest = std::max<qint64>(highest, station.id);
    const auto text = [&fields](const char* key) {
        return fields.value(QLatin1String(key)).toString().trimmed().toStdString();
    };
    auto stream = std::make_shared<csv::MemoryOutputStream>();
    stream->open();
    {
        csv::CSVWriter writer(stream);
        writer.writeRow({std::to_string(highest + 1), text("url"), text("image"), text("genre"), text("title"),
                         text("uuid")});
    }
    return QString::fromStdString(stream->data());
}

void ActiveCatalogue::setStatus(Status status, const QString& failureMessage)
{
    // Emitted even without a change of status: the skipped rows or the note
    // may have changed.
    m_status = status;
    m_failureMessage = failureMessage;
    emit statusChanged();
}

void ActiveCatalogue::setSwitching(bool switching, const QString& error)
{
    if (switching == m_switching && error == m_switchError)
        return;
    m_switching = switching;
    m_switchError = error;
    emit switchingChanged();
}
