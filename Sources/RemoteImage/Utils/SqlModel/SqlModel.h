// A data model realised on SQLite, built by SqlModelDescription.
//
// Each entity is a table named after it with an implicit rowid (insertion
// order) and one column per attribute: strings are TEXT, dates INTEGER
// milliseconds since the epoch (UTC); required attributes are NOT NULL. Each
// fetch index becomes the database index "<entity>_<index>" over its
// elements' columns (SQLite has only B-tree indexes, so the R-tree element
// type is realised as an ordinary index), in the element's direction.
#pragma once

#include "RemoteImage/Utils/SqlModel/SqlModelDescription.h"

#include <QMap>
#include <QStringList>

namespace sqlite {
class Connection;
}

namespace remoteimage {

class SqlModel {
public:
    struct IndexElement {
        QString propertyName;
        SqlFetchIndexDescription::Element::Type type;
        bool ascending;
    };

    struct Index {
        QString name;
        QList<IndexElement> elements;
    };

    struct Entity {
        QString name;
        QString recordTypeName;
        QMap<QString, SqlAttributeDescription> properties;
        QList<Index> indexes;
    };

    QMap<QString, Entity> entities;

    // CREATE TABLE / CREATE INDEX statements, idempotent (IF NOT EXISTS).
    QStringList schemaStatements() const;

    // Runs schemaStatements() in one transaction. On failure returns false
    // and sets *errorText.
    bool createSchema(sqlite::Connection& connection, QString* errorText) const;

    static QString quotedIdentifier(const QString& name);
};

} // namespace remoteimage
