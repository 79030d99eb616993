// The on-disk cache's format version and its JSON form,
// {"major":1,"minor":0,"patch":0}.
#pragma once

#include <QByteArray>
#include <QJsonObject>

#include <compare>
#include <cstdint>
#include <optional>

namespace remoteimage {

struct Version {
    std::int64_t major = 0;
    std::int64_t minor = 0;
    std::int64_t patch = 0;

    constexpr Version() = default;
    constexpr Version(std::int64_t major, std::int64_t minor, std::int64_t patch)
        : major{major}, minor{minor}, patch{patch}
    {
    }

    // Member-wise in declaration order: major, then minor, then patch.
    friend constexpr auto operator<=>(const Version&, const Version&) = default;

    QJsonObject toJsonObject() const;
    QByteArray toJson() const;

    // Nothing unless all three members are present and hold integers.
    static std::optional<Version> fromJsonObject(const QJsonObject& object);
    static std::optional<Version> fromJson(const QByteArray& json);
};

} // namespace remoteimage
