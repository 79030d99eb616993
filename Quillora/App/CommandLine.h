// The command line: the mode, and the catalogue address given with it.
#pragma once

#include <QString>
#include <QStringList>

struct CommandLine {
    bool headless = false;
    // --catalogue as given; empty when not given (the environment, the
    // settings, else My stations decide; see CatalogueChoice).
    QString catalogue;

    // Parses the arguments; --help and --version print and exit the process.
    static CommandLine parse(const QStringList& arguments);
};
