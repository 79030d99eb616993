#include "App/CommandLine.h"

#include <QCommandLineParser>
#include <QCoreApplication>

CommandLine CommandLine::parse(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QCoreApplication::translate(
        "CommandLine",
        "Internet-radio player: opens its window, or plays without one (--headless).\n\n"
        "The stations come from My stations (stations.csv in the data folder,\n"
        "~/.local/share/quillora/), or from the address given by --catalogue,\n"
        "QUILLORA_CATALOGUE_URL or the catalogue key of\n"
        "~/.config/quillora/quillora.conf, in this order.\n\n"
        "Environment:\n"
        "  QUILLORA_CATALOGUE_URL  catalogue address when --catalogue is not given\n"
        "  QUILLORA_DIRECTORY_URL  station directory server (http://host:port) in\n"
        "                          place of the community directory's servers\n"
        "  QUILLORA_RENDERER       software or opengl: how the window draws (by\n"
        "                          default software where OpenGL itself would\n"
        "                          run in software, as on a server without DRI)\n"
        "  QUILLORA_MPV_OPTIONS    extra libmpv options for debugging, as\n"
        "                          comma-separated name=value pairs\n"
        "                          (e.g. ao=pcm,ao-pcm-file=/tmp/out.raw)"));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption headlessOption(
        QStringLiteral("headless"), QCoreApplication::translate("CommandLine", "Play without a window, driven by the media controls (MPRIS)."));
    const QCommandLineOption catalogueOption(
        QStringLiteral("catalogue"),
        QCoreApplication::translate("CommandLine", "Load the station catalogue (CSV) from <url>: http, https, file or a path."),
        QStringLiteral("url"));
    parser.addOption(headlessOption);
    parser.addOption(catalogueOption);
    parser.process(arguments);

    CommandLine line;
    line.headless = parser.isSet(headlessOption);
    line.catalogue = parser.value(catalogueOption);
    return line;
}
