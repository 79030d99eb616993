// Where the catalogue comes from: My stations, or an address (a published
// spreadsheet's CSV export, any http(s) CSV, another local CSV file).
//
// CatalogueSource is a plain value. CatalogueChoice picks the active one at
// start, in this order: --catalogue, QUILLORA_CATALOGUE_URL, the
// "catalogue" key of quillora.conf, else My stations; and remembers a
// choice made in the window in quillora.conf.
#pragma once

#include "Catalogue/StationsLoader.h"

#include <QCoreApplication>
#include <QString>
#include <QUrl>

#include <memory>
#include <optional>

struct CheckedAddress;

class CatalogueSource {
    Q_DECLARE_TR_FUNCTIONS(CatalogueSource)

public:
    enum class Kind { myStations, address };

    static CatalogueSource myStations();
    static CatalogueSource address(QUrl url);

    Kind kind() const { return m_kind; }
    bool isMyStations() const { return m_kind == Kind::myStations; }
    // Read from the disk: My stations or a file:// address.
    bool isLocal() const { return isMyStations() || m_url.isLocalFile(); }
    // Fetched over the network; only these catalogues are kept in the store.
    bool isRemote() const { return !isLocal(); }
    // The address (empty for My stations).
    const QUrl& url() const { return m_url; }
    // The file of a local catalogue (Config::myStationsFile() for My
    // stations), empty for a remote one.
    QString localPath() const;
    // Names the source in the store (the selected station is remembered per
    // source): "my-stations" or the address.
    QString storeKey() const;
    // How the Stations sheet and the messages name it: "My stations", the
    // host of an address, a file's name.
    QString displayName() const;

    // The loader that reads this source.
    std::unique_ptr<StationsLoader> makeLoader() const;

    bool operator==(const CatalogueSource& other) const = default;

    // Checks an address a person typed, pasted or dropped: http, https or
    // file URLs, an absolute path or one starting with "~/" (relative paths
    // are taken from `workingDirectory` when one is given). With
    // `requireExistingFile`, a local file must exist and be a file.
    static CheckedAddress check(const QString& text, bool requireExistingFile = true,
                         const QString& workingDirectory = {});

private:
    CatalogueSource(Kind kind, QUrl url)
        : m_kind(kind)
        , m_url(std::move(url))
    {
    }

    Kind m_kind;
    QUrl m_url;
};

struct CheckedAddress {
    std::optional<CatalogueSource> source;
    QString error; // a sentence for the sheet; empty when source is set
};

struct CatalogueChoice {
    enum class Origin { commandLine, environment, configuration, standard };

    CatalogueSource source = CatalogueSource::myStations();
    Origin origin = Origin::standard;

    // The active source, from the values the root read at start: the
    // command line, the environment, the settings file (`configuredValue`,
    // from `configurationFile`, which the line about an unusable value
    // names). A value that is not a usable address prints one line and the
    // next in the order is taken.
    static CatalogueChoice resolve(const QString& commandLineValue, const QString& environmentValue,
                                   const QString& configuredValue, const QString& configurationFile);

    // Remembers a choice made in the window: an address is written to the
    // "catalogue" key, My stations removes the key. Returns the error,
    // empty on success.
    static QString remember(const CatalogueSource& source, const QString& configurationFile = {});
};
