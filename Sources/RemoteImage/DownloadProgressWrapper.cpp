#include "RemoteImage/DownloadProgressWrapper.h"

namespace remoteimage {

DownloadProgressWrapper::DownloadProgressWrapper(std::optional<float> progress, QObject* parent)
    : QObject(parent)
{
    setProgress(progress);
}

void DownloadProgressWrapper::setProgress(std::optional<float> progress)
{
    emit objectWillChange();
    m_progress = progress;
    emit progressChanged();
}

QVariant DownloadProgressWrapper::progressValue() const
{
    return m_progress ? QVariant(*m_progress) : QVariant();
}

void DownloadProgressWrapper::setProgressValue(const QVariant& progress)
{
    bool ok = false;
    const float value = progress.toFloat(&ok);
    setProgress(progress.isValid() && ok ? std::optional<float>(value) : std::nullopt);
}

} // namespace remoteimage
