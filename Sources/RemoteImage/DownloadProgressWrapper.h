// The observable progress of one download: a fraction from 0 to 1, or none
// while the total size is unknown. objectWillChange() is emitted before every
// store (also of an equal value), progressChanged() after it.
#pragma once

#include <QObject>
#include <QVariant>
#include <optional>

namespace remoteimage {

class DownloadProgressWrapper : public QObject {
    Q_OBJECT
    // undefined in QML while there is no fraction.
    Q_PROPERTY(QVariant progress READ progressValue WRITE setProgressValue NOTIFY progressChanged)

public:
    explicit DownloadProgressWrapper(std::optional<float> progress = std::nullopt, QObject* parent = nullptr);

    std::optional<float> progress() const { return m_progress; }
    void setProgress(std::optional<float> progress);

    QVariant progressValue() const;
    void setProgressValue(const QVariant& progress);

signals:
    void objectWillChange();
    void progressChanged();

private:
    std::optional<float> m_progress;
};

} // namespace remoteimage
