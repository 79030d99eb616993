#include "Catalogue/CatalogueFile.h"

#include "Catalogue/StarterCatalogue.h"
#include "Diagnostics/Diagnostics.h"
#include "Network/WebAddress.h"

#include "CSV/CSV.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QSet>
#include <QUrl>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <limits>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QByteArray digest(const QByteArray& bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256);
}

// The file's bytes, or none when it cannot be read (or is too large to be
// a catalogue, which read() reports).
std::optional<QByteArray> readBytes(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    // read(n) reserves all n bytes at once: ask for no more than the file holds.
    QByteArray bytes = file.read(std::min<qint64>(file.size(), CatalogueTable::maxBytes) + 1);
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return bytes;
}

// One line of text for a field: spreadsheet cells may hold line breaks, a
// title should not.
std::string oneLine(const QString& text)
{
    QString line = text;
    line.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    return line.trimmed().toStdString();
}

QString errnoText(int error)
{
    return qt_error_string(error);
}

std::optional<std::size_t> rowIndexOf(const CatalogueTable& table, qint64 id)
{
    for (std::size_t i = 0; i < table.rows.size(); ++i) {
        if (table.rowId(table.rows[i]) == id)
            return i;
    }
    return std::nullopt;
}

std::optional<qint64> nextId(const CatalogueTable& table)
{
    qint64 highest = 0;
    for (const CatalogueTable::Row& row : table.rows) {
        if (const auto id = table.rowId(row))
            highest = std::max(highest, *id);
    }
    if (highest == std::numeric_limits<qint64>::max())
        return std::nullopt;
    return highest + 1;
}

} // namespace

CatalogueFile::CatalogueFile(QString path, QObject* parent)
    : QObject(parent)
    , m_path(std::move(path))
{
    m_settle.setSingleShot(true);
    m_settle.setInterval(300);
    connect(&m_settle, &QTimer::timeout, this, &CatalogueFile::checkForChange);
}

CatalogueFile::~CatalogueFile() = default;

QString CatalogueFile::displayName() const
{
    return QFileInfo(m_path).fileName();
}

CatalogueFile::Read CatalogueFile::read(const QString& path)
{
    Read result;
    LoadFailure failure;
    failure.localFile = true;
    failure.source = QFileInfo(path).fileName();
    const QFileInfo info(path);
    if (!info.exists()) {
        failure.reason = LoadFailure::Reason::fileMissing;
        failure.detail = path;
        result.failure = failure;
        return result;
    }
    if (info.isDir()) {
        failure.reason = LoadFailure::Reason::fileUnreadable;
        failure.detail = QStringLiteral("%1 is a folder").arg(path);
        result.failure = failure;
        return result;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        failure.reason = LoadFailure::Reason::fileUnreadable;
        failure.detail = file.errorString();
        result.failure = failure;
        return result;
    }
    if (file.size() > CatalogueTable::maxBytes) {
        failure.reason = LoadFailure::Reason::tooLarge;
        result.failure = failure;
        return result;
    }
    // read(n) reserves all n bytes at once: ask for what the file holds, and
    // one more should it grow meanwhile.
    const QByteArray bytes = file.read(file.size() + 1);
    if (file.error() != QFileDevice::NoError) {
        failure.reason = LoadFailure::Reason::fileUnreadable;
        failure.detail = file.errorString();
        result.failure = failure;
        return result;
    }
    if (bytes.size() > CatalogueTable::maxBytes) {
        failure.reason = LoadFailure::Reason::tooLarge;
        result.failure = failure;
        return result;
    }
    CatalogueTable::Parsed parsed = CatalogueTable::parse(bytes);
    if (!parsed.problem.isEmpty()) {
        failure.reason = LoadFailure::Reason::notAStationList;
        failure.detail = parsed.problem;
        result.failure = failure;
    }
    result.table = std::move(parsed.table);
    return result;
}

