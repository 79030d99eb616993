#include "Model/RecentlyPlayed.h"

#include "Diagnostics/Diagnostics.h"

#include <QLocale>

RecentlyPlayed::RecentlyPlayed(SongHistory* history, QObject* parent)
    : QAbstractListModel(parent)
    , m_history(history)
{
    if (m_history)
        m_entries = m_history->newest(limit);
}

void RecentlyPlayed::add(const QString& station, const QString& song, const QDateTime& playedAt)
{
    if (song.isEmpty())
        return;
    const Entry entry{playedAt.toUTC(), station, song};
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
        report(m_history->add(entry, limit));
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
        printLine(QStringLiteral("Cannot keep the recently played songs: %1").arg(error));
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
    case Qt::DisplayRole:
    case SongRole:
        return entry.song;
    default:
        return {};
    }
}

QHash<int, QByteArray> RecentlyPlayed::roleNames() const
{
    return {{TimeRole, "time"}, {TimeTextRole, "timeText"}, {StationRole, "station"}, {SongRole, "song"}};
}
