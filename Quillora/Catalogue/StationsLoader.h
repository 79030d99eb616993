// A catalogue source, and its answer to one load.
//
// load() returns a StationsReply, as QNetworkAccessManager::get() returns a
// QNetworkReply: the caller owns it, reads the stations and the report (or
// the failure) once it has finished, and deletes it (deleteLater() from a
// slot connected to finished()). Deleting a reply that has not finished
// cancels the load: nothing is delivered, nothing is leaked, and a worker
// still parsing just has its result dropped.
//
// finished() comes exactly once, from the event loop of the thread that
// called load(), never from inside load(). A source that has the catalogue
// at hand returns a reply that has already finished (isFinished()), so that
// a caller who wants the stations at once - before the first frame - can
// take them without waiting for the event loop.
#pragma once

#include "Catalogue/LoadFailure.h"
#include "Catalogue/Station.h"

#include <QList>
#include <QObject>
#include <QString>

#include <optional>

// What came with a catalogue besides its stations.
struct CatalogueReport {
    // Where it came from, as LoadFailure::source names it.
    QString source;
    // Data rows that carried no station (each printed with its reason when
    // the catalogue was read); rows with every field empty are not counted.
    int skippedRows = 0;
};

class StationsReply final : public QObject {
    Q_OBJECT

public:
    explicit StationsReply(QObject* parent = nullptr);

    bool isFinished() const { return m_finished; }
    // None when the catalogue loaded.
    const std::optional<LoadFailure>& failure() const { return m_failure; }
    // The rows that carry a station; empty after a failure.
    const QList<Station>& stations() const { return m_stations; }
    const CatalogueReport& report() const { return m_report; }

    // For sources: the answer, given once; finished() follows from the
    // event loop.
    void finish(QList<Station> stations, CatalogueReport report);
    void fail(LoadFailure failure);

signals:
    void finished();

private:
    void markFinished();

    bool m_finished = false;
    std::optional<LoadFailure> m_failure;
    QList<Station> m_stations;
    CatalogueReport m_report;
};

class StationsLoader {
public:
    virtual ~StationsLoader() = default;
    // Starts a load; see StationsReply for who owns the reply.
    [[nodiscard]] virtual StationsReply* load() = 0;
};