QString CatalogueFile::seedIfMissing()
{
    const QFileInfo info(m_path);
    if (info.exists() || info.isSymLink())
        return {};
    if (!QDir().mkpath(info.absolutePath()))
        return QCoreApplication::translate("CatalogueFile", "Could not create the folder %1").arg(info.absolutePath());
    const QByteArray starter = StarterCatalogue::bytes();
    if (starter.isEmpty())
        return QCoreApplication::translate("CatalogueFile", "The starter catalogue is missing from the application");
    const QString error = writeAtomically(m_path, starter);
    if (!error.isEmpty())
        return error;
    m_lastSeenDigest = digest(starter);
    printLine(QCoreApplication::translate("CatalogueFile", "Created %1 from the starter catalogue").arg(m_path));
    return {};
}

CatalogueFile::Problems CatalogueFile::problems(const Fields& fields)
{
    Problems found;
    if (fields.title.trimmed().isEmpty())
        found.title = tr("A station needs a title.");
    if (!net::webAddress(fields.url))
        found.url = tr("The stream address must be an http:// or https:// address.");
    if (!fields.image.trimmed().isEmpty() && !net::webAddress(fields.image))
        found.image = tr("The logo address must be empty or an http:// or https:// address.");
    return found;
}

QString CatalogueFile::validate(const Fields& fields)
{
    const Problems found = problems(fields);
    for (const QString* problem : {&found.title, &found.url, &found.image}) {
        if (!problem->isEmpty())
            return *problem;
    }
    return {};
}

std::optional<CatalogueTable> CatalogueFile::readForEdit(QString* error) const
{
    Read current = read(m_path);
    if (current.table)
        return std::move(current.table);
    const bool missing = current.failure && current.failure->reason == LoadFailure::Reason::fileMissing;
    if (missing || QFileInfo(m_path).size() == 0) {
        // The file was deleted or emptied: an edit starts a new one.
        CatalogueTable table;
        table.header = {"id", "url", "image", "genre", "title"};
        return table;
    }
    *error = tr("Could not read %1: %2").arg(displayName(), current.failure->detail.isEmpty()
                                                                           ? current.failure->reasonText()
                                                                           : current.failure->detail);
    return std::nullopt;
}

CatalogueFile::Outcome CatalogueFile::add(const Fields& fields, const QList<QPair<QString, QString>>& extraColumns)
{
    if (const QString problem = validate(fields); !problem.isEmpty())
        return {problem};
    QString error;
    std::optional<CatalogueTable> table = readForEdit(&error);
    if (!table)
        return {error};
    const std::optional<qint64> id = nextId(*table);
    if (!id)
        return {tr("No id is left for a new station.")};

    CatalogueTable::Row row(table->header.size());
    CatalogueTable::setField(row, table->ensureColumn("id"), std::to_string(*id));
    CatalogueTable::setField(row, table->ensureColumn("url"), oneLine(fields.url));
    if (!fields.image.trimmed().isEmpty() || table->column("image"))
        CatalogueTable::setField(row, table->ensureColumn("image"), oneLine(fields.image));
    if (!fields.genre.trimmed().isEmpty() || table->column("genre"))
        CatalogueTable::setField(row, table->ensureColumn("genre"), oneLine(fields.genre));
    CatalogueTable::setField(row, table->ensureColumn("title"), oneLine(fields.title));
    for (const auto& [name, value] : extraColumns)
        CatalogueTable::setField(row, table->ensureColumn(name.toStdString()), oneLine(value));
    table->rows.push_back(std::move(row));
    return write(*table, *id);
}

