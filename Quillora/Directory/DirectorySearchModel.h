// The results of a search of the station directory, as a list model for the
// Discover sheet: 50 stations at a time as the list scrolls (canFetchMore /
// fetchMore), a status the sheet shows (loading, nothing found, an error
// with Retry), the popular tags and the person's own country for the chips.
//
// A new search replaces the results at once and cancels the one in flight:
// an older answer never lands in a newer list. Main thread.
#pragma once

#include "Catalogue/Station.h"
#include "Directory/DirectoryClient.h"
#include "Directory/DirectoryStation.h"

#include <QAbstractListModel>
#include <QLocale>
#include <QPointer>
#include <QSet>
#include <QStringList>
#include <QVariantMap>

class DirectorySearchModel final : public QAbstractListModel {
    Q_OBJECT
    Q_PROPERTY(Status status READ status NOTIFY statusChanged)
    Q_PROPERTY(QString statusMessage READ statusMessage NOTIFY statusChanged)
    Q_PROPERTY(int count READ count NOTIFY countChanged)
    Q_PROPERTY(QString searchText READ searchText NOTIFY searchChanged)
    Q_PROPERTY(QString tag READ tag NOTIFY searchChanged)
    Q_PROPERTY(QString countryCode READ countryCode NOTIFY searchChanged)
    Q_PROPERTY(QStringList popularTags READ popularTags NOTIFY popularTagsChanged)
    Q_PROPERTY(QString localCountryCode READ localCountryCode CONSTANT)

public:
    enum Status {
        Idle,    // nothing searched yet
        Loading, // a page is on its way (the first one, or the next while scrolling)
        Loaded,  // results shown
        Empty,   // the search found nothing
        Error,   // the last request failed: statusMessage says why, retry() tries it again
    };
    Q_ENUM(Status)

    enum Role {
        StationRole = Qt::UserRole + 1, // the whole DirectoryStation
        StationUuidRole,
        NameRole,
        StreamUrlRole,
        FaviconRole,
        TagsRole,     // QStringList
        TagsTextRole, // "rock, pop"
        CountryCodeRole,
        LanguageRole,
        CodecRole,
        BitrateRole,
        HlsRole,
        VotesRole,
        ClickCountRole,
    };
    Q_ENUM(Role)

    static constexpr int pageSize = 50;
    static constexpr int popularTagCount = 8;
    // Pages in a row without a usable new station before the search stops.
    static constexpr int maxEmptyPagesInRow = 3;

    // The client is shared with the rest of the application and must
    // outlive the model.
    explicit DirectorySearchModel(DirectoryClient* client, QObject* parent = nullptr);
    ~DirectorySearchModel() override;

    Status status() const { return m_status; }
    QString statusMessage() const { return m_statusMessage; }
    int count() const { return static_cast<int>(m_stations.size()); }
    QString searchText() const { return m_search.text; }
    QString tag() const { return m_search.tag; }
    QString countryCode() const { return m_search.countryCode; }
    QStringList popularTags() const { return m_popularTags; }
    QString localCountryCode() const { return countryCodeOf(QLocale()); }

    // Replaces the results with the first page of this search.
    Q_INVOKABLE void search(const QString& text, const QString& tag = {}, const QString& countryCode = {});
    // Asks again for what failed: the first page or the next one.
    Q_INVOKABLE void retry();
    Q_INVOKABLE void loadPopularTags();

    Q_INVOKABLE DirectoryStation stationAt(int row) const;
    // The row "Add to My stations" writes: url, image, genre, title, uuid.
    Q_INVOKABLE QVariantMap catalogueRowAt(int row) const;
    // The station as the player plays it before it is kept: no catalogue id
    // (-1), the directory's uuid, so that playing it counts a click.
    Q_INVOKABLE Station playableStationAt(int row) const;

    // Two upper-case letters of the locale's territory, or empty.
    static QString countryCodeOf(const QLocale& locale);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;
    bool canFetchMore(const QModelIndex& parent = {}) const override;
    void fetchMore(const QModelIndex& parent = {}) override;

signals:
    void statusChanged();
    void countChanged();
    void searchChanged();
    void popularTagsChanged();

private:
    void requestPage();
    void pageFinished();
    void setStatus(Status status, const QString& message = {});

    QPointer<DirectoryClient> m_client;
    DirectorySearch m_search;
    bool m_searched = false;
    QList<DirectoryStation> m_stations;
    QSet<QString> m_uuids;
    int m_nextOffset = 0;
    bool m_moreAvailable = false;
    int m_emptyPagesInRow = 0;
    QPointer<DirectoryReply> m_page;
    QPointer<DirectoryReply> m_tagsReply;
    Status m_status = Idle;
    QString m_statusMessage;
    QStringList m_popularTags;
};
