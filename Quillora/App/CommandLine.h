// Command-line options and the catalogue address they select.
#pragma once

#include <QString>
#include <QStringList>

struct CommandLine {
    bool headless = false;
    QString catalogueUrl;

    // Parses the arguments; --help and --version print and exit the process.
    static CommandLine parse(const QStringList& arguments);

    // --catalogue wins over QUILLORA_CATALOGUE_URL, which wins over the
    // compiled-in spreadsheet address.
    static QString resolveCatalogueUrl(const QString& fromCommandLine);
};
