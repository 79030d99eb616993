// An image that grows while its bytes arrive. The loader's queue appends and
// marks it final; the user-interface thread reads uiImage() at any time and
// gets a copy of what has been decoded so far.
#pragma once

#include "RemoteImage/ImageProxy.h"
#include "RemoteImage/ImageLoader/IncrementalDecoder.h"

#include <QByteArray>
#include <QString>
#include <mutex>
#include <optional>

namespace remoteimage {

class IncrementalImageWrapper final : public ImageProxy {
public:
    IncrementalImageWrapper() = default;

    void append(const QByteArray& bytes);

    bool isFinal() const;
    // Setting true tells the decoder that no more bytes come.
    void setFinal(bool isFinal);

    bool isEmpty() const;
    QByteArray data() const;

    // The uniform type identifier recognised from the first bytes, if any.
    std::optional<QString> imageSourceType() const;

    // True when the bytes are not a decodable image of an acceptable size.
    bool hasFailed() const;

    // What has been decoded so far; a null image before the first rows.
    QImage uiImage() const override;
    QImage image() const override { return uiImage(); }

private:
    mutable std::mutex m_mutex;
    QByteArray m_data;
    IncrementalDecoder m_decoder;
    bool m_isFinal = false;
};

} // namespace remoteimage
