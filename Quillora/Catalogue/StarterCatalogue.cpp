#include "Catalogue/StarterCatalogue.h"

#include <QFile>

// Outside any namespace, as Q_INIT_RESOURCE requires.
static void registerCatalogueResource()
{
    // A static library's resources are only registered when something
    // refers to their initialiser; this reference does it.
    Q_INIT_RESOURCE(catalogue);
}

namespace StarterCatalogue {

QString resourcePath()
{
    return QStringLiteral(":/Quillora/Catalogue/starter-stations.csv");
}

QByteArray bytes()
{
    static const bool registered = (registerCatalogueResource(), true);
    Q_UNUSED(registered);
    QFile file(resourcePath());
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

} // namespace StarterCatalogue