CatalogueFile::Batch CatalogueFile::addAll(const QList<Fields>& stations)
{
    Batch batch;
    std::optional<CatalogueTable> table = readForEdit(&batch.error);
    if (!table)
        return batch;
    std::optional<qint64> id = nextId(*table);
    const std::size_t urlColumn = table->ensureColumn("url");
    QSet<QString> known;
    for (const CatalogueTable::Row& row : table->rows)
        known.insert(QString::fromStdString(CatalogueTable::field(row, urlColumn)).trimmed());
    const std::size_t idColumn = table->ensureColumn("id");
    const std::size_t imageColumn = table->ensureColumn("image");
    const std::size_t genreColumn = table->ensureColumn("genre");
    const std::size_t titleColumn = table->ensureColumn("title");
    for (const Fields& fields : stations) {
        const QString url = fields.url.trimmed();
        if (known.contains(url)) {
            ++batch.duplicates;
            continue;
        }
        if (!id) {
            batch.error = QCoreApplication::translate("CatalogueFile", "No id is left for a new station.");
            return batch;
        }
        known.insert(url);
        CatalogueTable::Row row(table->header.size());
        CatalogueTable::setField(row, idColumn, std::to_string(*id));
        CatalogueTable::setField(row, urlColumn, oneLine(url));
        CatalogueTable::setField(row, imageColumn, oneLine(fields.image));
        CatalogueTable::setField(row, genreColumn, oneLine(fields.genre));
        CatalogueTable::setField(row, titleColumn, oneLine(fields.title));
        table->rows.push_back(std::move(row));
        batch.ids.append(*id);
        id = *id == std::numeric_limits<qint64>::max() ? std::nullopt : std::optional<qint64>(*id + 1);
    }
    if (batch.ids.isEmpty())
        return batch; // nothing new: the file stays as it is
    batch.error = write(*table, batch.ids.first()).error;
    if (!batch.ok())
        batch.ids.clear();
    return batch;
}

CatalogueFile::Outcome CatalogueFile::removeAll(const QList<qint64>& ids)
{
    QString error;
    std::optional<CatalogueTable> table = readForEdit(&error);
    if (!table)
        return {error};
    const QSet<qint64> removed(ids.begin(), ids.end());
    const auto kept = std::remove_if(table->rows.begin(), table->rows.end(), [&](const CatalogueTable::Row& row) {
        const std::optional<qint64> id = table->rowId(row);
        return id && removed.contains(*id);
    });
    if (kept == table->rows.end())
        return {};
    table->rows.erase(kept, table->rows.end());
    return write(*table, 0);
}

CatalogueFile::Outcome CatalogueFile::edit(qint64 id, const Changes& changes)
{
    QString error;
    std::optional<CatalogueTable> table = readForEdit(&error);
    if (!table)
        return {error};
    const std::optional<std::size_t> index = rowIndexOf(*table, id);
    if (!index)
        return {tr("There is no station with id %1 in %2.").arg(id).arg(displayName())};
    CatalogueTable::Row& row = table->rows[*index];
    const auto current = [&](std::string_view name) {
        const auto column = table->column(name);
        return column ? QString::fromStdString(CatalogueTable::field(row, *column)) : QString();
    };
    const Fields result{changes.title.value_or(current("title")), changes.genre.value_or(current("genre")),
                        changes.url.value_or(current("url")), changes.image.value_or(current("image"))};
    if (const QString problem = validate(result); !problem.isEmpty())
        return {problem};
    const auto set = [&](std::string_view name, const std::optional<QString>& value) {
        if (value && (!value->trimmed().isEmpty() || table->column(name)))
            CatalogueTable::setField(row, table->ensureColumn(name), oneLine(*value));
    };
    set("title", changes.title);
    set("genre", changes.genre);
    set("url", changes.url);
    set("image", changes.image);
    return write(*table, id);
}

CatalogueFile::Outcome CatalogueFile::remove(qint64 id, RemovedRow* removed)
{
    QString error;
    std::optional<CatalogueTable> table = readForEdit(&error);
    if (!table)
        return {error};
    const std::optional<std::size_t> index = rowIndexOf(*table, id);
    if (!index)
        return {tr("There is no station with id %1 in %2.").arg(id).arg(displayName())};
    RemovedRow row{id, *index, table->header, table->rows[*index]};
    table->rows.erase(table->rows.begin() + std::ptrdiff_t(*index));
    Outcome outcome = write(*table, id);
    if (outcome.ok() && removed)
        *removed = std::move(row);
    return outcome;
}

