#include "RemoteImage/ImageLoader/HttpTask.h"

#include "RemoteImage/ImageLoader/HttpSession.h"

#include <utility>

namespace remoteimage {

HttpTask::HttpTask(Kind kind, QNetworkRequest request, std::weak_ptr<HttpSession> session)
    : m_kind(kind)
    , m_request(std::move(request))
    , m_session(std::move(session))
{
}

void HttpTask::resume()
{
    {
        std::lock_guard lock(m_mutex);
        if (m_state != State::Suspended || m_cancelRequested)
            return;
        m_state = State::Running;
    }
    if (const auto session = m_session.lock())
        session->async([raw = session.get(), self = shared_from_this()] { raw->resume(self); });
}

void HttpTask::cancel()
{
    {
        std::lock_guard lock(m_mutex);
        if (m_state == State::Completed || m_cancelRequested)
            return;
        m_cancelRequested = true;
    }
    if (const auto session = m_session.lock())
        session->async([raw = session.get(), self = shared_from_this()] { raw->cancel(self); });
}

} // namespace remoteimage
