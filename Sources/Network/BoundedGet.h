// One HTTP GET with bounds, the only way Quillora's code and its image
// library fetch anything:
// - the address and every redirect must be a web address (WebAddress.h),
//   and a redirect may not step down from https to http;
// - at most Policy::maxRedirects redirects;
// - a body over Policy::maxBytes is refused while it downloads, as soon as
//   its announced length or the bytes received say so;
// - nothing received for Policy::transferTimeoutMs, or no whole answer
//   within Policy::deadlineMs, ends it;
// - only a 2xx answer succeeds (the body of any other is not kept), and one
//   shorter than its Content-Length is truncated;
// - no HTTP cache unless Policy::useCache;
// - every request names its sender with Policy::userAgent.
//
// It runs on the thread that made it (which needs an event loop), on that
// thread's own QNetworkAccessManager, made on first use and deleted with the
// thread (the main thread's with the application). finished() comes exactly
// once, from the event loop, never from inside the constructor.
#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QNetworkRequest>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <QUrl>

#include <utility>

class QNetworkAccessManager;
class QNetworkReply;

namespace net {

struct Policy {
    QByteArray userAgent;              // empty: Qt's own
    qint64 maxBytes = 4 * 1024 * 1024;
    int transferTimeoutMs = 30000;     // 0: the request's own
    int deadlineMs = 120000;           // 0: none
    int maxRedirects = 5;
    bool useCache = false;
};

// Why a GET did not deliver a body.
struct GetError {
    Q_DECLARE_TR_FUNCTIONS(GetError)

public:
    enum class Kind {
        None,
        BadAddress,       // not a web address
        BadRedirect,      // to something not a web address, to http from https, or too many
        NotAnswering,     // refused, unknown host, reset or silent before an answer
        SecureConnection, // the TLS handshake failed
        TimedOut,         // no whole answer within the deadline
        HttpStatus,       // an answer, but not 2xx
        TooLarge,         // over the size limit
        Truncated,        // the answer stopped (or stalled) before its end
        Cancelled,        // abort() was called
    };

    Kind kind = Kind::None;
    int httpStatus = 0; // the answer's status, when there was one
    QString detail;     // for the diagnostics: Qt's error text, sizes, the address

    bool isError() const { return kind != Kind::None; }
    // One sentence a person reads, translated.
    QString message() const;
};

class BoundedGet final : public QObject {
    Q_OBJECT

public:
    enum class Body {
        Keep,   // gathered, for takeBody() once finished
        Stream, // handed out by received() as it arrives, not kept
    };

    BoundedGet(QNetworkRequest request, const Policy& policy, Body body = Body::Keep, QObject* parent = nullptr);
    ~BoundedGet() override;

    // The address asked for (before redirects).
    QUrl url() const { return m_url; }
    bool isFinished() const { return m_finished; }
    const GetError& error() const { return m_error; }
    // The answer's status; 0 until there is one.
    int httpStatus() const { return m_status; }
    // The announced length, -1 when unknown.
    qint64 expectedSize() const { return m_expected; }
    qint64 receivedSize() const { return m_received; }
    // The whole body, once finished without error (Body::Keep).
    QByteArray takeBody() { return std::exchange(m_body, {}); }

    // Stops the transfer: finished() comes at once, with Cancelled, unless
    // it has come already.
    void abort();

    // The calling thread's network access manager.
    static QNetworkAccessManager& threadNetwork();

signals:
    // Body::Stream only: the next bytes of a 2xx answer, the total so far
    // and the announced length (-1 unknown).
    void received(const QByteArray& bytes, qint64 totalReceived, qint64 expected);
    void finished();

private:
    static constexpr qint64 readAheadBytes = 256 * 1024;

    void onMetaData();
    void onRedirected(const QUrl& target);
    void onReadyRead();
    void onReplyFinished();
    // Records the first failure and stops the transfer from the event loop
    // (aborting from inside a reply's own signals confuses Qt).
    void failLater(GetError::Kind kind, const QString& detail);
    void finish();

    const Policy m_policy;
    const bool m_streaming;
    const QUrl m_url;
    QUrl m_current;
    QPointer<QNetworkReply> m_reply;
    QTimer m_deadline;
    QByteArray m_body;
    GetError m_error;
    int m_status = 0;
    qint64 m_expected = -1;
    qint64 m_received = 0;
    bool m_timedOut = false;
    bool m_finished = false;
};

} // namespace net
