#include "Playback/StreamReport.h"

#include <QCoreApplication>
#include <QHash>

QString humanReason(EndCause cause)
{
    switch (cause) {
    case EndCause::StreamEnded:
        return QCoreApplication::translate("StreamReport", "The stream ended");
    case EndCause::ServerNotAnswering:
        return QCoreApplication::translate("StreamReport", "The station's server is not answering");
    case EndCause::NotFound:
        return QCoreApplication::translate("StreamReport", "Not found (404)");
    case EndCause::Forbidden:
        return QCoreApplication::translate("StreamReport", "Access denied");
    case EndCause::UnsupportedFormat:
        return QCoreApplication::translate("StreamReport", "Unsupported stream format");
    case EndCause::NoAudioOutput:
        return QCoreApplication::translate("StreamReport", "No audio output");
    case EndCause::Other:
        break;
    }
    return QCoreApplication::translate("StreamReport", "The stream could not be played");
}

bool retryingCannotMend(EndCause cause)
{
    return cause == EndCause::NotFound || cause == EndCause::Forbidden || cause == EndCause::UnsupportedFormat
        || cause == EndCause::NoAudioOutput;
}

namespace {

QString codecLabel(const QString& codec)
{
    static const QHash<QString, QString> labels = {
        {QStringLiteral("aac"), QStringLiteral("AAC")},       {QStringLiteral("aac_latm"), QStringLiteral("AAC")},
        {QStringLiteral("mp3"), QStringLiteral("MP3")},       {QStringLiteral("mp3float"), QStringLiteral("MP3")},
        {QStringLiteral("mp2"), QStringLiteral("MP2")},       {QStringLiteral("vorbis"), QStringLiteral("Vorbis")},
        {QStringLiteral("opus"), QStringLiteral("Opus")},     {QStringLiteral("flac"), QStringLiteral("FLAC")},
        {QStringLiteral("alac"), QStringLiteral("ALAC")},     {QStringLiteral("ac3"), QStringLiteral("AC-3")},
        {QStringLiteral("eac3"), QStringLiteral("E-AC-3")},   {QStringLiteral("wavpack"), QStringLiteral("WavPack")},
        {QStringLiteral("speex"), QStringLiteral("Speex")},
    };
    if (const auto found = labels.constFind(codec); found != labels.cend())
        return *found;
    if (codec.startsWith(QLatin1String("pcm_")))
        return QStringLiteral("PCM");
    // Other decoder names are short ASCII identifiers; anything else is not
    // shown.
    QString label;
    for (const QChar c : codec.left(16)) {
        if (c.isLetterOrNumber() && c.unicode() < 0x80)
            label += c.toUpper();
        else if (c == QLatin1Char('_') || c == QLatin1Char('-'))
            label += QLatin1Char('-');
    }
    return label;
}

} // namespace

QString StreamDetails::text() const
{
    const QString label = codecLabel(codec);
    const QString rate = kbitPerS > 0 ? QStringLiteral("%1 kbit/s").arg(kbitPerS) : QString();
    if (label.isEmpty())
        return rate;
    if (rate.isEmpty())
        return label;
    return label + QStringLiteral(" \u00b7 ") + rate;
}