CatalogueFile::Outcome CatalogueFile::restore(const RemovedRow& removed)
{
    QString error;
    std::optional<CatalogueTable> table = readForEdit(&error);
    if (!table)
        return {error};
    CatalogueTable::Row row;
    if (table->header == removed.header) {
        row = removed.row;
    } else {
        // The columns changed meanwhile: put each field under its name.
        row.resize(table->header.size());
        for (std::size_t i = 0; i < removed.row.size(); ++i) {
            const std::size_t column = i < removed.header.size() ? table->ensureColumn(removed.header[i])
                                                                 : std::max(row.size(), table->header.size());
            CatalogueTable::setField(row, column, removed.row[i]);
        }
    }
    qint64 id = removed.id;
    if (rowIndexOf(*table, id)) {
        const std::optional<qint64> fresh = nextId(*table);
        if (!fresh)
            return {tr("No id is left for the station.")};
        id = *fresh;
        CatalogueTable::setField(row, table->ensureColumn("id"), std::to_string(id));
    }
    const std::size_t index = std::min(removed.index, table->rows.size());
    table->rows.insert(table->rows.begin() + std::ptrdiff_t(index), std::move(row));
    return write(*table, id);
}

CatalogueFile::Outcome CatalogueFile::move(qint64 id, int position, std::size_t* previousRow)
{
    QString error;
    std::optional<CatalogueTable> table = readForEdit(&error);
    if (!table)
        return {error};
    // The rows that carry a station, in file order: the order a person sees.
    QSet<qint64> stationIds;
    for (const Station& station : std::as_const(table->stations))
        stationIds.insert(station.id);
    const std::optional<std::size_t> from = rowIndexOf(*table, id);
    if (!from || !stationIds.contains(id))
        return {tr("There is no station with id %1 in %2.").arg(id).arg(displayName())};
    if (previousRow)
        *previousRow = *from;

    CatalogueTable::Row row = std::move(table->rows[*from]);
    table->rows.erase(table->rows.begin() + std::ptrdiff_t(*from));
    std::vector<std::size_t> others;
    for (std::size_t i = 0; i < table->rows.size(); ++i) {
        if (const auto rowId = table->rowId(table->rows[i]); rowId && stationIds.contains(*rowId))
            others.push_back(i);
    }
    // Before the station now at that position, or at the end: a row without
    // a station stays after the row it followed, unless that row moved.
    position = std::max(position, 0);
    const std::size_t to = std::size_t(position) < others.size() ? others[std::size_t(position)] : table->rows.size();
    const bool stays = std::size_t(std::count_if(others.begin(), others.end(), [&](std::size_t i) { return i < *from; }))
        == std::min<std::size_t>(std::size_t(position), others.size());
    if (stays)
        return {QString(), id}; // already at that position: nothing to write
    table->rows.insert(table->rows.begin() + std::ptrdiff_t(to), std::move(row));
    return write(*table, id);
}

CatalogueFile::Outcome CatalogueFile::putBack(qint64 id, std::size_t row)
{
    QString error;
    std::optional<CatalogueTable> table = readForEdit(&error);
    if (!table)
        return {error};
    const std::optional<std::size_t> from = rowIndexOf(*table, id);
    if (!from)
        return {tr("There is no station with id %1 in %2.").arg(id).arg(displayName())};
    CatalogueTable::Row moved = std::move(table->rows[*from]);
    table->rows.erase(table->rows.begin() + std::ptrdiff_t(*from));
    row = std::min(row, table->rows.size());
    table->rows.insert(table->rows.begin() + std::ptrdiff_t(row), std::move(moved));
    return write(*table, id);
}

