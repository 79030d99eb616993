// The catalogue in use: where it comes from, whether its last load worked,
// what the screen says about it, and the edits of a catalogue the
// application may write.
//
// It is the player's catalogue source. The player's loadStations() comes
// here and goes on to the active source's loader; the catalogue hears each
// reply finish before the player does, so that the store keeps the last
// good remote catalogue, the retry schedule hears of each outcome, and the
// screen learns why a load failed. An answer from a source replaced since
// its load began changes nothing here.
//
// Another source is chosen from the Stations sheet (useAddress,
// useMyStations): it is read first, and only a catalogue that holds stations
// replaces the one in use; otherwise the sheet says why and nothing changes.
// The catalogue read for the check is the one the player then gets.
//
// A local catalogue (My stations or another file) is watched, so edits made
// in a spreadsheet program show while the application runs, and can be
// edited here: add, edit, remove with Undo. A remote one cannot be written;
// its rows can be copied as CSV for pasting into the spreadsheet.
//
// Main thread.
#pragma once

#include "Catalogue/CatalogueFile.h"
#include "Catalogue/CatalogueSource.h"
#include "Catalogue/StationsLoader.h"

#include <QDateTime>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QVariantMap>

#include <memory>
#include <functional>
#include <optional>

class CatalogueRetry;
class NetworkReachability;
class StateStore;
struct StoredCatalogue;

class ActiveCatalogue final : public QObject, public StationsLoader {
    Q_OBJECT
    // "My stations", the host of an address, a file's name.
    Q_PROPERTY(QString sourceName READ sourceName NOTIFY sourceChanged)
    // The address as text; empty for My stations.
    Q_PROPERTY(QString sourceAddress READ sourceAddress NOTIFY sourceChanged)
    Q_PROPERTY(bool isMyStations READ isMyStations NOTIFY sourceChanged)
    // The file of a local catalogue (My stations' too); empty for a remote one.
    Q_PROPERTY(QString filePath READ filePath NOTIFY sourceChanged)
    // A local file: the application can add, change and remove stations.
    Q_PROPERTY(bool canEdit READ canEdit NOTIFY sourceChanged)
    Q_PROPERTY(QString addUnavailableReason READ addUnavailableReason NOTIFY sourceChanged)
    Q_PROPERTY(Status status READ status NOTIFY statusChanged)
    // Why the last load failed ("Could not load the stations from ...").
    Q_PROPERTY(QString failureMessage READ failureMessage NOTIFY statusChanged)
    // A short note while stations are shown but the last load failed:
    // "Offline: stations from 3 December, 14:20" for a stored remote
    // catalogue, else the failure message.
    Q_PROPERTY(QString note READ note NOTIFY statusChanged)
    // Rows of the catalogue that carried no station.
    Q_PROPERTY(int skippedRows READ skippedRows NOTIFY statusChanged)
    // Another source is being read (the Stations sheet waits for it).
    Q_PROPERTY(bool isSwitching READ isSwitching NOTIFY switchingChanged)
    // Why the last source asked for was not taken; empty after a success.
    Q_PROPERTY(QString switchError READ switchError NOTIFY switchingChanged)
    // A removed or moved station can be put back for a few seconds.
    Q_PROPERTY(bool canUndo READ canUndo NOTIFY undoChanged)
    Q_PROPERTY(QString undoText READ undoText NOTIFY undoChanged)

public:
    enum class Status {
        Loading, // nothing loaded yet
        Loaded,  // the last load brought stations (or stored ones stand in)
        Failed,  // the last load failed: failureMessage says why
    };
    Q_ENUM(Status)

    static constexpr int undoSeconds = 8;

    // Nothing is read until the first load. store and reachability are not
    // owned; store may be null (nothing is kept).
    ActiveCatalogue(CatalogueSource source, StateStore* store, NetworkReachability* reachability,
                    QObject* parent = nullptr);
    ~ActiveCatalogue() override;

    const CatalogueSource& source() const { return m_source; }
    QString sourceName() const { return m_source.displayName(); }
    QString sourceAddress() const;
    bool isMyStations() const { return m_source.isMyStations(); }
    QString filePath() const { return m_source.localPath(); }
    bool canEdit() const { return m_source.isLocal(); }
    Status status() const { return m_status; }
    QString failureMessage() const { return m_failureMessage; }
    QString note() const;
    // The note while stored stations stand in for a failed load: "Offline:
    // stations from 3 December, 14:20" (the year is added when it is not
    // this one's).
    static QString offlineNote(const QDateTime& loadedAt, const QDateTime& now = QDateTime::currentDateTime());
    int skippedRows() const { return m_skippedRows; }
    bool isSwitching() const { return m_switching; }
    QString switchError() const { return m_switchError; }
    bool canUndo() const { return bool(m_undo); }
    QString undoText() const { return m_undoText; }

