// One row of the cache index: a cached file and the URL it came from.
#pragma once

#include <QDateTime>
#include <QString>

#include <optional>

namespace remoteimage {

struct RemoteFileRecord {
    static constexpr const char* entityName = "RemoteFile";

    QString urlString;                    // the remote URL's absolute string
    QDateTime dateCreated;                // when the file was stored
    std::optional<QDateTime> expiryDate;  // from then on it is not served
    QString fileName;                     // name inside the files directory
};

} // namespace remoteimage