CatalogueFile::Outcome CatalogueFile::write(const CatalogueTable& table, qint64 id)
{
    const QByteArray bytes = table.serialize();
    const QString error = writeAtomically(m_path, bytes);
    if (!error.isEmpty()) {
        printLine(error);
        return {error};
    }
    // The watcher will see this write too; by its content it is ours.
    m_lastSeenDigest = digest(bytes);
    emit changed();
    return {QString(), id};
}

QString CatalogueFile::writeAtomically(const QString& path, const QByteArray& bytes)
{
    const QFileInfo info(path);
    // Replacing a symbolic link would cut the user's link to wherever they
    // keep the real file.
    QString target = info.absoluteFilePath();
    if (info.isSymLink())
        target = info.exists() ? info.canonicalFilePath() : info.symLinkTarget();
    const QFileInfo targetInfo(target);
    const QString failed = tr("Could not save %1: %2").arg(info.fileName());
    QByteArray temporary = QFile::encodeName(targetInfo.absolutePath() + QStringLiteral("/.")
                                             + targetInfo.fileName() + QStringLiteral(".XXXXXX"));
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0)
        return failed.arg(errnoText(errno));

    const auto abandon = [&](int error) {
        ::close(fd);
        ::unlink(temporary.constData());
        return failed.arg(errnoText(error));
    };
    // Keep the permissions of the file being replaced.
    struct stat existing {};
    const mode_t mode = ::stat(QFile::encodeName(target).constData(), &existing) == 0 ? (existing.st_mode & 07777)
                                                                                      : 0644;
    if (::fchmod(fd, mode) != 0)
        return abandon(errno);
    {
        csv::FileDescriptorOutputStream out(fd, false);
        out.open();
        const std::ptrdiff_t written =
            out.write(reinterpret_cast<const std::uint8_t*>(bytes.constData()), std::size_t(bytes.size()));
        if (written != bytes.size()) {
            const std::optional<std::error_code> error = out.streamError();
            return abandon(error ? error->value() : EIO);
        }
    }
    if (::fsync(fd) != 0)
        return abandon(errno);
    if (::close(fd) != 0) {
        const int error = errno;
        ::unlink(temporary.constData());
        return failed.arg(errnoText(error));
    }
    if (::rename(temporary.constData(), QFile::encodeName(target).constData()) != 0) {
        const int error = errno;
        ::unlink(temporary.constData());
        return failed.arg(errnoText(error));
    }
    // The rename itself is on the disk once the folder is.
    const int folder = ::open(QFile::encodeName(targetInfo.absolutePath()).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        ::fsync(folder);
        ::close(folder);
    }
    return {};
}

void CatalogueFile::setWatching(bool watching)
{
    if (watching == isWatching())
        return;
    if (!watching) {
        delete m_watcher;
        m_watcher = nullptr;
        m_settle.stop();
        return;
    }
    m_watcher = new QFileSystemWatcher(this);
    // The folder too: a program that saves by renaming a new file over the
    // old one ends the watch on the old file.
    connect(m_watcher, &QFileSystemWatcher::fileChanged, &m_settle, qOverload<>(&QTimer::start));
    connect(m_watcher, &QFileSystemWatcher::directoryChanged, &m_settle, qOverload<>(&QTimer::start));
    watchPaths();
    m_lastSeenDigest = digest(readBytes(m_path).value_or(QByteArray()));
}

void CatalogueFile::watchPaths()
{
    if (!m_watcher)
        return;
    const QFileInfo info(m_path);
    const QString folder = info.absolutePath();
    if (!m_watcher->directories().contains(folder) && QFileInfo(folder).isDir())
        m_watcher->addPath(folder);
    if (!m_watcher->files().contains(m_path) && info.exists())
        m_watcher->addPath(m_path);
}

void CatalogueFile::checkForChange()
{
    watchPaths();
    const QByteArray now = digest(readBytes(m_path).value_or(QByteArray()));
    if (now == m_lastSeenDigest)
        return;
    m_lastSeenDigest = now;
    emit changed();
}