    // Before the first frame: a local catalogue is read now, so that the
    // first load (which the screen starts as it is built) answers at once;
    // the stored copy of a remote catalogue is returned, for the player to
    // show at once, and the first load then refreshes it from the network.
    // Empty when there is no stored copy to show.
    QList<Station> restoreFromDisk();

    StationsReply* load() override;

    // The Retry button: one attempt now.
    Q_INVOKABLE void retry();
    // An address pasted or dropped, or a file chosen: read it, and use it
    // if it holds stations.
    Q_INVOKABLE void useAddress(const QString& text);
    Q_INVOKABLE void useMyStations();

    // Edits of a local catalogue. Fields: title, genre, url, image (and
    // uuid for add). Each returns the problem, empty on success; the
    // catalogue reloads by itself. A station whose stream the catalogue
    // already holds is not added twice.
    Q_INVOKABLE QString addStation(const QVariantMap& fields);
    Q_INVOKABLE QString editStation(qint64 id, const QVariantMap& fields);
    Q_INVOKABLE QString removeStation(qint64 id);
    // Moves the station to `position` among the stations (My stations'
    // order is the file's row order).
    Q_INVOKABLE QString moveStation(qint64 id, int position);
    // Puts back what the last removal, move or import changed.
    Q_INVOKABLE void undoRemove();
    // Adds the stations of playlists and other players' lists to My
    // stations in one rewrite (Undo takes them out again). Returns
    // {ok: bool, message: "Imported 12 stations (…)" or why nothing was}.
    Q_INVOKABLE QVariantMap importFiles(const QList<QUrl>& files);
    // A local file that is no catalogue but a list to import (a playlist,
    // another player's list): what a drop on the window imports.
    Q_INVOKABLE bool isImportable(const QUrl& file) const;
    // Writes the stations in use to a file as m3u, pls, xspf or csv (by the
    // file's extension, else `format`). Returns {ok, message}.
    Q_INVOKABLE QVariantMap exportStations(const QUrl& file, const QString& format);
    // Checks what a person typed for a station; the problem, or empty.
    Q_INVOKABLE QString checkStation(const QVariantMap& fields) const;
    // The same per field, for a form: "title", "url" and "image", each the
    // problem or empty.
    Q_INVOKABLE QVariantMap stationProblems(const QVariantMap& fields) const;

    // The station as one CSV row (id,url,image,genre,title,uuid) for pasting
    // into a catalogue the application cannot write; the id is one more than
    // the highest of `stations`.
    static QString csvRow(const QVariantMap& fields, const QList<Station>& stations);
    // The same, numbered after the catalogue in use.
    Q_INVOKABLE QString csvRowFor(const QVariantMap& fields) const { return csvRow(fields, m_stations); }
    // Why a station cannot be added here, for the Discover sheet; empty when
    // it can.
    QString addUnavailableReason() const;

signals:
    void sourceChanged();
    void statusChanged();
    void switchingChanged();
    void undoChanged();
    // The catalogue changed under us (another source, an edit, the file
    // changed on disk, a retry is due): the player should load it again.
    void reloadRequested();

private:
    void delivered(const QList<Station>& stations, const CatalogueReport& report);
    void failed(const LoadFailure& failure);
    void switchTo(const CatalogueSource& source);
    void cancelSwitch();
    void probeAnswered(const CatalogueSource& source, const StationsReply& reply);
    void watchSource();
    void seedMyStations();
    void setStatus(Status status, const QString& failureMessage = {});
    void setSwitching(bool switching, const QString& error);
    void clearUndo();

    CatalogueSource m_source;
    StateStore* m_store;
    CatalogueRetry* m_retry;
    std::unique_ptr<CatalogueFile> m_file; // the active source's file, when local
    std::unique_ptr<StationsLoader> m_loader;
    // The source asked for in the Stations sheet, being read.
    QPointer<StationsReply> m_probe;
    // A catalogue just read for a switch, handed to the next load instead of
    // reading it again.
    std::optional<std::pair<QList<Station>, CatalogueReport>> m_ready;

    QList<Station> m_stations; // the catalogue last delivered
    Status m_status = Status::Loading;
    QString m_failureMessage;
    int m_skippedRows = 0;
    bool m_showingStations = false;
    bool m_showingStored = false; // the stations shown are the stored copy
    std::optional<QDateTime> m_storedAt;
    bool m_switching = false;
    QString m_switchError;

    // Puts back the last removal, move or import, for a few seconds.
    std::function<CatalogueFile::Outcome()> m_undo;
    QString m_undoText;
    QTimer m_undoTimer;
};
