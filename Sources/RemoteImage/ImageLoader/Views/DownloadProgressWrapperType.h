// Makes the library's DownloadProgressWrapper a QML type of this module, so
// that a placeholder can declare
//     required property DownloadProgressWrapper downloadProgressWrapper
// and bind to its `progress` (undefined until the size is known).
#pragma once

#include "RemoteImage/DownloadProgressWrapper.h"

#include <QtQml/qqml.h>

namespace remoteimage {

struct DownloadProgressWrapperType {
    Q_GADGET
    QML_FOREIGN(DownloadProgressWrapper)
    QML_NAMED_ELEMENT(DownloadProgressWrapper)
    QML_UNCREATABLE("Handed to placeholders by RemoteImage")
};

} // namespace remoteimage
