#include "Model/RecentlyPlayed.h"

#include "Diagnostics/Diagnostics.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLocale>

RecentlyPlayed::RecentlyPlayed(SongHistory* history, QObject* parent)
    : QAbstractListModel(parent)
    , m_history(history)
{
    if (!m_history)
        return;
    for (const PlayedSong& played : m_history->newest(limit))
        m_entries.append({played.playedAt, played.station, played.song, played.recording, played.saved});
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
    if (m_history)
        report(m_history->add({entry.playedAt, entry.station, entry.song, {}, false}, limit));
}

void RecentlyPlayed::clear()
{
    if (m_entries.isEmpty())
        return;
    beginResetModel();
    m_entries.clear();
    endResetModel();
    emit countChanged();
    if (m_history)
        report(m_history->clear());
}

void RecentlyPlayed::report(const QString& error)
{
    if (!error.isEmpty())
        printLine(QCoreApplication::translate("RecentlyPlayed", "Cannot keep the recently played songs: %1").arg(error));
}

void RecentlyPlayed::markKept(const QString& station, const QString& song, const QString& path, bool saved)
{
    for (qsizetype row = 0; row < m_entries.size(); ++row) {
        Entry& entry = m_entries[row];
        if (entry.station == station && entry.song == song) {
            entry.recording = path;
            entry.saved = saved;
            emit dataChanged(index(int(row)), index(int(row)), {RecordingRole, SavedRole});
            if (m_history)
                report(m_history->setRecording(station, song, path, saved));
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
    if (m_history)
        report(m_history->moveRecording(cachedPath, path));
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
    // A file deleted or moved since (the cache keeps only the newest, the
    // listener tidies the folder) offers nothing.
    case RecordingRole:
        return !entry.recording.isEmpty() && QFileInfo::exists(entry.recording) ? entry.recording : QString();
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
