// A catalogue kept in a local CSV file: My stations (stations.csv in the
// user's data folder), or any other local catalogue.
//
// The file is the truth. Reading decodes it in whatever Unicode encoding it
// was saved in (CatalogueTable). Every edit reads the file as it is now,
// changes that one row and writes the whole table back through the CSV
// writer, in the file's own encoding and line breaks, keeping the columns
// and rows it does not understand. A write goes to a temporary file in the
// same folder, is flushed to the disk, then renamed over the catalogue: a
// crash or a full disk leaves the old file or the new one, never half of
// one; a failed write says why and leaves the old file as it was.
//
// While watching, a change made by someone else (an editor, a spreadsheet
// program that saves by writing a new file and renaming it) emits changed()
// once the file has settled; a write of our own emits changed() once, and
// its echo from the file watcher is recognised by content and ignored.
//
// Main thread, except the static read(), which is safe on any thread.
#pragma once

#include "Catalogue/CatalogueTable.h"
#include "Catalogue/LoadFailure.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QPair>
#include <QString>
#include <QTimer>

#include <optional>

class QFileSystemWatcher;

class CatalogueFile final : public QObject {
    Q_OBJECT

public:
    explicit CatalogueFile(QString path, QObject* parent = nullptr);
    ~CatalogueFile() override;

    const QString& path() const { return m_path; }
    // The file name, as messages name the catalogue.
    QString displayName() const;

    struct Read {
        std::optional<CatalogueTable> table; // also for a table without stations
        std::optional<LoadFailure> failure;  // set when it is no usable station list
    };
    // Reads and parses the file. Any thread.
    static Read read(const QString& path);

    // Creates the file from the starter catalogue when it does not exist
    // (a file the user emptied is theirs and stays as it is). Returns the
    // error, empty on success.
    QString seedIfMissing();

    struct Fields {
        QString title;
        QString genre;
        QString url;   // the stream: http or https
        QString image; // the logo: empty, http or https
    };
    // The fields to change; the others stay as they are.
    struct Changes {
        std::optional<QString> title = std::nullopt;
        std::optional<QString> genre = std::nullopt;
        std::optional<QString> url = std::nullopt;
        std::optional<QString> image = std::nullopt;
    };
    // A removed row with what restore() needs to put it back.
    struct RemovedRow {
        qint64 id = 0;
        std::size_t index = 0;      // its position among the data rows
        CatalogueTable::Row header; // the header it was read with
        CatalogueTable::Row row;
    };
    struct Outcome {
        QString error; // empty on success
        qint64 id = 0; // the station added, changed or restored
        bool ok() const { return error.isEmpty(); }
    };

    // Adds a station with a new id (one more than the highest). Extra
    // columns ("uuid", ...) are filled in, and added to the header when the
    // file does not have them yet.
    Outcome add(const Fields& fields, const QList<QPair<QString, QString>>& extraColumns = {});
    // Adds many stations in one rewrite (an import), in their order, with
    // new ids. A station whose stream address is already in the file, or
    // earlier in the list, is not added but counted. Fields are taken as
    // given: the caller has checked them.
    struct Batch {
        QString error;      // empty on success; then the file is written
        QList<qint64> ids;  // the stations added
        int duplicates = 0; // not added: their address was there already
        bool ok() const { return error.isEmpty(); }
    };
    Batch addAll(const QList<Fields>& stations);
    // Removes the stations with these ids in one rewrite (the Undo of an
    // import); ids no longer there are passed over.
    Outcome removeAll(const QList<qint64>& ids);
    // Changes the given fields of the station with this id.
    Outcome edit(qint64 id, const Changes& changes);
    // Removes the station with this id; `removed` receives the row.
    Outcome remove(qint64 id, RemovedRow* removed);
    // Puts a removed row back where it was (Undo). It keeps its id unless
    // another row has taken it meanwhile; then it gets a new one.
    Outcome restore(const RemovedRow& removed);
    // Moves the station with this id to `position` among the stations (0
    // is first; past the last is last). A row without a station stays
    // after the row it followed. `previousRow` receives the row index the
    // station had, for putBack().
    Outcome move(qint64 id, int position, std::size_t* previousRow = nullptr);
    // Puts the row of this id back at that row index (Undo of a move).
    Outcome putBack(qint64 id, std::size_t row);

    // Checks what a person typed for a station: a title, an http(s) stream
    // address and an empty or http(s) logo address. Returns the problem,
    // empty when the fields are fine.
    static QString validate(const Fields& fields);
    // The same, field by field, so a form can say what is wrong next to
    // each field; empty texts for the fields that are fine.
    struct Problems {
        QString title;
        QString url;
        QString image;
    };
    static Problems problems(const Fields& fields);

    // Follows changes of the file made by others (see above).
    void setWatching(bool watching);
    bool isWatching() const { return m_watcher != nullptr; }
    // How long the file must stay still before it is read again.
    void setSettleTime(int milliseconds) { m_settle.setInterval(milliseconds); }

    // Writes bytes to a file through a temporary file in its folder, flushed
    // and renamed over it (a symbolic link is followed, not replaced).
    // Returns the error, empty on success.
    static QString writeAtomically(const QString& path, const QByteArray& bytes);

signals:
    // The content of the file changed, by our edit or by someone else.
    void changed();

private:
    // The table as the file holds it now, for an edit; or the error.
    std::optional<CatalogueTable> readForEdit(QString* error) const;
    Outcome write(const CatalogueTable& table, qint64 id);
    void checkForChange();
    void watchPaths();

    QString m_path;
    QFileSystemWatcher* m_watcher = nullptr;
    QTimer m_settle;
    QByteArray m_lastSeenDigest;
};
