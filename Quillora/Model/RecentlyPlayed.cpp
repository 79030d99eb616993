#include "Model/RecentlyPlayed.h"

#include "Store/Database.h"
#include "Diagnostics/Diagnostics.h"

#include <QLocale>
#include <QSqlError>
#include <QSqlQuery>

namespace {

QString execOrError(QSqlQuery& query)
{
    return query.exec() ? QString() : query.lastError().text();
}

} // namespace

RecentlyPlayed::RecentlyPlayed(Database* container, QObject* parent)
    : QAbstractListModel(parent)
    , m_container(container)
{
    if (!m_container)
        return;
    QSqlQuery query(m_container->writeContext().database());
    query.prepare(QStringLiteral("SELECT played_at, station, song FROM recently_played ORDER BY id DESC LIMIT ?"));
    query.addBindValue(limit);
    if (!query.exec()) {
        printLine(QStringLiteral("Cannot read the recently played songs: %1").arg(query.lastError().text()));
        return;
    }
    while (query.next()) {
        m_entries.append({QDateTime::fromMSecsSinceEpoch(query.value(0).toLongLong(), Qt::UTC),
                          query.value(1).toString(), query.value(2).toString(), QString(), false});
    }
}

void RecentlyPlayed::add(const QString& station, const QString& song, const QDateTime& playedAt)
{
    if (song.isEmpty())
        return;
    const Entry entry{playedAt.toUTC(), station, song, QString(), false};
    beginInsertRows({}, 0, 0);
    m_entries.prepend(entry);
    endInsertRows();
    if (m_entries.size() > limit) {
        beginRemoveRows({}, limit, int(m_entries.size()) - 1);
        m_entries.resize(limit);
        endRemoveRows();
    }
    emit countChanged();
    write(QStringLiteral("recently played %1").arg(++m_writes), [entry](QSqlDatabase& db) {
        QSqlQuery query(db);
        query.prepare(QStringLiteral("INSERT INTO recently_played (played_at, station, song) VALUES (?, ?, ?)"));
        query.addBindValue(entry.playedAt.toMSecsSinceEpoch());
        query.addBindValue(entry.station);
        query.addBindValue(entry.song);
        if (QString error = execOrError(query); !error.isEmpty())
            return error;
        query.prepare(QStringLiteral("DELETE FROM recently_played WHERE id NOT IN "
                                     "(SELECT id FROM recently_played ORDER BY id DESC LIMIT ?)"));
        query.addBindValue(limit);
        return execOrError(query);
    });
}

void RecentlyPlayed::clear()
{
    if (m_entries.isEmpty())
        return;
    beginResetModel();
    m_entries.clear();
    endResetModel();
    emit countChanged();
    write(QStringLiteral("recently played %1").arg(++m_writes), [](QSqlDatabase& db) {
        QSqlQuery query(db);
        query.prepare(QStringLiteral("DELETE FROM recently_played"));
        return execOrError(query);
    });
}

void RecentlyPlayed::write(const QString& key, std::function<QString(QSqlDatabase&)> change)
{
    if (!m_container)
        return;
    WriteContext& context = m_container->writeContext();
    context.stage(key, std::move(change));
    if (const QString error = context.save(); !error.isEmpty())
        printLine(QStringLiteral("Cannot keep the recently played songs: %1").arg(error));
}

void RecentlyPlayed::markKept(const QString& station, const QString& song, const QString& path, bool saved)
{
    for (qsizetype row = 0; row < m_entries.size(); ++row) {
        Entry& entry = m_entries[row];
        if (entry.station == station && entry.song == song) {
            entry.recording = path;
            entry.saved = saved;
            emit dataChanged(index(int(row)), index(int(row)), {RecordingRole, SavedRole});
            return;
        }
    }
}

void RecentlyPlayed::markSaved(const QString& cachedPath, const QString& path)
{
    for (qsizetype row = 0; row < m_entries.size(); ++row) {
        Entry& entry = m_entries[row];
        if (entry.recording == cachedPath) {
            entry.recording = path;
            entry.saved = true;
            emit dataChanged(index(int(row)), index(int(row)), {RecordingRole, SavedRole});
        }
    }
}

QString RecentlyPlayed::textAt(int row) const
{
    if (row < 0 || row >= m_entries.size())
        return {};
    const Entry& entry = m_entries[row];
    return QStringLiteral("%1 — %2 (%3)")
        .arg(entry.song, entry.station, QLocale().toString(entry.playedAt.toLocalTime().time(), QLocale::ShortFormat));
}

int RecentlyPlayed::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : count();
}

QVariant RecentlyPlayed::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const Entry& entry = m_entries[index.row()];
    switch (role) {
    case TimeRole:
        return entry.playedAt;
    case TimeTextRole: {
        const QDateTime local = entry.playedAt.toLocalTime();
        const QLocale locale;
        // Today's songs by their time; older ones with their day.
        return local.date() == QDate::currentDate()
            ? locale.toString(local.time(), QLocale::ShortFormat)
            : locale.toString(local, QStringLiteral("d MMM, ")) + locale.toString(local.time(), QLocale::ShortFormat);
    }
    case StationRole:
        return entry.station;
    case RecordingRole:
        return entry.recording;
    case SavedRole:
        return entry.saved;
    case Qt::DisplayRole:
    case SongRole:
        return entry.song;
    default:
        return {};
    }
}

QHash<int, QByteArray> RecentlyPlayed::roleNames() const
{
    return {{TimeRole, "time"}, {TimeTextRole, "timeText"}, {StationRole, "station"}, {SongRole, "song"},
            {RecordingRole, "recording"}, {SavedRole, "saved"}};
}
