#include "App/CommandLine.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <cstdio>
#include <cstdlib>

namespace {

[[noreturn]] void fail(const QString& message)
{
    std::fprintf(stderr, "%s\n", qPrintable(message));
    std::exit(2);
}

} // namespace

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
    const QCommandLineOption importOption(
        QStringLiteral("import"),
        QCoreApplication::translate("CommandLine",
                                    "Add the stations of the files to My stations: M3U, PLS, XSPF, Goodvibes "
                                    "stations.xml, Radiotray-NG bookmarks.json, pyradio stations.csv, or any CSV "
                                    "with a URL column."));
    const QCommandLineOption exportOption(
        QStringLiteral("export"),
        QCoreApplication::translate("CommandLine",
                                    "Write the stations in use (My stations, or the catalogue of --catalogue) as "
                                    "<format>: m3u, pls, xspf or csv, to the file given, else to standard output."),
        QStringLiteral("format"));
    parser.addOption(headlessOption);
    parser.addOption(catalogueOption);
    parser.addOption(importOption);
    parser.addOption(exportOption);
    parser.addPositionalArgument(QStringLiteral("files"),
                                 QCoreApplication::translate("CommandLine", "The files of --import or --export."),
                                 QStringLiteral("[FILE...]"));
    parser.process(arguments);

    CommandLine line;
    line.headless = parser.isSet(headlessOption);
    line.catalogue = parser.value(catalogueOption);
    const QStringList files = parser.positionalArguments();
    if (parser.isSet(importOption)) {
        if (files.isEmpty())
            fail(QCoreApplication::translate("CommandLine", "--import needs at least one file."));
        line.importFiles = files;
    } else if (parser.isSet(exportOption)) {
        if (files.size() > 1)
            fail(QCoreApplication::translate("CommandLine", "--export writes one file."));
        line.exportFormat = parser.value(exportOption);
        line.exportFile = files.value(0);
    }
    return line;
}
