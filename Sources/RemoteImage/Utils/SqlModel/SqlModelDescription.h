// A persistent data model described in code: entities with typed attributes
// and fetch indexes. makeModel() turns the description into a SqlModel,
// which realises it on SQLite (one table per entity, one column per
// attribute, one database index per fetch index).
//
//     const auto model = SqlModelDescription{{
//         SqlEntityDescription::entity(
//             "RemoteFile", "RemoteFileRecord",
//             {SqlAttributeDescription::attribute("urlString", SqlAttributeType::String)},
//             {SqlFetchIndexDescription::index(
//                 "byURLString", {SqlFetchIndexDescription::Element::property("urlString")})})}}
//         .makeModel();
#pragma once

#include <QList>
#include <QString>

#include <utility>

namespace remoteimage {

class SqlModel;

// The codes of the object-graph store's attribute types; only these two are
// in use.
enum class SqlAttributeType : int {
    String = 700,
    Date = 900, // stored as milliseconds since the epoch, UTC
};

struct SqlAttributeDescription {
    QString name;
    SqlAttributeType attributeType = SqlAttributeType::String;
    bool isOptional = false;

    static SqlAttributeDescription attribute(QString name, SqlAttributeType type, bool isOptional = false)
    {
        return {std::move(name), type, isOptional};
    }
};

struct SqlFetchIndexDescription {
    struct Element {
        enum class Type : int { Binary = 0, RTree = 1 };

        // The one case, property(name:), naming a property of the same entity.
        struct Property {
            QString name;
            static Property property(QString name) { return {std::move(name)}; }
        };

        // `property` is the factory's name, so the field is named apart.
        Property indexedProperty;
        Type type = Type::Binary;
        bool ascending = true;

        static Element property(QString name, Type type = Type::Binary, bool ascending = true)
        {
            return {Property::property(std::move(name)), type, ascending};
        }
    };

    QString name;
    QList<Element> elements;

    static SqlFetchIndexDescription index(QString name, QList<Element> elements)
    {
        return {std::move(name), std::move(elements)};
    }
};

struct SqlEntityDescription {
    QString name;
    QString recordTypeName;
    QList<SqlAttributeDescription> attributes;
    QList<SqlFetchIndexDescription> indexes;

    static SqlEntityDescription entity(QString name,
                                            QString recordTypeName = QStringLiteral("Record"),
                                            QList<SqlAttributeDescription> attributes = {},
                                            QList<SqlFetchIndexDescription> indexes = {})
    {
        return {std::move(name), std::move(recordTypeName), std::move(attributes), std::move(indexes)};
    }
};

struct SqlModelDescription {
    QList<SqlEntityDescription> entities;

    // Later entities and attributes replace earlier ones of the same name. An
    // index element naming no property of its entity is a programming error:
    // it is reported on standard output, asserted, and left out.
    SqlModel makeModel() const;
};

} // namespace remoteimage
