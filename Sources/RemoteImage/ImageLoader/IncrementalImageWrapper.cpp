#include "RemoteImage/ImageLoader/IncrementalImageWrapper.h"

namespace remoteimage {

void IncrementalImageWrapper::append(const QByteArray& bytes)
{
    std::lock_guard lock(m_mutex);
    m_data.append(bytes);
    m_decoder.write(bytes);
}

bool IncrementalImageWrapper::isFinal() const
{
    std::lock_guard lock(m_mutex);
    return m_isFinal;
}

void IncrementalImageWrapper::setFinal(bool isFinal)
{
    std::lock_guard lock(m_mutex);
    m_isFinal = isFinal;
    if (isFinal)
        m_decoder.close(); // closing twice is harmless
}

bool IncrementalImageWrapper::isEmpty() const
{
    std::lock_guard lock(m_mutex);
    return m_data.isEmpty();
}

QByteArray IncrementalImageWrapper::data() const
{
    std::lock_guard lock(m_mutex);
    return m_data;
}

std::optional<QString> IncrementalImageWrapper::imageSourceType() const
{
    std::lock_guard lock(m_mutex);
    if (const auto& format = m_decoder.format())
        return format->typeIdentifier;
    return std::nullopt;
}

bool IncrementalImageWrapper::hasFailed() const
{
    std::lock_guard lock(m_mutex);
    return m_decoder.hasFailed();
}

QImage IncrementalImageWrapper::uiImage() const
{
    std::lock_guard lock(m_mutex);
    return m_decoder.image();
}

} // namespace remoteimage
