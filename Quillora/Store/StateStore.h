// What the application remembers between runs, in its store: the last
// catalogue that loaded from a remote source (per address, with its time),
// the selected station per catalogue source (by id: positions shift between
// versions of a catalogue) and the volume.
//
// Reads come from the store the first time and from memory after that;
// setters change memory at once and stage the write in the container's view
// context, so that the context's save (when the window stops being the
// active one, at quit, or save() here) writes every pending change in one
// transaction: a crash at any moment leaves the previous state or the new
// one, never a mix. Setting the value that is already there stages nothing.
//
// Main thread (the store's connection belongs to it).
#pragma once

#include <QDateTime>
#include <QHash>
#include <QList>
#include <QString>

#include <optional>

class Database;

// One station of a stored catalogue, the row as the store keeps it; the
// catalogue turns it into its own station and back.
struct StoredStation {
    qint64 id = 0;
    QString url;
    QString image;
    QString genre;
    QString title;
    QString uuid = {}; // optional: rows may be written without it
};

struct StoredCatalogue {
    QString address;
    QDateTime loadedAt; // UTC
    QList<StoredStation> stations;
    int skippedRows = 0;
};

class StateStore {
public:
    // How many remote catalogues are kept (the most recently loaded ones).
    static constexpr int keptCatalogues = 3;

    // The container must have loaded its store.
    explicit StateStore(Database& container);

    std::optional<StoredCatalogue> lastGoodCatalogue(const QString& address) const;
    void setLastGoodCatalogue(const QString& address, const QList<StoredStation>& stations, int skippedRows = 0,
                              const QDateTime& loadedAt = QDateTime::currentDateTimeUtc());

    // Per source: a key the catalogue chooses for each of its sources.
    std::optional<qint64> selectedStationId(const QString& sourceKey) const;
    void setSelectedStationId(const QString& sourceKey, qint64 id);

    // 0...1
    std::optional<float> volume() const;
    void setVolume(float volume);

    // Writes the pending changes now; returns the error, empty on success.
    QString save();

private:
    Database& m_container;
    mutable QHash<QString, std::optional<StoredCatalogue>> m_catalogues;
    mutable QHash<QString, std::optional<qint64>> m_selections;
    mutable std::optional<std::optional<float>> m_volume;
};
