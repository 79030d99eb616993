// One request to the directory, from the first server tried to the answer
// read: it moves to the next server when one fails, bounds every attempt in
// time (10 s) and size (4 MB, checked while downloading), accepts only a 2xx
// answer holding a JSON array, and reads that array on a worker thread.
//
// finished() comes exactly once, on the client's thread, unless abort() was
// called first; afterwards the reply deletes itself (keep a QPointer).
#pragma once

#include "Directory/DirectoryAnswer.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QUrl>

class DirectoryClient;
namespace net {
class BoundedGet;
}
template<typename T>
class QFutureWatcher;

class DirectoryReply final : public QObject {
    Q_OBJECT

public:
    enum class Kind { Stations, Tags, Click };
    enum class Error {
        None,
        Unreachable, // no server found, refused, reset, DNS
        TimedOut,    // no complete answer in time
        HttpStatus,  // an answer, but not 2xx
        Unreadable,  // 2xx, but not a JSON array
        TooLarge,    // more than the size limit
        BadAddress,  // QUILLORA_DIRECTORY_URL is not an http(s) address
    };
    Q_ENUM(Error)

    // What a person reads for each error.
    static QString messageFor(Error error);

    Kind kind() const { return m_kind; }
    bool isFinished() const { return m_finished; }
    Error error() const { return m_error; }
    QString errorMessage() const { return m_errorMessage; }
    // The server that gave the answer (or failed last).
    QUrl server() const { return m_server; }
    // The checked answer; empty unless finished without error.
    const DirectoryAnswer& answer() const { return m_answer; }

    // Stops the request; finished() will not come. The reply deletes itself.
    void abort();

signals:
    void finished();

private:
    friend class DirectoryClient;

    // query: already percent-encoded.
    DirectoryReply(DirectoryClient* client, Kind kind, QString path, QString query, qsizetype limit);

    // Called by the client once it knows its servers (in the order to try).
    void start(const QList<QUrl>& servers);
    // Called by the client when no server can be found.
    void failBeforeStart(Error error, const QString& message);

    void attempt();
    void onNetworkFinished();
    void onAnswerRead();
    void attemptFailed(Error error, const QString& detail, bool tryNextServer = true);
    void finish(Error error, const QString& message);

    QPointer<DirectoryClient> m_client;
    Kind m_kind;
    QString m_path;
    QString m_query;
    qsizetype m_limit;
    QList<QUrl> m_servers;
    qsizetype m_next = 0;
    QUrl m_server;
    net::BoundedGet* m_network = nullptr;
    QFutureWatcher<DirectoryAnswer>* m_reading = nullptr;
    bool m_finished = false;
    bool m_aborted = false;
    Error m_error = Error::None;
    QString m_errorMessage;
    DirectoryAnswer m_answer;
};
