#include "RemoteImage/Utils/SqlModel/SqlModel.h"

#include "Diagnostics/Diagnostics.h"
#include "Sqlite/Sqlite.h"

#include <cassert>

namespace remoteimage {

SqlModel SqlModelDescription::makeModel() const
{
    SqlModel model;
    for (const SqlEntityDescription& description : entities) {
        SqlModel::Entity entity;
        entity.name = description.name;
        entity.recordTypeName = description.recordTypeName;
        for (const SqlAttributeDescription& attribute : description.attributes)
            entity.properties.insert(attribute.name, attribute);
        model.entities.insert(entity.name, entity);
    }
    // Indexes in a second pass, against the property map that won.
    for (const SqlEntityDescription& description : entities) {
        SqlModel::Entity& entity = model.entities[description.name];
        entity.indexes.clear();
        for (const SqlFetchIndexDescription& indexDescription : description.indexes) {
            SqlModel::Index index{indexDescription.name, {}};
            for (const auto& element : indexDescription.elements) {
                const QString& name = element.indexedProperty.name;
                if (!entity.properties.contains(name)) {
                    printLine(QStringLiteral("Can not find attribute, fetched property, or relationship with name: ")
                              + name + QLatin1Char('.'));
                    assert(!"index element names no property of its entity");
                    continue;
                }
                index.elements.append({name, element.type, element.ascending});
            }
            entity.indexes.append(index);
        }
    }
    return model;
}

QString SqlModel::quotedIdentifier(const QString& name)
{
    QString quoted = name;
    quoted.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

QStringList SqlModel::schemaStatements() const
{
    QStringList statements;
    for (const Entity& entity : entities) {
        QStringList columns;
        for (const SqlAttributeDescription& attribute : entity.properties) {
            QString column = quotedIdentifier(attribute.name);
            column += attribute.attributeType == SqlAttributeType::Date ? QLatin1String(" INTEGER")
                                                                             : QLatin1String(" TEXT");
            if (!attribute.isOptional)
                column += QLatin1String(" NOT NULL");
            columns.append(column);
        }
        // A table needs a column; an entity without attributes keeps only
        // its row identity.
        if (columns.isEmpty())
            columns.append(QStringLiteral("\"_rowid\" INTEGER PRIMARY KEY"));
        statements.append(QStringLiteral("CREATE TABLE IF NOT EXISTS %1 (%2)")
                              .arg(quotedIdentifier(entity.name), columns.join(QLatin1String(", "))));

        for (const Index& index : entity.indexes) {
            if (index.elements.isEmpty())
                continue;
            QStringList parts;
            for (const IndexElement& element : index.elements)
                parts.append(quotedIdentifier(element.propertyName)
                             + (element.ascending ? QLatin1String(" ASC") : QLatin1String(" DESC")));
            statements.append(QStringLiteral("CREATE INDEX IF NOT EXISTS %1 ON %2 (%3)")
                                  .arg(quotedIdentifier(entity.name + QLatin1Char('_') + index.name),
                                       quotedIdentifier(entity.name), parts.join(QLatin1String(", "))));
        }
    }
    return statements;
}

bool SqlModel::createSchema(sqlite::Connection& connection, QString* errorText) const
{
    if (!connection.begin()) {
        *errorText = connection.lastError().message;
        return false;
    }
    for (const QString& statement : schemaStatements()) {
        if (!connection.exec(statement)) {
            *errorText = connection.lastError().message;
            connection.rollback();
            return false;
        }
    }
    if (!connection.commit()) {
        *errorText = connection.lastError().message;
        connection.rollback();
        return false;
    }
    return true;
}

} // namespace remoteimage
