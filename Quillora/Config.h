// Compiled-in configuration.
#pragma once

#include <QString>

struct Config {
    Config() = delete;

    // CSV export address of the published catalogue spreadsheet.
    static const QString& gSheetCVSUrl();
};
