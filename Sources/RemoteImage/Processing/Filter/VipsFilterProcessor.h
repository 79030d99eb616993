// Runs a named image filter (a libvips operation) over an image.
//
// Only names on an allowlist of pure image-to-image operations reach libvips,
// and only numeric, boolean and enumeration parameters are passed on: libvips
// can also reach operations that load or save files or run programs. Every
// failure prints one line and returns the input image unchanged.
#pragma once

#include "RemoteImage/Processing/ImageProcessing.h"

#include <QString>
#include <QStringList>
#include <QVariantMap>

namespace remoteimage {

class VipsFilterProcessor final : public ImageProcessing {
public:
    explicit VipsFilterProcessor(QString name, QVariantMap parameters = {});

    QImage process(const QImage& image) const override;

    const QString& name() const { return m_name; }
    const QVariantMap& parameters() const { return m_parameters; }

    // The filter names this processor accepts.
    static QStringList supportedFilterNames();

private:
    QString m_name;
    QVariantMap m_parameters;
};

} // namespace remoteimage
