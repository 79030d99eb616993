#include "App/CommandLine.h"

#include "Config.h"

#include <QCommandLineParser>

CommandLine CommandLine::parse(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Internet-radio player: opens its window, or plays without one (--headless).\n\n"
        "Environment:\n"
        "  QUILLORA_CATALOGUE_URL  catalogue address when --catalogue is not given\n"
        "  QUILLORA_MPV_OPTIONS    extra libmpv options for debugging, as\n"
        "                          comma-separated name=value pairs\n"
        "                          (e.g. ao=pcm,ao-pcm-file=/tmp/out.raw)"));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption headlessOption(
        QStringLiteral("headless"), QStringLiteral("Play without a window, driven by the media controls (MPRIS)."));
    const QCommandLineOption catalogueOption(
        QStringLiteral("catalogue"),
        QStringLiteral("Load the station catalogue (CSV) from <url>: http, https or file."), QStringLiteral("url"));
    parser.addOption(headlessOption);
    parser.addOption(catalogueOption);
    parser.process(arguments);

    CommandLine line;
    line.headless = parser.isSet(headlessOption);
    line.catalogueUrl = resolveCatalogueUrl(parser.value(catalogueOption));
    return line;
}

QString CommandLine::resolveCatalogueUrl(const QString& fromCommandLine)
{
    if (!fromCommandLine.isEmpty())
        return fromCommandLine;
    const QString fromEnvironment = qEnvironmentVariable("QUILLORA_CATALOGUE_URL");
    if (!fromEnvironment.isEmpty())
        return fromEnvironment;
    return Config::gSheetCVSUrl();
}
