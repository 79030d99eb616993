// quillora --import and --export: run, print one line, and end.
#pragma once

#include <QCoreApplication>
#include <QString>
#include <QStringList>

class ExchangeCommands {
    Q_DECLARE_TR_FUNCTIONS(ExchangeCommands)

public:
    // Adds the files' stations to My stations; prints the summary line.
    // Returns the exit status.
    static int runImport(const QStringList& files);
    // Writes the stations in use: My stations, a local catalogue, or the
    // last copy of a remote one kept in the store (no network is asked).
    static int runExport(const QString& format, const QString& file, const QString& catalogueValue);
};
