// The session's four events, each forwarded to an optional callback. All are
// called on the session's thread.
#pragma once

#include "RemoteImage/ImageLoader/HttpTask.h"

#include <QByteArray>
#include <QUrl>

#include <functional>
#include <memory>
#include <optional>

namespace remoteimage {

struct HttpSessionHooks {
    using Task = std::shared_ptr<HttpTask>;

    // A download task has written its whole body to a temporary file, which
    // is removed after the callback returns.
    std::function<void(const Task&, const QUrl& location)> finishDownloadingCallback;
    // A download task wrote more bytes; totalBytesExpected is -1 when unknown.
    std::function<void(const Task&, qint64 bytesWritten, qint64 totalBytesWritten, qint64 totalBytesExpected)>
        writeDataCallback;
    // A data task received bytes.
    std::function<void(const Task&, const QByteArray& data)> receiveDataCallback;
    // A task ended, with an error unless it succeeded.
    std::function<void(const Task&, const std::optional<TaskError>& error)> completeCallback;
};

} // namespace remoteimage
