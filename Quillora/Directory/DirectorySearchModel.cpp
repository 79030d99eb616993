#include "Directory/DirectorySearchModel.h"

DirectorySearchModel::DirectorySearchModel(DirectoryClient* client, QObject* parent)
    : QAbstractListModel(parent)
    , m_client(client)
{
}

DirectorySearchModel::~DirectorySearchModel()
{
    if (m_page)
        m_page->abort();
    if (m_tagsReply)
        m_tagsReply->abort();
}

void DirectorySearchModel::search(const QString& text, const QString& tag, const QString& countryCode)
{
    if (m_page)
        m_page->abort(); // its answer must never land in the new list
    const DirectorySearch next{text.trimmed(), tag.trimmed(), DirectoryCleaning::countryCode(countryCode)};
    const bool changed = !(next == m_search);
    m_search = next;
    m_searched = true;
    const bool hadRows = !m_stations.isEmpty();
    beginResetModel();
    m_stations.clear();
    m_uuids.clear();
    m_nextOffset = 0;
    m_moreAvailable = false;
    m_emptyPagesInRow = 0;
    endResetModel();
    if (hadRows)
        emit countChanged();
    if (changed)
        emit searchChanged();
    requestPage();
}

void DirectorySearchModel::retry()
{
    if (m_status == Error && m_searched)
        requestPage();
}

void DirectorySearchModel::requestPage()
{
    if (!m_client) {
        setStatus(Error, DirectoryReply::messageFor(DirectoryReply::Error::Unreachable));
        return;
    }
    m_page = m_client->searchStations(m_search, m_nextOffset, pageSize);
    connect(m_page, &DirectoryReply::finished, this, &DirectorySearchModel::pageFinished);
    setStatus(Loading);
}

void DirectorySearchModel::pageFinished()
{
    auto* reply = qobject_cast<DirectoryReply*>(sender());
    if (!reply || reply != m_page)
        return; // an older search's late answer
    m_page = nullptr;
    if (reply->error() != DirectoryReply::Error::None) {
        setStatus(Error, reply->errorMessage());
        return;
    }
    const DirectoryAnswer& answer = reply->answer();
    // Paging follows what the directory sent, usable or not: a page with a
    // broken station still has a next page.
    m_nextOffset += static_cast<int>(answer.received);
    m_moreAvailable = answer.received >= pageSize;
    QList<DirectoryStation> fresh;
    for (const DirectoryStation& station : answer.stations) {
        // The order by clicks shifts between pages: a station seen on an
        // earlier page is not shown twice.
        if (!station.stationUuid.isEmpty()) {
            if (m_uuids.contains(station.stationUuid))
                continue;
            m_uuids.insert(station.stationUuid);
        }
        fresh.append(station);
    }
    if (!fresh.isEmpty()) {
        const int first = count();
        beginInsertRows({}, first, first + static_cast<int>(fresh.size()) - 1);
        m_stations.append(fresh);
        endInsertRows();
        emit countChanged();
    }
    // A page of nothing but broken or repeated stations gives the list no
    // row to scroll to, so nothing would ask for the next one: ask now, a
    // few pages at most.
    m_emptyPagesInRow = fresh.isEmpty() ? m_emptyPagesInRow + 1 : 0;
    if (fresh.isEmpty() && m_moreAvailable && m_emptyPagesInRow < maxEmptyPagesInRow) {
        requestPage();
        return;
    }
    if (m_emptyPagesInRow >= maxEmptyPagesInRow)
        m_moreAvailable = false;
    if (m_stations.isEmpty() && !m_moreAvailable)
        setStatus(Empty, tr("No stations found"));
    else
        setStatus(Loaded);
}

bool DirectorySearchModel::canFetchMore(const QModelIndex& parent) const
{
    return !parent.isValid() && m_moreAvailable && !m_page && m_status != Error;
}

void DirectorySearchModel::fetchMore(const QModelIndex& parent)
{
    if (canFetchMore(parent))
        requestPage();
}

void DirectorySearchModel::loadPopularTags()
{
    if (!m_client || m_tagsReply)
        return;
    m_tagsReply = m_client->popularTags(popularTagCount);
    connect(m_tagsReply, &DirectoryReply::finished, this, [this] {
        auto* reply = qobject_cast<DirectoryReply*>(sender());
        if (!reply || reply != m_tagsReply)
            return;
        m_tagsReply = nullptr;
        // Without tags the sheet simply shows no tag chips.
        if (reply->error() != DirectoryReply::Error::None || reply->answer().tags == m_popularTags)
            return;
        m_popularTags = reply->answer().tags;
        emit popularTagsChanged();
    });
}

DirectoryStation DirectorySearchModel::stationAt(int row) const
{
    return row >= 0 && row < count() ? m_stations.at(row) : DirectoryStation();
}

QVariantMap DirectorySearchModel::catalogueRowAt(int row) const
{
    if (row < 0 || row >= count())
        return {};
    const DirectoryCatalogueRow entry = m_stations.at(row).catalogueRow();
    return {{QStringLiteral("url"), entry.url},
            {QStringLiteral("image"), entry.image},
            {QStringLiteral("genre"), entry.genre},
            {QStringLiteral("title"), entry.title},
            {QStringLiteral("uuid"), entry.uuid}};
}

Station DirectorySearchModel::playableStationAt(int row) const
{
    if (row < 0 || row >= count())
        return {};
    const DirectoryCatalogueRow entry = m_stations.at(row).catalogueRow();
    return Station{-1, entry.url, entry.image, entry.genre, entry.title, entry.uuid};
}

QString DirectorySearchModel::countryCodeOf(const QLocale& locale)
{
    if (locale.territory() == QLocale::AnyTerritory)
        return {};
    return DirectoryCleaning::countryCode(QLocale::territoryToCode(locale.territory()));
}

int DirectorySearchModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : count();
}

QVariant DirectorySearchModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= count())
        return {};
    const DirectoryStation& station = m_stations.at(index.row());
    switch (role) {
    case Qt::DisplayRole:
    case NameRole:
        return station.name;
    case StationRole:
        return QVariant::fromValue(station);
    case StationUuidRole:
        return station.stationUuid;
    case StreamUrlRole:
        return station.streamUrl();
    case FaviconRole:
        return station.favicon;
    case TagsRole:
        return station.tags;
    case TagsTextRole:
        return station.tags.join(QLatin1String(", "));
    case CountryCodeRole:
        return station.countryCode;
    case LanguageRole:
        return station.language;
    case CodecRole:
        return station.codec;
    case BitrateRole:
        return station.bitrate;
    case HlsRole:
        return station.hls;
    case VotesRole:
        return station.votes;
    case ClickCountRole:
        return station.clickCount;
    default:
        return {};
    }
}

QHash<int, QByteArray> DirectorySearchModel::roleNames() const
{
    return {{StationRole, "station"},         {StationUuidRole, "stationUuid"},
            {NameRole, "name"},               {StreamUrlRole, "streamUrl"},
            {FaviconRole, "favicon"},         {TagsRole, "tags"},
            {TagsTextRole, "tagsText"},       {CountryCodeRole, "countryCode"},
            {LanguageRole, "language"},       {CodecRole, "codec"},
            {BitrateRole, "bitrate"},         {HlsRole, "hls"},
            {VotesRole, "votes"},             {ClickCountRole, "clickCount"}};
}

void DirectorySearchModel::setStatus(Status status, const QString& message)
{
    if (status == m_status && message == m_statusMessage)
        return;
    m_status = status;
    m_statusMessage = message;
    emit statusChanged();
}
