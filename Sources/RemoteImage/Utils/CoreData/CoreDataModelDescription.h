// A persistent data model described in code: entities with typed attributes
// and fetch indexes. makeModel() turns the description into a CoreDataModel,
// which realises it on SQLite (one table per entity, one column per
// attribute, one database index per fetch index).
//
//     const auto model = CoreDataModelDescription{{
//         CoreDataEntityDescription::entity(
//             "RemoteFile", "RemoteFileManagedObject",
//             {CoreDataAttributeDescription::attribute("urlString", CoreDataAttributeType::String)},
//             {CoreDataFetchIndexDescription::index(
//                 "byURLString", {CoreDataFetchIndexDescription::Element::property("urlString")})})}}
//         .makeModel();
#pragma once

#include <QList>
#include <QString>

#include <utility>

namespace remoteimage {

class CoreDataModel;

// The codes of the object-graph store's attribute types; only these two are
// in use.
enum class CoreDataAttributeType : int {
    String = 700,
    Date = 900, // stored as milliseconds since the epoch, UTC
};

struct CoreDataAttributeDescription {
    QString name;
    CoreDataAttributeType attributeType = CoreDataAttributeType::String;
    bool isOptional = false;

    static CoreDataAttributeDescription attribute(QString name, CoreDataAttributeType type, bool isOptional = false)
    {
        return {std::move(name), type, isOptional};
    }
};

struct CoreDataFetchIndexDescription {
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

    static CoreDataFetchIndexDescription index(QString name, QList<Element> elements)
    {
        return {std::move(name), std::move(elements)};
    }
};

struct CoreDataEntityDescription {
    QString name;
    QString managedObjectClassName;
    QList<CoreDataAttributeDescription> attributes;
    QList<CoreDataFetchIndexDescription> indexes;

    static CoreDataEntityDescription entity(QString name,
                                            QString managedObjectClassName = QStringLiteral("ManagedObject"),
                                            QList<CoreDataAttributeDescription> attributes = {},
                                            QList<CoreDataFetchIndexDescription> indexes = {})
    {
        return {std::move(name), std::move(managedObjectClassName), std::move(attributes), std::move(indexes)};
    }
};

struct CoreDataModelDescription {
    QList<CoreDataEntityDescription> entities;

    // Later entities and attributes replace earlier ones of the same name. An
    // index element naming no property of its entity is a programming error:
    // it is reported on standard output, asserted, and left out.
    CoreDataModel makeModel() const;
};

} // namespace remoteimage
