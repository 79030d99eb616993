#include "Playback/MpvEndClassifier.h"

#include <mpv/client.h>

#include <array>
#include <charconv>

namespace {

// The log text may carry what a server sent (its status line): keep a
// diagnostics line short.
constexpr qsizetype maxDetail = 160;

QString detailFrom(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(std::min<size_t>(text.size(), maxDetail)))
        .simplified();
}

std::optional<EndCause> causeOfHttpStatus(int status)
{
    switch (status) {
    case 404:
    case 410:
        return EndCause::NotFound;
    case 401:
    case 403:
    case 407:
        return EndCause::Forbidden;
    default:
        return EndCause::Other;
    }
}

} // namespace

void MpvEndClassifier::startFile()
{
    m_hint.reset();
    m_detail.clear();
}

void MpvEndClassifier::logMessage(std::string_view prefix, std::string_view text)
{
    // Only FFmpeg's network layer: other modules may quote the stream's own
    // text, which must not pass for a cause.
    if (prefix != "ffmpeg")
        return;
    constexpr std::string_view httpError = "http: HTTP error ";
    if (text.starts_with(httpError)) {
        const std::string_view rest = text.substr(httpError.size());
        int status = 0;
        const auto [end, error] = std::from_chars(rest.data(), rest.data() + rest.size(), status);
        if (error != std::errc() || end - rest.data() != 3)
            return;
        m_hint = causeOfHttpStatus(status);
        m_detail = detailFrom(text.substr(6));
        return;
    }
    if (!text.starts_with("tcp: ") && !text.starts_with("tls: "))
        return;
    static constexpr std::array unreachable = {
        std::string_view("Connection refused"),   std::string_view("Failed to resolve hostname"),
        std::string_view("timed out"),            std::string_view("Network is unreachable"),
        std::string_view("No route to host"),     std::string_view("Host is unreachable"),
    };
    for (const std::string_view pattern : unreachable) {
        if (text.find(pattern) != std::string_view::npos) {
            m_hint = EndCause::ServerNotAnswering;
            m_detail = detailFrom(text.substr(5));
            return;
        }
    }
}

MpvEndClassifier::Result MpvEndClassifier::classify(int reason, int error, const QString& errorText) const
{
    if (reason == MPV_END_FILE_REASON_EOF)
        return {EndCause::StreamEnded, QStringLiteral("end of stream")};
    switch (error) {
    case MPV_ERROR_AO_INIT_FAILED:
        return {EndCause::NoAudioOutput, errorText};
    case MPV_ERROR_UNKNOWN_FORMAT:
    case MPV_ERROR_NOTHING_TO_PLAY:
        return {EndCause::UnsupportedFormat, errorText};
    default:
        break;
    }
    if (m_hint)
        return {*m_hint, m_detail};
    return {EndCause::Other, errorText};
}
