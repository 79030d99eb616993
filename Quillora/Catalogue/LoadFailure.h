// Why a catalogue did not load, in words a person understands.
//
// The screen shows message() ("Could not load the stations from
// docs.example.org: the server answered 404"); the terminal line adds the
// detail ("not UTF-8 text", the network error, a file's error), which is
// for whoever investigates rather than for the screen.
#pragma once

#include <QCoreApplication>
#include <QString>
#include <QUrl>

struct LoadFailure {
    Q_DECLARE_TR_FUNCTIONS(LoadFailure)

public:
    enum class Reason {
        invalidAddress,   // not an http, https or file address
        fileMissing,      // a local catalogue that does not exist
        fileUnreadable,   // a local catalogue that cannot be read
        httpStatus,       // the server answered with an error status
        notAnswering,     // refused, unknown host, time-out, no network
        secureConnection, // the TLS handshake failed
        notAStationList,  // HTML, no header, not Unicode text, every row bad
        tooLarge,         // larger than any catalogue can be
        truncated,        // the transfer stopped before the body was complete
    };

    Reason reason = Reason::notAnswering;
    // Where the catalogue comes from, as a person names it: the host of an
    // address, the file name of a local catalogue.
    QString source;
    bool localFile = false;
    int httpStatus = 0;
    QString detail;

    // "the server answered 404", "the answer is not a station list", ...
    QString reasonText() const;
    // "Could not load the stations from <source>: <reason>"
    QString message() const;
    // message() plus the detail, for the one diagnostic line.
    QString logLine() const;

    // The name message() uses for an address: its host, or the file name.
    static QString sourceName(const QUrl& url);
};
