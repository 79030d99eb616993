#include "Support/NetworkPolicy.h"

namespace NetworkPolicy {

QByteArray userAgent()
{
    // The build's name and version, as AppInfo has them.
    return QByteArrayLiteral(QUILLORA_DISPLAY_NAME "/" QUILLORA_VERSION);
}

net::Policy get(qint64 maxBytes, int transferTimeoutMs, int deadlineMs)
{
    net::Policy policy;
    policy.userAgent = userAgent();
    policy.maxBytes = maxBytes;
    policy.transferTimeoutMs = transferTimeoutMs;
    policy.deadlineMs = deadlineMs;
    policy.maxRedirects = 5;
    return policy;
}

} // namespace NetworkPolicy
