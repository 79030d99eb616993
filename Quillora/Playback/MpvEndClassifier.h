// Why libmpv stopped playing a stream.
//
// mpv's end-of-file event says "loading failed" alike for a 404, a refused
// connection and a name that does not resolve; the difference is only in the
// warnings FFmpeg logs while opening. This reads those log lines (fed in as
// they arrive, on mpv's event thread) and, at the end of the file, combines
// them with the event's reason and error code. Pure logic: no mpv calls.
#pragma once

#include "Playback/StreamReport.h"

#include <QString>

#include <optional>
#include <string_view>

class MpvEndClassifier {
public:
    struct Result {
        EndCause cause;
        QString detail; // for a diagnostics line, e.g. "HTTP error 404 Not Found"
    };

    // A new file starts: forget what was logged before.
    void startFile();

    // One of mpv's log messages (its module prefix and text).
    void logMessage(std::string_view prefix, std::string_view text);

    // reason and error as in mpv_event_end_file; errorText is mpv's text for
    // the error code.
    Result classify(int reason, int error, const QString& errorText) const;

private:
    std::optional<EndCause> m_hint;
    QString m_detail;
};
