// The command line: the mode, and the catalogue address given with it; or
// an import into My stations, or an export of the stations in use.
#pragma once

#include <QString>
#include <QStringList>

struct CommandLine {
    bool headless = false;
    // --catalogue as given; empty when not given (the environment, the
    // settings, else My stations decide; see CatalogueChoice).
    QString catalogue;
    // --import FILE...: the files to add to My stations.
    QStringList importFiles;
    // --export FORMAT [FILE]: the format as given, and the file (empty:
    // standard output).
    QString exportFormat;
    QString exportFile;

    // Parses the arguments; --help and --version print and exit the process.
    static CommandLine parse(const QStringList& arguments);
};
