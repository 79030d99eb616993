#include "Model/StationListModel.h"

#include <algorithm>

StationListModel::StationListModel(QObject* parent)
    : QAbstractListModel(parent)
{
}

void StationListModel::setStations(const QList<Station>& stations)
{
    const bool sameIds = stations.size() == m_stations.size()
        && std::equal(stations.cbegin(), stations.cend(), m_stations.cbegin(),
                      [](const Station& a, const Station& b) { return a.id == b.id; });
    if (sameIds) {
        for (qsizetype row = 0; row < stations.size(); ++row) {
            const Station& now = stations[row];
            const Station& before = m_stations[row];
            if (now.url == before.url && now.image == before.image && now.genre == before.genre
                && now.title == before.title)
                continue;
            m_stations[row] = now;
            const QModelIndex changed = index(static_cast<int>(row));
            emit dataChanged(changed, changed);
        }
        return;
    }
    const int countBefore = count();
    beginResetModel();
    m_stations = stations;
    endResetModel();
    if (count() != countBefore)
        emit countChanged();
}

int StationListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : count();
}

QVariant StationListModel::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const Station& station = m_stations[index.row()];
    switch (role) {
    case StationRole:
        return QVariant::fromValue(station);
    case StationIdRole:
        return QVariant::fromValue<qint64>(station.id);
    case UrlRole:
        return station.url;
    case ImageRole:
        return station.image;
    case GenreRole:
        return station.genre;
    case Qt::DisplayRole:
    case TitleRole:
        return station.title;
    default:
        return {};
    }
}

QHash<int, QByteArray> StationListModel::roleNames() const
{
    return {{StationRole, "station"}, {StationIdRole, "stationId"}, {UrlRole, "url"},
            {ImageRole, "image"},     {GenreRole, "genre"},         {TitleRole, "title"}};
}
