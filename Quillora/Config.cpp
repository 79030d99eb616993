#include "Config.h"

const QString& Config::gSheetCVSUrl()
{
    static const QString url = QStringLiteral(
        "https://docs.google.com/spreadsheets/d/e/"
        "2PACX-1vQuilloraStationCatalogueStationsSheetPublishedAsCsv0Xk7u3Yb9q2Lw5rT8fJ1hN6m/"
        "pub?output=csv");
    return url;
}
