// The starter catalogue built into the application: sixteen long-lived,
// free-to-listen stations, the first content of My stations.
#pragma once

#include <QByteArray>
#include <QString>

namespace StarterCatalogue {

// The resource's path (":/Quillora/Catalogue/starter-stations.csv").
QString resourcePath();
// The CSV text (UTF-8). Makes sure the resource is registered first: the
// application links it from a static library.
QByteArray bytes();

} // namespace StarterCatalogue
